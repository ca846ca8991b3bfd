#include "batch/avisos_de_rocas.h"

#include "compute/historia.h"
#include "compute/tevarro.h"
#include "model/bancos_sin_roca.h"

namespace tev {

std::vector<std::string> avisos_de_rocas(const std::string& archivo, const Store& s,
                                         const ResultadoCalculo* calculo,
                                         const ResultadoHistoria* historia)
{
    // The beds whose coefficient and porosity a failure names (0 for none).
    int coeficiente = 0;
    int porosidad = 0;
    if (calculo && calculo->fallo == FalloCalculo::division_por_cero) coeficiente = calculo->banco;
    if (historia && historia->campo == CampoHistoria::coef_porosidad) coeficiente = historia->banco;
    if (historia && historia->campo == CampoHistoria::porosidad) porosidad = historia->banco;
    std::vector<std::string> lineas;
    for (const AvisoSinRoca& a : bancos_sin_roca(s)) {
        if (a.motivo == MotivoSinRoca::coeficiente && a.banco == coeficiente) continue;
        if (a.motivo == MotivoSinRoca::porosidad && a.banco == porosidad) continue;
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

std::string rangos_dejados(const std::string& destino, int bancos)
{
    return "«" + destino + "»: se guardó sin los rangos de incertidumbre propios de " +
           std::to_string(bancos) + (bancos == 1 ? " banco" : " bancos") +
           ", que un archivo de proyecto no guarda; un archivo .csv los conserva.";
}

} // namespace tev
