// The bed dialog driven headless with real events: pointer movements routed
// through the window to whatever lies under the pointer, typed text, clicks
// and keys on the scroll bar and on "Terminar".

// Pointer events go through the window, so the widget under the pointer
// receives them as it would from the user.
#define QTEST_QPA_MOUSE_HANDLING

#include "bed_dialog/form2.h"

#include "curve_window/form4.h"
#include "main_window/com_file.h"
#include "main_window/form1.h"
#include "main_window/ventana_de_prueba.h"
#include "model/bancos_sin_roca.h"
#include "model/store.h"
#include "teclas.h"
#include "text_forms/formas_numericas.h"
#include "window_helpers/linea_de_avisos.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

namespace tev {
namespace {

// Points of the dialog in pixels: bare surface, the swatch, a sketch line.
const QPoint kSuperficie(100, 85);
const QPoint kSobreMuestra(456, 266);
const QPoint kSobreBoceto(184, 100);

// Qt drops a movement to where the pointer already is: every movement here
// alternates between the point and the pixel under it.
void mueve_a(QWidget* w, QPoint p)
{
    static int veces = 0;
    QTest::mouseMove(w, p + QPoint(0, ++veces % 2));
}

void borra_diferidos()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A column of three beds, youngest (bed 3) on top.
void tres_bancos(Store& s)
{
    valores_de_arranque(s);
    limpia_bancos(s);
    s.n_bancos = 3;
    const float techo[4] = {0, 300, 120, 0};
    const float base[4] = {0, 500, 300, 120};
    const float edad_techo[4] = {0, 40, 20, 0};
    const float edad_base[4] = {0, 60, 40, 20};
    for (int i = 1; i <= 3; ++i) {
        s.nombre[i] = "Banco " + std::to_string(i);
        s.techo[i] = techo[i];
        s.base[i] = base[i];
        s.edad_techo[i] = edad_techo[i];
        s.edad_base[i] = edad_base[i];
        s.litologia[i] = kPelitas;
        s.porosidad[i] = 0.63f;
        s.coef_porosidad[i] = 0.51f;
        s.paleobatimetria[i] = 50;
    }
}

struct Dialogo {
    std::unique_ptr<Store> s = std::make_unique<Store>();
    QPointer<Form2> f;

    explicit Dialogo(bool columna = false)
    {
        if (columna) {
            tres_bancos(*s);
        } else {
            valores_de_arranque(*s);
            limpia_bancos(*s);
        }
        f = new Form2(*s);
        f->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(f));
    }
    ~Dialogo() { delete f.data(); }
    void mueve(QPoint p = kSuperficie) { mueve_a(f, p); }
    void mueve_sobre(QWidget* w) { mueve_a(f, w->mapTo(f, w->rect().center())); }
    static void escribe(QLineEdit* e, const QString& t)
    {
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        QTest::keyClicks(e, t);
    }
    static void escribe(QComboBox* c, const QString& t) { escribe(c->lineEdit(), t); }
    void flecha_derecha()
    {
        QScrollBar* b = f->HScroll1;
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(b->width() - 4, b->height() / 2));
    }
    void flecha_izquierda()
    {
        QScrollBar* b = f->HScroll1;
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(3, b->height() / 2));
    }
    void porcentual(const char* a, const char* p, const char* c, const char* e)
    {
        // The percentage boxes open to typing after a movement.
        escribe(f->Combo1, "PORCENTUAL");
        mueve();
        escribe(f->Text9, a);
        escribe(f->Text10, p);
        escribe(f->Text11, c);
        escribe(f->Text12, e);
        mueve();
    }
};

QRect tw(int l, int t, int w, int h)
{
    return QRect(l / 15, t / 15, w / 15, h / 15);
}

TEST(Form2, DisposicionYTextosDeDiseno)
{
    Dialogo d;
    Form2* f = d.f;
    EXPECT_EQ(f->windowTitle(), "Nuevo");
    EXPECT_EQ(f->size(), QSize(543, 371));
    EXPECT_TRUE(f->isWindow());
    EXPECT_EQ(f->parentWidget(), nullptr);
    struct Fila {
        const char* nombre;
        QRect r;
        const char* texto;
    };
    const Fila filas[] = {
        {"Label10", tw(240, 120, 735, 255), "Nombre"},
        {"Text7", tw(1680, 120, 3255, 285), nullptr},
        {"HScroll1", tw(5400, 135, 1095, 255), nullptr},
        {"Label11", tw(6720, 135, 615, 255), nullptr},
        {"Label2", tw(240, 840, 1215, 255), "Techo en metros"},
        {"Text1", tw(1680, 825, 735, 285), nullptr},
        {"Label3", tw(3720, 840, 735, 255), "Litología"},
        {"Combo1", tw(3720, 1080, 1215, 315), nullptr},
        {"Label6", tw(5280, 855, 1215, 255), "Edad del techo"},
        {"Text6", tw(6720, 840, 735, 285), nullptr},
        {"Label8", tw(7560, 855, 375, 255), "Ma"},
        {"Label1", tw(240, 1560, 1215, 255), "Base en metros"},
        {"Text2", tw(1680, 1545, 735, 285), nullptr},
        {"Label7", tw(5280, 1575, 1215, 255), "Edad de la base"},
        {"Text5", tw(6720, 1560, 735, 285), nullptr},
        {"Label9", tw(7560, 1575, 375, 255), "Ma"},
        {"Frame2", tw(360, 2400, 4575, 1095), nullptr},
        {"Label13", tw(5280, 2415, 1215, 255), "Paleobatimetría"},
        {"Text8", tw(6720, 2400, 735, 285), nullptr},
        {"Label14", tw(7560, 2415, 375, 255), "m"},
        {"Label19", tw(5280, 3240, 2175, 255), "ERROR DE PORCENTAJES"},
        {"Label12", tw(5280, 3600, 735, 255), "Color"},
        {"Combo2", tw(5280, 3840, 1095, 315), nullptr},
        {"Shape1", tw(6720, 3870, 255, 255), nullptr},
        {"Frame1", tw(240, 3720, 4695, 1215), nullptr},
        {"Command2", tw(6720, 4560, 855, 375), nullptr},
        {"StatusBar1", tw(0, 5310, 8145, 255), nullptr},
        {"Label15", tw(480, 360, 855, 255), "Arenisca"},
        {"Text9", tw(480, 600, 615, 285), nullptr},
        {"Label16", tw(1560, 360, 615, 255), "Pelita"},
        {"Text10", tw(1560, 600, 615, 285), nullptr},
        {"Label17", tw(2640, 360, 615, 255), "Caliza"},
        {"Text11", tw(2640, 600, 615, 285), nullptr},
        {"Label18", tw(3720, 360, 735, 255), "Evaporita"},
        {"Text12", tw(3720, 600, 615, 285), nullptr},
        {"Label4", tw(120, 375, 1815, 255), "Porosidad en superficie"},
        {"Text3", tw(3240, 360, 855, 285), nullptr},
        {"Label5", tw(120, 735, 2535, 255), "Coeficiente porosidad-profundidad"},
        {"Text4", tw(3240, 720, 855, 285), nullptr},
    };
    for (const Fila& fila : filas) {
        auto* w = f->findChild<QWidget*>(fila.nombre);
        ASSERT_NE(w, nullptr) << fila.nombre;
        EXPECT_EQ(w->geometry(), fila.r) << fila.nombre;
        if (fila.texto) {
            auto* l = qobject_cast<QLabel*>(w);
            ASSERT_NE(l, nullptr) << fila.nombre;
            EXPECT_EQ(l->text(), QString::fromUtf8(fila.texto)) << fila.nombre;
        }
    }
    // Children of the frames sit in them.
    EXPECT_EQ(f->Text9->parentWidget(), f->Frame2);
    EXPECT_EQ(f->Text3->parentWidget(), f->Frame1);
    EXPECT_EQ(f->Frame2->title(), QString::fromUtf8("Litologías porcentuales"));
    EXPECT_EQ(f->Frame1->title(), "Variables");
    EXPECT_EQ(f->Command2->text(), "Terminar");
    EXPECT_TRUE(f->Label19->isHidden());
    EXPECT_EQ(f->Label19->palette().color(QPalette::Window), QColor(255, 255, 0));
    EXPECT_EQ(f->HScroll1->minimum(), 1);
    EXPECT_EQ(f->HScroll1->maximum(), 100);
    EXPECT_EQ(f->HScroll1->singleStep(), 1);
    EXPECT_EQ(f->HScroll1->pageStep(), 1);
    QStringList lit, col;
    for (int i = 0; i < f->Combo1->count(); ++i)
        lit << f->Combo1->itemText(i);
    for (int i = 0; i < f->Combo2->count(); ++i)
        col << f->Combo2->itemText(i);
    EXPECT_EQ(lit, (QStringList{"Pelitas", "Areniscas", "Arcosas", "Evaporitas", "Calizas",
                                "PORCENTUAL"}));
    EXPECT_EQ(col, (QStringList{"Blanco", "Negro", "Azul", "Cian", "Verde", "Magenta", "Rojo",
                                "Amarillo"}));
    EXPECT_TRUE(f->Combo1->isEditable());
    EXPECT_TRUE(f->Combo2->isEditable());
    // Three status panels, 96, 96 and 133 pixels wide, empty until a capture.
    const QList<QLabel*> paneles = f->StatusBar1->findChildren<QLabel*>();
    ASSERT_EQ(paneles.size(), 3);
    EXPECT_EQ(paneles[0]->width(), 96);
    EXPECT_EQ(paneles[1]->width(), 96);
    EXPECT_EQ(paneles[2]->width(), 133);
    EXPECT_EQ(f->panel(1), "");
    // The sketch is drawn on the surface: a dark pixel on the vertical stroke,
    // none beside it.
    const QImage img = f->grab().toImage();
    EXPECT_LT(qGray(img.pixel(184, 100)), 100);
    EXPECT_GT(qGray(img.pixel(178, 100)), 150);
    // Whatever the desktop's face, no caption is cut short by its label.
    for (const QLabel* l : f->findChildren<QLabel*>()) {
        if (l->text().isEmpty()) continue;
        EXPECT_LE(l->fontMetrics().horizontalAdvance(l->text()), l->width())
            << l->objectName().toStdString() << " " << l->text().toStdString();
    }
}

