#include "model/litologias.h"

#include <gtest/gtest.h>

namespace tev {
namespace {

TEST(Litologias, SeBuscanPorSuNombreExacto)
{
    ASSERT_NE(busca_litologia("Evaporitas"), nullptr);
    EXPECT_STREQ(busca_litologia("Evaporitas")->porosidad, "0.70");
    EXPECT_STREQ(busca_litologia("Evaporitas")->coeficiente, "0.71");
    EXPECT_EQ(busca_litologia("Evaporitas")->densidad_grano, 2710.0f);
    // Arkose and limestone carry the same values but are drawn apart.
    EXPECT_EQ(busca_litologia("Arcosas")->densidad_grano,
              busca_litologia("Calizas")->densidad_grano);
    EXPECT_NE(busca_litologia("Arcosas")->sangria, busca_litologia("Calizas")->sangria);
    EXPECT_EQ(busca_litologia("evaporitas"), nullptr);
    EXPECT_EQ(busca_litologia("PORCENTUAL"), nullptr);
    EXPECT_EQ(busca_litologia("Evaporitas "), nullptr);
}

TEST(Litologias, MezclaPorcentualPorPeso)
{
    // Half sandstone, half shale: (0.49 + 0.63) / 2, (0.27 + 0.51) / 2, (2650 + 2720) / 2.
    MezclaPorcentual m = mezcla_porcentual(50, 50, 0, 0);
    EXPECT_TRUE(m.suma_cien());
    EXPECT_NEAR(m.porosidad, 0.56, 1e-15);
    EXPECT_NEAR(m.coeficiente, 0.39, 1e-15);
    EXPECT_EQ(m.densidad_grano, 2685.0);
    // Not scaled to 100: 60 + 30 mixes as it stands.
    m = mezcla_porcentual(60, 30, 0, 0);
    EXPECT_FALSE(m.suma_cien());
    EXPECT_EQ(m.suma, 90.0);
    EXPECT_NEAR(m.porosidad, (0.49 * 60 + 0.63 * 30) / 100, 1e-15); // 0.483
    EXPECT_NEAR(m.coeficiente, 0.315, 1e-15);
    EXPECT_EQ(m.densidad_grano, (2650.0 * 60 + 2720.0 * 30) / 100);
    // All four: 10 % each of limestone and evaporite.
    m = mezcla_porcentual(40, 40, 10, 10);
    EXPECT_TRUE(m.suma_cien());
    EXPECT_NEAR(m.porosidad, 0.196 + 0.252 + 0.056 + 0.07, 1e-15);
    EXPECT_EQ(m.densidad_grano, 1060.0 + 1088.0 + 268.0 + 271.0);
    // The sum has no tolerance: 33.3 three times and 0.1 is not 100.
    EXPECT_FALSE(mezcla_porcentual(33.3, 33.3, 33.3, 0.1).suma_cien());
}

TEST(Litologias, DensidadDeSuperficie)
{
    EXPECT_EQ(densidad_de_superficie(0.0f, 2650), 2650.0f);
    EXPECT_EQ(densidad_de_superficie(1.0f, 2650), 1000.0f);
    // Evaporite at 0.7: 0.3 * 2710 + 700 = 1513, from the single 0.7.
    EXPECT_EQ(densidad_de_superficie(0.7f, 2710),
              static_cast<float>((1 - static_cast<double>(0.7f)) * 2710 + 0.7f * 1000.0));
    EXPECT_NEAR(densidad_de_superficie(0.7f, 2710), 1513.0f, 1e-3f);
    EXPECT_EQ(densidad_de_superficie(0.5f, 0), 500.0f); // no grains
}

} // namespace
} // namespace tev
