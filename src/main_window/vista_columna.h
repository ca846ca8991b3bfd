#pragma once
// Picture1: the column view. It keeps its drawing in a retained image, so a
// covered window repaints by itself, and holds the user scale that the column
// drawing uses.

#include "drawing/imagen_columna.h"
#include "drawing/lienzo.h"

#include <QColor>
#include <QFrame>
#include <QImage>

class QAction;

namespace tev {

class GuardarImagen;
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

    [[nodiscard]] bool Visible() const { return visible_; }
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
    [[nodiscard]] QSize area() const;
    void escala_de_arranque();

    // The user scale of the view. The mouse tools change it through the
    // three operations below; each returns true when the view must be redrawn.
    [[nodiscard]] const Escala& escala() const { return escala_; }
    void pon_escala(const Escala& e) { escala_ = e; }
    // Pan: the point under the press comes under the release.
    void desplaza(float x_inicio, float y_inicio, float X, float Y);
    // Zoom window from the press to the release point; factor_zoom receives
    // the ratio of the new extent to the old one.
    bool zoom_a_ventana(float& factor_zoom, float x_inicio, float y_inicio, float X, float Y);
    // Back out: width and height divided by factor_zoom.
    void aleja(float factor_zoom);
    // Both columns, present and decompacted, with every label, fill the
    // view, and the view is redrawn ("Ver toda la columna", key Home).
    void ver_toda_la_columna();
    // The action behind it: in the context menu, with its key; the main
    // window's tool button triggers it.
    QAction* ver_toda = nullptr;
    // The zoom of one step of the mouse wheel (120 eighths of a degree).
    static constexpr double kZoomPorPaso = 1.25;

    // The rubber bands of the mouse tools, in the view's units: the blue
    // pan guide (Line1) and the green dotted zoom window (Line2 to Line5).
    void muestra_guia(bool visible);
    void situa_guia(float x1, float y1, float x2, float y2);
    void muestra_ventana_de_zoom(bool visible);
    void situa_ventana_de_zoom(float x1, float y1, float x2, float y2);

    // Laid under every drawing at the view's top-left corner, unscaled.
    QImage fondo;

    // Clears the view (the background stays) and paints the column anew.
    void draw(const Store& s);
    [[nodiscard]] const QImage& imagen() const { return imagen_; }

    // A line straight onto the drawing (the pencil); the next draw erases it.
    void linea(float x1, float y1, float x2, float y2, const QColor& color);

    // A point of the widget, in pixels, in the view's units.
    [[nodiscard]] QPointF a_unidades(QPointF posicion) const;
    // A point in the view's units as a pixel of the inner area.
    [[nodiscard]] QPoint pixel_de(float x, float y) const;

    // Saves what the view shows (the column at its current size and scale,
    // over its background picture; not the pencil strokes), PNG, SVG or PDF
    // by the extension. False, with the reason in Spanish, on failure.
    bool guarda_imagen(const QString& ruta, QString* error);
    // The whole column, both parts, every label legible, at the size that
    // holds them (drawn apart from the view's scale and background).
    bool guarda_columna_entera(const QString& ruta, QString* error);
    // The context menu's "Guardar imagen…", which saves through guarda_imagen,
    // and "Guardar columna entera…" beside it.
    GuardarImagen* guardar_imagen = nullptr;

    // What the tool tip tells at a point of the widget: the depth, and the
    // bed whose box is there; empty outside the drawing or before a draw.
    [[nodiscard]] QString texto_bajo_el_puntero(QPoint posicion) const;

    // Blue solid pan line and the four green dotted sides of the zoom window
    // (read them; the view places and shows them).
    const Linea* Line1 = nullptr;
    const Linea* Line2 = nullptr;
    const Linea* Line3 = nullptr;
    const Linea* Line4 = nullptr;
    const Linea* Line5 = nullptr;

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
    // The wheel zooms about the pointer: the point under it stays there.
    void wheelEvent(QWheelEvent* e) override;
    // "Guardar imagen…", unless the pan or zoom-window tool is on: the right
    // button then stays theirs.
    void contextMenuEvent(QContextMenuEvent* e) override;

  private:
    void prepara_imagen();
    QImage imagen_;
    Escala escala_;
    Linea* guia_ = nullptr;
    Linea* zoom_[4] = {nullptr, nullptr, nullptr, nullptr};
    const Store* dibujada_ = nullptr; // the column of the last draw
};

} // namespace tev