TEST(Form2, OrdenDeFocoEmpiezaEnTerminar)
{
    Dialogo d;
    Form2* f = d.f;
    EXPECT_EQ(f->focusWidget(), f->Command2);
    const QStringList esperado{"Command2", "Text1",  "Text2",  "Combo1",   "Text3",  "Text4",
                               "Text5",    "Text6",  "Text7",  "HScroll1", "Combo2", "Text8",
                               "Text9",    "Text10", "Text11", "Text12"};
    QStringList visto;
    QWidget* w = f->Command2;
    for (int i = 0; i < 200 && visto.size() < esperado.size(); ++i) {
        if (esperado.contains(w->objectName()) && !visto.contains(w->objectName()))
            visto << w->objectName();
        w = w->nextInFocusChain();
    }
    EXPECT_EQ(visto, esperado);
}

TEST(Form2, MuestraBancoDeColumnaRecienLimpiada)
{
    Dialogo d;
    Form2* f = d.f;
    EXPECT_EQ(f->Combo1->currentText(), "Areniscas");
    for (QLineEdit* e : {f->Text1, f->Text2, f->Text3, f->Text4, f->Text5, f->Text6})
        EXPECT_EQ(e->text(), "0") << e->objectName().toStdString();
    EXPECT_EQ(f->Text7->text(), "");
    EXPECT_EQ(f->Combo2->currentText(), "Blanco");
    EXPECT_EQ(f->HScroll1->value(), 1);
}

TEST(Form2, MuestraBancoFormaCortaYColorFueraDeTabla)
{
    Dialogo d(true);
    Store& s = *d.s;
    s.porosidad[2] = 0.49f;
    s.techo[2] = 100;
    s.color[1] = 0x0000FF; // Rojo
    s.color[2] = 0x123456; // no name
    s.banco_actual = 1;
    d.f->muestra_banco();
    EXPECT_EQ(d.f->Combo2->currentText(), "Rojo");
    s.banco_actual = 2;
    d.f->muestra_banco();
    EXPECT_EQ(d.f->Text3->text(), "0.49");
    EXPECT_EQ(d.f->Text1->text(), "100");
    // A colour without a name shows no name (a capture then keeps it), and
    // the swatch shows the bed's own colour: 0x123456 is RGB(0x56, 0x34, 0x12).
    EXPECT_EQ(d.f->Combo2->currentText(), "");
    EXPECT_EQ(d.f->Shape1->palette().color(QPalette::Window), QColor(0x56, 0x34, 0x12));
    EXPECT_EQ(d.f->Text7->text(), "Banco 2");
    EXPECT_EQ(d.f->HScroll1->value(), 2);
}

TEST(Form2, MovimientoSobreLaSuperficieCaptura)
{
    Dialogo d;
    Store& s = *d.s;
    Form2* f = d.f;
    Dialogo::escribe(f->Text1, "12abc");
    Dialogo::escribe(f->Text2, "abc");
    Dialogo::escribe(f->Text6, "3.5");
    Dialogo::escribe(f->Text7, "Arcillas rojas");
    // Typing alone stores nothing.
    EXPECT_EQ(s.techo[1], 0);
    EXPECT_EQ(s.nombre[1], "");
    d.mueve();
    EXPECT_EQ(s.techo[1], 12);
    EXPECT_EQ(s.base[1], 0);
    EXPECT_EQ(s.edad_techo[1], 3.5f);
    EXPECT_EQ(s.nombre[1], "Arcillas rojas");
    EXPECT_EQ(f->panel(1), "Banco No.   1");
    EXPECT_EQ(f->panel(2), "Arcillas rojas");
    EXPECT_EQ(f->panel(3), "Total de bancos   1");
    EXPECT_EQ(f->Label11->text(), " 1");
}

TEST(Form2, LosControlesDetienenLaCapturaLaMuestraYElBocetoNo)
{
    Dialogo d;
    Store& s = *d.s;
    Form2* f = d.f;
    Dialogo::escribe(f->Text7, "uno");
    QWidget* controles[] = {f->Text1,    f->Text7,   f->Combo1,    f->Combo2, f->HScroll1,
                            f->Command2, f->Label2,  f->Label12,   f->Frame1, f->Frame2,
                            f->Text3,    f->Label15, f->StatusBar1};
    for (QWidget* w : controles) {
        d.mueve_sobre(w);
        EXPECT_EQ(s.nombre[1], "") << w->objectName().toStdString();
    }
    // An inner corner of a frame, away from its children.
    mueve_a(f, f->Frame2->mapTo(f, QPoint(4, f->Frame2->height() - 6)));
    EXPECT_EQ(s.nombre[1], "");
    d.mueve(kSobreMuestra);
    EXPECT_EQ(s.nombre[1], "uno");
    Dialogo::escribe(f->Text7, "dos");
    d.mueve(kSobreBoceto);
    EXPECT_EQ(s.nombre[1], "dos");
}

