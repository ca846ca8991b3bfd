#include "text_forms/formas_numericas.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>
#include <optional>
#include <system_error>

namespace tev {

namespace {

// A non-negative value rounded to a number of significant digits: the digits
// without trailing zeros ("0" for zero) and the decimal exponent of the first
// one, as printf's %E would give them. Kept in place: a file's numbers are
// written by the thousand.
struct Cifras {
    char digitos[40] = {};
    int n = 0;
    int exponente = 0;
};

// The digits (trailing zeros dropped) and the exponent of to_chars'
// scientific text "d.ddddde+XX" (its exponent always has a sign).
void cifras_de(const char* ini, const char* fin, Cifras& c)
{
    const char* p = ini;
    c.n = 0;
    for (; p < fin && *p != 'e'; ++p) {
        if (*p != '.') c.digitos[c.n++] = *p;
    }
    while (c.n > 1 && c.digitos[c.n - 1] == '0')
        --c.n;
    int e = 0;
    const bool negativo = p + 1 < fin && p[1] == '-';
    for (p += 2; p < fin; ++p)
        e = e * 10 + (*p - '0');
    c.exponente = negativo ? -e : e;
}

void redondea(double magnitud, int precision, Cifras& c)
{
    // to_chars rounds the exact binary value and never looks at the locale.
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, magnitud, std::chars_format::scientific,
                                 precision - 1);
    cifras_de(buf, r.ptr, c);
}

// Where singles are sparser than 7-digit decimals (the top of a decade, as
// just below 1E+28) the value rounded to 7 digits can read back as a single
// whose own 7-digit rounding differs ("1E+28" reads as a single that rounds
// to "9.999999E+27"), so saving a column again would change its file. When
// the shortest text that reads back to the single has at most `precision`
// digits, those digits are taken instead: same value, stable form.
void redondea_simple(float magnitud, int precision, Cifras& c)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, magnitud, std::chars_format::scientific);
    cifras_de(buf, r.ptr, c); // the shortest text that reads back
    if (c.n > precision) redondea(magnitud, precision, c);
}

// The longest text forma_g() writes: 15 digits, a point, "0." and four zeros,
// or an exponent of three digits.
constexpr int kLargoForma = 32;

// The %G rules with the given precision: fixed notation while the exponent of
// the rounded value is in [-5, precision), exponent notation outside, trailing
// zeros dropped. With cero_inicial false a value below 1 starts at the point.
// Writes into o; returns the length.
int forma_g(const Cifras& c, int precision, bool cero_inicial, char* o)
{
    const char* d = c.digitos;
    const int n = c.n;
    const int x = c.exponente;
    int k = 0;
    if (x < -4 || x >= precision) {
        o[k++] = d[0];
        if (n > 1) {
            o[k++] = '.';
            for (int i = 1; i < n; ++i)
                o[k++] = d[i];
        }
        o[k++] = 'E';
        o[k++] = x < 0 ? '-' : '+';
        const int a = x < 0 ? -x : x;
        if (a >= 100) o[k++] = static_cast<char>('0' + a / 100);
        o[k++] = static_cast<char>('0' + a / 10 % 10);
        o[k++] = static_cast<char>('0' + a % 10);
        return k;
    }
    if (x >= 0) {
        const int enteros = x + 1;
        for (int i = 0; i < n && i < enteros; ++i)
            o[k++] = d[i];
        for (int i = n; i < enteros; ++i)
            o[k++] = '0';
        if (n > enteros) {
            o[k++] = '.';
            for (int i = enteros; i < n; ++i)
                o[k++] = d[i];
        }
        return k;
    }
    if (cero_inicial) o[k++] = '0';
    o[k++] = '.';
    for (int i = 0; i < -x - 1; ++i)
        o[k++] = '0';
    for (int i = 0; i < n; ++i)
        o[k++] = d[i];
    return k;
}

// Infinity and NaN never come out of a sane computation; they are written as
// "inf" and "nan" so that a fault shows instead of crashing the writer.
bool no_finito(double v, std::string& s)
{
    if (std::isnan(v)) {
        s = "nan";
        return true;
    }
    if (std::isinf(v)) {
        s = "inf";
        return true;
    }
    return false;
}

std::string con_signo(bool negativo, const std::string& cuerpo)
{
    return (negativo ? "-" : " ") + cuerpo;
}

bool es_digito(char c)
{
    return c >= '0' && c <= '9';
}

int valor_octal(char c)
{
    return c >= '0' && c <= '7' ? c - '0' : -1;
}

