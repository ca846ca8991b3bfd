// The batch tool's stretching fit: --estiramiento, --estiramiento-curva,
// --estiramiento-imagen and the fit's options; a CSV curve fitted as it
// stands.

#include "batch/imagenes_lote.h"
#include "batch/informe_estiramiento.h"
#include "batch/lote_de_prueba.h"
#include "compute/estiramiento.h"
#include "compute/historia.h"
#include "drawing/dibujo_estiramiento.h"
#include "model/store.h"
#include "project_file/formatos.h"
#include "project_file/informe_historia.h"

#include <gtest/gtest.h>

#include <QImage>

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace tev {
namespace {

namespace fs = std::filesystem;
const std::string kEjemplo = TEVARRO_SOURCE_DIR "/examples/neuquen.tev";

using prueba::Ejecucion;
using prueba::ejecuta;
using prueba::lineas_de;

std::string temporal(const std::string& nombre, const std::string& bytes = {})
{
    return prueba::archivo_temporal("tevarro_estir_", nombre, bytes);
}

double num(const std::string& t)
{
    return std::stod(t);
}

TEST(LoteEstiramiento, LaLineaYLaCurvaDelEjemploConcuerdan)
{
    const Ejecucion r = ejecuta({"--estiramiento", kEjemplo});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    const auto l = lineas_de(r.salida);
    ASSERT_EQ(l.size(), 2u);
    EXPECT_EQ(l[0], (std::vector<std::string>{"archivo", "modo", "constantes", "beta", "edad_rift",
                                              "corteza", "rms", "puntos", "en_limite"}));
    ASSERT_EQ(l[1].size(), 9u);
    EXPECT_EQ(l[1][0], kEjemplo);
    EXPECT_EQ(l[1][1], "total");
    EXPECT_EQ(l[1][2], "mckenzie1978");
    EXPECT_EQ(l[1][5], "35000");
    EXPECT_EQ(l[1][7], "12"); // the twelve steps of the history
    // The curve of the same fit: its residuals are the subsidence less the
    // model, whose root mean square is the line's misfit.
    const Ejecucion c = ejecuta({"--estiramiento-curva", kEjemplo});
    ASSERT_EQ(c.codigo, 0) << c.errores;
    const auto filas = lineas_de(c.salida);
    ASSERT_EQ(filas.size(), 13u);
    EXPECT_EQ(filas[0], (std::vector<std::string>{"archivo", "edad", "subsidencia_tectonica",
                                                  "modelo", "residuo"}));
    ModeloEstiramiento m;
    double suma = 0;
    for (std::size_t k = 1; k < filas.size(); ++k) {
        const double edad = num(filas[k][1]);
        const double modelo = modelo_estiramiento(m, num(l[1][3]), num(l[1][4]), edad);
        EXPECT_NEAR(num(filas[k][3]), modelo, 2e-6 * std::max(1.0, std::fabs(modelo)));
        EXPECT_NEAR(num(filas[k][4]), num(filas[k][2]) - num(filas[k][3]), 2e-6);
        suma += num(filas[k][4]) * num(filas[k][4]);
    }
    EXPECT_NEAR(std::sqrt(suma / 12), num(l[1][6]), 1e-5);
}

TEST(LoteEstiramiento, ElCsvDeLaHistoriaDaLosMismosNumeros)
{
    for (const std::vector<std::string>& opciones :
         {std::vector<std::string>{},
          {"--modo", "termica", "--constantes", "paleostrip"},
          {"--terminos", "1", "--edad-rift", "170", "--desde", "10"}}) {
        const Ejecucion h = ejecuta({"--historia", kEjemplo});
        ASSERT_EQ(h.codigo, 0);
        const std::string csv = temporal("h.csv", h.salida);
        std::vector<std::string> a = opciones, b = opciones;
        a.insert(a.begin(), {"--estiramiento", kEjemplo});
        b.insert(b.begin(), {"--estiramiento", csv});
        const auto de_proyecto = lineas_de(ejecuta(a).salida);
        const auto de_csv = lineas_de(ejecuta(b).salida);
        ASSERT_EQ(de_proyecto.size(), 2u);
        ASSERT_EQ(de_csv.size(), 2u);
        EXPECT_EQ(de_csv[1][0], csv);
        EXPECT_EQ(std::vector<std::string>(de_csv[1].begin() + 1, de_csv[1].end()),
                  std::vector<std::string>(de_proyecto[1].begin() + 1, de_proyecto[1].end()));
    }
}

// The fit of a project file sees its history's numbers as the CSV has them,
// bit for bit: both roads fit the same points.
TEST(LoteEstiramiento, LosPuntosDelProyectoSonLosDelCsv)
{
    const auto s = std::make_unique<Store>();
    valores_de_arranque(*s);
    carga_lectura(*s, lee_archivo(kEjemplo));
    const ResultadoHistoria h = calcula_historia(*s);
    ASSERT_TRUE(h.ok());
    const auto puntos = puntos_como_en_csv(h.historia);
    const auto filas = lineas_de(lineas_historia_csv(h.historia, "x"));
    ASSERT_EQ(puntos.size(), filas.size());
    bool alguno_cambia = false;
    for (std::size_t k = 0; k < puntos.size(); ++k) {
        EXPECT_EQ(puntos[k].edad, std::stod(filas[k][1]));
        EXPECT_EQ(puntos[k].subsidencia, std::stod(filas[k][8]));
        alguno_cambia =
            alguno_cambia || puntos[k].subsidencia != h.historia.pasos[k].subsidencia_tectonica;
    }
    EXPECT_TRUE(alguno_cambia); // the history's own numbers have more decimals
}

TEST(LoteEstiramiento, UnaCurvaDeOtroLadoRecuperaBetaYEdad)
{
    // Columns in another order, a quoted name with a comma, a blank line.
    PeticionAjuste pet;
    pet.modelo.constantes = *busca_constantes("pybacktrack");
    std::string csv = "\xEF\xBB\xBFsubsidencia_tectonica,nota,edad\r\n";
    for (int k = 0; k <= 20; ++k) {
        const double edad = 2.5 * k;
        char linea[128];
        std::snprintf(linea, sizeof linea, "%.9f,\"pozo, tramo %d\",%g\n",
                      modelo_estiramiento(pet.modelo, 3.1, 66, edad), k, edad);
        csv += linea;
    }
    csv += "\n";
    const std::string ruta = temporal("curva.csv", csv);
    const Ejecucion r = ejecuta({"--estiramiento", "--constantes", "pybacktrack", ruta});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    const auto l = lineas_de(r.salida);
    ASSERT_EQ(l.size(), 2u);
    EXPECT_NEAR(num(l[1][3]), 3.1, 1e-3);
    EXPECT_NEAR(num(l[1][4]), 66, 0.05);
    EXPECT_EQ(l[1][7], "21");
    EXPECT_EQ(l[1][8], "no");
}

TEST(LoteEstiramiento, ConBetaYEdadSoloSeEvalua)
{
    const Ejecucion r = ejecuta({"--estiramiento", "--beta", "2.5", "--edad-rift", "160",
                                 "--corteza", "30000", "--modo", "termica", kEjemplo});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    const auto l = lineas_de(r.salida);
    ASSERT_EQ(l.size(), 2u);
    EXPECT_EQ(l[1][1], "termica");
    EXPECT_EQ(l[1][3], "2.5");
    EXPECT_EQ(l[1][4], "160");
    EXPECT_EQ(l[1][5], "30000");
    EXPECT_EQ(l[1][8], "no");
}

TEST(LoteEstiramiento, PocosPuntosOSinHistoriaSeNombran)
{
    const Ejecucion r = ejecuta({"--estiramiento", "--desde", "149", kEjemplo});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.errores, "«" + kEjemplo +
                             "»: El ajuste necesita al menos dos puntos de la historia y hay 1 "
                             "con edad desde 149 Ma.\n");
    EXPECT_EQ(lineas_de(r.salida).size(), 1u); // the header alone

    const std::string malo = temporal(
        "cero.tev", "B, 100 , 200 , 5 , 10 ,Pelitas, 0 , .63 , 0 , 0 , 0 , 0 , 0 , 0 \r\n"
                    "A, 0 , 100 , 0 , 5 ,Areniscas, 0 , .49 , .27 , 0 , 0 , 0 , 0 , 0 \r\n");
    const Ejecucion s = ejecuta({"--estiramiento", malo, kEjemplo});
    EXPECT_EQ(s.codigo, 1);
    EXPECT_EQ(s.errores, "«" + malo +
                             "»: El banco 1 («B») no tiene historia de enterramiento: su "
                             "coeficiente porosidad-profundidad es 0 y debe ser mayor que 0.\n");
    EXPECT_EQ(lineas_de(s.salida).size(), 2u);
}

TEST(LoteEstiramiento, UnaCurvaMalEscritaSeNombra)
{
    const std::string ruta =
        temporal("mala.csv", "edad,subsidencia_tectonica\r\n0,100\r\n5,abc\r\n");
    const Ejecucion r = ejecuta({"--estiramiento", ruta});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.errores,
              "No se pudo leer «" + ruta +
                  "»: fila 3, columna «subsidencia_tectonica»: «abc» no es un número.\n");
    const std::string dos = temporal("dos.csv", "archivo,edad,subsidencia_tectonica\r\n"
                                                "a.tev,0,100\r\nb.tev,5,200\r\n");
    EXPECT_EQ(ejecuta({"--estiramiento", dos}).errores,
              "No se pudo leer «" + dos +
                  "»: tiene la historia de más de una columna («a.tev» y «b.tev», fila 3); el "
                  "ajuste toma una sola.\n");
}