struct Litologia {
    const char* nombre;
    const char* porosidad;
    const char* coeficiente;
    double grano;
};

TEST(Form2, ValoresDeCadaLitologia)
{
    const Litologia filas[] = {{"Pelitas", "0.63", "0.51", 2720},
                               {"Areniscas", "0.49", "0.27", 2650},
                               {"Arcosas", "0.56", "0.39", 2680},
                               {"Evaporitas", "0.70", "0.71", 2710},
                               {"Calizas", "0.56", "0.39", 2680}};
    Dialogo d;
    Store& s = *d.s;
    Form2* f = d.f;
    for (const Litologia& l : filas) {
        Dialogo::escribe(f->Combo1, l.nombre);
        Dialogo::escribe(f->Text3, "0.1");
        Dialogo::escribe(f->Text4, "0.2");
        d.mueve();
        EXPECT_EQ(f->Text3->text(), l.porosidad) << l.nombre;
        EXPECT_EQ(f->Text4->text(), l.coeficiente) << l.nombre;
        EXPECT_EQ(s.litologia[1], l.nombre);
        const float phi = std::stof(l.porosidad);
        EXPECT_EQ(s.porosidad[1], phi) << l.nombre;
        EXPECT_EQ(s.coef_porosidad[1], std::stof(l.coeficiente)) << l.nombre;
        EXPECT_NEAR(s.densidad[1], (1 - phi) * l.grano + phi * 1000, 0.01) << l.nombre;
        EXPECT_FALSE(f->Text9->isEnabled());
        EXPECT_FALSE(f->Text12->isEnabled());
        // The worked example of the evaporites.
        if (std::string(l.nombre) == "Evaporitas") {
            EXPECT_NEAR(s.densidad[1], 1513, 0.001);
        }
    }
}

TEST(Form2, PorcentualCienPorCientoArenisca)
{
    Dialogo d;
    d.porcentual("100", "0", "0", "0");
    EXPECT_TRUE(d.f->Text9->isEnabled());
    EXPECT_TRUE(d.f->Label19->isHidden());
    EXPECT_EQ(d.f->Text3->text(), " .49");
    EXPECT_EQ(d.f->Text4->text(), " .27");
    EXPECT_EQ(d.s->porosidad[1], 0.49f);
    EXPECT_EQ(d.s->pct_arenisca[1], 100);
    EXPECT_NEAR(d.s->densidad[1], 0.51 * 2650 + 490, 0.01);
}

TEST(Form2, PorcentualMitadYMitad)
{
    Dialogo d;
    d.porcentual("50", "50", "0", "0");
    EXPECT_TRUE(d.f->Label19->isHidden());
    EXPECT_EQ(d.s->porosidad[1], 0.56f);
    EXPECT_EQ(d.s->coef_porosidad[1], 0.39f);
    // Grain density 2685.
    EXPECT_NEAR(d.s->densidad[1], 0.44 * 2685 + 560, 0.01);
}

TEST(Form2, PorcentualQueNoSumaCienMuestraElErrorYMezclaIgual)
{
    Dialogo d;
    d.porcentual("60", "30", "0", "0");
    EXPECT_FALSE(d.f->Label19->isHidden());
    EXPECT_EQ(d.s->porosidad[1], 0.483f);
    EXPECT_EQ(d.s->coef_porosidad[1], 0.315f);
    // The label stays after the lithology changes, until a good sum.
    Dialogo::escribe(d.f->Combo1, "Calizas");
    d.mueve();
    EXPECT_FALSE(d.f->Label19->isHidden());
    EXPECT_FALSE(d.f->Text9->isEnabled());
    d.porcentual("60", "40", "0", "0");
    EXPECT_TRUE(d.f->Label19->isHidden());
}

TEST(Form2, LitologiaEnMinusculasNoCoincide)
{
    Dialogo d;
    Form2* f = d.f;
    Dialogo::escribe(f->Combo1, "pelitas");
    Dialogo::escribe(f->Text3, "0.4");
    Dialogo::escribe(f->Text4, "0.3");
    d.mueve();
    EXPECT_EQ(d.s->litologia[1], "pelitas");
    EXPECT_EQ(f->Text3->text(), "0.4");
    EXPECT_EQ(d.s->porosidad[1], 0.4f);
    EXPECT_EQ(d.s->coef_porosidad[1], 0.3f);
    EXPECT_FALSE(f->Text9->isEnabled());
    EXPECT_NEAR(d.s->densidad[1], 400, 0.001);
}

// A bed with grains of its own (a CSV column's densidad_grano): the capture's
// bulk density is (1 - phi) g + phi 1000 with them; the lithology still gives
// its porosity and coefficient.
TEST(Form2, LaDensidadDeGranoPropiaDelBancoCuentaEnSuDensidad)
{
    Dialogo d;
    Store& s = *d.s;
    Form2* f = d.f;
    s.densidad_grano[1] = 1400;
    f->Combo1->lineEdit()->selectAll();
    prueba::teclea(f->Combo1->lineEdit(), QString::fromUtf8("Carbón"));
    Dialogo::escribe(f->Text3, "0.5");
    Dialogo::escribe(f->Text4, "0.4");
    d.mueve();
    EXPECT_EQ(s.densidad[1], 1200.0f); // 0.5 x 1400 + 0.5 x 1000
    Dialogo::escribe(f->Combo1, "Areniscas");
    d.mueve();
    EXPECT_EQ(s.porosidad[1], 0.49f);
    EXPECT_EQ(s.coef_porosidad[1], 0.27f);
    EXPECT_NEAR(s.densidad[1], 0.51 * 1400 + 490, 1e-3); // not with 2650
    EXPECT_EQ(s.densidad_grano[1], 1400.0f);
}

