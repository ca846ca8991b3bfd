#pragma once
// The figure of the stretching fit: time across as in the history diagram
// (the oldest age at the left, the present at the right), subsidence
// downwards; the history's tectonic subsidence as points joined by a line
// (hollow points lie outside the ages fitted), the fitted model curve, thin
// grey model curves for some betas at the same rift age labelled with their
// beta, round ticks on both axes and a legend. When there is no fit, its
// reason stands where the curves would. One painter function serves the
// window and the saved pictures.
//
// Coordinates are pixels of the picture, origin at its top-left corner.

#include "compute/estiramiento.h"
#include "compute/incertidumbre.h" // BandaPaso, BandaEstiramiento

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QString>

#include <vector>

class QPainter;

namespace tev {

struct Dibujo;

// Size of the pictures written by the batch tool.
inline constexpr QSize kTamanoEstiramiento(900, 600);

inline const QColor kColorSubsidencia{0, 0, 0};
inline const QColor kColorModelo{200, 30, 30};
inline const QColor kColorReferencia{160, 160, 160};
// The band around the points, semi-transparent: the 2.5-97.5 % band once,
// the 16-84 % band over it (so darker).
inline const QColor kColorBandaPuntos{30, 60, 200, 60};

// The betas of the grey curves.
inline constexpr double kBetasDeReferencia[] = {1.2, 1.5, 2, 3, 5};

// What the figure shows: every point of the curve, the request (its model
// and the interval of ages fitted) and the fit or its failure.
struct FiguraEstiramiento {
    std::vector<PuntoSubsidencia> puntos;
    PeticionAjuste peticion;
    AjusteEstiramiento ajuste;
    // The uncertainty, when computed (empty bandas: none drawn): one band per
    // step of the history the points come from (ResultadoIncertidumbre::
    // bandas), and beta's and the rift age's percentiles over the refits.
    // The band is drawn when there is one per point (bandas[k] belongs to
    // puntos[k], both in the history's order) and widens the depth range;
    // beta's and the rift age's 95 % intervals are shown when banda_beta is
    // ok and holds a beta (at least 1).
    std::vector<BandaPaso> bandas;
    BandaEstiramiento banda_beta;
};

// The legend's texts from the top, the points' entry first.
std::vector<QString> leyenda_del_estiramiento(const FiguraEstiramiento& f);

struct MarcoEstiramiento {
    QRectF area;                            // the plot, in pixels
    double edad_izquierda = 0;              // Ma at the left edge (the oldest)
    double edad_derecha = 0;                // Ma at the right edge
    double profundidad_arriba = 0;          // m at the top edge
    double profundidad_abajo = 0;           // m at the bottom edge
    std::vector<double> marcas_edad;        // Ma
    std::vector<double> marcas_profundidad; // m
    QRectF leyenda;

    [[nodiscard]] QPointF punto(double edad, double profundidad) const;
};
MarcoEstiramiento marco_estiramiento(const FiguraEstiramiento& f, QSize tamano);

// The model of beta at the fit's rift age, as (age, subsidence) from the
// left edge to the right one: 0 before the rift, the jump at it (mode
// total), then the curve, sampled more densely near the rift.
std::vector<QPointF> curva_del_modelo(const FiguraEstiramiento& f, double beta, double izquierda,
                                      double derecha);

// Paints the whole picture, background included.
void pinta_estiramiento(const FiguraEstiramiento& f, QPainter& p, QSize tamano);

// The whole picture, to be written by guarda_imagen; f must outlive it.
Dibujo dibujo_del_estiramiento(const FiguraEstiramiento& f, QSize tamano);

} // namespace tev
