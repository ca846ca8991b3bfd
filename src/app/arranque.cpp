#include "app/arranque.h"

#include <QByteArray>
#include <QList>
#include <QMessageLogContext>
#include <QString>
#include <QtGlobal>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace tev {

const char* const kVersion = TEVARRO_VERSION;

namespace {

// Qt takes its options with one dash or two.
std::string con_un_guion(std::string a)
{
    if (a.rfind("--", 0) == 0) a.erase(0, 1);
    return a;
}

// Qt's options that take the next argument as their value, in QCoreApplication,
// QGuiApplication, QApplication and the xcb platform (Qt 6).
bool opcion_de_qt_con_valor(const std::string& argumento)
{
    const std::string a = con_un_guion(argumento);
    static const char* const kConValor[] = {"-platform",
                                            "-platformpluginpath",
                                            "-platformtheme",
                                            "-plugin",
                                            "-qwindowgeometry",
                                            "-geometry",
                                            "-qwindowtitle",
                                            "-title",
                                            "-qwindowicon",
                                            "-icon",
                                            "-session",
                                            "-style",
                                            "-stylesheet",
                                            "-display",
                                            "-name",
                                            "-visual",
                                            "-qmljsdebugger"};
    for (const char* o : kConValor)
        if (a == o) return true;
    return false;
}

// Qt's options that stand alone: flags, and those whose value follows "=".
bool opcion_de_qt_sola(const std::string& argumento)
{
    const std::string a = con_un_guion(argumento);
    static const char* const kSolas[] = {"-reverse", "-widgetcount", "-testability", "-nograb",
                                         "-dograb",  "-qdevel",      "-qdebug"};
    for (const char* o : kSolas)
        if (a == o) return true;
    static const char* const kConIgual[] = {"-style=", "-stylesheet=", "-qmljsdebugger="};
    for (const char* o : kConIgual)
        if (a.rfind(o, 0) == 0) return true;
    return false;
}

bool es_ayuda(const std::string& a)
{
    return a == "-h" || a == "--help" || a == "--ayuda";
}

} // namespace

Inmediata opcion_inmediata(const std::vector<std::string>& argumentos)
{
    for (std::size_t i = 0; i < argumentos.size(); ++i) {
        const std::string& a = argumentos[i];
        if (a == "--") break;
        if (es_ayuda(a)) return Inmediata::ayuda;
        if (a == "--version") return Inmediata::version;
        if (opcion_de_qt_con_valor(a)) ++i;
    }
    return Inmediata::ninguna;
}

Orden lee_orden(const std::vector<std::string>& argumentos, OpcionesDeQt opciones_de_qt)
{
    const bool salta_las_de_qt = opciones_de_qt == OpcionesDeQt::presentes;
    Orden orden;
    bool opciones = true;
    for (std::size_t i = 0; i < argumentos.size(); ++i) {
        const std::string& a = argumentos[i];
        if (opciones && a == "--") {
            opciones = false;
        } else if (opciones && salta_las_de_qt && opcion_de_qt_con_valor(a)) {
            ++i;
        } else if (opciones && salta_las_de_qt && opcion_de_qt_sola(a)) {
            continue;
        } else if (opciones && a.size() > 1 && a[0] == '-') {
            orden.error_de_uso = "la opción \"" + a + "\" no existe.";
            return orden;
        } else {
            orden.archivos.push_back(a);
        }
    }
    if (orden.archivos.size() > 1) {
        std::string nombres;
        for (const std::string& archivo : orden.archivos)
            nombres += (nombres.empty() ? "\"" : ", \"") + archivo + "\"";
        orden.error_de_uso = "se puede abrir un solo archivo de proyecto y se dieron " +
                             std::to_string(orden.archivos.size()) + ": " + nombres + ".";
    }
    return orden;
}

void interfaz_en_castellano()
{
    const QByteArray idiomas = qgetenv("LANGUAGE");
    if (idiomas == "es" || idiomas.startsWith("es:") || idiomas.startsWith("es_")) return;
    qputenv("LANGUAGE", idiomas.isEmpty() ? QByteArray("es") : "es:" + idiomas);
}

std::string aviso_sin_pantalla(const char* display, const char* wayland_display)
{
    const bool x11 = display && *display;
    const bool wayland = wayland_display && *wayland_display;
    std::string donde;
    if (!x11 && !wayland) {
        donde = "DISPLAY y WAYLAND_DISPLAY sin definir";
    } else {
        if (x11) donde = std::string("DISPLAY=\"") + display + "\"";
        if (x11 && wayland) donde += ", ";
        if (wayland) donde += std::string("WAYLAND_DISPLAY=\"") + wayland_display + "\"";
        donde += " no responde";
    }
    return "tevarro: no hay pantalla en la que abrir la ventana (" + donde +
           "); ejecútelo en una sesión gráfica, o use tevarro-batch, que no la necesita.";
}

namespace {

struct Mensaje {
    QtMsgType tipo;
    QByteArray archivo;
    int linea;
    QByteArray funcion;
    QByteArray categoria;
    QString texto;
};

// Only touched while Qt starts, on the main thread.
QList<Mensaje>* retenidos = nullptr;
QtMessageHandler anterior = nullptr;

void retiene(QtMsgType tipo, const QMessageLogContext& contexto, const QString& texto)
{
    if (tipo == QtFatalMsg) {
        // Qt would abort next; its own lines (in English, about plugins) are
        // dropped with it.
        const std::string aviso =
            aviso_sin_pantalla(std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY")) + "\n";
        std::fputs(aviso.c_str(), stderr);
        std::fflush(stderr);
        ::_exit(1);
    }
    if (retenidos)
        retenidos->append({tipo, QByteArray(contexto.file), contexto.line,
                           QByteArray(contexto.function), QByteArray(contexto.category), texto});
}

} // namespace

ArranqueDeQt::ArranqueDeQt()
{
    retenidos = new QList<Mensaje>;
    anterior = qInstallMessageHandler(retiene);
}

ArranqueDeQt::~ArranqueDeQt()
{
    qInstallMessageHandler(anterior);
    QList<Mensaje>* mensajes = retenidos;
    retenidos = nullptr;
    for (const Mensaje& m : *mensajes) {
        const QMessageLogContext contexto(m.archivo.isNull() ? nullptr : m.archivo.constData(),
                                          m.linea,
                                          m.funcion.isNull() ? nullptr : m.funcion.constData(),
                                          m.categoria.isNull() ? nullptr : m.categoria.constData());
        qt_message_output(m.tipo, contexto, m.texto);
    }
    delete mensajes;
}

} // namespace tev
