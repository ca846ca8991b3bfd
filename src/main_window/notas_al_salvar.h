#pragma once
// Before "Salvar" writes a column where its remarks have no place (a project
// file): the user is asked, and nothing is dropped unasked.

class QString;
class QWidget;

namespace tev {

struct Store;

enum class DestinoNotas { csv, sin_notas, cancelar };

// The question, with three buttons: save as CSV at ruta_csv instead, save at
// ruta without the remarks of `bancos` beds (and the own grain densities of
// `densidades` beds, the own uncertainty ranges of `rangos` beds), or cancel.
// Closing it cancels.
DestinoNotas pregunta_por_notas(QWidget* padre, const QString& titulo, int bancos,
                                const QString& ruta, const QString& ruta_csv, int densidades = 0,
                                int rangos = 0);

// ruta with ".csv" in place of its extension, or added when it has none.
QString ruta_csv_al_lado(const QString& ruta);

// Where the column is to be saved. ruta stays as it is when the file keeps
// every remark, own grain density and own uncertainty range; otherwise the user chooses: the CSV
// file beside it (asked first when that file exists), ruta without the remarks, or nothing. False
// when nothing is to be saved.
bool destino_sin_perder_notas(QWidget* padre, const QString& titulo, const Store& s, QString& ruta);

} // namespace tev
