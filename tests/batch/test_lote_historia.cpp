// The batch tool's burial history: --historia, --enterramiento and
// --historia-imagen; PDF pictures of the curves and the column.

#include "batch/imagenes_lote.h"
#include "batch/lote_de_prueba.h"
#include "compute/historia.h"
#include "model/store.h"
#include "project_file/formatos.h"
#include "project_file/informe_historia.h"

#include <gtest/gtest.h>

#include <QImage>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace tev {
namespace {

namespace fs = std::filesystem;
const std::string kEjemplo = TEVARRO_SOURCE_DIR "/examples/neuquen.tev";

using prueba::Ejecucion;
using prueba::ejecuta;
using prueba::lee;
using prueba::lineas_de;

std::string temporal(const std::string& nombre, const std::string& bytes = {})
{
    return prueba::archivo_temporal("tevarro_hist_", nombre, bytes);
}

TEST(LoteHistoria, NumerosRedondeadosASeisDecimalesLoMasBreves)
{
    EXPECT_EQ(numero_historia(2050.1234567), "2050.123457");
    EXPECT_EQ(numero_historia(85), "85");
    EXPECT_EQ(numero_historia(0.1 + 0.2), "0.3"); // 0.30000000000000004
    EXPECT_EQ(numero_historia(1.9999996), "2");
    EXPECT_EQ(numero_historia(-0.0000001), "0"); // never "-0"
}

TEST(LoteHistoria, HistoriaYEnterramientoDelEjemplo)
{
    const Ejecucion r = ejecuta({"--historia", kEjemplo});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    const auto lineas = lineas_de(r.salida);
    ASSERT_EQ(lineas.size(), 13u);
    EXPECT_EQ(lineas[0], (std::vector<std::string>{
                             "archivo", "edad", "banco_superior", "espesor_sedimentos",
                             "densidad_media", "paleobatimetria", "nivel_mar", "subsidencia_total",
                             "subsidencia_tectonica", "tasa_tectonica"}));
    const LecturaColumna l = lee_archivo(kEjemplo);
    auto s = std::make_unique<Store>();
    valores_de_arranque(*s);
    carga_columna(*s, l.bancos);
    const ResultadoHistoria h = calcula_historia(*s);
    ASSERT_TRUE(h.ok());
    for (std::size_t k = 0; k < 12; ++k) {
        const PasoHistoria& p = h.historia.pasos[k];
        const std::string tasa = p.tasa_tectonica ? numero_historia(*p.tasa_tectonica) : "";
        EXPECT_EQ(lineas[k + 1],
                  (std::vector<std::string>{
                      kEjemplo, numero_historia(p.edad), std::to_string(12 - k),
                      numero_historia(p.espesor_sedimentos), numero_historia(p.densidad_media),
                      numero_historia(p.paleobatimetria), numero_historia(p.nivel_mar),
                      numero_historia(p.subsidencia_total),
                      numero_historia(p.subsidencia_tectonica), tasa}));
    }
    EXPECT_EQ(lineas[1][3], "2400"); // the present column
    EXPECT_EQ(lineas[1][9], "");     // and no rate

    const auto bancos = lineas_de(ejecuta({"--enterramiento", kEjemplo}).salida);
    ASSERT_EQ(bancos.size(), 1u + 12 * 13 / 2);
    EXPECT_EQ(bancos[0], (std::vector<std::string>{"archivo", "edad", "banco", "techo", "base"}));
    EXPECT_EQ(bancos[12], (std::vector<std::string>{kEjemplo, "0", "1", "2050", "2400"}));
    EXPECT_EQ(bancos.back(),
              (std::vector<std::string>{kEjemplo, "150", "1", "0",
                                        numero_historia(h.historia.pasos[11].bancos[0].base)}));
}

TEST(LoteHistoria, SinHistoriaSeNombraYLosDemasSalen)
{
    const std::string malo = temporal(
        "cero.tev", "B, 100 , 200 , 5 , 10 ,Pelitas, 0 , .63 , 0 , 0 , 0 , 0 , 0 , 0 \r\n"
                    "A, 0 , 100 , 0 , 5 ,Areniscas, 0 , .49 , .27 , 0 , 0 , 0 , 0 , 0 \r\n");
    const Ejecucion r = ejecuta({"--historia", malo, kEjemplo});
    EXPECT_EQ(r.codigo, 1);
    // Said once, as the history's own failure.
    EXPECT_EQ(r.errores, "«" + malo +
                             "»: El banco 1 («B») no tiene historia de enterramiento: su "
                             "coeficiente porosidad-profundidad es 0 y debe ser mayor que 0.\n");
    EXPECT_EQ(lineas_de(r.salida).size(), 13u);
}

TEST(LoteHistoria, ErroresDeUso)
{
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--csv", "--historia", kEjemplo},
             {"--historia-imagen", temporal("h.png"), kEjemplo, kEjemplo}})
        EXPECT_EQ(ejecuta(args).codigo, 2) << args[0] << " " << args[1];
}

TEST(LoteHistoria, ImagenesDeLaHistoriaYEnPdf)
{
    const std::string png = temporal("historia.png");
    const std::string curvas = temporal("curvas.pdf"), columna = temporal("columna.pdf");
    const Ejecucion r =
        ejecuta({"--historia-imagen", png, "--curvas", curvas, "--columna", columna, kEjemplo});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    const QImage img(QString::fromStdString(png));
    EXPECT_EQ(img.size(), QSize(900, 600));
    // Ages 180..0 Ma across x = 78..656, depths 0..2400 m down y = 52..584.
    // At 142 Ma (x = 200) bed 1, magenta, lies between 205 and 712 m, the
    // tectonic curve at 482 m: 300 m deep (y = 118) is bed 1 alone.
    EXPECT_EQ(img.pixelColor(200, 118), QColor(255, 0, 255));
    EXPECT_EQ(lee(curvas).rfind("%PDF-", 0), 0u);
    EXPECT_EQ(lee(columna).rfind("%PDF-", 0), 0u);

    const std::string malo =
        temporal("uno.tev", "A, 0 , 100 , 0 , 10 ,Areniscas, 0 , 1 , .27 , 0 , 0 , 0 , 0 , 0 \r\n");
    const std::string no_escrita = temporal("no_escrita.svg");
    const Ejecucion m = ejecuta({"--historia-imagen", no_escrita, malo});
    EXPECT_EQ(m.codigo, 1);
    EXPECT_FALSE(fs::exists(no_escrita));
    EXPECT_NE(m.errores.find("No se escribió la imagen de la historia «" + no_escrita),
              std::string::npos)
        << m.errores;
}

} // namespace
} // namespace tev
