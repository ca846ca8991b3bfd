#include "compute/historia.h"

#include "compute/nivel_mar.h"
#include "compute/tevarro.h"
#include "model/store.h"
#include "project_file/formatos.h"
#include "text_forms/formas_numericas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <random>

namespace tev {
namespace {

std::unique_ptr<Store> columna(int n)
{
    auto s = std::make_unique<Store>();
    valores_de_arranque(*s);
    s->n_bancos = static_cast<int16_t>(n);
    return s;
}

void pon_banco(Store& s, int i, float techo, float base, float phi, float coef_km, float edad,
               const char* litologia = kAreniscas)
{
    s.techo[i] = techo;
    s.base[i] = base;
    s.porosidad[i] = phi;
    s.coef_porosidad[i] = coef_km;
    s.edad_techo[i] = edad;
    s.litologia[i] = litologia;
}

// Solid thickness between depths a and b, straight from the porosity law.
long double solido(long double a, long double b, long double phi, long double c)
{
    return (b - a) - phi / c * (std::exp(-c * a) - std::exp(-c * b));
}

// The thickness of that solid with its top at z: bisection, an independent
// root finder.
long double por_biseccion(long double sol, long double phi, long double c, long double z)
{
    long double lo = 0, hi = sol / (1 - phi * std::exp(-c * z)) + 1;
    for (int k = 0; k < 200; ++k)
        (solido(z, z + (lo + hi) / 2, phi, c) > sol ? hi : lo) = (lo + hi) / 2;
    return lo;
}

TEST(Historia, DosBancosResueltosAMano)
{
    // Bed 1: sandstone (2650) at 1000..1500 m, phi0 0.5, c 0.5/km, top age
    // 50 Ma, W 100 m; bed 2: pelite (2720) at 0..1000 m, phi0 0.625,
    // c 0.25/km, top age 0, W 20 m. Solids 500 - 1000 (e^-0.5 - e^-0.75) =
    // 365.835893 and 1000 - 2500 (1 - e^-0.25) = 447.001958 m.
    // Step 2 (0 Ma): the present column, S 1500, density (2650*365.835893 +
    // 2720*447.001958 + 1000*687.162149) / 1500 = 1914.981727, sea level 0,
    // Y = 1500 (3300 - 1914.981727) / 2300 + 20 = 923.272787.
    // Step 1 (50 Ma, halfway between the rows of 40 and 60 Ma: sea level 70):
    // T - 1000 (1 - e^(-T/2000)) = 365.835893 gives T = 639.508316, density
    // (2650*365.835893 + 1000*273.672423) / 639.508316 = 1943.895815,
    // Y = 639.508316 (3300 - 1943.895815) / 2300 + 100 - 70*3300/2300 = 376.626045,
    // rate (923.272787 - 376.626045) / 50 = 10.932935 m/Ma.
    auto s = columna(2);
    pon_banco(*s, 1, 1000, 1500, 0.5f, 0.5f, 50, kAreniscas);
    pon_banco(*s, 2, 0, 1000, 0.625f, 0.25f, 0, kPelitas);
    s->paleobatimetria[1] = 100;
    s->paleobatimetria[2] = 20;
    const ResultadoHistoria r = calcula_historia(*s);
    ASSERT_TRUE(r.ok()) << r.error;
    ASSERT_EQ(r.historia.pasos.size(), 2u);
    const PasoHistoria& hoy = r.historia.pasos[0];
    const PasoHistoria& antes = r.historia.pasos[1];
    EXPECT_NEAR(hoy.espesor_sedimentos, 1500, 1e-6);
    EXPECT_NEAR(hoy.densidad_media, 1914.981727, 1e-6);
    EXPECT_NEAR(hoy.subsidencia_total, 1520, 1e-6);
    EXPECT_NEAR(hoy.subsidencia_tectonica, 923.272787, 1e-6);
    EXPECT_FALSE(hoy.tasa_tectonica);
    EXPECT_NEAR(antes.espesor_sedimentos, 639.508316, 1e-6);
    EXPECT_NEAR(antes.densidad_media, 1943.895815, 1e-6);
    EXPECT_EQ(antes.nivel_mar, 70);
    EXPECT_NEAR(antes.subsidencia_total, 669.508316, 1e-6);
    EXPECT_NEAR(antes.subsidencia_tectonica, 376.626045, 1e-6);
    EXPECT_NEAR(antes.tasa_tectonica.value_or(0), 10.932935, 1e-6);

    // Two steps of the same age have no rate between them.
    s->edad_techo[1] = 0;
    EXPECT_FALSE(calcula_historia(*s).historia.pasos[1].tasa_tectonica);
    // Nor two whose ages are the same to float precision: a denormal apart,
    // or adjacent floats.
    s->edad_techo[1] = std::numeric_limits<float>::denorm_min();
    EXPECT_FALSE(calcula_historia(*s).historia.pasos[1].tasa_tectonica);
    s->edad_techo[1] = 1e-40f;
    EXPECT_FALSE(calcula_historia(*s).historia.pasos[1].tasa_tectonica);
    s->edad_techo[2] = 50;
    s->edad_techo[1] = std::nextafter(50.0f, 100.0f);
    EXPECT_FALSE(calcula_historia(*s).historia.pasos[1].tasa_tectonica);
    // The smallest normal float apart from 0 is a span: its rate is the
    // subsidence over it.
    s->edad_techo[2] = 0;
    s->edad_techo[1] = std::numeric_limits<float>::min();
    const ResultadoHistoria corta = calcula_historia(*s);
    ASSERT_TRUE(corta.historia.pasos[1].tasa_tectonica);
    EXPECT_EQ(*corta.historia.pasos[1].tasa_tectonica,
              (corta.historia.pasos[0].subsidencia_tectonica -
               corta.historia.pasos[1].subsidencia_tectonica) /
                  static_cast<double>(std::numeric_limits<float>::min()));
}

TEST(Historia, SinPorosidadLosEspesoresNoCambian)
{
    // Gaps between the beds: the history stacks them, thicknesses kept.
    auto s = columna(3);
    pon_banco(*s, 1, 700, 1000, 0, 0.3f, 20, kCalizas);
    pon_banco(*s, 2, 250, 600, 0, 0.5f, 10, kPelitas);
    pon_banco(*s, 3, 10, 110.5f, 0, 0.7f, 0, kArcosas);
    const double espesor[4] = {0, 300, 350, 100.5}, grano[4] = {0, 2680, 2720, 2680};
    const ResultadoHistoria r = calcula_historia(*s);
    ASSERT_TRUE(r.ok()) << r.error;
    for (const PasoHistoria& p : r.historia.pasos) {
        double z = 0, masa = 0;
        for (const HorizontesBanco& b : p.bancos) {
            EXPECT_EQ(b.techo, z);
            EXPECT_EQ(b.base - b.techo, espesor[b.banco]);
            z += espesor[b.banco];
            masa += grano[b.banco] * espesor[b.banco];
        }
        EXPECT_EQ(p.espesor_sedimentos, z);
        EXPECT_NEAR(p.densidad_media, masa / z, 1e-9);
    }
}

TEST(Historia, ElEjemploDesdeHoyHastaElBanco1)
{
    const LecturaColumna l = lee_archivo(TEVARRO_SOURCE_DIR "/examples/neuquen.tev");
    ASSERT_TRUE(l.ok) << l.error;
    auto s = columna(0);
    carga_columna(*s, l.bancos);
    const ResultadoHistoria r = calcula_historia(*s);
    ASSERT_TRUE(r.ok()) << r.error;
    ASSERT_EQ(r.historia.pasos.size(), 12u);
    // The first step is the present column.
    for (const HorizontesBanco& b : r.historia.pasos[0].bancos) {
        EXPECT_NEAR(b.techo, s->techo[b.banco], 1e-6);
        EXPECT_NEAR(b.base, s->base[b.banco], 1e-6);
    }
    // Every step: beds j..1 stacked from the sea floor, each with its solid.
    int j = 12;
    for (const PasoHistoria& p : r.historia.pasos) {
        EXPECT_EQ(p.banco_superior, j);
        EXPECT_EQ(p.edad, s->edad_techo[j]);
        ASSERT_EQ(p.bancos.size(), static_cast<std::size_t>(j));
        double arriba = 0;
        for (const HorizontesBanco& b : p.bancos) {
            const int i = b.banco;
            const long double c = s->coef_porosidad[i] / 1000.0L, phi = s->porosidad[i];
            EXPECT_EQ(i, j - static_cast<int>(&b - p.bancos.data()));
            EXPECT_EQ(b.techo, arriba);
            EXPECT_NEAR(double(solido(b.techo, b.base, phi, c)),
                        double(solido(s->techo[i], s->base[i], phi, c)), 1e-6);
            arriba = b.base;
        }
        --j;
    }
    // The last step is bed 1 decompacted by itself, as the per-bed grid has
    // it to within half a metre.
    const long double c = s->coef_porosidad[1] / 1000.0L, phi = s->porosidad[1];
    const double base = r.historia.pasos.back().bancos[0].base;
    EXPECT_NEAR(base, double(por_biseccion(solido(s->techo[1], s->base[1], phi, c), phi, c, 0)),
                1e-6);
    ASSERT_TRUE(tevarro(*s).ok());
    EXPECT_NEAR(base, s->base_descomp[1], 0.5);
}

TEST(Historia, UnBancoMaloSeNombraConSuCampo)
{
    const struct {
        void (*estropea)(Store&);
        CampoHistoria campo;
        const char* texto;
    } casos[] = {
        {[](Store& s) { s.coef_porosidad[2] = 0; }, CampoHistoria::coef_porosidad,
         "su coeficiente porosidad-profundidad es 0 y debe ser mayor que 0"},
        {[](Store& s) { s.porosidad[2] = 1; }, CampoHistoria::porosidad,
         "su porosidad es 1 y debe estar entre 0 y 1"},
        {[](Store& s) { s.techo[2] = NAN; }, CampoHistoria::techo,
         "su techo no es un número finito"},
        {[](Store& s) { s.base[2] = 50; }, CampoHistoria::base,
         "su base (50 m) está por encima de su techo (100 m)"},
    };
    for (const auto& caso : casos) {
        auto s = columna(3);
        for (int i = 1; i <= 3; ++i)
            pon_banco(*s, i, 300 - 100 * i, 400 - 100 * i, 0.5f, 0.5f, 0);
        s->nombre[2] = "Margas";
        caso.estropea(*s);
        const ResultadoHistoria r = calcula_historia(*s);
        EXPECT_TRUE(r.historia.pasos.empty());
        EXPECT_EQ(r.banco, 2);
        EXPECT_EQ(r.campo, caso.campo);
        EXPECT_EQ(r.error.rfind("El banco 2 («Margas») no tiene historia de enterramiento: ", 0),
                  0u)
            << r.error;
        EXPECT_NE(r.error.find(caso.texto), std::string::npos) << r.error;
    }
}

TEST(Historia, PorosidadQuePasaDe1EnUnTechoSobreLaSuperficie)
{
    // Bed 2 from -5000 m: its porosity at the top would be 0.5 e^(0.5 * 5) =
    // 6.0912469 (more pore than rock over the bed), so it has no solid.
    auto s = columna(2);
    pon_banco(*s, 1, 100, 200, 0.5f, 0.5f, 10);
    pon_banco(*s, 2, -5000, 100, 0.5f, 0.5f, 0, kPelitas);
    s->nombre[2] = "Margas";
    const ResultadoHistoria r = calcula_historia(*s);
    EXPECT_TRUE(r.historia.pasos.empty());
    EXPECT_EQ(r.banco, 2);
    EXPECT_EQ(r.campo, CampoHistoria::porosidad);
    EXPECT_EQ(r.error, "El banco 2 («Margas») no tiene historia de enterramiento: su porosidad, "
                       "0.5 en la superficie, sería " +
                           forma_corta(static_cast<float>(0.5 * std::exp(2.5))) +
                           " en su techo, a -5000 m (por encima de la superficie), y debe ser "
                           "menor que 1 (revise su techo, su porosidad y su coeficiente "
                           "porosidad-profundidad).");
    EXPECT_EQ(r.error.find("números del programa"), std::string::npos);
}

TEST(EspesorMovido, IgualALaBiseccionEnBancosAlAzar)
{
    std::mt19937 azar(20261209);
    std::uniform_real_distribution<double> z(0, 12000), t(0, 3000), phi(0, 0.99),
        coef_km(0.001, 3.0), fraccion(0, 1);
    for (int k = 0; k < 3000; ++k) {
        const double z1 = z(azar), z2 = z1 + t(azar), p = phi(azar), c = coef_km(azar) / 1000;
        const double z1p = z1 * fraccion(azar); // moved up, part of the way or all
        ASSERT_NEAR(espesor_movido(z1, z2, p, c, z1p),
                    double(por_biseccion(solido(z1, z2, p, c), p, c, z1p)), 1e-6)
            << z1 << ".." << z2 << " phi " << p << " c " << c << " a " << z1p;
    }
}

TEST(Historia, ConLaCurvaDelUsuario)
{
    // The column of DosBancosResueltosAMano on the sea level 10 + t (t in
    // Ma): 10 m today, 60 m at 50 Ma. Each metre of sea level lowers the
    // tectonic subsidence by 3300/2300 m and the total by 1 m:
    // today 923.272787 - 10 * 3300/2300 = 908.924961, total 1510;
    // at 50 Ma 376.626045 - (60 - 70) * 3300/2300 = 390.973871, total
    // 669.508316 + 70 - 60 = 679.508316.
    auto s = columna(2);
    pon_banco(*s, 1, 1000, 1500, 0.5f, 0.5f, 50, kAreniscas);
    pon_banco(*s, 2, 0, 1000, 0.625f, 0.25f, 0, kPelitas);
    s->paleobatimetria[1] = 100;
    s->paleobatimetria[2] = 20;
    CurvaNivelMar curva;
    curva.tipo = CurvaNivelMar::Tipo::usuario;
    curva.edades = {0, 100};
    curva.niveles = {10, 110};
    const ResultadoHistoria r = calcula_historia(*s, curva);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.historia.pasos[0].nivel_mar, 10);
    EXPECT_EQ(r.historia.pasos[1].nivel_mar, 60);
    EXPECT_NEAR(r.historia.pasos[0].subsidencia_total, 1510, 1e-6);
    EXPECT_NEAR(r.historia.pasos[0].subsidencia_tectonica, 908.924961, 1e-6);
    EXPECT_NEAR(r.historia.pasos[1].subsidencia_total, 679.508316, 1e-6);
    EXPECT_NEAR(r.historia.pasos[1].subsidencia_tectonica, 390.973871, 1e-6);
    // No sea level at all: 923.272787 today, 376.626045 + 70 * 3300/2300 at 50 Ma.
    curva.tipo = CurvaNivelMar::Tipo::ninguna;
    const ResultadoHistoria sin = calcula_historia(*s, curva);
    EXPECT_NEAR(sin.historia.pasos[0].subsidencia_tectonica, 923.272787, 1e-6);
    EXPECT_NEAR(sin.historia.pasos[1].subsidencia_tectonica, 477.060828, 1e-6);
}

TEST(Historia, LaDensidadDeGranoPropiaCuentaEnCadaPaso)
{
    // Bed 1: coal of grain density 1400 at 1000..1500 m, phi0 0.5, c 0.5/km,
    // top age 50 Ma (sea level 70); bed 2: sandstone (2650) at 0..1000 m,
    // phi0 0.5, c 0.5/km. Solids 500 - 1000 (e^-0.5 - e^-0.75) and
    // 1000 - 1000 (1 - e^-0.5).
    auto s = columna(2);
    pon_banco(*s, 1, 1000, 1500, 0.5f, 0.5f, 50, "Carbón");
    pon_banco(*s, 2, 0, 1000, 0.5f, 0.5f, 0, kAreniscas);
    s->densidad_grano[1] = 1400;
    const ResultadoHistoria r = calcula_historia(*s);
    ASSERT_TRUE(r.ok()) << r.error;
    ASSERT_EQ(r.historia.pasos.size(), 2u);
    const long double c = 0.0005L;
    const long double s1 = solido(1000, 1500, 0.5L, c);
    const long double s2 = solido(0, 1000, 0.5L, c);
    const long double rho_hoy = (1400 * s1 + 2650 * s2 + 1000 * (1500 - s1 - s2)) / 1500;
    const PasoHistoria& hoy = r.historia.pasos[0];
    EXPECT_NEAR(hoy.densidad_media, static_cast<double>(rho_hoy), 1e-9);
    EXPECT_NEAR(hoy.subsidencia_tectonica, static_cast<double>(1500 * (3300 - rho_hoy) / 2300),
                1e-9);
    // Bed 1 alone at the surface: its thickness by bisection.
    const long double t = por_biseccion(s1, 0.5L, c, 0);
    const long double rho_antes = (1400 * s1 + 1000 * (t - s1)) / t;
    const PasoHistoria& antes = r.historia.pasos[1];
    EXPECT_NEAR(antes.espesor_sedimentos, static_cast<double>(t), 1e-6);
    EXPECT_NEAR(antes.densidad_media, static_cast<double>(rho_antes), 1e-6);
    EXPECT_NEAR(antes.subsidencia_tectonica,
                static_cast<double>(t * (3300 - rho_antes) / 2300 - 70.0L * 3300 / 2300), 1e-6);
}

} // namespace
} // namespace tev
