#pragma once
// The stretching fit as CSV (UTF-8, RFC 4180, lines ended by CR LF), numbers
// written as the burial history's CSV writes them: what
// `tevarro-batch --estiramiento` writes and the comparison of wells exports.

#include "compute/estiramiento.h"

#include <string>
#include <vector>

namespace tev {

struct Historia;

// archivo,modo,constantes,beta,edad_rift,corteza,rms,puntos,en_limite
std::string cabecera_estiramiento_csv();
std::string linea_estiramiento_csv(const std::string& archivo, const PeticionAjuste& peticion,
                                   const AjusteEstiramiento& ajuste);

// The history's points as its CSV writes them (numero_historia), so that a
// project file and the history's CSV written from it give the same fit.
std::vector<PuntoSubsidencia> puntos_como_en_csv(const Historia& h);

} // namespace tev
