// "Incertidumbre…": opened with Ctrl+I from the menu "Análisis", its fields
// checked and kept as the user's preferences, and the bands the history and
// stretching windows then compute in the background, cancelled or replaced.

#include "uncertainty_dialog/dialogo_incertidumbre.h"

#include "columna_que_falla.h"
#include "compute/nivel_mar.h"
#include "drawing/dibujo_historia.h"
#include "main_window/ventana_de_prueba.h"
#include "preferencias_propias.h"
#include "window_helpers/calculo_de_fondo.h"
#include "window_helpers/preferencias.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>

namespace tev {
namespace {

const QString kEjemplo = TEVARRO_SOURCE_DIR "/examples/neuquen.tev";

class IncertidumbreTest : public prueba::PreferenciasPropias {};

DialogoIncertidumbre* abre_con_ctrl_i(prueba::Ventana& v)
{
    v.f->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(v.f.get()));
    QTest::keyClick(v.f.get(), Qt::Key_I, Qt::ControlModifier);
    return v.f->incertidumbre_dialogo();
}

// Replaces a field's text as the user would: select all, erase, type.
void escribe(QLineEdit* campo, const QString& texto)
{
    campo->setFocus();
    QTest::keyClick(campo, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(campo, Qt::Key_Backspace);
    QTest::keyClicks(campo, texto);
}

void pon_ajustes(bool activa, int tiradas, uint64_t semilla)
{
    AjustesIncertidumbre a;
    a.activa = activa;
    a.tiradas = tiradas;
    a.semilla = semilla;
    a.rangos = {0.05, 0.2, 30, 0.5, 8};
    guarda_ajustes_incertidumbre(a);
}

bool espera_fin(const CalculoDeFondo* c)
{
    return QTest::qWaitFor([c] { return !c->en_curso(); }, 30000);
}

void compara(const std::vector<BandaPaso>& a, const std::vector<BandaPaso>& b)
{
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].banco_superior, b[i].banco_superior);
        for (int k = 0; k < kNumPercentiles; ++k) {
            EXPECT_EQ(a[i].tectonica[k], b[i].tectonica[k]) << i << ' ' << k;
            EXPECT_EQ(a[i].total[k], b[i].total[k]) << i << ' ' << k;
            EXPECT_EQ(a[i].edad[k], b[i].edad[k]) << i << ' ' << k;
        }
    }
}

TEST_F(IncertidumbreTest, CtrlIAbreElDialogoDesdeAnalisis)
{
    prueba::Ventana v;
    auto* a = v.f->findChild<QAction*>("incertidumbre_mnu");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->text(), QString::fromUtf8("Incertidumbre…"));
    auto* analisis = v.f->findChild<QMenu*>("analisis_mnu");
    ASSERT_NE(analisis, nullptr);
    EXPECT_TRUE(analisis->actions().contains(a));
    DialogoIncertidumbre* d = abre_con_ctrl_i(v);
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->isVisible());
    // The defaults: off, 1000 draws, seed 1.
    EXPECT_FALSE(d->activa_chk->isChecked());
    EXPECT_EQ(d->tiradas_txt->text(), "1000");
    EXPECT_EQ(d->semilla_txt->text(), "1");
}

