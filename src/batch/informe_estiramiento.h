#pragma once
// The batch tool's fit of the uniform-stretching model: its options on the
// command line and its CSV (UTF-8, RFC 4180, lines ended by CR LF), numbers
// written as the burial history's CSV writes them.

#include "compute/estiramiento.h"
#include "project_file/informe_estiramiento_csv.h" // the fit's line, the points as in CSV

#include <cstddef>
#include <string>
#include <vector>

namespace tev {

// The whole word of an option's value as a finite number ("." for the
// decimals, a leading "+" allowed); false, v untouched or not, otherwise.
bool lee_real(const std::string& t, double& v);

struct Historia;

struct OpcionesEstiramiento {
    bool tabla = false; // --estiramiento
    bool curva = false; // --estiramiento-curva
    std::string imagen; // --estiramiento-imagen
    PeticionAjuste peticion;
    std::string ajuste_dado; // the first of the fit's options given, for the usage error
    [[nodiscard]] bool pedido() const { return tabla || curva || !imagen.empty(); }
};

// When argumentos[k] is one of the fit's options, reads it and its value (k
// is left on the last word read) and returns 1; 0 when it is none of them;
// 2 on a usage error, said in error (a Spanish sentence).
int lee_opcion_estiramiento(const std::vector<std::string>& argumentos, std::size_t& k,
                            OpcionesEstiramiento& o, std::string& error);

// What the options, read together, get wrong; empty when nothing. The fit's
// options are for a fit asked for, or for the fits of the wells compared
// (con_comparacion).
std::string revisa_opciones_estiramiento(const OpcionesEstiramiento& o,
                                         bool con_comparacion = false);

// archivo,edad,subsidencia_tectonica,modelo,residuo: the points fitted, the
// residual being the subsidence less the model.
std::string cabecera_curva_estiramiento_csv();
std::string lineas_curva_estiramiento_csv(const std::string& archivo,
                                          const std::vector<PuntoSubsidencia>& puntos,
                                          const PeticionAjuste& peticion,
                                          const AjusteEstiramiento& ajuste);

} // namespace tev
