// The batch tool's uncertainty run: --incertidumbre, --semilla and the
// --rango-* options.

#include "batch/imagenes_lote.h"
#include "batch/lote_de_prueba.h"
#include "drawing/dibujo_historia.h" // the bands' colours

#include <gtest/gtest.h>

#include <QImage>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace tev {
namespace {

const std::string kEjemplo = TEVARRO_SOURCE_DIR "/examples/neuquen.tev";

using prueba::Ejecucion;
using prueba::ejecuta;

std::string temporal_incertidumbre(const std::string& nombre, const std::string& bytes = {})
{
    return prueba::archivo_temporal("tevarro_incert_", nombre, bytes);
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

namespace tev {
namespace {

// A colour seen through one layer of a semi-transparent one.
QColor a_traves(const QColor& fondo, const QColor& capa)
{
    const double a = capa.alphaF();
    const auto mezcla = [a](double c, double f) { return static_cast<int>(c * a + f * (1 - a)); };
    return {mezcla(capa.red(), fondo.red()), mezcla(capa.green(), fondo.green()),
            mezcla(capa.blue(), fondo.blue())};
}

bool parecido(const QColor& a, const QColor& b)
{
    return std::abs(a.red() - b.red()) <= 2 && std::abs(a.green() - b.green()) <= 2 &&
           std::abs(a.blue() - b.blue()) <= 2;
}

TEST(LoteIncertidumbre, LaImagenDeLasBandas)
{
    // Two beds without pores, 100 m each under 100 m of water, no sea level:
    // bed 1 (red) from 20 to 10 Ma, bed 2 (green) from 10 to 0 Ma. The
    // tectonic subsidence is 100 m + S (3300 - 2650) / 2300: 128.26 m at
    // 10 Ma, 156.52 m at 0 Ma; the total 200 and 300 m. A water depth of
    // ±20 m moves both by as much, so their p-th percentiles lie
    // (2p/100 - 1) 20 m from the history's.
    const std::string columna = temporal_incertidumbre(
        "dos.tev", "B1, 100 , 200 , 10 , 20 ,Areniscas, 255 , 0 , .5 , 100 , 0 , 0 , 0 , 0 \r\n"
                   "B2, 0 , 100 , 0 , 10 ,Areniscas, 65280 , 0 , .5 , 100 , 0 , 0 , 0 , 0 \r\n");
    const std::string png = temporal_incertidumbre("bandas.png");
    const Ejecucion r = ejecuta({"--incertidumbre", "4000", "--rango-paleobatimetria", "20",
                                 "--nivel-mar", "ninguno", "--incertidumbre-imagen", png, columna});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    const QImage img(QString::fromStdString(png));
    ASSERT_EQ(img.size(), QSize(900, 600));
    // The deepest band end, 319.5 m, takes the depths to 350 m in steps of
    // 50: the plot runs from x = 78 to 656 (20..0 Ma) and y = 52 to 584.
    const auto color = [&](double edad, double prof) {
        return img.pixelColor(
            QPointF(78 + (20 - edad) / 20 * 578, 52 + prof / 350 * 532).toPoint());
    };
    // At 5 Ma: tectonic 142.39 m, its band 122.9..161.9 m (16-84 %:
    // 128.8..156 m); total 250 m, its band 230.5..269.5 m. Bed 1 spans
    // 50..150 m below the sea floor, nothing lies below it.
    const QColor rojo(255, 0, 0), blanco(255, 255, 255);
    EXPECT_EQ(color(5, 112), rojo);
    EXPECT_TRUE(parecido(color(5, 126), a_traves(rojo, kColorBandaTectonica)));
    EXPECT_EQ(color(5, 172), blanco);
    EXPECT_EQ(color(5, 222), blanco);
    EXPECT_TRUE(parecido(color(5, 240), a_traves(blanco, kColorBandaTotal)));
    EXPECT_EQ(color(5, 278), blanco);
    // Before the oldest step there is no band.
    EXPECT_EQ(color(12, 240), blanco);

    // Without --incertidumbre the picture has nothing to show.
    const Ejecucion sola = ejecuta({"--incertidumbre-imagen", png, columna});
    EXPECT_EQ(sola.codigo, 2);
    EXPECT_NE(
        sola.errores.find("tevarro-batch: --incertidumbre-imagen sólo vale con --incertidumbre N."),
        std::string::npos)
        << sola.errores;
    const Ejecucion dos =
        ejecuta({"--incertidumbre", "10", "--incertidumbre-imagen", png, columna, columna});
    EXPECT_EQ(dos.codigo, 2);
    EXPECT_NE(dos.errores.find("--incertidumbre-imagen trabaja con una sola columna"),
              std::string::npos);
}

} // namespace
} // namespace tev
