#pragma once
// The column as a picture, drawn by the same code as the column view: on an
// image, or into a PNG, SVG or PDF file.

#include "drawing/lienzo.h"

#include <QImage>
#include <QSize>
#include <QString>

namespace tev {

struct Dibujo;
struct Store;

// Inner area of the column view in the main window at start-up: 11415 x
// 7335 twips less its sunken frame of 2 pixels.
inline constexpr int kBordeVista = 2;
inline const QSize kAreaDeArranque(11415 / 15 - 2 * kBordeVista, 7335 / 15 - 2 * kBordeVista);

// The view's start-up scale for an area of that many pixels: one unit per
// twip, depth 0 lying 1000 twips below the top edge.
Escala escala_de_arranque_para(QSize area);

// The column drawn on an image of the given size, as the view draws it; with
// a pixel ratio, as a screen of that ratio shows it (the image then holds
// tamano times the ratio device pixels).
QImage imagen_de_columna(const Store& s, QSize tamano, const Escala& escala,
                         qreal proporcion = 1.0);

// The column at a given size (pixels) and scale, over a background picture
// laid at the top-left corner unscaled (none when null), to be written by
// guarda_imagen; s must outlive it.
Dibujo dibujo_de_la_columna(const Store& s, QSize tamano, const Escala& escala,
                            const QImage& fondo);

// The column at the view's start-up size and scale, as PNG, SVG or PDF by
// the file's extension. On failure returns false with a Spanish reason.
bool guarda_columna(const Store& s, const QString& ruta, QString* error);
// The same at a given size (pixels) and scale, over a background picture
// laid at the top-left corner unscaled (none when null).
bool guarda_columna(const Store& s, const QString& ruta, QSize tamano, const Escala& escala,
                    const QImage& fondo, QString* error);

} // namespace tev
