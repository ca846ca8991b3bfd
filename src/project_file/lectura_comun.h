#pragma once
// What the project file reader and the CSV reader share: how the encoding is
// told, which bytes cannot be text, and what a number field that did not
// convert is called. Their quotes are comillas.h.

#include "text_forms/formas_numericas.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace tev {

// True when the bytes hold something beyond ASCII and all of it is valid
// UTF-8: a file an editor saved as UTF-8, since Windows-1252 text seldom
// forms valid UTF-8 sequences by chance.
bool es_utf8_con_acentos(std::string_view bytes);

// True when the text is valid UTF-8 (plain ASCII included): no overlong
// forms, no surrogates, nothing past U+10FFFF, no sequence cut short.
bool es_utf8_valido(std::string_view texto);

// The bytes of the valid UTF-8 sequence that starts at texto[i] (1 to 4), 0
// when none starts there; codigo, when given, receives its code point.
std::size_t largo_utf8(std::string_view texto, std::size_t i, char32_t* codigo = nullptr);

// The text with every byte that starts no valid sequence replaced by U+FFFD,
// as Qt decodes it: what a message can always hold.
std::string utf8_reemplazado(std::string_view texto);

// Empty when the bytes can be text; otherwise why not, without a prefix: a
// NUL byte means a binary file, or UTF-16 when the file starts with its
// byte-order mark, which is then explained as "el archivo está en UTF-16; "
// followed by que_se_espera and a period.
std::string motivo_de_no_texto(std::string_view bytes, const char* que_se_espera);

// The end of the message for a number field that did not convert (c is not
// ok); mostrado is the field's text as the message shows it, in «».
std::string explica_conversion(Conversion c, const std::string& mostrado, bool entero);

} // namespace tev
