#pragma once
// Form5: the burial-history window. It shows the geohistory diagram of the
// column as it was at the last computation, rescaled with the window, or the
// reason why the column has no history. Its context menu saves the picture.

#include "compute/historia.h"
#include "compute/incertidumbre.h"

#include <QPointer>
#include <QWidget>

#include <memory>

namespace tev {

class CalculoDeFondo;
class GuardarImagen;
struct Store;

class Form5 : public QWidget {
    Q_OBJECT
  public:
    // A top-level window without owner; closing it through its frame
    // destroys it.
    Form5();
    ~Form5() override;

    // Computes the history of s and shows it. The window keeps its own copy
    // of the column, so later edits change nothing until the next call.
    void actualiza(const Store& s);
    [[nodiscard]] const ResultadoHistoria& resultado() const { return resultado_; }
    // The column the history was computed from.
    [[nodiscard]] const Store& columna() const { return *columna_; }

    // The uncertainty bands drawn with the history, one per step: computed in
    // the background when the user's settings (ajustes_incertidumbre.h) ask
    // for them, empty while they are off, being computed, or cancelled.
    [[nodiscard]] const std::vector<BandaPaso>& bandas() const { return bandas_; }
    // Computes the bands of the column shown anew with the settings as they
    // stand now (or drops them when they are off).
    void calcula_bandas();
    // The progress bar and "Cancelar" of the bands' computation.
    CalculoDeFondo* calculo = nullptr;

    // Saves the diagram at the window's size, PNG, SVG or PDF by the
    // extension. False, with the reason in Spanish, on failure or when the
    // column has no history.
    bool guarda_imagen(const QString& ruta, QString* error);
    // The context menu's "Guardar imagen…", which saves through guarda_imagen;
    // its entry is disabled while the column has no history.
    GuardarImagen* guardar_imagen = nullptr;

    // What the tool tip tells at a point of the window: the age and depth in
    // the diagram, or a legend entry's whole text; empty elsewhere.
    [[nodiscard]] QString texto_bajo_el_puntero(QPoint posicion) const;

  protected:
    void paintEvent(QPaintEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;

  private:
    std::unique_ptr<Store> columna_;
    ResultadoHistoria resultado_;
    std::vector<BandaPaso> bandas_;
};

// Shows the history of s in the window held by ventana, creating the window
// first when there is none (never opened, or closed by the user).
Form5* muestra_historia(QPointer<Form5>& ventana, const Store& s);

} // namespace tev
