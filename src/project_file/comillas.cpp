#include "project_file/comillas.h"

#include <algorithm>

namespace tev {

std::string entre_comillas(const std::string& t)
{
    return "«" + t + "»";
}

namespace {

bool pide_comillas(std::string_view t, const ReglaComillas& regla)
{
    if (t.empty()) return false;
    if (t.find_first_of(regla.caracteres) != std::string_view::npos) return true;
    if (regla.controles && std::any_of(t.begin(), t.end(), [](char c) {
            return es_control(static_cast<unsigned char>(c));
        }))
        return true;
    return regla.blancos_en_los_extremos && (es_blanco(t.front()) || es_blanco(t.back()));
}

} // namespace

void agrega_campo_csv(std::string& out, std::string_view t, const ReglaComillas& regla)
{
    if (!pide_comillas(t, regla)) {
        out += t;
        return;
    }
    out += '"';
    for (char ch : t) {
        if (ch == '"') out += '"';
        out += ch;
    }
    out += '"';
}

std::string campo_csv(std::string_view t, const ReglaComillas& regla)
{
    std::string r;
    agrega_campo_csv(r, t, regla);
    return r;
}

CampoEntreComillas lee_entre_comillas(std::string_view b, std::size_t& p, char separador,
                                      std::string& texto)
{
    CampoEntreComillas campo;
    ++p;
    for (;;) {
        if (p >= b.size()) {
            campo.cierre = CierreComillas::sin_cierre;
            return campo;
        }
        const char ch = b[p];
        if (ch == '"') {
            if (p + 1 < b.size() && b[p + 1] == '"') {
                texto += '"';
                p += 2;
                continue;
            }
            ++p;
            break;
        }
        if (ch == '\n' || (ch == '\r' && (p + 1 >= b.size() || b[p + 1] != '\n')))
            ++campo.saltos_de_linea;
        texto += ch;
        ++p;
    }
    while (p < b.size() && es_blanco(b[p]))
        ++p;
    if (p >= b.size() || b[p] == separador || es_fin_de_linea(b[p])) return campo;
    const std::size_t ini = p;
    p = fin_de_campo(b, p, separador);
    campo.cierre = CierreComillas::sobra;
    campo.sobrante = b.substr(ini, p - ini);
    return campo;
}

} // namespace tev
