#pragma once
// Form4: the curve window. It shows the decompaction, load-correction and
// tectonic curves against time; its two scroll bars set the scales and
// replot. The curves are kept in an image of the window, so a covered window
// repaints itself; the scroll bars clear that image before replotting, a
// plain replot draws over it.

#include <QFont>
#include <QImage>
#include <QPointer>
#include <QWidget>

class QLabel;
class QLineEdit;
class QScrollBar;

namespace tev {

class GuardarImagen;
struct Store;

class Form4 : public QWidget {
    Q_OBJECT
  public:
    // A top-level window without owner; closing it through its frame
    // destroys it with its controls.
    explicit Form4(Store& s);

    // Shows the window, reads the scales from Text1 and Text2 into the store,
    // sets the axis captions and draws the curves over what is already there.
    // A scale text that reads as 0 (or does not fit a single) is refused: its
    // box is marked and the last good scale is used.
    void curvas(Store& s);
    // Clears the curves (labels and the other controls keep their contents).
    void borra_dibujo();

    // "Ajustar a la columna": both scroll bars and their boxes set to the
    // largest scales at which the whole column's age and depth fit the axes,
    // then plotted as a scroll plots.
    void ajusta_a_la_columna();
    // What the tool tip tells at a point of the window: the age and depth
    // there, inside the axes only.
    [[nodiscard]] QString texto_bajo_el_puntero(QPoint posicion) const;

    // Saves the plot at the scales in use, PNG, SVG or PDF by the extension.
    bool guarda_imagen(const QString& ruta, QString* error);
    // The context menu's "Guardar imagen…", which saves through guarda_imagen.
    GuardarImagen* guardar_imagen = nullptr;

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* Label12 = nullptr;
    QLabel* Label13 = nullptr;
    QLabel* Label14 = nullptr;
    QLabel* Label15 = nullptr;
    QLabel* Label16 = nullptr;
    QScrollBar* HScroll1 = nullptr;
    QScrollBar* VScroll1 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;

  public slots:
    void HScroll1_Change();
    void VScroll1_Change();

  protected:
    void resizeEvent(QResizeEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;

  private:
    void crea_controles();
    // Reads a scale box: its leading number divided by divisor, as a single.
    // A refused text marks the box and leaves ultima as it was.
    float lee_escala(QLineEdit* caja, double divisor, float& ultima);
    void asegura_imagen();

    Store& s_;
    QImage dibujo_;           // the curves, transparent elsewhere
    QWidget* capa_ = nullptr; // shows the fixed lines and dibujo_ over the labels
    // Last scales read from good texts: what a refused text falls back to.
    float escala_tiempo_ = 0;
    float escala_profundidad_ = 0;
    // The axis captions as last fitted to their labels: the same text in the
    // same width keeps its font without being measured again.
    struct EjeAjustado {
        QString texto;
        int ancho = -1;
        QFont base;
    };
    EjeAjustado ejes_ajustados_[10];
};

// Shows the curves in the window held by ventana, creating the window first
// when there is none (never opened, or closed by the user); the curves of
// earlier plots are cleared first, the scales kept.
Form4* muestra_curvas(QPointer<Form4>& ventana, Store& s);

} // namespace tev
