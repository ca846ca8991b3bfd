#pragma once
// Units shared by the windows and the drawings: twips (1/1440 inch, 15 to a
// pixel at 96 dots per inch) and the colours of the store.

#include <QColor>
#include <QRect>

#include <cstdint>

namespace tev {

inline constexpr int kTwipsPorPixel = 15;

// A layout rectangle given in twips, each value cut down to whole pixels.
inline QRect twips(int izquierda, int arriba, int ancho, int alto)
{
    return {izquierda / kTwipsPorPixel, arriba / kTwipsPorPixel, ancho / kTwipsPorPixel,
            alto / kTwipsPorPixel};
}

// A colour of the store, 0x00BBGGRR.
inline QColor color_de(int32_t bgr)
{
    return {bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF};
}

} // namespace tev
