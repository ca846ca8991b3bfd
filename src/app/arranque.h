#pragma once
// What the desktop program does before its window can exist: the options that
// are answered without a display, and the start of Qt when there is no display
// to connect to.

#include <string>
#include <vector>

namespace tev {

// The version both programs print for --version.
extern const char* const kVersion;

enum class Inmediata { ninguna, ayuda, version };

// Looks through the command line (without the program's name) for -h, --help,
// --ayuda or --version, which are answered before Qt is started and wherever
// they stand: the first of them decides. "--" ends the options; Qt's own
// options that take a value (-platform NOMBRE, -style ESTILO, ...) take it,
// whatever it reads.
Inmediata opcion_inmediata(const std::vector<std::string>& argumentos);

// Whether Qt's own options are still on the command line (before Qt starts)
// or Qt has already taken out those it uses (QCoreApplication::arguments()).
enum class OpcionesDeQt { presentes, quitadas };

// What the command line (without the program's name) asks of tevarro: the
// files it names, and the usage error when it is wrong (an option of our own
// that does not exist, more than one file), as one line without "tevarro: ";
// empty when it is sound. With OpcionesDeQt::presentes, every option Qt 6
// can take (with its value) is let through, so a command line refused here is
// refused whether or not there is a display; Qt takes some of them only on
// some platforms (-geometry, -display on X11), which the second look, on the
// arguments Qt left, refuses.
struct Orden {
    std::vector<std::string> archivos;
    std::string error_de_uso;
};
Orden lee_orden(const std::vector<std::string>& argumentos, OpcionesDeQt opciones_de_qt);

// Puts Spanish first among the languages of the user interface (LANGUAGE),
// so that what Qt names in the user's language from the system's data (the
// types of files in the file dialogs, "documento de texto sencillo") is
// Spanish. Numbers and dates keep the user's locale (LANG, LC_*), and so does
// every number the program writes. Runs before QApplication and before any
// QLocale: Qt reads the variable once.
void interfaz_en_castellano();

// The one line tevarro prints when there is no display to open its window on:
// what the display variables say, and how to run it instead.
std::string aviso_sin_pantalla(const char* display, const char* wayland_display);

// While it lives, Qt's messages are held back; if Qt gives up starting (no
// platform could be opened: no display, or one that does not answer), the
// program prints aviso_sin_pantalla() on stderr and ends with status 1 instead
// of Qt's abort. When it ends without that, the messages held back are given
// to Qt's usual output, in their order.
class ArranqueDeQt {
  public:
    ArranqueDeQt();
    ~ArranqueDeQt();
    ArranqueDeQt(const ArranqueDeQt&) = delete;
    ArranqueDeQt& operator=(const ArranqueDeQt&) = delete;
};

} // namespace tev
