// The batch tool's warnings about beds computed without a rock behind them,
// the beds' own grain densities and the sea-level curve of --nivel-mar.

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

struct Ejecucion {
    int codigo;
    std::string salida, errores;
};

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

TEST(LoteRocas, UnArchivoDeProyectoDiceQueDejaLosRangos)
{
    const std::string ruta =
        temporal("rangos.csv", std::string(kCabecera).replace(std::strlen(kCabecera) - 1, 1,
                                                              ",paleobatimetria_max\n") +
                                   "Base,100,200,10,20,Areniscas,0,0.49,0.27,"
                                   "0,0,0,0,0,40\n"
                                   "Techo,0,100,0,10,Areniscas,0,0.3,0.4,0,"
                                   "0,0,0,0,\n");
    const std::string destino = temporal("rangos.tev", "");
    std::ostringstream out, err;
    EXPECT_EQ(ejecuta_lote({"--salvar", destino, ruta}, out, err), 0);
    EXPECT_EQ(err.str(), "«" + destino +
                             "»: se guardó sin los rangos de incertidumbre propios de 1 banco, "
                             "que un archivo de proyecto no guarda; un archivo .csv los "
                             "conserva.\n");
}

Ejecucion ejecuta(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int codigo = ejecuta_lote(args, out, err);
    return {codigo, out.str(), err.str()};
}

TEST(LoteNivelMar, LaCurvaElegidaDaLosNivelesYSeNombraEnCadaLinea)
{
    const std::string columna =
        temporal("dos.csv", std::string(kCabecera) + "A,100,200,30,40,Areniscas,0,0.49,0.27,"
                                                     "0,0,0,0,0\n"
                                                     "B,0,100,0,30,Areniscas,0,0.49,0.27,0,0,"
                                                     "0,0,0\n");
    // 20 m today falling to -10 m at 60 Ma: -10 + 30 (60 - t) / 60 ... at
    // 30 Ma, 5 m.
    const std::string curva = temporal("curva.csv", "edad,nivel_mar\n60,-10\n0,20\n");
    const Ejecucion c = ejecuta({"--csv", "--nivel-mar", curva, columna});
    EXPECT_EQ(c.codigo, 0) << c.errores;
    const std::string fin = "," + curva + "\r\n";
    EXPECT_EQ(c.salida.substr(0, c.salida.find('\r')),
              "archivo,banco,nombre,litologia,techo,base,edad_techo,edad_base,densidad,nivel_mar,"
              "techo_descomp,base_descomp,correccion_carga,tevarro_tectonica,curva_nivel_mar");
    EXPECT_NE(c.salida.find(",A,Areniscas,100,200,30,40,1841.5,5,"), std::string::npos) << c.salida;
    EXPECT_NE(c.salida.find(",B,Areniscas,0,100,0,30,1841.5,20,"), std::string::npos);
    EXPECT_EQ(c.salida.size() - c.salida.rfind(fin), fin.size()); // the last line's end

    const Ejecucion h = ejecuta({"--historia", "--nivel-mar", "ninguno", columna});
    EXPECT_EQ(h.codigo, 0);
    EXPECT_NE(h.salida.find(",tasa_tectonica,curva_nivel_mar\r\n"), std::string::npos);
    // The step at 30 Ma: sea level 0 (the seventh field), the rate, then the curve.
    const std::size_t paso = h.salida.find(columna + ",30,1,");
    ASSERT_NE(paso, std::string::npos) << h.salida;
    std::vector<std::string> campos(1);
    for (std::size_t k = paso; h.salida[k] != '\r'; ++k)
        h.salida[k] == ',' ? campos.emplace_back() : campos.back() += h.salida[k];
    ASSERT_EQ(campos.size(), 11u);
    EXPECT_EQ(campos[6], "0");
    EXPECT_EQ(campos[10], "ninguno");
    const Ejecucion t = ejecuta({"--nivel-mar", curva, columna});
    EXPECT_NE(t.salida.find(" (2 bancos)\nNivel del mar: curva «" + curva + "»\n"),
              std::string::npos)
        << t.salida;

    // The table named or not, the same bytes.
    for (const char* modo : {"--csv", "--historia", "--enterramiento"}) {
        const Ejecucion tabla = ejecuta({modo, "--nivel-mar", "tabla", columna});
        EXPECT_EQ(tabla.salida, ejecuta({modo, columna}).salida) << modo;
        EXPECT_EQ(tabla.salida.find("curva_nivel_mar"), std::string::npos);
    }
}

TEST(LoteNivelMar, UnaCurvaMalaNoDejaCalcularNada)
{
    const std::string mala = temporal("mala.csv", "edad;nivel_mar\n0;1\n5;x\n");
    const Ejecucion e = ejecuta({"--nivel-mar", mala, TEVARRO_SOURCE_DIR "/examples/neuquen.tev"});
    EXPECT_EQ(e.codigo, 1);
    EXPECT_EQ(e.salida, "");
    EXPECT_EQ(e.errores, "tevarro-batch: No se pudo leer la curva del nivel del mar «" + mala +
                             "»: línea 3, columna «nivel_mar»: «x» no es un número.\n");
    EXPECT_EQ(ejecuta({"--nivel-mar"}).codigo, 2);
    EXPECT_EQ(ejecuta({"--nivel-mar", "", "x.tev"}).codigo, 2);
}

} // namespace
} // namespace tev
