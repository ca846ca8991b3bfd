#include "batch/avisos_de_rocas.h"

#include "model/bancos_sin_roca.h"

namespace tev {

std::vector<std::string> avisos_de_rocas(const std::string& archivo, const Store& s,
                                         const FallosDichos& dichos)
{
    std::vector<std::string> lineas;
    for (const AvisoSinRoca& a : bancos_sin_roca(s)) {
        if (a.motivo == MotivoSinRoca::coeficiente && a.banco == dichos.coeficiente) continue;
        if (a.motivo == MotivoSinRoca::porosidad && a.banco == dichos.porosidad) continue;
        lineas.push_back("«" + archivo + "»: " + a.texto);
    }
    return lineas;
}

std::string densidades_dejadas(const std::string& destino, int bancos)
{
    return "«" + destino + "»: se guardó sin las densidades de grano propias de " +
           std::to_string(bancos) + (bancos == 1 ? " banco" : " bancos") +
           ", que un archivo de proyecto no guarda; un archivo .csv las conserva.";
}

} // namespace tev
