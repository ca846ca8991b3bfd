#pragma once
// The number text forms of the program: how numbers are written to the
// project file and to the bed dialog, and how box and file texts are read.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tev {

// Print form of the project file: a blank (zero or positive) or '-', the value
// with at most 7 significant digits and no leading zero before the point,
// then one trailing blank: 0.63 -> " .63 ", -0.5 -> "-.5 ", 1e-5 -> " 1E-05 ",
// 12345678 -> " 1.234568E+07 ".
std::string forma_impresa(float v);
std::string forma_impresa(int32_t v); // " 16777215 ", "-5 "
// The same, appended to out.
void anade_impresa(std::string& out, float v);
void anade_impresa(std::string& out, int32_t v);

// Short form of the bed dialog: at most 7 significant digits, "0" before the
// point, no leading blank: 0.63 -> "0.63", 100 -> "100", 1e7 -> "1E+07".
std::string forma_corta(float v);

// Signed form: a blank for zero or positive, '-' for negative, no zero before
// the point: 5 -> " 5", 0.49 -> " .49"; doubles rounded to 15 digits.
std::string forma_con_signo(double v);
std::string forma_con_signo(int v);

// Leading-number reading: blanks, tabs and line feeds are skipped anywhere,
// the longest leading number is taken ("E" or "D" exponent, "&H" and "&O"
// whole numbers); a text that starts with no number reads as 0.
double lee_numero_inicial(std::string_view texto);

// The same reading, telling what it left: resto holds the text after the
// number (blanks removed), empty when the number took the whole text;
// sin_numero when the text does not start with a number at all.
struct LecturaInicial {
    double valor = 0;
    std::string resto;
    bool sin_numero = false;
};
LecturaInicial lee_numero_inicial_con_resto(std::string_view texto);

// Whole-text reading: the whole text (blanks around it allowed) must be one
// number; converted to the nearest single. Empty when it is not a number or
// does not fit a single.
std::optional<float> lee_numero_completo(std::string_view texto);

// What became of a number field of a file.
enum class Conversion { ok, vacio, no_numero, demasiado_grande };

// Number field of a file (already trimmed of blanks): the whole text must be
// one number: optional sign, digits with an optional point (at least one
// digit in all), optional exponent E, e, D or d with optional sign and at
// least one digit. A real goes straight to the nearest single; a value that
// rounds to zero is zero. An integer beyond 32 bits is too large; one with a
// fraction or an exponent is rounded to the nearest whole, halves to even.
// v is written only when the result is ok.
Conversion convierte_real(std::string_view texto, float& v);
Conversion convierte_entero(std::string_view texto, int32_t& v);

// Shortest text that reads back to the same single, with a period and
// without a locale: 0.63 -> "0.63", 160 -> "160", 1e-05 -> "1e-05".
std::string numero_corto(float v);

// A count with its noun in the right number: (1, "celda", "celdas") ->
// "1 celda", (3, ...) -> "3 celdas", (0, ...) -> "0 celdas".
std::string cantidad(long long n, const char* singular, const char* plural);

// The value of a hexadecimal digit (0-9, A-F, a-f), -1 for any other character.
int valor_hex(char c);

} // namespace tev
