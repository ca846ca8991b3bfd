#pragma once
// What a band painted in a semi-transparent colour looks like on a picture:
// the colour seen through one or more of its layers, and a match of two
// colours within the rounding of their blending.

#include <QColor>

#include <cstdlib>

namespace tev::prueba {

// fondo seen through capas layers of capa (painted with its alpha).
inline QColor a_traves(QColor fondo, const QColor& capa, int capas)
{
    const double a = capa.alphaF();
    for (int k = 0; k < capas; ++k)
        fondo = QColor::fromRgbF(static_cast<float>(capa.redF() * a + fondo.redF() * (1 - a)),
                                 static_cast<float>(capa.greenF() * a + fondo.greenF() * (1 - a)),
                                 static_cast<float>(capa.blueF() * a + fondo.blueF() * (1 - a)));
    return fondo;
}

// Within 2 of 255 in every channel.
inline bool parecido(const QColor& a, const QColor& b)
{
    return std::abs(a.red() - b.red()) <= 2 && std::abs(a.green() - b.green()) <= 2 &&
           std::abs(a.blue() - b.blue()) <= 2;
}

} // namespace tev::prueba
