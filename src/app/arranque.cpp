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

// Qt's options that take the next argument as their value, in QGuiApplication,
// QApplication and the xcb platform. Qt takes them with one dash or two.
bool opcion_de_qt_con_valor(std::string a)
{
    if (a.rfind("--", 0) == 0) a.erase(0, 1);
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
                                            "-visual"};
    for (const char* o : kConValor)
        if (a == o) return true;
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
