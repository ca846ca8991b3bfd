#include "batch/imagenes_lote.h"
#include "batch/lote_de_prueba.h"

#include "compute/tevarro.h"
#include "model/store.h"
#include "project_file/formatos.h"

#include <gtest/gtest.h>

#include <QImage>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
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

using prueba::Ejecucion;
using prueba::ejecuta;
using prueba::lee;

fs::path temporal(const std::string& nombre)
{
    const fs::path dir =
        fs::temp_directory_path() / ("tevarro_batch_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    return dir / nombre;
}

void escribe(const fs::path& ruta, const std::string& bytes)
{
    std::ofstream(ruta, std::ios::binary) << bytes;
}

// The real tevarro-batch (or a copy of it), its standard error read back;
// with tope_bytes, its files may not grow past that (SIGXFSZ ignored, so
// writes fail with EFBIG as on a full disk); entorno, more environment.
Ejecucion ejecuta_programa(const std::vector<std::string>& args, long tope_bytes = -1,
                           const char* plataforma = nullptr,
                           const std::vector<std::pair<const char*, const char*>>& entorno = {},
                           const std::string& programa = TEVARRO_BATCH_EXE)
{
    const fs::path err = temporal("stderr.txt");
    const fs::path out = temporal("stdout.txt");
    const pid_t hijo = ::fork();
    if (hijo == 0) {
        ::freopen(out.c_str(), "w", stdout);
        ::freopen(err.c_str(), "w", stderr);
        ::unsetenv("XDG_RUNTIME_DIR");
        if (plataforma) ::setenv("QT_QPA_PLATFORM", plataforma, 1);
        for (const auto& [nombre, valor] : entorno)
            ::setenv(nombre, valor, 1);
        if (tope_bytes >= 0) {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit tope{static_cast<rlim_t>(tope_bytes), static_cast<rlim_t>(tope_bytes)};
            ::setrlimit(RLIMIT_FSIZE, &tope);
        }
        std::vector<char*> argv{const_cast<char*>(programa.c_str())};
        for (const auto& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(programa.c_str(), argv.data());
        ::_exit(127);
    }
    int estado = 0;
    ::waitpid(hijo, &estado, 0);
    return {WIFEXITED(estado) ? WEXITSTATUS(estado) : 128, lee(out.string()), lee(err.string())};
}

TEST(Lote, ErroresDeUso)
{
    EXPECT_EQ(ejecuta({}).codigo, 2);
    EXPECT_NE(ejecuta({}).errores.find("Uso: tevarro-batch"), std::string::npos);
    EXPECT_EQ(ejecuta({"--xyz", kEjemplo}).codigo, 2);
    EXPECT_EQ(ejecuta({"--salvar"}).codigo, 2);
    EXPECT_EQ(ejecuta({"--salvar", "/tmp/x.tev", kEjemplo, kEjemplo}).codigo, 2);
    for (const char* opcion : {"--salvar", "--curvas", "--columna"}) {
        const Ejecucion vacio = ejecuta({opcion, "", kEjemplo});
        EXPECT_EQ(vacio.codigo, 2) << opcion;
        EXPECT_NE(vacio.errores.find(std::string("tras ") + opcion + " está vacío"),
                  std::string::npos)
            << vacio.errores;
    }
    const Ejecucion ayuda = ejecuta({"--help"});
    EXPECT_EQ(ayuda.codigo, 0);
    EXPECT_NE(ayuda.salida.find("--csv"), std::string::npos);
}

TEST(Lote, UnBancoEnSingular)
{
    const fs::path uno = temporal("uno.tev");
    escribe(uno, "A, 0 , 100 , 0 , 10 ,Areniscas, 255 , .5 , .5 , 0 , 0 , 0 , 0 , 0 \r\n");
    const Ejecucion r = ejecuta({uno.string()});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_EQ(r.salida.rfind("Archivo: " + uno.string() + " (1 banco)\n", 0), 0u) << r.salida;
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
        std::istringstream cs(linea.substr(0, linea.size() - 1)); // drop the CR
        for (std::string c; std::getline(cs, c, ',');)
            campos.push_back(c);
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

// Each number of a CSV line is numero_corto's text, in store order, a zero of
// either sign written "0"; and the lines added to a buffer follow what it
// held.
TEST(Lote, CsvConLosNumerosCortos)
{
    auto s = std::make_unique<Store>();
    s->n_bancos = 2;
    const float valores[] = {0.63f, -2.5f, 1e-5f, 115.72869f, 3e38f, -0.0f, 16777217.0f, 7.83f};
    for (int i = 1; i <= 2; ++i) {
        float* campos[] = {&s->techo[i],
                           &s->base[i],
                           &s->edad_techo[i],
                           &s->edad_base[i],
                           &s->densidad[i],
                           &s->nivel_mar[i],
                           &s->techo_descomp[i],
                           &s->base_descomp[i],
                           &s->correccion_carga[i],
                           &s->tevarro_tectonica[i]};
        for (int c = 0; c < 10; ++c)
            *campos[c] = valores[(c + i) % 8] * static_cast<float>(i);
    }
    std::string t = "antes\n";
    agrega_lineas_csv(t, *s, "x.tev");
    std::string esperado = "antes\n";
    for (int i = 1; i <= 2; ++i) {
        esperado += "x.tev," + std::to_string(i) + ",,";
        for (int c = 0; c < 10; ++c) {
            const float v = valores[(c + i) % 8] * static_cast<float>(i);
            esperado += "," + (v == 0 ? std::string("0") : numero_corto(v));
        }
        esperado += "\r\n";
    }
    EXPECT_EQ(t, esperado);
    EXPECT_EQ(lineas_csv(*s, "x.tev"), esperado.substr(6));
    EXPECT_EQ(t.find("-0,"), std::string::npos) << t;
}

TEST(Lote, LaTablaEscribeElCeroNegativoComoCero)
{
    auto s = std::make_unique<Store>();
    s->n_bancos = 1;
    s->techo[1] = -0.0f;
    s->edad_techo[1] = -0.0f;
    s->base[1] = 100;
    const std::string t = tabla_de_bancos(*s);
    EXPECT_EQ(t.find("-0"), std::string::npos) << t;
    EXPECT_EQ(lineas_csv(*s, "x.tev").rfind("x.tev,1,,,0,100,0,0,", 0), 0u);
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
    EXPECT_EQ(lee(salida.string()), lee(kEjemplo));
}

TEST(Lote, LaHojaDeCalculoEsLaMismaColumna)
{
    const std::string hoja = std::string(TEVARRO_SOURCE_DIR) + "/examples/neuquen.csv";
    const Ejecucion desde_hoja = ejecuta({hoja});
    const Ejecucion desde_proyecto = ejecuta({kEjemplo});
    ASSERT_EQ(desde_hoja.codigo, 0) << desde_hoja.errores;
    // The same table under the title line.
    const auto tabla = [](const std::string& t) { return t.substr(t.find('\n')); };
    EXPECT_EQ(tabla(desde_hoja.salida), tabla(desde_proyecto.salida));

    const fs::path csv = temporal("ida.csv");
    const fs::path tev = temporal("vuelta.tev");
    ASSERT_EQ(ejecuta({"--salvar", csv.string(), kEjemplo}).codigo, 0);
    EXPECT_EQ(lee(csv.string()).rfind("\xEF\xBB\xBFnombre,techo,base,", 0), 0u);
    ASSERT_EQ(ejecuta({"--salvar", tev.string(), csv.string()}).codigo, 0);
    EXPECT_EQ(lee(tev.string()), lee(kEjemplo));

    const fs::path malo = temporal("malo.csv");
    escribe(malo, "nombre;techo;base;edad_techo;edad_base;litologia;color;porosidad;"
                  "coef_porosidad;paleobatimetria;pct_arenisca;pct_pelita;pct_caliza;"
                  "pct_evaporita\r\nA;0;1,5x;0;10;Areniscas;0;0,63;0,51;0;0;0;0;0\r\n");
    const Ejecucion r = ejecuta({malo.string()});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("«" + malo.string() +
                             "»: fila 2 (banco 1), columna «base»: «1,5x» no es un número."),
              std::string::npos)
        << r.errores;
}

TEST(Lote, LaHojaConNotasVuelveIgualYSinNotasSeAvisa)
{
    const std::string hoja = std::string(TEVARRO_SOURCE_DIR) + "/examples/neuquen.csv";
    const fs::path copia = temporal("copia.csv");
    const Ejecucion csv = ejecuta({"--salvar", copia.string(), hoja});
    ASSERT_EQ(csv.codigo, 0) << csv.errores;
    EXPECT_EQ(csv.errores, "");
    EXPECT_EQ(lee(copia.string()), lee(hoja));

    // The real program: the file is written, the loss said, and all is well.
    const fs::path tev = temporal("sin_notas.tev");
    const Ejecucion r = ejecuta_programa({"--salvar", tev.string(), hoja});
    EXPECT_EQ(r.codigo, 0);
    EXPECT_EQ(r.errores, "«" + tev.string() +
                             "»: se guardó sin las notas de 3 bancos, que un archivo de proyecto "
                             "no guarda; un archivo .csv las conserva.\n");
    EXPECT_EQ(lee(tev.string()), lee(kEjemplo));
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
    Ejecucion r =
        ejecuta({"--curvas", curvas_png.string(), "--columna", columna_png.string(), kEjemplo});
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
    EXPECT_NE(lee(curvas_svg.string()).find("<svg"), std::string::npos);
    EXPECT_NE(lee(columna_svg.string()).find("<svg"), std::string::npos);
    EXPECT_NE(lee(columna_svg.string()).find("Quintuco"), std::string::npos);

    EXPECT_EQ(ejecuta({"--columna", temporal("c.jpg").string(), kEjemplo}).codigo, 1);
    EXPECT_EQ(ejecuta({"--curvas", curvas_png.string(), kEjemplo, kEjemplo}).codigo, 2);
}

// Every file the tool writes, on a disk that refuses to take it: exit 1, a
// Spanish message naming the file, and the old file as it was.
TEST(Lote, UnDiscoQueNoAdmiteMasDejaLosArchivosViejos)
{
    const std::string viejo = "no es el ejemplo\r\n";
    for (const char* opcion : {"--salvar", "--curvas", "--columna"}) {
        const fs::path destino =
            temporal(std::string("viejo") + opcion + (opcion[2] == 's' ? ".tev" : ".png"));
        escribe(destino, viejo);
        const Ejecucion r = ejecuta_programa({opcion, destino.string(), kEjemplo}, 200);
        EXPECT_EQ(r.codigo, 1) << opcion;
        EXPECT_NE(r.errores.find("No se pudo guardar «" + destino.string() +
                                 "»: el archivo pasaría del tamaño máximo"),
                  std::string::npos)
            << r.errores;
        EXPECT_EQ(lee(destino.string()), viejo) << opcion;
    }
    const fs::path tuberia = temporal("tuberia.tev");
    fs::remove(tuberia);
    ASSERT_EQ(::mkfifo(tuberia.c_str(), 0644), 0);
    const Ejecucion r = ejecuta({"--salvar", tuberia.string(), kEjemplo});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("no es un archivo común"), std::string::npos) << r.errores;
    EXPECT_TRUE(fs::is_fifo(tuberia));
}

// What draws is loaded once, and only for a command line that asks for a
// picture before any "--" and passes its checks.
TEST(Lote, SoloLasImagenesCarganElDibujo)
{
    const std::string png = temporal("carga.png").string();
    const std::string svg = temporal("carga.svg").string();
    const struct {
        std::vector<std::string> argumentos;
        int cargas;
    } casos[] = {
        {{"--csv", kEjemplo, kEjemplo}, 0},
        {{"--salvar", temporal("carga.tev").string(), kEjemplo}, 0},
        {{"--csv", "--curvas", png, kEjemplo}, 1},
        {{"--columna", svg, "--curvas", png, kEjemplo}, 1},
        {{"--", "--curvas", png}, 0},
        {{kEjemplo, "--curvas"}, 0},
        {{"--curvas", png, kEjemplo, kEjemplo}, 0},
    };
    for (const auto& c : casos) {
        int cargas = 0;
        std::ostringstream out, err;
        static_cast<void>(ejecuta_lote(c.argumentos, out, err, [&](std::string&) {
            ++cargas;
            return &imagenes_enlazadas();
        }));
        EXPECT_EQ(cargas, c.cargas) << c.argumentos.front() << " " << c.argumentos.back();
    }
}

// A platform that does not exist stops any QGuiApplication at its start:
// only a run that draws may need one.
TEST(Lote, SinImagenesNoSeCargaNingunaPlataforma)
{
    const Ejecucion csv = ejecuta_programa({"--csv", kEjemplo}, -1, "plataforma-que-no-existe");
    EXPECT_EQ(csv.codigo, 0) << csv.errores;
    EXPECT_EQ(csv.errores, "");
    EXPECT_NE(csv.salida.find("neuquen.tev,12,"), std::string::npos);

    const Ejecucion tabla = ejecuta_programa({"--salvar", temporal("p.tev").string(), kEjemplo}, -1,
                                             "plataforma-que-no-existe");
    EXPECT_EQ(tabla.codigo, 0) << tabla.errores;
    EXPECT_EQ(lee(temporal("p.tev").string()), lee(kEjemplo));

    const Ejecucion curvas = ejecuta_programa({"--curvas", temporal("n.png").string(), kEjemplo},
                                              -1, "plataforma-que-no-existe");
    EXPECT_NE(curvas.codigo, 0);
    EXPECT_FALSE(fs::exists(temporal("n.png")));
}

// Reading, computing and reporting load no Qt library at all (the dynamic
// loader says which it loads); a picture brings Qt in with the module.
TEST(Lote, SinImagenesNoSeCargaQt)
{
    const std::vector<std::pair<const char*, const char*>> cargas{{"LD_DEBUG", "libs"}};
    const Ejecucion csv = ejecuta_programa({"--csv", kEjemplo}, -1, nullptr, cargas);
    EXPECT_EQ(csv.codigo, 0);
    EXPECT_NE(csv.errores.find("libc.so"), std::string::npos) << csv.errores;
    EXPECT_EQ(csv.errores.find("libQt6"), std::string::npos) << csv.errores;
    EXPECT_EQ(csv.errores.find("tevarro-imagenes.so"), std::string::npos);

    const Ejecucion curvas =
        ejecuta_programa({"--curvas", temporal("gui.png").string(), kEjemplo}, -1, nullptr, cargas);
    EXPECT_EQ(curvas.codigo, 0);
    EXPECT_NE(curvas.errores.find("tevarro-imagenes.so"), std::string::npos);
    EXPECT_NE(curvas.errores.find("libQt6Gui.so"), std::string::npos);
}

// A program without its pictures module does all the rest and says, in
// Spanish, which file it missed; no picture is left behind.
TEST(Lote, SinElModuloDeImagenesSeHaceTodoLoDemas)
{
    const fs::path solo = temporal("solo");
    fs::create_directories(solo);
    const fs::path copia = solo / "tevarro-batch";
    fs::copy_file(TEVARRO_BATCH_EXE, copia, fs::copy_options::overwrite_existing);
    const fs::path png = temporal("sin_modulo.png"), tev = temporal("sin_modulo.tev");
    const Ejecucion r =
        ejecuta_programa({"--csv", "--curvas", png.string(), "--salvar", tev.string(), kEjemplo},
                         -1, nullptr, {}, copia.string());
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.salida, ejecuta({"--csv", kEjemplo}).salida);
    EXPECT_EQ(lee(tev.string()), lee(kEjemplo));
    EXPECT_FALSE(fs::exists(png));
    EXPECT_NE(r.errores.find("tevarro-batch: no se escribió ninguna imagen: no se encontró el "
                             "módulo de imágenes «" +
                             solo.string() + "/../lib/"),
              std::string::npos)
        << r.errores;
    EXPECT_NE(r.errores.find("tevarro-imagenes.so»: el archivo o la carpeta no existe"),
              std::string::npos)
        << r.errores;
}

