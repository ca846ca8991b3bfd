// "Guardar imagen…" on the column view and on the curve window, and the file
// dialog they share with the history window.

#include "curve_window/form4.h"
#include "drawing/dialogo_imagen.h"
#include "main_window/ventana_de_prueba.h"
#include "menu_contextual.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

namespace tev {
namespace {

const QString kEjemplo = QString(TEVARRO_SOURCE_DIR) + "/examples/neuquen.tev";
const QColor kAmarillo(255, 255, 0);

// The pixel of the inner area where the view's scale puts a point.
QPoint en_la_vista(const VistaColumna& v, float x, float y)
{
    const Escala& e = v.escala;
    const QSize a = v.area();
    return {static_cast<int>((x - e.ScaleLeft) * a.width() / e.ScaleWidth),
            static_cast<int>((y - e.ScaleTop) * a.height() / e.ScaleHeight)};
}

TEST(GuardarImagen, LaColumnaSeGuardaComoSeVe)
{
    QTemporaryDir dir;
    prueba::Ventana v;
    v.abre(kEjemplo);
    VistaColumna* vista = v.f->Picture1;
    QString ruta;
    int pedidas = 0;
    vista->pide_ruta_imagen = [&] { return ++pedidas, ruta; };
    QStringList avisos;
    vista->avisa = [&avisos](const QString& t) { avisos << t; };

    ruta = dir.filePath("columna.png");
    const QStringList entradas =
        prueba::elige_en_menu_contextual(vista, QPoint(400, 300), "Guardar imagen…");
    EXPECT_EQ(entradas, QStringList{"Guardar imagen…"});
    EXPECT_TRUE(avisos.isEmpty()) << avisos.join("\n").toStdString();
    QImage img(ruta);
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img.size(), vista->area());
    // Bed 12, yellow, 0..85 m deep in the present-day box 1000..2000.
    const QPoint antes = en_la_vista(*vista, 1500, 40);
    EXPECT_EQ(img.pixelColor(antes), kAmarillo);

