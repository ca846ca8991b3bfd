#include "curve_window/form4.h"

#include "drawing/dibujo_curvas.h"
#include "model/store.h"
#include "window_helpers/guardar_imagen.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QScrollBar>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <ostream>

QT_BEGIN_NAMESPACE
// Readable QStrings in failure messages.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

namespace tev {
namespace {

const QColor kRojo(250, 0, 0);
const QColor kAzul(0, 0, 255);
const QColor kNegro(0, 0, 0);
const QColor kBlanco(255, 255, 255);

// Three beds with chained ages, youngest (bed 3) from 0 to 10 Ma.
struct Columna {
    float techo[4] = {0, 25, 10, 0};
    float base[4] = {0, 40, 25, 10};
    float descomp[4] = {0, 1200, 900, 600};
    float carga[4] = {0, 450, 300, 150};
    float tectonica[4] = {0, 720, 540, 330};
};

void pon_columna(Store& s, const Columna& c = Columna())
{
    s.n_bancos = 3;
    for (int i = 1; i <= 3; ++i) {
        s.edad_techo[i] = c.techo[i];
        s.edad_base[i] = c.base[i];
        s.base_descomp[i] = c.descomp[i];
        s.correccion_carga[i] = c.carga[i];
        s.tevarro_tectonica[i] = c.tectonica[i];
    }
}

// The segment of bed i of one curve, in pixels, at the given scales.
struct Segmento {
    QPointF a, b;
    QPointF medio() const { return (a + b) / 2; }
};

Segmento segmento(const Store& s, const PorBanco<float>& valores, int i, float et, float ep)
{
    double antes = 0;
    for (int j = s.n_bancos; j > i; --j)
        antes += valores[j];
    const double despues = antes + valores[i];
    return {QPointF((960 + et * s.edad_techo[i]) / 15.0, (600 + ep * antes) / 15.0),
            QPointF((960 + et * s.edad_base[i]) / 15.0, (600 + ep * despues) / 15.0)};
}

// Whether a pixel of the given colour lies within one pixel of p.
bool color_cerca(const QImage& img, QPointF p, const QColor& color)
{
    const int x0 = static_cast<int>(p.x());
    const int y0 = static_cast<int>(p.y());
    for (int y = y0 - 1; y <= y0 + 1; ++y) {
        for (int x = x0 - 1; x <= x0 + 1; ++x) {
            if (img.valid(x, y) && img.pixelColor(x, y).rgb() == color.rgb()) return true;
        }
    }
    return false;
}

int cuenta_color(const QImage& img, const QRect& zona, const QColor& color)
{
    int n = 0;
    for (int y = zona.top(); y <= zona.bottom(); ++y) {
        for (int x = zona.left(); x <= zona.right(); ++x) {
            if (img.pixelColor(x, y).rgb() == color.rgb()) ++n;
        }
    }
    return n;
}

// The plot area between the axes and the legend, clear of every label.
const QRect kZonaCurvas(66, 42, 395, 229);

struct Ventana {
    std::unique_ptr<Store> s = std::make_unique<Store>();
    QPointer<Form4> w;

    ~Ventana() { delete w.data(); }
    Form4* muestra() { return muestra_curvas(w, *s); }
    QImage imagen() const { return w->grab().toImage(); }
    QString texto(const char* etiqueta) const
    {
        auto* l = w->findChild<QLabel*>(etiqueta);
        return l ? l->text() : QString("(no existe %1)").arg(etiqueta);
    }
    void comprueba_curvas(const QImage& img, float et, float ep) const
    {
        for (int i = 1; i <= s->n_bancos; ++i) {
            EXPECT_TRUE(color_cerca(img, segmento(*s, s->base_descomp, i, et, ep).medio(), kRojo))
                << "descompactación, banco " << i;
            EXPECT_TRUE(
                color_cerca(img, segmento(*s, s->correccion_carga, i, et, ep).medio(), kAzul))
                << "carga, banco " << i;
            EXPECT_TRUE(
                color_cerca(img, segmento(*s, s->tevarro_tectonica, i, et, ep).medio(), kNegro))
                << "tectónica, banco " << i;
        }
    }
};

// Clicks the arrow that raises the bar's value by one.
void clic_flecha_sube(QScrollBar* b)
{
    const QPoint donde = b->orientation() == Qt::Horizontal
                             ? QPoint(b->width() - 3, b->height() / 2)
                             : QPoint(b->width() / 2, b->height() - 3);
    QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, donde);
}

void escribe(QLineEdit* caja, const QString& texto)
{
    caja->selectAll();
    QTest::keyClick(caja, Qt::Key_Backspace);
    QTest::keyClicks(caja, texto);
}

// Sets the default locale for one test and puts the old one back.
struct LocalFijo {
    QLocale anterior;
    explicit LocalFijo(const QLocale& l) { QLocale::setDefault(l); }
    ~LocalFijo() { QLocale::setDefault(anterior); }
};

TEST(Form4, DisposicionDeLaVentana)
{
    Ventana v;
    Form4* w = v.muestra();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->isWindow());
    EXPECT_EQ(w->parentWidget(), nullptr);
    EXPECT_TRUE(w->testAttribute(Qt::WA_DeleteOnClose));
    EXPECT_EQ(w->objectName(), "Form4");
    EXPECT_EQ(w->windowTitle(), "Curva de tevarro");
    EXPECT_EQ(w->size(), QSize(705, 414));

