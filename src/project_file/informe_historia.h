#pragma once
// The burial history as CSV (UTF-8, RFC 4180, lines ended by CR LF): one line
// per step of the history, or one line per bed present at every step, as
// `tevarro-batch --historia` and `--enterramiento` write them.

#include "project_file/forma_exportacion.h"

#include <string>

namespace tev {

struct Historia;

// The value rounded to 6 decimals, written as the shortest text that reads
// back to that same double: 2050.1234567 -> "2050.123457", 85 -> "85",
// -0.0000001 -> "0".
std::string numero_historia(double v);

// archivo,edad,banco_superior,espesor_sedimentos,densidad_media,
// paleobatimetria,nivel_mar,subsidencia_total,subsidencia_tectonica,
// tasa_tectonica; a step with no rate leaves its field empty.
std::string cabecera_historia_csv(const FormaExportacion& f = {});
std::string lineas_historia_csv(const Historia& h, const std::string& archivo,
                                const FormaExportacion& f = {});

// archivo,edad,banco,techo,base: every bed present at every step; always
// with commas and decimal points, of f only its curve.
std::string cabecera_enterramiento_csv(const FormaExportacion& f = {});
std::string lineas_enterramiento_csv(const Historia& h, const std::string& archivo,
                                     const FormaExportacion& f = {});

} // namespace tev
