#include "batch/opcion_nivel_mar.h"

#include "batch/informe.h"

#include "compute/nivel_mar.h"
#include "project_file/curva_nivel_mar.h"

namespace tev {

bool curva_de_la_opcion(const std::string& valor, CurvaNivelMar& curva, std::string& error)
{
    LecturaCurva l = elige_curva(valor);
    if (!l.ok) {
        error = "tevarro-batch: " + l.error;
        return false;
    }
    curva = std::move(l.curva);
    return true;
}

std::string linea_de_curva(const CurvaNivelMar& curva)
{
    switch (curva.tipo) {
    case CurvaNivelMar::Tipo::tabla:
        return {};
    case CurvaNivelMar::Tipo::ninguna:
        return "Nivel del mar: ninguno (0 m a toda edad)\n";
    case CurvaNivelMar::Tipo::usuario:
        break;
    }
    return "Nivel del mar: curva «" + escapa_controles(curva.archivo) + "»\n";
}

} // namespace tev
