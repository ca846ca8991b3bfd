#include "project_file/cp1252.h"

#include <cstdint>

namespace tev {

namespace {

// Code points of bytes 0x80..0x9F. The five undefined bytes keep their own
// value (C1 controls) so that they survive a read and a write.
constexpr char32_t kAlto[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

char32_t punto_de_byte(unsigned char b)
{
    if (b >= 0x80 && b <= 0x9F) return kAlto[b - 0x80];
    return b; // ASCII and 0xA0..0xFF (Latin-1)
}

void agrega_utf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Byte for a code point, or -1 when Windows-1252 has none.
int byte_de_punto(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
    for (int i = 0; i < 32; ++i) {
        if (kAlto[i] == cp) return 0x80 + i;
    }
    return -1;
}

// Reads one UTF-8 sequence at texto[i]; advances i. Returns false when the
// sequence is malformed (truncated, overlong, surrogate or beyond U+10FFFF).
bool lee_utf8(std::string_view texto, size_t& i, char32_t& cp)
{
    const auto b0 = static_cast<unsigned char>(texto[i]);
    int resto = 0;
    char32_t minimo = 0;
    if (b0 < 0x80) {
        cp = b0;
        ++i;
        return true;
    } else if ((b0 & 0xE0) == 0xC0) {
        cp = b0 & 0x1F;
        resto = 1;
        minimo = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        cp = b0 & 0x0F;
        resto = 2;
        minimo = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        cp = b0 & 0x07;
        resto = 3;
        minimo = 0x10000;
    } else {
        return false;
    }
    if (texto.size() - i - 1 < static_cast<size_t>(resto)) return false;
    for (int k = 1; k <= resto; ++k) {
        const auto b = static_cast<unsigned char>(texto[i + k]);
        if ((b & 0xC0) != 0x80) return false;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < minimo || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += resto + 1;
    return true;
}

} // namespace

std::string cp1252_a_utf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes)
        agrega_utf8(out, punto_de_byte(static_cast<unsigned char>(c)));
    return out;
}

std::optional<std::string> utf8_a_cp1252(std::string_view texto)
{
    std::string out;
    out.reserve(texto.size());
    size_t i = 0;
    while (i < texto.size()) {
        char32_t cp = 0;
        if (!lee_utf8(texto, i, cp)) return std::nullopt;
        const int b = byte_de_punto(cp);
        if (b < 0) return std::nullopt;
        out += static_cast<char>(b);
    }
    return out;
}

} // namespace tev