TEST_F(IncertidumbreTest, LosAjustesSeGuardanYSeLeenDeNuevo)
{
    {
        prueba::Ventana v;
        DialogoIncertidumbre* d = abre_con_ctrl_i(v);
        ASSERT_NE(d, nullptr);
        QTest::mouseClick(d->activa_chk, Qt::LeftButton, {}, QPoint(5, 5));
        escribe(d->tiradas_txt, "250");
        escribe(d->semilla_txt, "42");
        escribe(d->porosidad_txt, "0,15");
        escribe(d->coef_txt, "0.3");
        escribe(d->paleobatimetria_txt, "75");
        escribe(d->edad_txt, "2.5");
        escribe(d->nivel_mar_txt, "12");
        QTest::mouseClick(d->aceptar_btn, Qt::LeftButton);
        EXPECT_FALSE(d->isVisible());
    }
    // In the preferences file, read by whoever asks (another window).
    EXPECT_TRUE(QFile::exists(carpeta() + "/tevarro/tevarro.conf"));
    const AjustesIncertidumbre a = lee_ajustes_incertidumbre();
    EXPECT_TRUE(a.activa);
    EXPECT_EQ(a.tiradas, 250);
    EXPECT_EQ(a.semilla, 42u);
    EXPECT_EQ(a.rangos.porosidad, 0.15);
    EXPECT_EQ(a.rangos.coef_porosidad, 0.3);
    EXPECT_EQ(a.rangos.paleobatimetria, 75);
    EXPECT_EQ(a.rangos.edad, 2.5);
    EXPECT_EQ(a.rangos.nivel_mar, 12);
    // A new run of the program shows them.
    prueba::Ventana otra;
    DialogoIncertidumbre* d = abre_con_ctrl_i(otra);
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->activa_chk->isChecked());
    EXPECT_EQ(d->tiradas_txt->text(), "250");
    EXPECT_EQ(d->semilla_txt->text(), "42");
    EXPECT_EQ(d->porosidad_txt->text(), "0.15");
}

TEST_F(IncertidumbreTest, UnCampoMaloSeNombraYNoSeGuardaNada)
{
    prueba::Ventana v;
    DialogoIncertidumbre* d = abre_con_ctrl_i(v);
    ASSERT_NE(d, nullptr);
    struct Caso {
        QLineEdit* campo;
        const char* texto;
        const char* nombre;
    };
    const Caso casos[] = {{d->tiradas_txt, "0", "Número de tiradas"},
                          {d->tiradas_txt, "abc", "Número de tiradas"},
                          {d->semilla_txt, "-3", "Semilla"},
                          {d->porosidad_txt, "x", "Porosidad ±"},
                          {d->paleobatimetria_txt, "-5", "Paleobatimetría ±"},
                          {d->nivel_mar_txt, "", "Nivel del mar ±"}};
    for (const Caso& c : casos) {
        d->pon_ajustes(AjustesIncertidumbre{});
        escribe(c.campo, c.texto);
        QTest::keyClick(c.campo, Qt::Key_Return);
        EXPECT_TRUE(d->isVisible()) << c.nombre;
        const QString m = d->mensaje_lbl->text();
        EXPECT_TRUE(m.startsWith(QString::fromUtf8(c.nombre))) << m.toStdString();
        EXPECT_TRUE(m.contains(QString::fromUtf8("«%1»").arg(c.texto))) << m.toStdString();
    }
    EXPECT_FALSE(preferencias().childGroups().contains("incertidumbre"));
}

