#pragma once
// Round ticks of a plot's axis, shared by the burial-history and stretching
// drawings: steps of 1, 2 or 5 times a power of ten, ranges widened to whole
// steps, and the captions written as the user's locale writes numbers.

#include <QString>

#include <vector>

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

} // namespace tev