// The decimal part of a number text, already split up.
struct Decimal {
    std::string enteros;   // digits before the point
    std::string fraccion;  // digits after the point
    std::string exponente; // signed exponent digits, empty when there is none
};

// Reads "ddd.ddd[Edd]" from t at i; the exponent is only taken when at least
// one digit follows the letter and its sign. Returns false when there is no
// mantissa digit at all. On return i is just past the number.
bool lee_decimal(std::string_view t, std::size_t& i, Decimal& n)
{
    std::size_t j = i;
    while (j < t.size() && es_digito(t[j]))
        n.enteros += t[j++];
    if (j < t.size() && t[j] == '.') {
        ++j;
        while (j < t.size() && es_digito(t[j]))
            n.fraccion += t[j++];
    }
    if (n.enteros.empty() && n.fraccion.empty()) return false;

    if (j < t.size() && (t[j] == 'E' || t[j] == 'e' || t[j] == 'D' || t[j] == 'd')) {
        std::size_t k = j + 1;
        std::string exp;
        if (k < t.size() && (t[k] == '+' || t[k] == '-')) exp += t[k++];
        const std::size_t inicio = k;
        while (k < t.size() && es_digito(t[k]))
            exp += t[k++];
        if (k > inicio) {
            n.exponente = exp;
            j = k;
        }
    }
    i = j;
    return true;
}

// True when a text that from_chars found out of range is too large rather
// than too small: the decimal exponent of its first significant digit is
// positive.
bool desborda(const Decimal& n)
{
    long long pos; // exponent of the first significant digit without the E part
    const std::size_t p = n.enteros.find_first_not_of('0');
    if (p != std::string::npos) {
        pos = static_cast<long long>(n.enteros.size() - p) - 1;
    } else {
        const std::size_t q = n.fraccion.find_first_not_of('0');
        if (q == std::string::npos) return false; // zero never overflows
        pos = -static_cast<long long>(q) - 1;
    }
    long long exp = 0;
    bool negativo = false;
    for (char c : n.exponente) {
        if (c == '-') negativo = true;
        if (es_digito(c) && exp < 1000000000LL) exp = exp * 10 + (c - '0');
    }
    return pos + (negativo ? -exp : exp) > 0;
}

// The text handed to from_chars: plain digits, '.', and an 'e' exponent.
std::string texto_limpio(const Decimal& n)
{
    std::string s = n.enteros.empty() ? "0" : n.enteros;
    if (!n.fraccion.empty()) s += "." + n.fraccion;
    if (!n.exponente.empty()) s += "e" + n.exponente;
    return s;
}

// "&H" and "&O" whole numbers. Digits are read while the value still fits 32
// bits. A short number (up to 4 hex digits, or up to 6 octal digits with a
// value that fits 16 bits) is a 16-bit pattern, a longer one a 32-bit
// pattern; either way a set top bit makes it negative.
double lee_entero_base(std::string_view t, std::size_t& i, bool hex)
{
    std::uint64_t valor = 0;
    std::size_t leidos = 0;
    while (i < t.size()) {
        const int d = hex ? valor_hex(t[i]) : valor_octal(t[i]);
        if (d < 0) break;
        const std::uint64_t siguiente = valor * (hex ? 16 : 8) + static_cast<std::uint64_t>(d);
        if (siguiente > 0xFFFFFFFFULL) break;
        valor = siguiente;
        ++leidos;
        ++i;
    }
    const bool corto = hex ? leidos <= 4 : (leidos <= 6 && valor <= 0xFFFF);
    if (corto)
        return static_cast<double>(static_cast<std::int16_t>(static_cast<std::uint16_t>(valor)));
    return static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(valor)));
}

// ---------------------------------------------------------------------------
// Number fields of files

// A number text split up: sign, mantissa digits around the point, exponent.
struct NumeroTexto {
    bool negativo = false;
    std::string_view enteros;
    std::string_view decimales;
    bool tiene_punto = false;
    bool tiene_exponente = false;
    long exponente = 0; // saturated, only its size matters
    std::string normal; // the same number as from_chars takes it
};