    // Zoomed out, the picture follows the view's scale.
    QTest::mouseClick(v.f->Command3, Qt::LeftButton);
    ruta = dir.filePath("alejada.pdf");
    prueba::elige_en_menu_contextual(vista, QPoint(400, 300), "Guardar imagen…");
    ruta = dir.filePath("alejada.png");
    prueba::elige_en_menu_contextual(vista, QPoint(400, 300), "Guardar imagen…");
    img = QImage(ruta);
    ASSERT_FALSE(img.isNull());
    const QPoint p = en_la_vista(*vista, 1500, 40);
    EXPECT_NE(p, antes);
    EXPECT_EQ(img.pixelColor(p), kAmarillo);
    EXPECT_EQ(vista->imagen().pixelColor(p), kAmarillo);
    QFile pdf(dir.filePath("alejada.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.readAll().startsWith("%PDF-"));
    EXPECT_EQ(pedidas, 3);

    ruta = dir.filePath("columna.gif");
    prueba::elige_en_menu_contextual(vista, QPoint(400, 300), "Guardar imagen…");
    ASSERT_EQ(avisos.size(), 1);
    EXPECT_TRUE(avisos[0].contains("columna.gif"));
}

TEST(GuardarImagen, ConLaManoElBotonDerechoSigueArrastrando)
{
    prueba::Ventana v;
    v.abre(kEjemplo);
    VistaColumna* vista = v.f->Picture1;
    int pedidas = 0;
    vista->pide_ruta_imagen = [&pedidas] { return ++pedidas, QString(); };
    QTest::mouseClick(v.f->Command6, Qt::LeftButton); // the hand
    const float izquierda = vista->escala.ScaleLeft;
    const float por_pixel = vista->escala.ScaleWidth / vista->area().width();

    // A right drag 100 px to the left: no menu, the view pans.
    QWindow* w = v.f->windowHandle();
    const QPoint desde = vista->mapTo(v.f.get(), QPoint(400, 300));
    bool menu = false; // a menu that opened all the same is closed and noted
    QTimer::singleShot(0, [&menu] {
        if (QWidget* m = QApplication::activePopupWidget()) {
            menu = true;
            m->close();
        }
    });
    QTest::mousePress(w, Qt::RightButton, Qt::NoModifier, desde);
    QTest::mouseMove(w, desde - QPoint(50, 0));
    QTest::mouseRelease(w, Qt::RightButton, Qt::NoModifier, desde - QPoint(100, 0));
    QApplication::processEvents();
    EXPECT_FALSE(menu);
    EXPECT_EQ(pedidas, 0);
    EXPECT_NEAR(vista->escala.ScaleLeft, izquierda + 100 * por_pixel, 2 * por_pixel);

    // With the arrow the right button opens the menu again.
    QTest::mouseClick(v.f->Command1, Qt::LeftButton);
    EXPECT_EQ(prueba::elige_en_menu_contextual(vista, QPoint(400, 300), "Guardar imagen…"),
              QStringList{"Guardar imagen…"});
    EXPECT_EQ(pedidas, 1);
}

TEST(GuardarImagen, LasCurvasTambienEnPdf)
{
    QTemporaryDir dir;
    Store s;
    s.n_bancos = 1;
    s.edad_base[1] = 10;
    s.base_descomp[1] = 500;
    s.tevarro_tectonica[1] = 300;
    QPointer<Form4> w;
    muestra_curvas(w, s);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    const QString ruta = dir.filePath("curvas.pdf");
    w->pide_ruta_imagen = [&ruta] { return ruta; };
    EXPECT_EQ(prueba::elige_en_menu_contextual(w, QPoint(300, 330), "Guardar imagen…"),
              QStringList{"Guardar imagen…"});
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().startsWith("%PDF-"));
    delete w.data();
}

// The real file dialog, answered by the given step from inside its own event
// loop (closed before that loop runs, it would wait for ever).
QString responde_dialogo(const std::function<void(QFileDialog*)>& responde)
{
    QTimer reloj;
    reloj.setInterval(10);
    QObject::connect(&reloj, &QTimer::timeout, [&] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (d && QThread::currentThread()->loopLevel() > 0) {
            reloj.stop();
            responde(d);
        }
    });
    reloj.start();
    return pide_ruta_de_imagen(nullptr);
}

// The name typed into the dialog and the type chosen, then Return, as the
// user would.
void escribe_y_acepta(QFileDialog* d, const QString& ruta, const QString& tipo = QString())
{
    auto* nombre = d->findChild<QLineEdit*>("fileNameEdit");
    auto* tipos = d->findChild<QComboBox*>("fileTypeCombo");
    ASSERT_NE(nombre, nullptr);
    ASSERT_NE(tipos, nullptr);
    if (!tipo.isEmpty()) tipos->setCurrentIndex(tipos->findText(tipo));
    nombre->setFocus();
    nombre->setText(ruta);
    QTest::keyClick(nombre, Qt::Key_Return);
}

TEST(GuardarImagen, ElDialogoOfrecePngSvgYPdfYPoneLaExtension)
{
    QTemporaryDir dir;
    QStringList filtros;
    const QString pdf = responde_dialogo([&](QFileDialog* d) {
        filtros = d->nameFilters();
        escribe_y_acepta(d, dir.filePath("sin_extension"), "Documento PDF (*.pdf)");
    });
    EXPECT_EQ(filtros,
              (QStringList{"Imagen PNG (*.png)", "Imagen SVG (*.svg)", "Documento PDF (*.pdf)"}));
    EXPECT_EQ(pdf, dir.filePath("sin_extension.pdf"));
    const QString svg = responde_dialogo(
        [&](QFileDialog* d) { escribe_y_acepta(d, dir.filePath("dibujo"), "Imagen SVG (*.svg)"); });
    EXPECT_EQ(svg, dir.filePath("dibujo.svg"));
    const QString png =
        responde_dialogo([&](QFileDialog* d) { escribe_y_acepta(d, dir.filePath("foto")); });
    EXPECT_EQ(png, dir.filePath("foto.png"));
    // A name with its own extension keeps it.
    const QString propia = responde_dialogo([&](QFileDialog* d) {
        escribe_y_acepta(d, dir.filePath("otra.pdf"), "Imagen PNG (*.png)");
    });
    EXPECT_EQ(propia, dir.filePath("otra.pdf"));
    EXPECT_TRUE(responde_dialogo([](QFileDialog* d) { d->reject(); }).isEmpty());
}

} // namespace
} // namespace tev
