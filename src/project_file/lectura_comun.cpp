#include "project_file/lectura_comun.h"

#include <algorithm>

namespace tev {

std::size_t largo_utf8(std::string_view texto, std::size_t i, char32_t* codigo)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(texto[k]); };
    const unsigned b = byte(i);
    if (b < 0x80) {
        if (codigo) *codigo = b;
        return 1;
    }
    // C0 and C1 only start overlong forms; past F4 lies beyond U+10FFFF.
    if (b < 0xC2 || b > 0xF4) return 0;
    const std::size_t n = b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    if (texto.size() - i < n) return 0;
    char32_t c = b & (n == 2 ? 0x1Fu : n == 3 ? 0x0Fu : 0x07u);
    for (std::size_t k = 1; k < n; ++k) {
        const unsigned s = byte(i + k);
        if ((s & 0xC0u) != 0x80u) return 0;
        c = (c << 6) | (s & 0x3Fu);
    }
    const char32_t minimo = n == 2 ? 0x80 : n == 3 ? 0x800 : 0x10000;
    if (c < minimo || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) return 0;
    if (codigo) *codigo = c;
    return n;
}

bool es_utf8_valido(std::string_view texto)
{
    for (std::size_t i = 0; i < texto.size();) {
        const std::size_t n = largo_utf8(texto, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

std::string utf8_reemplazado(std::string_view texto)
{
    std::string r;
    r.reserve(texto.size());
    for (std::size_t i = 0; i < texto.size();) {
        const std::size_t n = largo_utf8(texto, i);
        if (n == 0) {
            r += "\xEF\xBF\xBD";
            ++i;
        } else {
            r.append(texto, i, n);
            i += n;
        }
    }
    return r;
}

bool es_utf8_con_acentos(std::string_view b)
{
    if (std::none_of(b.begin(), b.end(),
                     [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
        return false;
    return es_utf8_valido(b);
}

std::string motivo_de_no_texto(std::string_view b, const char* que_se_espera)
{
    const size_t nulo = b.find('\0');
    if (nulo == std::string_view::npos) return {};
    if (b.substr(0, 2) == "\xFF\xFE" || b.substr(0, 2) == "\xFE\xFF")
        return "el archivo está en UTF-16; " + std::string(que_se_espera) + ".";
    const auto linea = 1 + std::count(b.begin(), b.begin() + static_cast<long>(nulo), '\n');
    return "no es un archivo de texto (tiene un byte nulo en la línea " + std::to_string(linea) +
           ", posición " + std::to_string(nulo + 1) + ").";
}

std::string explica_conversion(Conversion c, const std::string& mostrado, bool entero)
{
    switch (c) {
    case Conversion::ok:
        break;
    case Conversion::vacio:
        return "está vacío y debe ser un número.";
    case Conversion::no_numero:
        return mostrado + " no es un número.";
    case Conversion::demasiado_grande:
        return "el número " + mostrado + " es demasiado grande para el campo" +
               (entero ? " (entero de 32 bits)." : ".");
    }
    return {};
}

} // namespace tev