    EXPECT_EQ(w->findChild<QLabel*>("Label2")->geometry(), QRect(131, 24, 33, 17));
    EXPECT_EQ(w->findChild<QLabel*>("Label5")->geometry(), QRect(331, 24, 33, 17));
    EXPECT_EQ(w->findChild<QLabel*>("Label9")->geometry(), QRect(32, 240, 30, 17));
    EXPECT_EQ(w->findChild<QLabel*>("Label13")->geometry(), QRect(552, 160, 137, 17));
    EXPECT_EQ(w->findChild<QScrollBar*>("HScroll1")->geometry(), QRect(368, 3, 57, 17));
    EXPECT_EQ(w->findChild<QScrollBar*>("VScroll1")->geometry(), QRect(8, 272, 17, 57));
    EXPECT_EQ(w->findChild<QLineEdit*>("Text1")->geometry(), QRect(432, 2, 33, 19));
    EXPECT_EQ(w->findChild<QLineEdit*>("Text2")->geometry(), QRect(8, 336, 33, 19));
    EXPECT_EQ(w->findChild<QLabel*>("Label7")->alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignRight);
    EXPECT_EQ(w->findChild<QLabel*>("Label2")->alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignLeft);

    EXPECT_EQ(v.texto("Label1"), "0");
    EXPECT_EQ(v.texto("Label11"), "km");
    EXPECT_EQ(v.texto("Label12"), "ma");
    EXPECT_EQ(v.texto("Label13"), "Curva de descompactación");
    EXPECT_EQ(v.texto("Label14"), "Corrección por carga");
    EXPECT_EQ(v.texto("Label15"), "Tevarro tectónica");

    EXPECT_EQ(w->HScroll1->orientation(), Qt::Horizontal);
    EXPECT_EQ(w->VScroll1->orientation(), Qt::Vertical);
    for (QScrollBar* b : {w->HScroll1, w->VScroll1}) {
        EXPECT_EQ(b->minimum(), 1);
        EXPECT_EQ(b->maximum(), 1000);
        EXPECT_EQ(b->value(), 100);
        EXPECT_EQ(b->singleStep(), 1);
        EXPECT_EQ(b->pageStep(), 1);
        EXPECT_FALSE(b->hasTracking());
    }
    EXPECT_EQ(w->Text1->text(), "100");
    EXPECT_EQ(w->Text2->text(), "100");

    // Axes, legend frame and samples where the table puts them.
    const QImage img = v.imagen();
    EXPECT_EQ(img.pixelColor(200, 40), kNegro); // time axis, y = 600
    EXPECT_EQ(img.pixelColor(64, 200), kNegro); // depth axis, x = 960
    EXPECT_EQ(img.pixelColor(64, 351), kNegro); // its lower end, y = 5280
    EXPECT_EQ(img.pixelColor(64, 353), kBlanco);
    EXPECT_EQ(img.pixelColor(512, 200), kNegro); // legend frame, left side
    EXPECT_EQ(img.pixelColor(696, 200), kNegro); // and its right side
    EXPECT_EQ(img.pixelColor(600, 144), kNegro); // top
    EXPECT_EQ(img.pixelColor(600, 130), kBlanco);
    EXPECT_TRUE(color_cerca(img, QPointF(536, 168), QColor(255, 0, 0)));
    EXPECT_TRUE(color_cerca(img, QPointF(536, 208), kAzul));
    EXPECT_TRUE(color_cerca(img, QPointF(536, 248), kNegro));
    EXPECT_EQ(img.pixelColor(600, 100), kBlanco); // background
}