// The whole text (already trimmed) must be one number: optional sign, digits,
// optional point and digits (at least one digit in all), optional exponent
// E, e, D or d with optional sign and at least one digit.
std::optional<NumeroTexto> analiza_numero(std::string_view t)
{
    NumeroTexto n;
    size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        n.negativo = t[i] == '-';
        ++i;
    }
    size_t ini = i;
    while (i < t.size() && es_digito(t[i]))
        ++i;
    n.enteros = t.substr(ini, i - ini);
    if (i < t.size() && t[i] == '.') {
        n.tiene_punto = true;
        ++i;
        ini = i;
        while (i < t.size() && es_digito(t[i]))
            ++i;
        n.decimales = t.substr(ini, i - ini);
    }
    if (n.enteros.empty() && n.decimales.empty()) return std::nullopt;
    const size_t fin_mantisa = i;
    if (i < t.size() && (t[i] == 'E' || t[i] == 'e' || t[i] == 'D' || t[i] == 'd')) {
        n.tiene_exponente = true;
        ++i;
        bool exp_negativo = false;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
            exp_negativo = t[i] == '-';
            ++i;
        }
        ini = i;
        while (i < t.size() && es_digito(t[i])) {
            if (n.exponente < 1000000) n.exponente = n.exponente * 10 + (t[i] - '0');
            ++i;
        }
        if (i == ini) return std::nullopt;
        if (exp_negativo) n.exponente = -n.exponente;
    }
    if (i != t.size()) return std::nullopt;

    if (n.negativo) n.normal += '-';
    n.normal.append(t.data() + (t[0] == '+' || t[0] == '-' ? 1 : 0), t.data() + fin_mantisa);
    if (n.tiene_exponente) n.normal += 'e' + std::to_string(n.exponente);
    return n;
}

// from_chars says "out of range" both for a value that rounds to zero and for
// one beyond the type; the decimal magnitude of the text tells them apart.
bool es_desbordamiento(const NumeroTexto& n)
{
    long magnitud = 0;
    const size_t primero = n.enteros.find_first_not_of('0');
    if (primero != std::string_view::npos) {
        magnitud = static_cast<long>(n.enteros.size() - primero) - 1;
    } else {
        const size_t q = n.decimales.find_first_not_of('0');
        if (q == std::string_view::npos) return false; // zero
        magnitud = -static_cast<long>(q) - 1;
    }
    return magnitud + n.exponente >= 0;
}

template <typename T> Conversion convierte_flotante(const NumeroTexto& n, T& v)
{
    const char* ini = n.normal.data();
    const char* fin = ini + n.normal.size();
    T x{};
    const auto r = std::from_chars(ini, fin, x, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) {
        if (es_desbordamiento(n)) return Conversion::demasiado_grande;
        x = n.negativo ? -T(0) : T(0);
    } else if (r.ec != std::errc() || r.ptr != fin) {
        return Conversion::no_numero;
    }
    v = x;
    return Conversion::ok;
}

} // namespace

void anade_impresa(std::string& out, float v)
{
    char o[kLargoForma + 2];
    int k = 0;
    // -0 compares equal to 0 and is written as a plain zero.
    o[k++] = v < 0 ? '-' : ' ';
    if (std::isnan(v)) {
        out.append(o, 1).append("nan ");
        return;
    }
    if (std::isinf(v)) {
        out.append(o, 1).append("inf ");
        return;
    }
    Cifras c;
    redondea_simple(std::fabs(v), 7, c);
    k += forma_g(c, 7, false, o + k);
    o[k++] = ' ';
    out.append(o, static_cast<std::size_t>(k));
}

void anade_impresa(std::string& out, int32_t v)
{
    char o[16];
    o[0] = ' ';
    char* const ini = v < 0 ? o : o + 1;
    char* fin = std::to_chars(ini, o + sizeof o - 1, v).ptr;
    *fin++ = ' ';
    out.append(o, static_cast<std::size_t>(fin - o));
}

std::string forma_impresa(float v)
{
    std::string s;
    anade_impresa(s, v);
    return s;
}

std::string forma_impresa(int32_t v)
{
    std::string s;
    anade_impresa(s, v);
    return s;
}

std::string forma_corta(float v)
{
    const double d = v;
    std::string cuerpo;
    if (no_finito(d, cuerpo)) return d < 0 ? "-" + cuerpo : cuerpo;
    Cifras c;
    redondea(std::fabs(d), 7, c);
    char o[kLargoForma + 1];
    int k = 0;
    if (d < 0) o[k++] = '-';
    k += forma_g(c, 7, true, o + k);
    return {o, static_cast<std::size_t>(k)};
}

std::string forma_con_signo(double v)
{
    std::string cuerpo;
    if (no_finito(v, cuerpo)) return con_signo(v < 0, cuerpo);
    Cifras c;
    redondea(std::fabs(v), 15, c);
    char o[kLargoForma + 1];
    o[0] = v < 0 ? '-' : ' ';
    const int k = 1 + forma_g(c, 15, false, o + 1);
    return {o, static_cast<std::size_t>(k)};
}

