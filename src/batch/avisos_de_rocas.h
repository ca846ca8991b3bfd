#pragma once
// What the batch tool says on standard error of a column's beds computed
// without a rock behind them (model/bancos_sin_roca.h).

#include <string>
#include <vector>

namespace tev {

struct Store;

// One line per warning, bed 1 first: "«archivo»: El banco 3 («…»): …".
std::vector<std::string> avisos_de_rocas(const std::string& archivo, const Store& s);

// What a save into a project file left out: the own grain densities of some
// beds.
std::string densidades_dejadas(const std::string& destino, int bancos);

} // namespace tev
