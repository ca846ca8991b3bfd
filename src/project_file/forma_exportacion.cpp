#include "project_file/forma_exportacion.h"

#include "project_file/comillas.h"

namespace tev {

std::string cabecera_exportada(std::initializer_list<std::string_view> nombres,
                               const FormaExportacion& f)
{
    std::string t;
    for (std::string_view nombre : nombres) {
        if (!t.empty()) t += f.separador;
        t += nombre;
    }
    if (!f.curva_nivel_mar.empty()) {
        t += f.separador;
        t += "curva_nivel_mar";
    }
    t += "\r\n";
    return t;
}

void termina_linea_exportada(std::string& out, const FormaExportacion& f)
{
    if (!f.curva_nivel_mar.empty()) {
        out += f.separador;
        agrega_texto_exportado(out, f.curva_nivel_mar, f);
    }
    out += "\r\n";
}

void agrega_texto_exportado(std::string& out, std::string_view t, const FormaExportacion& f)
{
    // Control characters stay as they are, inside the quotes.
    const char caracteres[] = {f.separador, '"'};
    const ReglaComillas regla{std::string_view(caracteres, sizeof caracteres), false, true};
    agrega_campo_csv(out, t, regla);
}

void agrega_numero_exportado(std::string& out, std::string_view numero, const FormaExportacion& f)
{
    for (char c : numero)
        out += c == '.' ? f.decimal : c;
}

} // namespace tev
