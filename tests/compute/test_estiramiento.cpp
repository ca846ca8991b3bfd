// The uniform-stretching model against values worked out apart from it, and
// its fit recovering synthetic curves of known beta and rift age.

#include "compute/estiramiento.h"

#include "compute/historia.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using tev::ModeloEstiramiento;
using tev::ModoEstiramiento;

constexpr long double kPiL = 3.141592653589793238462643383279502884L;

// The series summed literally, term after term, in long double:
// 4 a rho_m alpha Tm / (rho_m - rho_w) * sum over odd n of
// beta sin(n pi/beta) / (n pi)^3 (1 - e^(-n^2 t/tau)).
double serie_literal(const ModeloEstiramiento& m, double beta, double t, long terminos)
{
    const auto& c = m.constantes;
    const long double tau = static_cast<long double>(c.litosfera) * c.litosfera /
                            (kPiL * kPiL * c.difusividad) /
                            (static_cast<long double>(c.dias_por_anio) * 86400.0L * 1e6L);
    long double suma = 0;
    for (long k = 0; k < terminos; ++k) {
        const long double n = 2.0L * k + 1;
        const long double npi = n * kPiL;
        suma +=
            beta * std::sin(n * kPiL / beta) / (npi * npi * npi) * (1 - std::exp(-n * n * t / tau));
    }
    const long double factor = 4.0L * c.litosfera * c.densidad_manto * c.expansion *
                               c.temperatura_base / (c.densidad_manto - c.densidad_agua);
    return static_cast<double>(factor * suma);
}

TEST(Estiramiento, TauYSubsidenciaInicialComoPorMano)
{
    ModeloEstiramiento m;
    // a^2/(pi^2 kappa) = 1.5625e10 / (9.8696044 * 8e-7) s = 1.978964e15 s,
    // over 365.25 * 86400 * 1e6 s per Ma.
    EXPECT_NEAR(tev::tau_termico(m.constantes), 62.708488, 1e-6);
    // beta = 2: 125000 * 0.5 * (530 * 0.28 * (1 - 0.0437218 * 0.14) - 0.0437218 * 1665)
    //           / (3330 * (1 - 0.0437218) - 1000)
    EXPECT_NEAR(tev::subsidencia_inicial(m, 2), 2137.133672, 1e-5);
    // No stretching, no subsidence.
    EXPECT_EQ(tev::subsidencia_inicial(m, 1), 0);
    // A thin crust: the lithosphere's heating wins and the rift rises.
    m.corteza = 5000;
    EXPECT_LT(tev::subsidencia_inicial(m, 2), 0);
}

TEST(Estiramiento, UnTerminoComoPorMano)
{
    ModeloEstiramiento m;
    m.terminos = 1;
    // 31243.689270 * 2 sin(pi/2) / pi^3 * (1 - e^(-30/62.708488))
    EXPECT_NEAR(tev::subsidencia_termica(m, 2, 30), 766.279411, 1e-5);
    EXPECT_EQ(tev::subsidencia_termica(m, 2, 0), 0);
    EXPECT_EQ(tev::subsidencia_termica(m, 2, -5), 0);
}

TEST(Estiramiento, LaSerieEnteraComoSumadaTerminoATermino)
{
    for (const auto& c : tev::kJuegosDeConstantes) {
        ModeloEstiramiento m;
        m.constantes = c;
        for (double beta : {1.1, 1.5, 2.0, 3.7, 20.0}) {
            for (double t : {0.05, 1.0, 12.5, 80.0, 400.0}) {
                const double esperado = serie_literal(m, beta, t, 20000);
                EXPECT_NEAR(tev::subsidencia_termica(m, beta, t), esperado, 2e-3)
                    << c.nombre << " beta " << beta << " t " << t;
            }
        }
    }
}

TEST(Estiramiento, LimiteDeLaSerieEnElInfinito)
{
    // a rho_m alpha Tm (1 - 1/beta) / (2 (rho_m - rho_w)), for beta = 2:
    // 125000 * 3330 * 3.28e-5 * 1333 * 0.5 / (2 * 2330) = 1952.730579 m.
    ModeloEstiramiento m;
    EXPECT_NEAR(tev::subsidencia_termica(m, 2, 1e5), 1952.730579, 1e-5);
    // The first 20000 terms reach it too, summed by the code itself.
    m.terminos = 20000;
    EXPECT_NEAR(tev::subsidencia_termica(m, 2, 1e5), 1952.730579, 1e-5);
}

