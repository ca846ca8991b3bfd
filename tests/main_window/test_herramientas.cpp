// The view tools of the main window: tool buttons, pan, zoom window, pencil,
// zoom out and paste, driven by real mouse events on the column view.

#include "main_window/form1.h"

#include "main_window/herramientas.h"
#include "main_window/vista_columna.h"
#include "model/store.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace tev {
namespace {

const QColor kAzul(0, 0, 255);
const QColor kVerde(0, 192, 0);
const QColor kRojo(255, 0, 0);

struct Ventana {
    std::unique_ptr<Store> s = std::make_unique<Store>();
    std::unique_ptr<Form1> f = std::make_unique<Form1>(*s);
    VistaColumna* vista = nullptr;

    Ventana()
    {
        f->show();
        vista = f->Picture1;
    }

    const Escala& escala() const { return vista->escala(); }

    // The widget point of the view whose inner pixel is (x, y).
    QPoint en(int x, int y) const { return vista->contentsRect().topLeft() + QPoint(x, y); }

    void presiona(QPoint p, Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mousePress(vista, b, Qt::NoModifier, p);
    }
    void mueve(QPoint p, Qt::MouseButtons sostenidos = Qt::LeftButton)
    {
        QMouseEvent e(QEvent::MouseMove, QPointF(p), QPointF(vista->mapToGlobal(p)), Qt::NoButton,
                      sostenidos, Qt::NoModifier);
        QApplication::sendEvent(vista, &e);
    }
    void suelta(QPoint p, Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mouseRelease(vista, b, Qt::NoModifier, p);
    }
    // Press, a few moves with the button held, release.
    void arrastra(QPoint a, QPoint b, Qt::MouseButton boton = Qt::LeftButton)
    {
        presiona(a, boton);
        for (int i = 1; i <= 4; ++i)
            mueve(a + (b - a) * i / 4, boton);
        suelta(b, boton);
    }
    void menu(const char* nombre)
    {
        auto* a = f->findChild<QAction*>(nombre);
        ASSERT_NE(a, nullptr) << nombre;
        a->trigger();
    }
    // Pixel of the retained drawing at the view point (x, y).
    QColor pixel(float x, float y) const
    {
        const Escala& e = vista->escala();
        const QSize a = vista->area();
        const int px = static_cast<int>(std::floor((x - e.ScaleLeft) * a.width() / e.ScaleWidth));
        const int py = static_cast<int>(std::floor((y - e.ScaleTop) * a.height() / e.ScaleHeight));
        return vista->imagen().pixelColor(px, py);
    }
};

int cuenta(const QImage& img, const QColor& color, QRect zona = QRect())
{
    if (zona.isNull()) zona = img.rect();
    int n = 0;
    for (int y = zona.top(); y <= zona.bottom(); ++y) {
        for (int x = zona.left(); x <= zona.right(); ++x) {
            if (img.pixelColor(x, y) == color) ++n;
        }
    }
    return n;
}

bool opaco_en_parte(const QImage& img)
{
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            if (qAlpha(img.pixel(x, y)) > 0) return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------- buttons

TEST(BotonesDeHerramientas, DibujosDe32PuntosNitidosATodaEscala)
{
    Ventana v;
    QList<QImage> dibujos;
    for (QPushButton* b :
         {v.f->Command1, v.f->Command2, v.f->Command3, v.f->Command6, v.f->Command7}) {
        SCOPED_TRACE(b->objectName().toStdString());
        EXPECT_TRUE(b->text().isEmpty());
        EXPECT_EQ(b->iconSize(), QSize(32, 32));
        ASSERT_FALSE(b->icon().isNull());
        // A vector picture: asked for at three times the size it is drawn
        // at that size, not blown up from 32 points.
        const QPixmap grande = b->icon().pixmap(QSize(96, 96));
        EXPECT_EQ(grande.size(), QSize(96, 96));
        const QImage img = b->icon().pixmap(QSize(32, 32)).toImage();
        EXPECT_TRUE(opaco_en_parte(img));
        dibujos << img;
    }
    // Five different pictures.
    for (int i = 0; i < dibujos.size(); ++i) {
        for (int j = i + 1; j < dibujos.size(); ++j)
            EXPECT_NE(dibujos[i], dibujos[j]) << i << j;
    }
    EXPECT_FALSE(v.f->windowIcon().isNull());
    EXPECT_TRUE(opaco_en_parte(v.f->windowIcon().pixmap(QSize(32, 32)).toImage()));
    EXPECT_EQ(v.f->Command6->toolTip(), "Drag");
    for (QPushButton* b : {v.f->Command1, v.f->Command2, v.f->Command3, v.f->Command7}) {
        EXPECT_TRUE(b->toolTip().isEmpty());
    }
}

TEST(BotonesDeHerramientas, CadaBotonPoneLosTresIndicadoresYElCursor)
{
    Ventana v;
    struct Caso {
        QPushButton* boton;
        int16_t mover, zoom, lapiz;
        bool cursor_de_mover;
    };
    const Caso casos[] = {
        {v.f->Command6, -1, 0, 0, true},  {v.f->Command2, 0, -1, 0, false},
        {v.f->Command7, 0, 0, -1, false}, {v.f->Command6, -1, 0, 0, true},
        {v.f->Command3, 0, 0, 0, false},  {v.f->Command7, 0, 0, -1, false},
        {v.f->Command1, 0, 0, 0, false},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.boton->objectName().toStdString());
        QTest::mouseClick(c.boton, Qt::LeftButton);
        EXPECT_EQ(v.s->modo_mover, c.mover);
        EXPECT_EQ(v.s->modo_zoom, c.zoom);
        EXPECT_EQ(v.s->modo_lapiz, c.lapiz);
        EXPECT_EQ(v.vista->cursor().shape(),
                  c.cursor_de_mover ? Qt::SizeAllCursor : Qt::ArrowCursor);
    }
}

TEST(BotonesDeHerramientas, ValorDeLosBotonesDelRaton)
{
    EXPECT_EQ(botones_del_raton(Qt::LeftButton), 1);
    EXPECT_EQ(botones_del_raton(Qt::RightButton), 2);
    EXPECT_EQ(botones_del_raton(Qt::MiddleButton), 4);
    EXPECT_EQ(botones_del_raton(Qt::LeftButton | Qt::RightButton), 3);
    EXPECT_EQ(botones_del_raton(Qt::NoButton), 0);
    EXPECT_EQ(estado_de_mayusculas(Qt::ShiftModifier | Qt::AltModifier), 5);
    EXPECT_EQ(estado_de_mayusculas(Qt::ControlModifier), 2);
}

// ---------------------------------------------------------------- positions

TEST(RatonEnLaVista, PosicionesEnLasUnidadesDeLaVista)
{
    Ventana v;
    // Start-up scale: 15 units a pixel, top edge at -1000.
    v.presiona(v.en(100, 40));
    EXPECT_EQ(v.s->x_inicio, 1500.0f);
    EXPECT_EQ(v.s->y_inicio, -400.0f);
    v.mueve(v.en(10, 300), Qt::NoButton); // a bare move counts too
    EXPECT_EQ(v.s->x_anterior, 150.0f);
    EXPECT_EQ(v.s->y_anterior, 3500.0f);
    v.suelta(v.en(10, 300));
    v.vista->pon_escala({-50.0f, 20.0f, 757.0f * 2, 485.0f / 2});
    v.presiona(v.en(100, 40));
    EXPECT_EQ(v.s->x_inicio, 150.0f);
    EXPECT_EQ(v.s->y_inicio, 40.0f);
}

TEST(RatonEnLaVista, SinHerramientaNadaCambiaALaVista)
{
    Ventana v;
    QTest::mouseClick(v.f->Command6, Qt::LeftButton);
    QTest::mouseClick(v.f->Command1, Qt::LeftButton);
    const Escala antes = v.escala();
    const QImage imagen = v.vista->imagen();
    v.mueve(v.en(5, 5), Qt::NoButton);
    v.arrastra(v.en(50, 60), v.en(300, 200));
    EXPECT_EQ(v.escala().ScaleLeft, antes.ScaleLeft);
    EXPECT_EQ(v.escala().ScaleTop, antes.ScaleTop);
    EXPECT_EQ(v.escala().ScaleWidth, antes.ScaleWidth);
    EXPECT_EQ(v.escala().ScaleHeight, antes.ScaleHeight);
    EXPECT_EQ(v.vista->imagen(), imagen);
    for (const Linea* l : {v.vista->Line1, v.vista->Line2, v.vista->Line5}) {
        EXPECT_FALSE(l->Visible());
    }
    // The positions are still kept.
    EXPECT_EQ(v.s->x_inicio, 750.0f);
    EXPECT_EQ(v.s->x_anterior, 4500.0f);
}

// ---------------------------------------------------------------- pan

TEST(Desplazar, ElPuntoBajoLaPulsacionQuedaBajoLaSuelta)
{
    Ventana v;
    QTest::mouseClick(v.f->Command6, Qt::LeftButton);
    const QPoint a = v.en(100, 100);
    const QPoint b = v.en(250, 180);
    const QPointF bajo_a = v.vista->a_unidades(a);
    EXPECT_EQ(v.pixel(1500, 0), QColor(Qt::black)); // datum line 500..2500 at the start
    v.presiona(a);
    EXPECT_TRUE(v.vista->Line1->Visible());
    v.mueve(b);
    EXPECT_EQ(v.vista->Line1->X1, static_cast<float>(bajo_a.x()));
    EXPECT_EQ(v.vista->Line1->Y1, static_cast<float>(bajo_a.y()));
    EXPECT_EQ(v.vista->Line1->X2, 3750.0f);
    EXPECT_EQ(v.vista->Line1->Y2, 1700.0f);
    v.suelta(b);
    EXPECT_FALSE(v.vista->Line1->Visible());
    // 150 pixels right and 80 down, 15 units each.
    EXPECT_EQ(v.escala().ScaleLeft, -2250.0f);
    EXPECT_EQ(v.escala().ScaleTop, -2200.0f);
    EXPECT_EQ(v.escala().ScaleWidth, 11355.0f);
    EXPECT_EQ(v.escala().ScaleHeight, 7275.0f);
    EXPECT_EQ(v.vista->a_unidades(b), bajo_a);
    // The column was drawn again at the new place: the datum line moved down
    // 80 pixels and right 150.
    EXPECT_NE(v.vista->imagen().pixelColor(40, 66), QColor(Qt::black));
    EXPECT_EQ(v.vista->imagen().pixelColor(200, 146), QColor(Qt::black));
    EXPECT_EQ(v.pixel(1500, 0), QColor(Qt::black));
}

TEST(Desplazar, SueltaEnElMismoPuntoRedibujaSinMover)
{
    Ventana v;
    QTest::mouseClick(v.f->Command6, Qt::LeftButton);
    v.vista->linea(0, 0, 3000, 3000, kAzul); // a mark that only a draw erases
    ASSERT_GT(cuenta(v.vista->imagen(), kAzul), 100);
    v.presiona(v.en(100, 100));
    v.suelta(v.en(100, 100));
    EXPECT_EQ(v.escala().ScaleLeft, 0.0f);
    EXPECT_EQ(v.escala().ScaleTop, -1000.0f);
    EXPECT_EQ(cuenta(v.vista->imagen(), kAzul), 0);
}

// ---------------------------------------------------------------- zoom window

TEST(VentanaDeZoom, LosDosSentidosDanLaMismaEscala)
{
    Ventana v;
    QTest::mouseClick(v.f->Command2, Qt::LeftButton);
    const Escala inicio = v.escala();
    // 200 by 150 pixels: 3000 by 2250 units, fitted by its height.
    v.arrastra(v.en(100, 50), v.en(300, 200));
    const Escala a = v.escala();
    const float factor_a = v.s->factor_zoom;
    EXPECT_EQ(a.ScaleLeft, 1500.0f);
    EXPECT_EQ(a.ScaleTop, -250.0f);
    EXPECT_FLOAT_EQ(a.ScaleHeight, 2250.0f);
    EXPECT_FLOAT_EQ(a.ScaleWidth, 11355.0f * 2250.0f / 7275.0f);
    EXPECT_FLOAT_EQ(factor_a, 2250.0f / 7275.0f);

    v.vista->pon_escala(inicio);
    v.arrastra(v.en(300, 200), v.en(100, 50));
    EXPECT_EQ(v.escala().ScaleLeft, a.ScaleLeft);
    EXPECT_EQ(v.escala().ScaleTop, a.ScaleTop);
    EXPECT_EQ(v.escala().ScaleWidth, a.ScaleWidth);
    EXPECT_EQ(v.escala().ScaleHeight, a.ScaleHeight);
    EXPECT_EQ(v.s->factor_zoom, factor_a);

    // The two other diagonals too.
    v.vista->pon_escala(inicio);
    v.arrastra(v.en(300, 50), v.en(100, 200));
    EXPECT_EQ(v.escala().ScaleLeft, a.ScaleLeft);
    EXPECT_EQ(v.escala().ScaleTop, a.ScaleTop);
    EXPECT_EQ(v.escala().ScaleWidth, a.ScaleWidth);
    // The window's top-left corner is now the view's: the datum line (y 0),
    // 250 units below the window's top, lies a ninth of the way down.
    const int fila = static_cast<int>(250.0f * 485 / a.ScaleHeight);
    EXPECT_EQ(v.vista->imagen().pixelColor(10, fila), QColor(Qt::black));
}

TEST(VentanaDeZoom, UnaVentanaAnchaSeAjustaPorSuAncho)
{
    Ventana v;
    QTest::mouseClick(v.f->Command2, Qt::LeftButton);
    // 300 by 100 pixels: ratio 3.
    v.arrastra(v.en(50, 100), v.en(350, 200));
    EXPECT_FLOAT_EQ(v.s->factor_zoom, 300.0f / 757.0f);
    EXPECT_FLOAT_EQ(v.escala().ScaleWidth, 4500.0f);
    EXPECT_FLOAT_EQ(v.escala().ScaleHeight, 7275.0f * 300.0f / 757.0f);
    EXPECT_EQ(v.escala().ScaleLeft, 750.0f);
    EXPECT_EQ(v.escala().ScaleTop, 500.0f);
}

TEST(VentanaDeZoom, ProporcionLimite156Por100)
{
    Ventana v;
    QTest::mouseClick(v.f->Command2, Qt::LeftButton);
    // One unit a pixel, so that the pixel moves are the window's sides.
    const Escala uno{0.0f, 0.0f, 757.0f, 485.0f};
    v.vista->pon_escala(uno);
    v.arrastra(v.en(100, 100), v.en(256, 200)); // 156 by 100: ratio exactly 1.56
    EXPECT_EQ(v.s->factor_zoom, static_cast<float>(100.0 / 485.0));
    EXPECT_FLOAT_EQ(v.escala().ScaleHeight, 100.0f);
    EXPECT_FLOAT_EQ(v.escala().ScaleWidth, 757.0f * 100.0f / 485.0f);

    v.vista->pon_escala(uno);
    v.arrastra(v.en(100, 100), v.en(257, 200)); // 157 by 100: wider than the view
    EXPECT_EQ(v.s->factor_zoom, static_cast<float>(157.0 / 757.0));
    EXPECT_FLOAT_EQ(v.escala().ScaleWidth, 157.0f);
    EXPECT_FLOAT_EQ(v.escala().ScaleHeight, 485.0f * 157.0f / 757.0f);
}

TEST(VentanaDeZoom, AritmeticaDelLimiteEnOtrasUnidades)
{
    Escala e{10.0f, 20.0f, 11355.0f, 7275.0f};
    float factor = 0.5f;
    ASSERT_TRUE(ventana_de_zoom(e, factor, 1000.0f, 500.0f, 1156.0f, 600.0f));
    EXPECT_EQ(factor, static_cast<float>(100.0 / 7275.0));
    EXPECT_EQ(e.ScaleHeight, factor * 7275.0f);
    EXPECT_EQ(e.ScaleWidth, factor * 11355.0f);
    EXPECT_EQ(e.ScaleLeft, 1000.0f);
    EXPECT_EQ(e.ScaleTop, 500.0f);

    e = {10.0f, 20.0f, 11355.0f, 7275.0f};
    ASSERT_TRUE(ventana_de_zoom(e, factor, 1157.0f, 600.0f, 1000.0f, 500.0f));
    EXPECT_EQ(factor, static_cast<float>(157.0 / 11355.0));
    EXPECT_EQ(e.ScaleLeft, 1000.0f);
    EXPECT_EQ(e.ScaleTop, 500.0f);
}

TEST(VentanaDeZoom, ArrastreVerticalSoloCambiaLaAltura)
{
    Escala e{10.0f, 20.0f, 11355.0f, 7275.0f};
    float factor = 0.5f;
    ASSERT_TRUE(ventana_de_zoom(e, factor, 700.0f, 900.0f, 700.0f, 300.0f));
    EXPECT_EQ(factor, static_cast<float>(600.0 / 7275.0));
    EXPECT_EQ(e.ScaleLeft, 10.0f); // X equal to x_inicio: unchanged
    EXPECT_EQ(e.ScaleTop, 300.0f);
}

TEST(VentanaDeZoom, VentanaMayorQueLaVistaAleja)
{
    Escala e{0.0f, 0.0f, 757.0f, 485.0f};
    float factor = 0.5f;
    ASSERT_TRUE(ventana_de_zoom(e, factor, -100.0f, -100.0f, 900.0f, 500.0f));
    EXPECT_GT(factor, 1.0f);
    EXPECT_GT(e.ScaleWidth, 757.0f);
    EXPECT_EQ(e.ScaleLeft, -100.0f);
}

TEST(VentanaDeZoom, ClicSinMovimientoNoCambiaNada)
{
    Ventana v;
    QTest::mouseClick(v.f->Command2, Qt::LeftButton);
    v.vista->linea(0, 0, 3000, 3000, kAzul); // erased only by a draw
    const QImage antes = v.vista->imagen();
    v.presiona(v.en(200, 120));
    for (const Linea* l : {v.vista->Line2, v.vista->Line3, v.vista->Line4, v.vista->Line5}) {
        EXPECT_TRUE(l->Visible());
    }
    v.suelta(v.en(200, 120));
    for (const Linea* l : {v.vista->Line2, v.vista->Line3, v.vista->Line4, v.vista->Line5}) {
        EXPECT_FALSE(l->Visible());
    }
    EXPECT_EQ(v.escala().ScaleLeft, 0.0f);
    EXPECT_EQ(v.escala().ScaleTop, -1000.0f);
    EXPECT_EQ(v.escala().ScaleWidth, 11355.0f);
    EXPECT_EQ(v.escala().ScaleHeight, 7275.0f);
    EXPECT_EQ(v.s->factor_zoom, 0.5f);
    EXPECT_EQ(v.vista->imagen(), antes);

    // A flat drag (zero height) is ignored the same way.
    v.arrastra(v.en(20, 120), v.en(400, 120));
    EXPECT_EQ(v.escala().ScaleWidth, 11355.0f);
    EXPECT_EQ(v.s->factor_zoom, 0.5f);
    EXPECT_EQ(v.vista->imagen(), antes);
}

TEST(VentanaDeZoom, LadosDelRectanguloSiguenAlRaton)
{
    Ventana v;
    QTest::mouseClick(v.f->Command2, Qt::LeftButton);
    v.presiona(v.en(10, 20)); // (150, -700)
    v.mueve(v.en(30, 60));    // (450, -100)
    const Linea* l2 = v.vista->Line2;
    const Linea* l3 = v.vista->Line3;
    const Linea* l4 = v.vista->Line4;
    const Linea* l5 = v.vista->Line5;
    EXPECT_EQ(std::make_tuple(l2->X1, l2->Y1, l2->X2, l2->Y2),
              std::make_tuple(150.0f, -700.0f, 450.0f, -700.0f));
    EXPECT_EQ(std::make_tuple(l3->X1, l3->Y1, l3->X2, l3->Y2),
              std::make_tuple(450.0f, -700.0f, 450.0f, -100.0f));
    EXPECT_EQ(std::make_tuple(l4->X1, l4->Y1, l4->X2, l4->Y2),
              std::make_tuple(450.0f, -100.0f, 150.0f, -100.0f));
    EXPECT_EQ(std::make_tuple(l5->X1, l5->Y1, l5->X2, l5->Y2),
              std::make_tuple(150.0f, -100.0f, 150.0f, -700.0f));
    EXPECT_FALSE(v.vista->Line1->Visible());
}

// ---------------------------------------------------------------- rubber bands

TEST(LineasElasticas, SeVenSobreLaVistaSoloEntrePulsarYSoltar)
{
    Ventana v;
    QTest::mouseClick(v.f->Command2, Qt::LeftButton);
    const QPoint a = v.en(100, 100);
    const QPoint b = v.en(300, 200);
    v.presiona(a);
    v.mueve(b);
    QImage vista = v.vista->grab().toImage();
    // The four dotted sides, each 200 or 100 pixels long: about half their
    // pixels are green dots.
    const QRect arriba(a.x(), a.y(), 200, 1), abajo(a.x(), b.y(), 200, 1);
    const QRect izquierda(a.x(), a.y(), 1, 100), derecha(b.x(), a.y(), 1, 100);
    for (const QRect& lado : {arriba, abajo, izquierda, derecha}) {
        const int n = cuenta(vista, kVerde, lado);
        EXPECT_GT(n, lado.width() * lado.height() / 4);
        EXPECT_LT(n, lado.width() * lado.height() * 3 / 4); // dotted, not solid
    }
    EXPECT_EQ(cuenta(vista, kVerde, QRect(a.x() + 5, a.y() + 5, 190, 90)), 0);
    // Over the drawing, not in it.
    EXPECT_EQ(cuenta(v.vista->imagen(), kVerde), 0);
    v.suelta(b);
    EXPECT_EQ(cuenta(v.vista->grab().toImage(), kVerde), 0);

    // The pan line: solid blue from the press point to the mouse.
    QTest::mouseClick(v.f->Command6, Qt::LeftButton);
    v.presiona(a);
    v.mueve(a + QPoint(150, 0));
    vista = v.vista->grab().toImage();
    EXPECT_GE(cuenta(vista, kAzul, QRect(a.x(), a.y(), 150, 1)), 148);
    EXPECT_EQ(cuenta(v.vista->imagen(), kAzul), 0);
    v.suelta(a + QPoint(150, 0));
    EXPECT_EQ(cuenta(v.vista->grab().toImage(), kAzul), 0);
}

// ---------------------------------------------------------------- zoom out

TEST(Alejar, AlArrancarDuplicaLaExtension)
{
    Ventana v;
    QTest::mouseClick(v.f->Command3, Qt::LeftButton);
    EXPECT_EQ(v.escala().ScaleWidth, 22710.0f);
    EXPECT_EQ(v.escala().ScaleHeight, 14550.0f);
    EXPECT_EQ(v.escala().ScaleLeft, 0.0f);
    EXPECT_EQ(v.escala().ScaleTop, -1000.0f);
    EXPECT_EQ(v.s->factor_zoom, 0.5f);
    // The datum line, 500..2500 at depth 0, is now half as long on screen.
    EXPECT_EQ(v.vista->imagen().pixelColor(60, 33), QColor(Qt::black));
    EXPECT_NE(v.vista->imagen().pixelColor(100, 33), QColor(Qt::black));
}

TEST(Alejar, DespuesDeUnaVentanaDevuelveLaExtension)
{
    Ventana v;
    QTest::mouseClick(v.f->Command2, Qt::LeftButton);
    v.arrastra(v.en(100, 50), v.en(300, 200));
    const Escala zoom = v.escala();
    ASSERT_NE(zoom.ScaleWidth, 11355.0f);
    QTest::mouseClick(v.f->Command3, Qt::LeftButton);
    EXPECT_FLOAT_EQ(v.escala().ScaleWidth, 11355.0f);
    EXPECT_FLOAT_EQ(v.escala().ScaleHeight, 7275.0f);
    // Anchored at the window's corner.
    EXPECT_EQ(v.escala().ScaleLeft, zoom.ScaleLeft);
    EXPECT_EQ(v.escala().ScaleTop, zoom.ScaleTop);
    // The tool is switched off.
    EXPECT_EQ(v.s->modo_zoom, 0);
    v.arrastra(v.en(10, 10), v.en(200, 300));
    EXPECT_FLOAT_EQ(v.escala().ScaleWidth, 11355.0f);
}

TEST(Alejar, ApagaLaHerramientaDeDesplazar)
{
    Ventana v;
    QTest::mouseClick(v.f->Command6, Qt::LeftButton);
    ASSERT_EQ(v.vista->cursor().shape(), Qt::SizeAllCursor);
    QTest::mouseClick(v.f->Command3, Qt::LeftButton);
    EXPECT_EQ(v.s->modo_mover, 0);
    EXPECT_EQ(v.vista->cursor().shape(), Qt::ArrowCursor);
}

// ---------------------------------------------------------------- pencil

TEST(Lapiz, TrazosAzulesSoloConElBotonIzquierdo)
{
    Ventana v;
    QTest::mouseClick(v.f->Command7, Qt::LeftButton);
    ASSERT_EQ(cuenta(v.vista->imagen(), kAzul), 0);
    // A stroke from (100, 100) to (300, 100) pixels.
    v.mueve(v.en(100, 100), Qt::NoButton);
    EXPECT_EQ(cuenta(v.vista->imagen(), kAzul), 0); // a bare move draws nothing
    v.presiona(v.en(100, 100));
    v.mueve(v.en(200, 100));
    v.mueve(v.en(300, 100));
    v.suelta(v.en(300, 100));
    const QImage img = v.vista->imagen();
    EXPECT_GE(cuenta(img, kAzul, QRect(100, 100, 200, 1)), 199);
    EXPECT_EQ(cuenta(img, kAzul), cuenta(img, kAzul, QRect(100, 100, 201, 1)));
    // It is on the screen too.
    EXPECT_GE(cuenta(v.vista->grab().toImage(), kAzul, QRect(v.en(100, 100), QSize(200, 1))), 199);

    // The right button, or both, draw nothing but move the previous point.
    v.presiona(v.en(300, 200), Qt::RightButton);
    v.mueve(v.en(400, 200), Qt::RightButton);
    v.mueve(v.en(400, 300), Qt::LeftButton | Qt::RightButton);
    v.suelta(v.en(400, 300), Qt::RightButton);
    EXPECT_EQ(v.vista->imagen(), img);
    EXPECT_EQ(v.s->x_anterior, 400.0f * 15);
    EXPECT_EQ(v.s->y_anterior, -1000.0f + 300 * 15);
    // The next left stroke starts there: a vertical line up from (400, 300).
    v.presiona(v.en(400, 300));
    v.mueve(v.en(400, 250));
    v.suelta(v.en(400, 250));
    EXPECT_GE(cuenta(v.vista->imagen(), kAzul, QRect(400, 250, 1, 50)), 50);

    // The next draw erases every stroke.
    v.menu("dibuja_mnu");
    EXPECT_EQ(cuenta(v.vista->imagen(), kAzul), 0);
}

TEST(Lapiz, ElPrimerTrazoEmpiezaEnElOrigen)
{
    Ventana v;
    QTest::mouseClick(v.f->Command7, Qt::LeftButton);
    // No move came before: the stroke runs from (0, 0), which lies at pixel
    // (0, 66), to the press point.
    v.presiona(v.en(200, 66));
    v.mueve(v.en(200, 66));
    v.suelta(v.en(200, 66));
    EXPECT_GE(cuenta(v.vista->imagen(), kAzul, QRect(0, 66, 200, 1)), 199);
}

TEST(Lapiz, TrasUnaVentanaDeZoomElTrazoSigueAlRaton)
{
    Ventana v;
    QTest::mouseClick(v.f->Command2, Qt::LeftButton);
    v.arrastra(v.en(37, 41), v.en(290, 213)); // a scale of no round numbers
    QTest::mouseClick(v.f->Command7, Qt::LeftButton);
    v.mueve(v.en(100, 100), Qt::NoButton);
    v.presiona(v.en(100, 100));
    v.mueve(v.en(300, 100));
    v.suelta(v.en(300, 100));
    EXPECT_GE(cuenta(v.vista->imagen(), kAzul, QRect(100, 100, 201, 1)), 200);
    EXPECT_EQ(cuenta(v.vista->imagen(), kAzul),
              cuenta(v.vista->imagen(), kAzul, QRect(100, 100, 201, 1)));
}

TEST(Lapiz, SinLapizNoSeDibuja)
{
    Ventana v;
    QTest::mouseClick(v.f->Command2, Qt::LeftButton);
    v.mueve(v.en(100, 100), Qt::NoButton);
    v.arrastra(v.en(100, 100), v.en(100, 100)); // left held, no window
    v.mueve(v.en(200, 100));
    EXPECT_EQ(cuenta(v.vista->imagen(), kAzul), 0);
}

// ---------------------------------------------------------------- paste

QImage lleno(QSize tamano, const QColor& color)
{
    QImage img(tamano, QImage::Format_RGB32);
    img.fill(color);
    return img;
}

const QByteArray kSvgVerde =
    "<svg xmlns='http://www.w3.org/2000/svg' width='50' height='20' viewBox='0 0 50 20'>"
    "<rect x='0' y='0' width='50' height='20' fill='#00c000'/></svg>";

TEST(Pegar, MapaDeBitsYLuegoDibujoVectorial)
{
    Ventana v;
    const QImage antes = v.vista->imagen();

    // Only a bitmap: it becomes the background; nothing is drawn yet.
    auto* solo_bits = new QMimeData;
    solo_bits->setImageData(lleno(QSize(200, 100), kRojo));
    QApplication::clipboard()->setMimeData(solo_bits);
    v.menu("paste_mnu");
    EXPECT_EQ(v.vista->fondo.size(), QSize(200, 100));
    EXPECT_EQ(v.vista->imagen(), antes);
    v.menu("dibuja_mnu");
    // At the top-left corner at its own size, under the column: the datum
    // line (row 66, pixels 33 to 166) is drawn over it.
    EXPECT_EQ(v.vista->imagen().pixelColor(0, 0), kRojo);
    EXPECT_EQ(v.vista->imagen().pixelColor(199, 99), kRojo);
    EXPECT_NE(v.vista->imagen().pixelColor(201, 5), kRojo);
    EXPECT_NE(v.vista->imagen().pixelColor(5, 101), kRojo);
    EXPECT_EQ(v.vista->imagen().pixelColor(100, 66), QColor(Qt::black));
    EXPECT_EQ(v.vista->imagen().pixelColor(100, 60), kRojo);

    // Both: the vector picture replaces the bitmap, drawn at its own size.
    auto* ambos = new QMimeData;
    ambos->setImageData(lleno(QSize(200, 100), kRojo));
    ambos->setData("image/svg+xml", kSvgVerde);
    QApplication::clipboard()->setMimeData(ambos);
    v.menu("paste_mnu");
    v.menu("dibuja_mnu");
    const QImage img = v.vista->imagen();
    EXPECT_EQ(img.pixelColor(5, 5), kVerde);
    EXPECT_EQ(img.pixelColor(49, 19), kVerde);
    EXPECT_NE(img.pixelColor(51, 5), kVerde);
    EXPECT_EQ(cuenta(img, kRojo), 0);
    EXPECT_EQ(cuenta(img, kVerde), 50 * 20);
}

TEST(Pegar, ElFondoNoSeMueveNiSeEscalaConLaVista)
{
    Ventana v;
    auto* datos = new QMimeData;
    datos->setData("image/svg+xml", kSvgVerde);
    QApplication::clipboard()->setMimeData(datos);
    v.menu("paste_mnu");
    // A pan and a zoom window: each draws, the picture stays where it was.
    QTest::mouseClick(v.f->Command6, Qt::LeftButton);
    v.arrastra(v.en(200, 200), v.en(260, 240));
    EXPECT_EQ(cuenta(v.vista->imagen(), kVerde, QRect(0, 0, 50, 20)), 50 * 20);
    QTest::mouseClick(v.f->Command2, Qt::LeftButton);
    v.arrastra(v.en(100, 100), v.en(300, 200));
    EXPECT_EQ(cuenta(v.vista->imagen(), kVerde), 50 * 20);
    EXPECT_EQ(cuenta(v.vista->imagen(), kVerde, QRect(0, 0, 50, 20)), 50 * 20);

    // The next paste replaces it.
    auto* bits = new QMimeData;
    bits->setImageData(lleno(QSize(10, 10), kRojo));
    QApplication::clipboard()->setMimeData(bits);
    v.menu("paste_mnu");
    v.menu("dibuja_mnu");
    EXPECT_EQ(cuenta(v.vista->imagen(), kVerde), 0);
    EXPECT_EQ(cuenta(v.vista->imagen(), kRojo), 100);
}

} // namespace
} // namespace tev
