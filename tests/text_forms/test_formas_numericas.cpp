#include "text_forms/formas_numericas.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <vector>

#include <algorithm>
#include <cctype>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

using namespace tev;

namespace {

// printf with %G, in the C locale the tests run in.
std::string printf_g(double v, int precision)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*G", precision, v);
    return buf;
}

// The %G text without the zero before the point and with a blank for a
// positive value.
std::string sin_cero_inicial(std::string s)
{
    const bool negativo = s[0] == '-';
    if (negativo) s.erase(0, 1);
    if (s.size() > 1 && s[0] == '0' && s[1] == '.') s.erase(0, 1);
    return (negativo ? "-" : " ") + s;
}

} // namespace

// ---- forma_impresa -----------------------------------------------------------

TEST(FormaImpresa, ZeroAndWholeNumbers)
{
    EXPECT_EQ(forma_impresa(0.0f), " 0 ");
    EXPECT_EQ(forma_impresa(-0.0f), " 0 ");
    EXPECT_EQ(forma_impresa(100.0f), " 100 ");
    EXPECT_EQ(forma_impresa(1234567.0f), " 1234567 ");
    EXPECT_EQ(forma_impresa(-42.0f), "-42 ");
}

TEST(FormaImpresa, FractionsHaveNoLeadingZero)
{
    EXPECT_EQ(forma_impresa(0.63f), " .63 ");
    EXPECT_EQ(forma_impresa(-0.5f), "-.5 ");
    EXPECT_EQ(forma_impresa(0.51f), " .51 ");
    EXPECT_EQ(forma_impresa(0.0001f), " .0001 ");
    EXPECT_EQ(forma_impresa(2.5f), " 2.5 ");
    EXPECT_EQ(forma_impresa(-1.25f), "-1.25 ");
}

TEST(FormaImpresa, RoundsToSevenSignificantDigits)
{
    // 1/3 as a single is 0.3333333432674407958984375.
    EXPECT_EQ(forma_impresa(1.0f / 3.0f), " .3333333 ");
    EXPECT_EQ(forma_impresa(2.0f / 3.0f), " .6666667 ");
    EXPECT_EQ(forma_impresa(123.456789f), " 123.4568 ");
    // 12345675 is exact in a single and a tie at 7 digits: rounds to even.
    EXPECT_EQ(forma_impresa(12345675.0f), " 1.234568E+07 ");
    EXPECT_EQ(forma_impresa(12345665.0f), " 1.234566E+07 ");
}

TEST(FormaImpresa, ExponentFormOutsideFixedRange)
{
    EXPECT_EQ(forma_impresa(1e-5f), " 1E-05 ");
    EXPECT_EQ(forma_impresa(12345678.0f), " 1.234568E+07 ");
    EXPECT_EQ(forma_impresa(1e7f), " 1E+07 ");
    EXPECT_EQ(forma_impresa(1.5e-20f), " 1.5E-20 ");
    EXPECT_EQ(forma_impresa(3e38f), " 3E+38 ");
    EXPECT_EQ(forma_impresa(-2.5e-7f), "-2.5E-07 ");
    // 9999999.0 stays fixed; 99999999 rounds up to 1E+08.
    EXPECT_EQ(forma_impresa(9999999.0f), " 9999999 ");
    EXPECT_EQ(forma_impresa(99999999.0f), " 1E+08 ");
}

TEST(FormaImpresa, NonFiniteValuesDoNotCrash)
{
    EXPECT_EQ(forma_impresa(std::numeric_limits<float>::infinity()), " inf ");
    EXPECT_EQ(forma_impresa(-std::numeric_limits<float>::infinity()), "-inf ");
    EXPECT_EQ(forma_impresa(std::numeric_limits<float>::quiet_NaN()), " nan ");
}

TEST(FormaImpresa, Integers)
{
    EXPECT_EQ(forma_impresa(int32_t{16777215}), " 16777215 ");
    EXPECT_EQ(forma_impresa(int32_t{-5}), "-5 ");
    EXPECT_EQ(forma_impresa(int32_t{0}), " 0 ");
    EXPECT_EQ(forma_impresa(std::numeric_limits<int32_t>::min()), "-2147483648 ");
}