TEST(Estiramiento, ElModeloAntesYDespuesDelRift)
{
    ModeloEstiramiento m;
    EXPECT_EQ(tev::modelo_estiramiento(m, 2, 100, 100.5), 0);
    EXPECT_DOUBLE_EQ(tev::modelo_estiramiento(m, 2, 100, 100), tev::subsidencia_inicial(m, 2));
    EXPECT_DOUBLE_EQ(tev::modelo_estiramiento(m, 2, 100, 70),
                     tev::subsidencia_inicial(m, 2) + tev::subsidencia_termica(m, 2, 30));
    m.modo = ModoEstiramiento::termica;
    EXPECT_EQ(tev::modelo_estiramiento(m, 2, 100, 100), 0);
    EXPECT_DOUBLE_EQ(tev::modelo_estiramiento(m, 2, 100, 70), tev::subsidencia_termica(m, 2, 30));
}

// Ages 0, 3, ..., 60 Ma and the model's subsidence at them.
std::vector<tev::PuntoSubsidencia> curva_sintetica(const ModeloEstiramiento& m, double beta,
                                                   double edad_rift, double edad_max = 60)
{
    std::vector<tev::PuntoSubsidencia> p;
    for (double edad = edad_max; edad >= 0; edad -= 3)
        p.push_back({edad, tev::modelo_estiramiento(m, beta, edad_rift, edad)});
    return p;
}

struct Caso {
    double beta;
    double edad_rift;
};

TEST(Estiramiento, RecuperaBetaYEdadDeCurvasSinteticas)
{
    const Caso casos[] = {{1.35, 72.4}, {2.6, 61.5}, {7.0, 95.0}};
    for (const auto& c : tev::kJuegosDeConstantes) {
        for (auto modo : {ModoEstiramiento::total, ModoEstiramiento::termica}) {
            for (int terminos : {0, 1}) {
                for (const Caso& caso : casos) {
                    tev::PeticionAjuste pet;
                    pet.modelo.constantes = c;
                    pet.modelo.modo = modo;
                    pet.modelo.terminos = terminos;
                    const auto puntos = curva_sintetica(pet.modelo, caso.beta, caso.edad_rift);
                    const std::string que =
                        std::string(c.nombre) +
                        (modo == ModoEstiramiento::total ? " total" : " termica") + " terminos " +
                        std::to_string(terminos) + " beta " + std::to_string(caso.beta);
                    const auto libre = tev::ajusta_estiramiento(puntos, pet);
                    ASSERT_TRUE(libre.ok()) << libre.error;
                    EXPECT_NEAR(libre.beta, caso.beta, 1e-3) << que;
                    EXPECT_NEAR(libre.edad_rift, caso.edad_rift, 0.05) << que;
                    EXPECT_LT(libre.rms, 1e-3) << que;
                    EXPECT_FALSE(libre.en_limite) << que;
                    EXPECT_EQ(libre.puntos, 21);

                    pet.edad_rift = caso.edad_rift;
                    const auto fija = tev::ajusta_estiramiento(puntos, pet);
                    ASSERT_TRUE(fija.ok()) << fija.error;
                    EXPECT_NEAR(fija.beta, caso.beta, 1e-3) << que;
                    EXPECT_EQ(fija.edad_rift, caso.edad_rift);
                    EXPECT_FALSE(fija.evaluado);
                }
            }
        }
    }
}

TEST(Estiramiento, ElRiftEnElPuntoMasAntiguoQuedaEnElLimite)
{
    tev::PeticionAjuste pet;
    const auto puntos = curva_sintetica(pet.modelo, 2.2, 60);
    const auto r = tev::ajusta_estiramiento(puntos, pet);
    ASSERT_TRUE(r.ok());
    EXPECT_NEAR(r.beta, 2.2, 1e-3);
    EXPECT_EQ(r.edad_rift, 60);
    EXPECT_TRUE(r.en_limite);
    EXPECT_EQ(r.edad_rift_minima, 60);
    // 60 + max(60, 2 tau)
    EXPECT_NEAR(r.edad_rift_maxima, 60 + 2 * 62.708488, 1e-5);
}

TEST(Estiramiento, UnBetaMayorQueVeinteQuedaEnElLimite)
{
    tev::PeticionAjuste pet;
    pet.edad_rift = 70;
    const auto puntos = curva_sintetica(pet.modelo, 40, 70);
    const auto r = tev::ajusta_estiramiento(puntos, pet);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.beta, 20);
    EXPECT_TRUE(r.en_limite);
}

TEST(Estiramiento, ConBetaYEdadDadosSoloEvalua)
{
    tev::PeticionAjuste pet;
    const auto puntos = curva_sintetica(pet.modelo, 2, 70);
    pet.beta = 2.5;
    pet.edad_rift = 75;
    const auto r = tev::ajusta_estiramiento(puntos, pet);
    ASSERT_TRUE(r.ok());
    EXPECT_TRUE(r.evaluado);
    EXPECT_EQ(r.beta, 2.5);
    EXPECT_EQ(r.edad_rift, 75);
    double suma = 0;
    for (const auto& p : puntos) {
        const double d = tev::modelo_estiramiento(pet.modelo, 2.5, 75, p.edad) - p.subsidencia;
        suma += d * d;
    }
    EXPECT_NEAR(r.rms, std::sqrt(suma / 21), 1e-9);
    EXPECT_GT(r.rms, 10);
}

