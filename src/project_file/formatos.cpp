#include "project_file/formatos.h"

#include "model/densidad.h"
#include "model/store.h"
#include "project_file/archivo_proyecto.h"
#include "project_file/archivos.h"
#include "project_file/comillas.h"
#include "project_file/csv_columna.h"

#include <algorithm>

namespace tev {

LecturaColumna lee_archivo(const std::string& ruta)
{
    LecturaColumna res;
    // The messages are put together only when one is needed.
    const auto prefijo = [&] { return "No se pudo leer " + entre_comillas(ruta) + ": "; };
    // The same checks for both forms; only the words differ.
    const bool csv = es_nombre_csv(ruta);
    const char* const tipo = csv ? "un archivo CSV de columna" : "un archivo de proyecto";

    std::string bytes;
    std::string razon;
    if (!lee_archivo_entero(ruta, kTamanoMaximoArchivo, tipo, bytes, razon)) {
        res.error = prefijo() + razon;
        return res;
    }
    return csv ? lee_csv(bytes, ruta) : lee_columna(bytes, ruta);
}

std::string salva_archivo(const Store& s, const std::string& ruta)
{
    const EscrituraColumna w = es_nombre_csv(ruta) ? escribe_csv(s) : escribe_columna(s);
    if (!w.ok) return w.error;
    return guarda_archivo(ruta, w.bytes);
}

int notas_que_no_caben(const Store& s, const std::string& ruta)
{
    if (es_nombre_csv(ruta)) return 0;
    int n = 0;
    for (int i = 1; i <= std::min<int>(s.n_bancos, kMaxBancos); ++i)
        n += s.notas[i].empty() ? 0 : 1;
    return n;
}

int densidades_que_no_caben(const Store& s, const std::string& ruta)
{
    if (es_nombre_csv(ruta)) return 0;
    int n = 0;
    for (int i = 1; i <= std::min<int>(s.n_bancos, kMaxBancos); ++i)
        n += tiene_densidad_grano(s, i) ? 1 : 0;
    return n;
}

int rangos_que_no_caben(const Store& s, const std::string& ruta)
{
    if (es_nombre_csv(ruta)) return 0;
    int n = 0;
    for (int i = 1; i <= std::min<int>(s.n_bancos, kMaxBancos); ++i)
        n += s.rangos[i].alguno() ? 1 : 0;
    return n;
}

} // namespace tev
