#pragma once
// Picture1: the column view. It keeps its drawing in a retained image, so a
// covered window repaints by itself, and holds the user scale that the column
// drawing uses.

#include "main_window/lienzo.h"

#include <QFrame>
#include <QImage>

namespace tev {

struct Store;

class VistaColumna : public QFrame {
    Q_OBJECT
public:
    explicit VistaColumna(QWidget* parent = nullptr);

    // Inner drawing area, inside the sunken border.
    QSize area() const;
    void escala_de_arranque();

    Escala escala;
    // Laid under every drawing at the view's top-left corner, unscaled.
    QImage fondo;

    // Clears the view (the background stays) and paints the column anew.
    void draw(const Store& s);
    const QImage& imagen() const { return imagen_; }

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void prepara_imagen();
    QImage imagen_;
};

// The column drawn on an image of the given size, as the view draws it.
QImage imagen_de_columna(const Store& s, QSize tamano, const Escala& escala);

// The column at the view's start-up size and scale, as PNG or SVG by the
// file's extension. On failure returns false with a Spanish reason.
bool guarda_columna(const Store& s, const QString& ruta, QString* error);

}  // namespace tev
