// The about window: opened from the last menu of the bar with the mouse,
// closed with "OK", Enter or Escape, its title in yellow bold type over its
// own picture.

#include "main_window/acerca_de.h"
#include "main_window/form1.h"
#include "main_window/ventana_de_prueba.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>
#include <QTest>

namespace tev {
namespace {

QAction* en_la_barra(QMenuBar* barra, const QString& texto)
{
    for (QAction* a : barra->actions())
        if (a->text() == texto) return a;
    return nullptr;
}

// "Ayuda", then "Acerca de TEVARRO…", both clicked.
AcercaDe* abre_con_el_raton(prueba::Ventana& v)
{
    v.f->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(v.f.get()));
    QMenuBar* barra = v.f->menuBar();
    QAction* ayuda = en_la_barra(barra, "Ayuda");
    EXPECT_NE(ayuda, nullptr);
    if (!ayuda) return nullptr;
    QTest::mouseClick(barra, Qt::LeftButton, {}, barra->actionGeometry(ayuda).center());
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    EXPECT_EQ(menu, ayuda->menu());
    if (!menu) return nullptr;
    // The manual first, the about window last.
    EXPECT_EQ(menu->actions().value(0)->text(), "Manual de TEVARRO");
    QAction* acerca = menu->actions().value(menu->actions().size() - 1);
    EXPECT_EQ(acerca->text(), QString::fromUtf8("Acerca de TEVARRO…"));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(acerca).center());
    AcercaDe* w = v.f->acerca_de();
    if (w) {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w));
    }
    return w;
}

TEST(AcercaDe, UltimoMenuDeLaBarra)
{
    prueba::Ventana v;
    const QList<QAction*> barra = v.f->menuBar()->actions();
    ASSERT_FALSE(barra.isEmpty());
    EXPECT_EQ(barra.last()->text(), "Ayuda");
    EXPECT_EQ(barra.last()->menu()->objectName(), "ayuda_mnu");
    // The window does not exist until it is asked for.
    EXPECT_EQ(v.f->acerca_de(), nullptr);
}

TEST(AcercaDe, SeAbreDesdeAyudaYOkLaCierra)
{
    prueba::Ventana v;
    AcercaDe* w = abre_con_el_raton(v);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), "Tevarro 1.0");
    EXPECT_EQ(w->Titulo->text(), "TEVARRO  1.0");
    EXPECT_TRUE(w->Titulo->font().bold());
    EXPECT_GT(w->Titulo->font().pointSizeF(), w->Label1->font().pointSizeF());
    EXPECT_EQ(w->Titulo->palette().color(QPalette::WindowText), QColor(255, 255, 0));
    // Three texts of their own: what, which version, built on what.
    EXPECT_TRUE(w->Label1->text().contains("backstripping"));
    EXPECT_EQ(w->Label2->text(), QString::fromUtf8("Versión 1.0"));
    EXPECT_TRUE(w->Label3->text().contains("Qt"));
    EXPECT_EQ(w->Command1->text(), "OK");
    // Over the main window: the main window takes no input meanwhile.
    EXPECT_TRUE(w->isModal() || w->windowModality() != Qt::NonModal);

    QTest::mouseClick(w->Command1, Qt::LeftButton);
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(v.f->isVisible());
    EXPECT_TRUE(QTest::qWaitForWindowActive(v.f.get()));

    // Once more: the same window comes back.
    EXPECT_EQ(abre_con_el_raton(v), w);
    EXPECT_TRUE(w->isVisible());
    QTest::mouseClick(w->Command1, Qt::LeftButton);
    EXPECT_FALSE(w->isVisible());
}

TEST(AcercaDe, EnterYEscapeLaCierran)
{
    prueba::Ventana v;
    AcercaDe* w = abre_con_el_raton(v);
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    QTest::keyClick(w, Qt::Key_Return);
    EXPECT_FALSE(w->isVisible());

    ASSERT_EQ(abre_con_el_raton(v), w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    QTest::keyClick(w, Qt::Key_Escape);
    EXPECT_FALSE(w->isVisible());
}

// The picture: yellow letters of the title on a dark ground, and a picture
// of many colours behind.
TEST(AcercaDe, TituloAmarilloSobreSuDibujo)
{
    AcercaDe w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const QImage img = w.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect titulo = w.Titulo->geometry();
    int amarillos = 0;
    int amarillos_fuera = 0;
    QSet<QRgb> colores;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y);
            colores.insert(c);
            if (titulo.contains(x, y)) {
                if (c == qRgb(255, 255, 0)) ++amarillos;
            } else if (c == qRgb(255, 255, 0) && y < titulo.bottom() + 20) {
                ++amarillos_fuera;
            }
        }
    }
    EXPECT_GT(amarillos, 300);
    EXPECT_EQ(amarillos_fuera, 0);
    // Where the title has no letter, the ground is dark.
    EXPECT_LT(qGray(img.pixel(titulo.left() + 2, titulo.top() + 2)), 80);
    EXPECT_LT(qGray(img.pixel(titulo.right() - 2, titulo.bottom() - 2)), 80);
    EXPECT_GT(colores.size(), 200);
}

} // namespace
} // namespace tev
