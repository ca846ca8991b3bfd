#pragma once
// Picture1: the column view. It keeps its drawing in a retained image, so a
// covered window repaints by itself, and holds the user scale that the column
// drawing uses.

#include "main_window/lienzo.h"

#include <QColor>
#include <QFrame>
#include <QImage>

namespace tev {

struct Store;

// A line object lying over the view, in the view's units: the rubber bands of
// the pan and zoom-window tools. It is painted over the drawing, never into it.
class Linea : public QObject {
    Q_OBJECT
public:
    Linea(const char* nombre, const QColor& color, Qt::PenStyle estilo, QWidget* vista);

    float X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    const QColor BorderColor;
    const Qt::PenStyle BorderStyle;

    bool Visible() const { return visible_; }
    void muestra() { pon_visible(true); }
    void oculta() { pon_visible(false); }
    void situa(float x1, float y1, float x2, float y2);

private:
    void pon_visible(bool v);
    QWidget* vista_;
    bool visible_ = false;
};

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

    // A line straight onto the drawing (the pencil); the next draw erases it.
    void linea(float x1, float y1, float x2, float y2, const QColor& color);

    // A point of the widget, in pixels, in the view's units.
    QPointF a_unidades(QPointF posicion) const;
    // A point in the view's units as a pixel of the inner area.
    QPoint pixel_de(float x, float y) const;

    // Blue solid pan line and the four green dotted sides of the zoom window.
    Linea* Line1 = nullptr;
    Linea* Line2 = nullptr;
    Linea* Line3 = nullptr;
    Linea* Line4 = nullptr;
    Linea* Line5 = nullptr;

signals:
    // Button: the button pressed or released (for a move, the buttons held),
    // 1 left, 2 right, 4 middle; Shift: 1 shift, 2 control, 4 alt; X, Y in
    // the view's units.
    void MouseDown(int Button, int Shift, float X, float Y);
    void MouseMove(int Button, int Shift, float X, float Y);
    void MouseUp(int Button, int Shift, float X, float Y);

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    void prepara_imagen();
    QImage imagen_;
};

// The column drawn on an image of the given size, as the view draws it; with
// a pixel ratio, as a screen of that ratio shows it (the image then holds
// tamano times the ratio device pixels).
QImage imagen_de_columna(const Store& s, QSize tamano, const Escala& escala,
                         qreal proporcion = 1.0);

// The column at the view's start-up size and scale, as PNG, SVG or PDF by
// the file's extension. On failure returns false with a Spanish reason.
bool guarda_columna(const Store& s, const QString& ruta, QString* error);

}  // namespace tev
