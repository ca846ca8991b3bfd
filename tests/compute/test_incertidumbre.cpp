#include "compute/incertidumbre.h"

#include "compute/nivel_mar.h"
#include "model/store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

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

TEST(Incertidumbre, LasBandasSonLosPercentilesDeLasTiradasOrdenadas)
{
    // Each band is percentil() of its step's draws sorted, for every kind of
    // value; an odd number of draws puts every percentile between two.
    const auto s = tres_bancos();
    RangosColumna r;
    r.porosidad = 0.1;
    r.edad = 2;
    r.nivel_mar = 5;
    constexpr int kTiradas = 401;
    const ResultadoIncertidumbre res = calcula_incertidumbre(*s, CurvaNivelMar{}, r, kTiradas, 9);
    ASSERT_TRUE(res.ok()) << res.error;
    const auto de_paso = [&](const std::vector<double>& v, size_t k) {
        std::vector<double> o(v.begin() + static_cast<std::ptrdiff_t>(k * kTiradas),
                              v.begin() + static_cast<std::ptrdiff_t>((k + 1) * kTiradas));
        std::sort(o.begin(), o.end());
        return o;
    };
    for (size_t k = 0; k < res.bandas.size(); ++k) {
        const auto tec = de_paso(res.tectonica, k);
        const auto tot = de_paso(res.total, k);
        const auto eda = de_paso(res.edad, k);
        for (int q = 0; q < kNumPercentiles; ++q) {
            EXPECT_EQ(res.bandas[k].tectonica[q], percentil(tec, kPercentiles[q]));
            EXPECT_EQ(res.bandas[k].total[q], percentil(tot, kPercentiles[q]));
            EXPECT_EQ(res.bandas[k].edad[q], percentil(eda, kPercentiles[q]));
        }
    }
}

// A Monte Carlo of its own: its own generator, its own drawing of the column
// by the rules of compute/incertidumbre.h, calcula_historia on each drawn
// column and the sea-level shift taken off after. Its percentiles per step.
struct MonteCarloPropio {
    std::vector<BandaPaso> bandas;
};

MonteCarloPropio monte_carlo_propio(const Store& s, const CurvaNivelMar& curva,
                                    const RangosColumna& r, int tiradas)
{
    std::mt19937_64 gen(20261210);
    std::uniform_real_distribution<double> u(0, 1);
    const auto entre = [&](double a, double b) { return static_cast<float>(a + u(gen) * (b - a)); };
    const int n = s.n_bancos;
    auto t = std::make_unique<Store>(s);
    std::vector<std::vector<double>> tec(static_cast<size_t>(n)), tot(static_cast<size_t>(n)),
        eda(static_cast<size_t>(n));
    for (int d = 0; d < tiradas; ++d) {
        std::vector<double> cambio(static_cast<size_t>(n) + 1);
        for (int i = n; i >= 1; --i) {
            const RangosBanco& propio = s.rangos[i];
            const double phi = s.porosidad[i];
            const double c = s.coef_porosidad[i];
            double a = propio.porosidad.hay() ? propio.porosidad.desde(s.porosidad[i])
                                              : phi * (1 - r.porosidad);
            double b = propio.porosidad.hay() ? propio.porosidad.hasta(s.porosidad[i])
                                              : phi * (1 + r.porosidad);
            t->porosidad[i] = entre(std::max(a, 0.0), std::min(b, 0.999999));
            a = propio.coef_porosidad.hay() ? propio.coef_porosidad.desde(s.coef_porosidad[i])
                                            : c * (1 - r.coef_porosidad);
            b = propio.coef_porosidad.hay() ? propio.coef_porosidad.hasta(s.coef_porosidad[i])
                                            : c * (1 + r.coef_porosidad);
            t->coef_porosidad[i] = entre(a, b);
            t->paleobatimetria[i] = entre(s.paleobatimetria[i] - r.paleobatimetria,
                                          s.paleobatimetria[i] + r.paleobatimetria);
            const double e = s.edad_techo[i];
            a = propio.edad_techo.hay() ? propio.edad_techo.desde(s.edad_techo[i]) : e - r.edad;
            b = propio.edad_techo.hay() ? propio.edad_techo.hasta(s.edad_techo[i]) : e + r.edad;
            float edad = entre(std::max(a, 0.0), b);
            // Never younger than the bed on top of it.
            if (i < n) edad = std::max(edad, t->edad_techo[i + 1]);
            t->edad_techo[i] = edad;
            cambio[static_cast<size_t>(i)] = entre(-r.nivel_mar, r.nivel_mar);
        }
        // Each base on the top of the bed below, as the column is built.
        for (int i = 2; i <= n; ++i)
            t->edad_base[i] = t->edad_techo[i - 1];
        const ResultadoHistoria h = calcula_historia(*t, curva);
        EXPECT_TRUE(h.ok()) << h.error;
        for (size_t k = 0; k < h.historia.pasos.size(); ++k) {
            const PasoHistoria& p = h.historia.pasos[k];
            const double dn = cambio[static_cast<size_t>(p.banco_superior)];
            tec[k].push_back(p.subsidencia_tectonica - dn * 3300.0 / 2300.0);
            tot[k].push_back(p.subsidencia_total - dn);
            eda[k].push_back(p.edad);
        }
    }
    MonteCarloPropio mc;
    mc.bandas.resize(static_cast<size_t>(n));
    for (size_t k = 0; k < static_cast<size_t>(n); ++k) {
        std::sort(tec[k].begin(), tec[k].end());
        std::sort(tot[k].begin(), tot[k].end());
        std::sort(eda[k].begin(), eda[k].end());
        for (int q = 0; q < kNumPercentiles; ++q) {
            mc.bandas[k].tectonica[q] = percentil(tec[k], kPercentiles[q]);
            mc.bandas[k].total[q] = percentil(tot[k], kPercentiles[q]);
            mc.bandas[k].edad[q] = percentil(eda[k], kPercentiles[q]);
        }
    }
    return mc;
}

