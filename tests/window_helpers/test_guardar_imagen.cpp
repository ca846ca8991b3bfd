// "Guardar imagen…", the context menu of the column view, the curve window and
// the history window, and the file dialog they share.

#include "window_helpers/guardar_imagen.h"

#include "curve_window/form4.h"
#include "history_window/form5.h"
#include "main_window/ventana_de_prueba.h"
#include "menu_contextual.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>

namespace tev {
namespace {

// The column view's context menu: both pictures, then the view's own entry.
const QStringList kMenuDeLaVista{"Guardar imagen…", "Guardar columna entera…", "",
                                 "Ver toda la columna"};

// The pixel of the inner area where the view's scale puts a point.
QPoint en_la_vista(const VistaColumna& v, float x, float y)
{
    const Escala& e = v.escala();
    return {static_cast<int>((x - e.ScaleLeft) * v.area().width() / e.ScaleWidth),
            static_cast<int>((y - e.ScaleTop) * v.area().height() / e.ScaleHeight)};
}

TEST(GuardarImagen, LaColumnaComoSeVeYLaManoConservaElBotonDerecho)
{
    QTemporaryDir dir;
    prueba::Ventana v;
    v.abre(TEVARRO_SOURCE_DIR "/examples/neuquen.tev");
    VistaColumna* vista = v.f->Picture1;
    QString ruta = dir.filePath("alejada.png");
    int pedidas = 0;
    vista->guardar_imagen->pide_ruta = [&] { return ++pedidas, ruta; };
    // Zoomed out, then saved: bed 12, yellow, 0..85 m deep in the present-day
    // box 1000..2000, where the view's new scale puts it.
    const QPoint antes = en_la_vista(*vista, 1500, 40);
    QTest::mouseClick(v.f->Command3, Qt::LeftButton);
    const QPoint p = en_la_vista(*vista, 1500, 40);
    ASSERT_NE(p, antes);
    EXPECT_EQ(prueba::elige_en_menu_contextual(vista, QPoint(400, 300), "Guardar imagen…"),
              kMenuDeLaVista);
    const QImage img(ruta);
    EXPECT_EQ(img.size(), vista->area());
    EXPECT_EQ(img.pixelColor(p), QColor(255, 255, 0));

    // With the hand a right drag 100 px to the left pans, and no menu opens.
    QTest::mouseClick(v.f->Command6, Qt::LeftButton);
    const float izquierda = vista->escala().ScaleLeft;
    const float por_pixel = vista->escala().ScaleWidth / vista->area().width();
    bool menu = false; // one that opened all the same is closed and noted
    QTimer::singleShot(0, [&menu] {
        if (QWidget* m = QApplication::activePopupWidget()) menu = true, m->close();
    });
    QWindow* w = v.f->windowHandle();
    const QPoint desde = vista->mapTo(v.f.get(), QPoint(400, 300));
    QTest::mousePress(w, Qt::RightButton, Qt::NoModifier, desde);
    QTest::mouseRelease(w, Qt::RightButton, Qt::NoModifier, desde - QPoint(100, 0));
    QApplication::processEvents();
    EXPECT_FALSE(menu);
    EXPECT_EQ(pedidas, 1);
    EXPECT_NEAR(vista->escala().ScaleLeft, izquierda + 100 * por_pixel, 2 * por_pixel);
}

// Each window's entry, right-clicked, on a file that cannot be written: a
// warning under the window's own caption, with the window's own reason.
TEST(GuardarImagen, CadaVentanaAvisaElFalloBajoSuTitulo)
{
    QTemporaryDir dir;
    prueba::Ventana v;
    v.abre(TEVARRO_SOURCE_DIR "/examples/neuquen.tev"); // opens the curves too
    v.menu("historia_mnu");
    Form4* curvas = v.f->curvas_ventana();
    Form5* historia = v.f->historia_ventana();
    ASSERT_TRUE(curvas && historia);
    const QString ruta = dir.filePath("mala.bmp");
    // The title and text of the warning that the entry shows, closed at once.
    const auto aviso_de = [&ruta](QWidget* w, GuardarImagen* g, const QStringList& entradas) {
        g->pide_ruta = [&ruta] { return ruta; };
        QStringList aviso;
        QTimer reloj;
        reloj.setInterval(5);
        QObject::connect(&reloj, &QTimer::timeout, [&] {
            auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!caja) return;
            reloj.stop();
            EXPECT_EQ(caja->icon(), QMessageBox::Warning);
            aviso << caja->windowTitle() << caja->text();
            QTimer::singleShot(0, caja, &QDialog::accept);
        });
        reloj.start();
        EXPECT_EQ(prueba::elige_en_menu_contextual(w, QPoint(300, 200), "Guardar imagen…"),
                  entradas);
        return aviso.join('\n').toStdString();
    };
    QString razon;
    ASSERT_FALSE(v.f->Picture1->guarda_imagen(ruta, &razon));
    EXPECT_EQ(aviso_de(v.f->Picture1, v.f->Picture1->guardar_imagen, kMenuDeLaVista),
              ("TEVARRO 1.0\n" + razon).toStdString());
    ASSERT_FALSE(curvas->guarda_imagen(ruta, &razon));
    EXPECT_EQ(aviso_de(curvas, curvas->guardar_imagen,
                       QStringList{"Guardar imagen…", "", "Ajustar a la columna"}),
              ("Curva de tevarro\n" + razon).toStdString());
    ASSERT_FALSE(historia->guarda_imagen(ruta, &razon));
    EXPECT_EQ(aviso_de(historia, historia->guardar_imagen, QStringList{"Guardar imagen…"}),
              ("Historia de enterramiento\n" + razon).toStdString());
}

// The real file dialog, answered from inside its own event loop (closed
// before that loop runs, it would wait for ever): a name typed, a type
// chosen, Return.
QString responde(const QString& nombre, const QString& tipo, QStringList* tipos = nullptr)
{
    QTimer reloj;
    reloj.setInterval(10);
    QObject::connect(&reloj, &QTimer::timeout, [&] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!d || QThread::currentThread()->loopLevel() == 0) return;
        reloj.stop();
        if (tipos) *tipos = d->nameFilters();
        auto* combo = d->findChild<QComboBox*>("fileTypeCombo");
        auto* linea = d->findChild<QLineEdit*>("fileNameEdit");
        combo->setCurrentIndex(combo->findText(tipo));
        linea->setText(nombre);
        QTest::keyClick(linea, Qt::Key_Return);
    });
    reloj.start();
    return pide_ruta_de_imagen(nullptr);
}

TEST(GuardarImagen, ElDialogoOfrecePngSvgYPdfYPoneLaExtension)
{
    QTemporaryDir dir;
    QStringList tipos;
    EXPECT_EQ(responde(dir.filePath("a"), "Documento PDF (*.pdf)", &tipos), dir.filePath("a.pdf"));
    EXPECT_EQ(tipos,
              (QStringList{"Imagen PNG (*.png)", "Imagen SVG (*.svg)", "Documento PDF (*.pdf)"}));
    EXPECT_EQ(responde(dir.filePath("b"), "Imagen SVG (*.svg)"), dir.filePath("b.svg"));
    EXPECT_EQ(responde(dir.filePath("c"), "Imagen PNG (*.png)"), dir.filePath("c.png"));
    EXPECT_EQ(responde(dir.filePath("d.pdf"), "Imagen PNG (*.png)"), dir.filePath("d.pdf"));
}

} // namespace
} // namespace tev