// A bed computed without a rock is marked where it comes from, with the text
// that names it, and in the status bar beside the three panels; the marks
// follow the bed shown and go once it has a rock.
TEST(Form2, UnBancoSinRocaSeMarcaEnSuCasillaYEnLaBarra)
{
    Dialogo d(true);
    Store& s = *d.s;
    Form2* f = d.f;
    EXPECT_TRUE(f->avisos_sin_roca->texto().isEmpty());
    f->Combo1->lineEdit()->selectAll();
    prueba::teclea(f->Combo1->lineEdit(), QString::fromUtf8("Carbón"));
    Dialogo::escribe(f->Text4, "0.5");
    d.mueve();
    ASSERT_EQ(s.litologia[1], "Carbón");
    const std::vector<AvisoSinRoca> avisos = bancos_sin_roca(s);
    ASSERT_EQ(avisos.size(), 1u);
    const QString texto = QString::fromStdString(avisos[0].texto);
    EXPECT_TRUE(
        texto.startsWith(QString::fromUtf8("El banco 1 («Banco 1»): la litología «Carbón»")))
        << texto.toStdString();
    EXPECT_EQ(f->Combo1->toolTip(), texto);
    EXPECT_FALSE(f->Combo1->styleSheet().isEmpty());
    EXPECT_EQ(f->avisos_sin_roca->texto(), texto);
    EXPECT_EQ(f->avisos_sin_roca->toolTip(), texto);
    EXPECT_EQ(f->panel(1), "Banco No.   1");
    EXPECT_EQ(f->panel(2), "Banco 1");
    EXPECT_EQ(f->panel(3), "Total de bancos   3");
    EXPECT_GT(f->avisos_sin_roca->width(), 0);

    // Bed 2 (Pelitas) has none; back on bed 1, its marks again.
    d.flecha_derecha();
    EXPECT_TRUE(f->Combo1->toolTip().isEmpty());
    EXPECT_TRUE(f->Combo1->styleSheet().isEmpty());
    EXPECT_TRUE(f->avisos_sin_roca->texto().isEmpty());
    d.flecha_izquierda();
    EXPECT_EQ(f->Combo1->toolTip(), texto);

    // A coefficient of 0 marks its own box, and the line counts both.
    Dialogo::escribe(f->Text4, "0");
    d.mueve();
    EXPECT_TRUE(f->Text4->toolTip().contains(
        QString::fromUtf8("su coeficiente porosidad-profundidad es 0")));
    EXPECT_EQ(f->avisos_sin_roca->texto(), texto + QString::fromUtf8(" (y 1 aviso más)"));
    // Typed badly as well: what the box refused first, then the rock.
    Dialogo::escribe(f->Text4, "0 m");
    d.mueve();
    EXPECT_TRUE(f->Text4->toolTip().startsWith(QString::fromUtf8("«0 m» se leyó como 0")));
    EXPECT_TRUE(f->Text4->toolTip().contains("porosidad-profundidad es 0"));

    // Grains of its own (a CSV column's): the lithology is no longer marked.
    s.densidad_grano[1] = 1400;
    Dialogo::escribe(f->Text4, "0.5");
    d.mueve();
    EXPECT_TRUE(f->Combo1->toolTip().isEmpty());
    EXPECT_TRUE(f->Combo1->styleSheet().isEmpty());
    EXPECT_TRUE(f->Text4->toolTip().isEmpty());
    EXPECT_TRUE(f->Text4->styleSheet().isEmpty());
    EXPECT_TRUE(f->avisos_sin_roca->texto().isEmpty());

    // A mix that does not add up: the frame of the percentages.
    s.densidad_grano[1] = 0;
    d.porcentual("60", "30", "0", "0");
    EXPECT_TRUE(f->Frame2->toolTip().contains("suman 90")) << f->Frame2->toolTip().toStdString();
    EXPECT_TRUE(f->Text10->toolTip().isEmpty());
    d.porcentual("60", "40", "0", "0");
    EXPECT_TRUE(f->Frame2->toolTip().isEmpty());
}

TEST(Form2, ColorYMuestra)
{
    Dialogo d;
    Form2* f = d.f;
    Dialogo::escribe(f->Combo2, "Rojo");
    d.mueve();
    EXPECT_EQ(d.s->color[1], 0x0000FF);
    EXPECT_EQ(f->Shape1->palette().color(QPalette::Window), QColor(255, 0, 0));
    Dialogo::escribe(f->Combo2, "Caoba");
    d.mueve();
    EXPECT_EQ(d.s->color[1], 0x0000FF);
    EXPECT_EQ(f->Shape1->palette().color(QPalette::Window), QColor(255, 0, 0));
    Dialogo::escribe(f->Combo2, "Azul");
    d.mueve();
    EXPECT_EQ(d.s->color[1], 0xFF0000);
    EXPECT_EQ(f->Shape1->palette().color(QPalette::Window), QColor(0, 0, 255));
}

TEST(Form2, CasillaQueNoEsNumeroSeMarcaYConservaElValor)
{
    Dialogo d;
    Store& s = *d.s;
    Form2* f = d.f;
    Dialogo::escribe(f->Combo1, "PORCENTUAL");
    Dialogo::escribe(f->Text9, "30");
    Dialogo::escribe(f->Text8, "250");
    d.mueve();
    ASSERT_EQ(s.pct_arenisca[1], 30);
    ASSERT_EQ(s.paleobatimetria[1], 250);
    Dialogo::escribe(f->Text9, "");
    Dialogo::escribe(f->Text10, "45");
    Dialogo::escribe(f->Text8, "hondo");
    Dialogo::escribe(f->Text7, "Tras las casillas");
    d.mueve();
    EXPECT_EQ(s.pct_arenisca[1], 30);
    EXPECT_EQ(s.pct_pelita[1], 45);
    EXPECT_EQ(s.paleobatimetria[1], 250);
    EXPECT_FALSE(f->Text9->styleSheet().isEmpty());
    EXPECT_TRUE(f->Text9->toolTip().contains(QString::fromUtf8("vacía")));
    EXPECT_TRUE(f->Text10->styleSheet().isEmpty());
    EXPECT_FALSE(f->Text8->styleSheet().isEmpty());
    EXPECT_TRUE(f->Text8->toolTip().contains("hondo"));
    // The rest of the capture ran.
    EXPECT_EQ(s.nombre[1], "Tras las casillas");
    EXPECT_EQ(f->panel(2), "Tras las casillas");
    // The empty box mixes with the value the bed keeps, 30 % of sandstone.
    EXPECT_EQ(f->Text3->text(), " .4305"); // 0.49 * 0.30 + 0.63 * 0.45
    EXPECT_NEAR(s.densidad[1], (1 - 0.4305) * (2650 * 0.30 + 2720 * 0.45) + 0.4305 * 1000, 0.01);
    // Mended, the mark goes.
    Dialogo::escribe(f->Text8, " 75 ");
    Dialogo::escribe(f->Text9, "55");
    d.mueve();
    EXPECT_EQ(s.paleobatimetria[1], 75);
    EXPECT_EQ(s.pct_arenisca[1], 55);
    EXPECT_TRUE(f->Text8->styleSheet().isEmpty());
    EXPECT_TRUE(f->Text8->toolTip().isEmpty());
    EXPECT_TRUE(f->Text9->toolTip().isEmpty());
}

TEST(Form2, FlechaDerechaAnadeUnBancoConBaseEncadenada)
{
    Dialogo d(true);
    Store& s = *d.s;
    s.banco_actual = 3;
    d.f->muestra_banco();
    d.flecha_derecha();
    EXPECT_EQ(d.f->HScroll1->value(), 4);
    EXPECT_EQ(s.n_bancos, 4);
    EXPECT_EQ(s.banco_actual, 4);
    EXPECT_EQ(d.f->Text2->text(), QString::fromStdString(forma_corta(s.techo[3])));
    EXPECT_EQ(d.f->Text2->text(), "0");
    EXPECT_EQ(d.f->Text5->text(), QString::fromStdString(forma_corta(s.edad_techo[3])));
    EXPECT_EQ(d.f->panel(3), "Total de bancos   4");
    EXPECT_EQ(d.f->panel(1), "Banco No.   4");
    EXPECT_EQ(d.f->Label11->text(), " 4");
    // Back to bed 3: the count stays; bed 3 shows the top of bed 2 as base.
    d.flecha_izquierda();
    EXPECT_EQ(s.n_bancos, 4);
    EXPECT_EQ(d.f->Text2->text(), "120");
    EXPECT_EQ(d.f->Text5->text(), "20");
}

