#pragma once
// What the bed dialog's capture does to a bed once its boxes are read, as
// plain functions over the store: the lithology's porosity and coefficient,
// the "PORCENTUAL" mix, the sea level and the surface bulk density. The
// column table goes through the same rules, so a bed edited in either place
// holds the same bits.

#include <array>

namespace tev {

struct Store;

// Sandstone, pelite, limestone, evaporite, in percent, as doubles: what the
// mix of a "PORCENTUAL" bed is made of.
using Porcentajes = std::array<double, 4>;

// The percentages of bed b as the dialog's boxes show them: the short form
// of each stored single, read back as a double (the dialog mixes the texts
// it shows, not the singles behind them).
Porcentajes porcentajes_mostrados(const Store& s, int b);

// The rules of the capture on bed b, whose typed fields are already stored:
// - a named lithology writes its porosity and coefficient texts into the bed
//   (read as the dialog reads them) and gives its grain density;
// - "PORCENTUAL" writes the porosity and coefficient of the mix of pct, and
//   its grain density; a value that does not fit a single keeps the bed's;
// - one of the user's rocks (Store::litologias_usuario) writes the short form
//   of its porosity and coefficient, read back as the dialog reads its boxes,
//   and gives its grain density;
// - any other lithology keeps the typed porosity and coefficient and has no
//   grains (grain density 0);
// a bed with a grain density of its own (densidad_grano) takes it in place of
// its lithology's or its mix's, which still give the porosity and coefficient;
// then the sea level at the top age and the surface bulk density.
// Returns false when the bed is "PORCENTUAL" and pct does not add up to 100
// (the dialog's "ERROR DE PORCENTAJES").
bool aplica_reglas_de_banco(Store& s, int b, const Porcentajes& pct);
// The same with the percentages the bed shows.
bool aplica_reglas_de_banco(Store& s, int b);

// True when bed b is "PORCENTUAL" and its percentages, as shown, do not add
// up to 100.
bool error_de_porcentajes(const Store& s, int b);

} // namespace tev
