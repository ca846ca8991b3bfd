#pragma once
// What the batch tool says on standard error of a column's beds computed
// without a rock behind them (model/bancos_sin_roca.h).

#include <string>
#include <vector>

namespace tev {

struct ResultadoCalculo;
struct ResultadoHistoria;
struct Store;

// One line per warning, bed 1 first: "«archivo»: El banco 3 («…»): …". The
// computation and the history the run reports (null: not reported): a
// warning about the coefficient or porosity of a bed whose failure they name
// for it is left out, so that it is said once, by the failure.
std::vector<std::string> avisos_de_rocas(const std::string& archivo, const Store& s,
                                         const ResultadoCalculo* calculo = nullptr,
                                         const ResultadoHistoria* historia = nullptr);

// What a save into a project file left out: the own grain densities of some
// beds.
std::string densidades_dejadas(const std::string& destino, int bancos);

// What a save into a project file left out: the uncertainty ranges of some
// beds.
std::string rangos_dejados(const std::string& destino, int bancos);

} // namespace tev