TEST(Form4, LeyendasPorDefectoConElSeparadorDelUsuario)
{
    {
        LocalFijo local(QLocale::c());
        Ventana v;
        v.muestra();
        EXPECT_FLOAT_EQ(v.s->escala_tiempo, 100.0f);
        EXPECT_FLOAT_EQ(v.s->escala_profundidad, 1.0f);
        const char* tiempo[] = {"Label2", "Label3", "Label4", "Label5", "Label6"};
        const char* hondo[] = {"Label7", "Label8", "Label9", "Label10"};
        for (int k = 1; k <= 5; ++k) {
            EXPECT_EQ(v.texto(tiempo[k - 1]), QString::number(10 * k) + ".0");
        }
        EXPECT_EQ(v.texto("Label16"), "0.0");
        for (int k = 1; k <= 4; ++k)
            EXPECT_EQ(v.texto(hondo[k - 1]), QString::number(k) + ".00");
    }
    {
        LocalFijo local(QLocale(QLocale::German, QLocale::Germany));
        Ventana v;
        Form4* w = v.muestra();
        EXPECT_EQ(v.texto("Label2"), "10,0");
        EXPECT_EQ(v.texto("Label16"), "0,0");
        EXPECT_EQ(v.texto("Label10"), "4,00");
        // Large values carry no thousands separator; 1000/3 rounds to 333.3.
        escribe(w->Text1, "1");
        escribe(w->Text2, "300");
        w->curvas(*v.s);
        EXPECT_EQ(v.texto("Label6"), "5000,0");
        EXPECT_EQ(v.texto("Label7"), "0,33");
        EXPECT_EQ(v.texto("Label9"), "1,00");
    }
}

TEST(Form4, CurvasEnSusPosicionesYColores)
{
    Ventana v;
    pon_columna(*v.s);
    v.muestra();
    const QImage img = v.imagen();
    v.comprueba_curvas(img, 100, 1);

    // Segment ends: the youngest bed starts at the origin, the oldest ends at
    // 40 Ma and the sum of all beds.
    EXPECT_TRUE(color_cerca(img, QPointF(4960 / 15.0, (600 + 2700) / 15.0), kRojo));
    EXPECT_TRUE(color_cerca(img, QPointF(4960 / 15.0, (600 + 900) / 15.0), kAzul));
    EXPECT_TRUE(color_cerca(img, QPointF(4960 / 15.0, (600 + 1590) / 15.0), kNegro));
    // Nothing beyond the oldest age.
    EXPECT_EQ(cuenta_color(img, QRect(333, 42, 120, 229), kRojo), 0);
    EXPECT_EQ(cuenta_color(img, QRect(333, 42, 120, 229), kNegro), 0);
}

TEST(Form4, AnchosYOrdenDeLasCurvas)
{
    // One bed with equal top and base ages: three vertical segments on the
    // same column of pixels, x = 960 + 100 * 20 = 2960 twips (197.3 px).
    Ventana v;
    v.s->n_bancos = 1;
    v.s->edad_techo[1] = 20;
    v.s->edad_base[1] = 20;
    v.s->base_descomp[1] = 1500;     // down to y = 140 px
    v.s->correccion_carga[1] = 900;  // down to y = 100 px
    v.s->tevarro_tectonica[1] = 600; // down to y = 80 px, drawn last
    v.muestra();
    const QImage img = v.imagen();
    const QRect fila70(150, 70, 100, 1), fila90(150, 90, 100, 1), fila120(150, 120, 100, 1);
    EXPECT_EQ(cuenta_color(img, fila70, kNegro), 2);
    EXPECT_EQ(cuenta_color(img, fila70, kAzul), 0);
    EXPECT_EQ(cuenta_color(img, fila90, kAzul), 1);
    EXPECT_EQ(cuenta_color(img, fila90, kRojo), 0);
    EXPECT_EQ(cuenta_color(img, fila120, kRojo), 1);
    EXPECT_EQ(img.pixelColor(197, 120), kRojo);
    EXPECT_EQ(cuenta_color(img, QRect(150, 150, 100, 100), kRojo), 0);
}

