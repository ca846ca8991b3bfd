// Every picture of the batch tool whose numbers depend on the sea level names
// a curve other than the program's table in its top right corner; with the
// table it stays the picture it always was.

#include "batch/imagenes_lote.h"
#include "batch/lote_de_prueba.h"
#include "nivel_mar_en_imagen.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>
#include <QImage>

#include <string>
#include <vector>

namespace tev {
namespace {

using prueba::Ejecucion;
using prueba::ejecuta;

const std::string kEjemplo = prueba::kEjemplos + "neuquen.tev";

std::string temporal(const std::string& nombre, const std::string& bytes = {})
{
    return prueba::archivo_temporal("tevarro_nivel_", nombre, bytes);
}

using prueba::esquina_del_nivel_mar;
using prueba::pixeles_oscuros;

// Each picture option, with what it needs beside it.
struct Imagen {
    const char* que;
    std::vector<std::string> opciones; // the picture's path follows the last
    std::vector<std::string> archivos;
};

std::vector<Imagen> imagenes()
{
    const std::string golfo = prueba::kEjemplos + "golfo_san_jorge.csv";
    return {
        {"curvas", {"--curvas"}, {kEjemplo}},
        {"historia", {"--historia-imagen"}, {kEjemplo}},
        {"estiramiento", {"--estiramiento-imagen"}, {kEjemplo}},
        {"incertidumbre",
         {"--incertidumbre", "50", "--rango-paleobatimetria", "20", "--incertidumbre-imagen"},
         {kEjemplo}},
        {"pozos", {"--comparar-imagen"}, {kEjemplo, golfo}},
    };
}

QImage dibuja(const Imagen& i, const std::vector<std::string>& curva, const std::string& ruta)
{
    std::vector<std::string> args = curva;
    args.insert(args.end(), i.opciones.begin(), i.opciones.end());
    args.push_back(ruta);
    args.insert(args.end(), i.archivos.begin(), i.archivos.end());
    const Ejecucion e = ejecuta(args);
    EXPECT_EQ(e.codigo, 0) << i.que << ": " << e.errores;
    return QImage(QString::fromStdString(ruta));
}

TEST(LoteNivelMar, CadaImagenNombraLaCurvaQueNoEsLaTabla)
{
    const QString ninguno = QString::fromUtf8("Nivel del mar: ninguno");
    for (const Imagen& i : imagenes()) {
        const std::string base = temporal(std::string(i.que) + "_tabla.png");
        const std::string sin_mar = temporal(std::string(i.que) + "_ninguno.png");
        const QImage tabla = dibuja(i, {}, base);
        const QImage cero = dibuja(i, {"--nivel-mar", "ninguno"}, sin_mar);
        ASSERT_FALSE(tabla.isNull()) << i.que;
        ASSERT_FALSE(cero.isNull()) << i.que;
        EXPECT_NE(prueba::lee(base), prueba::lee(sin_mar)) << i.que;
        const QRect r = esquina_del_nivel_mar(cero.size(), ninguno);
        // The corner is empty in the default picture, and holds the line.
        EXPECT_EQ(pixeles_oscuros(tabla, r), 0) << i.que;
        EXPECT_GT(pixeles_oscuros(cero, r), 40) << i.que;
        // Nothing of it beyond its place: the strip left of it is as it was.
        const QRect izquierda = r.translated(-r.width() - 8, 0);
        EXPECT_EQ(pixeles_oscuros(cero, izquierda), pixeles_oscuros(tabla, izquierda)) << i.que;
    }
}

TEST(LoteNivelMar, LaCurvaDelUsuarioSeNombraPorSuArchivo)
{
    const std::string curva = temporal("mi_curva.csv", "edad,nivel_mar\n0,0\n200,-40\n");
    const std::string ruta = temporal("usuario.png");
    const QImage im = dibuja(imagenes()[1], {"--nivel-mar", curva}, ruta);
    ASSERT_FALSE(im.isNull());
    // Its name alone, without the folder: the whole line fits its place.
    const QRect r =
        esquina_del_nivel_mar(im.size(), QString::fromUtf8("Nivel del mar: archivo mi_curva.csv"));
    EXPECT_GT(pixeles_oscuros(im, r), 60);
    EXPECT_EQ(pixeles_oscuros(im, r.translated(-r.width() - 8, 0)), 0);
}

TEST(LoteNivelMar, LaTablaDejaLaImagenComoEra)
{
    // "--nivel-mar tabla" is the default: the same bytes as without it.
    for (const Imagen& i : imagenes()) {
        const std::string sin = temporal(std::string(i.que) + "_sin.png");
        const std::string con = temporal(std::string(i.que) + "_con.svg");
        const std::string sin_svg = temporal(std::string(i.que) + "_sin.svg");
        dibuja(i, {}, sin);
        dibuja(i, {}, sin_svg);
        dibuja(i, {"--nivel-mar", "tabla"}, con);
        EXPECT_EQ(prueba::lee(sin_svg), prueba::lee(con)) << i.que;
        EXPECT_FALSE(prueba::lee(con).find("Nivel del mar") != std::string::npos) << i.que;
    }
}

TEST(LoteNivelMar, UnaCurvaDeSubsidenciaNoLoNombra)
{
    // A subsidence curve is fitted as it stands: no sea level of the run is
    // in its points, so its picture names none.
    const Ejecucion h = ejecuta({"--historia", kEjemplo});
    ASSERT_EQ(h.codigo, 0) << h.errores;
    const std::string csv = temporal("subsidencia.csv", h.salida);
    const std::string ruta = temporal("ajuste.png");
    const Ejecucion e = ejecuta({"--nivel-mar", "ninguno", "--estiramiento-imagen", ruta, csv});
    ASSERT_EQ(e.codigo, 0) << e.errores;
    const QImage im(QString::fromStdString(ruta));
    ASSERT_FALSE(im.isNull());
    EXPECT_EQ(pixeles_oscuros(im, esquina_del_nivel_mar(
                                      im.size(), QString::fromUtf8("Nivel del mar: ninguno"))),
              0);
}

} // namespace
} // namespace tev
