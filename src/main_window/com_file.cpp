#include "main_window/com_file.h"

#include <QFileDialog>
#include <QFileInfo>

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
    return QFileDialog::getOpenFileName(padre, DialogTitle, QString(), kFiltro);
}

QString ComFile::pide_salvar(QWidget* padre)
{
    // Saving replaces an existing file without asking.
    QString elegido;
    QString nombre = QFileDialog::getSaveFileName(padre, DialogTitle, QString(), kFiltro, &elegido,
                                                  QFileDialog::DontConfirmOverwrite);
    // A bare name typed under the CSV filter means a CSV file.
    if (!nombre.isEmpty() && elegido == kFiltroCsv && QFileInfo(nombre).suffix().isEmpty())
        nombre += ".csv";
    return nombre;
}

}  // namespace tev
