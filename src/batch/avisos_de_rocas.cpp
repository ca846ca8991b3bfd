#include "batch/avisos_de_rocas.h"

#include "model/bancos_sin_roca.h"

namespace tev {

std::vector<std::string> avisos_de_rocas(const std::string& archivo, const Store& s)
{
    std::vector<std::string> lineas;
    for (const AvisoSinRoca& a : bancos_sin_roca(s))
        lineas.push_back("«" + archivo + "»: " + a.texto);
    return lineas;
}

} // namespace tev
