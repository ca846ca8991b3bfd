#include "main_window/vista_columna.h"

#include "drawing/color_de_ventana.h"
#include "drawing/exporta_imagen.h"
#include "main_window/dibujo_columna.h"
#include "main_window/herramientas.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>

#include <algorithm>
#include <cmath>

namespace tev {

namespace {
constexpr int kBorde = 2;  // the sunken frame, in pixels
constexpr float kTwipsPorPixel = 15.0f;
// Inner area of the view in the main window: 11415 x 7335 twips less the frame.
const QSize kAreaDeArranque(11415 / 15 - 2 * kBorde, 7335 / 15 - 2 * kBorde);

Escala escala_para(QSize area)
{
    return {0.0f, -1000.0f, static_cast<float>(area.width()) * kTwipsPorPixel,
            static_cast<float>(area.height()) * kTwipsPorPixel};
}
}  // namespace

Linea::Linea(const char* nombre, const QColor& color, Qt::PenStyle estilo, QWidget* vista)
    : QObject(vista), BorderColor(color), BorderStyle(estilo), vista_(vista)
{
    setObjectName(nombre);
}

void Linea::situa(float x1, float y1, float x2, float y2)
{
    X1 = x1;
    Y1 = y1;
    X2 = x2;
    Y2 = y2;
    if (visible_) vista_->update();
}

void Linea::pon_visible(bool v)
{
    if (v == visible_) return;
    visible_ = v;
    vista_->update();
}

VistaColumna::VistaColumna(QWidget* parent) : QFrame(parent)
{
    setObjectName("Picture1");
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(kBorde);
    setAutoFillBackground(true);
    setBackgroundRole(kColorDeVentana);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    // Every move over the view counts, with or without a button held.
    setMouseTracking(true);
    const QColor azul(0, 0, 255);
    const QColor verde(0, 192, 0);
    Line1 = new Linea("Line1", azul, Qt::SolidLine, this);
    Line2 = new Linea("Line2", verde, Qt::DotLine, this);
    Line3 = new Linea("Line3", verde, Qt::DotLine, this);
    Line4 = new Linea("Line4", verde, Qt::DotLine, this);
    Line5 = new Linea("Line5", verde, Qt::DotLine, this);
    Line1->situa(3000, 480, 5640, 480);
}

QSize VistaColumna::area() const { return contentsRect().size(); }

void VistaColumna::escala_de_arranque()
{
    // One unit per twip; depth 0 lies 1000 twips below the top edge.
    escala = escala_para(area());
}

void VistaColumna::prepara_imagen()
{
    const qreal dpr = devicePixelRatioF();
    const QSize a = area();
    if (imagen_.size() != a * dpr) {
        imagen_ = QImage(a * dpr, QImage::Format_ARGB32_Premultiplied);
        imagen_.setDevicePixelRatio(dpr);
        imagen_.fill(palette().color(kColorDeVentana));
    }
}

void VistaColumna::draw(const Store& s)
{
    prepara_imagen();
    QPainter p(&imagen_);
    const QSize a = area();
    Lienzo lienzo(p, a.width(), a.height(), escala);
    lienzo.cls(palette().color(kColorDeVentana));
    if (!fondo.isNull()) p.drawImage(QPoint(0, 0), fondo);
    dibuja_columna(s, lienzo);
    p.end();
    update();
}

QPoint VistaColumna::pixel_de(float x, float y) const
{
    // Rounded, not cut: a point taken from the mouse comes back to the very
    // pixel it was taken from whatever the scale.
    const QSize a = area();
    const double px = (static_cast<double>(x) - escala.ScaleLeft) * a.width() / escala.ScaleWidth;
    const double py = (static_cast<double>(y) - escala.ScaleTop) * a.height() / escala.ScaleHeight;
    constexpr double limite = 1e7;
    return {static_cast<int>(std::lround(std::clamp(px, -limite, limite))),
            static_cast<int>(std::lround(std::clamp(py, -limite, limite)))};
}

void VistaColumna::linea(float x1, float y1, float x2, float y2, const QColor& color)
{
    prepara_imagen();
    const QPoint a = pixel_de(x1, y1);
    const QPoint b = pixel_de(x2, y2);
    QPainter p(&imagen_);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(color, 0));
    p.drawLine(a, b);
    p.end();
    // Only the stroke's own pixels are shown anew.
    const QRect trazo = QRect(a, b).normalized().adjusted(-1, -1, 2, 2);
    update(trazo.translated(contentsRect().topLeft()).intersected(contentsRect()));
}

QPointF VistaColumna::a_unidades(QPointF posicion) const
{
    const QPointF px = posicion - contentsRect().topLeft();
    const QSize a = area();
    const float x = static_cast<float>(escala.ScaleLeft + px.x() * escala.ScaleWidth / a.width());
    const float y = static_cast<float>(escala.ScaleTop + px.y() * escala.ScaleHeight / a.height());
    return {x, y};
}

void VistaColumna::mousePressEvent(QMouseEvent* e)
{
    const QPointF u = a_unidades(e->position());
    emit MouseDown(botones_del_raton(e->button()), estado_de_mayusculas(e->modifiers()),
                   static_cast<float>(u.x()), static_cast<float>(u.y()));
}

void VistaColumna::mouseMoveEvent(QMouseEvent* e)
{
    const QPointF u = a_unidades(e->position());
    emit MouseMove(botones_del_raton(e->buttons()), estado_de_mayusculas(e->modifiers()),
                   static_cast<float>(u.x()), static_cast<float>(u.y()));
}

void VistaColumna::mouseReleaseEvent(QMouseEvent* e)
{
    const QPointF u = a_unidades(e->position());
    emit MouseUp(botones_del_raton(e->button()), estado_de_mayusculas(e->modifiers()),
                 static_cast<float>(u.x()), static_cast<float>(u.y()));
}

void VistaColumna::paintEvent(QPaintEvent* e)
{
    QFrame::paintEvent(e);
    QPainter p(this);
    const QRect dentro = contentsRect();
    p.drawImage(dentro.topLeft(), imagen_);
    // The rubber bands lie over the drawing, in the view's current units.
    p.setClipRect(dentro);
    p.translate(dentro.topLeft());
    p.setRenderHint(QPainter::Antialiasing, false);
    for (const Linea* l : {Line1, Line2, Line3, Line4, Line5}) {
        if (!l->Visible()) continue;
        p.setPen(QPen(l->BorderColor, 0, l->BorderStyle));
        p.drawLine(pixel_de(l->X1, l->Y1), pixel_de(l->X2, l->Y2));
    }
}

void VistaColumna::resizeEvent(QResizeEvent* e)
{
    QFrame::resizeEvent(e);
    prepara_imagen();
}

QImage imagen_de_columna(const Store& s, QSize tamano, const Escala& escala, qreal proporcion)
{
    QImage img(tamano * proporcion, QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(proporcion);
    QPainter p(&img);
    Lienzo lienzo(p, tamano.width(), tamano.height(), escala);
    lienzo.cls(Qt::white);
    dibuja_columna(s, lienzo);
    return img;
}

bool guarda_columna(const Store& s, const QString& ruta, QString* error)
{
    const QSize a = kAreaDeArranque;
    Dibujo dibujo;
    dibujo.tamano = a;
    dibujo.titulo = "TEVARRO 1.0";
    dibujo.pinta = [&s, a](QPainter& p) {
        Lienzo lienzo(p, a.width(), a.height(), escala_para(a));
        lienzo.cls(Qt::white);
        dibuja_columna(s, lienzo);
    };
    return guarda_imagen(ruta, dibujo, error);
}

}  // namespace tev
