#pragma once
// The beds of a column that the program computes without a rock behind them.
// They are computed as they always were (a lithology the program does not
// know has a grain density of 0; a mix is taken as its percentages stand);
// these texts say so wherever the results are shown, so that nothing of the
// kind passes silently.

#include <string>
#include <vector>

namespace tev {

struct Store;

enum class MotivoSinRoca {
    litologia_desconocida, // none of the program's names nor the user's, no grain density of its
                           // own
    porcentajes,           // a "PORCENTUAL" bed whose percentages do not add up to exactly 100
    porosidad,             // outside [0, 1)
    coeficiente,           // the porosity-depth coefficient is not above 0
};

struct AvisoSinRoca {
    int banco = 0;
    MotivoSinRoca motivo = MotivoSinRoca::litologia_desconocida;
    // Spanish, names the bed (and its name) and what is wrong with it.
    std::string texto;
};

// Beds 1..n_bancos, bed 1 first; a bed may appear more than once, once per
// reason. The user's rocks the store knows (Store::litologias_usuario) count
// as rocks, as the five of the program do. A bed with a grain density of its
// own has a rock whatever its lithology, and its percentages then do not
// count either.
std::vector<AvisoSinRoca> bancos_sin_roca(const Store& s);

// The text folded for a comparison that ignores case and accents: ASCII
// letters in lower case, the accented Latin letters (U+00C0..U+00FF) as their
// plain lower-case letter; "Pelítas" and "PELITAS" give "pelitas".
std::string sin_mayusculas_ni_acentos(const std::string& texto);

} // namespace tev
