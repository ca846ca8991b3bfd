#include "main_window/vista_columna.h"

#include "drawing/color_de_ventana.h"
#include "drawing/columna_entera.h"
#include "drawing/dibujo_columna.h"
#include "main_window/herramientas.h"
#include "model/programa.h"
#include "model/store.h"
#include "window_helpers/guardar_imagen.h"
#include "window_helpers/pista_del_puntero.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace tev {

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
    setLineWidth(kBordeVista);
    setAutoFillBackground(true);
    setBackgroundRole(kColorDeVentana);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    // Every move over the view counts, with or without a button held.
    setMouseTracking(true);
    const QColor azul(0, 0, 255);
    const QColor verde(0, 192, 0);
    guia_ = new Linea("Line1", azul, Qt::SolidLine, this);
    const char* const nombres[4] = {"Line2", "Line3", "Line4", "Line5"};
    for (int k = 0; k < 4; ++k)
        zoom_[k] = new Linea(nombres[k], verde, Qt::DotLine, this);
    Line1 = guia_;
    Line2 = zoom_[0];
    Line3 = zoom_[1];
    Line4 = zoom_[2];
    Line5 = zoom_[3];
    guia_->situa(3000, 480, 5640, 480);

    // A failure is told under the main window's caption.
    guardar_imagen =
        new GuardarImagen(this, kNombrePrograma, [this](const QString& ruta, QString* error) {
            return guarda_imagen(ruta, error);
        });
    guardar_imagen->anade_guardado(
        QString::fromUtf8("Guardar columna entera…"), "guardar_columna_entera_act",
        [this](const QString& ruta, QString* error) { return guarda_columna_entera(ruta, error); });
    ver_toda = new QAction("Ver toda la columna", this);
    ver_toda->setObjectName("ver_toda_act");
    ver_toda->setShortcut(QKeySequence(Qt::Key_Home));
    ver_toda->setShortcutContext(Qt::WindowShortcut);
    addAction(ver_toda);
    connect(ver_toda, &QAction::triggered, this, &VistaColumna::ver_toda_la_columna);
    guardar_imagen->menu()->addSeparator();
    guardar_imagen->menu()->addAction(ver_toda);

    new PistaDelPuntero(this, [this](QPoint p) { return texto_bajo_el_puntero(p); });
}

void VistaColumna::desplaza(float x_inicio, float y_inicio, float X, float Y)
{
    desplaza_escala(escala_, x_inicio, y_inicio, X, Y);
}

bool VistaColumna::zoom_a_ventana(float& factor_zoom, float x_inicio, float y_inicio, float X,
                                  float Y)
{
    return ventana_de_zoom(escala_, factor_zoom, x_inicio, y_inicio, X, Y);
}

void VistaColumna::aleja(float factor_zoom)
{
    escala_.ScaleHeight = escala_.ScaleHeight / factor_zoom;
    escala_.ScaleWidth = escala_.ScaleWidth / factor_zoom;
}

void VistaColumna::ver_toda_la_columna()
{
    if (!dibujada_) return;
    // Measured as the drawing's painter measures its texts: the default
    // font on the retained image.
    prepara_imagen();
    const QFontMetricsF fm(QFont(), &imagen_);
    escala_ = escala_para_toda_la_columna(*dibujada_, area(), fm);
    draw(*dibujada_);
}

void VistaColumna::wheelEvent(QWheelEvent* e)
{
    const QPoint paso = e->angleDelta();
    const int octavos = paso.y() != 0 ? paso.y() : paso.x();
    if (octavos == 0 || !dibujada_) {
        e->ignore();
        return;
    }
    // Forward (away from the user) comes closer.
    const double factor = std::pow(kZoomPorPaso, -octavos / 120.0);
    const QPointF px = e->position() - contentsRect().topLeft();
    const QSize a = area();
    const double fx = px.x() / a.width();
    const double fy = px.y() / a.height();
    const double x = escala_.ScaleLeft + fx * escala_.ScaleWidth;
    const double y = escala_.ScaleTop + fy * escala_.ScaleHeight;
    const double ancho = escala_.ScaleWidth * factor;
    const double alto = escala_.ScaleHeight * factor;
    // A scale beyond what a single holds, or with no extent, is not taken.
    const auto ancho_f = static_cast<float>(ancho);
    const auto alto_f = static_cast<float>(alto);
    if (!std::isfinite(ancho_f) || !std::isfinite(alto_f) || ancho_f == 0 || alto_f == 0) {
        e->accept();
        return;
    }
    escala_.ScaleWidth = ancho_f;
    escala_.ScaleHeight = alto_f;
    escala_.ScaleLeft = static_cast<float>(x - fx * ancho);
    escala_.ScaleTop = static_cast<float>(y - fy * alto);
    draw(*dibujada_);
    e->accept();
}

