#pragma once
// The arithmetic of the column view's mouse tools, apart from the widgets so
// that it can be checked on its own. Positions are in the view's units.

#include "drawing/lienzo.h"

#include <Qt>

namespace tev {

// Pan: the point that lay under the press comes to lie under the release.
void desplaza_escala(Escala& e, float x_inicio, float y_inicio, float X, float Y);

// Zoom window from the press point to the release point. A window of zero
// height is ignored: returns false and leaves e and factor_zoom alone.
// Otherwise the side of the window that is longer relative to the view fills
// the view, factor_zoom receives the ratio of the new extent to the old one,
// and the window's top-left corner becomes the view's.
bool ventana_de_zoom(Escala& e, float& factor_zoom, float x_inicio, float y_inicio, float X,
                     float Y);

// Width to height of the view: windows wider than this are fitted by width.
inline constexpr double kProporcionVista = 1.56;

// The pressed-button set as the mouse handlers receive it: 1 left, 2 right,
// 4 middle, added together.
int botones_del_raton(Qt::MouseButtons b);
// The shift state: 1 shift, 2 control, 4 alt.
int estado_de_mayusculas(Qt::KeyboardModifiers m);

inline constexpr int kBotonIzquierdo = 1;

} // namespace tev
