#include "main_window/vista_columna.h"

#include "main_window/dibujo_columna.h"

#include <QFileInfo>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QSvgGenerator>

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
    escala = escala_para(area());
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

bool guarda_columna(const Store& s, const QString& ruta, QString* error)
{
    const QSize a = kAreaDeArranque;
    const QString ext = QFileInfo(ruta).suffix().toLower();
    bool ok = false;
    if (ext == "svg") {
        QSvgGenerator svg;
        svg.setFileName(ruta);
        svg.setSize(a);
        svg.setViewBox(QRect(QPoint(0, 0), a));
        svg.setTitle("TEVARRO 1.0");
        QPainter p;
        ok = p.begin(&svg);
        if (ok) {
            Lienzo lienzo(p, a.width(), a.height(), escala_para(a));
            lienzo.cls(Qt::white);
            dibuja_columna(s, lienzo);
            ok = p.end();
        }
    } else if (ext == "png") {
        ok = imagen_de_columna(s, a, escala_para(a)).save(ruta, "PNG");
    } else {
        if (error) *error = QString("«%1»: la imagen debe terminar en .png o .svg.").arg(ruta);
        return false;
    }
    if (!ok && error) *error = QString("No se pudo guardar la imagen «%1».").arg(ruta);
    return ok;
}

}  // namespace tev
