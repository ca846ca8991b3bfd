// No text cut short inside its own box at the windows' default sizes: every
// label of the bed dialog (its status panels on every bed of the example) and
// of the curve window; the labels and buttons of the stretching window and of
// the column table at their default and at their smallest sizes. Run at scale factors 1 and 2. A
// name too long for the room its panel has is cut with an ellipsis and given whole in the tool tip.

#include "bed_dialog/form2.h"
#include "bed_dialog/panel_de_estado.h"
#include "curve_window/form4.h"
#include "main_window/ventana_de_prueba.h"
#include "stretch_window/ventana_estiramiento.h"
#include "table_window/tabla_columna.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
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

// Every button of w with a text: what its style asks for that text fits it.
void espera_botones_enteros(QWidget* w, const std::string& donde)
{
    for (QAbstractButton* b : w->findChildren<QAbstractButton*>()) {
        if (b->text().isEmpty() || !b->isVisibleTo(w)) continue;
        EXPECT_LE(b->sizeHint().width(), b->width())
            << donde << ": " << b->objectName().toStdString() << " «" << b->text().toStdString()
            << "»";
    }
}

// w at its default size, then at the smallest it lets itself be made.
void espera_textos_enteros_a_todo_tamano(QWidget* w, const std::string& nombre)
{
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    espera_etiquetas_enteras(w, nombre);
    espera_botones_enteros(w, nombre);
    w->resize(1, 1);
    QApplication::processEvents();
    espera_etiquetas_enteras(w, nombre + " al mínimo");
    espera_botones_enteros(w, nombre + " al mínimo");
}

TEST(TextosEnteros, VentanasDeEstiramientoYTabla)
{
    prueba::Ventana v;
    v.abre(kEjemplo);
    v.menu("estiramiento_mnu");
    ASSERT_NE(v.f->estiramiento_ventana(), nullptr);
    espera_textos_enteros_a_todo_tamano(v.f->estiramiento_ventana(), "estiramiento");
    v.menu("tabla_mnu");
    ASSERT_NE(v.f->tabla_ventana(), nullptr);
    espera_textos_enteros_a_todo_tamano(v.f->tabla_ventana(), "tabla");
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
