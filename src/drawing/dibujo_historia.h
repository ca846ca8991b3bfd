#pragma once
// The geohistory diagram: time across (the oldest age at the left, the
// present at the right), depth below the sea floor downwards; every bed
// filled in its colour between its top and base horizons through time, the
// horizons drawn over the fills, the tectonic subsidence (black, 2 px) and
// the total subsidence (dashed) over them, round ticks on both axes and a
// legend. One painter function serves the window and the saved pictures.
//
// Coordinates are pixels of the picture, origin at its top-left corner.

#include "compute/incertidumbre.h" // BandaPaso
#include "drawing/marcas.h"        // paso_redondo, marcas_redondas

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QString>

#include <vector>

class QPainter;

namespace tev {

struct Dibujo;
struct Historia;
struct Store;

// Size of the pictures written by the batch tool.
inline constexpr QSize kTamanoHistoria(900, 600);

// Colours of the horizons and of both subsidence curves.
inline const QColor kColorHorizonte{70, 70, 70};
inline const QColor kColorTectonica{0, 0, 0};
inline const QColor kColorTotal{0, 0, 0};
// Colours of the uncertainty bands, semi-transparent over the beds; the
// tectonic 16-84 % band is its 2.5-97.5 % colour painted twice. The edges of
// the 2.5-97.5 % bands (1 px) keep them visible over a bed of their hue.
inline const QColor kColorBandaTectonica{30, 60, 200, 80};
inline const QColor kColorBandaTotal{230, 110, 0, 80};
inline const QColor kBordeBandaTectonica{20, 30, 120};
inline const QColor kBordeBandaTotal{150, 70, 0};

// Where the diagram lies in a picture of a given size and which ages and
// depths its edges stand for; both ranges end on round ticks.
struct MarcoHistoria {
    QRectF area;                            // the plot, in pixels
    double edad_izquierda = 0;              // Ma at the left edge (the oldest)
    double edad_derecha = 0;                // Ma at the right edge (the present or younger)
    double profundidad_arriba = 0;          // m at the top edge (0, or above the sea floor)
    double profundidad_abajo = 0;           // m at the bottom edge
    std::vector<double> marcas_edad;        // Ma
    std::vector<double> marcas_profundidad; // m
    QRectF leyenda;                         // the legend's frame

    [[nodiscard]] QPointF punto(double edad, double profundidad) const;
    // The inverse: the age (x) and depth (y) at a point of the picture.
    [[nodiscard]] QPointF edad_y_profundidad(QPointF pixel) const;
};
// The depths include the bands' 2.5 and 97.5 % ends when bandas holds one
// band per step of h.
MarcoHistoria marco_historia(const Historia& h, const Store& s, QSize tamano,
                             const std::vector<BandaPaso>& bandas = {});

// The smallest picture whose plot, legend and captions all keep room: the
// least size of the window.
inline constexpr QSize kTamanoMinimoHistoria(480, 360);

// The whole text of the legend entry at a point of the picture (a bed's
// number and name, or a curve's name), empty elsewhere: the legend shortens
// a text too long for it, and the window's tool tip tells it whole.
QString entrada_de_leyenda_en(const Historia& h, const Store& s, QSize tamano, QPointF punto,
                              const std::vector<BandaPaso>& bandas = {});

// What an empty column's diagram says instead of ticks and curves.
QString texto_sin_bancos();

// Paints the whole picture, background included. s gives the beds' names,
// colours and base ages (when each bed began to be laid down); it must be the
// column h was computed from. bandas, when not empty, holds one band per step
// of h in its order (ResultadoIncertidumbre::bandas), shaded over the beds
// and under the curves, and listed in the legend; bands of another count
// than the steps are not drawn.
void pinta_historia(const Historia& h, const Store& s, QPainter& p, QSize tamano,
                    const std::vector<BandaPaso>& bandas = {});

// The whole picture, to be written by guarda_imagen; h, s and bandas must
// outlive it.
Dibujo dibujo_de_la_historia(const Historia& h, const Store& s, QSize tamano,
                             const std::vector<BandaPaso>& bandas = {});

} // namespace tev
