#pragma once
// What the batch tool says on standard error of a column's beds computed
// without a rock behind them (model/bancos_sin_roca.h).

#include <string>
#include <vector>

namespace tev {

struct Store;

// The beds whose coefficient or porosity a failure of the run names already
// (0 for none): their warning about it is left out, so that it is said once.
struct FallosDichos {
    int coeficiente = 0;
    int porosidad = 0;
};

// One line per warning, bed 1 first: "«archivo»: El banco 3 («…»): …".
std::vector<std::string> avisos_de_rocas(const std::string& archivo, const Store& s,
                                         const FallosDichos& dichos = {});

// What a save into a project file left out: the own grain densities of some
// beds.
std::string densidades_dejadas(const std::string& destino, int bancos);

} // namespace tev
