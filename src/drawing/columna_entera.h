#pragma once
// The whole column as one picture, at a size that holds it: the present-day
// column on the left, each bed's decompacted column to the right under its
// name, as the column view draws them, but with every label legible and none
// on top of another. Depth labels that would overlap are moved down the
// column and joined to their depth by a thin line. One painter code for the
// window's context menu and the batch tool, PNG, SVG or PDF.
//
// Coordinates are pixels of the picture, origin at its top-left corner.

#include <QRectF>
#include <QSize>
#include <QString>

#include <vector>

class QPainter;

namespace tev {

struct Dibujo;
struct Store;

// Where everything lies, worked out once for both the size and the painting.
struct ColumnaEntera {
    struct Rotulo {
        QString texto;
        QRectF caja;   // the text's line box
        QPointF ancla; // the depth it tells, on its column's edge
        bool con_guia; // moved away from its depth: a line joins them
    };
    struct Caja {
        int banco;
        bool descompactado;
        QRectF rect;
    };
    QSize tamano;
    double y_datum = 0; // the datum line (depth 0)
    double x_datum_desde = 0;
    double x_datum_hasta = 0;
    double pixeles_por_metro = 0;
    std::vector<Caja> cajas;     // present beds, then decompacted ones
    std::vector<Rotulo> rotulos; // present depths, decompacted depths, names
};
ColumnaEntera disposicion_columna_entera(const Store& s);

void pinta_columna_entera(const Store& s, QPainter& p);

// The picture at its own size, to be written by guarda_imagen; s must outlive it.
Dibujo dibujo_de_la_columna_entera(const Store& s);
// The same written to ruta, PNG, SVG or PDF by its extension. On failure
// returns false with a Spanish reason.
bool guarda_columna_entera(const Store& s, const QString& ruta, QString* error);

} // namespace tev
