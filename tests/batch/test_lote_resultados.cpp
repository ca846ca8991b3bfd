// "Exportar resultados…" in the comma form against the batch tool itself:
// what resultados_csv writes is what `--csv` and `--historia` print.

#include "batch/informe.h"
#include "compute/tevarro.h"
#include "model/store.h"
#include "project_file/formatos.h"
#include "project_file/resultados_csv.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace tev {
namespace {

namespace fs = std::filesystem;
const std::string kEjemplo = TEVARRO_SOURCE_DIR "/examples/neuquen";

// What the batch tool prints on its standard output for one file.
std::string imprime(const std::string& opcion, const std::string& archivo)
{
    std::ostringstream salida, errores;
    EXPECT_EQ(ejecuta_lote({opcion, archivo}, salida, errores, {}), 0) << errores.str();
    return salida.str();
}

// The column as "Abrir" and the batch tool leave it: read, then computed.
std::unique_ptr<Store> abierta(const std::string& archivo)
{
    const LecturaColumna lectura = lee_archivo(archivo);
    EXPECT_TRUE(lectura.ok) << lectura.error;
    auto s = std::make_unique<Store>();
    valores_de_arranque(*s);
    carga_lectura(*s, lectura);
    EXPECT_TRUE(tevarro(*s).ok());
    return s;
}

void compara_con_el_lote(const std::string& archivo)
{
    const auto s = abierta(archivo);
    const std::string por_banco = imprime("--csv", archivo);
    const std::string historia = imprime("--historia", archivo);
    // Both tables hold a header and a line per bed (more lines where a name
    // holds a line break): neither may be empty.
    const auto lineas = [](const std::string& t) { return std::count(t.begin(), t.end(), '\n'); };
    EXPECT_GE(lineas(por_banco), s->n_bancos + 1);
    EXPECT_EQ(lineas(historia), s->n_bancos + 1);
    EXPECT_EQ(resultados_csv(*s, archivo, {}), por_banco + "\r\n" + historia);
    EXPECT_EQ(resultados_csv(*s, archivo, {',', '.'}), por_banco + "\r\n" + historia);
}

TEST(LoteResultados, ElEjemploEnComasEsLoQueImprimeElLote)
{
    compara_con_el_lote(kEjemplo + ".tev");
    compara_con_el_lote(kEjemplo + ".csv");
}

// Names that ask for quotes, and a file name that does too.
TEST(LoteResultados, TextosEntrecomilladosComoLosEntrecomillaElLote)
{
    std::ifstream f(kEjemplo + ".tev", std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
    const auto cambia = [&](const std::string& de, const std::string& a) {
        const std::size_t p = bytes.find(de);
        ASSERT_NE(p, std::string::npos) << de;
        bytes.replace(p, de.size(), a);
    };
    cambia("Arcosas de Lotena", "\"Arcosas; de \"\"Lotena\"\"\"");
    cambia("Areniscas de Tordillo", "\"Areniscas,\r\nde Tordillo\"");
    const fs::path dir = fs::temp_directory_path() / ("tevarro_res_" + std::to_string(getpid()));
    fs::create_directories(dir);
    const std::string archivo = (dir / "pozo, 1.tev").string();
    std::ofstream(archivo, std::ios::binary) << bytes;
    compara_con_el_lote(archivo);
    fs::remove_all(dir);
}

} // namespace
} // namespace tev