// The report written to a full disk (/dev/full) is a failure named in
// Spanish, with and without pictures: never exit 0 over an empty file.
TEST(Lote, LaSalidaEnUnDiscoLlenoEsUnFallo)
{
    for (const bool con_imagen : {false, true}) {
        SCOPED_TRACE(con_imagen);
        const fs::path err = temporal("lleno.txt");
        const std::string png = temporal("lleno.png").string();
        const pid_t hijo = ::fork();
        if (hijo == 0) {
            ::freopen("/dev/full", "w", stdout);
            ::freopen(err.c_str(), "w", stderr);
            if (con_imagen)
                ::execl(TEVARRO_BATCH_EXE, TEVARRO_BATCH_EXE, "--csv", "--curvas", png.c_str(),
                        kEjemplo.c_str(), nullptr);
            else
                ::execl(TEVARRO_BATCH_EXE, TEVARRO_BATCH_EXE, "--csv", kEjemplo.c_str(), nullptr);
            ::_exit(127);
        }
        int estado = 0;
        ::waitpid(hijo, &estado, 0);
        ASSERT_TRUE(WIFEXITED(estado));
        EXPECT_EQ(WEXITSTATUS(estado), 1);
        EXPECT_EQ(lee(err.string()),
                  "tevarro-batch: no se pudo escribir la salida: no queda espacio en el disco.\n");
    }
}