TEST_F(IncertidumbreTest, LaHistoriaRecibeLasBandasDelCalculo)
{
    prueba::Ventana v;
    v.abre(kEjemplo);
    v.menu("historia_mnu");
    Form5* h = v.f->historia_ventana();
    ASSERT_NE(h, nullptr);
    // Off: no band and no bar, as the window always was.
    EXPECT_TRUE(h->bandas().empty());
    EXPECT_FALSE(h->calculo->en_curso());
    EXPECT_FALSE(h->calculo->isVisible());

    // Turned on in the dialog: computed at once.
    pon_ajustes(false, 300, 9);
    DialogoIncertidumbre* d = abre_con_ctrl_i(v);
    ASSERT_NE(d, nullptr);
    QTest::mouseClick(d->activa_chk, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(d->aceptar_btn, Qt::LeftButton);
    ASSERT_TRUE(espera_fin(h->calculo));
    const AjustesIncertidumbre a = lee_ajustes_incertidumbre();
    const ResultadoIncertidumbre esperado =
        calcula_incertidumbre(*v.s, CurvaNivelMar{}, a.rangos, 300, 9);
    ASSERT_TRUE(esperado.ok());
    compara(h->bandas(), esperado.bandas);
    EXPECT_EQ(h->bandas().size(), h->resultado().historia.pasos.size());
    EXPECT_FALSE(h->calculo->isVisible());

    // "Guardar imagen…" writes what the window shows, bands included.
    QTemporaryDir dir;
    const QString ruta = dir.filePath("historia.png");
    ASSERT_TRUE(h->guarda_imagen(ruta, nullptr));
    const auto pintada = [&](const std::vector<BandaPaso>& bandas) {
        QImage im(h->size(), QImage::Format_ARGB32_Premultiplied);
        QPainter p(&im);
        pinta_historia(h->resultado().historia, h->columna(), p, h->size(), bandas);
        return im.convertToFormat(QImage::Format_RGB32);
    };
    const QImage guardada = QImage(ruta).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(guardada, pintada(h->bandas()));
    EXPECT_NE(guardada, pintada({}));
}

TEST_F(IncertidumbreTest, ElEstiramientoRecibeBandasYBeta)
{
    pon_ajustes(true, 200, 3);
    prueba::Ventana v;
    v.abre(kEjemplo);
    v.menu("estiramiento_mnu");
    VentanaEstiramiento* w = v.f->estiramiento_ventana();
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(espera_fin(w->calculo));
    const AjustesIncertidumbre a = lee_ajustes_incertidumbre();
    const ResultadoIncertidumbre r = calcula_incertidumbre(*v.s, CurvaNivelMar{}, a.rangos, 200, 3);
    const BandaEstiramiento b = reajusta_estiramiento(r, w->figura().peticion);
    compara(w->figura().bandas, r.bandas);
    ASSERT_TRUE(b.ok());
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(w->figura().banda_beta.beta[k], b.beta[k]);
        EXPECT_EQ(w->figura().banda_beta.edad_rift[k], b.edad_rift[k]);
    }
    EXPECT_TRUE(w->resultado_lbl->text().contains(QString::fromUtf8("β al 95 %")));

    // A change of the fit's settings refits the same draws.
    QTest::mouseClick(w->edad_rift_chk, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(w->figura().bandas.empty());
    ASSERT_TRUE(espera_fin(w->calculo));
    const BandaEstiramiento fija = reajusta_estiramiento(r, w->figura().peticion);
    EXPECT_EQ(w->figura().banda_beta.beta[1], fija.beta[1]);
    compara(w->figura().bandas, r.bandas);
}

TEST_F(IncertidumbreTest, CancelarDescartaYLaVentanaSigue)
{
    pon_ajustes(true, kMaxTiradas, 1);
    prueba::Ventana v;
    v.abre(kEjemplo);
    v.menu("historia_mnu");
    Form5* h = v.f->historia_ventana();
    ASSERT_NE(h, nullptr);
    ASSERT_TRUE(h->calculo->en_curso());
    EXPECT_TRUE(h->calculo->isVisible());
    // The bar follows the draws.
    EXPECT_TRUE(QTest::qWaitFor([h] { return h->calculo->barra->value() > 0; }, 10000));
    QTest::mouseClick(h->calculo->cancelar_btn, Qt::LeftButton);
    EXPECT_FALSE(h->calculo->en_curso());
    EXPECT_FALSE(h->calculo->isVisible());
    QTest::qWait(300);
    EXPECT_TRUE(h->bandas().empty());
    // Usable still: a new computation runs and arrives.
    pon_ajustes(true, 100, 1);
    h->calcula_bandas();
    ASSERT_TRUE(espera_fin(h->calculo));
    EXPECT_EQ(h->bandas().size(), h->resultado().historia.pasos.size());
}

using prueba::columna_que_falla;

void ajustes_que_fallan()
{
    AjustesIncertidumbre a;
    a.activa = true;
    a.tiradas = 200;
    a.semilla = 5;
    a.rangos = {0.95, 0, 0, 0, 0};
    guarda_ajustes_incertidumbre(a);
}

// Draws that fail leave no band and say why where the bar was, in the
// history window and in the stretching window; the next computation takes
// the message away.
TEST_F(IncertidumbreTest, UnaTiradaQueFallaSeDiceDondeEstabaLaBarra)
{
    QTemporaryDir dir;
    ajustes_que_fallan();
    prueba::Ventana v;
    v.abre(columna_que_falla(dir));
    ASSERT_EQ(v.s->n_bancos, 2);
    const AjustesIncertidumbre a = lee_ajustes_incertidumbre();
    const ResultadoIncertidumbre esperado =
        calcula_incertidumbre(*v.s, CurvaNivelMar{}, a.rangos, a.tiradas, a.semilla);
    ASSERT_FALSE(esperado.ok());
    ASSERT_TRUE(esperado.historia.ok()) << esperado.historia.error;
    const QString mensaje = QString::fromStdString(esperado.error);

    v.menu("historia_mnu");
    Form5* h = v.f->historia_ventana();
    ASSERT_NE(h, nullptr);
    ASSERT_TRUE(h->resultado().ok());
    ASSERT_TRUE(espera_fin(h->calculo));
    EXPECT_TRUE(h->bandas().empty());
    EXPECT_TRUE(h->calculo->isVisible());
    EXPECT_TRUE(h->calculo->fallo_lbl->isVisible());
    EXPECT_FALSE(h->calculo->barra->isVisible());
    EXPECT_EQ(h->calculo->fallo_lbl->text(), fallo_de_bandas(mensaje));
    // At the foot of the window, wide enough for the whole message.
    EXPECT_EQ(h->calculo->geometry().bottom(), h->height() - 1);
    EXPECT_GE(h->calculo->height(),
              h->calculo->fallo_lbl->heightForWidth(h->calculo->fallo_lbl->width()));

    v.menu("estiramiento_mnu");
    VentanaEstiramiento* w = v.f->estiramiento_ventana();
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(espera_fin(w->calculo));
    EXPECT_TRUE(w->figura().bandas.empty());
    EXPECT_TRUE(w->calculo->fallo_lbl->isVisible());
    EXPECT_EQ(w->calculo->fallo_lbl->text(), fallo_de_bandas(mensaje));

    // Ranges the draws can take: the bar again, then the bands, no message.
    pon_ajustes(true, 100, 1);
    h->calcula_bandas();
    EXPECT_FALSE(h->calculo->fallo_lbl->isVisible());
    ASSERT_TRUE(espera_fin(h->calculo));
    EXPECT_EQ(h->bandas().size(), h->resultado().historia.pasos.size());
    EXPECT_FALSE(h->calculo->isVisible());
}

// A newer computation replaces an older one: the older is told to stop and
// its result, even when it comes, is never delivered.
TEST_F(IncertidumbreTest, UnCalculoNuevoReemplazaAlViejo)
{
    QWidget padre;
    CalculoDeFondo c(&padre);
    std::atomic<bool> suelta{false};
    std::atomic<bool> pidio_parar{false};
    int entregado = 0;
    c.lanza(
        10,
        [&](ControlCalculo& control) {
            // Ignores cancelar until let go, as a computation between two
            // checks does.
            while (!suelta)
                QThread::msleep(1);
            pidio_parar = control.cancelar.load();
        },
        [&] { entregado = 1; });
    c.lanza(
        10, [](ControlCalculo& control) { control.hechas = 10; }, [&] { entregado = 2; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return entregado == 2; }, 10000));
    suelta = true;
    QTest::qWait(200);
    EXPECT_EQ(entregado, 2);
    EXPECT_TRUE(pidio_parar);
    EXPECT_FALSE(c.en_curso());
}

} // namespace
} // namespace tev
