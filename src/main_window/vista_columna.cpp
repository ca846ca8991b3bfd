#include "main_window/vista_columna.h"

#include "main_window/dibujo_columna.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPalette>

namespace tev {

namespace {
constexpr int kBorde = 2;  // the sunken frame, in pixels
constexpr float kTwipsPorPixel = 15.0f;
}  // namespace

VistaColumna::VistaColumna(QWidget* parent) : QFrame(parent)
{
    setObjectName("Picture1");
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(kBorde);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

QSize VistaColumna::area() const { return contentsRect().size(); }

void VistaColumna::escala_de_arranque()
{
    // One unit per twip; depth 0 lies 1000 twips below the top edge.
    const QSize a = area();
    escala.ScaleLeft = 0;
    escala.ScaleTop = -1000;
    escala.ScaleWidth = static_cast<float>(a.width()) * kTwipsPorPixel;
    escala.ScaleHeight = static_cast<float>(a.height()) * kTwipsPorPixel;
}

void VistaColumna::prepara_imagen()
{
    const qreal dpr = devicePixelRatioF();
    const QSize a = area();
    if (imagen_.size() != a * dpr) {
        imagen_ = QImage(a * dpr, QImage::Format_ARGB32_Premultiplied);
        imagen_.setDevicePixelRatio(dpr);
        imagen_.fill(palette().color(QPalette::Base));
    }
}

void VistaColumna::draw(const Store& s)
{
    prepara_imagen();
    QPainter p(&imagen_);
    const QSize a = area();
    Lienzo lienzo(p, a.width(), a.height(), escala);
    lienzo.cls(palette().color(QPalette::Base));
    if (!fondo.isNull()) p.drawImage(QPoint(0, 0), fondo);
    dibuja_columna(s, lienzo);
    p.end();
    update();
}

void VistaColumna::paintEvent(QPaintEvent* e)
{
    QFrame::paintEvent(e);
    QPainter p(this);
    p.drawImage(contentsRect().topLeft(), imagen_);
}

void VistaColumna::resizeEvent(QResizeEvent* e)
{
    QFrame::resizeEvent(e);
    prepara_imagen();
}

QImage imagen_de_columna(const Store& s, QSize tamano, const Escala& escala)
{
    QImage img(tamano, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&img);
    Lienzo lienzo(p, tamano.width(), tamano.height(), escala);
    lienzo.cls(Qt::white);
    dibuja_columna(s, lienzo);
    return img;
}

}  // namespace tev
