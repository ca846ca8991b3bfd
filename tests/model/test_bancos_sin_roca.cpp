#include "model/bancos_sin_roca.h"

#include "model/store.h"

#include <gtest/gtest.h>

#include <memory>

namespace tev {
namespace {

// A column of n beds of plain sandstone, porosity 0.49, coefficient 0.27.
std::unique_ptr<Store> columna(int n)
{
    auto s = std::make_unique<Store>();
    limpia_bancos(*s);
    s->n_bancos = static_cast<int16_t>(n);
    for (int i = 1; i <= n; ++i) {
        s->litologia[i] = "Areniscas";
        s->porosidad[i] = 0.49f;
        s->coef_porosidad[i] = 0.27f;
    }
    return s;
}

bool contiene(const std::string& t, const std::string& parte)
{
    return t.find(parte) != std::string::npos;
}

TEST(BancosSinRoca, LasLitologiasDelProgramaYUnaMezclaDeCienNoSeNombran)
{
    auto s = columna(6);
    const char* nombres[] = {"Pelitas", "Areniscas", "Arcosas", "Evaporitas", "Calizas"};
    for (int i = 0; i < 5; ++i)
        s->litologia[i + 1] = nombres[i];
    s->litologia[6] = "PORCENTUAL";
    s->pct_arenisca[6] = 25;
    s->pct_pelita[6] = 25;
    s->pct_caliza[6] = 40;
    s->pct_evaporita[6] = 10;
    EXPECT_TRUE(bancos_sin_roca(*s).empty());
    // Porosity 0 is a rock (fully cemented); beds past n_bancos do not count.
    s->porosidad[3] = 0;
    s->litologia[7] = "Carbón";
    EXPECT_TRUE(bancos_sin_roca(*s).empty());
}

TEST(BancosSinRoca, UnaLitologiaDesconocidaNombraElBancoYElTexto)
{
    auto s = columna(3);
    s->litologia[2] = "Carbón";
    s->nombre[2] = "Manto de carbón";
    const std::vector<AvisoSinRoca> a = bancos_sin_roca(*s);
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(a[0].banco, 2);
    EXPECT_EQ(a[0].motivo, MotivoSinRoca::litologia_desconocida);
    EXPECT_EQ(a[0].texto.rfind("El banco 2 («Manto de carbón»): la litología «Carbón» no es "
                               "ninguna de las del programa",
                               0),
              0u)
        << a[0].texto;
    EXPECT_TRUE(contiene(a[0].texto, "densidad de grano de 0 kg/m³")) << a[0].texto;
    // The user's names count as rocks, and so does a grain density of its own.
    s->litologias_usuario = {{"Basalto", 2900, 0.1f, 0.3f}, {"Carbón", 1400, 0.3f, 0.5f}};
    EXPECT_TRUE(bancos_sin_roca(*s).empty());
    s->litologias_usuario.clear();
    s->densidad_grano[2] = 1400;
    EXPECT_TRUE(bancos_sin_roca(*s).empty());
}

TEST(BancosSinRoca, MayusculasYAcentosSeNombranComoTales)
{
    auto s = columna(4);
    s->litologia[1] = "areniscas";
    s->litologia[2] = "PELÍTAS";
    s->litologia[3] = "Porcentual";
    s->litologia[4] = "Arenisca"; // one letter short: not a near miss
    const std::vector<AvisoSinRoca> a = bancos_sin_roca(*s);
    ASSERT_EQ(a.size(), 4u);
    EXPECT_TRUE(contiene(a[0].texto, "«areniscas» difiere de «Areniscas» sólo en mayúsculas o "
                                     "acentos"))
        << a[0].texto;
    EXPECT_TRUE(contiene(a[1].texto, "«PELÍTAS» difiere de «Pelitas»")) << a[1].texto;
    EXPECT_TRUE(contiene(a[2].texto, "«Porcentual» difiere de «PORCENTUAL»")) << a[2].texto;
    EXPECT_FALSE(contiene(a[3].texto, "difiere")) << a[3].texto;
    EXPECT_EQ(sin_mayusculas_ni_acentos("ÁÉÍÓÚÜÑ àèìòùç Æ×ß"), "aeiouun aeiouc æ×ß");
}

TEST(BancosSinRoca, UnaMezclaQueNoSumaCien)
{
    auto s = columna(2);
    s->litologia[1] = "PORCENTUAL";
    s->pct_arenisca[1] = 60;
    s->pct_pelita[1] = 30;
    // 0.6 * 2650 + 0.3 * 2720 = 1590 + 816.
    const std::vector<AvisoSinRoca> a = bancos_sin_roca(*s);
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(a[0].motivo, MotivoSinRoca::porcentajes);
    EXPECT_EQ(a[0].texto, "El banco 1: sus porcentajes (arenisca 60, pelita 30, caliza 0, "
                          "evaporita 0) suman 90 y no 100: su densidad de grano se calcula con "
                          "ellos tal como están (2406 kg/m³).");
    // All zeros: no grains at all.
    s->pct_arenisca[1] = 0;
    s->pct_pelita[1] = 0;
    ASSERT_EQ(bancos_sin_roca(*s).size(), 1u);
    EXPECT_TRUE(contiene(bancos_sin_roca(*s)[0].texto, "suman 0 y no 100"));
    // With grains of its own the mix does not count.
    s->densidad_grano[1] = 2600;
    EXPECT_TRUE(bancos_sin_roca(*s).empty());
}

TEST(BancosSinRoca, PorosidadYCoeficienteFueraDeUnaRoca)
{
    auto s = columna(4);
    s->porosidad[1] = 1;
    s->porosidad[2] = -0.1f;
    s->coef_porosidad[3] = 0;
    s->coef_porosidad[4] = -0.5f;
    const std::vector<AvisoSinRoca> a = bancos_sin_roca(*s);
    ASSERT_EQ(a.size(), 4u);
    EXPECT_EQ(a[0].motivo, MotivoSinRoca::porosidad);
    EXPECT_EQ(a[1].motivo, MotivoSinRoca::porosidad);
    EXPECT_EQ(a[2].motivo, MotivoSinRoca::coeficiente);
    EXPECT_EQ(a[3].banco, 4);
    EXPECT_EQ(a[0].texto, "El banco 1: su porosidad es 1 y la de una roca está entre 0 y 1, sin "
                          "llegar a 1; se calcula tal como está.");
    EXPECT_TRUE(contiene(a[1].texto, "su porosidad es -0.1 ")) << a[1].texto;
    EXPECT_EQ(a[3].texto, "El banco 4: su coeficiente porosidad-profundidad es -0.5 y el de una "
                          "roca es mayor que 0; se calcula tal como está.");
}

} // namespace
} // namespace tev
