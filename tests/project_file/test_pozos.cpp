// Several wells read at once: their names, their histories and fits, and the
// reason of a well that has none.

#include "project_file/pozos.h"

#include "model/store.h"
#include "project_file/columna.h"
#include "project_file/formatos.h"
#include "project_file/informe_estiramiento_csv.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

namespace fs = std::filesystem;

namespace tev {
namespace {

const std::string kEjemplo = std::string(TEVARRO_SOURCE_DIR) + "/examples/neuquen.csv";

TEST(Pozos, NombresSinCarpetaSalvoLosRepetidos)
{
    const std::vector<std::string> nombres =
        nombres_de_pozos({"/a/x.csv", "/b/y.tev", "/c/x.csv", "z.csv"});
    EXPECT_EQ(nombres, (std::vector<std::string>{"/a/x.csv", "y.tev", "/c/x.csv", "z.csv"}));
}

TEST(Pozos, CadaPozoConSuHistoriaYSuAjusteOSuRazon)
{
    const fs::path dir = fs::temp_directory_path() / "tevarro_test_pozos";
    fs::create_directories(dir);
    const std::string roto = (dir / "roto.csv").string();
    std::ofstream(roto) << "esto no es una columna\n";
    const std::string falta = (dir / "no_existe.tev").string();

    PeticionAjuste peticion;
    const std::vector<Pozo> pozos = lee_pozos({kEjemplo, roto, falta}, peticion);
    ASSERT_EQ(pozos.size(), 3U);

    // The example well as the store read by hand gives it.
    const LecturaColumna lectura = lee_archivo(kEjemplo);
    ASSERT_TRUE(lectura.ok);
    const auto s = std::make_unique<Store>();
    valores_de_arranque(*s);
    carga_lectura(*s, lectura);
    const ResultadoHistoria h = calcula_historia(*s);
    ASSERT_TRUE(h.ok());
    EXPECT_TRUE(pozos[0].ok());
    EXPECT_EQ(pozos[0].nombre, "neuquen.csv");
    ASSERT_EQ(pozos[0].historia.pasos.size(), h.historia.pasos.size());
    for (std::size_t k = 0; k < h.historia.pasos.size(); ++k) {
        EXPECT_EQ(pozos[0].historia.pasos[k].edad, h.historia.pasos[k].edad);
        EXPECT_EQ(pozos[0].historia.pasos[k].subsidencia_tectonica,
                  h.historia.pasos[k].subsidencia_tectonica);
    }
    const AjusteEstiramiento a = ajusta_estiramiento(puntos_como_en_csv(h.historia), peticion);
    EXPECT_TRUE(pozos[0].ajuste.ok());
    EXPECT_EQ(pozos[0].ajuste.beta, a.beta);
    EXPECT_EQ(pozos[0].ajuste.edad_rift, a.edad_rift);

    // The unreadable ones keep the reader's reason, which names the file.
    for (int k : {1, 2}) {
        EXPECT_FALSE(pozos[k].ok());
        EXPECT_NE(pozos[k].error.find(fs::path(pozos[k].ruta).filename().string()),
                  std::string::npos)
            << pozos[k].error;
        EXPECT_TRUE(pozos[k].historia.pasos.empty());
    }
    fs::remove_all(dir);
}

TEST(Pozos, UnaColumnaSinBancosNoTieneHistoria)
{
    const auto s = std::make_unique<Store>();
    valores_de_arranque(*s);
    const Pozo p = pozo_de_columna(*s, "vacía", PeticionAjuste{});
    EXPECT_FALSE(p.ok());
    EXPECT_NE(p.error.find("vacía"), std::string::npos);
}

TEST(Pozos, UnBancoQueImpideLaHistoriaNombraElPozo)
{
    const auto s = std::make_unique<Store>();
    valores_de_arranque(*s);
    carga_lectura(*s, lee_archivo(kEjemplo));
    s->porosidad[2] = 1.5F; // outside [0, 1)
    const Pozo p = pozo_de_columna(*s, "pozo b", PeticionAjuste{});
    EXPECT_FALSE(p.ok());
    EXPECT_EQ(p.error.rfind("«pozo b»", 0), 0U) << p.error;
}

} // namespace
} // namespace tev
