#include "main_window/com_file.h"
#include "window_helpers/dialogo_de_archivos.h"

#include <QFileDialog>

namespace tev {

namespace {
// A name ending in .csv is read and written as a spreadsheet column.
const QString kFiltroCsv = "Archivos CSV (*.csv *.CSV)";
const QString kFiltro =
    "Archivos de proyecto (*.tev *.txt *.dat);;" + kFiltroCsv + ";;Todos los archivos (*)";
} // namespace

bool ComFile::ShowOpen(QWidget* padre)
{
    FileName.clear();
    FileName = pide_abrir(padre);
    return !FileName.isEmpty();
}

bool ComFile::ShowSave(QWidget* padre)
{
    FileName.clear();
    FileName = pide_salvar(padre);
    return !FileName.isEmpty();
}

QString ComFile::pide_abrir(QWidget* padre)
{
    // Qt's dialogs have no read-only check box, so flag 4 holds as it is.
    QFileDialog dialogo(padre, DialogTitle, QString(), kFiltro);
    dialogo.setFileMode(QFileDialog::ExistingFile);
    return elige_archivo(dialogo);
}

QString ComFile::pide_salvar(QWidget* padre)
{
    // A name typed without an extension becomes a project file (a CSV file
    // under the CSV filter), and an existing file is replaced only once the
    // user confirms it.
    QFileDialog dialogo(padre, DialogTitle, QString(), kFiltro);
    dialogo.setAcceptMode(QFileDialog::AcceptSave);
    dialogo.setFileMode(QFileDialog::AnyFile);
    dialogo.setDefaultSuffix("tev");
    QObject::connect(&dialogo, &QFileDialog::filterSelected, &dialogo,
                     [&dialogo](const QString& filtro) {
                         dialogo.setDefaultSuffix(filtro == kFiltroCsv ? "csv" : "tev");
                     });
    lista_en_castellano(dialogo);
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty()) return {};
    return dialogo.selectedFiles().first();
}

} // namespace tev
