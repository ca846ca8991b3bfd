#include "project_file/informe_csv.h"

#include "model/store.h"

#include <charconv>

namespace tev {

std::string cabecera_csv(const FormaExportacion& f)
{
    return cabecera_exportada({"archivo", "banco", "nombre", "litologia", "techo", "base",
                               "edad_techo", "edad_base", "densidad", "nivel_mar", "techo_descomp",
                               "base_descomp", "correccion_carga", "tevarro_tectonica"},
                              f);
}

void agrega_numero_corto(std::string& t, float v, const FormaExportacion& f)
{
    if (v == 0) v = 0;
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    agrega_numero_exportado(t, std::string_view(buf, static_cast<std::size_t>(res.ptr - buf)), f);
}

std::string lineas_csv(const Store& s, const std::string& archivo, const FormaExportacion& f)
{
    std::string t;
    agrega_lineas_csv(t, s, archivo, f);
    return t;
}

void agrega_lineas_csv(std::string& t, const Store& s, const std::string& archivo,
                       const FormaExportacion& f)
{
    std::string campo_archivo;
    agrega_texto_exportado(campo_archivo, archivo, f);
    for (int i = 1; i <= s.n_bancos; ++i) {
        const float nums[] = {s.techo[i],
                              s.base[i],
                              s.edad_techo[i],
                              s.edad_base[i],
                              s.densidad[i],
                              s.nivel_mar[i],
                              s.techo_descomp[i],
                              s.base_descomp[i],
                              s.correccion_carga[i],
                              s.tevarro_tectonica[i]};
        t += campo_archivo;
        t += f.separador;
        char buf[16];
        const auto res = std::to_chars(buf, buf + sizeof buf, i);
        t.append(buf, res.ptr);
        t += f.separador;
        agrega_texto_exportado(t, s.nombre[i], f);
        t += f.separador;
        agrega_texto_exportado(t, s.litologia[i], f);
        for (float v : nums) {
            t += f.separador;
            agrega_numero_corto(t, v, f);
        }
        termina_linea_exportada(t, f);
    }
}

} // namespace tev