TEST(LoteEstiramiento, ErroresDeUso)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> casos = {
        {{"--estiramiento", "--beta", "1", kEjemplo},
         "el factor de estiramiento tras --beta, «1», debe ser mayor que 1 y no mayor que 20."},
        {{"--estiramiento", "--beta", "20.5", kEjemplo},
         "el factor de estiramiento tras --beta, «20.5», debe ser mayor que 1 y no mayor que 20."},
        {{"--estiramiento", "--modo", "parcial", kEjemplo},
         "el modo «parcial» no existe: es total o termica."},
        {{"--estiramiento", "--constantes", "otra", kEjemplo},
         "no hay constantes llamadas «otra»: son mckenzie1978, pybacktrack, subsidencechron o "
         "paleostrip."},
        {{"--estiramiento", "--terminos", "0", kEjemplo},
         "el número de términos tras --terminos, «0», debe ser un entero mayor que 0."},
        {{"--estiramiento", "--edad-rift", "cien", kEjemplo},
         "el valor tras --edad-rift, «cien», no es un número."},
        {{"--estiramiento", "--corteza", "-5", kEjemplo},
         "el espesor de la corteza tras --corteza, «-5», debe ser mayor que 0 (en metros)."},
        {{"--estiramiento", "--corteza", "125000", kEjemplo},
         "el espesor de la corteza tras --corteza (125000 m) debe ser menor que el de la "
         "litosfera de mckenzie1978 (125000 m)."},
        {{"--estiramiento", "--desde", "10", "--hasta", "5", kEjemplo},
         "--desde (10) es mayor que --hasta (5)."},
        {{"--modo", "total", kEjemplo},
         "--modo sólo vale con --estiramiento, --estiramiento-curva, --estiramiento-imagen o "
         "--comparar-imagen."},
        {{"--estiramiento", "--historia", kEjemplo},
         "--estiramiento y --estiramiento-curva escriben tablas distintas de las de --csv, "
         "--historia y --enterramiento; pida una sola."},
        {{"--estiramiento", "--estiramiento-curva", kEjemplo},
         "--estiramiento y --estiramiento-curva escriben tablas distintas; pida una sola."},
        {{"--estiramiento", "--hasta"}, "falta el valor tras --hasta."},
    };
    for (const auto& [args, mensaje] : casos) {
        const Ejecucion r = ejecuta(args);
        EXPECT_EQ(r.codigo, 2) << mensaje;
        EXPECT_EQ(r.errores.substr(0, r.errores.find('\n')), "tevarro-batch: " + mensaje);
        EXPECT_TRUE(r.salida.empty());
    }
    const Ejecucion dos = ejecuta({"--estiramiento-imagen", temporal("e.png"), kEjemplo, kEjemplo});
    EXPECT_EQ(dos.codigo, 2);
    EXPECT_EQ(dos.errores, "tevarro-batch: --estiramiento-imagen trabaja con una sola columna; "
                           "se dieron 2 archivos.\n");
}

TEST(LoteEstiramiento, LaImagenMuestraElModeloAjustado)
{
    const std::string png = temporal("estiramiento.png");
    fs::remove(png);
    const Ejecucion r = ejecuta({"--estiramiento", "--estiramiento-imagen", png, kEjemplo});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    const QImage img(QString::fromStdString(png));
    ASSERT_EQ(img.size(), kTamanoEstiramiento);
    int del_modelo = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            del_modelo += QColor(img.pixel(x, y)) == kColorModelo ? 1 : 0;
    EXPECT_GT(del_modelo, 200);
}

} // namespace
} // namespace tev
