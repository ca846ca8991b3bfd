#include "window_helpers/linea_de_avisos.h"

#include <QPainter>
#include <QStyle>

namespace tev {

namespace {

const QColor kTextoAviso(0x80, 0x30, 0x00); // dark orange, readable on the bar

} // namespace

LineaDeAvisos::LineaDeAvisos(QWidget* padre) : QWidget(padre)
{
    // Whatever room the bar has left; none at all when its panels take it.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void LineaDeAvisos::pon_avisos(const QStringList& avisos)
{
    if (avisos == avisos_) return;
    avisos_ = avisos;
    texto_ = avisos.isEmpty() ? QString() : avisos.front();
    if (avisos.size() == 2) texto_ += QString::fromUtf8(" (y 1 aviso más)");
    if (avisos.size() > 2) texto_ += QString::fromUtf8(" (y %1 avisos más)").arg(avisos.size() - 1);
    setToolTip(avisos.join('\n'));
    updateGeometry();
    update();
}

QSize LineaDeAvisos::sizeHint() const
{
    return {fontMetrics().horizontalAdvance(texto_) + 8, fontMetrics().height() + 2};
}

QSize LineaDeAvisos::minimumSizeHint() const
{
    return {0, fontMetrics().height() + 2};
}

void LineaDeAvisos::paintEvent(QPaintEvent*)
{
    if (texto_.isEmpty()) return;
    QPainter p(this);
    p.setPen(kTextoAviso);
    const QRect r = rect().adjusted(4, 0, -4, 0);
    p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter,
               fontMetrics().elidedText(texto_, Qt::ElideRight, r.width()));
}

} // namespace tev
