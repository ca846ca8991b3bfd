#pragma once
// A tool tip that tells what lies under the pointer (an age and a depth, a
// depth and a bed) and follows the pointer while it moves over the widget:
// it comes when the pointer rests, as every tool tip does, and then changes
// with every move until the pointer leaves or points at nothing. Nothing
// drawn or placed in the window moves.

#include <QObject>
#include <QPoint>
#include <QString>

#include <functional>

class QWidget;

namespace tev {

class PistaDelPuntero : public QObject {
    Q_OBJECT
  public:
    // The text for a point of the widget (its own pixels); empty: nothing
    // to tell there. The widget gets mouse tracking.
    using Texto = std::function<QString(QPoint)>;
    PistaDelPuntero(QWidget* widget, Texto texto);

  protected:
    bool eventFilter(QObject* objeto, QEvent* e) override;

  private:
    void muestra(QPoint posicion, QPoint en_pantalla);
    QWidget* widget_;
    Texto texto_;
    bool mostrada_ = false; // the tool tip on screen is this one
};

// A number for a tool tip with as many decimals as one pixel's worth of
// `por_pixel` units calls for (none from 1 up, at most 3), the user's decimal
// separator, no grouping.
QString numero_para_pista(double valor, double por_pixel);

} // namespace tev
