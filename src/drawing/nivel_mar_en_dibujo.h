#pragma once
// The sea-level curve named where results are shown: the line the windows
// show, and the same line in the top right corner of every picture whose
// numbers depend on the curve (the curves, the burial history with or
// without its bands, the stretching fit of a column, the wells), so two
// pictures are never silently computed from different curves. With the
// program's table a picture is left exactly as it was.

#include "drawing/exporta_imagen.h"

#include <QRectF>
#include <QSize>
#include <QString>

namespace tev {

struct CurvaNivelMar;

// "Nivel del mar: tabla del programa", "Nivel del mar: ninguno" or "Nivel del
// mar: archivo X.csv" (the file's name without its folder).
QString texto_de_nivel_mar(const CurvaNivelMar& curva);

// Where a picture of tamano writes texto: its top right corner, 6 px from
// both edges, one line of the pictures' 12 px font, at most half the
// picture wide (a longer text is shortened in its middle).
QRectF lugar_del_nivel_mar(QSize tamano, const QString& texto);

// The picture with the curve named in its corner, unless it is the
// program's table: then the picture itself, untouched.
Dibujo con_nivel_mar(Dibujo dibujo, const CurvaNivelMar& curva);

} // namespace tev
