#pragma once
// Round ticks of a plot's axes, shared by the burial-history, stretching and
// wells drawings: steps of 1, 2 or 5 times a power of ten, ranges widened to
// whole steps, the captions written as the user's locale writes numbers, and
// the axes painted.

#include <QPointF>
#include <QString>

#include <functional>
#include <vector>

class QFontMetrics;
class QPainter;
class QRectF;

namespace tev {

// The smallest step 1, 2 or 5 times a power of ten whose multiples in
// [desde, hasta] are at most maximo (maximo >= 2); 0 when the range is
// empty or not finite.
double paso_redondo(double desde, double hasta, int maximo);
// Those multiples, in ascending order.
std::vector<double> marcas_redondas(double desde, double hasta, int maximo);

// The multiples of paso in [desde, hasta], ascending, none written "-0".
std::vector<double> multiplos(double desde, double hasta, double paso);

// The range [desde, hasta] widened to whole steps of a round step chosen for
// at most `pixeles / por_marca` + 1 ticks; a range of no width is opened to
// `minimo` first. Returns the step.
double extiende(double& desde, double& hasta, double pixeles, int por_marca, double minimo);

// A tick caption: as many decimals as the step needs, the user's separator,
// no thousands grouping.
QString texto_marca(double v, double paso);

// The step between the ticks (1 with fewer than two).
double paso_de(const std::vector<double>& marcas);

// The axes of a plot with time across the top and depth (m) down the left:
// the frame of area, a 5 px tick outside it at every mark, each captioned
// (the age captions' baseline sobre_marco pixels above the frame, the depth
// captions ending 8 px left of it), "Edad (Ma)" centred above the age
// captions and titulo_vertical turned up the picture's left edge. punto maps
// (age in Ma, depth in m) to the picture's pixels; the pen and the font are
// the painter's, fm measures that font.
void pinta_ejes(QPainter& p, const QFontMetrics& fm, const QRectF& area,
                const std::function<QPointF(double, double)>& punto,
                const std::vector<double>& marcas_edad,
                const std::vector<double>& marcas_profundidad, const QString& titulo_vertical,
                double sobre_marco);

} // namespace tev