QString VistaColumna::texto_bajo_el_puntero(QPoint posicion) const
{
    if (!dibujada_ || !contentsRect().contains(posicion)) return {};
    const QPointF u = a_unidades(posicion);
    const QSize a = area();
    const double metros_por_pixel = static_cast<double>(escala_.ScaleHeight) / a.height();
    QString t = QString("Profundidad: %1 m").arg(numero_para_pista(u.y(), metros_por_pixel));
    const LugarEnColumna lugar =
        lugar_en_columna(*dibujada_, static_cast<float>(u.x()), static_cast<float>(u.y()));
    if (lugar.banco > 0) {
        t += QString("\nBanco %1%2: %3")
                 .arg(lugar.banco)
                 .arg(lugar.descompactado ? " descompactado" : "")
                 .arg(QString::fromStdString(dibujada_->nombre[lugar.banco]));
    }
    return t;
}

void VistaColumna::muestra_guia(bool visible)
{
    visible ? guia_->muestra() : guia_->oculta();
}

void VistaColumna::situa_guia(float x1, float y1, float x2, float y2)
{
    guia_->situa(x1, y1, x2, y2);
}

void VistaColumna::muestra_ventana_de_zoom(bool visible)
{
    for (Linea* l : zoom_)
        visible ? l->muestra() : l->oculta();
}

void VistaColumna::situa_ventana_de_zoom(float x1, float y1, float x2, float y2)
{
    zoom_[0]->situa(x1, y1, x2, y1);
    zoom_[1]->situa(x2, y1, x2, y2);
    zoom_[2]->situa(x2, y2, x1, y2);
    zoom_[3]->situa(x1, y2, x1, y1);
}

QSize VistaColumna::area() const
{
    return contentsRect().size();
}

void VistaColumna::escala_de_arranque()
{
    // One unit per twip; depth 0 lies 1000 twips below the top edge.
    escala_ = escala_de_arranque_para(area());
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
    dibujada_ = &s;
    prepara_imagen();
    QPainter p(&imagen_);
    const QSize a = area();
    Lienzo lienzo(p, a.width(), a.height(), escala_);
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
    const double px = (static_cast<double>(x) - escala_.ScaleLeft) * a.width() / escala_.ScaleWidth;
    const double py =
        (static_cast<double>(y) - escala_.ScaleTop) * a.height() / escala_.ScaleHeight;
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
    const auto x = static_cast<float>(escala_.ScaleLeft + px.x() * escala_.ScaleWidth / a.width());
    const auto y = static_cast<float>(escala_.ScaleTop + px.y() * escala_.ScaleHeight / a.height());
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

bool VistaColumna::guarda_imagen(const QString& ruta, QString* error)
{
    if (!dibujada_) {
        if (error) *error = QString("No se guardó «%1»: la columna aún no se dibujó.").arg(ruta);
        return false;
    }
    return guarda_columna(*dibujada_, ruta, area(), escala_, fondo, error);
}

bool VistaColumna::guarda_columna_entera(const QString& ruta, QString* error)
{
    if (!dibujada_) {
        if (error) *error = QString("No se guardó «%1»: la columna aún no se dibujó.").arg(ruta);
        return false;
    }
    return tev::guarda_columna_entera(*dibujada_, ruta, error);
}

void VistaColumna::contextMenuEvent(QContextMenuEvent* e)
{
    if (dibujada_ && (dibujada_->modo_mover || dibujada_->modo_zoom)) return;
    guardar_imagen->ofrece(e->globalPos());
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

} // namespace tev