std::string forma_con_signo(int v)
{
    return (v < 0 ? "" : " ") + std::to_string(v);
}

LecturaInicial lee_numero_inicial_con_resto(std::string_view texto)
{
    // Blanks, tabs and line ends do not count anywhere in the text.
    std::string t;
    t.reserve(texto.size());
    for (char c : texto) {
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r') t += c;
    }

    LecturaInicial lectura;
    std::size_t i = 0;
    bool negativo = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) negativo = t[i++] == '-';

    double r = 0;
    if (i + 1 < t.size() && t[i] == '&' && (t[i + 1] == 'H' || t[i + 1] == 'h')) {
        i += 2;
        r = lee_entero_base(t, i, true);
    } else if (i + 1 < t.size() && t[i] == '&' && (t[i + 1] == 'O' || t[i + 1] == 'o')) {
        i += 2;
        r = lee_entero_base(t, i, false);
    } else {
        Decimal n;
        if (!lee_decimal(t, i, n)) {
            lectura.sin_numero = true;
            lectura.resto = t;
            return lectura;
        }
        const std::string s = texto_limpio(n);
        const auto res = std::from_chars(s.data(), s.data() + s.size(), r);
        if (res.ec == std::errc::result_out_of_range) {
            // Too large gives infinity, which the caller must check for;
            // too small is zero.
            r = desborda(n) ? HUGE_VAL : 0.0;
        }
    }
    lectura.resto = t.substr(i);
    if (r != 0) lectura.valor = negativo ? -r : r; // no negative zero
    return lectura;
}

double lee_numero_inicial(std::string_view texto)
{
    return lee_numero_inicial_con_resto(texto).valor;
}

std::optional<float> lee_numero_completo(std::string_view texto)
{
    std::size_t a = 0;
    std::size_t b = texto.size();
    while (a < b && (texto[a] == ' ' || texto[a] == '\t'))
        ++a;
    while (b > a && (texto[b - 1] == ' ' || texto[b - 1] == '\t'))
        --b;
    const std::string_view t = texto.substr(a, b - a);

    std::size_t i = 0;
    bool negativo = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) negativo = t[i++] == '-';

    Decimal n;
    if (!lee_decimal(t, i, n) || i != t.size()) return std::nullopt;

    const std::string s = texto_limpio(n);
    float r = 0;
    const auto res = std::from_chars(s.data(), s.data() + s.size(), r);
    if (res.ec == std::errc::result_out_of_range) {
        if (desborda(n)) return std::nullopt;
        r = 0; // underflow to zero is accepted
    }
    return negativo ? -r : r;
}

Conversion convierte_real(std::string_view t, float& v)
{
    if (t.empty()) return Conversion::vacio;
    const auto n = analiza_numero(t);
    if (!n) return Conversion::no_numero;
    // Straight to the nearest single, never through a double.
    return convierte_flotante(*n, v);
}

Conversion convierte_entero(std::string_view t, int32_t& v)
{
    if (t.empty()) return Conversion::vacio;
    const auto n = analiza_numero(t);
    if (!n) return Conversion::no_numero;
    if (!n->tiene_punto && !n->tiene_exponente) {
        const char* ini = n->normal.data();
        const char* fin = ini + n->normal.size();
        int64_t x = 0;
        const auto r = std::from_chars(ini, fin, x);
        if (r.ec == std::errc::result_out_of_range) return Conversion::demasiado_grande;
        if (r.ec != std::errc() || r.ptr != fin) return Conversion::no_numero;
        if (x < std::numeric_limits<int32_t>::min() || x > std::numeric_limits<int32_t>::max())
            return Conversion::demasiado_grande;
        v = static_cast<int32_t>(x);
        return Conversion::ok;
    }
    // A fraction or exponent: rounded to the nearest whole, halves to even.
    double d = 0;
    const Conversion c = convierte_flotante(*n, d);
    if (c != Conversion::ok) return c;
    const double r = std::nearbyint(d);
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) return Conversion::demasiado_grande;
    v = static_cast<int32_t>(r);
    return Conversion::ok;
}

int valor_hex(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string cantidad(long long n, const char* singular, const char* plural)
{
    return std::to_string(n) + " " + (n == 1 ? singular : plural);
}

std::string numero_corto(float v)
{
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    return {buf, res.ptr};
}

} // namespace tev