TEST(Form4, SinBancosSoloLeyendas)
{
    Ventana v;
    pon_columna(*v.s);
    v.s->n_bancos = 0;
    Form4* w = v.muestra();
    escribe(w->Text1, "50");
    w->curvas(*v.s);
    EXPECT_EQ(v.texto("Label2"), "20.0");
    EXPECT_EQ(v.texto("Label8"), "2.00");
    const QImage img = v.imagen();
    EXPECT_EQ(cuenta_color(img, kZonaCurvas, kBlanco), kZonaCurvas.width() * kZonaCurvas.height());

    // The same column with its beds counted gives all three colours there.
    v.s->n_bancos = 3;
    w->curvas(*v.s);
    const QImage con = v.imagen();
    EXPECT_GT(cuenta_color(con, kZonaCurvas, kRojo), 0);
    EXPECT_GT(cuenta_color(con, kZonaCurvas, kAzul), 0);
    EXPECT_GT(cuenta_color(con, kZonaCurvas, kNegro), 0);
}

TEST(Form4, CadaLlamadaDibujaEncimaSinBorrar)
{
    Ventana v;
    pon_columna(*v.s);
    Form4* w = v.muestra();
    const QImage una = v.imagen();
    w->curvas(*v.s);
    EXPECT_EQ(v.imagen(), una);

    // New values are drawn over the old curves, which stay.
    const Store antes = *v.s;
    v.s->base_descomp[1] = 2400;
    w->curvas(*v.s);
    const QImage dos = v.imagen();
    EXPECT_TRUE(color_cerca(dos, segmento(antes, antes.base_descomp, 1, 100, 1).medio(), kRojo));
    EXPECT_TRUE(color_cerca(dos, segmento(*v.s, v.s->base_descomp, 1, 100, 1).medio(), kRojo));

    // Clearing leaves the captions and the fixed lines.
    w->borra_dibujo();
    const QImage limpia = v.imagen();
    EXPECT_EQ(cuenta_color(limpia, kZonaCurvas, kBlanco),
              kZonaCurvas.width() * kZonaCurvas.height());
    EXPECT_EQ(limpia.pixelColor(200, 40), kNegro);
    EXPECT_EQ(v.texto("Label2"), "10.0");
}

TEST(Form4, LaBarraHorizontalCambiaLaEscalaDeTiempo)
{
    Ventana v;
    pon_columna(*v.s);
    Form4* w = v.muestra();
    // At 100 twips per Ma the curves end at x = 4960 twips (330.7 px).
    const QRect columna332(332, 42, 1, 229);
    EXPECT_EQ(cuenta_color(v.imagen(), columna332, kRojo), 0);

    clic_flecha_sube(w->HScroll1);
    EXPECT_EQ(w->HScroll1->value(), 101);
    EXPECT_EQ(w->Text1->text(), "101");
    EXPECT_EQ(w->Text2->text(), "100");
    EXPECT_FLOAT_EQ(v.s->escala_tiempo, 101.0f);
    EXPECT_FLOAT_EQ(v.s->escala_profundidad, 1.0f);
    EXPECT_EQ(v.texto("Label2"), "9.9");
    EXPECT_EQ(v.texto("Label6"), "49.5");

    const QImage img = v.imagen();
    v.comprueba_curvas(img, 101, 1);
    // Now they reach 5000 twips (333.3 px).
    EXPECT_GT(cuenta_color(img, columna332, kRojo), 0);

    // The keyboard moves it too.
    w->HScroll1->setFocus();
    QTest::keyClick(w->HScroll1, Qt::Key_Right);
    EXPECT_EQ(w->Text1->text(), "102");
    EXPECT_FLOAT_EQ(v.s->escala_tiempo, 102.0f);
    QTest::keyClick(w->HScroll1, Qt::Key_Left);
    EXPECT_EQ(w->Text1->text(), "101");
    // Down raises the vertical bar's value.
    w->VScroll1->setFocus();
    QTest::keyClick(w->VScroll1, Qt::Key_Down);
    EXPECT_EQ(w->Text2->text(), "101");
    EXPECT_FLOAT_EQ(v.s->escala_profundidad, 1.01f);
}

