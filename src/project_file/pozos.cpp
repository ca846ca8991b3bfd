#include "project_file/pozos.h"

#include "compute/nivel_mar.h"
#include "model/store.h"
#include "project_file/columna.h"
#include "project_file/formatos.h"
#include "project_file/informe_estiramiento_csv.h"
#include "project_file/informe_historia.h"

#include <map>
#include <memory>

namespace tev {

namespace {

std::string sin_carpeta(const std::string& ruta)
{
    const std::size_t barra = ruta.find_last_of('/');
    return barra == std::string::npos ? ruta : ruta.substr(barra + 1);
}

} // namespace

std::vector<std::string> nombres_de_pozos(const std::vector<std::string>& rutas)
{
    std::map<std::string, int> veces;
    for (const std::string& r : rutas)
        ++veces[sin_carpeta(r)];
    std::vector<std::string> nombres;
    nombres.reserve(rutas.size());
    for (const std::string& r : rutas) {
        const std::string corto = sin_carpeta(r);
        nombres.push_back(veces[corto] > 1 ? r : corto);
    }
    return nombres;
}

Pozo pozo_de_columna(const Store& s, const std::string& nombre, const PeticionAjuste& peticion,
                     const CurvaNivelMar* curva)
{
    Pozo p;
    p.nombre = nombre;
    if (s.n_bancos < 1) {
        p.error = "«" + nombre + "» no tiene bancos.";
        return p;
    }
    ResultadoHistoria h = curva ? calcula_historia(s, *curva) : calcula_historia(s);
    if (!h.ok()) {
        p.error = "«" + nombre + "»: " + h.error;
        return p;
    }
    p.historia = std::move(h.historia);
    reajusta_pozo(p, peticion);
    return p;
}

void reajusta_pozo(Pozo& pozo, const PeticionAjuste& peticion)
{
    if (!pozo.ok()) return;
    // The points as the history's CSV writes them: the fit is the one
    // tevarro-batch --estiramiento makes of the same file.
    pozo.ajuste = ajusta_estiramiento(puntos_como_en_csv(pozo.historia), peticion);
}

std::string carga_pozo(Store& s, const std::string& ruta, const CurvaNivelMar* curva,
                       const std::vector<LitologiaUsuario>& rocas)
{
    const LecturaColumna lectura = lee_archivo(ruta);
    if (!lectura.ok) return lectura.error;
    valores_de_arranque(s);
    s.litologias_usuario = rocas;
    carga_lectura(s, lectura);
    if (curva) pon_nivel_mar(s, *curva);
    return {};
}

Pozo lee_pozo(const std::string& ruta, const std::string& nombre, const PeticionAjuste& peticion,
              const CurvaNivelMar* curva)
{
    // A store is large (100 beds of parallel arrays and the view): on the heap.
    const auto s = std::make_unique<Store>();
    const std::string error = carga_pozo(*s, ruta, curva);
    if (!error.empty()) {
        Pozo p;
        p.ruta = ruta;
        p.nombre = nombre;
        p.error = error;
        return p;
    }
    Pozo p = pozo_de_columna(*s, nombre, peticion, curva);
    p.ruta = ruta;
    return p;
}

std::vector<Pozo> lee_pozos(const std::vector<std::string>& rutas, const PeticionAjuste& peticion,
                            const CurvaNivelMar* curva)
{
    const std::vector<std::string> nombres = nombres_de_pozos(rutas);
    std::vector<Pozo> pozos;
    pozos.reserve(rutas.size());
    for (std::size_t k = 0; k < rutas.size(); ++k)
        pozos.push_back(lee_pozo(rutas[k], nombres[k], peticion, curva));
    return pozos;
}

std::string historias_de_pozos_csv(const std::vector<Pozo>& pozos, const FormaExportacion& forma)
{
    std::string t = cabecera_historia_csv(forma);
    for (const Pozo& w : pozos)
        if (w.ok()) t += lineas_historia_csv(w.historia, w.nombre, forma);
    return t;
}

std::string ajustes_de_pozos_csv(const std::vector<Pozo>& pozos, const PeticionAjuste& peticion)
{
    std::string t = cabecera_estiramiento_csv();
    for (const Pozo& w : pozos)
        if (w.ok() && w.ajuste.ok()) t += linea_estiramiento_csv(w.nombre, peticion, w.ajuste);
    return t;
}

} // namespace tev
