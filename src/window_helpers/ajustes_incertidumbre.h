#pragma once
// The user's uncertainty settings, kept in the preferences (preferencias.h)
// under the group "incertidumbre": whether the windows compute and show the
// bands, how many draws, the seed, and the column-wide ranges. Every window
// that shows bands reads them here; the dialog "Incertidumbre…" writes them.

#include "compute/incertidumbre.h"

#include <cstdint>

namespace tev {

struct AjustesIncertidumbre {
    bool activa = false;   // off: the windows compute and show no band
    int tiradas = 1000;    // draws, 1..kMaxTiradas
    uint64_t semilla = 1;  // seed of the draws
    RangosColumna rangos = // see RangosColumna for the units
        {0.1, 0.1, 50, 1, 10};
};

inline constexpr int kMaxTiradas = 1000000;

// The settings as last written; the defaults above for any missing or
// unreadable entry.
AjustesIncertidumbre lee_ajustes_incertidumbre();
void guarda_ajustes_incertidumbre(const AjustesIncertidumbre& a);

// Threads for the draws: one per processor the machine reports (at least 1).
int hilos_de_calculo();

} // namespace tev
