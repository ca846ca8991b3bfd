#pragma once
// A picture surface with a user scale, as the column drawing sees it: x grows
// to the right, y downwards, both in the units of the scale (metres of depth
// for the column). Drawing leaves a "drawing position" that the next print
// starts from.
//
// Points are taken to the pixels of the painter's device, whatever its pixel
// ratio: a box's fill and its outline cover the very same device pixels, and
// lines are one device pixel wide.

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QString>

class QFontMetricsF;
class QPainter;

namespace tev {

struct Escala {
    float ScaleLeft = 0;
    float ScaleTop = 0;
    float ScaleWidth = 1;
    float ScaleHeight = 1;
};

class Lienzo {
  public:
    // painter draws on an area of ancho x alto pixels (device-independent
    // ones on a device with a pixel ratio).
    Lienzo(QPainter& painter, int ancho, int alto, const Escala& escala);

    // Erases all drawing and moves the drawing position to (0, 0). The
    // background picture, if any, is the owner's business.
    void cls(const QColor& fondo);
    // A line of no length paints nothing; either way the drawing position
    // moves to (x2, y2).
    void linea(float x1, float y1, float x2, float y2, const QColor& color);
    void caja(float x1, float y1, float x2, float y2, const QColor& color, bool rellena);
    // Text with its top-left corner at the drawing position, then a line end.
    void imprime(const QString& texto);

    // The device pixel a point falls in: its top-left corner, in device pixels.
    [[nodiscard]] QPointF a_pixeles(float x, float y) const;
    float CurrentX = 0;
    float CurrentY = 0;

  private:
    [[nodiscard]] QRectF rectangulo(float x1, float y1, float x2, float y2) const;
    // What would paint no pixel of the device is left out: a text at p, its
    // line box's top-left corner (it is not even laid out), and a box of
    // device pixels. Only where the painter draws on pixels through no
    // transformation of its own.
    [[nodiscard]] bool omite_lo_invisible() const;
    [[nodiscard]] bool fuera_del_dispositivo(const QPointF& p, const QString& texto,
                                             const QFontMetricsF& fm) const;
    [[nodiscard]] bool fuera_del_dispositivo(const QRectF& r) const;

    QPainter& painter_;
    int ancho_;
    int alto_;
    Escala escala_;
    qreal proporcion_; // device pixels per pixel of the area
    bool en_trama_;    // the device is made of pixels (not an SVG or a PDF)
};

} // namespace tev
