// The user's rocks in the store: a bed of one gets its grain density in the
// bulk density, the burial history and the capture's rules, and counts as a
// rock; a bed of one the store does not know stays an unknown lithology.

#include "compute/captura_banco.h"
#include "model/bancos_sin_roca.h"
#include "model/densidad.h"
#include "model/store.h"

#include <gtest/gtest.h>

#include <memory>

namespace tev {
namespace {

std::unique_ptr<Store> un_banco_de(const std::string& litologia, float phi)
{
    auto s = std::make_unique<Store>();
    limpia_bancos(*s);
    s->litologia[1] = litologia;
    s->porosidad[1] = phi;
    s->coef_porosidad[1] = 0.4f;
    s->litologias_usuario = {{"Basalto", 2900, 0.05f, 0.2f}, {"Carbón", 1400, 0.35f, 0.65f}};
    return s;
}

TEST(LitologiasUsuario, SuDensidadDeGranoEntraEnLaDensidad)
{
    auto s = un_banco_de("Carbón", 0.3f);
    EXPECT_EQ(densidad_de_grano(*s, 1), 1400.0f);
    calcula_densidad(*s, 1);
    // (1 - 0.3) * 1400 + 0.3 * 1000 = 1280, in single precision step by step.
    const float phi = 0.3f;
    EXPECT_EQ(s->densidad[1], (1.0f - phi) * 1400.0f + phi * 1000.0f);
    EXPECT_NEAR(s->densidad[1], 1280.0, 1e-3);

    // Unknown where the store does not know it: no grains, and said so.
    s->litologias_usuario.clear();
    EXPECT_EQ(densidad_de_grano(*s, 1), 0.0f);
    ASSERT_EQ(bancos_sin_roca(*s).size(), 1u);
    EXPECT_EQ(bancos_sin_roca(*s)[0].motivo, MotivoSinRoca::litologia_desconocida);
}

TEST(LitologiasUsuario, LaCapturaLlenaPorosidadYCoeficiente)
{
    auto s = un_banco_de("Basalto", 0.9f);
    EXPECT_TRUE(bancos_sin_roca(*s).empty());
    aplica_reglas_de_banco(*s, 1);
    EXPECT_EQ(s->porosidad[1], 0.05f);
    EXPECT_EQ(s->coef_porosidad[1], 0.2f);
    // The dialog's rule, in double precision: (1 - phi) g + phi 1000.
    const double phi = 0.05f;
    EXPECT_EQ(s->densidad[1], static_cast<float>((1 - phi) * 2900 + phi * 1000));
    // A grain density of the bed's own still wins.
    s->densidad_grano[1] = 3000;
    aplica_reglas_de_banco(*s, 1);
    EXPECT_EQ(s->densidad[1], static_cast<float>((1 - phi) * 3000 + phi * 1000));
}

TEST(LitologiasUsuario, NombresQueChocan)
{
    const std::vector<LitologiaUsuario> otras = {{"Carbón", 1400, 0.3f, 0.5f}};
    EXPECT_EQ(motivo_de_nombre("Basalto", otras), "");
    EXPECT_NE(motivo_de_nombre("CARBON", otras), "");
    EXPECT_NE(motivo_de_nombre("Pelítas", otras), "");
    EXPECT_NE(motivo_de_nombre("porcentual", otras), "");
    EXPECT_NE(motivo_de_nombre("", otras), "");
    EXPECT_NE(motivo_de_nombre("a\nb", otras), "");
    EXPECT_EQ(motivo_de_porosidad(0), "");
    EXPECT_NE(motivo_de_porosidad(1), "");
    EXPECT_NE(motivo_de_coef_porosidad(0), "");
    EXPECT_NE(motivo_de_densidad_grano(-1), "");
}

} // namespace
} // namespace tev
