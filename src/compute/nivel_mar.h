#pragma once

#include <string>
#include <vector>

namespace tev {

struct Store;

// Sea level (m above the present one) at the age edad (Ma), from the nearest
// row of the table; an age halfway between two rows takes the younger one.
float nivel_mar_de_edad(float edad);

// Sea level (m above the present one) at the top age of bed i, from the
// nearest row of a fixed nine-row table; writes nivel_mar(i).
void buscatiempo(Store& s, int i);

// The sea-level curve a computation takes, passed to it as a value: the
// program's table (the default), none, or the user's own points.
struct CurvaNivelMar {
    enum class Tipo { tabla, ninguna, usuario };
    Tipo tipo = Tipo::tabla;
    // Of the user's curve: the file it came from, as given, which names it;
    // its points in order of increasing age, no age twice, at least one.
    std::string archivo;
    std::vector<double> edades;  // Ma
    std::vector<double> niveles; // m above the present sea level
};

// Sea level (m) at the age edad (Ma) on the curve: the table's nearest row as
// nivel_mar_de_edad gives it; 0 for none; on the user's points, linear
// between the two around edad (in double precision) and the end point's level
// beyond either end. An age that is not a number gives 0, as for the table.
double nivel_de_curva(const CurvaNivelMar& curva, float edad);

// nivel_mar(i) of beds 1..n_bancos from the curve, as a single.
void pon_nivel_mar(Store& s, const CurvaNivelMar& curva);

// How the exports name the curve: empty for the program's table (the default,
// which leaves every export as it was), "ninguno" for none, the file's name
// as given for the user's.
std::string nombre_de_curva(const CurvaNivelMar& curva);

} // namespace tev
