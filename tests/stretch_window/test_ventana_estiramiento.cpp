// "Subsidencia y estiramiento": opened from the menu "Análisis" with Ctrl+E,
// refitted on every setting and every computation, its settings kept, its
// results copied and its figure saved.

#include "stretch_window/ventana_estiramiento.h"

#include "compute/historia.h"
#include "main_window/ventana_de_prueba.h"
#include "nivel_mar_en_imagen.h"
#include "preferencias_propias.h"
#include "table_window/tabla_columna.h"
#include "window_helpers/curva_en_uso.h"
#include "window_helpers/guardar_imagen.h"
#include "window_helpers/preferencias.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace tev {
namespace {

const QString kEjemplo = TEVARRO_SOURCE_DIR "/examples/neuquen.tev";

class VentanaEstiramientoTest : public prueba::PreferenciasPropias {};

VentanaEstiramiento* abre_con_ctrl_e(prueba::Ventana& v)
{
    v.f->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(v.f.get()));
    QTest::keyClick(v.f.get(), Qt::Key_E, Qt::ControlModifier);
    return v.f->estiramiento_ventana();
}

// The fit of the column as the core gives it.
AjusteEstiramiento ajuste_de(const Store& s, const PeticionAjuste& pet = {})
{
    const ResultadoHistoria h = calcula_historia(s);
    return ajusta_estiramiento(puntos_de_historia(h.historia), pet);
}

TEST_F(VentanaEstiramientoTest, ElMenuAnalisisVieneTrasDibuja)
{
    prueba::Ventana v;
    const QList<QAction*> barra = v.f->menuBar()->actions();
    int dibuja = -1, analisis = -1;
    for (int i = 0; i < barra.size(); ++i) {
        if (barra[i]->objectName() == "dibuja_mnu") dibuja = i;
        if (barra[i]->menu() && barra[i]->menu()->objectName() == "analisis_mnu") analisis = i;
    }
    ASSERT_GE(dibuja, 0);
    EXPECT_EQ(analisis, dibuja + 1);
    EXPECT_EQ(barra[analisis]->text(), QString::fromUtf8("Análisis"));
    auto* a = v.f->findChild<QAction*>("estiramiento_mnu");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));
    EXPECT_TRUE(barra[analisis]->menu()->actions().contains(a));
}

// The keys of "Análisis" reach their windows from another window of the
// program too: here from the column table.
TEST_F(VentanaEstiramientoTest, LasTeclasDeAnalisisDesdeLaTabla)
{
    prueba::Ventana v;
    v.f->abre_archivo(kEjemplo);
    v.f->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(v.f.get()));
    QTest::keyClick(v.f.get(), Qt::Key_T, Qt::ControlModifier);
    QWidget* tabla = v.f->tabla_ventana();
    ASSERT_NE(tabla, nullptr);
    tabla->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(tabla));
    QTest::keyClick(tabla, Qt::Key_E, Qt::ControlModifier);
    ASSERT_NE(v.f->estiramiento_ventana(), nullptr);
    EXPECT_TRUE(v.f->estiramiento_ventana()->isVisible());
    tabla->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(tabla));
    QTest::keyClick(tabla, Qt::Key_H, Qt::ControlModifier);
    ASSERT_NE(v.f->historia_ventana(), nullptr);
    EXPECT_TRUE(v.f->historia_ventana()->isVisible());
}

TEST_F(VentanaEstiramientoTest, SeAbreConCtrlEYSigueCadaCalculo)
{
    prueba::Ventana v;
    VentanaEstiramiento* w = abre_con_ctrl_e(v);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "Subsidencia y estiramiento");
    // An empty column: why there is nothing to fit, and nothing to save.
    EXPECT_FALSE(w->figura().ajuste.ok());
    EXPECT_EQ(w->resultado_lbl->text(),
              QString::fromUtf8("La columna no tiene bancos: no hay "
                                "historia de enterramiento que ajustar."));
    EXPECT_FALSE(w->guardar_btn->isEnabled());

    v.abre(kEjemplo);
    const AjusteEstiramiento esperado = ajuste_de(*v.s);
    ASSERT_TRUE(w->figura().ajuste.ok());
    EXPECT_EQ(w->figura().ajuste.beta, esperado.beta);
    EXPECT_EQ(w->figura().ajuste.edad_rift, esperado.edad_rift);
    EXPECT_EQ(w->figura().puntos.size(), 12u);
    EXPECT_TRUE(w->resultado_lbl->text().contains("Puntos: 12"));
    EXPECT_TRUE(w->guardar_btn->isEnabled());
}

TEST_F(VentanaEstiramientoTest, SinHistoriaDiceElPorQue)
{
    prueba::Ventana v;
    v.abre(kEjemplo);
    v.s->coef_porosidad[1] = 0; // bed 1 can no longer be moved
    VentanaEstiramiento* w = abre_con_ctrl_e(v);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->resultado_lbl->text().contains("no tiene historia de enterramiento"))
        << w->resultado_lbl->text().toStdString();
    EXPECT_FALSE(w->copiar_btn->isEnabled());
}

