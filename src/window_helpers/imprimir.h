#pragma once
// Printing the picture of a window (the column view, the curve window, the
// history window) by the same painter code that draws it on the screen and in
// the picture files: one page, the picture as large as the printable area
// holds with its proportions kept, at the top and centred across.

#include <QRectF>
#include <QSizeF>
#include <QString>

class QPainter;
class QPrinter;
class QWidget;

namespace tev {

struct Dibujo;

// Where a picture of tamano lies in the printable area pagina (both in the
// same units).
QRectF lugar_en_la_pagina(QSizeF tamano, const QRectF& pagina);

// Paints dibujo into the printable area pagina of p's device, clipped to its
// own rectangle: what a printer gets, and what a test draws on an image.
void pinta_en_la_pagina(QPainter& p, const QRectF& pagina, const Dibujo& dibujo);

// The resolution of the pictures' pixels, dots per inch.
inline constexpr int kResolucionDeLaFigura = 96;

// Sets impresora up for dibujo: the document named by its title, the
// program as its creator, the page turned to the picture's shape.
void prepara_impresora(QPrinter& impresora, const Dibujo& dibujo);

// Prints dibujo on one page of impresora as it is set up (a printer, or a
// PDF file), at kResolucionDeLaFigura. False, with the reason in Spanish,
// when it cannot be printed.
bool imprime(QPrinter& impresora, const Dibujo& dibujo, QString* error);

// Qt's print dialog over padre, whose printers include a PDF file. True
// when the user chose to print.
bool dialogo_de_impresion(QPrinter& impresora, QWidget* padre);

} // namespace tev
