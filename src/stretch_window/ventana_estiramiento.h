#pragma once
// "Subsidencia y estiramiento": the uniform-stretching model fitted to the
// tectonic subsidence of the column's burial history. The figure on the left
// (dibujo_estiramiento.h), the settings, the results and the constants in use
// on the right. Every change of a setting refits at once, and so does every
// computation of the column; the settings are kept in the preferences (ajustes_estiramiento.h),
// shared with the comparison of wells.

#include "drawing/dibujo_estiramiento.h"

#include <memory>

#include <QPointer>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;

namespace tev {

class CalculoDeFondo;
class GuardarImagen;
struct AjustesEstiramiento;
struct Store;

class VentanaEstiramiento : public QWidget {
    Q_OBJECT
  public:
    // A top-level window without owner; closing it through its frame
    // destroys it. Its settings are read from QSettings.
    VentanaEstiramiento();
    ~VentanaEstiramiento() override;

    // Computes the history of s and fits it.
    void actualiza(const Store& s);
    [[nodiscard]] const FiguraEstiramiento& figura() const { return figura_; }

    // The results as text, as "Copiar resultados" puts them on the clipboard.
    [[nodiscard]] QString texto_resultados() const;

    // Saves the figure at its size on screen, PNG, SVG or PDF by the
    // extension. False, with the reason in Spanish, on failure or when there
    // is no fit.
    bool guarda_imagen(const QString& ruta, QString* error);
    GuardarImagen* guardar_imagen = nullptr;

    QWidget* lienzo = nullptr;
    QComboBox* modo_cmb = nullptr;
    QCheckBox* edad_rift_chk = nullptr;
    QDoubleSpinBox* edad_rift_spn = nullptr;
    QDoubleSpinBox* corteza_spn = nullptr;
    QComboBox* constantes_cmb = nullptr;
    QComboBox* serie_cmb = nullptr;
    QCheckBox* desde_chk = nullptr;
    QDoubleSpinBox* desde_spn = nullptr;
    QCheckBox* hasta_chk = nullptr;
    QDoubleSpinBox* hasta_spn = nullptr;
    QLabel* resultado_lbl = nullptr;
    QLabel* constantes_lbl = nullptr;
    QPushButton* copiar_btn = nullptr;
    QPushButton* guardar_btn = nullptr;
    // The progress bar and "Cancelar" of the bands' computation, over the
    // foot of the figure while it runs.
    CalculoDeFondo* calculo = nullptr;

    // Computes the figure's bands (the draws of the column, then the fit
    // redone on every draw) in the background when the user's settings
    // (ajustes_incertidumbre.h) ask for them; drops them when off.
    void calcula_bandas();

  protected:
    void contextMenuEvent(QContextMenuEvent* e) override;

  private:
    void crea_controles();
    void lee_ajustes();
    void guarda_ajustes() const;
    // The settings the controls show (ajustes_estiramiento.h).
    [[nodiscard]] AjustesEstiramiento ajustes() const;
    // The request the controls describe.
    [[nodiscard]] PeticionAjuste peticion() const;
    // Fits the points with the controls' request and shows the answer.
    void ajusta();
    void muestra_resultados();

    std::unique_ptr<Store> columna_; // the column last given to actualiza
    // The draws of that column with the settings of the last computation,
    // kept so a change of the fit's settings only refits them; null until
    // computed.
    std::shared_ptr<const ResultadoIncertidumbre> tiradas_;
    std::vector<PuntoSubsidencia> puntos_;
    std::string sin_historia_; // why the column has no history; empty when it has one
    FiguraEstiramiento figura_;
    bool leyendo_ajustes_ = false;
};

// Shows the fit of s in the window held by ventana, creating the window first
// when there is none (never opened, or closed by the user).
VentanaEstiramiento* muestra_estiramiento(QPointer<VentanaEstiramiento>& ventana, const Store& s);

} // namespace tev
