// The batch tool's warnings about beds computed without a rock behind them.

#include "batch/imagenes_lote.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace tev {
namespace {

namespace fs = std::filesystem;

std::string temporal(const std::string& nombre, const std::string& bytes)
{
    const fs::path dir = fs::temp_directory_path() / ("tevarro_rocas_" + std::to_string(getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / nombre, std::ios::binary) << bytes;
    return (dir / nombre).string();
}

const char* const kCabecera = "nombre,techo,base,edad_techo,edad_base,litologia,color,porosidad,"
                              "coef_porosidad,paleobatimetria,pct_arenisca,pct_pelita,pct_caliza,"
                              "pct_evaporita\n";

TEST(LoteRocas, UnBancoSinRocaSeNombraEnLaSalidaDeErroresYSeCalculaIgual)
{
    const std::string ruta =
        temporal("carbon.csv", std::string(kCabecera) + "Base,100,200,10,20,Areniscas,0,0.49,0.27,"
                                                        "0,0,0,0,0\n"
                                                        "Manto,0,100,0,10,Carbón,0,0.3,0.4,0,0,0,"
                                                        "0,0\n");
    std::ostringstream out, err;
    EXPECT_EQ(ejecuta_lote({"--csv", ruta}, out, err), 0);
    EXPECT_EQ(err.str(), "«" + ruta +
                             "»: El banco 2 («Manto»): la litología «Carbón» no es ninguna de "
                             "las del programa («Pelitas», «Areniscas», «Arcosas», «Evaporitas», "
                             "«Calizas» o «PORCENTUAL»), y el banco no tiene densidad de grano "
                             "propia: se calcula con una densidad de grano de 0 kg/m³.\n");
    // Computed as before: no grains, bulk density 1000 phi.
    EXPECT_NE(out.str().find(",Carbón,0,100,0,10,300,"), std::string::npos) << out.str();

    // A near miss, a mix short of 100, and every other output says it too.
    const std::string casi =
        temporal("casi.csv", std::string(kCabecera) + "Base,100,200,10,20,areniscas,0,0.49,0.27,"
                                                      "0,0,0,0,0\n"
                                                      "Mezcla,0,100,0,10,PORCENTUAL,0,0.5,0.4,0,"
                                                      "50,0,0,0\n");
    for (const char* modo : {"--historia", "--enterramiento"}) {
        std::ostringstream o, e;
        EXPECT_EQ(ejecuta_lote({modo, casi}, o, e), 0);
        EXPECT_NE(e.str().find("«" + casi +
                               "»: El banco 1 («Base»): la litología «areniscas» difiere de "
                               "«Areniscas» sólo en mayúsculas o acentos"),
                  std::string::npos)
            << e.str();
        EXPECT_NE(e.str().find("«" + casi +
                               "»: El banco 2 («Mezcla»): sus porcentajes (arenisca "
                               "50, pelita 0, caliza 0, evaporita 0) suman 50 y no "
                               "100: su densidad de grano se calcula con ellos tal "
                               "como están (1325 kg/m³)."),
                  std::string::npos)
            << e.str();
    }
}

TEST(LoteRocas, UnArchivoDeProyectoDiceQueDejaLasDensidadesDeGrano)
{
    const std::string ruta =
        temporal("propia.csv", std::string(kCabecera).replace(std::strlen(kCabecera) - 1, 1,
                                                              ",densidad_grano\n") +
                                   "Base,100,200,10,20,Carbón,0,0.49,0.27,"
                                   "0,0,0,0,0,1400\n"
                                   "Manto,0,100,0,10,Areniscas,0,0.3,0.4,0,"
                                   "0,0,0,0,\n");
    const std::string destino = temporal("propia.tev", "");
    std::ostringstream out, err;
    EXPECT_EQ(ejecuta_lote({"--salvar", destino, ruta}, out, err), 0);
    // The coal has grains: no warning about its lithology.
    EXPECT_EQ(err.str(), "«" + destino +
                             "»: se guardó sin las densidades de grano propias de 1 banco, que un "
                             "archivo de proyecto no guarda; un archivo .csv las conserva.\n");
    // Its bulk density: 0.51 * 1400 + 490.
    EXPECT_NE(out.str().find("1204"), std::string::npos) << out.str();
}

} // namespace
} // namespace tev