TEST(FormaImpresa, MatchesPrintfOverManyValues)
{
    // Walk through many magnitudes, both signs; the print form must be %.7G
    // without the zero before the point, between a sign blank and a blank.
    for (int e = -30; e <= 30; ++e) {
        for (float m : {1.0f, 1.1f, 3.14159265f, 5.5f, 9.999999f, 9.9999999f}) {
            for (float s : {1.0f, -1.0f}) {
                const float v = s * m * std::pow(10.0f, static_cast<float>(e));
                const std::string esperado = sin_cero_inicial(printf_g(v, 7)) + " ";
                // The one single of this walk that 7-digit rounding would not
                // give back stably (see below) is written by its own digits.
                if (std::fabs(v) == 1e28f) continue;
                EXPECT_EQ(forma_impresa(v), esperado) << "value " << v;
            }
        }
    }
}

float relee(const std::string& texto)
{
    std::string t;
    for (char c : texto)
        if (c != ' ') t += c;
    float v = 0;
    std::from_chars(t.data(), t.data() + t.size(), v);
    return v;
}

TEST(FormaImpresa, EscribirLoLeidoDaElMismoTexto)
{
    // 1E+28 reads as 9.9999994E+27, which %.7G rounds to 9.999999E+27: saving
    // a column again would change its file. Its own shortest digits are used.
    EXPECT_EQ(forma_impresa(1e28f), " 1E+28 ");
    EXPECT_EQ(forma_impresa(-1e28f), "-1E+28 ");
    EXPECT_EQ(relee(" 1E+28 "), 1e28f);

    // Text -> single -> text is stable for every single near each power of
    // ten (where singles are sparsest against decimals) and for many others.
    std::vector<float> valores;
    for (int e = -45; e <= 38; ++e) {
        float p = 0;
        const std::string t = "1e" + std::to_string(e);
        std::from_chars(t.data(), t.data() + t.size(), p);
        float q = p;
        for (int k = 0; k < 64 && p != 0; ++k) {
            valores.push_back(p);
            p = std::nextafter(p, 0.0f);
            q = std::nextafter(q, std::numeric_limits<float>::max());
            valores.push_back(q);
        }
    }
    std::mt19937 azar(7);
    for (int i = 0; i < 200000; ++i) {
        const std::uint32_t bits = azar();
        float v;
        std::memcpy(&v, &bits, sizeof v);
        if (std::isfinite(v)) valores.push_back(v);
    }
    int distintos = 0;
    for (float v : valores) {
        const std::string una = forma_impresa(v);
        const std::string dos = forma_impresa(relee(una));
        if (una != dos && ++distintos < 5) ADD_FAILURE() << v << ": " << una << " / " << dos;
    }
    EXPECT_EQ(distintos, 0);
}

// ---- forma_corta -------------------------------------------------------------

TEST(FormaCorta, PlainValues)
{
    EXPECT_EQ(forma_corta(0.0f), "0");
    EXPECT_EQ(forma_corta(-0.0f), "0");
    EXPECT_EQ(forma_corta(100.0f), "100");
    EXPECT_EQ(forma_corta(0.63f), "0.63");
    EXPECT_EQ(forma_corta(-0.5f), "-0.5");
    EXPECT_EQ(forma_corta(0.49f), "0.49");
    EXPECT_EQ(forma_corta(2720.0f), "2720");
    EXPECT_EQ(forma_corta(0.0001f), "0.0001");
}

TEST(FormaCorta, ExponentForm)
{
    EXPECT_EQ(forma_corta(1e7f), "1E+07");
    EXPECT_EQ(forma_corta(12345678.0f), "1.234568E+07");
    EXPECT_EQ(forma_corta(1e-5f), "1E-05");
    EXPECT_EQ(forma_corta(-3.25e-9f), "-3.25E-09");
}

