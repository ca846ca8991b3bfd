#include "main_window/herramientas.h"

#include <cmath>

namespace tev {

void desplaza_escala(Escala& e, float x_inicio, float y_inicio, float X, float Y)
{
    e.ScaleLeft = e.ScaleLeft - (X - x_inicio);
    e.ScaleTop = e.ScaleTop + (y_inicio - Y);
}

bool ventana_de_zoom(Escala& e, float& factor_zoom, float x_inicio, float y_inicio, float X,
                     float Y)
{
    // Differences and squares in single precision, as the inputs are; the
    // absolute values and their ratio in double.
    const float alto = Y - y_inicio;
    if (alto == 0.0f) return false;
    const float ancho = X - x_inicio;
    const float ancho2 = ancho * ancho;
    const float alto2 = alto * alto;
    const double abs_ancho = std::sqrt(static_cast<double>(ancho2));
    const double abs_alto = std::sqrt(static_cast<double>(alto2));
    const double r = abs_ancho / abs_alto;
    if (r > kProporcionVista) {
        factor_zoom = static_cast<float>(abs_ancho / static_cast<double>(e.ScaleWidth));
    } else {
        factor_zoom = static_cast<float>(abs_alto / static_cast<double>(e.ScaleHeight));
    }
    e.ScaleHeight = factor_zoom * e.ScaleHeight;
    e.ScaleWidth = factor_zoom * e.ScaleWidth;
    if (X > x_inicio) {
        e.ScaleLeft = x_inicio;
    } else if (X < x_inicio) {
        e.ScaleLeft = X;
    }
    if (Y > y_inicio) {
        e.ScaleTop = y_inicio;
    } else if (Y < y_inicio) {
        e.ScaleTop = Y;
    }
    return true;
}

int botones_del_raton(Qt::MouseButtons b)
{
    int n = 0;
    if (b & Qt::LeftButton) n += 1;
    if (b & Qt::RightButton) n += 2;
    if (b & Qt::MiddleButton) n += 4;
    return n;
}

int estado_de_mayusculas(Qt::KeyboardModifiers m)
{
    int n = 0;
    if (m & Qt::ShiftModifier) n += 1;
    if (m & Qt::ControlModifier) n += 2;
    if (m & Qt::AltModifier) n += 4;
    return n;
}

} // namespace tev
