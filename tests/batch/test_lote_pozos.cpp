// Several wells in one picture (--comparar-imagen) and the comparison's
// exports, which are what --historia and --estiramiento write for the same
// files.

#include "batch/imagenes_lote.h"
#include "batch/lote_de_prueba.h"
#include "drawing/dibujo_pozos.h"
#include "project_file/forma_exportacion.h"
#include "project_file/pozos.h"

#include <gtest/gtest.h>

#include <QImage>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace tev {
namespace {

namespace fs = std::filesystem;
const std::string kDir = TEVARRO_SOURCE_DIR "/examples/";

using prueba::Ejecucion;
using prueba::ejecuta;

fs::path carpeta()
{
    return prueba::carpeta_temporal("tevarro_pozos_");
}

bool color_cerca(const QImage& im, QPointF c, QRgb color)
{
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx) {
            const QPoint q(static_cast<int>(c.x()) + dx, static_cast<int>(c.y()) + dy);
            if (im.valid(q) && im.pixel(q) == color) return true;
        }
    return false;
}

TEST(LotePozos, CadaPozoEnSuColorYElIlegibleDicho)
{
    const std::string imagen = (carpeta() / "pozos.png").string();
    const std::string roto = (carpeta() / "roto.tev").string();
    std::ofstream(roto) << "nada\n";
    const std::vector<std::string> archivos = {kDir + "neuquen.csv", roto,
                                               kDir + "golfo_san_jorge.csv"};
    std::vector<std::string> args = {"--comparar-imagen", imagen};
    args.insert(args.end(), archivos.begin(), archivos.end());
    const Ejecucion e = ejecuta(args);
    EXPECT_EQ(e.codigo, 1);
    EXPECT_NE(e.errores.find("roto.tev"), std::string::npos) << e.errores;
    EXPECT_EQ(e.salida, "");
    QImage im(QString::fromStdString(imagen));
    ASSERT_FALSE(im.isNull());
    EXPECT_EQ(im.size(), QSize(1000, 640));

    // The frame of the same wells, and each step's pixel by its edges.
    const std::vector<Pozo> pozos = lee_pozos(archivos, PeticionAjuste{});
    const MarcoPozos m = marco_pozos(figura_de_pozos(pozos, ModeloEstiramiento{}), im.size());
    // The first and the third of the list: Okabe and Ito's blue and bluish green.
    const std::pair<int, QRgb> colores[] = {{0, qRgb(0, 114, 178)}, {2, qRgb(0, 158, 115)}};
    for (const auto& [k, color] : colores) {
        ASSERT_TRUE(pozos[k].ok());
        for (const PasoHistoria& paso : pozos[k].historia.pasos) {
            const double x = m.area.left() + (m.edad_izquierda - paso.edad) /
                                                 (m.edad_izquierda - m.edad_derecha) *
                                                 m.area.width();
            const double y = m.area.top() + (paso.subsidencia_tectonica - m.subsidencia_arriba) /
                                                (m.subsidencia_abajo - m.subsidencia_arriba) *
                                                m.area.height();
            EXPECT_TRUE(color_cerca(im, QPointF(x, y), color))
                << pozos[k].nombre << " a " << paso.edad << " Ma";
        }
    }
    // The unreadable second well takes no colour: its vermillion is nowhere.
    int bermellon = 0;
    for (int y = 0; y < im.height(); ++y)
        for (int x = 0; x < im.width(); ++x)
            bermellon += im.pixel(x, y) == qRgb(213, 94, 0) ? 1 : 0;
    EXPECT_EQ(bermellon, 0);
}

TEST(LotePozos, LasExportacionesSonLasDelLote)
{
    // The batch tool run in the wells' folder names them as the comparison does.
    const fs::path antes = fs::current_path();
    fs::current_path(kDir);
    const Ejecucion historia = ejecuta({"--historia", "neuquen.csv", "golfo_san_jorge.csv"});
    const Ejecucion ajustes =
        ejecuta({"--estiramiento", "--modo", "termica", "neuquen.csv", "golfo_san_jorge.csv"});
    fs::current_path(antes);
    ASSERT_EQ(historia.codigo, 0) << historia.errores;
    ASSERT_EQ(ajustes.codigo, 0) << ajustes.errores;

    PeticionAjuste termica;
    termica.modelo.modo = ModoEstiramiento::termica;
    const std::vector<Pozo> pozos =
        lee_pozos({kDir + "neuquen.csv", kDir + "golfo_san_jorge.csv"}, termica);
    EXPECT_EQ(historias_de_pozos_csv(pozos, FormaExportacion{}), historia.salida);
    EXPECT_EQ(ajustes_de_pozos_csv(pozos, termica), ajustes.salida);
    // Both wells there, each line led by its name.
    EXPECT_NE(historia.salida.find("\r\ngolfo_san_jorge.csv,"), std::string::npos);
    EXPECT_NE(historia.salida.find("\r\nneuquen.csv,"), std::string::npos);
}

} // namespace
} // namespace tev
