// The desktop program before its window: --help and --version answered
// without Qt, the start of Qt with no display, and the messages Qt gives while
// it starts.

#include "app/arranque.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <string>
#include <utility>
#include <vector>

namespace tev {
namespace {

TEST(OpcionInmediata, AyudaYVersionEnCualquierLugar)
{
    EXPECT_EQ(opcion_inmediata({}), Inmediata::ninguna);
    EXPECT_EQ(opcion_inmediata({"columna.tev"}), Inmediata::ninguna);
    for (const char* a : {"-h", "--help", "--ayuda"}) {
        EXPECT_EQ(opcion_inmediata({a}), Inmediata::ayuda) << a;
        EXPECT_EQ(opcion_inmediata({"columna.tev", "--nada", a}), Inmediata::ayuda) << a;
    }
    EXPECT_EQ(opcion_inmediata({"--version"}), Inmediata::version);
    EXPECT_EQ(opcion_inmediata({"uno.tev", "dos.tev", "--version"}), Inmediata::version);
    // The first of them decides.
    EXPECT_EQ(opcion_inmediata({"--version", "--help"}), Inmediata::version);
    EXPECT_EQ(opcion_inmediata({"--help", "--version"}), Inmediata::ayuda);
    // Neither a prefix nor a longer word.
    EXPECT_EQ(opcion_inmediata({"--versio"}), Inmediata::ninguna);
    EXPECT_EQ(opcion_inmediata({"--helpme"}), Inmediata::ninguna);
    EXPECT_EQ(opcion_inmediata({"-help"}), Inmediata::ninguna);
}

TEST(OpcionInmediata, DespuesDeDobleGuionEsUnArchivo)
{
    EXPECT_EQ(opcion_inmediata({"--", "--help"}), Inmediata::ninguna);
    EXPECT_EQ(opcion_inmediata({"--", "--version"}), Inmediata::ninguna);
    EXPECT_EQ(opcion_inmediata({"--version", "--", "--help"}), Inmediata::version);
}

TEST(OpcionInmediata, LasOpcionesDeQtSeLlevanSuValor)
{
    // "-style --version" is the style named "--version", as Qt reads it.
    EXPECT_EQ(opcion_inmediata({"-style", "--version"}), Inmediata::ninguna);
    EXPECT_EQ(opcion_inmediata({"-style", "--version", "--help"}), Inmediata::ayuda);
    EXPECT_EQ(opcion_inmediata({"--platform", "--help"}), Inmediata::ninguna);
    EXPECT_EQ(opcion_inmediata({"-platform", "offscreen", "--version"}), Inmediata::version);
    EXPECT_EQ(opcion_inmediata({"-qwindowtitle", "-h", "-display", "--ayuda"}), Inmediata::ninguna);
    // Options without a value take nothing.
    EXPECT_EQ(opcion_inmediata({"-reverse", "--version"}), Inmediata::version);
}

TEST(LeeOrden, LasOpcionesDeQtPasanAntesDeQt)
{
    const std::vector<std::string> con_qt = {
        "-style",   "fusion",        "--platform",    "xcb", "-reverse",
        "--nograb", "-stylesheet=a", "-qwindowtitle", "-x",  "columna.tev"};
    Orden orden = lee_orden(con_qt, OpcionesDeQt::presentes);
    EXPECT_EQ(orden.error_de_uso, "");
    EXPECT_EQ(orden.archivos, std::vector<std::string>{"columna.tev"});
    // Once Qt has taken out what it used, whatever it left is ours.
    orden = lee_orden(con_qt, OpcionesDeQt::quitadas);
    EXPECT_EQ(orden.error_de_uso, "la opción \"-style\" no existe.");
    orden = lee_orden({"-geometry", "10x10"}, OpcionesDeQt::quitadas);
    EXPECT_EQ(orden.error_de_uso, "la opción \"-geometry\" no existe.");
}

TEST(LeeOrden, ErroresDeUso)
{
    EXPECT_EQ(lee_orden({"--opcion-que-no-existe"}, OpcionesDeQt::presentes).error_de_uso,
              "la opción \"--opcion-que-no-existe\" no existe.");
    // Not an option of Qt's: neither a longer word nor one that takes no "=".
    EXPECT_EQ(lee_orden({"-reversed"}, OpcionesDeQt::presentes).error_de_uso,
              "la opción \"-reversed\" no existe.");
    EXPECT_EQ(lee_orden({"-reverse=1"}, OpcionesDeQt::presentes).error_de_uso,
              "la opción \"-reverse=1\" no existe.");
    EXPECT_EQ(
        lee_orden({"uno.tev", "-platform", "xcb", "dos.tev"}, OpcionesDeQt::presentes).error_de_uso,
        "se puede abrir un solo archivo de proyecto y se dieron 2: \"uno.tev\", "
        "\"dos.tev\".");
    // "-" alone, and anything after "--", is a file.
    Orden orden = lee_orden({"--", "-x"}, OpcionesDeQt::presentes);
    EXPECT_EQ(orden.error_de_uso, "");
    EXPECT_EQ(orden.archivos, std::vector<std::string>{"-x"});
    orden = lee_orden({"-"}, OpcionesDeQt::quitadas);
    EXPECT_EQ(orden.error_de_uso, "");
    EXPECT_EQ(orden.archivos, std::vector<std::string>{"-"});
}

TEST(InterfazEnCastellano, ElCastellanoPrimeroEntreLosIdiomas)
{
    const bool habia = qEnvironmentVariableIsSet("LANGUAGE");
    const QByteArray antes = qgetenv("LANGUAGE");
    const std::vector<std::pair<QByteArray, QByteArray>> casos = {{"", "es"},
                                                                  {"fr:en", "es:fr:en"},
                                                                  {"es", "es"},
                                                                  {"es_AR:es", "es_AR:es"},
                                                                  {"estonio", "es:estonio"}};
    for (const auto& [idiomas, quedan] : casos) {
        qputenv("LANGUAGE", idiomas);
        interfaz_en_castellano();
        EXPECT_EQ(qgetenv("LANGUAGE"), quedan) << idiomas.constData();
    }
    if (habia)
        qputenv("LANGUAGE", antes);
    else
        qunsetenv("LANGUAGE");
}

TEST(AvisoSinPantalla, UnaLineaQueDiceQuePasaYQueHacer)
{
    for (const auto& [display, wayland] :
         std::vector<std::pair<const char*, const char*>>{{nullptr, nullptr},
                                                          {"", ""},
                                                          {":179", nullptr},
                                                          {nullptr, "wayland-9"},
                                                          {":3", "wayland-0"}}) {
        const std::string aviso = aviso_sin_pantalla(display, wayland);
        SCOPED_TRACE(aviso);
        EXPECT_EQ(aviso.rfind("tevarro: no hay pantalla", 0), 0u);
        EXPECT_EQ(aviso.find('\n'), std::string::npos);
        EXPECT_NE(aviso.find("sesión gráfica"), std::string::npos);
        EXPECT_NE(aviso.find("tevarro-batch"), std::string::npos);
    }
    EXPECT_NE(aviso_sin_pantalla(nullptr, "").find("DISPLAY y WAYLAND_DISPLAY sin definir"),
              std::string::npos);
    EXPECT_NE(aviso_sin_pantalla(":179", nullptr).find("DISPLAY=\":179\" no responde"),
              std::string::npos);
    const std::string ambas = aviso_sin_pantalla(":3", "wayland-0");
    EXPECT_NE(ambas.find("DISPLAY=\":3\", WAYLAND_DISPLAY=\"wayland-0\" no responde"),
              std::string::npos)
        << ambas;
}

// What reached the message handler installed by the test.
std::vector<std::pair<QtMsgType, QString>>* vistos = nullptr;

void anota(QtMsgType tipo, const QMessageLogContext&, const QString& texto)
{
    if (vistos) vistos->push_back({tipo, texto});
}

TEST(ArranqueDeQt, RetieneLosMensajesYLuegoLosDaEnOrden)
{
    std::vector<std::pair<QtMsgType, QString>> mensajes;
    vistos = &mensajes;
    const QtMessageHandler previo = qInstallMessageHandler(anota);
    {
        ArranqueDeQt arranque;
        qWarning("primero");
        qInfo("segundo");
        qCritical("tercero");
        EXPECT_TRUE(mensajes.empty());
    }
    ASSERT_EQ(mensajes.size(), 3u);
    EXPECT_EQ(mensajes[0], std::make_pair(QtWarningMsg, QString("primero")));
    EXPECT_EQ(mensajes[1], std::make_pair(QtInfoMsg, QString("segundo")));
    EXPECT_EQ(mensajes[2], std::make_pair(QtCriticalMsg, QString("tercero")));
    // The handler that was there before is back.
    qWarning("después");
    ASSERT_EQ(mensajes.size(), 4u);
    EXPECT_EQ(mensajes[3].second, "después");
    qInstallMessageHandler(previo);
    vistos = nullptr;
}

// The real programs, with no display in their environment.
struct Corrida {
    int estado = -1;
    std::string salida;
    std::string errores;
};

Corrida corre(const QString& programa, const QStringList& argumentos,
              const std::vector<std::pair<QString, QString>>& variables = {})
{
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    for (const char* v : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE"})
        entorno.remove(v);
    for (const auto& [nombre, valor] : variables)
        entorno.insert(nombre, valor);
    QProcess p;
    p.setProcessEnvironment(entorno);
    p.start(programa, argumentos);
    Corrida r;
    if (!p.waitForFinished(20000)) {
        p.kill();
        p.waitForFinished();
        return r; // estado -1: still running, or never started
    }
    r.estado = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.salida = p.readAllStandardOutput().toStdString();
    r.errores = p.readAllStandardError().toStdString();
    return r;
}

TEST(SinPantalla, AyudaYVersionDeAmbosProgramas)
{
    Corrida r = corre(TEVARRO_EXE, {"--version"});
    EXPECT_EQ(r.estado, 0);
    EXPECT_EQ(r.salida, "tevarro " TEVARRO_VERSION "\n");
    EXPECT_EQ(r.errores, "");

    for (const char* ayuda : {"--help", "-h", "--ayuda"}) {
        r = corre(TEVARRO_EXE, {"columna.tev", ayuda});
        EXPECT_EQ(r.estado, 0) << ayuda;
        EXPECT_EQ(r.salida.rfind("Uso: tevarro ", 0), 0u) << r.salida;
        EXPECT_NE(r.salida.find("--version"), std::string::npos) << r.salida;
        EXPECT_EQ(r.errores, "");
    }
    // Qt's options keep working and take their value.
    r = corre(TEVARRO_EXE, {"-platform", "xcb", "--version"});
    EXPECT_EQ(r.estado, 0);
    EXPECT_EQ(r.salida, "tevarro " TEVARRO_VERSION "\n");
    r = corre(TEVARRO_EXE, {"-style", "--version", "--help"});
    EXPECT_EQ(r.estado, 0);
    EXPECT_EQ(r.salida.rfind("Uso: tevarro ", 0), 0u) << r.salida;

    r = corre(TEVARRO_BATCH_EXE, {"--version"});
    EXPECT_EQ(r.estado, 0);
    EXPECT_EQ(r.salida, "tevarro-batch " TEVARRO_VERSION "\n");
    EXPECT_EQ(r.errores, "");
    r = corre(TEVARRO_BATCH_EXE, {"--help"});
    EXPECT_EQ(r.estado, 0);
    EXPECT_EQ(r.salida.rfind("Uso: tevarro-batch ", 0), 0u) << r.salida;
    EXPECT_NE(r.salida.find("--version"), std::string::npos) << r.salida;
}

void espera_aviso_de_una_linea(const Corrida& r, const std::string& donde)
{
    EXPECT_EQ(r.estado, 1);
    EXPECT_EQ(r.salida, "");
    EXPECT_EQ(r.errores.rfind("tevarro: no hay pantalla en la que abrir la ventana (" + donde, 0),
              0u)
        << r.errores;
    ASSERT_FALSE(r.errores.empty());
    EXPECT_EQ(r.errores.find('\n'), r.errores.size() - 1) << r.errores;
}

TEST(SinPantalla, TevarroLoDiceEnUnaLineaYSaleConUno)
{
    espera_aviso_de_una_linea(corre(TEVARRO_EXE, {}), "DISPLAY y WAYLAND_DISPLAY sin definir");
    // With a file, and with "--help" after "--", which names a file.
    espera_aviso_de_una_linea(corre(TEVARRO_EXE, {TEVARRO_SOURCE_DIR "/examples/neuquen.tev"}),
                              "DISPLAY y WAYLAND_DISPLAY sin definir");
    espera_aviso_de_una_linea(corre(TEVARRO_EXE, {"--", "--help"}),
                              "DISPLAY y WAYLAND_DISPLAY sin definir");

    // An X display nobody serves, chosen by Qt itself or by the user.
    int n = 179;
    while (QFileInfo::exists(QString("/tmp/.X11-unix/X%1").arg(n)))
        ++n;
    const QString nadie = QString(":%1").arg(n);
    const std::string donde = "DISPLAY=\"" + nadie.toStdString() + "\" no responde";
    espera_aviso_de_una_linea(corre(TEVARRO_EXE, {}, {{"DISPLAY", nadie}}), donde);
    espera_aviso_de_una_linea(
        corre(TEVARRO_EXE, {}, {{"DISPLAY", nadie}, {"QT_QPA_PLATFORM", "xcb"}}), donde);
    espera_aviso_de_una_linea(corre(TEVARRO_EXE, {"-platform", "xcb"}, {{"DISPLAY", nadie}}),
                              donde);

    // A Wayland display that is not there.
    QTemporaryDir ejecucion;
    espera_aviso_de_una_linea(corre(TEVARRO_EXE, {},
                                    {{"WAYLAND_DISPLAY", "wayland-tevarro"},
                                     {"QT_QPA_PLATFORM", "wayland"},
                                     {"XDG_RUNTIME_DIR", ejecucion.path()}}),
                              "WAYLAND_DISPLAY=\"wayland-tevarro\" no responde");
}

void espera_error_de_uso(const Corrida& r, const std::string& error)
{
    EXPECT_EQ(r.estado, 2);
    EXPECT_EQ(r.salida, "");
    EXPECT_EQ(r.errores.rfind("tevarro: " + error + "\nUso: tevarro [OPCIÓN...] [ARCHIVO]\n", 0),
              0u)
        << r.errores;
}

TEST(SinPantalla, LosErroresDeUsoSonDosAunSinPantalla)
{
    espera_error_de_uso(corre(TEVARRO_EXE, {"--opcion-que-no-existe"}),
                        "la opción \"--opcion-que-no-existe\" no existe.");
    espera_error_de_uso(corre(TEVARRO_EXE, {"-style", "fusion", "uno.tev", "dos.tev"}),
                        "se puede abrir un solo archivo de proyecto y se dieron 2: \"uno.tev\", "
                        "\"dos.tev\".");
    // Qt's own options are no usage error: without a display the answer is
    // still that there is none.
    espera_aviso_de_una_linea(corre(TEVARRO_EXE, {"-style", "fusion", "-reverse", "--qwindowtitle",
                                                  "-t", "-stylesheet=a.qss", "-platform", "xcb",
                                                  TEVARRO_SOURCE_DIR "/examples/neuquen.tev"}),
                              "DISPLAY y WAYLAND_DISPLAY sin definir");
}

TEST(SinPantalla, LosErroresDeUsoSiguenSiendoDos)
{
    // A platform that needs no display: the arguments are looked at as before.
    const Corrida r = corre(TEVARRO_EXE, {"--nada"}, {{"QT_QPA_PLATFORM", "offscreen"}});
    EXPECT_EQ(r.estado, 2);
    EXPECT_NE(r.errores.find("\"--nada\" no existe"), std::string::npos) << r.errores;
    EXPECT_NE(r.errores.find("Uso: tevarro [OPCIÓN...] [ARCHIVO]"), std::string::npos);
}

} // namespace
} // namespace tev
