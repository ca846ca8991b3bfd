#include "batch/informe.h"

#include "compute/tevarro.h"
#include "model/store.h"
#include "project_file/archivo_proyecto.h"

#include <gtest/gtest.h>

#include <QImage>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
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

std::string lee_bytes(const std::string& ruta)
{
    std::ifstream f(ruta, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

fs::path temporal(const std::string& nombre)
{
    const fs::path dir = fs::temp_directory_path() / ("tevarro_batch_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    return dir / nombre;
}

void escribe(const fs::path& ruta, const std::string& bytes)
{
    std::ofstream(ruta, std::ios::binary) << bytes;
}

TEST(Lote, ErroresDeUso)
{
    EXPECT_EQ(ejecuta({}).codigo, 2);
    EXPECT_NE(ejecuta({}).errores.find("Uso: tevarro-batch"), std::string::npos);
    EXPECT_EQ(ejecuta({"--xyz", kEjemplo}).codigo, 2);
    EXPECT_EQ(ejecuta({"--salvar"}).codigo, 2);
    EXPECT_EQ(ejecuta({"--salvar", "/tmp/x.tev", kEjemplo, kEjemplo}).codigo, 2);
    const Ejecucion ayuda = ejecuta({"--help"});
    EXPECT_EQ(ayuda.codigo, 0);
    EXPECT_NE(ayuda.salida.find("--csv"), std::string::npos);
}

TEST(Lote, TablaDelEjemplo)
{
    const Ejecucion r = ejecuta({kEjemplo});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_TRUE(r.errores.empty());
    EXPECT_NE(r.salida.find("(12 bancos)"), std::string::npos);
    EXPECT_NE(r.salida.find("Densidad (kg/m³)"), std::string::npos);
    EXPECT_NE(r.salida.find("Formación Quintuco"), std::string::npos);
    EXPECT_NE(r.salida.find("PORCENTUAL"), std::string::npos);
    // Title, header and one line per bed.
    EXPECT_EQ(std::count(r.salida.begin(), r.salida.end(), '\n'), 14);
}

TEST(Lote, CsvIgualAlCalculo)
{
    const Ejecucion r = ejecuta({"--csv", kEjemplo});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    std::istringstream lineas(r.salida);
    std::string linea;
    std::getline(lineas, linea);
    EXPECT_EQ(linea + "\n", cabecera_csv());

    // The same column computed here; every number must read back to its bits.
    const LecturaColumna lectura = lee_archivo(kEjemplo);
    ASSERT_TRUE(lectura.ok) << lectura.error;
    auto s = std::make_unique<Store>();
    valores_de_arranque(*s);
    carga_columna(*s, lectura.bancos);
    ASSERT_TRUE(tevarro(*s).ok());
    for (int i = 1; i <= s->n_bancos; ++i) {
        ASSERT_TRUE(std::getline(lineas, linea));
        std::vector<std::string> campos;
        std::istringstream cs(linea.substr(0, linea.size() - 1));  // drop the CR
        for (std::string c; std::getline(cs, c, ',');) campos.push_back(c);
        ASSERT_EQ(campos.size(), 14u) << linea;
        EXPECT_EQ(campos[1], std::to_string(i));
        EXPECT_EQ(campos[2], s->nombre[i]);
        EXPECT_EQ(std::stof(campos[11]), s->base_descomp[i]);
        EXPECT_EQ(std::stof(campos[12]), s->correccion_carga[i]);
        EXPECT_EQ(std::stof(campos[13]), s->tevarro_tectonica[i]);
        EXPECT_EQ(std::stof(campos[8]), s->densidad[i]);
    }
    EXPECT_FALSE(std::getline(lineas, linea));
}

TEST(Lote, NumeroCortoEsElMasBreveQueVuelve)
{
    EXPECT_EQ(numero_corto(0.63f), "0.63");
    EXPECT_EQ(numero_corto(160.0f), "160");
    EXPECT_EQ(numero_corto(-2.5f), "-2.5");
    const float raro = 115.72869f;
    EXPECT_EQ(std::stof(numero_corto(raro)), raro);
}

TEST(Lote, CsvEntrecomillaTextos)
{
    auto s = std::make_unique<Store>();
    s->n_bancos = 1;
    s->nombre[1] = "Margas, \"grises\"";
    s->litologia[1] = "Calizas";
    const std::string t = lineas_csv(*s, "a,b.tev");
    EXPECT_EQ(t.rfind("\"a,b.tev\",1,\"Margas, \"\"grises\"\"\",Calizas,0,", 0), 0u) << t;
}

TEST(Lote, SalvarEscribeLosMismosBytes)
{
    const fs::path salida = temporal("copia.tev");
    const Ejecucion r = ejecuta({"--salvar", salida.string(), kEjemplo});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_EQ(lee_bytes(salida.string()), lee_bytes(kEjemplo));
}

TEST(Lote, UnArchivoMaloNoDetieneALosDemas)
{
    const fs::path malo = temporal("malo.tev");
    escribe(malo, "A, 0 , abc , 0 , 10 ,Areniscas, 16777215 , .63 , .51 , 0 , 0 , 0 , 0 , 0 \r\n");
    const Ejecucion r = ejecuta({"--csv", malo.string(), kEjemplo});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find(malo.string()), std::string::npos) << r.errores;
    EXPECT_NE(r.errores.find("campo 3"), std::string::npos) << r.errores;
    // The example still gives its twelve beds.
    EXPECT_EQ(std::count(r.salida.begin(), r.salida.end(), '\n'), 13);
    EXPECT_EQ(ejecuta({temporal("no_existe.tev").string()}).codigo, 1);
}

TEST(Lote, CalculoFallidoNombraElBanco)
{
    const fs::path cero = temporal("cero.tev");
    escribe(cero, "B, 100 , 200 , 5 , 10 ,Pelitas, 16777215 , .63 , 0 , 0 , 0 , 0 , 0 , 0 \r\n"
                  "A, 0 , 100 , 0 , 5 ,Areniscas, 16777215 , .49 , .27 , 0 , 0 , 0 , 0 , 0 \r\n");
    const Ejecucion r = ejecuta({cero.string()});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("banco 1"), std::string::npos) << r.errores;
    EXPECT_NE(r.errores.find(cero.string()), std::string::npos) << r.errores;
}

// Distinct colours in an image: a blank picture has one.
int colores_distintos(const QImage& img)
{
    std::vector<QRgb> vistos;
    for (int y = 0; y < img.height(); y += 2)
        for (int x = 0; x < img.width(); x += 2) {
            const QRgb c = img.pixel(x, y);
            if (std::find(vistos.begin(), vistos.end(), c) == vistos.end()) vistos.push_back(c);
            if (vistos.size() > 8) return static_cast<int>(vistos.size());
        }
    return static_cast<int>(vistos.size());
}

TEST(Lote, ImagenesDeCurvasYColumna)
{
    const fs::path curvas_png = temporal("curvas.png");
    const fs::path columna_png = temporal("columna.png");
    const fs::path curvas_svg = temporal("curvas.svg");
    const fs::path columna_svg = temporal("columna.svg");
    Ejecucion r = ejecuta({"--curvas", curvas_png.string(), "--columna", columna_png.string(),
                           kEjemplo});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    const QImage curvas(QString::fromStdString(curvas_png.string()));
    const QImage columna(QString::fromStdString(columna_png.string()));
    ASSERT_FALSE(curvas.isNull());
    ASSERT_FALSE(columna.isNull());
    EXPECT_EQ(curvas.size(), QSize(705, 414));
    EXPECT_EQ(columna.size(), QSize(757, 485));
    EXPECT_GT(colores_distintos(curvas), 3);
    EXPECT_GT(colores_distintos(columna), 3);
    // The youngest bed, yellow, from 0 to 85 m under the datum 1000 twips down.
    EXPECT_EQ(columna.pixelColor(100, 70), QColor(255, 255, 0));

    r = ejecuta({"--curvas", curvas_svg.string(), "--columna", columna_svg.string(), kEjemplo});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_NE(lee_bytes(curvas_svg.string()).find("<svg"), std::string::npos);
    EXPECT_NE(lee_bytes(columna_svg.string()).find("<svg"), std::string::npos);
    EXPECT_NE(lee_bytes(columna_svg.string()).find("Quintuco"), std::string::npos);

    EXPECT_EQ(ejecuta({"--columna", temporal("c.jpg").string(), kEjemplo}).codigo, 1);
    EXPECT_EQ(ejecuta({"--curvas", curvas_png.string(), kEjemplo, kEjemplo}).codigo, 2);
}

}  // namespace
}  // namespace tev