TEST(Form4, LaBarraVerticalLeeElTextoEscritoYBorraLoAnterior)
{
    Ventana v;
    pon_columna(*v.s);
    Form4* w = v.muestra();
    const QPointF viejo = segmento(*v.s, v.s->base_descomp, 1, 100, 1).medio();
    ASSERT_TRUE(color_cerca(v.imagen(), viejo, kRojo));

    // Typing alone redraws nothing.
    escribe(w->Text1, "150");
    EXPECT_FLOAT_EQ(v.s->escala_tiempo, 100.0f);
    EXPECT_EQ(v.texto("Label2"), "10.0");

    // The vertical bar grows downwards: its lower arrow raises the value.
    clic_flecha_sube(w->VScroll1);
    EXPECT_EQ(w->VScroll1->value(), 101);
    EXPECT_EQ(w->Text2->text(), "101");
    EXPECT_FLOAT_EQ(v.s->escala_tiempo, 150.0f);
    EXPECT_FLOAT_EQ(v.s->escala_profundidad, 1.01f);
    EXPECT_EQ(v.texto("Label2"), "6.7");
    EXPECT_EQ(v.texto("Label7"), "0.99");

    const QImage img = v.imagen();
    v.comprueba_curvas(img, 150, 1.01f);
    EXPECT_FALSE(color_cerca(img, viejo, kRojo));
}

TEST(Form4, UnaEscalaCeroSeRechazaYSeMantieneLaAnterior)
{
    Ventana v;
    pon_columna(*v.s);
    Form4* w = v.muestra();
    const QColor base_normal = w->Text1->palette().color(QPalette::Base);
    EXPECT_TRUE(w->Text1->toolTip().isEmpty());

    escribe(w->Text1, "0");
    clic_flecha_sube(w->VScroll1);
    EXPECT_EQ(w->Text1->text(), "0");
    EXPECT_EQ(w->Text2->text(), "101");
    EXPECT_FLOAT_EQ(v.s->escala_tiempo, 100.0f);
    EXPECT_FLOAT_EQ(v.s->escala_profundidad, 1.01f);
    EXPECT_EQ(v.texto("Label2"), "10.0");
    EXPECT_NE(w->Text1->palette().color(QPalette::Base), base_normal);
    EXPECT_FALSE(w->Text1->toolTip().isEmpty());
    EXPECT_TRUE(w->Text2->toolTip().isEmpty());
    v.comprueba_curvas(v.imagen(), 100, 1.01f);

    // A text that starts with no number reads as 0 as well; the depth box.
    escribe(w->Text2, "abc");
    escribe(w->Text1, "250");
    w->curvas(*v.s);
    EXPECT_FLOAT_EQ(v.s->escala_tiempo, 250.0f);
    EXPECT_FLOAT_EQ(v.s->escala_profundidad, 1.01f);
    EXPECT_EQ(w->Text1->palette().color(QPalette::Base), base_normal);
    EXPECT_TRUE(w->Text1->toolTip().isEmpty());
    EXPECT_FALSE(w->Text2->toolTip().isEmpty());

    // A depth scale so small that the captions would overflow is refused too.
    escribe(w->Text2, "1E-37");
    w->curvas(*v.s);
    EXPECT_FLOAT_EQ(v.s->escala_profundidad, 1.01f);
    EXPECT_FALSE(w->Text2->toolTip().isEmpty());

    // The leading number of the text is what counts.
    escribe(w->Text2, "50 m");
    w->curvas(*v.s);
    EXPECT_FLOAT_EQ(v.s->escala_profundidad, 0.5f);
    EXPECT_TRUE(w->Text2->toolTip().isEmpty());
}

