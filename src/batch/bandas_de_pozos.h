#pragma once
// The uncertainty bands of the wells compared in one picture
// (--comparar-imagen with --incertidumbre N): the bands the file's own
// uncertainty lines were drawn for when there are any, otherwise the well's
// column read again from its file, as lee_pozo reads it, and drawn as
// --incertidumbre draws it.

#include "compute/incertidumbre.h"

#include <map>
#include <string>
#include <vector>

namespace tev {

struct CurvaNivelMar;
struct OpcionesIncertidumbre;
struct Pozo;

struct BandasDePozos {
    // One entry per well of the list, in its order: one band per step of
    // its history, or none for a well without a history or whose draws
    // failed.
    std::vector<std::vector<BandaPaso>> bandas;
    // Spanish, one per well whose draws failed, naming it.
    std::vector<std::string> errores;
};

// Bands already drawn for a file with the same options, by its path as
// given: taken as they are.
using BandasHechas = std::map<std::string, std::vector<BandaPaso>>;

// hilos: the threads of each well's draws (at least 1; the bands do not
// depend on it).
BandasDePozos bandas_de_pozos(const std::vector<Pozo>& pozos, const CurvaNivelMar& curva,
                              const OpcionesIncertidumbre& opciones, int hilos,
                              const BandasHechas& hechas = {});

} // namespace tev
