#include "compute/historia.h"

#include "compute/tevarro.h"
#include "model/store.h"
#include "project_file/archivo_proyecto.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <string>

namespace tev {
namespace {

std::unique_ptr<Store> columna(int n)
{
    auto s = std::make_unique<Store>();
    valores_de_arranque(*s);
    s->n_bancos = static_cast<int16_t>(n);
    return s;
}

void pon_banco(Store& s, int i, float techo, float base, float phi, float coef_km,
               const char* litologia = kAreniscas)
{
    s.techo[i] = techo;
    s.base[i] = base;
    s.porosidad[i] = phi;
    s.coef_porosidad[i] = coef_km;
    s.litologia[i] = litologia;
}

// Solid thickness between depths a and b, in long double, straight from the
// porosity law.
long double solido(long double a, long double b, long double phi, long double c)
{
    return (b - a) - phi / c * (std::exp(-c * a) - std::exp(-c * b));
}

// The thickness of that solid with its top at z, by bisection: an
// independent root finder.
long double por_biseccion(long double sol, long double phi, long double c, long double z)
{
    long double lo = 0, hi = sol / (1 - phi * std::exp(-c * z)) + 1;
    for (int k = 0; k < 200; ++k) {
        const long double mid = (lo + hi) / 2;
        (solido(z, z + mid, phi, c) > sol ? hi : lo) = mid;
    }
    return (lo + hi) / 2;
}

std::unique_ptr<Store> ejemplo()
{
    const LecturaColumna l = lee_archivo(std::string(TEVARRO_SOURCE_DIR) + "/examples/neuquen.tev");
    EXPECT_TRUE(l.ok) << l.error;
    auto s = columna(0);
    carga_columna(*s, l.bancos);
    return s;
}

TEST(Historia, DosBancosResueltosAMano)
{
    // Bed 1: sandstone (2650) at 1000..1500 m, phi0 0.5, c 0.5/km; bed 2:
    // pelite (2720) at 0..1000 m, phi0 0.625, c 0.25/km. Solids:
    //   bed 1: 500 - 1000 (e^-0.5 - e^-0.75)  = 365.835893 m
    //   bed 2: 1000 - 2500 (1 - e^-0.25)      = 447.001958 m
    // Step 2 (0 Ma) is the present column: S = 1500, pores 134.164107 and
    // 552.998042 m, mean density (2650*365.835893 + 2720*447.001958 +
    // 1000*687.162149) / 1500 = 1914.981727; W 20, sea level 0:
    //   Y = 1500 (3300 - 1914.981727) / 2300 + 20 = 923.272787.
    // Step 1 (50 Ma): bed 1 at the surface, T - 1000 (1 - e^(-T/2000)) =
    // 365.835893 gives T = 639.508316; density (2650*365.835893 +
    // 1000*273.672423) / 639.508316 = 1943.895815; W 100, sea level 70 (50 Ma
    // is halfway between the rows of 40 and 60 Ma and takes the younger):
    //   Y = 639.508316 (3300 - 1943.895815) / 2300 + 100 - 70*3300/2300 = 376.626045
    // and the rate to step 2 is (923.272787 - 376.626045) / 50 = 10.932935 m/Ma.
    auto s = columna(2);
    pon_banco(*s, 1, 1000, 1500, 0.5f, 0.5f, kAreniscas);
    pon_banco(*s, 2, 0, 1000, 0.625f, 0.25f, kPelitas);
    s->edad_techo[1] = 50;
    s->edad_base[1] = 80;
    s->edad_techo[2] = 0;
    s->edad_base[2] = 50;
    s->paleobatimetria[1] = 100;
    s->paleobatimetria[2] = 20;

    const ResultadoHistoria r = calcula_historia(*s);
    ASSERT_TRUE(r.ok()) << r.error;
    ASSERT_EQ(r.historia.pasos.size(), 2u);
    const PasoHistoria& hoy = r.historia.pasos[0];
    const PasoHistoria& antes = r.historia.pasos[1];

    EXPECT_EQ(hoy.banco_superior, 2);
    EXPECT_EQ(hoy.edad, 0);
    ASSERT_EQ(hoy.bancos.size(), 2u);
    EXPECT_EQ(hoy.bancos[0].banco, 2);
    EXPECT_NEAR(hoy.bancos[0].techo, 0, 1e-9);
    EXPECT_NEAR(hoy.bancos[0].base, 1000, 1e-6);
    EXPECT_EQ(hoy.bancos[1].banco, 1);
    EXPECT_NEAR(hoy.bancos[1].techo, 1000, 1e-6);
    EXPECT_NEAR(hoy.bancos[1].base, 1500, 1e-6);
    EXPECT_NEAR(hoy.espesor_sedimentos, 1500, 1e-6);
    EXPECT_NEAR(hoy.densidad_media, 1914.981727, 1e-6);
    EXPECT_EQ(hoy.paleobatimetria, 20);
    EXPECT_EQ(hoy.nivel_mar, 0);
    EXPECT_NEAR(hoy.subsidencia_total, 1520, 1e-6);
    EXPECT_NEAR(hoy.subsidencia_tectonica, 923.272787, 1e-6);
    EXPECT_FALSE(hoy.tasa_tectonica.has_value());

    EXPECT_EQ(antes.banco_superior, 1);
    EXPECT_EQ(antes.edad, 50);
    ASSERT_EQ(antes.bancos.size(), 1u);
    EXPECT_NEAR(antes.bancos[0].techo, 0, 1e-9);
    EXPECT_NEAR(antes.bancos[0].base, 639.508316, 1e-6);
    EXPECT_NEAR(antes.espesor_sedimentos, 639.508316, 1e-6);
    EXPECT_NEAR(antes.densidad_media, 1943.895815, 1e-6);
    EXPECT_EQ(antes.nivel_mar, 70);
    EXPECT_NEAR(antes.subsidencia_total, 639.508316 + 100 - 70, 1e-6);
    EXPECT_NEAR(antes.subsidencia_tectonica, 376.626045, 1e-6);
    ASSERT_TRUE(antes.tasa_tectonica.has_value());
    EXPECT_NEAR(*antes.tasa_tectonica, 10.932935, 1e-6);
}

TEST(Historia, SinPorosidadLosEspesoresNoCambian)
{
    // Beds with gaps between them: the history stacks them, thickness kept.
    auto s = columna(3);
    pon_banco(*s, 1, 700, 1000, 0, 0.3f, kCalizas);  // 300 m
    pon_banco(*s, 2, 250, 600, 0, 0.5f, kPelitas);   // 350 m
    pon_banco(*s, 3, 10, 110.5f, 0, 0.7f, kArcosas); // 100.5 m
    const double espesor[4] = {0, 300, 350, 100.5};
    const double grano[4] = {0, 2680, 2720, 2680};
    const ResultadoHistoria r = calcula_historia(*s);
    ASSERT_TRUE(r.ok()) << r.error;
    for (const PasoHistoria& p : r.historia.pasos) {
        double z = 0, masa = 0;
        for (const HorizontesBanco& b : p.bancos) {
            EXPECT_NEAR(b.techo, z, 1e-9) << "paso " << p.banco_superior << " banco " << b.banco;
            EXPECT_NEAR(b.base - b.techo, espesor[b.banco], 1e-9);
            z += espesor[b.banco];
            masa += grano[b.banco] * espesor[b.banco];
        }
        EXPECT_NEAR(p.espesor_sedimentos, z, 1e-9);
        // No pores: the mean density is the grains' own.
        EXPECT_NEAR(p.densidad_media, masa / z, 1e-9);
    }
}

TEST(Historia, ElPasoSuperiorEsLaColumnaActual)
{
    auto s = ejemplo();
    const ResultadoHistoria r = calcula_historia(*s);
    ASSERT_TRUE(r.ok()) << r.error;
    ASSERT_EQ(r.historia.pasos.size(), 12u);
    const PasoHistoria& hoy = r.historia.pasos.front();
    EXPECT_EQ(hoy.banco_superior, 12);
    ASSERT_EQ(hoy.bancos.size(), 12u);
    for (const HorizontesBanco& b : hoy.bancos) {
        EXPECT_NEAR(b.techo, s->techo[b.banco], 1e-6) << "banco " << b.banco;
        EXPECT_NEAR(b.base, s->base[b.banco], 1e-6) << "banco " << b.banco;
    }
    EXPECT_NEAR(hoy.espesor_sedimentos, 2400, 1e-6);
    // Each step holds beds banco_superior..1, top first, one step per bed.
    for (std::size_t k = 0; k < r.historia.pasos.size(); ++k) {
        const PasoHistoria& p = r.historia.pasos[k];
        EXPECT_EQ(p.banco_superior, 12 - static_cast<int>(k));
        EXPECT_EQ(p.edad, s->edad_techo[p.banco_superior]);
        ASSERT_EQ(p.bancos.size(), static_cast<std::size_t>(p.banco_superior));
        for (std::size_t b = 0; b < p.bancos.size(); ++b)
            EXPECT_EQ(p.bancos[b].banco, p.banco_superior - static_cast<int>(b));
    }
}

TEST(Historia, CadaBancoConservaSuSolidoEnCadaPaso)
{
    auto s = ejemplo();
    const ResultadoHistoria r = calcula_historia(*s);
    ASSERT_TRUE(r.ok()) << r.error;
    int movidos = 0;
    for (const PasoHistoria& p : r.historia.pasos) {
        double arriba = 0;
        for (const HorizontesBanco& b : p.bancos) {
            const int i = b.banco;
            const long double c = s->coef_porosidad[i] / 1000.0L;
            const long double phi = s->porosidad[i];
            EXPECT_EQ(b.techo, arriba) << "paso " << p.banco_superior << " banco " << i;
            EXPECT_NEAR(static_cast<double>(solido(b.techo, b.base, phi, c)),
                        static_cast<double>(solido(s->techo[i], s->base[i], phi, c)), 1e-6)
                << "paso " << p.banco_superior << " banco " << i;
            arriba = b.base;
            ++movidos;
        }
    }
    EXPECT_EQ(movidos, 12 * 13 / 2);
}

TEST(Historia, ElPasoMasViejoEsLaDescompactacionContinuaDelBanco1)
{
    auto s = ejemplo();
    const ResultadoHistoria r = calcula_historia(*s);
    ASSERT_TRUE(r.ok()) << r.error;
    const PasoHistoria& ultimo = r.historia.pasos.back();
    ASSERT_EQ(ultimo.banco_superior, 1);
    const long double c = s->coef_porosidad[1] / 1000.0L;
    const long double phi = s->porosidad[1];
    const long double esperado = por_biseccion(solido(s->techo[1], s->base[1], phi, c), phi, c, 0);
    EXPECT_NEAR(ultimo.bancos[0].base, static_cast<double>(esperado), 1e-6);
    // The 1 m grid of the per-bed decompaction lands within half a metre.
    ASSERT_TRUE(tevarro(*s).ok());
    EXPECT_NEAR(ultimo.bancos[0].base, s->base_descomp[1], 0.5);
}

TEST(Historia, TasaTectonica)
{
    // Three beds, the two upper ones of the same age: no rate between them.
    auto s = columna(3);
    pon_banco(*s, 1, 200, 300, 0, 0.5f);
    pon_banco(*s, 2, 100, 200, 0, 0.5f);
    pon_banco(*s, 3, 0, 100, 0, 0.5f);
    s->edad_techo[1] = 30;
    s->edad_techo[2] = 10;
    s->edad_techo[3] = 10;
    const ResultadoHistoria r = calcula_historia(*s);
    ASSERT_TRUE(r.ok()) << r.error;
    const auto& p = r.historia.pasos;
    ASSERT_EQ(p.size(), 3u);
    EXPECT_FALSE(p[0].tasa_tectonica.has_value()); // the youngest
    EXPECT_FALSE(p[1].tasa_tectonica.has_value()); // 10 Ma and 10 Ma
    ASSERT_TRUE(p[2].tasa_tectonica.has_value());
    // Porosity 0, sandstone: Y = S (3300 - 2650) / 2300 + W - sea level term.
    // From 30 Ma (S 100; halfway between the rows of 20 and 40 Ma, sea level
    // 25) to 10 Ma (S 200; halfway between 0 and 20 Ma, sea level 0).
    const double y30 = 100.0 * 650 / 2300 - 25.0 * 3300 / 2300;
    const double y10 = 200.0 * 650 / 2300;
    EXPECT_NEAR(p[2].subsidencia_tectonica, y30, 1e-9);
    EXPECT_NEAR(p[1].subsidencia_tectonica, y10, 1e-9);
    EXPECT_NEAR(*p[2].tasa_tectonica, (y10 - y30) / 20, 1e-9);
}

TEST(Historia, DensidadDeGranoDeLaMezclaYDeOtraLitologia)
{
    // One bed with porosity 0.5 at the surface: pores and solid halves of a
    // thickness kept (top at 0), so the mean density is (grain + 1000) / 2.
    auto s = columna(1);
    pon_banco(*s, 1, 0, 100, 0.5f, 0.5f, kPorcentual);
    s->pct_arenisca[1] = 40;
    s->pct_pelita[1] = 60;
    ResultadoHistoria r = calcula_historia(*s);
    ASSERT_TRUE(r.ok()) << r.error;
    const double t = 100, c = 0.0005;
    const double poros = 0.5 / c * (1 - std::exp(-c * t));
    const double mezcla = (40 * 2650 + 60 * 2720) / 100.0; // 2692
    EXPECT_NEAR(r.historia.pasos[0].densidad_media, (mezcla * (t - poros) + 1000 * poros) / t,
                1e-9);

    s->litologia[1] = "areniscas"; // not a lithology: no grains
    r = calcula_historia(*s);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_NEAR(r.historia.pasos[0].densidad_media, 1000 * poros / t, 1e-9);
}

TEST(Historia, UnaColumnaSinBancosNoTienePasos)
{
    auto s = columna(0);
    const ResultadoHistoria r = calcula_historia(*s);
    EXPECT_TRUE(r.ok());
    EXPECT_TRUE(r.historia.pasos.empty());
}

TEST(Historia, UnBancoMaloDejaLaColumnaSinHistoriaYSeNombra)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        const char* que;
        void (*estropea)(Store&, float, float);
        CampoHistoria campo;
        const char* texto;
    } casos[] = {
        {"coeficiente 0", [](Store& s, float, float) { s.coef_porosidad[2] = 0; },
         CampoHistoria::coef_porosidad, "coeficiente porosidad-profundidad es 0 y debe ser mayor"},
        {"coeficiente negativo", [](Store& s, float, float) { s.coef_porosidad[2] = -0.5f; },
         CampoHistoria::coef_porosidad, "es -0.5 y debe ser mayor que 0"},
        {"porosidad 1", [](Store& s, float, float) { s.porosidad[2] = 1; },
         CampoHistoria::porosidad, "porosidad es 1 y debe estar entre 0 y 1"},
        {"porosidad negativa", [](Store& s, float, float) { s.porosidad[2] = -0.1f; },
         CampoHistoria::porosidad, "porosidad es -0.1"},
        {"techo NaN", [](Store& s, float n, float) { s.techo[2] = n; }, CampoHistoria::techo,
         "su techo no es un número finito"},
        {"paleobatimetría infinita", [](Store& s, float, float i) { s.paleobatimetria[2] = i; },
         CampoHistoria::paleobatimetria, "su paleobatimetría no es un número finito"},
        {"edad de la base NaN", [](Store& s, float n, float) { s.edad_base[2] = n; },
         CampoHistoria::edad_base, "la edad de su base no es un número finito"},
        {"porcentaje NaN",
         [](Store& s, float n, float) {
             s.litologia[2] = kPorcentual;
             s.pct_caliza[2] = n;
         },
         CampoHistoria::pct_caliza, "su porcentaje de caliza no es un número finito"},
        {"base sobre el techo", [](Store& s, float, float) { s.base[2] = 50; }, CampoHistoria::base,
         "su base (50 m) está por encima de su techo (100 m)"},
    };
    for (const auto& caso : casos) {
        auto s = columna(3);
        pon_banco(*s, 1, 200, 300, 0.5f, 0.5f);
        pon_banco(*s, 2, 100, 200, 0.5f, 0.5f);
        pon_banco(*s, 3, 0, 100, 0.5f, 0.5f);
        s->nombre[2] = "Margas";
        ASSERT_TRUE(calcula_historia(*s).ok());
        caso.estropea(*s, nan, inf);
        const ResultadoHistoria r = calcula_historia(*s);
        EXPECT_FALSE(r.ok()) << caso.que;
        EXPECT_TRUE(r.historia.pasos.empty()) << caso.que;
        EXPECT_EQ(r.banco, 2) << caso.que;
        EXPECT_EQ(r.campo, caso.campo) << caso.que;
        EXPECT_NE(r.error.find("El banco 2 («Margas») no tiene historia de enterramiento"),
                  std::string::npos)
            << r.error;
        EXPECT_NE(r.error.find(caso.texto), std::string::npos) << caso.que << ": " << r.error;
    }
}