// A bed added by the arrow key keeps the base the dialog suggests for it, the
// top of the bed below, when "Terminar" follows with nothing else touched.
TEST(Form2, BancoAnadidoConLaFlechaGuardaLaBaseSugeridaAlTerminar)
{
    Dialogo d(true);
    Store& s = *d.s;
    s.techo[3] = 80; // not the 0 a bed starts with
    s.edad_techo[3] = 6.5f;
    s.banco_actual = 3;
    d.f->muestra_banco();
    d.f->HScroll1->setFocus();
    QTest::keyClick(d.f->HScroll1, Qt::Key_Right);
    ASSERT_EQ(s.n_bancos, 4);
    EXPECT_EQ(d.f->Text2->text(), "80");
    EXPECT_EQ(d.f->Text5->text(), "6.5");
    EXPECT_EQ(s.base[4], 0); // only suggested so far
    QTest::mouseClick(d.f->Command2, Qt::LeftButton);
    EXPECT_FALSE(d.f->isVisible());
    EXPECT_EQ(s.base[4], s.techo[3]);
    EXPECT_EQ(s.edad_base[4], s.edad_techo[3]);
}

TEST(Form2, TeclasDeLaBarraYPanelDeEstado)
{
    Dialogo d(true);
    Store& s = *d.s;
    s.n_bancos = 5;
    s.nombre[5] = "Quinto";
    s.techo[4] = 42;
    s.edad_techo[4] = 7.5f;
    s.base[5] = 99;
    d.f->HScroll1->setFocus();
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(d.f->HScroll1, Qt::Key_Right);
    EXPECT_EQ(d.f->HScroll1->value(), 5);
    EXPECT_EQ(s.banco_actual, 5);
    EXPECT_EQ(d.f->panel(1), "Banco No.   5");
    EXPECT_EQ(d.f->panel(2), "Quinto");
    EXPECT_EQ(d.f->panel(3), "Total de bancos   5");
    // Bed 5 offers the top of bed 4 as its base.
    EXPECT_EQ(d.f->Text2->text(), "42");
    EXPECT_EQ(d.f->Text5->text(), "7.5");
    d.mueve();
    EXPECT_EQ(s.base[5], 42);
    EXPECT_EQ(s.edad_base[5], 7.5f);
}

TEST(Form2, SinColumnaElPasoAlBancoDosCuentaUno)
{
    Store s;
    valores_de_arranque(s);
    s.banco_actual = 1;
    Form2* f = new Form2(s);
    f->show();
    QTest::keyClick(f->HScroll1, Qt::Key_Right);
    EXPECT_EQ(s.n_bancos, 1);
    EXPECT_EQ(s.banco_actual, 2);
    delete f;
}

TEST(Form2, LoTecleadoSeGuardaEnElBancoQueSeDejaConElRaton)
{
    Dialogo d(true);
    Store& s = *d.s;
    s.banco_actual = 2;
    d.f->muestra_banco();
    Dialogo::escribe(d.f->Text1, "77");
    Dialogo::escribe(d.f->Text7, "Editado");
    d.flecha_derecha();
    EXPECT_EQ(s.techo[2], 77);
    EXPECT_EQ(s.nombre[2], "Editado");
    EXPECT_EQ(s.techo[3], 0);
    EXPECT_EQ(s.nombre[3], "Banco 3");
    // Bed 3 now rests on the new top of bed 2.
    EXPECT_EQ(d.f->Text2->text(), "77");
    EXPECT_EQ(d.f->Text7->text(), "Banco 3");
}

TEST(Form2, LoTecleadoSeGuardaEnElBancoQueSeDejaConElTeclado)
{
    Dialogo d(true);
    Store& s = *d.s;
    s.banco_actual = 3;
    d.f->muestra_banco();
    Dialogo::escribe(d.f->Text6, "2.5");
    d.f->HScroll1->setFocus();
    QTest::keyClick(d.f->HScroll1, Qt::Key_Left);
    EXPECT_EQ(s.banco_actual, 2);
    EXPECT_EQ(s.edad_techo[3], 2.5f);
    EXPECT_EQ(s.edad_techo[2], 20);
}

TEST(Form2, LoTecleadoSeGuardaAlArrastrarElCursorDeLaBarra)
{
    Dialogo d(true);
    Store& s = *d.s;
    s.banco_actual = 1;
    d.f->muestra_banco();
    Dialogo::escribe(d.f->Text7, "Arrastrado");
    Dialogo::escribe(d.f->Text8, "250");
    // The thumb, where the style puts it, dragged a few pixels to the right.
    QScrollBar* b = d.f->HScroll1;
    QStyleOptionSlider opt;
    opt.initFrom(b);
    opt.orientation = Qt::Horizontal;
    opt.minimum = b->minimum();
    opt.maximum = b->maximum();
    opt.sliderPosition = opt.sliderValue = b->value();
    opt.singleStep = b->singleStep();
    opt.pageStep = b->pageStep();
    const QPoint cursor =
        b->style()
            ->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarSlider, b)
            .center();
    QTest::mousePress(b, Qt::LeftButton, {}, cursor);
    QTest::mouseMove(b, cursor + QPoint(6, 0));
    QTest::mouseMove(b, cursor + QPoint(12, 0));
    // Nothing moves until the thumb is let go.
    EXPECT_EQ(s.banco_actual, 1);
    QTest::mouseRelease(b, Qt::LeftButton, {}, cursor + QPoint(12, 0));
    ASSERT_GT(s.banco_actual, 1);
    EXPECT_EQ(b->value(), s.banco_actual);
    EXPECT_EQ(s.nombre[1], "Arrastrado");
    EXPECT_EQ(s.paleobatimetria[1], 250);
    const int b2 = s.banco_actual;
    if (b2 <= 3) {
        EXPECT_NE(s.nombre[b2], "Arrastrado");
    }
    // Past the last bed, one bed is added whatever the distance.
    EXPECT_EQ(s.n_bancos, b2 > 3 ? 4 : 3);
}

TEST(Form2, MovimientoDeLaBarraHechoPorElDialogoNoCaptura)
{
    Dialogo d(true);
    Store& s = *d.s;
    s.banco_actual = 3;
    d.f->muestra_banco();
    Dialogo::escribe(d.f->Text7, "No debe guardarse");
    Dialogo::escribe(d.f->Text1, "555");
    s.banco_actual = 1;
    d.f->muestra_banco();
    EXPECT_EQ(d.f->HScroll1->value(), 1);
    EXPECT_EQ(s.nombre[3], "Banco 3");
    EXPECT_EQ(s.techo[3], 0);
    EXPECT_EQ(s.nombre[1], "Banco 1");
    EXPECT_EQ(s.techo[1], 300);
    EXPECT_EQ(d.f->Text7->text(), "Banco 1");
    // The nested navigation refreshed the panels for bed 1.
    EXPECT_EQ(d.f->panel(1), "Banco No.   1");
}

// The main window with its dialog, for "Nuevo", "Modificar", "Abrir" and
// "Terminar".
struct Principal : prueba::Ventana {
    Form2* dlg() const { return f->dialogo_bancos(); }
    void mueve() { mueve_a(dlg(), kSuperficie); }
};

