#pragma once
// Pictures written to files: the same painter code that draws a window draws
// a PNG, an SVG or a PDF, and the file goes through the program's saving
// routine, so an old picture survives any failure.

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

#include <functional>
#include <string>

class QPainter;

namespace tev {

enum class FormatoImagen { png, svg, pdf, ninguno };

// By the file name's extension, in any case.
FormatoImagen formato_de_imagen(const QString& ruta);

// A picture of tamano pixels (points in a PDF). pinta paints all of it,
// background included; a PNG starts filled with fondo in formato_png.
struct Dibujo {
    QSize tamano;
    QString titulo;
    std::function<void(QPainter&)> pinta;
    QColor fondo = Qt::white;
    QImage::Format formato_png = QImage::Format_ARGB32_Premultiplied;
};

// Writes the picture in the format of ruta's extension. ruta is the file's
// name as the system takes it, bytes that need not be UTF-8; they are the
// name written. The picture is formed in memory and written by the
// program's one saving routine. On failure returns false and, when error is
// given, says why in Spanish, naming ruta.
bool guarda_imagen(const std::string& ruta, const Dibujo& dibujo, std::string* error);
// The same for a name a window holds, made bytes by QFile::encodeName.
bool guarda_imagen(const QString& ruta, const Dibujo& dibujo, QString* error);

} // namespace tev