// The program, its drawing loaded with the module, writes the same report
// and the same picture bytes as the drawing linked in.
TEST(Lote, LasImagenesDelProgramaSonLasDelDibujoEnlazado)
{
    const std::string pa = temporal("modulo.png").string(), pb = temporal("enlazado.png").string();
    const std::string sa = temporal("modulo.svg").string(), sb = temporal("enlazado.svg").string();
    const Ejecucion programa = ejecuta_programa({"--curvas", pa, "--columna", sa, kEjemplo});
    const Ejecucion seguido = ejecuta({"--curvas", pb, "--columna", sb, kEjemplo});
    ASSERT_EQ(programa.codigo, 0) << programa.errores;
    ASSERT_EQ(seguido.codigo, 0) << seguido.errores;
    EXPECT_EQ(programa.salida, seguido.salida);
    EXPECT_FALSE(lee(pa).empty());
    EXPECT_EQ(lee(pa), lee(pb));
    EXPECT_EQ(lee(sa), lee(sb));
}

TEST(Lote, SinAvisosDeQtEnUnaCorridaNormal)
{
    const Ejecucion r = ejecuta_programa({"--curvas", temporal("q.png").string(), "--columna",
                                          temporal("q.svg").string(), kEjemplo});
    EXPECT_EQ(r.codigo, 0);
    EXPECT_EQ(r.errores, "");
    EXPECT_NE(r.salida.find("(12 bancos)"), std::string::npos);
}

