#include "compute/celdas_columna.h"

#include "model/store.h"
#include "project_file/archivo_proyecto.h"

#include <gtest/gtest.h>

#include <memory>

namespace tev {
namespace {

// Three beds, bed 1 at the bottom: 200..300 m, 100..200 m, 0..100 m.
std::unique_ptr<Store> tres_bancos()
{
    auto s = std::make_unique<Store>();
    valores_de_arranque(*s);
    limpia_bancos(*s);
    s->n_bancos = 3;
    const char* nombres[] = {"", "Abajo", "Medio", "Arriba"};
    for (int i = 1; i <= 3; ++i) {
        s->nombre[i] = nombres[i];
        s->techo[i] = static_cast<float>(300 - 100 * i);
        s->base[i] = static_cast<float>(400 - 100 * i);
        s->edad_techo[i] = static_cast<float>(60 - 20 * i);
        s->edad_base[i] = static_cast<float>(80 - 20 * i);
        s->litologia[i] = kPelitas;
        s->porosidad[i] = 0.63f;
        s->coef_porosidad[i] = 0.51f;
    }
    return s;
}

// Surface bulk density of water-filled grains, worked out here.
float densidad(float porosidad, double grano)
{
    const double phi = porosidad;
    return static_cast<float>((1 - phi) * grano + phi * 1000);
}

TEST(CapturaBanco, UnaLitologiaConNombrePoneSuPorosidadYSuCoeficiente)
{
    auto s = tres_bancos();
    s->litologia[2] = kEvaporitas;
    s->porosidad[2] = 0.1f; // typed, overwritten by the lithology's
    s->edad_techo[2] = 45;
    EXPECT_TRUE(aplica_reglas_de_banco(*s, 2));
    EXPECT_EQ(s->porosidad[2], 0.7f);
    EXPECT_EQ(s->coef_porosidad[2], 0.71f);
    EXPECT_EQ(s->densidad[2], densidad(0.7f, 2710));
    EXPECT_EQ(s->nivel_mar[2], 70.0f); // 45 Ma: the row of 40 Ma
}

TEST(CapturaBanco, PorcentualMezclaSusCuatroPorcentajes)
{
    auto s = tres_bancos();
    s->litologia[1] = kPorcentual;
    s->pct_pelita[1] = 40;
    s->pct_caliza[1] = 60;
    EXPECT_TRUE(aplica_reglas_de_banco(*s, 1));
    // (0.63 40 + 0.56 60) / 100 and (0.51 40 + 0.39 60) / 100; grains
    // (2720 40 + 2680 60) / 100 = 2696 kg/m3.
    EXPECT_EQ(s->porosidad[1], 0.588f);
    EXPECT_EQ(s->coef_porosidad[1], 0.438f);
    EXPECT_EQ(s->densidad[1], densidad(0.588f, 2696));
    EXPECT_FALSE(error_de_porcentajes(*s, 1));

    // 40 + 50 is no 100: marked, and the mix is still made as it stands.
    s->pct_caliza[1] = 50;
    EXPECT_FALSE(aplica_reglas_de_banco(*s, 1));
    EXPECT_TRUE(error_de_porcentajes(*s, 1));
    EXPECT_EQ(s->porosidad[1], 0.532f); // (25.2 + 28) / 100
}

TEST(CapturaBanco, OtraLitologiaConservaLoEscritoYNoTieneGranos)
{
    auto s = tres_bancos();
    s->litologia[3] = "Basalto";
    s->porosidad[3] = 0.25f;
    aplica_reglas_de_banco(*s, 3);
    EXPECT_EQ(s->porosidad[3], 0.25f);
    EXPECT_EQ(s->coef_porosidad[3], 0.51f);
    EXPECT_EQ(s->densidad[3], densidad(0.25f, 0));
    EXPECT_FALSE(error_de_porcentajes(*s, 3));
}

TEST(CapturaBanco, LaDensidadDeGranoPropiaCuentaConCualquierLitologia)
{
    auto s = tres_bancos();
    // Pelitas: its porosity 0.63 and coefficient 0.51, the bed's own grains.
    s->densidad_grano[1] = 2000;
    EXPECT_TRUE(aplica_reglas_de_banco(*s, 1));
    EXPECT_EQ(s->porosidad[1], 0.63f);
    EXPECT_EQ(s->densidad[1], densidad(0.63f, 2000)); // not 2720
    // A name the program does not know keeps what was typed, and the grains.
    s->litologia[2] = "Carbón";
    s->porosidad[2] = 0.5f;
    s->densidad_grano[2] = 1400;
    aplica_reglas_de_banco(*s, 2);
    EXPECT_EQ(s->densidad[2], 1200.0f); // 0.5 x 1400 + 0.5 x 1000
    // A mix: its porosity, the bed's grains rather than the mix's 2696.
    s->litologia[3] = kPorcentual;
    s->pct_pelita[3] = 40;
    s->pct_caliza[3] = 60;
    s->densidad_grano[3] = 2500;
    EXPECT_TRUE(aplica_reglas_de_banco(*s, 3));
    EXPECT_EQ(s->porosidad[3], 0.588f);
    EXPECT_EQ(s->densidad[3], densidad(0.588f, 2500));
}

TEST(CeldasColumna, LaPrimeraFilaEsElBancoDeArriba)
{
    auto s = tres_bancos();
    EXPECT_EQ(banco_de_fila(*s, 0), 3);
    EXPECT_EQ(banco_de_fila(*s, 2), 1);
    EXPECT_EQ(texto_de_celda(*s, 3, kColNombre, ','), "Arriba");
    EXPECT_EQ(texto_de_celda(*s, 1, kColPorosidad, ','), "0,63");
    EXPECT_EQ(texto_de_celda(*s, 1, kColColor, ','), "Blanco");
    s->color[1] = 0x123456;
    EXPECT_EQ(texto_de_celda(*s, 1, kColColor, ','), "1193046");
    s->base_descomp[1] = 130.5f;
    s->techo_descomp[1] = 0.5f;
    EXPECT_EQ(texto_de_celda(*s, 1, kColEspesorDescomp, '.'), "130");
}

TEST(CeldasColumna, ColoresPorNombreOPorNumero)
{
    EXPECT_EQ(lee_color("azul"), 0xFF0000);
    EXPECT_EQ(lee_color(" Amarillo "), 0x00FFFF);
    EXPECT_EQ(lee_color("16711935"), 0xFF00FF);
    EXPECT_FALSE(lee_color("16777216"));
    EXPECT_FALSE(lee_color("-1"));
    EXPECT_FALSE(lee_color("Rosa"));
}

TEST(CeldasColumna, UnaCeldaMalaNoCambiaNadaYDiceDonde)
{
    auto s = tres_bancos();
    const std::string antes = escribe_columna(*s).bytes;
    const auto r = pon_celdas(*s, 1, kColTecho, {{"150", "190"}, {"x", "300"}});
    ASSERT_TRUE(r);
    EXPECT_EQ(r->fila, 2);
    EXPECT_EQ(r->columna, kColTecho);
    EXPECT_EQ(r->banco, 1);
    EXPECT_EQ(r->motivo, "«x» no es un número");
    EXPECT_EQ(escribe_columna(*s).bytes, antes);
    EXPECT_EQ(motivo_de_rechazo(kColColor, "Rosa").rfind("«Rosa» no es un color", 0), 0u);
    EXPECT_EQ(motivo_de_rechazo(kColBase, "  "), "la celda está vacía");
}

TEST(CeldasColumna, FilasMasAllaDeLaUltimaAnadenBancosAbajo)
{
    auto s = tres_bancos();
    // From the last row (bed 1): two rows, the second a new bed under it.
    ASSERT_FALSE(pon_celdas(*s, 2, kColNombre, {{"Uno", "200"}, {"Nuevo", "300"}}));
    ASSERT_EQ(s->n_bancos, 4);
    EXPECT_EQ(s->nombre[4], "Arriba");
    EXPECT_EQ(s->nombre[2], "Uno");
    EXPECT_EQ(s->techo[2], 200.0f);
    EXPECT_EQ(s->nombre[1], "Nuevo");
    EXPECT_EQ(s->techo[1], 300.0f);
    EXPECT_EQ(s->litologia[1], kAreniscas);
    EXPECT_EQ(s->porosidad[1], 0.49f); // the rules ran on the new bed

    // No more than 100 beds.
    const FilasDeTexto muchas(98, std::vector<std::string>{"n"});
    const auto r = pon_celdas(*s, 3, kColNombre, muchas);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->motivo, "la columna tendría 101 bancos y admite hasta 100");
    EXPECT_EQ(s->n_bancos, 4);
}

TEST(CeldasColumna, LosPorcentajesPegadosSeMezclanComoSeEscribieron)
{
    auto s = tres_bancos();
    // 10.000617285 is mixed as that double, as the bed dialog mixes what is
    // typed, not as the seven-digit short form of the single the bed keeps:
    // here the two give different singles.
    ASSERT_FALSE(pon_celdas(*s, 0, kColLitologia, {{"PORCENTUAL"}}));
    ASSERT_FALSE(pon_celdas(*s, 0, kColArenisca, {{"10,000617285", "89,999382715", "0", "0"}}));
    EXPECT_EQ(s->pct_arenisca[3], 10.000617285f);
    const double phi = (0.49 * 10.000617285 + 0.63 * 89.999382715) / 100;
    EXPECT_EQ(s->porosidad[3], static_cast<float>(phi));
    EXPECT_NE(s->porosidad[3], static_cast<float>((0.49 * 10.00062 + 0.63 * 89.99938) / 100));
}

TEST(CeldasColumna, ReemplazarLaColumnaConFilasDeCatorceCampos)
{
    auto s = tres_bancos();
    s->notas[1] = "vieja";
    const FilasDeTexto filas = {
        {"Techo", "0", "50", "0", "5", "Calizas", "Rojo", "0", "0", "10", "0", "0", "0", "0"},
        {"Fondo", "50", "120", "5", "9", "Basalto", "255", "0,3", "0,4", "20", "0", "0", "0", "0",
         "", "una nota"},
    };
    ASSERT_FALSE(reemplaza_columna(*s, filas));
    ASSERT_EQ(s->n_bancos, 2);
    EXPECT_EQ(s->nombre[2], "Techo");
    EXPECT_EQ(s->porosidad[2], 0.56f); // Calizas
    EXPECT_EQ(s->color[2], 0x0000FF);
    EXPECT_EQ(s->nombre[1], "Fondo");
    EXPECT_EQ(s->base[1], 120.0f);
    EXPECT_EQ(s->porosidad[1], 0.3f);
    EXPECT_EQ(s->coef_porosidad[1], 0.4f);
    EXPECT_EQ(s->notas[1], "una nota");
    EXPECT_EQ(s->notas[2], "");

    // The rows the table copies, its bed's number first and its results
    // after the remark, go back as they came.
    auto t = tres_bancos();
    s->densidad_grano[2] = 2500.5f;
    aplica_reglas_de_banco(*s, 2);
    std::vector<int> todas;
    for (int c = 0; c < kColumnasTabla; ++c)
        todas.push_back(c);
    const std::string copia = copia_celdas(*s, {0, 1}, todas, ',', true);
    FilasDeTexto leidas = lee_tabulado(copia);
    quita_titulos(leidas);
    ASSERT_EQ(leidas.size(), 2u);
    ASSERT_FALSE(reemplaza_columna(*t, leidas));
    EXPECT_EQ(lee_bancos(*t), lee_bancos(*s));
}

TEST(CeldasColumna, LaDensidadDeGranoPropiaSeEscribeSeBorraYViajaConSuBanco)
{
    auto s = tres_bancos();
    EXPECT_EQ(texto_de_celda(*s, 1, kColDensidadGrano, ','), ""); // none
    // Bed 1 is the bottom row; its grains go into its bulk density at once.
    ASSERT_FALSE(pon_celdas(*s, 2, kColDensidadGrano, {{"1400,5"}}));
    EXPECT_EQ(s->densidad_grano[1], 1400.5f);
    EXPECT_EQ(s->densidad[1], densidad(0.63f, 1400.5));
    EXPECT_EQ(texto_de_celda(*s, 1, kColDensidadGrano, ','), "1400,5");

    EXPECT_EQ(motivo_de_rechazo(kColDensidadGrano, " "), "");
    EXPECT_EQ(motivo_de_rechazo(kColDensidadGrano, "2,7e3"), "");
    EXPECT_EQ(motivo_de_rechazo(kColDensidadGrano, "densa"), "«densa» no es un número");
    for (const char* malo : {"0", "-2650"})
        EXPECT_EQ(motivo_de_rechazo(kColDensidadGrano, malo),
                  std::string("«") + malo +
                      "» no es una densidad de grano: escriba un número mayor que 0 (kg/m³), o "
                      "deje la celda vacía para la de su litología");
    const RechazoDeCelda r = *pon_celdas(*s, 2, kColDensidadGrano, {{"0"}});
    EXPECT_EQ(r.banco, 1);
    EXPECT_EQ(s->densidad_grano[1], 1400.5f);

    // An inserted bed below moves it up with its bed, and has none.
    ASSERT_TRUE(inserta_banco(*s, 1));
    EXPECT_EQ(s->densidad_grano[2], 1400.5f);
    EXPECT_EQ(s->densidad_grano[1], 0.0f);
    // Emptied: the lithology's grains again.
    ASSERT_FALSE(pon_celdas(*s, 2, kColDensidadGrano, {{" "}}));
    EXPECT_EQ(s->densidad_grano[2], 0.0f);
    EXPECT_EQ(s->densidad[2], densidad(0.63f, 2720));

    // Over the whole column, rows of the fourteen fields leave every bed
    // without grains of its own; a fifteenth field is the grain density.
    s->densidad_grano[3] = 1800;
    const std::vector<std::string> catorce = {"A", "0", "50", "0", "5", "Pelitas", "Rojo",
                                              "0", "0", "10", "0", "0", "0",       "0"};
    std::vector<std::string> quince = catorce;
    quince.emplace_back("2000");
    ASSERT_FALSE(reemplaza_columna(*s, {catorce, quince}));
    ASSERT_EQ(s->n_bancos, 2);
    EXPECT_EQ(s->densidad_grano[2], 0.0f);
    EXPECT_EQ(s->densidad_grano[1], 2000.0f);
    EXPECT_EQ(s->densidad[1], densidad(0.63f, 2000));
}

// A bed's own uncertainty ranges go where the bed goes: up over an inserted
// bed, down when a bed below is deleted, and back with the whole column.
TEST(CeldasColumna, LosRangosViajanConSuBanco)
{
    auto s = tres_bancos();
    const Rango r{true, true, 5, 60};
    s->rangos[2].paleobatimetria = r;
    const std::vector<FilaBanco> antes = lee_bancos(*s);
    ASSERT_TRUE(inserta_banco(*s, 1));
    EXPECT_EQ(s->rangos[3].paleobatimetria, r);
    EXPECT_FALSE(s->rangos[2].alguno());
    EXPECT_FALSE(s->rangos[1].alguno());
    ASSERT_TRUE(borra_bancos(*s, {1}));
    EXPECT_EQ(s->rangos[2].paleobatimetria, r);
    EXPECT_FALSE(s->rangos[3].alguno());
    // A snapshot with and without the range is not the same bed.
    s->rangos[2] = RangosBanco{};
    EXPECT_NE(lee_bancos(*s), antes);
    escribe_bancos(*s, antes);
    EXPECT_EQ(s->rangos[2].paleobatimetria, r);
}

TEST(CeldasColumna, UnBancoInsertadoDescansaSobreElDeAbajo)
{
    auto s = tres_bancos();
    // Above bed 2: the new bed 3 lies on bed 2's top (100 m, 20 Ma).
    ASSERT_TRUE(inserta_banco(*s, 3));
    ASSERT_EQ(s->n_bancos, 4);
    EXPECT_EQ(s->base[3], 100.0f);
    EXPECT_EQ(s->edad_base[3], 20.0f);
    EXPECT_EQ(s->techo[3], 100.0f);
    EXPECT_EQ(s->nombre[4], "Arriba");
    EXPECT_EQ(s->nombre[2], "Medio");
    // At the bottom, with no bed below: where bed 1 ends.
    ASSERT_TRUE(inserta_banco(*s, 1));
    EXPECT_EQ(s->techo[1], 300.0f);
    EXPECT_EQ(s->nombre[2], "Abajo");

    ASSERT_TRUE(borra_bancos(*s, {1, 3, 3}));
    ASSERT_EQ(s->n_bancos, 3);
    EXPECT_EQ(s->nombre[1], "Abajo");
    EXPECT_EQ(s->nombre[3], "Arriba");
    EXPECT_FALSE(borra_bancos(*s, {1, 2, 3}));
    EXPECT_EQ(s->n_bancos, 3);
}

TEST(CeldasColumna, TitulosYCopia)
{
    auto s = tres_bancos();
    FilasDeTexto f = {{"Banco", "Nombre", "", "Techo (m)"}, {"1", "a"}};
    quita_titulos(f);
    ASSERT_EQ(f.size(), 1u);
    FilasDeTexto g = {{"Nombre", "Arenas"}};
    quita_titulos(g);
    EXPECT_EQ(g.size(), 1u); // a name is no caption
    EXPECT_EQ(copia_celdas(*s, {0, 2}, {kColNombre, kColPorosidad}, ',', true),
              "Nombre\tPorosidad\nArriba\t0,63\nAbajo\t0,63\n");
    EXPECT_EQ(copia_celdas(*s, {0}, {kColNombre, kColTecho}, '.', false, {false, true}), "\t0\n");
}

} // namespace
} // namespace tev
