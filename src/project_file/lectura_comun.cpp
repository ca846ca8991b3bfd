#include "project_file/lectura_comun.h"

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

#include <algorithm>

namespace tev {

std::string entre_comillas(const std::string& t)
{
    return "«" + t + "»";
}

bool es_utf8_valido(std::string_view texto)
{
    QStringDecoder d(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    // The decoding runs when its result becomes a QString.
    const QString q = d(QByteArrayView(texto.data(), static_cast<qsizetype>(texto.size())));
    static_cast<void>(q);
    return !d.hasError();
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
