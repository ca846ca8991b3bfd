#pragma once
// The file dialog of every "Guardar imagen…": a PNG, SVG or PDF picture.

#include <QString>

class QWidget;

namespace tev {

// Asks where to save a picture. A name typed without an extension takes the
// chosen filter's. Empty when the dialog was cancelled.
QString pide_ruta_de_imagen(QWidget* padre);

} // namespace tev
