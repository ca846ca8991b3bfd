// "Modelo…": the sea-level curve chosen in the dialog is the one every window
// computes with, is named where results are shown and exported, and is kept
// for the next start.

#include "compute/historia.h"
#include "compute/tevarro.h"
#include "main_window/ventana_de_prueba.h"
#include "model/densidad.h"
#include "model_dialog/dialogo_modelo.h"
#include "project_file/formatos.h"
#include "project_file/resultados_csv.h"
#include "window_helpers/curva_en_uso.h"
#include "window_helpers/preferencias.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>

namespace tev {
namespace {

const QString kEjemplo = TEVARRO_SOURCE_DIR "/examples/neuquen.tev";

// Every test starts, and leaves the next one, with the program's table and
// nothing kept.
class Modelo : public ::testing::Test {
  protected:
    void SetUp() override { limpia(); }
    void TearDown() override { limpia(); }
    static void limpia()
    {
        QSettings p = preferencias();
        p.remove("modelo");
        p.sync();
        pon_curva_en_uso(CurvaNivelMar{});
    }

    prueba::Ventana v;

    // "Análisis" clicked on the menu bar, then "Modelo…".
    DialogoModelo* abre_dialogo()
    {
        v.clic_en_menu("analisis_mnu", "modelo_mnu");
        return v.f->modelo_dialogo();
    }
    // The option clicked, then "Aceptar".
    void elige(QRadioButton* DialogoModelo::*opcion)
    {
        DialogoModelo* d = abre_dialogo();
        ASSERT_NE(d, nullptr);
        // On its round button: the rest of its row does not take a click.
        QRadioButton* b = d->*opcion;
        QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, QPoint(8, b->height() / 2));
        EXPECT_TRUE(b->isChecked());
        QTest::mouseClick(d->aceptar_btn, Qt::LeftButton);
    }
    // The file typed in the dialog's box, then "Aceptar".
    DialogoModelo* elige_archivo(const QString& ruta)
    {
        DialogoModelo* d = abre_dialogo();
        if (!d) return nullptr;
        d->archivo_txt->selectAll();
        QTest::keyClick(d->archivo_txt, Qt::Key_Delete);
        QTest::keyClicks(d->archivo_txt, ruta);
        QTest::mouseClick(d->aceptar_btn, Qt::LeftButton);
        return d;
    }
    QLabel* linea() const { return v.f->StatusBar1->findChild<QLabel*>("nivel_mar_lbl"); }
};

std::uint32_t bits(float v)
{
    std::uint32_t b = 0;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

bool escribe(const QString& ruta, const QByteArray& bytes)
{
    QFile f(ruta);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// The example computed apart, as "Abrir" computed it before there was a choice.
std::unique_ptr<Store> ejemplo_de_siempre()
{
    auto s = std::make_unique<Store>();
    valores_de_arranque(*s);
    const LecturaColumna l = lee_archivo(kEjemplo.toStdString());
    EXPECT_TRUE(l.ok);
    carga_lectura(*s, l);
    EXPECT_TRUE(tevarro(*s).ok());
    return s;
}

TEST_F(Modelo, ConLaTablaTodoQuedaComoEra)
{
    v.abre(kEjemplo);
    ASSERT_NE(linea(), nullptr);
    EXPECT_FALSE(linea()->isVisible());
    const auto antes = ejemplo_de_siempre();
    for (int i = 1; i <= antes->n_bancos; ++i) {
        EXPECT_EQ(bits(v.s->tevarro_tectonica[i]), bits(antes->tevarro_tectonica[i])) << i;
    }

    // "Ninguna", then the table again: the same bits as at first.
    elige(&DialogoModelo::ninguno_opt);
    EXPECT_TRUE(linea()->isVisible());
    elige(&DialogoModelo::tabla_opt);
    EXPECT_FALSE(linea()->isVisible());
    for (int i = 1; i <= antes->n_bancos; ++i) {
        EXPECT_EQ(v.s->nivel_mar[i], antes->nivel_mar[i]) << i;
        EXPECT_EQ(bits(v.s->tevarro_tectonica[i]), bits(antes->tevarro_tectonica[i])) << i;
    }

    // The table's export: the bytes of before, no column of the curve.
    v.menu("tabla_mnu");
    TablaColumna* t = v.f->tabla_ventana();
    ASSERT_NE(t, nullptr);
    EXPECT_FALSE(t->findChild<QLabel*>("nivel_mar_lbl")->isVisible());
    QTemporaryDir dir;
    const QString ruta = dir.filePath("r.csv");
    t->pide_exportacion = [&] { return TablaColumna::Exportacion{ruta, {}}; };
    QTest::mouseClick(t->exportar, Qt::LeftButton);
    EXPECT_EQ(prueba::bytes_de(ruta).toStdString(),
              resultados_csv(*antes, kEjemplo.toStdString(), {}));
}

TEST_F(Modelo, NingunaDaLaSubsidenciaDeAiryConElMarEnCero)
{
    v.abre(kEjemplo);
    const auto tabla = ejemplo_de_siempre();
    elige(&DialogoModelo::ninguno_opt);
    EXPECT_TRUE(linea()->isVisible());
    EXPECT_EQ(linea()->text(), "Nivel del mar: ninguno");
    const Store& s = *v.s;
    ASSERT_EQ(s.n_bancos, tabla->n_bancos);
    int cambiados = 0;
    for (int i = 1; i <= s.n_bancos; ++i) {
        EXPECT_EQ(s.nivel_mar[i], 0.0f) << i;
        // Airy, water-loaded, with no change of sea level:
        // Y = S (rho_m - rho) / (rho_m - rho_w) + W.
        const double S = s.base_descomp[i];
        const double esperada =
            S * (3300.0 - s.densidad[i]) / (3300.0 - 1000.0) + s.paleobatimetria[i];
        EXPECT_NEAR(s.tevarro_tectonica[i], esperada, 1e-5 * std::max(1.0, std::abs(esperada)))
            << i;
        if (tabla->nivel_mar[i] != 0 && s.tevarro_tectonica[i] != tabla->tevarro_tectonica[i])
            ++cambiados;
    }
    EXPECT_GT(cambiados, 0);
    // "Abrir" again reads the table's levels into the beds; the choice wins.
    v.abre(kEjemplo);
    EXPECT_EQ(v.s->nivel_mar[1], 0.0f);
    EXPECT_NE(v.s->tevarro_tectonica[1], tabla->tevarro_tectonica[1]);

    // The history window shows the same choice.
    v.menu("historia_mnu");
    Form5* h = v.f->historia_ventana();
    ASSERT_NE(h, nullptr);
    ASSERT_TRUE(h->resultado().ok());
    for (const PasoHistoria& p : h->resultado().historia.pasos)
        EXPECT_EQ(p.nivel_mar, 0.0) << p.edad;
    auto* abajo = h->findChild<QLabel*>("nivel_mar_lbl");
    ASSERT_NE(abajo, nullptr);
    EXPECT_TRUE(abajo->isVisible());
    EXPECT_EQ(abajo->geometry().bottom(), h->height() - 3);

    // Exports name the curve: the table's results, the stretching fit's text.
    v.menu("tabla_mnu");
    TablaColumna* t = v.f->tabla_ventana();
    QTemporaryDir dir;
    const QString ruta = dir.filePath("r.csv");
    t->pide_exportacion = [&] { return TablaColumna::Exportacion{ruta, {}}; };
    QTest::mouseClick(t->exportar, Qt::LeftButton);
    const QList<QByteArray> lineas = prueba::bytes_de(ruta).split('\n');
    ASSERT_GT(lineas.size(), 2);
    EXPECT_TRUE(lineas[0].trimmed().endsWith(",curva_nivel_mar")) << lineas[0].toStdString();
    EXPECT_TRUE(lineas[1].trimmed().endsWith(",ninguno")) << lineas[1].toStdString();
    v.menu("estiramiento_mnu");
    ASSERT_NE(v.f->estiramiento_ventana(), nullptr);
    EXPECT_TRUE(
        v.f->estiramiento_ventana()->texto_resultados().endsWith("Nivel del mar: ninguno\n"));
}

TEST_F(Modelo, LaCurvaDelUsuarioSeInterpolaYSeGuarda)
{
    QTemporaryDir dir;
    const QString curva = dir.filePath("mi curva.csv");
    // Out of order on purpose: the points are sorted by age.
    ASSERT_TRUE(escribe(curva, "edad,nivel_mar\n200,-30\n0,0\n100,50\n"));
    v.abre(kEjemplo);
    DialogoModelo* d = elige_archivo(curva);
    ASSERT_NE(d, nullptr);
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(linea()->text(), "Nivel del mar: archivo mi curva.csv");
    EXPECT_EQ(linea()->toolTip(), curva);

    // Worked by hand: between (100, 50) and (200, -30) the level falls 0.8 m
    // a Ma; between (0, 0) and (100, 50) it rises 0.5 m a Ma.
    struct Caso {
        int banco;
        float edad;
        double nivel;
    };
    const Caso casos[] = {{1, 150, 10.0}, {2, 136, 21.2}, {3, 118, 35.6}, {4, 96, 48.0}};
    const float razon = 1000.0f / 2300.0f;
    for (const Caso& c : casos) {
        ASSERT_EQ(v.s->edad_techo[c.banco], c.edad);
        EXPECT_FLOAT_EQ(v.s->nivel_mar[c.banco], static_cast<float>(c.nivel)) << c.banco;
        // Y = L + W - delta rho_w / (rho_m - rho_w) - delta.
        const Store& s = *v.s;
        const double esperada =
            s.correccion_carga[c.banco] + s.paleobatimetria[c.banco] - c.nivel * razon - c.nivel;
        EXPECT_NEAR(s.tevarro_tectonica[c.banco], esperada, 1e-3) << c.banco;
    }
    v.menu("historia_mnu");
    const Historia& h = v.f->historia_ventana()->resultado().historia;
    int vistos = 0;
    for (const PasoHistoria& p : h.pasos) {
        for (const Caso& c : casos) {
            if (p.edad == c.edad) {
                EXPECT_NEAR(p.nivel_mar, c.nivel, 1e-9) << p.edad;
                ++vistos;
            }
        }
    }
    EXPECT_EQ(vistos, 4);

    // Kept: the next start reads the file again.
    {
        QSettings p = preferencias();
        EXPECT_EQ(p.value("modelo/curva").toString(), "archivo");
        EXPECT_EQ(p.value("modelo/archivo").toString(), curva);
    }
    pon_curva_en_uso(CurvaNivelMar{});
    EXPECT_EQ(lee_curva_de_preferencias(), QString());
    EXPECT_EQ(curva_en_uso().tipo, CurvaNivelMar::Tipo::usuario);
    EXPECT_EQ(curva_en_uso().niveles, (std::vector<double>{0, 50, -30}));

    // A start without the file: the table in force, and said on the line.
    ASSERT_TRUE(QFile::remove(curva));
    const QString nota = lee_curva_de_preferencias();
    EXPECT_TRUE(nota.contains(curva)) << nota.toStdString();
    EXPECT_EQ(curva_en_uso().tipo, CurvaNivelMar::Tipo::tabla);
    EXPECT_TRUE(linea()->isVisible());
    EXPECT_TRUE(linea()->text().startsWith("Nivel del mar: tabla del programa (No se pudo leer"))
        << linea()->text().toStdString();
    const auto tabla = ejemplo_de_siempre();
    EXPECT_EQ(v.s->tevarro_tectonica[1], tabla->tevarro_tectonica[1]);
}

TEST_F(Modelo, NingunaSeGuardaYUnArchivoMaloSeRechaza)
{
    elige(&DialogoModelo::ninguno_opt);
    EXPECT_EQ(preferencias().value("modelo/curva").toString(), "ninguno");
    pon_curva_en_uso(CurvaNivelMar{});
    lee_curva_de_preferencias();
    EXPECT_EQ(curva_en_uso().tipo, CurvaNivelMar::Tipo::ninguna);

    QTemporaryDir dir;
    const QString mala = dir.filePath("mala.csv");
    ASSERT_TRUE(escribe(mala, "edad,nivel_mar\n0,0\n20,veinte\n"));
    DialogoModelo* d = elige_archivo(mala);
    ASSERT_NE(d, nullptr);
    // Refused, with the reason naming the file, the line and the column; the
    // choice in force and the one kept stay.
    EXPECT_TRUE(d->isVisible());
    EXPECT_TRUE(d->error_lbl->isVisible());
    EXPECT_EQ(d->error_lbl->text(),
              QString::fromUtf8("No se pudo leer la curva del nivel del mar «%1»: línea 3, "
                                "columna «nivel_mar»: «veinte» no es un número.")
                  .arg(mala));
    EXPECT_EQ(curva_en_uso().tipo, CurvaNivelMar::Tipo::ninguna);
    EXPECT_EQ(preferencias().value("modelo/curva").toString(), "ninguno");
    QTest::mouseClick(d->cancelar_btn, Qt::LeftButton);
    EXPECT_FALSE(d->isVisible());
}

} // namespace
} // namespace tev
