#include "batch/bandas_de_pozos.h"

#include "batch/informe_incertidumbre.h"
#include "model/store.h"
#include "project_file/pozos.h"

#include <memory>

namespace tev {

BandasDePozos bandas_de_pozos(const std::vector<Pozo>& pozos, const CurvaNivelMar& curva,
                              const OpcionesIncertidumbre& opciones, int hilos,
                              const BandasHechas& hechas)
{
    BandasDePozos r;
    r.bandas.resize(pozos.size());
    for (std::size_t k = 0; k < pozos.size(); ++k) {
        const Pozo& w = pozos[k];
        if (!w.ok()) continue; // said already, and not drawn
        if (const auto hecha = hechas.find(w.ruta); hecha != hechas.end()) {
            r.bandas[k] = hecha->second;
            continue;
        }
        const auto s = std::make_unique<Store>();
        if (const std::string error = carga_pozo(*s, w.ruta, &curva); !error.empty()) {
            r.errores.push_back("Sin bandas para «" + w.nombre + "»: " + error);
            continue;
        }
        ResultadoIncertidumbre u = calcula_incertidumbre(*s, curva, opciones.rangos,
                                                         opciones.tiradas, opciones.semilla, hilos);
        if (!u.ok()) {
            r.errores.push_back("Sin bandas para «" + w.nombre + "»: " + u.error);
            continue;
        }
        r.bandas[k] = std::move(u.bandas);
    }
    return r;
}

} // namespace tev
