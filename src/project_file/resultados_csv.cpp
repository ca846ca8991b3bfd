#include "project_file/resultados_csv.h"

#include "compute/historia.h"
#include "compute/nivel_mar.h"
#include "project_file/informe_csv.h"
#include "project_file/informe_historia.h"

namespace tev {

std::string resultados_csv(const Store& s, const std::string& archivo, const FormaExportacion& f)
{
    return resultados_csv(s, archivo, f, CurvaNivelMar{});
}

std::string resultados_csv(const Store& s, const std::string& archivo,
                           const FormaExportacion& forma, const CurvaNivelMar& curva)
{
    FormaExportacion f = forma;
    f.curva_nivel_mar = nombre_de_curva(curva);
    std::string t = cabecera_csv(f);
    agrega_lineas_csv(t, s, archivo, f);
    t += "\r\n"; // the empty line, ended as every other
    t += cabecera_historia_csv(f);
    const ResultadoHistoria h = calcula_historia(s, curva);
    if (h.ok()) t += lineas_historia_csv(h.historia, archivo, f);
    return t;
}

} // namespace tev