TEST_F(VentanaEstiramientoTest, CadaAjusteCambiadoReajustaYSeGuarda)
{
    prueba::Ventana v;
    v.abre(kEjemplo);
    VentanaEstiramiento* w = abre_con_ctrl_e(v);
    ASSERT_NE(w, nullptr);
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));

    // The rift age fixed at 170 Ma: ticked, then typed.
    QTest::mouseClick(w->edad_rift_chk, Qt::LeftButton, Qt::NoModifier,
                      QPoint(8, w->edad_rift_chk->height() / 2));
    ASSERT_TRUE(w->edad_rift_chk->isChecked());
    w->edad_rift_spn->setFocus();
    w->edad_rift_spn->selectAll();
    QTest::keyClicks(w->edad_rift_spn, "170");
    QTest::keyClick(w->edad_rift_spn, Qt::Key_Return);
    PeticionAjuste pet;
    pet.edad_rift = 170;
    EXPECT_EQ(w->figura().ajuste.edad_rift, 170);
    EXPECT_EQ(w->figura().ajuste.beta, ajuste_de(*v.s, pet).beta);
    EXPECT_TRUE(w->resultado_lbl->text().contains("(fija)"));

    // The thermal mode and the first term only, chosen with the keyboard.
    w->modo_cmb->setFocus();
    QTest::keyClick(w->modo_cmb, Qt::Key_Down);
    w->serie_cmb->setFocus();
    QTest::keyClick(w->serie_cmb, Qt::Key_Down);
    pet.modelo.modo = ModoEstiramiento::termica;
    pet.modelo.terminos = 1;
    EXPECT_EQ(w->figura().ajuste.beta, ajuste_de(*v.s, pet).beta);
    EXPECT_TRUE(w->constantes_lbl->text().contains(QString::fromUtf8("un término")));

    // A new window starts from the same settings.
    w->close();
    QCoreApplication::processEvents();
    VentanaEstiramiento* otra = abre_con_ctrl_e(v);
    ASSERT_NE(otra, nullptr);
    EXPECT_TRUE(otra->edad_rift_chk->isChecked());
    EXPECT_EQ(otra->edad_rift_spn->value(), 170);
    EXPECT_EQ(otra->modo_cmb->currentData().toString(), "termica");
    EXPECT_EQ(otra->figura().ajuste.beta, ajuste_de(*v.s, pet).beta);
}

TEST_F(VentanaEstiramientoTest, CopiaLosResultadosYGuardaLaImagen)
{
    prueba::Ventana v;
    v.abre(kEjemplo);
    VentanaEstiramiento* w = abre_con_ctrl_e(v);
    ASSERT_NE(w, nullptr);
    QGuiApplication::clipboard()->clear();
    QTest::mouseClick(w->copiar_btn, Qt::LeftButton);
    const QString copiado = QGuiApplication::clipboard()->text();
    EXPECT_EQ(copiado, w->texto_resultados());
    EXPECT_TRUE(copiado.startsWith(QString::fromUtf8("β = ")));
    EXPECT_TRUE(copiado.contains(QString::fromUtf8("τ = 62")));
    EXPECT_TRUE(copiado.contains(QString::fromUtf8("límite"))); // the rift at the oldest step

    QTemporaryDir dir;
    const QString ruta = dir.filePath("estiramiento.png");
    w->guardar_imagen->pide_ruta = [&] { return ruta; };
    QTest::mouseClick(w->guardar_btn, Qt::LeftButton);
    const QImage guardada(ruta);
    ASSERT_FALSE(guardada.isNull());
    EXPECT_EQ(guardada.size(), w->lienzo->size());
    // The window shows the same figure.
    const QImage pantalla = w->lienzo->grab().toImage();
    int del_modelo = 0;
    for (int y = 0; y < pantalla.height(); ++y)
        for (int x = 0; x < pantalla.width(); ++x)
            del_modelo += pantalla.pixelColor(x, y) == kColorModelo ? 1 : 0;
    EXPECT_GT(del_modelo, 100);
}

// A picture saved with the curve in force other than the program's table
// names it in its top right corner (one line of a 12 px font, 6 px from the
// edges); with the table that corner stays empty.
TEST_F(VentanaEstiramientoTest, LaImagenGuardadaNombraLaCurvaDelNivelDelMar)
{
    struct Tabla { // the program's table again, whatever happens
        ~Tabla() { pon_curva_en_uso(CurvaNivelMar{}); }
    } tabla;
    prueba::Ventana v;
    v.abre(kEjemplo);
    VentanaEstiramiento* w = abre_con_ctrl_e(v);
    ASSERT_NE(w, nullptr);
    QTemporaryDir dir;
    const auto guarda = [&](const QString& nombre) {
        const QString ruta = dir.filePath(nombre);
        w->guardar_imagen->pide_ruta = [ruta] { return ruta; };
        QTest::mouseClick(w->guardar_btn, Qt::LeftButton);
        return QImage(ruta);
    };
    const QString texto = QString::fromUtf8("Nivel del mar: ninguno");
    const auto oscuros = [&texto](const QImage& im) {
        return prueba::pixeles_oscuros(im, prueba::esquina_del_nivel_mar(im.size(), texto));
    };
    const QImage con_tabla = guarda("tabla.png");
    ASSERT_FALSE(con_tabla.isNull());
    EXPECT_EQ(oscuros(con_tabla), 0);

    CurvaNivelMar ninguna;
    ninguna.tipo = CurvaNivelMar::Tipo::ninguna;
    pon_curva_en_uso(ninguna);
    const QImage sin_mar = guarda("ninguno.png");
    ASSERT_FALSE(sin_mar.isNull());
    EXPECT_GT(oscuros(sin_mar), 40);
    // The window names it too, with the same words.
    auto* linea = w->findChild<QLabel*>("nivel_mar_lbl");
    ASSERT_NE(linea, nullptr);
    EXPECT_EQ(linea->text(), texto);
}

} // namespace
} // namespace tev
