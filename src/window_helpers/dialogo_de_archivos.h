#pragma once
// The file dialogs of every window ("Abrir", "Salvar", "Guardar imagen…"):
// Qt's own dialog, with its list of files in Spanish. Qt writes a file's size
// and date in the system's locale (English on most machines); the list shows
// them here as a Spanish reader writes them. The type names are Spanish once
// interfaz_en_castellano() (app/arranque.h) has run at start-up.

#include <QString>

class QFileDialog;

namespace tev {

// Puts a Spanish list in a Qt file dialog (not a native one), before it is
// shown. The list's sizes and dates are rewritten; names, types and order are
// Qt's.
void lista_en_castellano(QFileDialog& dialogo);

// How the list writes a size in bytes: "1 byte", "512 bytes", "4,88 KiB".
QString tamano_en_castellano(qint64 bytes);

// Shows dialogo (with a Spanish list, local files only) and returns the path
// of the file chosen, or an empty text when it was cancelled.
QString elige_archivo(QFileDialog& dialogo);

} // namespace tev