// Open, compute and save, again and again: the same bytes every time, also
// for coefficients whose trip through 1/m in single precision is not exact.
TEST(Lote, AbrirCalcularYSalvarNoCambiaElArchivo)
{
    const std::string original =
        "C, 200 , 300 , 10 , 20 ,Pelitas, 255 , .63 , .99 , 0 , 0 , 0 , 0 , 0 \r\n"
        "B, 100 , 200 , 5 , 10 ,Areniscas, 255 , .49 , 7.83 , 0 , 0 , 0 , 0 , 0 \r\n"
        "A, 0 , 100 , 0 , 5 ,Calizas, 255 , .56 , 7.88 , 0 , 0 , 0 , 0 , 0 \r\n";
    const fs::path p = temporal("ciclos.tev");
    escribe(p, original);
    for (int vuelta = 0; vuelta < 4; ++vuelta) {
        const Ejecucion r = ejecuta({"--salvar", p.string(), p.string()});
        ASSERT_EQ(r.codigo, 0) << r.errores;
        ASSERT_EQ(lee(p.string()), original) << "vuelta " << vuelta;
    }
}

TEST(Lote, LosCaracteresDeControlSeMuestranEscapados)
{
    const fs::path p = temporal("escapes.tev");
    escribe(p, "\"\x1b]0;titulo\x07\x1b[2J\", 0 , 100 , 0 , 10 ,Areniscas, 255 , .49 , "
               ".27 , 0 , 0 , 0 , 0 , 0 \r\n");
    Ejecucion r = ejecuta({p.string()});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_NE(r.salida.find("\\x1b]0;titulo\\x07\\x1b[2J  Areniscas"), std::string::npos)
        << r.salida;
    EXPECT_EQ(r.salida.find('\x1b'), std::string::npos);
    // The CSV keeps the bytes, quoted.
    r = ejecuta({"--csv", p.string()});
    EXPECT_NE(r.salida.find(",1,\"\x1b]0;titulo\x07\x1b[2J\",Areniscas,"), std::string::npos)
        << r.salida;
    // And so do the messages that quote the file.
    escribe(p, "A, 0 , 1\x1b[2J , 0 , 10 ,Areniscas, 255 , .49 , .27 , 0 , 0 , 0 , 0 , 0 \r\n");
    r = ejecuta({p.string()});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("«1\\x1b[2J» no es un número"), std::string::npos) << r.errores;
    EXPECT_EQ(r.errores.find('\x1b'), std::string::npos);
    // A file's name may hold the C1 controls of UTF-8; tab stays a tab.
    EXPECT_EQ(escapa_controles("a\xc2\x9b[2J\t\x7f\xc3\xa9"), "a\\u009b[2J\t\\x7f\xc3\xa9");
}