TEST(FormaCorta, MatchesPrintfOverManyValues)
{
    for (int e = -40; e <= 38; ++e) {
        for (float m : {1.0f, 1.7f, 2.5f, 7.123456789f, 9.99999f}) {
            const float v = m * std::pow(10.0f, static_cast<float>(e));
            if (!std::isfinite(v)) continue;
            EXPECT_EQ(forma_corta(v), printf_g(v, 7)) << "value " << v;
            EXPECT_EQ(forma_corta(-v), printf_g(-v, 7)) << "value " << -v;
        }
    }
}

// ---- forma_con_signo ---------------------------------------------------------

TEST(FormaConSigno, Doubles)
{
    EXPECT_EQ(forma_con_signo(0.49), " .49");
    EXPECT_EQ(forma_con_signo(0.483), " .483");
    EXPECT_EQ(forma_con_signo(5.0), " 5");
    EXPECT_EQ(forma_con_signo(-0.25), "-.25");
    EXPECT_EQ(forma_con_signo(0.0), " 0");
    EXPECT_EQ(forma_con_signo(-0.0), " 0");
    EXPECT_EQ(forma_con_signo(1.0 / 3.0), " .333333333333333");
}

TEST(FormaConSigno, WeightedMeanRoundsAwayItsBinaryNoise)
{
    const double a = 0.49, b = 0.63;
    const double media = (a * 60 + b * 30) / 100;
    EXPECT_EQ(forma_con_signo(media), " .483");
}

TEST(FormaConSigno, ExponentSwitchAtFifteenDigits)
{
    EXPECT_EQ(forma_con_signo(1e14), " 100000000000000");
    EXPECT_EQ(forma_con_signo(1e15), " 1E+15");
    EXPECT_EQ(forma_con_signo(0.0001), " .0001");
    EXPECT_EQ(forma_con_signo(-0.00001), "-1E-05");
    EXPECT_EQ(forma_con_signo(1.5e300), " 1.5E+300");
}

TEST(FormaConSigno, MatchesPrintfOverManyValues)
{
    for (int e = -20; e <= 20; ++e) {
        for (double m : {1.0, 0.1, 2.718281828459045, 9.9999999999999999}) {
            const double v = m * std::pow(10.0, e);
            EXPECT_EQ(forma_con_signo(v), sin_cero_inicial(printf_g(v, 15))) << "value " << v;
            EXPECT_EQ(forma_con_signo(-v), sin_cero_inicial(printf_g(-v, 15))) << "value " << -v;
        }
    }
}

TEST(FormaConSigno, Integers)
{
    EXPECT_EQ(forma_con_signo(5), " 5");
    EXPECT_EQ(forma_con_signo(-3), "-3");
    EXPECT_EQ(forma_con_signo(0), " 0");
}

// ---- lee_numero_inicial ------------------------------------------------------

TEST(LeeNumeroInicial, PlainNumbers)
{
    EXPECT_DOUBLE_EQ(lee_numero_inicial("100"), 100.0);
    EXPECT_DOUBLE_EQ(lee_numero_inicial(".5"), 0.5);
    EXPECT_DOUBLE_EQ(lee_numero_inicial("-.5e1"), -5.0);
    EXPECT_DOUBLE_EQ(lee_numero_inicial("+2.25"), 2.25);
    EXPECT_DOUBLE_EQ(lee_numero_inicial("1D2"), 100.0);
    EXPECT_DOUBLE_EQ(lee_numero_inicial("1d-2"), 0.01);
    EXPECT_DOUBLE_EQ(lee_numero_inicial("2.5E+3"), 2500.0);
    EXPECT_DOUBLE_EQ(lee_numero_inicial("5."), 5.0);
    // Nearest double, not a single-precision value.
    EXPECT_EQ(lee_numero_inicial("0.1"), 0.1);
}

TEST(LeeNumeroInicial, BlanksAreSkippedAnywhere)
{
    EXPECT_DOUBLE_EQ(lee_numero_inicial("1 2 3"), 123.0);
    EXPECT_DOUBLE_EQ(lee_numero_inicial(" 4 5.5"), 45.5);
    EXPECT_DOUBLE_EQ(lee_numero_inicial("  7  "), 7.0);
    EXPECT_DOUBLE_EQ(lee_numero_inicial("\t- 3\n.\r5"), -3.5);
    EXPECT_DOUBLE_EQ(lee_numero_inicial("1 e 2"), 100.0);
}

