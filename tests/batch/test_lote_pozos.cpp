// Several wells in one picture (--comparar-imagen), with the fit's options
// and, with --incertidumbre, each well's bands; and the comparison's
// exports, which are what --historia and --estiramiento write for the same
// files.

#include "batch/imagenes_lote.h"
#include "batch/lote_de_prueba.h"
#include "compute/incertidumbre.h"
#include "compute/nivel_mar.h"
#include "drawing/dibujo_pozos.h"
#include "model/store.h"
#include "project_file/columna.h"
#include "project_file/forma_exportacion.h"
#include "project_file/formatos.h"
#include "project_file/pozos.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QLocale>

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

TEST(LotePozos, ConIncertidumbreLaBandaDelPozoEnSuColor)
{
    const std::string archivo = kDir + "neuquen.csv";
    const std::string con = (carpeta() / "con_bandas.png").string();
    const std::string sin = (carpeta() / "sin_bandas.png").string();
    const Ejecucion e = ejecuta({"--comparar-imagen", con, "--incertidumbre", "300", "--semilla",
                                 "7", "--rango-paleobatimetria", "150", archivo});
    ASSERT_EQ(e.codigo, 0) << e.errores;
    ASSERT_EQ(ejecuta({"--comparar-imagen", sin, archivo}).codigo, 0);
    const QImage im(QString::fromStdString(con));
    const QImage im_sin(QString::fromStdString(sin));
    ASSERT_FALSE(im.isNull());
    ASSERT_FALSE(im_sin.isNull());

    // The same draws made here from the column, and the frame of the
    // picture with them.
    const std::vector<Pozo> pozos = lee_pozos({archivo}, PeticionAjuste{});
    ASSERT_TRUE(pozos[0].ok());
    const LecturaColumna l = lee_archivo(archivo);
    ASSERT_TRUE(l.ok);
    const auto s = std::make_unique<Store>();
    valores_de_arranque(*s);
    carga_lectura(*s, l);
    RangosColumna rangos;
    rangos.paleobatimetria = 150;
    const ResultadoIncertidumbre r = calcula_incertidumbre(*s, CurvaNivelMar{}, rangos, 300, 7);
    ASSERT_TRUE(r.ok()) << r.error;
    FiguraPozos f = figura_de_pozos(pozos, ModeloEstiramiento{});
    f.pozos[0].bandas = r.bandas;
    const MarcoPozos m = marco_pozos(f, im.size());
    const MarcoPozos m_sin = marco_pozos(figura_de_pozos(pozos, ModeloEstiramiento{}), im.size());

    // Between two steps, 60 m above the curve and inside the draws' 16-84 %,
    // away from the fitted curve: a coat of the well's blue over white.
    const Pozo& w = pozos[0];
    const auto lejos = [&](double edad, double sub, const MarcoPozos& mm) {
        const double y = mm.punto(edad, sub).y();
        const double ajuste =
            mm.punto(edad, modelo_estiramiento(ModeloEstiramiento{}, w.ajuste.beta,
                                               w.ajuste.edad_rift, edad))
                .y();
        return std::abs(y - ajuste) > 6;
    };
    int vistos = 0;
    for (std::size_t k = 0; k + 1 < w.historia.pasos.size(); ++k) {
        const PasoHistoria& a = w.historia.pasos[k];
        const PasoHistoria& b = w.historia.pasos[k + 1];
        const double edad = (a.edad + b.edad) / 2;
        const double curva = (a.subsidencia_tectonica + b.subsidencia_tectonica) / 2;
        const double p16 = (r.bandas[k].tectonica[1] + r.bandas[k + 1].tectonica[1]) / 2;
        const double sub = curva - 60;
        if (!(sub > p16 + 10) || !lejos(edad, sub, m) || !lejos(edad, sub, m_sin)) continue;
        ++vistos;
        const QColor c = im.pixelColor(m.punto(edad, sub).toPoint());
        // From white towards (0, 114, 178) by the same share in every channel.
        const double hacia_rojo = (255.0 - c.red()) / 255;
        const double hacia_verde = (255.0 - c.green()) / (255.0 - 114);
        const double hacia_azul = (255.0 - c.blue()) / (255.0 - 178);
        EXPECT_GT(hacia_rojo, 0.1) << edad << " Ma";
        EXPECT_LT(hacia_rojo, 0.9) << edad << " Ma";
        EXPECT_NEAR(hacia_verde, hacia_rojo, 0.05) << edad << " Ma";
        EXPECT_NEAR(hacia_azul, hacia_rojo, 0.08) << edad << " Ma";
        // Without --incertidumbre the same place is white.
        EXPECT_EQ(im_sin.pixelColor(m_sin.punto(edad, sub).toPoint()), QColor(Qt::white))
            << edad << " Ma";
    }
    EXPECT_GE(vistos, 3);
}

TEST(LotePozos, LaMismaSemillaLosMismosBytes)
{
    const std::string a = (carpeta() / "semilla_a.png").string();
    const std::string b = (carpeta() / "semilla_b.png").string();
    const std::string otra = (carpeta() / "semilla_otra.png").string();
    const auto corre = [](const std::string& imagen, const char* semilla) {
        return ejecuta({"--comparar-imagen", imagen, "--incertidumbre", "200", "--semilla", semilla,
                        "--rango-porosidad", "0.2", "--rango-edad", "2", kDir + "neuquen.csv",
                        kDir + "golfo_san_jorge.csv"})
            .codigo;
    };
    ASSERT_EQ(corre(a, "3"), 0);
    ASSERT_EQ(corre(b, "3"), 0);
    ASSERT_EQ(corre(otra, "4"), 0);
    EXPECT_FALSE(prueba::lee(a).empty());
    EXPECT_EQ(prueba::lee(a), prueba::lee(b));
    EXPECT_NE(prueba::lee(a), prueba::lee(otra));
}

TEST(LotePozos, LasOpcionesDelAjusteLleganALaFigura)
{
    const std::string imagen = (carpeta() / "termica.svg").string();
    const std::string archivo = kDir + "neuquen.csv";
    const Ejecucion e = ejecuta({"--comparar-imagen", imagen, "--modo", "termica", archivo});
    ASSERT_EQ(e.codigo, 0) << e.errores;
    PeticionAjuste termica;
    termica.modelo.modo = ModoEstiramiento::termica;
    const Pozo con = lee_pozos({archivo}, termica)[0];
    const Pozo sin = lee_pozos({archivo}, PeticionAjuste{})[0];
    ASSERT_TRUE(con.ajuste.ok() && sin.ajuste.ok());
    const auto beta = [](const Pozo& w) {
        return QString::fromUtf8("β = ") + QLocale().toString(w.ajuste.beta, 'f', 2);
    };
    ASSERT_NE(beta(con), beta(sin));
    const QString svg = QString::fromStdString(prueba::lee(imagen));
    EXPECT_TRUE(svg.contains(beta(con))) << beta(con).toStdString();
    EXPECT_FALSE(svg.contains(beta(sin))) << beta(sin).toStdString();
}

} // namespace
} // namespace tev