TEST(Form2, NuevoMuestraElDialogoUnicoYTerminarCalculaOcultaYDibuja)
{
    Principal p;
    Store& s = *p.s;
    p.menu("nuevo_mnu");
    Form2* f = p.dlg();
    ASSERT_NE(f, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f));
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(f->windowTitle(), "Nuevo");
    EXPECT_EQ(s.n_bancos, 1);
    // Bed 1 from 150 to 300 m, then bed 2 above it by the keyboard alone.
    Dialogo::escribe(f->Text1, "150");
    Dialogo::escribe(f->Text2, "300");
    Dialogo::escribe(f->Text6, "5");
    Dialogo::escribe(f->Text5, "10");
    p.mueve();
    f->HScroll1->setFocus();
    QTest::keyClick(f->HScroll1, Qt::Key_Right);
    EXPECT_EQ(s.n_bancos, 2);
    EXPECT_EQ(f->Text2->text(), "150");
    EXPECT_EQ(f->Text5->text(), "5");
    // Typed, then "Terminar" by the keyboard with no pointer movement.
    Dialogo::escribe(f->Text1, "0");
    Dialogo::escribe(f->Text6, "0");
    Dialogo::escribe(f->Text7, "Arriba");
    f->Command2->setFocus();
    QTest::keyClick(f->Command2, Qt::Key_Space);
    EXPECT_FALSE(f->isVisible());
    EXPECT_EQ(p.dlg(), f); // hidden and kept
    EXPECT_EQ(s.nombre[2], "Arriba");
    EXPECT_EQ(s.base[2], 150);
    EXPECT_TRUE(p.avisos.isEmpty()) << p.avisos.join("|").toStdString();
    ASSERT_NE(p.f->curvas_ventana(), nullptr);
    EXPECT_TRUE(p.f->curvas_ventana()->isVisible());
    // The computation ran on what was typed.
    EXPECT_GT(s.base_descomp[2], 0);
    // "Modificar" shows the same dialog again on bed 1.
    p.menu("modificar_mnu");
    EXPECT_EQ(p.dlg(), f);
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(f->HScroll1->value(), 1);
    EXPECT_EQ(f->Text1->text(), "150");
}

TEST(Form2, TerminarConErrorAvisaOcultaYSigue)
{
    Principal p;
    Store& s = *p.s;
    p.menu("nuevo_mnu");
    Form2* f = p.dlg();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f));
    Dialogo::escribe(f->Combo1, "Otra");
    Dialogo::escribe(f->Text1, "0");
    Dialogo::escribe(f->Text2, "100");
    Dialogo::escribe(f->Text3, "0.5");
    Dialogo::escribe(f->Text4, "0");
    QTest::mouseClick(f->Command2, Qt::LeftButton);
    EXPECT_EQ(s.coef_porosidad[1], 0);
    ASSERT_EQ(p.avisos.size(), 1);
    EXPECT_TRUE(p.avisos[0].contains("Error en tiempo de ejecución")) << p.avisos[0].toStdString();
    EXPECT_FALSE(f->isVisible());
}

TEST(Form2, CerradoPorElMarcoSeCreaDeNuevo)
{
    Principal p;
    p.menu("nuevo_mnu");
    QPointer<Form2> primero = p.dlg();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(primero));
    // Design value that the first dialog loses to a capture.
    primero->close();
    borra_diferidos();
    EXPECT_TRUE(primero.isNull());
    EXPECT_EQ(p.dlg(), nullptr);
    p.s->porosidad[1] = 0.25f;
    p.menu("modificar_mnu");
    ASSERT_NE(p.dlg(), nullptr);
    EXPECT_TRUE(p.dlg()->isVisible());
    EXPECT_EQ(p.dlg()->Text3->text(), "0.25");
}

TEST(Form2, NuevoConElDialogoAbiertoNoEscribeLosTextosViejos)
{
    Principal p;
    Store& s = *p.s;
    p.menu("nuevo_mnu");
    Form2* f = p.dlg();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f));
    Dialogo::escribe(f->Text1, "300");
    Dialogo::escribe(f->Text7, "Viejo");
    p.mueve();
    EXPECT_EQ(s.techo[1], 300);
    Dialogo::escribe(f->Text1, "999");
    p.menu("nuevo_mnu");
    EXPECT_EQ(p.dlg(), f);
    EXPECT_EQ(f->Text1->text(), "0");
    EXPECT_EQ(f->Text7->text(), "");
    p.mueve();
    EXPECT_EQ(s.techo[1], 0);
    EXPECT_EQ(s.nombre[1], "");
}

TEST(Form2, AbrirConElDialogoAbiertoLoRellena)
{
    Principal p;
    Store& s = *p.s;
    p.menu("nuevo_mnu");
    Form2* f = p.dlg();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f));
    Dialogo::escribe(f->Text1, "999");
    Dialogo::escribe(f->Text7, "Viejo");
    p.dialogo->respuesta = QString(TEVARRO_SOURCE_DIR) + "/examples/neuquen.tev";
    p.menu("abrir_mnu");
    ASSERT_GT(s.n_bancos, 1);
    const float techo = s.techo[1];
    const std::string nombre = s.nombre[1];
    EXPECT_NE(techo, 999);
    EXPECT_EQ(f->Text1->text(), QString::fromStdString(forma_corta(techo)));
    EXPECT_EQ(f->Text7->text(), QString::fromStdString(nombre));
    p.mueve();
    EXPECT_EQ(s.techo[1], techo);
    EXPECT_EQ(s.nombre[1], nombre);
}

// ---------------------------------------------------------------------------
// Nothing typed, browsed or refused is lost.

// Three beds whose porosities are their lithology's own (a capture changes
// nothing in them); bed 3 has a colour without a name.
const char* const kTresBancos =
    "A, 300 , 500 , 40 , 60 ,Pelitas, 255 , .63 , .51 , 50 , 0 , 0 , 0 , 0 \r\n"
    "B, 120 , 300 , 20 , 40 ,Areniscas, 65280 , .49 , .27 , 50 , 0 , 0 , 0 , 0 \r\n"
    "C, 0 , 120 , 0 , 20 ,Calizas, 12345 , .56 , .39 , 50 , 0 , 0 , 0 , 0 \r\n";

QString archivo_con(const QTemporaryDir& dir, const char* nombre, const QByteArray& bytes)
{
    const QString ruta = dir.filePath(nombre);
    QFile f(ruta);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return ruta;
}

// Keys to whatever has the focus, as a keyboard would send them.
void tecla(int k, Qt::KeyboardModifiers m = Qt::NoModifier)
{
    QWidget* w = QApplication::focusWidget();
    ASSERT_NE(w, nullptr);
    QTest::keyClick(w, static_cast<Qt::Key>(k), m);
}
void teclea(const QString& t)
{
    QWidget* w = QApplication::focusWidget();
    ASSERT_NE(w, nullptr);
    QTest::keyClicks(w, t);
}

TEST(Form2, HojearLaColumnaLaDejaByteAByte)
{
    QTemporaryDir dir;
    Principal p;
    p.abre(archivo_con(dir, "tres.tev", kTresBancos));
    p.menu("modificar_mnu");
    Form2* f = p.dlg();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f));
    f->HScroll1->setFocus();
    // Up to bed 3 and back, the pointer moving over the dialog at every bed.
    for (int k : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Left, Qt::Key_Left}) {
        p.mueve();
        QTest::keyClick(f->HScroll1, static_cast<Qt::Key>(k));
        if (f->HScroll1->value() == 3) {
            EXPECT_EQ(f->Combo2->currentText(), "");
            EXPECT_EQ(f->Shape1->palette().color(QPalette::Window), QColor(0x39, 0x30, 0x00));
        }
    }
    p.mueve();
    EXPECT_EQ(p.s->color[3], 12345);
    EXPECT_FALSE(p.f->columna_modificada());
    p.dialogo->respuesta = dir.filePath("copia.tev");
    p.menu("salvar_mnu");
    EXPECT_EQ(prueba::bytes_de(dir.filePath("copia.tev")), QByteArray(kTresBancos));
}

