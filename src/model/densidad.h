#pragma once

namespace tev {

struct Store;

inline constexpr int kDensidadAgua = 1000;  // kg/m3
inline constexpr int kDensidadManto = 3300; // kg/m3

// True when bed i has a grain density of its own.
bool tiene_densidad_grano(const Store& s, int i);

// Grain density of bed i (kg/m3): its own (densidad_grano) where it has one,
// otherwise by its lithology: a "PORCENTUAL" bed mixes its four percentages
// as they stand (not normalised to 100); one of the user's rocks the store
// knows (Store::litologias_usuario) gives its own; any other lithology has no
// grains and gives 0.
float densidad_de_grano(const Store& s, int i);

// Bulk density at the surface porosity of bed i (water-saturated grains),
// written to densidad(i), with the grain density of densidad_de_grano.
void calcula_densidad(Store& s, int i);

} // namespace tev
