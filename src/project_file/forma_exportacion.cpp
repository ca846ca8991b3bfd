#include "project_file/forma_exportacion.h"

#include "project_file/comillas.h"

namespace tev {

std::string cabecera_exportada(std::initializer_list<std::string_view> nombres, FormaExportacion f)
{
    std::string t;
    for (std::string_view nombre : nombres) {
        if (!t.empty()) t += f.separador;
        t += nombre;
    }
    t += "\r\n";
    return t;
}

void agrega_texto_exportado(std::string& out, std::string_view t, FormaExportacion f)
{
    // Control characters stay as they are, inside the quotes.
    const char caracteres[] = {f.separador, '"'};
    const ReglaComillas regla{std::string_view(caracteres, sizeof caracteres), false, true};
    agrega_campo_csv(out, t, regla);
}

void agrega_numero_exportado(std::string& out, std::string_view numero, FormaExportacion f)
{
    for (char c : numero)
        out += c == '.' ? f.decimal : c;
}

} // namespace tev