TEST(EspesorMovido, IgualALaBiseccionEnCasosExtremos)
{
    const struct {
        double z1, z2, phi, c, z1p;
    } casos[] = {
        {1000, 1100, 0.63, 0.51e-3, 0},    // an ordinary bed
        {9000, 9001, 0.9, 5e-3, 0},        // 1 m, deep, strong compaction
        {0, 5000, 0.99, 2e-3, 0},          // almost all water at the surface
        {3000, 8000, 0.7, 1e-9, 10},       // almost no compaction
        {500, 500, 0.5, 0.5e-3, 0},        // no thickness
        {2000, 3000, 0.49, 0.27e-3, 1500}, // moved part of the way up
        {0, 20000, 0.6, 0.4e-3, 0},        // beyond the 10000 m of the grid
        {100, 200, 0, 0.5e-3, 40},         // no pores
    };
    for (const auto& k : casos) {
        const long double sol = solido(k.z1, k.z2, k.phi, k.c);
        const long double esperado = por_biseccion(sol, k.phi, k.c, k.z1p);
        const double t = espesor_movido(k.z1, k.z2, k.phi, k.c, k.z1p);
        EXPECT_NEAR(t, static_cast<double>(esperado), 1e-6)
            << k.z1 << ".." << k.z2 << " phi " << k.phi << " c " << k.c;
    }
}

TEST(EspesorMovido, IgualALaBiseccionEnColumnasAlAzar)
{
    std::mt19937 azar(20261209);
    std::uniform_real_distribution<double> profundidad(0, 12000), espesor(0, 3000),
        porosidad(0, 0.95), coef_km(0.01, 2.0), fraccion(0, 1);
    for (int k = 0; k < 3000; ++k) {
        const double z1 = profundidad(azar), z2 = z1 + espesor(azar);
        const double phi = porosidad(azar), c = coef_km(azar) / 1000;
        const double z1p = z1 * fraccion(azar); // moved up, part of the way or all
        const long double esperado = por_biseccion(solido(z1, z2, phi, c), phi, c, z1p);
        ASSERT_NEAR(espesor_movido(z1, z2, phi, c, z1p), static_cast<double>(esperado), 1e-6)
            << z1 << ".." << z2 << " phi " << phi << " c " << c << " a " << z1p;
    }
}

} // namespace
} // namespace tev
