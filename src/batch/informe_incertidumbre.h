#pragma once
// The batch tool's uncertainty run (compute/incertidumbre.h): its options on
// the command line and its CSV (UTF-8, RFC 4180, lines ended by CR LF),
// numbers written as the burial history's CSV writes them.

#include "compute/incertidumbre.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tev {

struct FormaExportacion;

struct OpcionesIncertidumbre {
    int tiradas = 0;         // --incertidumbre N; 0 when not asked
    uint64_t semilla = 1;    // --semilla S
    RangosColumna rangos;    // --rango-*
    std::string imagen;      // --incertidumbre-imagen: the history diagram with its bands
    std::string sin_tiradas; // the first option that needs --incertidumbre, for the usage error
    [[nodiscard]] bool pedida() const { return tiradas > 0; }
};

// When argumentos[k] is one of the uncertainty's options, reads it and its
// value (k is left on the value) and returns 1; 0 when it is none of them;
// 2 on a usage error, said in error (a Spanish sentence).
int lee_opcion_incertidumbre(const std::vector<std::string>& argumentos, std::size_t& k,
                             OpcionesIncertidumbre& o, std::string& error);

// What the options, read together, get wrong; empty when nothing.
std::string revisa_opciones_incertidumbre(const OpcionesIncertidumbre& o);

// archivo,edad,banco_superior,subsidencia_tectonica,tectonica_p2_5,
// tectonica_p16,tectonica_p50,tectonica_p84,tectonica_p97_5,
// subsidencia_total,total_p2_5,total_p50,total_p97_5,edad_p2_5,edad_p97_5:
// per step, the history's own age and subsidences and the draws' percentiles.
std::string cabecera_incertidumbre_csv(const FormaExportacion& f);
std::string lineas_incertidumbre_csv(const ResultadoIncertidumbre& r, const std::string& archivo,
                                     const FormaExportacion& f);

// With --estiramiento: the fit's header and line (batch/informe_estiramiento.h)
// followed by beta_p2_5,beta_p50,beta_p97_5,edad_rift_p2_5,edad_rift_p50,
// edad_rift_p97_5 over the draws' refits.
std::string cabecera_estiramiento_incertidumbre_csv();
std::string linea_estiramiento_incertidumbre_csv(const std::string& archivo,
                                                 const PeticionAjuste& peticion,
                                                 const AjusteEstiramiento& ajuste,
                                                 const BandaEstiramiento& banda);

} // namespace tev
