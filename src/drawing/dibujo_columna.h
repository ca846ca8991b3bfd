#pragma once

#include <QSize>

#include <vector>

class QFontMetricsF;

namespace tev {

class Lienzo;
struct Escala;
struct Store;

// The present-day column, one decompacted column per bed and the datum line,
// in metres of depth. The caller clears the surface first.
void dibuja_columna(const Store& s, Lienzo& lienzo);

// The left-edge indentation of every bed, 1 to n (index 0 unused), in
// twips: by lithology, a text naming none keeping the previous bed's.
std::vector<int> sangrias_de_columna(const Store& s);

// The scale at which everything dibuja_columna paints (both columns, the
// datum line, every depth and every name, texts measured by fm) lies inside
// an area of that many pixels, with a few pixels to spare on every side.
// Across and down are scaled apart: x stays the layout's twips, y metres.
// An empty column gets the view's start-up scale.
Escala escala_para_toda_la_columna(const Store& s, QSize area, const QFontMetricsF& fm);

// What lies under a point of the drawing (view units): the bed whose box
// holds it, in the present-day column or in its own decompacted column; bed
// 0 when the point is on no box.
struct LugarEnColumna {
    int banco = 0;
    bool descompactado = false;
};
LugarEnColumna lugar_en_columna(const Store& s, float x, float y);

} // namespace tev
