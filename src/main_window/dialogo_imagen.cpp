#include "main_window/dialogo_imagen.h"

#include <QFileDialog>
#include <QFileInfo>

namespace tev {

QString pide_ruta_de_imagen(QWidget* padre)
{
    QString filtro;
    QString ruta = QFileDialog::getSaveFileName(
        padre, "Guardar imagen", QString(),
        "Imagen PNG (*.png);;Imagen SVG (*.svg);;Documento PDF (*.pdf)", &filtro);
    if (!ruta.isEmpty() && QFileInfo(ruta).suffix().isEmpty()) {
        ruta += filtro.contains("svg") ? ".svg" : filtro.contains("pdf") ? ".pdf" : ".png";
    }
    return ruta;
}

} // namespace tev
