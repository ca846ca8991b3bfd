#include "main_window/com_file.h"

#include <QFileDialog>

namespace tev {

namespace {
const char* const kFiltro = "Archivos de proyecto (*.tev *.txt *.dat);;Todos los archivos (*)";
}

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
    return QFileDialog::getSaveFileName(padre, DialogTitle, QString(), kFiltro, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

}  // namespace tev