TEST(Form2, LoTecleadoLlegaAntesDeCadaOrden)
{
    QTemporaryDir dir;
    Principal p;
    Store& s = *p.s;
    p.menu("nuevo_mnu");
    Form2* f = p.dlg();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f));
    // No pointer movement anywhere: each command takes what the dialog shows.
    Dialogo::escribe(f->Text7, "Tecleado");
    Dialogo::escribe(f->Text2, "450");
    p.dialogo->respuesta = dir.filePath("a.tev");
    p.menu("salvar_mnu");
    EXPECT_TRUE(prueba::bytes_de(dir.filePath("a.tev")).startsWith("Tecleado, 0 , 450 ,"));
    Dialogo::escribe(f->Text2, "460");
    p.menu("dibuja_mnu");
    EXPECT_EQ(s.base[1], 460);
    Dialogo::escribe(f->Text2, "470");
    p.menu("modificar_mnu");
    EXPECT_EQ(s.base[1], 470);
    EXPECT_EQ(f->Text2->text(), "470");
    Dialogo::escribe(f->Text2, "480");
    f->close(); // by its frame
    EXPECT_EQ(s.base[1], 480);
}

TEST(Form2, UnaColumnaModificadaPreguntaAntesDePerderse)
{
    QTemporaryDir dir;
    Principal p;
    Store& s = *p.s;
    // Nothing modified: no question, as before.
    p.menu("nuevo_mnu");
    p.abre(archivo_con(dir, "tres.tev", kTresBancos));
    p.menu("nuevo_mnu");
    EXPECT_TRUE(p.preguntas.isEmpty());

    Dialogo::escribe(p.dlg()->Text7, "Sin guardar");
    p.respuesta = Form1::Respuesta::cancelar;
    const int dialogos = p.dialogo->veces;
    p.abre(dir.filePath("tres.tev"));
    ASSERT_EQ(p.preguntas, QStringList{"¿Guardar los cambios de la columna?"});
    EXPECT_EQ(p.dialogo->veces, dialogos); // not even the file dialog
    EXPECT_EQ(s.nombre[1], "Sin guardar");
    p.f->close();
    EXPECT_TRUE(p.f->isVisible());
    EXPECT_EQ(p.preguntas.size(), 2);

    // "Guardar" saves first (the dialog's answer serves both dialogs).
    p.respuesta = Form1::Respuesta::guardar;
    p.abre(dir.filePath("guardada.tev"));
    EXPECT_TRUE(prueba::bytes_de(dir.filePath("guardada.tev")).startsWith("Sin guardar, 0 , 0 ,"));
    EXPECT_EQ(s.nombre[1], "Sin guardar");
    EXPECT_FALSE(p.f->columna_modificada());

    Dialogo::escribe(p.dlg()->Text7, "Otra vez");
    p.respuesta = Form1::Respuesta::descartar;
    p.menu("nuevo_mnu");
    EXPECT_EQ(p.preguntas.size(), 4);
    EXPECT_EQ(s.nombre[1], "");
}

// A new column keeps nothing of the one before: a column with water depths
// and percentages, then "Nuevo", two beds typed, "Terminar" and "Salvar".
TEST(Form2, NuevoNoHeredaNadaDeLaColumnaAnterior)
{
    QTemporaryDir dir;
    Principal p;
    Store& s = *p.s;
    p.abre(archivo_con(
        dir, "agua.tev",
        "A, 150 , 300 , 5 , 10 ,PORCENTUAL, 255 , .56 , .39 , 300 , 10 , 20 , 30 , 40 \r\n"
        "B, 0 , 150 , 0 , 5 ,Pelitas, 65280 , .63 , .51 , 250 , 1 , 2 , 3 , 4 \r\n"));
    ASSERT_EQ(s.paleobatimetria[2], 250);
    p.menu("modificar_mnu");
    Form2* f = p.dlg();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f));
    p.mueve(); // fills the status panels
    ASSERT_EQ(f->panel(3), "Total de bancos   2");
    ASSERT_EQ(f->Text8->text(), "300");
    p.menu("nuevo_mnu");
    ASSERT_EQ(p.dlg(), f);
    EXPECT_EQ(f->Text8->text(), "0");
    EXPECT_EQ(f->Text9->text(), "0");
    // The panels at once, before any pointer movement.
    EXPECT_EQ(f->panel(2), "");
    EXPECT_EQ(f->panel(3), "Total de bancos   1");

    Dialogo::escribe(f->Text7, "Base");
    Dialogo::escribe(f->Text1, "150");
    Dialogo::escribe(f->Text2, "300");
    Dialogo::escribe(f->Text6, "5");
    Dialogo::escribe(f->Text5, "10");
    Dialogo::escribe(f->Text3, ".49");
    Dialogo::escribe(f->Text4, ".27");
    p.mueve();
    f->HScroll1->setFocus();
    QTest::keyClick(f->HScroll1, Qt::Key_Right); // bed 2, on bed 1
    ASSERT_EQ(s.n_bancos, 2);
    Dialogo::escribe(f->Text7, "Techo");
    Dialogo::escribe(f->Text1, "0");
    Dialogo::escribe(f->Text6, "0");
    Dialogo::escribe(f->Text3, ".49");
    Dialogo::escribe(f->Text4, ".27");
    f->Command2->setFocus();
    QTest::keyClick(f->Command2, Qt::Key_Space); // "Terminar"
    EXPECT_TRUE(p.avisos.isEmpty()) << p.avisos.join("|").toStdString();
    EXPECT_GT(s.base_descomp[1], 150);

    p.dialogo->respuesta = dir.filePath("nueva.tev");
    p.menu("salvar_mnu");
    EXPECT_EQ(prueba::bytes_de(dir.filePath("nueva.tev")),
              QByteArray("Base, 150 , 300 , 5 , 10 ,Areniscas, 16777215 , .49 , .27 , "
                         "0 , 0 , 0 , 0 , 0 \r\n"
                         "Techo, 0 , 150 , 0 , 5 ,Areniscas, 16777215 , .49 , .27 , "
                         "0 , 0 , 0 , 0 , 0 \r\n"));
}

TEST(Form2, UnaCasillaRechazadaSigueMarcadaAlVolver)
{
    Dialogo d(true);
    Store& s = *d.s;
    Form2* f = d.f;
    Dialogo::escribe(f->Combo1, "PORCENTUAL");
    EXPECT_TRUE(f->Text9->isEnabled()); // before any pointer movement
    Dialogo::escribe(f->Text9, "60");
    Dialogo::escribe(f->Text10, "3o");
    Dialogo::escribe(f->Text11, "0");
    Dialogo::escribe(f->Text12, "0");
    Dialogo::escribe(f->Text8, "0,5");
    d.mueve();
    EXPECT_EQ(s.pct_pelita[1], 0); // kept
    EXPECT_EQ(s.paleobatimetria[1], 50);
    // The mix is that of the percentages the bed keeps: 60 % sandstone.
    EXPECT_EQ(f->Text3->text(), " .294");
    const double phi = 0.294f;
    EXPECT_EQ(s.densidad[1], static_cast<float>((1 - phi) * 1590.0 + phi * 1000));

    d.flecha_derecha();
    EXPECT_TRUE(f->Text10->styleSheet().isEmpty());
    d.flecha_izquierda();
    EXPECT_EQ(f->Text10->text(), "3o");
    EXPECT_EQ(f->Text10->toolTip(),
              QString::fromUtf8("«3o» no es un número: el banco 1 conserva su valor anterior, 0."));
    EXPECT_FALSE(f->Text10->styleSheet().isEmpty());
    EXPECT_EQ(f->Text8->text(), "0,5");
    EXPECT_TRUE(f->Text8->toolTip().contains("conserva su valor anterior, 50"));
    d.mueve(); // a capture on return keeps the mark
    EXPECT_FALSE(f->Text10->styleSheet().isEmpty());

    Dialogo::escribe(f->Text10, "40");
    d.mueve();
    EXPECT_EQ(s.pct_pelita[1], 40);
    EXPECT_TRUE(f->Text10->styleSheet().isEmpty());
    EXPECT_FALSE(f->Label19->isVisible());
}