TEST(LeeNumeroInicial, StopsAtFirstCharacterOutsideTheNumber)
{
    EXPECT_DOUBLE_EQ(lee_numero_inicial("12abc"), 12.0);
    EXPECT_DOUBLE_EQ(lee_numero_inicial("3E"), 3.0);
    EXPECT_DOUBLE_EQ(lee_numero_inicial("2e+x"), 2.0);
    EXPECT_DOUBLE_EQ(lee_numero_inicial("1.2.3"), 1.2);
    EXPECT_DOUBLE_EQ(lee_numero_inicial("1,5"), 1.0);
    EXPECT_DOUBLE_EQ(lee_numero_inicial("-4-5"), -4.0);
}

TEST(LeeNumeroInicial, NoNumberReadsAsZero)
{
    for (const char* t : {"", "abc", "-", ".", "+.", "   ", "e5", "+-5", "&H", "&Z10"}) {
        const double r = lee_numero_inicial(t);
        EXPECT_EQ(r, 0.0) << "text '" << t << "'";
        EXPECT_FALSE(std::signbit(r)) << "text '" << t << "'";
    }
    EXPECT_FALSE(std::signbit(lee_numero_inicial("-0")));
}

TEST(LeeNumeroInicial, HexAndOctalWholeNumbers)
{
    EXPECT_EQ(lee_numero_inicial("&H10"), 16.0);
    EXPECT_EQ(lee_numero_inicial("&hff"), 255.0);
    EXPECT_EQ(lee_numero_inicial("&HFFFF"), -1.0);
    EXPECT_EQ(lee_numero_inicial("&H8000"), -32768.0);
    EXPECT_EQ(lee_numero_inicial("&H10000"), 65536.0);
    EXPECT_EQ(lee_numero_inicial("&HFFFFFFFF"), -1.0);
    EXPECT_EQ(lee_numero_inicial("&H7FFFFFFF"), 2147483647.0);
    EXPECT_EQ(lee_numero_inicial("&H80000000"), -2147483648.0);
    EXPECT_EQ(lee_numero_inicial("-&H10"), -16.0);
    EXPECT_EQ(lee_numero_inicial("&H1Fxyz"), 31.0);
    EXPECT_EQ(lee_numero_inicial("&H 1 0"), 16.0);
    EXPECT_EQ(lee_numero_inicial("&O17"), 15.0);
    EXPECT_EQ(lee_numero_inicial("&o777"), 511.0);
    EXPECT_EQ(lee_numero_inicial("&O177777"), -1.0);
    EXPECT_EQ(lee_numero_inicial("&O200000"), 65536.0);
    EXPECT_EQ(lee_numero_inicial("&O37777777777"), -1.0);
    EXPECT_EQ(lee_numero_inicial("&O78"), 7.0);
}

TEST(LeeNumeroInicial, OverflowAndUnderflow)
{
    EXPECT_EQ(lee_numero_inicial("1e400"), HUGE_VAL);
    EXPECT_EQ(lee_numero_inicial("-1D999"), -HUGE_VAL);
    EXPECT_EQ(lee_numero_inicial("1" + std::string(400, '0')), HUGE_VAL);
    EXPECT_EQ(lee_numero_inicial("1e-400"), 0.0);
    EXPECT_EQ(lee_numero_inicial("0e99999"), 0.0);
    EXPECT_GT(lee_numero_inicial("1e-320"), 0.0); // subnormal, still read
}

// ---- lee_numero_completo -----------------------------------------------------

