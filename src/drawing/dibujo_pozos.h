#pragma once
// Several wells on one chart: time across (the oldest age at the left, as in
// the burial-history diagram), subsidence downwards; each well's tectonic
// subsidence in its own colour with its own marker at every step, its fitted
// stretching curve dashed in the same colour, on a switch its total
// subsidence (thin, dotted), round ticks on both axes and a legend naming
// each well with its beta and rift age. One painter function serves the
// window and the saved pictures.
//
// Coordinates are pixels of the picture, origin at its top-left corner.

#include "compute/estiramiento.h"
#include "compute/incertidumbre.h"

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QString>

#include <vector>

class QPainter;

namespace tev {

struct Dibujo;
struct Pozo;

// Size of the pictures written by the batch tool.
inline constexpr QSize kTamanoPozos(1000, 640);

// A colour-blind-safe palette (Okabe and Ito), dark colours first; well k of
// the list takes colour k modulo its size and marker k modulo kMarcadores, so
// a well keeps both while others are hidden.
QColor color_de_pozo(int indice);
inline constexpr int kMarcadores = 7;

struct PozoEnFigura {
    const Pozo* pozo = nullptr;    // with a history; it must outlive the figure
    int indice = 0;                // its place in the list: its colour and marker
    std::vector<BandaPaso> bandas; // one per step of the well's history; empty: none
};

struct FiguraPozos {
    std::vector<PozoEnFigura> pozos;
    ModeloEstiramiento modelo; // of the fits drawn
    bool total = false;        // the total subsidence as well
    // The uncertainty bands, one per well's step, will be painted under the
    // curves here when they are given.
};

// Every well of the list that has a history, each by its place in the list.
FiguraPozos figura_de_pozos(const std::vector<Pozo>& pozos, const ModeloEstiramiento& modelo);

struct MarcoPozos {
    QRectF area;                            // the plot, in pixels
    double edad_izquierda = 0;              // Ma at the left edge (the oldest)
    double edad_derecha = 0;                // Ma at the right edge
    double subsidencia_arriba = 0;          // m at the top edge
    double subsidencia_abajo = 0;           // m at the bottom edge
    std::vector<double> marcas_edad;        // Ma
    std::vector<double> marcas_subsidencia; // m
    QRectF leyenda;                         // the legend's frame
    double linea_leyenda = 0;               // height of one entry, pixels

    [[nodiscard]] QPointF punto(double edad, double subsidencia) const;
};
MarcoPozos marco_pozos(const FiguraPozos& f, QSize tamano);

// A well's legend text: its name, then its beta and rift age, or why it has
// no fit.
QString texto_de_leyenda(const Pozo& pozo);

// Paints the whole picture, background included.
void pinta_pozos(const FiguraPozos& f, QPainter& p, QSize tamano);

// The whole picture, to be written by guarda_imagen; f must outlive it.
Dibujo dibujo_de_pozos(const FiguraPozos& f, QSize tamano);

} // namespace tev