TEST(Form2, CasillasDeLecturaInicialDicenComoSeLeyeron)
{
    Dialogo d;
    Store& s = *d.s;
    Form2* f = d.f;
    Dialogo::escribe(f->Text1, "450,75");
    Dialogo::escribe(f->Text2, "1e39");
    Dialogo::escribe(f->Text6, "12 Ma");
    d.mueve();
    EXPECT_EQ(s.techo[1], 450);
    EXPECT_EQ(f->Text1->toolTip(),
              QString::fromUtf8("«450,75» se leyó como 450: el separador decimal es el punto."));
    EXPECT_EQ(s.base[1], 0); // does not fit a single: refused
    EXPECT_TRUE(f->Text2->toolTip().contains("no cabe en un número de precisión simple"));
    EXPECT_EQ(s.edad_techo[1], 12);
    EXPECT_EQ(f->Text6->toolTip(),
              QString::fromUtf8("«12 Ma» se leyó como 12: «Ma» no se tuvo en cuenta."));
    Dialogo::escribe(f->Text1, "450.75");
    Dialogo::escribe(f->Text2, "600");
    d.mueve();
    EXPECT_EQ(s.techo[1], 450.75f);
    EXPECT_EQ(s.base[1], 600);
    EXPECT_TRUE(f->Text1->toolTip().isEmpty());
    EXPECT_TRUE(f->Text2->styleSheet().isEmpty());
}

// "Nuevo", a PORCENTUAL bed, "Terminar", "Salvar" and "Abrir", by keys alone.
TEST(Form2, SoloConElTeclado)
{
    QTemporaryDir dir;
    Principal p;
    Store& s = *p.s;
    auto elige = [&](int abajo) {
        p.f->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(p.f.get()));
        QTest::keyClick(p.f.get(), Qt::Key_F10);
        QWidget* menu = QApplication::activePopupWidget();
        ASSERT_NE(menu, nullptr);
        // The menu opens with no item chosen: Down reaches the first one.
        for (int k = 0; k <= abajo; ++k)
            QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
    };
    elige(0); // Archivo -> Nuevo
    Form2* f = p.dlg();
    ASSERT_NE(f, nullptr);
    f->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(f));
    EXPECT_EQ(QApplication::focusWidget(), f->Command2);
    const char* campos[] = {"100", "250", "PORCENTUAL", nullptr, nullptr,
                            "30",  "10",  "Mezcla",     nullptr, "Amarillo",
                            "20",  "50",  "50",         "0",     "0"};
    for (const char* t : campos) {
        tecla(Qt::Key_Tab);
        if (t) teclea(QString::fromUtf8(t));
    }
    tecla(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), f->Command2);
    tecla(Qt::Key_Return);
    EXPECT_FALSE(f->isVisible());
    EXPECT_EQ(s.techo[1], 100);
    EXPECT_EQ(s.base[1], 250);
    EXPECT_EQ(s.litologia[1], "PORCENTUAL");
    EXPECT_EQ(s.pct_arenisca[1], 50);
    EXPECT_EQ(s.pct_pelita[1], 50);
    EXPECT_EQ(s.porosidad[1], 0.56f);
    EXPECT_EQ(s.coef_porosidad[1], 0.39f);
    EXPECT_EQ(s.color[1], 0x00FFFF);
    EXPECT_EQ(s.paleobatimetria[1], 20);
    EXPECT_EQ(s.nombre[1], "Mezcla");
    EXPECT_FALSE(f->Label19->isVisible());
    EXPECT_GT(s.base_descomp[1], 150);

    p.dialogo->respuesta = dir.filePath("teclado.tev");
    elige(2); // Archivo -> Salvar
    const QByteArray guardado = prueba::bytes_de(dir.filePath("teclado.tev"));
    EXPECT_TRUE(guardado.startsWith("Mezcla, 100 , 250 , 10 , 30 ,PORCENTUAL, 65535 , .56 , .39 , "
                                    "20 , 50 , 50 , 0 , 0 \r\n"))
        << guardado.toStdString();
    s.nombre[1] = "cambiado sin que el archivo lo sepa";
    p.respuesta = Form1::Respuesta::descartar;
    elige(1); // Archivo -> Abrir
    EXPECT_EQ(s.nombre[1], "Mezcla");
    EXPECT_EQ(s.n_bancos, 1);
}

TEST(Form2, EnterDelTecladoNumericoPulsaTerminar)
{
    Dialogo d;
    int veces = 0;
    QObject::connect(d.f, &Form2::terminado, [&veces] { ++veces; });
    d.f->Command2->setFocus();
    QTest::keyClick(d.f->Command2, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(veces, 1);
    EXPECT_FALSE(d.f->isVisible());
}

TEST(Form2, LosTextosDeLasListasCabenEnSuCaja)
{
    Dialogo d;
    for (QComboBox* c : {d.f->Combo1, d.f->Combo2}) {
        QStyleOptionComboBox opcion;
        opcion.initFrom(c);
        opcion.editable = true;
        const int ancho =
            c->style()
                ->subControlRect(QStyle::CC_ComboBox, &opcion, QStyle::SC_ComboBoxEditField, c)
                .width();
        for (int i = 0; i < c->count(); ++i)
            EXPECT_LE(QFontMetrics(c->font()).horizontalAdvance(c->itemText(i)), ancho)
                << c->itemText(i).toStdString();
    }
}

// Each computation plots on a clean window, and Enter in a scale box applies
// it as the scroll bar would.
TEST(Form4, CadaCalculoEmpiezaLimpioYEnterAplicaLaEscala)
{
    QTemporaryDir dir;
    const QString tres = archivo_con(dir, "tres.tev", kTresBancos);
    Principal p;
    p.abre(QString(TEVARRO_SOURCE_DIR) + "/examples/neuquen.tev");
    p.abre(tres);
    Principal solo;
    solo.abre(tres);
    Form4* a = p.f->curvas_ventana();
    Form4* b = solo.f->curvas_ventana();
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->grab().toImage(), b->grab().toImage());

    a->Text1->setFocus();
    a->Text1->selectAll();
    QTest::keyClicks(a->Text1, "50");
    QTest::keyClick(a->Text1, Qt::Key_Return);
    EXPECT_EQ(a->Label2->text(), "20.0");
    b->HScroll1->setValue(50);
    EXPECT_EQ(a->grab().toImage(), b->grab().toImage());

    // At the scroll bars' extremes every caption fits its label.
    for (int v : {1, 1000}) {
        a->HScroll1->setValue(v);
        a->VScroll1->setValue(v);
        for (QLabel* l : {a->Label2, a->Label3, a->Label4, a->Label5, a->Label6, a->Label7,
                          a->Label8, a->Label9, a->Label10})
            EXPECT_LE(QFontMetrics(l->font()).horizontalAdvance(l->text()), l->width())
                << l->text().toStdString();
    }
}

} // namespace
} // namespace tev
