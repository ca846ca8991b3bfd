// The batch tool's burial history: --historia, --enterramiento and
// --historia-imagen, and the PDF pictures of the curves and the column.

#include "batch/informe.h"
#include "batch/informe_historia.h"

#include "compute/historia.h"
#include "model/store.h"
#include "project_file/archivo_proyecto.h"

#include <gtest/gtest.h>

#include <QImage>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace tev {
namespace {

namespace fs = std::filesystem;

const std::string kEjemplo = std::string(TEVARRO_SOURCE_DIR) + "/examples/neuquen.tev";

struct Ejecucion {
    int codigo;
    std::string salida;
    std::string errores;
};

Ejecucion ejecuta(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int codigo = ejecuta_lote(args, out, err);
    return {codigo, out.str(), err.str()};
}

fs::path temporal(const std::string& nombre)
{
    const fs::path dir =
        fs::temp_directory_path() / ("tevarro_historia_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    return dir / nombre;
}

void escribe(const fs::path& ruta, const std::string& bytes)
{
    std::ofstream(ruta, std::ios::binary) << bytes;
}

std::string lee_bytes(const fs::path& ruta)
{
    std::ifstream f(ruta, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

// The lines of a CSV ended by CR LF, each split at its commas (no field of
// these tests is quoted). Fails on a line without its CR.
std::vector<std::vector<std::string>> lineas_de(const std::string& csv)
{
    std::vector<std::vector<std::string>> r;
    std::size_t desde = 0;
    while (desde < csv.size()) {
        const std::size_t fin = csv.find("\r\n", desde);
        EXPECT_NE(fin, std::string::npos) << "línea sin CR LF";
        if (fin == std::string::npos) break;
        const std::string linea = csv.substr(desde, fin - desde);
        EXPECT_EQ(linea.find('\n'), std::string::npos);
        std::vector<std::string> campos;
        std::size_t a = 0;
        for (;;) {
            const std::size_t coma = linea.find(',', a);
            campos.push_back(linea.substr(a, coma - a));
            if (coma == std::string::npos) break;
            a = coma + 1;
        }
        r.push_back(campos);
        desde = fin + 2;
    }
    return r;
}

ResultadoHistoria historia_del_ejemplo()
{
    const LecturaColumna l = lee_archivo(kEjemplo);
    EXPECT_TRUE(l.ok) << l.error;
    auto s = std::make_unique<Store>();
    valores_de_arranque(*s);
    carga_columna(*s, l.bancos);
    return calcula_historia(*s);
}

TEST(LoteHistoria, NumeroRedondeadoASeisDecimalesYLoMasBreve)
{
    EXPECT_EQ(numero_historia(2050.1234567), "2050.123457");
    EXPECT_EQ(numero_historia(2050.1234564), "2050.123456");
    EXPECT_EQ(numero_historia(85), "85");
    EXPECT_EQ(numero_historia(-20), "-20");
    EXPECT_EQ(numero_historia(0.1 + 0.2), "0.3"); // 0.30000000000000004 rounded
    EXPECT_EQ(numero_historia(1.9999996), "2");
    EXPECT_EQ(numero_historia(-0.0000001), "0"); // never "-0"
    EXPECT_EQ(numero_historia(-0.0), "0");
    // Whatever the text, it reads back to the double nearest the rounded value.
    for (double v : {1277.428531884, -6.8446603, 0.0000005001, 123456789.1234565}) {
        const double redondeado = std::round(v * 1e6) / 1e6;
        EXPECT_NEAR(std::stod(numero_historia(v)), redondeado, 1e-9 * std::max(1.0, std::fabs(v)))
            << v;
    }
}

TEST(LoteHistoria, HistoriaDelEjemplo)
{
    const Ejecucion r = ejecuta({"--historia", kEjemplo});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_TRUE(r.errores.empty()) << r.errores;
    EXPECT_EQ(r.salida.rfind("archivo,edad,banco_superior,espesor_sedimentos,densidad_media,"
                             "paleobatimetria,nivel_mar,subsidencia_total,"
                             "subsidencia_tectonica,tasa_tectonica\r\n",
                             0),
              0u);
    const auto lineas = lineas_de(r.salida);
    ASSERT_EQ(lineas.size(), 13u);

    const ResultadoHistoria h = historia_del_ejemplo();
    ASSERT_TRUE(h.ok()) << h.error;
    for (std::size_t k = 0; k < h.historia.pasos.size(); ++k) {
        const PasoHistoria& p = h.historia.pasos[k];
        const auto& c = lineas[k + 1];
        ASSERT_EQ(c.size(), 10u);
        EXPECT_EQ(c[0], kEjemplo);
        EXPECT_EQ(c[2], std::to_string(12 - static_cast<int>(k))); // from the top bed down
        const std::pair<std::size_t, double> numeros[] = {{1, p.edad},
                                                          {3, p.espesor_sedimentos},
                                                          {4, p.densidad_media},
                                                          {5, p.paleobatimetria},
                                                          {6, p.nivel_mar},
                                                          {7, p.subsidencia_total},
                                                          {8, p.subsidencia_tectonica}};
        for (const auto& [f, v] : numeros) {
            EXPECT_EQ(c[f], numero_historia(v)) << "paso " << p.banco_superior << " campo " << f;
            EXPECT_NEAR(std::stod(c[f]), v, 5e-7) << "paso " << p.banco_superior << " campo " << f;
        }
        if (k == 0) {
            EXPECT_EQ(c[9], ""); // the present step has no rate
        } else {
            ASSERT_TRUE(p.tasa_tectonica.has_value());
            EXPECT_NEAR(std::stod(c[9]), *p.tasa_tectonica, 5e-7);
        }
    }
    // The present column of the example, read straight from the file.
    EXPECT_EQ(lineas[1][1], "0");
    EXPECT_EQ(lineas[1][3], "2400");
    EXPECT_EQ(lineas[12][1], "150"); // the top of bed 1
}

TEST(LoteHistoria, EnterramientoDeCadaBancoEnCadaPaso)
{
    const Ejecucion r = ejecuta({"--enterramiento", kEjemplo});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    const auto lineas = lineas_de(r.salida);
    ASSERT_EQ(lineas.size(), 1u + 12 * 13 / 2);
    EXPECT_EQ(lineas[0], (std::vector<std::string>{"archivo", "edad", "banco", "techo", "base"}));
    // The present column first: bed 12 at 0..85 m, ..., bed 1 at 2050..2400 m.
    EXPECT_EQ(lineas[1], (std::vector<std::string>{kEjemplo, "0", "12", "0", "85"}));
    EXPECT_EQ(lineas[12], (std::vector<std::string>{kEjemplo, "0", "1", "2050", "2400"}));
    // Then bed 11 at the sea floor at 2 Ma; the last line is bed 1 alone.
    EXPECT_EQ(lineas[13][1], "2");
    EXPECT_EQ(lineas[13][2], "11");
    EXPECT_EQ(lineas[13][3], "0");
    const ResultadoHistoria h = historia_del_ejemplo();
    ASSERT_TRUE(h.ok());
    const auto& ultima = lineas.back();
    EXPECT_EQ(ultima[1], "150");
    EXPECT_EQ(ultima[2], "1");
    EXPECT_EQ(ultima[3], "0");
    EXPECT_EQ(ultima[4], numero_historia(h.historia.pasos.back().bancos[0].base));
    // Within a step each top lies on the base above it.
    for (std::size_t k = 2; k < lineas.size(); ++k) {
        if (lineas[k][1] == lineas[k - 1][1]) {
            EXPECT_EQ(lineas[k][3], lineas[k - 1][4]);
        }
    }
}

TEST(LoteHistoria, UnaColumnaSinHistoriaSeNombraYLasDemasSalen)
{
    const fs::path malo = temporal("coef_cero.tev");
    escribe(malo,
            "B, 100 , 200 , 5 , 10 ,Pelitas, 16777215 , .63 , 0 , 0 , 0 , 0 , 0 , 0 \r\n"
            "Arriba, 0 , 100 , 0 , 5 ,Areniscas, 16777215 , .49 , .27 , 0 , 0 , 0 , 0 , 0 \r\n");
    for (const char* opcion : {"--historia", "--enterramiento"}) {
        const Ejecucion r = ejecuta({opcion, malo.string(), kEjemplo});
        EXPECT_EQ(r.codigo, 1) << opcion;
        EXPECT_NE(r.errores.find("«" + malo.string() +
                                 "»: El banco 1 («B») no tiene historia de "
                                 "enterramiento: su coeficiente porosidad-profundidad es 0"),
                  std::string::npos)
            << r.errores;
        // Said once, not also as a failure of the per-bed decompaction.
        EXPECT_EQ(r.errores.find("División por cero"), std::string::npos) << r.errores;
        // Header and the example's lines, none of the bad file.
        EXPECT_EQ(r.salida.find(malo.string()), std::string::npos);
        EXPECT_EQ(lineas_de(r.salida).size(), 1u + (opcion[2] == 'h' ? 12u : 12u * 13 / 2))
            << opcion;
    }
}

TEST(LoteHistoria, LaHistoriaNoDependeDeLaRejillaPorBanco)
{
    // 150 km of rock without pores: beyond the 10000 m of the per-bed search,
    // which fails, but the history needs no grid.
    const fs::path grueso = temporal("grueso.tev");
    escribe(grueso, "G, 0 , 150000 , 0 , 10 ,Areniscas, 255 , 0 , .27 , 0 , 0 , 0 , 0 , 0 \r\n");
    const Ejecucion tabla = ejecuta({grueso.string()});
    EXPECT_EQ(tabla.codigo, 1);
    const Ejecucion r = ejecuta({"--historia", grueso.string()});
    EXPECT_EQ(r.codigo, 0) << r.errores;
    EXPECT_TRUE(r.errores.empty()) << r.errores;
    const auto lineas = lineas_de(r.salida);
    ASSERT_EQ(lineas.size(), 2u);
    EXPECT_EQ(lineas[1][3], "150000");
    EXPECT_EQ(lineas[1][4], "2650");
}

TEST(LoteHistoria, ErroresDeUso)
{
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--csv", "--historia", kEjemplo},
             {"--historia", "--enterramiento", kEjemplo},
             {"--csv", "--enterramiento", kEjemplo},
             {"--historia-imagen"},
             {"--historia-imagen", "", kEjemplo},
             {"--historia-imagen", temporal("h.png").string(), kEjemplo, kEjemplo}}) {
        const Ejecucion r = ejecuta(args);
        EXPECT_EQ(r.codigo, 2) << args[0] << " " << args[1];
        EXPECT_TRUE(r.salida.empty());
    }
    const Ejecucion ayuda = ejecuta({"--help"});
    for (const char* opcion : {"--historia ", "--enterramiento ", "--historia-imagen "})
        EXPECT_NE(ayuda.salida.find(opcion), std::string::npos) << opcion;
}

TEST(LoteHistoria, ImagenDeLaHistoria)
{
    const fs::path png = temporal("historia.png");
    Ejecucion r = ejecuta({"--historia-imagen", png.string(), kEjemplo});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    // The table as usual, and the picture beside it.
    EXPECT_NE(r.salida.find("(12 bancos)"), std::string::npos);
    const QImage img(QString::fromStdString(png.string()));
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img.size(), QSize(900, 600));
    // Ages 180..0 Ma across x = 78..656, depths 0..2400 m down y = 52..584.
    // At 142 Ma (x = 200) bed 1, magenta, lies between 205 and 712 m, and the
    // tectonic curve at 482 m: 300 m deep (y = 118) is bed 1 alone.
    EXPECT_EQ(img.pixelColor(200, 118), QColor(255, 0, 255));

    const fs::path svg = temporal("historia.svg");
    r = ejecuta({"--historia", "--historia-imagen", svg.string(), kEjemplo});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_NE(r.salida.find("subsidencia_tectonica"), std::string::npos);
    EXPECT_NE(lee_bytes(svg).find("<svg"), std::string::npos);
    EXPECT_NE(lee_bytes(svg).find("Historia de enterramiento"), std::string::npos);
    const fs::path pdf = temporal("historia.pdf");
    r = ejecuta({"--historia-imagen", pdf.string(), kEjemplo});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_EQ(lee_bytes(pdf).rfind("%PDF-", 0), 0u);

    // No history, no picture, and the reason named.
    const fs::path malo = temporal("poros_uno.tev");
    escribe(malo, "A, 0 , 100 , 0 , 10 ,Areniscas, 255 , 1 , .27 , 0 , 0 , 0 , 0 , 0 \r\n");
    const fs::path no_escrita = temporal("no_escrita.png");
    r = ejecuta({"--historia-imagen", no_escrita.string(), malo.string()});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_FALSE(fs::exists(no_escrita));
    EXPECT_NE(r.errores.find("su porosidad es 1"), std::string::npos) << r.errores;
    EXPECT_NE(r.errores.find("No se escribió la imagen de la historia «" + no_escrita.string()),
              std::string::npos)
        << r.errores;
}

TEST(LoteHistoria, CurvasYColumnaEnPdf)
{
    const fs::path curvas = temporal("curvas.pdf");
    const fs::path columna = temporal("columna.PDF");
    const Ejecucion r =
        ejecuta({"--curvas", curvas.string(), "--columna", columna.string(), kEjemplo});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    for (const fs::path& f : {curvas, columna}) {
        const std::string bytes = lee_bytes(f);
        EXPECT_EQ(bytes.rfind("%PDF-", 0), 0u) << f;
        EXPECT_NE(bytes.find("%%EOF"), std::string::npos) << f;
    }
}

} // namespace
} // namespace tev
