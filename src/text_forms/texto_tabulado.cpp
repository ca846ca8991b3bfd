#include "text_forms/texto_tabulado.h"

#include "text_forms/formas_numericas.h"

#include <algorithm>

namespace tev {

namespace {

// The text with a decimal comma turned into a point; empty when it holds
// both marks or more than one comma.
std::optional<std::string> con_punto(std::string_view texto)
{
    std::string t(texto);
    const auto comas = std::count(t.begin(), t.end(), ',');
    if (comas == 0) return t;
    if (comas > 1 || t.find('.') != std::string::npos) return std::nullopt;
    std::replace(t.begin(), t.end(), ',', '.');
    return t;
}

} // namespace

FilasDeTexto lee_tabulado(std::string_view texto)
{
    FilasDeTexto filas;
    std::vector<std::string> fila;
    std::string celda;
    size_t i = 0;
    bool al_empezar_celda = true;
    const auto cierra_fila = [&] {
        fila.push_back(std::move(celda));
        celda.clear();
        filas.push_back(std::move(fila));
        fila.clear();
        al_empezar_celda = true;
    };
    while (i < texto.size()) {
        const char c = texto[i];
        if (al_empezar_celda && c == '"') {
            // A quoted cell, to its closing quote.
            ++i;
            while (i < texto.size()) {
                if (texto[i] == '"') {
                    if (i + 1 < texto.size() && texto[i + 1] == '"') {
                        celda += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                celda += texto[i++];
            }
            al_empezar_celda = false;
            continue;
        }
        al_empezar_celda = false;
        if (c == '\t') {
            fila.push_back(std::move(celda));
            celda.clear();
            al_empezar_celda = true;
            ++i;
        } else if (c == '\r' && i + 1 < texto.size() && texto[i + 1] == '\n') {
            cierra_fila();
            i += 2;
        } else if (c == '\n') {
            cierra_fila();
            ++i;
        } else {
            celda += c;
            ++i;
        }
    }
    // A last line without its line end.
    if (!celda.empty() || !fila.empty()) cierra_fila();
    return filas;
}

std::string escribe_tabulado(const FilasDeTexto& filas)
{
    std::string t;
    for (const auto& fila : filas) {
        for (size_t c = 0; c < fila.size(); ++c) {
            if (c) t += '\t';
            const std::string& celda = fila[c];
            if (celda.find_first_of("\t\r\n\"") == std::string::npos) {
                t += celda;
                continue;
            }
            t += '"';
            for (char ch : celda) {
                if (ch == '"') t += '"';
                t += ch;
            }
            t += '"';
        }
        t += '\n';
    }
    return t;
}

std::string numero_con_marca(float v, char decimal)
{
    std::string t = numero_corto(v);
    std::replace(t.begin(), t.end(), '.', decimal);
    return t;
}

std::optional<float> lee_numero_de_celda(std::string_view texto)
{
    const std::optional<std::string> t = con_punto(texto);
    if (!t) return std::nullopt;
    return lee_numero_completo(*t);
}

double lee_doble_de_celda(std::string_view texto)
{
    const std::optional<std::string> t = con_punto(texto);
    return t ? lee_numero_inicial(*t) : 0.0;
}

} // namespace tev