TEST(Lote, LasCurvasNoEscritasPorUnCalculoFallidoSeNombran)
{
    const fs::path p = temporal("grueso.tev");
    escribe(p, "A, 0 , 200000 , 0 , 10 ,Areniscas, 255 , .49 , .27 , 0 , 0 , 0 , 0 , 0 \r\n");
    const fs::path curvas = temporal("grueso.png");
    fs::remove(curvas);
    const Ejecucion r = ejecuta({"--curvas", curvas.string(), p.string()});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("El banco 1 no se pudo descompactar"), std::string::npos);
    EXPECT_NE(r.errores.find("No se escribió la imagen de las curvas «" + curvas.string()),
              std::string::npos)
        << r.errores;
    EXPECT_FALSE(fs::exists(curvas));
}

} // namespace
} // namespace tev

namespace tev {
namespace {

std::string contenido(const fs::path& p)
{
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

TEST(Lote, ColumnaEnteraConTodosLosNombres)
{
    const fs::path svg = temporal("entera.svg");
    const fs::path png = temporal("entera.png");
    const fs::path vista = temporal("vista.png");
    const Ejecucion r = ejecuta({"--columna-entera", svg.string(), "--columna-entera", png.string(),
                                 "--columna", vista.string(), kEjemplo});
    EXPECT_EQ(r.codigo, 0) << r.errores;
    // The last one named is the one drawn; every bed's name is in it.
    EXPECT_FALSE(fs::exists(svg));
    const QImage img(QString::fromStdString(png.string()));
    ASSERT_FALSE(img.isNull());
    // All twelve decompacted columns across: far wider than the view's picture.
    EXPECT_GT(img.width(), 2 * QImage(QString::fromStdString(vista.string())).width());
    EXPECT_EQ(QImage(QString::fromStdString(vista.string())).size(), QSize(757, 485));

    ASSERT_EQ(ejecuta({"--columna-entera", svg.string(), kEjemplo}).codigo, 0);
    const std::string texto = contenido(svg);
    for (const char* nombre : {"Arcosas de Lotena", "Lutitas de Vaca Muerta",
                               "Arcosas del Collón Curá", "Arenas del Pampeano"})
        EXPECT_NE(texto.find(nombre), std::string::npos) << nombre;

    const Ejecucion dos = ejecuta({"--columna-entera", svg.string(), kEjemplo, kEjemplo});
    EXPECT_EQ(dos.codigo, 2);
    EXPECT_EQ(dos.errores,
              "tevarro-batch: --columna-entera trabaja con una sola columna; se dieron 2 "
              "archivos.\n");
    const Ejecucion mala = ejecuta({"--columna-entera", temporal("x.bmp").string(), kEjemplo});
    EXPECT_EQ(mala.codigo, 1);
    EXPECT_NE(mala.errores.find("x.bmp"), std::string::npos);
}

} // namespace
} // namespace tev
