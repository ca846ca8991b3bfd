#include "compute/incertidumbre.h"

#include "compute/nivel_mar.h"
#include "model/store.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace tev {
namespace {

// Three sandstone beds, bed 3 on top: 0..400, 400..900, 900..1500 m; top
// ages 0, 10, 25 Ma, each base on the top of the bed below; water depths
// 50, 120, 200 m.
std::unique_ptr<Store> tres_bancos()
{
    auto s = std::make_unique<Store>();
    valores_de_arranque(*s);
    limpia_bancos(*s);
    s->n_bancos = 3;
    const float techo[] = {0, 900, 400, 0};
    const float base[] = {0, 1500, 900, 400};
    const float edad[] = {0, 25, 10, 0};
    const float agua[] = {0, 200, 120, 50};
    for (int i = 1; i <= 3; ++i) {
        s->techo[i] = techo[i];
        s->base[i] = base[i];
        s->edad_techo[i] = edad[i];
        s->edad_base[i] = i == 1 ? 40 : edad[i - 1];
        s->paleobatimetria[i] = agua[i];
        s->porosidad[i] = 0.49f;
        s->coef_porosidad[i] = 0.27f;
    }
    return s;
}

TEST(Incertidumbre, PercentilTipo7)
{
    // Position (n - 1) p / 100 from 0: 0.75 between 1 and 2, 2.25 between 3
    // and 4; the ends are the extremes.
    const std::vector<double> v = {1, 2, 3, 4};
    EXPECT_DOUBLE_EQ(percentil(v, 25), 1.75);
    EXPECT_DOUBLE_EQ(percentil(v, 75), 3.25);
    EXPECT_EQ(percentil(v, 0), 1);
    EXPECT_EQ(percentil(v, 100), 4);
    EXPECT_EQ(percentil({7}, 97.5), 7);
}

TEST(Incertidumbre, SoloPaleobatimetriaDaLosPercentilesExactos)
{
    // The history's subsidences at the step of top bed j hold W_j once and
    // nothing else depends on it: with W_j uniform on [lo, hi], the
    // percentile p of either is the history's value + lo - W_j + p (hi - lo).
    auto s = tres_bancos();
    s->rangos[3].paleobatimetria = {true, true, 20, 100}; // its own, uneven around 50
    RangosColumna r;
    r.paleobatimetria = 30; // the other beds: ±30 m
    constexpr int kTiradas = 20000;
    const ResultadoIncertidumbre res = calcula_incertidumbre(*s, CurvaNivelMar{}, r, kTiradas, 3);
    ASSERT_TRUE(res.ok()) << res.error;
    const auto& pasos = res.historia.historia.pasos;
    ASSERT_EQ(res.bandas.size(), 3u);
    for (size_t k = 0; k < pasos.size(); ++k) {
        const int j = pasos[k].banco_superior;
        const double w = s->paleobatimetria[j];
        const double lo = j == 3 ? 20 : w - 30;
        const double hi = j == 3 ? 100 : w + 30;
        const BandaPaso& b = res.bandas[k];
        EXPECT_EQ(b.banco_superior, j);
        for (int q = 0; q < kNumPercentiles; ++q) {
            const double desvio = lo - w + kPercentiles[q] / 100 * (hi - lo);
            // Sampling error of a quantile of 20000 uniform draws: below
            // 0.4 % of the width; 1.5 % allows for any p.
            EXPECT_NEAR(b.tectonica[q], pasos[k].subsidencia_tectonica + desvio, 0.015 * (hi - lo))
                << j << " p" << kPercentiles[q];
            EXPECT_NEAR(b.total[q], pasos[k].subsidencia_total + desvio, 0.015 * (hi - lo));
            EXPECT_EQ(b.edad[q], pasos[k].edad);
        }
    }
}

TEST(Incertidumbre, SoloNivelDelMarDesplazaCadaPaso)
{
    // A shift d of the sea level, uniform on [-10, 10] m, takes d off the
    // total subsidence and d * 3300 / 2300 off the tectonic one.
    const auto s = tres_bancos();
    RangosColumna r;
    r.nivel_mar = 10;
    const ResultadoIncertidumbre res = calcula_incertidumbre(*s, CurvaNivelMar{}, r, 20000, 5);
    ASSERT_TRUE(res.ok()) << res.error;
    for (size_t k = 0; k < res.bandas.size(); ++k) {
        const PasoHistoria& paso = res.historia.historia.pasos[k];
        for (int q = 0; q < kNumPercentiles; ++q) {
            // Minus the shift at the (1 - p) point: -(10 - 20 p).
            const double d = 20 * kPercentiles[q] / 100 - 10;
            EXPECT_NEAR(res.bandas[k].total[q], paso.subsidencia_total + d, 0.3);
            EXPECT_NEAR(res.bandas[k].tectonica[q], paso.subsidencia_tectonica + d * 3300 / 2300,
                        0.45);
        }
    }
}

TEST(Incertidumbre, SinRangosCadaTiradaEsLaHistoria)
{
    const auto s = tres_bancos();
    const ResultadoIncertidumbre res = calcula_incertidumbre(*s, CurvaNivelMar{}, {}, 50, 1);
    ASSERT_TRUE(res.ok()) << res.error;
    for (size_t k = 0; k < res.bandas.size(); ++k)
        for (int q = 0; q < kNumPercentiles; ++q) {
            EXPECT_EQ(res.bandas[k].tectonica[q],
                      res.historia.historia.pasos[k].subsidencia_tectonica);
            EXPECT_EQ(res.bandas[k].total[q], res.historia.historia.pasos[k].subsidencia_total);
        }
}

TEST(Incertidumbre, ElReajusteSinRangosEsElAjusteDeLaHistoria)
{
    // Every draw is the column itself: every refit is the history's fit.
    const auto s = tres_bancos();
    const ResultadoIncertidumbre res = calcula_incertidumbre(*s, CurvaNivelMar{}, {}, 7, 1);
    ASSERT_TRUE(res.ok()) << res.error;
    const PeticionAjuste peticion;
    const AjusteEstiramiento a =
        ajusta_estiramiento(puntos_de_historia(res.historia.historia), peticion);
    ASSERT_TRUE(a.ok()) << a.error;
    const BandaEstiramiento b = reajusta_estiramiento(res, peticion, 2);
    ASSERT_TRUE(b.ok()) << b.error;
    for (int q = 0; q < 3; ++q) {
        EXPECT_EQ(b.beta[q], a.beta);
        EXPECT_EQ(b.edad_rift[q], a.edad_rift);
    }
}

RangosColumna todos()
{
    RangosColumna r;
    r.porosidad = 0.1;
    r.coef_porosidad = 0.2;
    r.paleobatimetria = 20;
    r.edad = 8; // wider than the gap between ages 0 and 10
    r.nivel_mar = 15;
    return r;
}

bool mismos_bytes(const std::vector<double>& a, const std::vector<double>& b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

TEST(Incertidumbre, LaSemillaDaLosMismosBytesConUnoODosHilos)
{
    const auto s = tres_bancos();
    const auto a = calcula_incertidumbre(*s, CurvaNivelMar{}, todos(), 301, 42, 1);
    const auto b = calcula_incertidumbre(*s, CurvaNivelMar{}, todos(), 301, 42, 2);
    const auto c = calcula_incertidumbre(*s, CurvaNivelMar{}, todos(), 301, 43, 2);
    ASSERT_TRUE(a.ok() && b.ok() && c.ok()) << a.error;
    EXPECT_TRUE(mismos_bytes(a.tectonica, b.tectonica));
    EXPECT_TRUE(mismos_bytes(a.total, b.total));
    EXPECT_TRUE(mismos_bytes(a.edad, b.edad));
    EXPECT_FALSE(mismos_bytes(a.tectonica, c.tectonica));
    EXPECT_FALSE(mismos_bytes(a.edad, c.edad));
    // The generator itself: a draw's numbers depend on seed and draw only.
    GeneradorTirada g1(42, 7), g2(42, 7), g3(42, 8);
    const uint64_t x = g1.siguiente();
    EXPECT_EQ(x, g2.siguiente());
    EXPECT_NE(x, g3.siguiente());
}

TEST(Incertidumbre, CuentaLasTiradasYSeDetieneAlCancelar)
{
    const auto s = tres_bancos();
    ControlCalculo control;
    const auto hecho = calcula_incertidumbre(*s, CurvaNivelMar{}, todos(), 40, 1, 2, &control);
    ASSERT_TRUE(hecho.ok()) << hecho.error;
    EXPECT_EQ(control.hechas.load(), 40);
    const BandaEstiramiento b = reajusta_estiramiento(hecho, PeticionAjuste{}, 2, &control);
    EXPECT_TRUE(b.ok()) << b.error;
    EXPECT_EQ(control.hechas.load(), 80);

    control.cancelar = true;
    const auto parado = calcula_incertidumbre(*s, CurvaNivelMar{}, todos(), 40, 1, 2, &control);
    EXPECT_TRUE(parado.cancelado);
    EXPECT_EQ(parado.error, "Cálculo cancelado.");
    EXPECT_TRUE(parado.bandas.empty());
    EXPECT_EQ(control.hechas.load(), 80);
    const BandaEstiramiento bc = reajusta_estiramiento(hecho, PeticionAjuste{}, 2, &control);
    EXPECT_TRUE(bc.cancelado);
    EXPECT_FALSE(bc.ok());
}

TEST(Incertidumbre, LasEdadesSiguenEnOrdenYLosValoresDentroDeSuDominio)
{
    // Porosity 0.9 ± 50 % and the coefficient ± 150 % would leave [0, 1)
    // and (0, ∞) unless brought inside; ages ± 8 Ma overlap.
    auto s = tres_bancos();
    s->porosidad[2] = 0.9f;
    RangosColumna r = todos();
    r.porosidad = 0.5;
    r.coef_porosidad = 1.5;
    const auto res = calcula_incertidumbre(*s, CurvaNivelMar{}, r, 2000, 9);
    ASSERT_TRUE(res.ok()) << res.error;
    const size_t n = 2000;
    bool alguna_movida = false;
    for (size_t d = 0; d < n; ++d) {
        // Steps from the youngest: ages never decrease, none below 0.
        EXPECT_GE(res.edad[d], 0);
        EXPECT_GE(res.edad[n + d], res.edad[d]);
        EXPECT_GE(res.edad[2 * n + d], res.edad[n + d]);
        alguna_movida = alguna_movida || res.edad[n + d] != 10;
    }
    EXPECT_TRUE(alguna_movida);
    // Every age within its range: 10 ± 8 (or raised to the one above).
    EXPECT_LE(res.bandas[1].edad[4], 18);
    EXPECT_GE(res.bandas[1].edad[0], 2);
}

} // namespace
} // namespace tev
