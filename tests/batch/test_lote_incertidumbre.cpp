// The batch tool's uncertainty run: --incertidumbre, --semilla and the
// --rango-* options.

#include "batch/imagenes_lote.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace tev {
namespace {

const std::string kEjemplo = TEVARRO_SOURCE_DIR "/examples/neuquen.tev";

struct Ejecucion {
    int codigo;
    std::string salida, errores;
};

Ejecucion ejecuta(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int codigo = ejecuta_lote(args, out, err);
    return {codigo, out.str(), err.str()};
}

// The CSV's lines (CR LF ended), each split at its commas.
std::vector<std::vector<std::string>> filas(const std::string& csv)
{
    std::vector<std::vector<std::string>> r;
    std::istringstream in(csv);
    for (std::string l; std::getline(in, l);) {
        if (!l.empty() && l.back() == '\r') l.pop_back();
        std::vector<std::string> celdas;
        std::istringstream c(l);
        for (std::string x; std::getline(c, x, ',');)
            celdas.push_back(x);
        r.push_back(celdas);
    }
    return r;
}

TEST(LoteIncertidumbre, LaHistoriaYSusPercentilesPorPaso)
{
    const Ejecucion h = ejecuta({"--historia", kEjemplo});
    const Ejecucion i =
        ejecuta({"--incertidumbre", "4000", "--rango-paleobatimetria", "20", kEjemplo});
    ASSERT_EQ(i.codigo, 0) << i.errores;
    EXPECT_EQ(i.errores, "");
    const auto fh = filas(h.salida);
    const auto fi = filas(i.salida);
    ASSERT_EQ(fi.size(), fh.size());
    EXPECT_EQ(i.salida.substr(0, i.salida.find('\n') + 1),
              "archivo,edad,banco_superior,subsidencia_tectonica,tectonica_p2_5,tectonica_p16,"
              "tectonica_p50,tectonica_p84,tectonica_p97_5,subsidencia_total,total_p2_5,"
              "total_p50,total_p97_5,edad_p2_5,edad_p97_5\r\n");
    for (size_t k = 1; k < fi.size(); ++k) {
        ASSERT_EQ(fi[k].size(), 15u);
        // The history's own values, as --historia writes them.
        EXPECT_EQ(fi[k][1], fh[k][1]);
        EXPECT_EQ(fi[k][2], fh[k][2]);
        EXPECT_EQ(fi[k][3], fh[k][8]);
        EXPECT_EQ(fi[k][9], fh[k][7]);
        // W ± 20 m uniform moves both subsidences by as much: the p-th
        // percentile lies (2p/100 - 1) 20 m from the history's.
        const double tect = std::stod(fh[k][8]);
        const double pct[] = {2.5, 16, 50, 84, 97.5};
        for (int q = 0; q < 5; ++q)
            EXPECT_NEAR(std::stod(fi[k][4 + q]), tect + (pct[q] / 50 - 1) * 20, 0.8)
                << k << " p" << pct[q];
        EXPECT_NEAR(std::stod(fi[k][12]), std::stod(fh[k][7]) + 19, 0.8); // p97.5
        // The ages were not drawn.
        EXPECT_EQ(fi[k][13], fh[k][1]);
        EXPECT_EQ(fi[k][14], fh[k][1]);
    }
}

TEST(LoteIncertidumbre, LaSemillaDecideLosBytes)
{
    const std::vector<std::string> rangos = {"--rango-porosidad", "0.1", "--rango-coef",      "0.1",
                                             "--rango-edad",      "1",   "--rango-nivel-mar", "5"};
    auto con = [&](const std::vector<std::string>& mas) {
        std::vector<std::string> a = {"--incertidumbre", "200"};
        a.insert(a.end(), rangos.begin(), rangos.end());
        a.insert(a.end(), mas.begin(), mas.end());
        a.push_back(kEjemplo);
        return ejecuta(a);
    };
    const Ejecucion uno = con({});
    ASSERT_EQ(uno.codigo, 0) << uno.errores;
    EXPECT_EQ(con({"--semilla", "1"}).salida, uno.salida); // 1 is the default
    EXPECT_NE(con({"--semilla", "2"}).salida, uno.salida);
}

TEST(LoteIncertidumbre, ErroresDeUso)
{
    const struct {
        std::vector<std::string> args;
        const char* mensaje;
    } casos[] = {
        {{"--incertidumbre", "0", kEjemplo},
         "el número de tiradas tras --incertidumbre, «0», debe ser un entero entre 1 y 1000000."},
        {{"--semilla", "3", kEjemplo}, "--semilla sólo vale con --incertidumbre N."},
        {{"--incertidumbre", "10", "--rango-edad", "-1", kEjemplo},
         "el valor tras --rango-edad, «-1», debe ser un número no negativo (Ma)."},
        {{"--incertidumbre", "10", "--historia", kEjemplo},
         "--incertidumbre escribe una tabla distinta"},
    };
    for (const auto& c : casos) {
        const Ejecucion e = ejecuta(c.args);
        EXPECT_EQ(e.codigo, 2);
        EXPECT_NE(e.errores.find(std::string("tevarro-batch: ") + c.mensaje), std::string::npos)
            << e.errores;
    }
}

} // namespace
} // namespace tev

namespace tev {
namespace {

TEST(LoteIncertidumbre, ConEstiramientoLaLineaDelAjusteYSusPercentiles)
{
    const Ejecucion solo = ejecuta({"--estiramiento", kEjemplo});
    const Ejecucion sin_rangos = ejecuta({"--estiramiento", "--incertidumbre", "20", kEjemplo});
    ASSERT_EQ(sin_rangos.codigo, 0) << sin_rangos.errores;
    const auto fs = filas(solo.salida);
    const auto fi = filas(sin_rangos.salida);
    ASSERT_EQ(fi.size(), 2u);
    EXPECT_EQ(sin_rangos.salida.substr(0, sin_rangos.salida.find('\n') + 1),
              "archivo,modo,constantes,beta,edad_rift,corteza,rms,puntos,en_limite,beta_p2_5,"
              "beta_p50,beta_p97_5,edad_rift_p2_5,edad_rift_p50,edad_rift_p97_5\r\n");
    // The fit's own line first; with no range every draw is the column itself,
    // so every refit finds the fit's beta and rift age (to the rounding of
    // the points the line's fit takes).
    ASSERT_EQ(fi[1].size(), 15u);
    for (size_t c = 0; c < 9; ++c)
        EXPECT_EQ(fi[1][c], fs[1][c]) << c;
    for (size_t c = 9; c < 12; ++c)
        EXPECT_NEAR(std::stod(fi[1][c]), std::stod(fs[1][3]), 1e-4) << c;
    for (size_t c = 12; c < 15; ++c)
        EXPECT_NEAR(std::stod(fi[1][c]), std::stod(fs[1][4]), 1e-2) << c;

    const Ejecucion con = ejecuta(
        {"--estiramiento", "--incertidumbre", "100", "--rango-paleobatimetria", "50", kEjemplo});
    ASSERT_EQ(con.codigo, 0) << con.errores;
    const auto fc = filas(con.salida);
    ASSERT_EQ(fc.size(), 2u);
    EXPECT_LT(std::stod(fc[1][9]), std::stod(fc[1][11])); // the draws spread beta
}

} // namespace
} // namespace tev
