#include "model/densidad.h"

#include "model/store.h"

#include <gtest/gtest.h>

#include <memory>

namespace tev {
namespace {

float densidad_de(const std::string& litologia, float phi, float a = 0, float p = 0, float c = 0,
                  float e = 0)
{
    auto s = std::make_unique<Store>();
    s->litologia[3] = litologia;
    s->porosidad[3] = phi;
    s->pct_arenisca[3] = a;
    s->pct_pelita[3] = p;
    s->pct_caliza[3] = c;
    s->pct_evaporita[3] = e;
    s->densidad[2] = 11;
    calcula_densidad(*s, 3);
    EXPECT_EQ(s->densidad[2], 11.0f); // only bed 3 changes
    return s->densidad[3];
}

// The rule in single precision, step by step: (1 - phi) * grain + phi * 1000.
float esperada(float grano, float phi)
{
    const float w = phi * 1000.0f;
    const float s = 1.0f - phi;
    const float producto = s * grano;
    return producto + w;
}

TEST(Densidad, PorosidadCeroYUno)
{
    EXPECT_EQ(densidad_de("Areniscas", 0), 2650.0f);
    EXPECT_EQ(densidad_de("Pelitas", 0), 2720.0f);
    EXPECT_EQ(densidad_de("Arcosas", 0), 2680.0f);
    EXPECT_EQ(densidad_de("Evaporitas", 0), 2710.0f);
    EXPECT_EQ(densidad_de("Calizas", 0), 2680.0f);
    for (const char* l : {"Areniscas", "Pelitas", "Arcosas", "Evaporitas", "Calizas"})
        EXPECT_EQ(densidad_de(l, 1), 1000.0f) << l;
}

TEST(Densidad, UnaSolaPrecisionPasoAPaso)
{
    EXPECT_EQ(densidad_de("Areniscas", 0.49f), esperada(2650, 0.49f));
    EXPECT_NEAR(densidad_de("Areniscas", 0.49f), 0.51 * 2650 + 0.49 * 1000, 1e-3);
    EXPECT_EQ(densidad_de("Evaporitas", 0.7f), esperada(2710, 0.7f));
    EXPECT_NEAR(densidad_de("Evaporitas", 0.7f), 1513, 1e-3);
    EXPECT_EQ(densidad_de("Pelitas", 0.63f), esperada(2720, 0.63f));
}

TEST(Densidad, MezclaPorcentual)
{
    EXPECT_EQ(densidad_de("PORCENTUAL", 0, 50, 50), 2685.0f);
    EXPECT_EQ(densidad_de("PORCENTUAL", 0.3f, 50, 50), esperada(2685, 0.3f));
    // Not normalised: a mix summing to 50 gives half the grain density.
    EXPECT_EQ(densidad_de("PORCENTUAL", 0, 50), 1325.0f);
    EXPECT_EQ(densidad_de("PORCENTUAL", 0.4f), 400.0f);
    EXPECT_EQ(
        densidad_de("PORCENTUAL", 0, 10, 20, 30, 40),
        static_cast<float>((20.0L * 2720 + 10.0L * 2650 + 30.0L * 2680 + 40.0L * 2710) / 100));
    EXPECT_EQ(densidad_de("PORCENTUAL", 0, 33.3f, 33.3f, 33.4f),
              static_cast<float>((static_cast<long double>(33.3f) * 2720 +
                                  static_cast<long double>(33.3f) * 2650 +
                                  static_cast<long double>(33.4f) * 2680) /
                                 100));
}

TEST(Densidad, OtraLitologiaNoTieneGranos)
{
    EXPECT_EQ(densidad_de("areniscas", 0.4f), 400.0f);
    EXPECT_EQ(densidad_de("Dolomías", 0.25f), 250.0f);
    EXPECT_EQ(densidad_de("", 0), 0.0f);
}

TEST(Densidad, LaDensidadDeGranoPropiaTomaElLugarDeLaDeLaLitologia)
{
    auto s = std::make_unique<Store>();
    limpia_bancos(*s);
    s->litologia[1] = "Carbón";
    s->porosidad[1] = 0.1f;
    s->densidad_grano[1] = 1400;
    s->litologia[2] = "Areniscas";
    s->porosidad[2] = 0.25f;
    s->densidad_grano[2] = 2800;
    s->litologia[3] = "PORCENTUAL"; // the mix would give 2650
    s->pct_arenisca[3] = 100;
    s->porosidad[3] = 0;
    s->densidad_grano[3] = 3000;
    for (int i = 1; i <= 3; ++i)
        calcula_densidad(*s, i);
    EXPECT_EQ(s->densidad[1], esperada(1400, 0.1f)); // 0.9 * 1400 + 100 = 1360
    EXPECT_NEAR(s->densidad[1], 1360, 1e-3);
    EXPECT_EQ(s->densidad[2], esperada(2800, 0.25f)); // 0.75 * 2800 + 250 = 2350
    EXPECT_EQ(s->densidad[2], 2350.0f);
    EXPECT_EQ(s->densidad[3], 3000.0f);
    EXPECT_EQ(densidad_de_grano(*s, 2), 2800.0f);
    // None again: the lithology's.
    s->densidad_grano[2] = 0;
    calcula_densidad(*s, 2);
    EXPECT_EQ(s->densidad[2], esperada(2650, 0.25f));
    // A new column has none.
    limpia_bancos(*s);
    EXPECT_EQ(s->densidad_grano[3], 0.0f);
}

} // namespace
} // namespace tev
