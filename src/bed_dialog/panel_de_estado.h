#pragma once
// A panel of the bed dialog's status bar: a sunken label that widens for its
// text, up to the room the bar leaves it, and beyond that shows the text cut
// with an ellipsis and gives it whole in its tool tip. text() is always the
// whole text.

#include <QLabel>

namespace tev {

class PanelDeEstado : public QLabel {
    Q_OBJECT
  public:
    // ancho_minimo: the panel's own width (pixels); ancho_maximo: the most
    // it may take.
    PanelDeEstado(QWidget* barra, int ancho_minimo, int ancho_maximo);

    // Sets the text and fits the panel to it.
    void pon_texto(const QString& texto);
    // True when the text is shown cut short (its tool tip then holds it).
    [[nodiscard]] bool recortado() const;

  protected:
    void paintEvent(QPaintEvent* e) override;

  private:
    int ancho_minimo_;
    int ancho_maximo_;
};

} // namespace tev