TEST(LeeNumeroCompleto, AcceptsOneNumberWithBlanksAround)
{
    EXPECT_EQ(lee_numero_completo("100"), 100.0f);
    EXPECT_EQ(lee_numero_completo(" -3.5 "), -3.5f);
    EXPECT_EQ(lee_numero_completo(".5"), 0.5f);
    EXPECT_EQ(lee_numero_completo("5."), 5.0f);
    EXPECT_EQ(lee_numero_completo("1e3"), 1000.0f);
    EXPECT_EQ(lee_numero_completo("\t+2E-1\t"), 0.2f);
    EXPECT_EQ(lee_numero_completo("25d1"), 250.0f);
    EXPECT_EQ(lee_numero_completo("0"), 0.0f);
}

TEST(LeeNumeroCompleto, RoundsDirectlyToNearestSingle)
{
    EXPECT_EQ(lee_numero_completo("0.1"), 0.1f);
    EXPECT_EQ(lee_numero_completo("0.49"), 0.49f);
    // 16777217 lies halfway between two singles; the tie goes to even.
    EXPECT_EQ(lee_numero_completo("16777217"), 16777216.0f);
    // Just above the halfway point it goes up; rounding through a double
    // would lose that.
    EXPECT_EQ(lee_numero_completo("16777217.0000000001"), 16777218.0f);
}

TEST(LeeNumeroCompleto, RejectsAnythingElse)
{
    for (const char* t : {"", "   ", "\t", "abc", "1,5", "1.2.3", "12abc", "&H10", "-", ".", "+.",
                          "1e", "1e+", "E5", "1 2", "--1", "0x10", "inf", "nan"}) {
        EXPECT_FALSE(lee_numero_completo(t).has_value()) << "text '" << t << "'";
    }
}

TEST(LeeNumeroCompleto, OverflowIsRejectedUnderflowAccepted)
{
    EXPECT_FALSE(lee_numero_completo("1e39").has_value());
    EXPECT_FALSE(lee_numero_completo("-4e38").has_value());
    EXPECT_EQ(lee_numero_completo("3.4e38"), 3.4e38f);
    EXPECT_EQ(lee_numero_completo("1e-50"), 0.0f);
    const auto sub = lee_numero_completo("1e-40");
    ASSERT_TRUE(sub.has_value());
    EXPECT_GT(*sub, 0.0f);
    EXPECT_LT(*sub, std::numeric_limits<float>::min());
}

// ---- convierte_real, convierte_entero: number fields of files -----------------

TEST(ConvierteCampo, KindsOfFailureLeaveTheValueAlone)
{
    struct Caso {
        const char* texto;
        Conversion real;
        float valor_real;
        Conversion entero;
        int32_t valor_entero;
    };
    const Conversion ok = Conversion::ok;
    const Caso casos[] = {
        {"-.5", ok, -0.5f, ok, 0}, // -0.5 to the even whole, 0
        {"+7d1", ok, 70.0f, ok, 70},
        {"2.5E0", ok, 2.5f, ok, 2},
        {"3.5", ok, 3.5f, ok, 4},
        {"1e-50", ok, 0.0f, ok, 0},
        {"-2147483648", ok, -2147483648.0f, ok, INT32_MIN},
        {"2147483648", ok, 2147483648.0f, Conversion::demasiado_grande, 0},
        {"1E+39", Conversion::demasiado_grande, 0, Conversion::demasiado_grande, 0},
        {"", Conversion::vacio, 0, Conversion::vacio, 0},
        {"1,5", Conversion::no_numero, 0, Conversion::no_numero, 0},
        {" 1", Conversion::no_numero, 0, Conversion::no_numero, 0}, // trimmed by the caller
        {"nan", Conversion::no_numero, 0, Conversion::no_numero, 0},
        {"1e", Conversion::no_numero, 0, Conversion::no_numero, 0},
    };
    for (const Caso& c : casos) {
        float r = 99;
        int32_t e = 99;
        EXPECT_EQ(convierte_real(c.texto, r), c.real) << c.texto;
        EXPECT_EQ(r, c.real == ok ? c.valor_real : 99.0f) << c.texto;
        EXPECT_EQ(convierte_entero(c.texto, e), c.entero) << c.texto;
        EXPECT_EQ(e, c.entero == ok ? c.valor_entero : 99) << c.texto;
    }
}

