// No text cut short inside its own box at the windows' default sizes: every
// label of the bed dialog (its status panels on every bed of the example) and
// of the curve window. Run at scale factors 1 and 2. A name too long for the
// room its panel has is cut with an ellipsis and given whole in the tool tip.

#include "bed_dialog/form2.h"
#include "bed_dialog/panel_de_estado.h"
#include "curve_window/form4.h"
#include "main_window/ventana_de_prueba.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>

namespace tev {
namespace {

const QString kEjemplo = TEVARRO_SOURCE_DIR "/examples/neuquen.tev";

// Every label of w with a text: its own measure of that text fits its width.
void espera_etiquetas_enteras(QWidget* w, const std::string& donde)
{
    for (QLabel* l : w->findChildren<QLabel*>()) {
        if (l->text().isEmpty() || !l->isVisibleTo(w) || l->wordWrap()) continue;
        if (auto* p = qobject_cast<PanelDeEstado*>(l)) {
            EXPECT_FALSE(p->recortado()) << donde << ": " << l->text().toStdString();
            continue;
        }
        EXPECT_LE(l->sizeHint().width(), l->width())
            << donde << ": " << l->objectName().toStdString() << " «" << l->text().toStdString()
            << "»";
    }
}

TEST(TextosEnteros, DialogoDeBancosEnCadaBancoDelEjemplo)
{
    prueba::Ventana v;
    v.abre(kEjemplo);
    v.menu("modificar_mnu");
    Form2* d = v.f->dialogo_bancos();
    ASSERT_NE(d, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(d));
    // The panels are filled as the bar moves: from the last bed back to the first.
    for (int b = 12; b >= 1; --b) {
        d->HScroll1->setValue(b);
        QApplication::processEvents();
        ASSERT_EQ(d->panel(2).toStdString(), v.s->nombre[b]);
        espera_etiquetas_enteras(d, "banco " + std::to_string(b));
        // The three panels stay within the bar.
        for (const char* nombre : {"Panel1", "Panel2", "Panel3"}) {
            auto* p = d->findChild<QLabel*>(nombre);
            ASSERT_NE(p, nullptr);
            EXPECT_LE(p->geometry().right(), d->StatusBar1->width()) << nombre;
        }
    }
    // The panels keep their own widths where their texts fit: 96, 96, 133 px.
    d->HScroll1->setValue(2); // "Areniscas de Tordillo"
    QApplication::processEvents();
    EXPECT_EQ(d->findChild<QLabel*>("Panel1")->width(), 1440 / 15);
    EXPECT_EQ(d->findChild<QLabel*>("Panel3")->width(), 2000 / 15);
}

TEST(TextosEnteros, UnNombreQueNoCabeSeAcortaConSuPista)
{
    prueba::Ventana v;
    v.abre(kEjemplo);
    const std::string largo(120, 'M');
    v.s->nombre[3] = largo;
    v.menu("modificar_mnu");
    Form2* d = v.f->dialogo_bancos();
    ASSERT_NE(d, nullptr);
    d->HScroll1->setValue(3);
    QApplication::processEvents();
    auto* p = d->findChild<PanelDeEstado*>("Panel2");
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->recortado());
    EXPECT_EQ(p->toolTip().toStdString(), largo);
    EXPECT_EQ(d->panel(2).toStdString(), largo);
    EXPECT_LE(d->findChild<QLabel*>("Panel3")->geometry().right(), d->StatusBar1->width());
    // Back on a bed whose name fits, no tool tip.
    d->HScroll1->setValue(4);
    QApplication::processEvents();
    EXPECT_FALSE(p->recortado());
    EXPECT_TRUE(p->toolTip().isEmpty());
}

TEST(TextosEnteros, VentanaDeCurvas)
{
    prueba::Ventana v;
    v.abre(kEjemplo);
    Form4* c = v.f->curvas_ventana();
    ASSERT_NE(c, nullptr);
    espera_etiquetas_enteras(c, "curvas");
}

} // namespace
} // namespace tev