// The bands of calcula_incertidumbre against those of monte_carlo_propio,
// 4000 draws each. The sampling error of a quantile p of n draws is
// sqrt(p (1 - p) / n) in probability, over the density there: at most about
// 1.5 % of the 2.5..97.5 width for the tails of a bell (0.7 % at the median),
// and sqrt(2) times that between two independent runs. 6 % of the width is
// four such errors at the tails: a broken drawing rule (a range's end, the
// age order, the shift) moves a percentile by more.
void como_el_propio(const Store& s, const CurvaNivelMar& curva, const RangosColumna& r,
                    uint64_t semilla)
{
    constexpr int kTiradas = 4000;
    const ResultadoIncertidumbre res = calcula_incertidumbre(s, curva, r, kTiradas, semilla, 2);
    ASSERT_TRUE(res.ok()) << res.error;
    const MonteCarloPropio mc = monte_carlo_propio(s, curva, r, kTiradas);
    ASSERT_EQ(res.bandas.size(), mc.bandas.size());
    for (size_t k = 0; k < mc.bandas.size(); ++k) {
        const BandaPaso& a = res.bandas[k];
        const BandaPaso& b = mc.bandas[k];
        const auto cerca = [&](const double(&x)[kNumPercentiles], const double(&y)[kNumPercentiles],
                               const char* que) {
            const double ancho = y[kNumPercentiles - 1] - y[0];
            for (int q = 0; q < kNumPercentiles; ++q)
                EXPECT_NEAR(x[q], y[q], 0.06 * ancho + 1e-9)
                    << que << " paso " << k << " p" << kPercentiles[q];
        };
        cerca(a.tectonica, b.tectonica, "tectonica");
        cerca(a.total, b.total, "total");
        cerca(a.edad, b.edad, "edad");
    }
}

// A sea level that rises 2 m per Ma, so that the drawn age moves it too.
CurvaNivelMar curva_que_sube()
{
    CurvaNivelMar curva;
    curva.tipo = CurvaNivelMar::Tipo::usuario;
    curva.edades = {0, 30};
    curva.niveles = {0, 60};
    return curva;
}

TEST(Incertidumbre, ComoUnMonteCarloIndependiente)
{
    // Porosity, coefficient, age and sea-level ranges, column-wide and a
    // bed's own.
    auto s = tres_bancos();
    s->rangos[2].porosidad = {true, true, 0.40f, 0.55f};
    s->rangos[2].edad_techo = {true, true, 8, 13};
    s->rangos[1].coef_porosidad = {true, false, 0.2f, 0};
    RangosColumna r;
    r.porosidad = 0.1;
    r.coef_porosidad = 0.2;
    r.edad = 2;
    r.nivel_mar = 5;
    como_el_propio(*s, curva_que_sube(), r, 11);
}

TEST(Incertidumbre, ConEdadesQueSeSolapanComoUnMonteCarloIndependiente)
{
    // Top ages 0, 10 and 25 Ma drawn ±12 Ma (bed 1 from its own 4..30 Ma):
    // each range reaches into the next one's, so that bed 2 and bed 1 are
    // often raised to the age drawn for the bed on top of them.
    auto s = tres_bancos();
    s->rangos[1].edad_techo = {true, true, 4, 30};
    RangosColumna r;
    r.porosidad = 0.1;
    r.paleobatimetria = 10;
    r.edad = 12;
    como_el_propio(*s, curva_que_sube(), r, 12);
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