// ---- numero_corto ------------------------------------------------------------

TEST(NumeroCorto, ShortestTextThatReadsBack)
{
    EXPECT_EQ(numero_corto(0.63f), "0.63");
    EXPECT_EQ(numero_corto(-20.0f), "-20");
    EXPECT_EQ(numero_corto(1e-5f), "1e-05");
    std::mt19937 azar(7);
    for (int i = 0; i < 20000; ++i) {
        const uint32_t bits = azar();
        float v;
        std::memcpy(&v, &bits, sizeof v);
        if (!std::isfinite(v)) continue;
        const std::string t = numero_corto(v);
        ASSERT_EQ(std::strtof(t.c_str(), nullptr), v) << t;
        // No longer than the scientific form with the fewest digits that
        // reads back, and no more digits than it unless written as a whole
        // number (90282311680 is shorter than 9.0282312e+10).
        int fewest = 1;
        char cientifica[64];
        for (;; ++fewest) {
            std::snprintf(cientifica, sizeof cientifica, "%.*e", fewest - 1,
                          static_cast<double>(v));
            if (std::strtof(cientifica, nullptr) == v) break;
        }
        ASSERT_LE(t.size(), std::strlen(cientifica)) << t << " " << cientifica;
        std::string mantisa = t.substr(0, t.find('e'));
        mantisa.erase(std::remove(mantisa.begin(), mantisa.end(), '-'), mantisa.end());
        const bool entero =
            mantisa.find('.') == std::string::npos && t.find('e') == std::string::npos;
        mantisa.erase(std::remove(mantisa.begin(), mantisa.end(), '.'), mantisa.end());
        mantisa.erase(0, mantisa.find_first_not_of('0'));
        mantisa.erase(mantisa.find_last_not_of('0') + 1);
        if (!entero) {
            ASSERT_LE(static_cast<int>(mantisa.size()), fewest) << t;
        }
    }
}

// ---- valor_hex ---------------------------------------------------------------

TEST(ValorHex, DigitsOfBothCasesAndNothingElse)
{
    const std::string digitos = "0123456789abcdef";
    for (int v = 0; v < 16; ++v) {
        EXPECT_EQ(valor_hex(digitos[v]), v);
        EXPECT_EQ(valor_hex(static_cast<char>(std::toupper(digitos[v]))), v);
    }
    // The neighbours of each range in ASCII.
    for (char c : {'/', ':', '@', 'G', '`', 'g', ' ', '\0', '\xC1'})
        EXPECT_EQ(valor_hex(c), -1) << static_cast<int>(c);
}

// ---- locale ------------------------------------------------------------------

TEST(FormasNumericas, IgnoreTheUserLocale)
{
    const char* con_coma = nullptr;
    for (const char* nombre : {"de_DE.UTF-8", "es_ES.UTF-8", "fr_FR.UTF-8", "de_DE", "es_ES"}) {
        if (std::setlocale(LC_NUMERIC, nombre)) {
            con_coma = nombre;
            break;
        }
    }
    if (!con_coma) GTEST_SKIP() << "no locale with a decimal comma installed";
    EXPECT_EQ(forma_impresa(0.63f), " .63 ");
    EXPECT_EQ(forma_corta(2.5f), "2.5");
    EXPECT_EQ(forma_con_signo(0.483), " .483");
    EXPECT_DOUBLE_EQ(lee_numero_inicial("2.5"), 2.5);
    EXPECT_EQ(lee_numero_completo("2.5"), 2.5f);
    EXPECT_FALSE(lee_numero_completo("2,5").has_value());
    std::setlocale(LC_NUMERIC, "C");
}

TEST(Cantidad, ElNombreEnSingularSoloParaUno)
{
    EXPECT_EQ(cantidad(1, "celda", "celdas"), "1 celda");
    EXPECT_EQ(cantidad(0, "banco", "bancos"), "0 bancos");
    EXPECT_EQ(cantidad(2, "banco", "bancos"), "2 bancos");
    EXPECT_EQ(cantidad(11, "columna", "columnas"), "11 columnas");
}
