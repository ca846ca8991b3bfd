#include "window_helpers/dialogo_de_archivos.h"

#include <QDateTime>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QUrl>

namespace tev {

namespace {

// The columns of QFileSystemModel, as Qt numbers them.
constexpr int kColumnaTamano = 1;
constexpr int kColumnaFecha = 3;

// Qt's list of files with the size and date columns written in Spanish; every
// other text, and sorting, come from Qt's model unchanged.
class ListaEnCastellano : public QIdentityProxyModel {
  public:
    using QIdentityProxyModel::QIdentityProxyModel;

    [[nodiscard]] QVariant data(const QModelIndex& indice, int rol) const override
    {
        const auto* archivos = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (rol != Qt::DisplayRole || !archivos ||
            (indice.column() != kColumnaTamano && indice.column() != kColumnaFecha))
            return QIdentityProxyModel::data(indice, rol);
        const QModelIndex fuente = mapToSource(indice);
        if (indice.column() == kColumnaTamano) {
            // A folder has no size in the list.
            if (archivos->isDir(fuente)) return QIdentityProxyModel::data(indice, rol);
            return tamano_en_castellano(archivos->size(fuente));
        }
        const QDateTime fecha = archivos->lastModified(fuente);
        if (!fecha.isValid()) return QIdentityProxyModel::data(indice, rol);
        // "10 dic 2026 13:51": the month by its name, as no reader can take
        // it for the day.
        return QLocale(QLocale::Spanish).toString(fecha, "d MMM yyyy H:mm");
    }
};

} // namespace

QString tamano_en_castellano(qint64 bytes)
{
    // Qt's own form says "1 bytes"; from 1 KiB on its form ("4,88 KiB") is
    // Spanish as it is.
    if (bytes == 1) return "1 byte";
    if (bytes < 1024) return QString("%1 bytes").arg(bytes);
    return QLocale(QLocale::Spanish).formattedDataSize(bytes);
}

void lista_en_castellano(QFileDialog& dialogo)
{
    dialogo.setProxyModel(new ListaEnCastellano(&dialogo));
}

QString elige_archivo(QFileDialog& dialogo)
{
    // As QFileDialog::getOpenFileName() and getSaveFileName() run it.
    dialogo.setSupportedSchemes({"file"});
    lista_en_castellano(dialogo);
    if (dialogo.exec() != QDialog::Accepted) return {};
    return dialogo.selectedUrls().value(0).toLocalFile();
}

} // namespace tev