// No pair of a fine grid fits better than the answer: the answer is the
// least sum of squares, not a local minimum.
TEST(Estiramiento, NingunPuntoDeUnaRejillaFinaAjustaMejor)
{
    tev::PeticionAjuste pet;
    // A curve no model fits: two straight pieces, with a kink.
    std::vector<tev::PuntoSubsidencia> puntos;
    for (int k = 0; k <= 40; ++k) {
        const double edad = 1.5 * k;
        const double s = edad < 30 ? 3000 - 40 * edad : 1800 - 55 * (edad - 30);
        puntos.push_back({edad, s + 35 * std::sin(0.9 * k)});
    }
    const auto r = tev::ajusta_estiramiento(puntos, pet);
    ASSERT_TRUE(r.ok());
    const auto ss = [&](double beta, double rift) {
        double suma = 0;
        for (const auto& p : puntos) {
            const double d =
                tev::modelo_estiramiento(pet.modelo, beta, rift, p.edad) - p.subsidencia;
            suma += d * d;
        }
        return suma;
    };
    const double mejor = r.rms * r.rms * static_cast<double>(puntos.size());
    for (int i = 0; i <= 150; ++i)
        for (int j = 0; j <= 150; ++j) {
            const double beta = 1 + 19.0 * i / 150;
            const double rift =
                r.edad_rift_minima + (r.edad_rift_maxima - r.edad_rift_minima) * j / 150;
            ASSERT_GE(ss(beta, rift), mejor * (1 - 1e-9)) << beta << " " << rift;
        }
}

TEST(Estiramiento, MensajesDeLoQueNoSePuedeAjustar)
{
    tev::PeticionAjuste pet;
    const auto uno = tev::ajusta_estiramiento({{10, 500}}, pet);
    EXPECT_EQ(uno.error, "El ajuste necesita al menos dos puntos de la historia y hay 1.");
    pet.modelo.corteza = 130000;
    const auto corteza = tev::ajusta_estiramiento({{10, 500}, {0, 800}}, pet);
    EXPECT_EQ(corteza.error, "El espesor de la corteza antes del rift (130000 m) debe ser mayor "
                             "que 0 y menor que el de la litosfera (125000 m).");
    pet.modelo.corteza = 35000;
    pet.beta = 1;
    EXPECT_EQ(tev::ajusta_estiramiento({{10, 500}, {0, 800}}, pet).error,
              "El factor de estiramiento beta (1) debe ser mayor que 1 y no mayor que 20.");
}

TEST(Estiramiento, SoloLosPuntosDelIntervalo)
{
    tev::Historia h;
    for (double edad : {0.0, 5.0, 10.0, 15.0}) {
        tev::PasoHistoria p;
        p.edad = edad;
        p.subsidencia_tectonica = 100 + edad;
        h.pasos.push_back(p);
    }
    const auto todos = tev::puntos_de_historia(h);
    ASSERT_EQ(todos.size(), 4U);
    EXPECT_EQ(todos[2].subsidencia, 110);
    tev::PeticionAjuste pet;
    pet.desde = 5;
    pet.hasta = 10;
    const auto algunos = tev::puntos_del_ajuste(todos, pet);
    ASSERT_EQ(algunos.size(), 2U);
    EXPECT_EQ(algunos[0].edad, 5);
    EXPECT_EQ(algunos[1].edad, 10);
    pet.hasta.reset();
    pet.desde = 11;
    EXPECT_EQ(
        tev::ajusta_estiramiento(todos, pet).error,
        "El ajuste necesita al menos dos puntos de la historia y hay 1 con edad desde 11 Ma.");
    // A curve's fit over part of it does not see the rest.
    const auto curva = curva_sintetica(pet.modelo, 2, 70);
    auto mezclada = curva;
    for (auto& p : mezclada)
        if (p.edad < 30) p.subsidencia += 400;
    pet.desde = 30;
    const auto r = tev::ajusta_estiramiento(mezclada, pet);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.puntos, 11);
    EXPECT_NEAR(r.beta, 2, 1e-3);
}

TEST(Estiramiento, BuscaLosJuegosPorSuNombre)
{
    ASSERT_NE(tev::busca_constantes("pybacktrack"), nullptr);
    EXPECT_EQ(tev::busca_constantes("pybacktrack")->difusividad, 1e-6);
    EXPECT_EQ(tev::busca_constantes("paleostrip")->densidad_manto, 3300);
    EXPECT_EQ(tev::busca_constantes("otro"), nullptr);
}

} // namespace
