#pragma once
// Where a picture names the sea-level curve it was computed with: one line of
// a 12 px font ending 6 px from the right edge, its top 6 px below the top
// edge; and how much of a rectangle is dark enough to be its text.

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

namespace tev::prueba {

inline QRect esquina_del_nivel_mar(QSize tamano, const QString& texto)
{
    QFont f;
    f.setPixelSize(12);
    const QFontMetrics fm(f);
    const int ancho = fm.horizontalAdvance(texto);
    return {tamano.width() - 6 - ancho, 6, ancho, fm.height()};
}

inline int pixeles_oscuros(const QImage& im, const QRect& r)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += im.valid(x, y) && qGray(im.pixel(x, y)) < 96 ? 1 : 0;
    return n;
}

} // namespace tev::prueba
