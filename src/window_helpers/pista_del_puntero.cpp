#include "window_helpers/pista_del_puntero.h"

#include <QHelpEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QToolTip>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <utility>

namespace tev {

PistaDelPuntero::PistaDelPuntero(QWidget* widget, Texto texto)
    : QObject(widget), widget_(widget), texto_(std::move(texto))
{
    widget_->setMouseTracking(true);
    widget_->installEventFilter(this);
}

void PistaDelPuntero::muestra(QPoint posicion, QPoint en_pantalla)
{
    const QString t = texto_(posicion);
    if (t.isEmpty()) {
        if (mostrada_) QToolTip::hideText();
        mostrada_ = false;
        return;
    }
    QToolTip::showText(en_pantalla, t, widget_);
    mostrada_ = true;
}

bool PistaDelPuntero::eventFilter(QObject* objeto, QEvent* e)
{
    if (objeto != widget_) return false;
    switch (e->type()) {
    case QEvent::ToolTip: {
        const auto* h = static_cast<QHelpEvent*>(e);
        muestra(h->pos(), h->globalPos());
        // Nothing to tell: the widget's own tool tip, if any, may come.
        return mostrada_;
    }
    case QEvent::MouseMove:
        if (mostrada_ && QToolTip::isVisible()) {
            const auto* m = static_cast<QMouseEvent*>(e);
            muestra(m->position().toPoint(), m->globalPosition().toPoint());
        } else {
            mostrada_ = false;
        }
        return false;
    case QEvent::Leave:
        if (mostrada_) QToolTip::hideText();
        mostrada_ = false;
        return false;
    default:
        return false;
    }
}

QString numero_para_pista(double valor, double por_pixel)
{
    int decimales = 0;
    const double paso = std::abs(por_pixel);
    if (paso > 0 && paso < 1 && std::isfinite(paso))
        decimales = std::min(3, static_cast<int>(std::ceil(-std::log10(paso) - 1e-9)));
    QLocale local;
    local.setNumberOptions(QLocale::OmitGroupSeparator);
    const QString t = local.toString(valor, 'f', decimales);
    // No "-0" for a value that rounds to zero.
    return local.toDouble(t) == 0 ? local.toString(0.0, 'f', decimales) : t;
}

} // namespace tev
