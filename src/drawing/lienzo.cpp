#include "drawing/lienzo.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace tev {

namespace {

qreal proporcion_de(const QPainter& p)
{
    return p.device() ? p.device()->devicePixelRatioF() : 1.0;
}

// While it lives, the painter draws in the device's own pixels. On a device
// without a pixel ratio nothing changes.
class EnPixelesDelDispositivo {
  public:
    EnPixelesDelDispositivo(QPainter& p, qreal proporcion) : p_(p), cambia_(proporcion != 1.0)
    {
        if (!cambia_) return;
        p_.save();
        p_.setWorldTransform(QTransform::fromScale(1.0 / proporcion, 1.0 / proporcion), true);
    }
    ~EnPixelesDelDispositivo()
    {
        if (cambia_) p_.restore();
    }
    EnPixelesDelDispositivo(const EnPixelesDelDispositivo&) = delete;
    EnPixelesDelDispositivo& operator=(const EnPixelesDelDispositivo&) = delete;

  private:
    QPainter& p_;
    const bool cambia_;
};

} // namespace

Lienzo::Lienzo(QPainter& painter, int ancho, int alto, const Escala& escala)
    : painter_(painter), ancho_(ancho), alto_(alto), escala_(escala),
      proporcion_(proporcion_de(painter)),
      en_trama_(painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Raster)
{
    painter_.setRenderHint(QPainter::Antialiasing, false);
}

QPointF Lienzo::a_pixeles(float x, float y) const
{
    const double px =
        (static_cast<double>(x) - escala_.ScaleLeft) * ancho_ / escala_.ScaleWidth * proporcion_;
    const double py =
        (static_cast<double>(y) - escala_.ScaleTop) * alto_ / escala_.ScaleHeight * proporcion_;
    // Far-off coordinates are clamped so the painter never sees overflowing ones.
    constexpr double limite = 1e7;
    return {std::clamp(std::floor(px), -limite, limite),
            std::clamp(std::floor(py), -limite, limite)};
}

QRectF Lienzo::rectangulo(float x1, float y1, float x2, float y2) const
{
    const QPointF a = a_pixeles(x1, y1);
    const QPointF b = a_pixeles(x2, y2);
    return {QPointF(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
            QPointF(std::max(a.x(), b.x()), std::max(a.y(), b.y()))};
}

void Lienzo::cls(const QColor& fondo)
{
    painter_.fillRect(QRect(0, 0, ancho_, alto_), fondo);
    CurrentX = 0;
    CurrentY = 0;
}

void Lienzo::linea(float x1, float y1, float x2, float y2, const QColor& color)
{
    // A line of no length only moves the drawing position: it paints nothing,
    // as a line that leaves out its last point.
    if (x1 != x2 || y1 != y2) {
        const EnPixelesDelDispositivo en_pixeles(painter_, proporcion_);
        painter_.setPen(QPen(color, 0));
        painter_.drawLine(a_pixeles(x1, y1), a_pixeles(x2, y2));
    }
    CurrentX = x2;
    CurrentY = y2;
}

void Lienzo::caja(float x1, float y1, float x2, float y2, const QColor& color, bool rellena)
{
    // Fill and outline both come from this one rectangle of device pixels.
    const QRectF r = rectangulo(x1, y1, x2, y2);
    if (fuera_del_dispositivo(r)) {
        CurrentX = x2;
        CurrentY = y2;
        return;
    }
    const EnPixelesDelDispositivo en_pixeles(painter_, proporcion_);
    if (rellena) {
        // Both corners' pixels belong to the box.
        painter_.fillRect(r.adjusted(0, 0, 1, 1), color);
    } else if (en_trama_) {
        // On pixels, each edge is a row or a column of the box's own pixels:
        // no line drawing decides which end pixels an edge keeps when the
        // box runs off the picture.
        const QRectF d = r.adjusted(0, 0, 1, 1);
        painter_.fillRect(QRectF(d.left(), d.top(), d.width(), 1), color);
        painter_.fillRect(QRectF(d.left(), d.bottom() - 1, d.width(), 1), color);
        painter_.fillRect(QRectF(d.left(), d.top(), 1, d.height()), color);
        painter_.fillRect(QRectF(d.right() - 1, d.top(), 1, d.height()), color);
    } else {
        painter_.setPen(QPen(color, 0));
        painter_.setBrush(Qt::NoBrush);
        painter_.drawRect(r);
    }
    CurrentX = x2;
    CurrentY = y2;
}

bool Lienzo::omite_lo_invisible() const
{
    return en_trama_ && painter_.device() && painter_.worldTransform().isIdentity();
}

bool Lienzo::fuera_del_dispositivo(const QRectF& r) const
{
    if (!omite_lo_invisible()) return false;
    // In device pixels; the rectangle's right and bottom pixels are its own.
    const QPaintDevice& d = *painter_.device();
    const qreal ancho_d = std::max<qreal>(d.width(), d.width() * proporcion_);
    const qreal alto_d = std::max<qreal>(d.height(), d.height() * proporcion_);
    return r.left() > ancho_d || r.top() > alto_d || r.right() + 2 < 0 || r.bottom() + 2 < 0;
}

bool Lienzo::fuera_del_dispositivo(const QPointF& p, const QString& texto,
                                   const QFontMetricsF& fm) const
{
    // Only on pixels, and with nothing but the pixel ratio between the
    // painter's coordinates and the device's: a picture file keeps every
    // text and every box.
    if (!omite_lo_invisible()) return false;
    // The text's ink lies within its line box widened by a line height on
    // every side, and no glyph is wider than the font's widest.
    const qreal holgura = fm.height();
    const qreal ancho = fm.maxWidth() * static_cast<qreal>(texto.size() + 1) + holgura;
    const QPaintDevice& d = *painter_.device();
    const qreal ancho_d = std::max<qreal>(d.width(), d.width() / proporcion_);
    const qreal alto_d = std::max<qreal>(d.height(), d.height() / proporcion_);
    return p.x() - holgura > ancho_d || p.x() + ancho < 0 || p.y() - holgura > alto_d ||
           p.y() + fm.height() + holgura < 0;
}

void Lienzo::imprime(const QString& texto)
{
    // The text itself is laid out in the area's pixels, at the same size on
    // every device.
    const QPointF p = a_pixeles(CurrentX, CurrentY) / proporcion_;
    const QFontMetricsF fm(painter_.font());
    if (!fuera_del_dispositivo(p, texto, fm)) {
        painter_.setPen(Qt::black);
        painter_.drawText(QPointF(p.x(), p.y() + fm.ascent()), texto);
    }
    // The line end: back to the left edge, one text line further down.
    CurrentX = escala_.ScaleLeft;
    CurrentY += static_cast<float>(fm.height() * escala_.ScaleHeight / alto_);
}

} // namespace tev
