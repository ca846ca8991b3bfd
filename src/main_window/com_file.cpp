#include "main_window/com_file.h"
#include "window_helpers/dialogo_de_archivos.h"

#include "project_file/csv_columna.h"

#include <QFileDialog>
#include <QFileInfo>

namespace tev {

namespace {
// A name ending in .csv is read and written as a spreadsheet column.
const QString kFiltroProyecto = "Archivos de proyecto (*.tev *.txt *.dat)";
const QString kFiltroCsv = "Archivos CSV (*.csv *.CSV)";
const QString kFiltroTodos = "Todos los archivos (*)";
const QString kFiltro = kFiltroProyecto + ";;" + kFiltroCsv + ";;" + kFiltroTodos;

// The filter that names the form ruta is written in: CSV as salva_archivo
// decides it, the project filter for the extensions it lists, every file for
// any other name (still written as a project file), so that the file shows.
QString filtro_de(const QString& ruta)
{
    if (es_nombre_csv(ruta.toStdString())) return kFiltroCsv;
    const QString extension = QFileInfo(ruta).suffix();
    if (extension == "tev" || extension == "txt" || extension == "dat") return kFiltroProyecto;
    return kFiltroTodos;
}
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
    if (!ArchivoPropuesto.isEmpty()) {
        // The filter first: choosing a filter rewrites the extension of the
        // name the dialog holds.
        const QString filtro = filtro_de(ArchivoPropuesto);
        dialogo.selectNameFilter(filtro);
        dialogo.setDefaultSuffix(filtro == kFiltroCsv ? "csv" : "tev");
        dialogo.selectFile(QFileInfo(ArchivoPropuesto).absoluteFilePath());
    }
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty()) return {};
    return dialogo.selectedFiles().first();
}

} // namespace tev