TEST(Form4, CerrarLaVentanaDevuelveLasEscalasIniciales)
{
    Ventana v;
    pon_columna(*v.s);
    Form4* w = v.muestra();
    clic_flecha_sube(w->HScroll1);
    clic_flecha_sube(w->VScroll1);
    EXPECT_EQ(w->Text1->text(), "101");

    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(v.w.isNull());

    Form4* otra = v.muestra();
    ASSERT_NE(otra, nullptr);
    EXPECT_TRUE(otra->isVisible());
    EXPECT_EQ(otra->Text1->text(), "100");
    EXPECT_EQ(otra->Text2->text(), "100");
    EXPECT_EQ(otra->HScroll1->value(), 100);
    EXPECT_FLOAT_EQ(v.s->escala_tiempo, 100.0f);
    EXPECT_FLOAT_EQ(v.s->escala_profundidad, 1.0f);
    v.comprueba_curvas(v.imagen(), 100, 1);

    // While it is open the same window is used again.
    EXPECT_EQ(v.muestra(), otra);
}

TEST(Form4, GuardaElGraficoEnPngYSvg)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Store s;
    pon_columna(s);

    const QString png = dir.filePath("curvas.png");
    QString error;
    ASSERT_TRUE(guarda_grafico(s, png, &error)) << error.toStdString();
    QImage img(png);
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img.size(), QSize(705, 414));
    // Drawn like the window at its first scales.
    for (int i = 1; i <= 3; ++i) {
        EXPECT_TRUE(color_cerca(img, segmento(s, s.base_descomp, i, 100, 1).medio(), kRojo));
        EXPECT_TRUE(color_cerca(img, segmento(s, s.correccion_carga, i, 100, 1).medio(), kAzul));
        EXPECT_TRUE(color_cerca(img, segmento(s, s.tevarro_tectonica, i, 100, 1).medio(), kNegro));
    }
    EXPECT_EQ(img.pixelColor(200, 40), kNegro);
    EXPECT_EQ(img.pixelColor(512, 200), kNegro);
    // Captions are there: the first depth tick label holds dark text.
    const QRect etiqueta = rect_twips(480, 1600, 450, 255);
    const int blancos = cuenta_color(img, etiqueta, kBlanco);
    EXPECT_GT(blancos, 0);
    EXPECT_LT(blancos, etiqueta.width() * etiqueta.height());

    const QString svg = dir.filePath("curvas.SVG");
    ASSERT_TRUE(guarda_grafico(s, svg, &error)) << error.toStdString();
    QFile f(svg);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray contenido = f.readAll();
    EXPECT_TRUE(contenido.contains("<svg"));
    EXPECT_TRUE(contenido.contains("#fa0000"));
    EXPECT_TRUE(contenido.contains("Tevarro tect"));
    EXPECT_TRUE(QSvgRenderer(svg).isValid());

    // Neither another extension nor a missing folder.
    EXPECT_FALSE(guarda_grafico(s, dir.filePath("curvas.jpg"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(dir.filePath("curvas.jpg")));
    error.clear();
    EXPECT_FALSE(guarda_grafico(s, dir.filePath("no/existe.png"), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(Form4, GuardarImagenDesdeLaVentanaUsaLasEscalasEnUso)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Ventana v;
    pon_columna(*v.s);
    Form4* w = v.muestra();
    clic_flecha_sube(w->HScroll1);

    auto* accion = w->findChild<QAction*>("guardar_imagen_act");
    ASSERT_NE(accion, nullptr);
    EXPECT_EQ(accion->text(), "Guardar imagen…");
    const QString ruta = dir.filePath("ventana.png");
    w->guardar_imagen->pide_ruta = [&ruta]() { return ruta; };
    QStringList avisos;
    w->guardar_imagen->avisa = [&avisos](const QString& t) { avisos << t; };
    accion->trigger();
    EXPECT_TRUE(avisos.isEmpty());
    const QImage img(ruta);
    ASSERT_FALSE(img.isNull());
    // At 101 twips per Ma the curves pass x = 332 px.
    EXPECT_GT(cuenta_color(img, QRect(332, 42, 1, 229), kRojo), 0);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_TRUE(color_cerca(img, segmento(*v.s, v.s->base_descomp, i, 101, 1).medio(), kRojo));
    }

    // A failure is told to the user; a cancel says nothing.
    w->guardar_imagen->pide_ruta = [&dir]() { return dir.filePath("imagen.bmp"); };
    accion->trigger();
    EXPECT_EQ(avisos.size(), 1);
    w->guardar_imagen->pide_ruta = []() { return QString(); };
    accion->trigger();
    EXPECT_EQ(avisos.size(), 1);
}

} // namespace
} // namespace tev
