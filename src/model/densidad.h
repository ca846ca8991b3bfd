#pragma once

namespace tev {

struct Store;

inline constexpr int kDensidadAgua = 1000;   // kg/m3
inline constexpr int kDensidadManto = 3300;  // kg/m3

// Bulk density at the surface porosity of bed i (water-saturated grains),
// written to densidad(i). A lithology outside the six names has no grains.
void calcula_densidad(Store& s, int i);

}  // namespace tev
