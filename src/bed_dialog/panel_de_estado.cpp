#include "bed_dialog/panel_de_estado.h"

#include <QPainter>
#include <QStyle>

#include <algorithm>

namespace tev {

PanelDeEstado::PanelDeEstado(QWidget* barra, int ancho_minimo, int ancho_maximo)
    : QLabel(barra), ancho_minimo_(ancho_minimo),
      ancho_maximo_(std::max(ancho_minimo, ancho_maximo))
{
    setFixedWidth(ancho_minimo_);
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
}

void PanelDeEstado::pon_texto(const QString& texto)
{
    setText(texto);
    // The label's own measure: text, frame and indentation.
    const int hace_falta = sizeHint().width();
    setFixedWidth(std::clamp(hace_falta, ancho_minimo_, ancho_maximo_));
    setToolTip(recortado() ? texto : QString());
}

bool PanelDeEstado::recortado() const
{
    return sizeHint().width() > width();
}

void PanelDeEstado::paintEvent(QPaintEvent* e)
{
    if (!recortado()) {
        QLabel::paintEvent(e);
        return;
    }
    QPainter p(this);
    drawFrame(&p);
    // As the label lays its text out: within its frame, after half an x.
    const int sangria = fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2;
    const QRect r = contentsRect().adjusted(sangria, 0, 0, 0);
    const QString corto = fontMetrics().elidedText(text(), Qt::ElideRight, r.width());
    style()->drawItemText(&p, r, static_cast<int>(alignment()), palette(), isEnabled(), corto,
                          foregroundRole());
}

} // namespace tev
