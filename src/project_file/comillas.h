#pragma once
// Quotes, both kinds the program writes: the « » around a text that a message
// names, and the double quotes around a field of a comma-separated file (the
// project file, the CSV column, the batch tool's report), written and read
// back as RFC 4180 has them: an inner double quote doubled.

#include <cstddef>
#include <string>
#include <string_view>

namespace tev {

// «t»
std::string entre_comillas(const std::string& t);

// The blanks a reader skips around a field, and the bytes that end a line.
inline bool es_blanco(char c)
{
    return c == ' ' || c == '\t';
}
inline bool es_fin_de_linea(char c)
{
    return c == '\r' || c == '\n';
}

// Below U+0020 but tab, and DEL: what a terminal may obey instead of showing.
inline bool es_control(unsigned char c)
{
    return (c < 0x20 && c != '\t') || c == 0x7F;
}

// ---------------------------------------------------------------------------
// Writing

// Which texts a writer puts between double quotes; an empty text never. Each
// form keeps its own rule, as its readers (and the spreadsheets) need.
struct ReglaComillas {
    std::string_view caracteres;  // any of these in the text asks for quotes
    bool blancos_en_los_extremos; // so does a space or tab at either end
    bool controles;               // so does any control character (es_control)
};

// t as a field, added to out: as it is, or between double quotes with every
// inner one doubled when the rule asks for them.
void agrega_campo_csv(std::string& out, std::string_view t, const ReglaComillas& regla);
std::string campo_csv(std::string_view t, const ReglaComillas& regla);

// ---------------------------------------------------------------------------
// Reading

// Where a field that is not quoted ends: the first separator or line end at or
// after p, or the end of the bytes.
inline std::size_t fin_de_campo(std::string_view bytes, std::size_t p, char separador)
{
    while (p < bytes.size() && bytes[p] != separador && !es_fin_de_linea(bytes[p]))
        ++p;
    return p;
}

enum class CierreComillas {
    bien,       // the field ends at a separator, a line end or the end of the bytes
    sin_cierre, // the bytes end inside the quotes
    sobra,      // something else follows the closing quote
};

struct CampoEntreComillas {
    CierreComillas cierre = CierreComillas::bien;
    int saltos_de_linea = 0;   // line ends inside the quotes, CR LF as one
    std::string_view sobrante; // for sobra: what follows, up to the separator or line end
};

// Reads the field whose opening double quote is at bytes[p]. Its text, every
// inner pair of quotes as one and separators and line breaks as they are, is
// added to texto. When the field ends well, p is left past the closing quote
// and the blanks after it, on the separator or line end that closes the field
// (not consumed) or at the end of the bytes.
CampoEntreComillas lee_entre_comillas(std::string_view bytes, std::size_t& p, char separador,
                                      std::string& texto);

} // namespace tev
