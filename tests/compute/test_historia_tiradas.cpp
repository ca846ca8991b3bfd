#include "compute/historia_tiradas.h"

#include "compute/nivel_mar.h"
#include "model/store.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

namespace tev {
namespace {

// F(x) = x - a (1 - e^(-x)) - sigma in long double: how far x is from the
// root, in units of x (F' = 1 - a e^(-x) divides the residual).
long double error_relativo(long double x, long double a, long double sigma)
{
    const long double f = x + a * std::expm1(-x) - sigma;
    return std::fabs(f / (1 - a * std::exp(-x))) / x;
}

TEST(RaizDeHalley, ComoLaBusquedaDeLaHistoriaEnUnBarridoAmplio)
{
    // Porosity at the top 0..0.99, coefficient 0.001..10 /km, solid
    // thickness 1 micron..100 km (log-uniform), started anywhere from half
    // to twice the root: the root to a few units in the last place by the
    // equation itself (its conditioning grows as 1 / (1 - a e^(-x))), and
    // within 1e-13 of the history's own Newton search (whose first step from
    // solido / (1 - a) may leave the rounding of that start behind).
    std::mt19937_64 gen(7);
    std::uniform_real_distribution<double> u(0, 1);
    for (int k = 0; k < 200000; ++k) {
        const double a = 0.99 * u(gen);
        const double c = std::pow(10.0, -6 + 4 * u(gen));       // 1/m
        const double solido = std::pow(10.0, -6 + 11 * u(gen)); // m
        const double t = espesor_de_solido(solido, a, c);
        const double sigma = c * solido;
        const double x = raiz_de_halley(sigma, a, c * t * std::pow(2.0, 2 * u(gen) - 1));
        ASSERT_TRUE(std::isfinite(x)) << a << " " << c << " " << solido;
        const double g = a * std::exp(-x);
        EXPECT_LE(error_relativo(x, a, sigma), 2e-15L / (1 - g)) << a << " " << c << " " << solido;
        EXPECT_NEAR(x / c, t, 1e-13 * t) << a << " " << c << " " << solido;
    }
}

TEST(RaizDeHalley, SinSolidoEsCeroYSinPorosEsElSolido)
{
    EXPECT_EQ(raiz_de_halley(0, 0.6, 0.3), 0);
    EXPECT_EQ(raiz_de_halley(0.25, 0, 0.3), 0.25);
    // Not finite: the caller's cue for the history's own search.
    EXPECT_TRUE(std::isnan(raiz_de_halley(0.25, 0.5, std::nan(""))));
}

// Five beds of every kind: a thin one, one with no porosity, a very porous
// one, one with almost no compaction and a thick one; bed 5 on top.
std::unique_ptr<Store> cinco_bancos()
{
    auto s = std::make_unique<Store>();
    valores_de_arranque(*s);
    limpia_bancos(*s);
    s->n_bancos = 5;
    const float techo[] = {0, 1200, 1199.9f, 700, 300, 0};
    const float base[] = {0, 4200, 1200, 1199.9f, 700, 300};
    const float phi[] = {0, 0.45f, 0.6f, 0.95f, 0, 0.63f};
    const float coef[] = {0, 0.39f, 0.51f, 0.71f, 0.27f, 0.001f};
    for (int i = 1; i <= 5; ++i) {
        s->techo[i] = techo[i];
        s->base[i] = base[i];
        s->porosidad[i] = phi[i];
        s->coef_porosidad[i] = coef[i];
        s->edad_techo[i] = static_cast<float>(5 - i) * 10;
        s->edad_base[i] = static_cast<float>(6 - i) * 10;
        s->paleobatimetria[i] = static_cast<float>(i) * 40;
    }
    return s;
}

struct Pasos {
    std::vector<double> tectonica, total, edad;
    explicit Pasos(size_t n) : tectonica(n), total(n), edad(n) {}
};

TEST(HistoriaDeTiradas, ComoLaHistoriaDeCadaColumnaTirada)
{
    // Columns drawn by hand around the five beds (±15 % porosity and
    // coefficient, ±3 Ma, ±20 m): every step as calcula_historia gives it
    // for the drawn column, to 1e-12 of the column's thickness.
    const auto s = cinco_bancos();
    const ResultadoHistoria base = calcula_historia(*s);
    ASSERT_TRUE(base.ok()) << base.error;
    HistoriaDeTiradas rapida(*s, base.historia);
    std::mt19937_64 gen(11);
    std::uniform_real_distribution<double> u(-1, 1);
    auto t = std::make_unique<Store>(*s);
    Pasos p(5);
    for (int d = 0; d < 300; ++d) {
        for (int i = 1; i <= 5; ++i) {
            // Bed 3 keeps its porosity below 1; every third draw leaves the
            // lower beds as they are.
            const bool mueve = i >= 3 || d % 3 != 0;
            const double f = mueve ? 0.15 * u(gen) : 0;
            t->porosidad[i] = std::min(0.999f, static_cast<float>(s->porosidad[i] * (1 + f)));
            t->coef_porosidad[i] = static_cast<float>(s->coef_porosidad[i] * (1 - f));
            t->edad_techo[i] = std::max(0.0f, static_cast<float>(s->edad_techo[i] + 3 * u(gen)));
            t->paleobatimetria[i] = static_cast<float>(s->paleobatimetria[i] + 20 * u(gen));
        }
        ASSERT_TRUE(
            rapida.calcula(*t, CurvaNivelMar{}, p.tectonica.data(), p.total.data(), p.edad.data()));
        const ResultadoHistoria h = calcula_historia(*t);
        ASSERT_TRUE(h.ok()) << h.error;
        for (size_t k = 0; k < 5; ++k) {
            const PasoHistoria& paso = h.historia.pasos[k];
            const double tolerancia = 1e-12 * paso.espesor_sedimentos;
            EXPECT_NEAR(p.tectonica[k], paso.subsidencia_tectonica, tolerancia) << d << " " << k;
            EXPECT_NEAR(p.total[k], paso.subsidencia_total, tolerancia) << d << " " << k;
            EXPECT_EQ(p.edad[k], paso.edad);
        }
    }
}

TEST(HistoriaDeTiradas, LosPasosQueNoCambianSonLosDeLaHistoria)
{
    // Only the top bed's porosity and the water depths move: the steps
    // below the top bed keep the very column of the history, to the bit.
    const auto s = cinco_bancos();
    const ResultadoHistoria base = calcula_historia(*s);
    ASSERT_TRUE(base.ok()) << base.error;
    HistoriaDeTiradas rapida(*s, base.historia);
    auto t = std::make_unique<Store>(*s);
    t->porosidad[5] = 0.5f;
    for (int i = 1; i <= 5; ++i)
        t->paleobatimetria[i] += 7;
    Pasos p(5);
    ASSERT_TRUE(
        rapida.calcula(*t, CurvaNivelMar{}, p.tectonica.data(), p.total.data(), p.edad.data()));
    const ResultadoHistoria h = calcula_historia(*t);
    ASSERT_TRUE(h.ok()) << h.error;
    for (size_t k = 1; k < 5; ++k) {
        EXPECT_EQ(p.tectonica[k], h.historia.pasos[k].subsidencia_tectonica) << k;
        EXPECT_EQ(p.total[k], h.historia.pasos[k].subsidencia_total) << k;
    }
    EXPECT_NEAR(p.tectonica[0], h.historia.pasos[0].subsidencia_tectonica, 1e-9);
}

TEST(HistoriaDeTiradas, UnValorFueraDeSuDominioQuedaParaLaHistoria)
{
    const auto s = cinco_bancos();
    const ResultadoHistoria base = calcula_historia(*s);
    ASSERT_TRUE(base.ok()) << base.error;
    HistoriaDeTiradas rapida(*s, base.historia);
    Pasos p(5);
    const auto falla = [&](auto cambia) {
        auto t = std::make_unique<Store>(*s);
        cambia(*t);
        return !rapida.calcula(*t, CurvaNivelMar{}, p.tectonica.data(), p.total.data(),
                               p.edad.data());
    };
    EXPECT_TRUE(falla([](Store& t) { t.porosidad[2] = 1; }));
    EXPECT_TRUE(falla([](Store& t) { t.coef_porosidad[4] = 0; }));
    EXPECT_TRUE(falla([](Store& t) { t.edad_techo[1] = INFINITY; }));
    EXPECT_TRUE(falla([](Store& t) { t.edad_base[3] = NAN; }));
    EXPECT_TRUE(falla([](Store& t) { t.paleobatimetria[5] = NAN; }));
    EXPECT_FALSE(falla([](Store& t) { t.porosidad[2] = 0.99f; }));
}

} // namespace
} // namespace tev
