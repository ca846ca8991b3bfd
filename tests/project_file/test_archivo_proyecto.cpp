#include "project_file/archivo_proyecto.h"

#include "model/store.h"
#include "project_file/comillas.h"
#include "project_file/cp1252.h"
#include "project_file/lectura_comun.h"
#include "text_forms/formas_numericas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

namespace tev {
namespace {

const char* const kLineaEjemplo =
    "A, 0 , 100 , 0 , 10 ,Areniscas, 16777215 , .63 , .51 , 0 , 0 , 0 , 0 , 0 \r\n";

void pon_banco(Store& s, int i, const std::string& nombre, float techo, float base,
               float edad_techo, float edad_base, const std::string& litologia,
               int32_t color = kBlanco, float porosidad = 0.63f, float coef = 0.51f)
{
    s.nombre[i] = nombre;
    s.techo[i] = techo;
    s.base[i] = base;
    s.edad_techo[i] = edad_techo;
    s.edad_base[i] = edad_base;
    s.litologia[i] = litologia;
    s.color[i] = color;
    s.porosidad[i] = porosidad;
    s.coef_porosidad[i] = coef;
}

// A record line written by hand: "<nombre>,<techo>, 100 , ... , 0 \r\n".
std::string linea(const std::string& nombre, const std::string& techo = " 0 ")
{
    return nombre + "," + techo +
           ", 100 , 0 , 10 ,Areniscas, 16777215 , .63 , .51 , 0 , 0 , 0 , 0 , 0 \r\n";
}

// --- Written form -----------------------------------------------------------

TEST(EscribeColumna, LineaDeEjemploByteAByte)
{
    Store s;
    pon_banco(s, 1, "A", 0, 100, 0, 10, kAreniscas);
    s.n_bancos = 1;
    const EscrituraColumna w = escribe_columna(s);
    ASSERT_TRUE(w.ok) << w.error;
    EXPECT_EQ(w.bytes, kLineaEjemplo);
}

TEST(EscribeColumna, NumerosNegativos)
{
    Store s;
    pon_banco(s, 1, "B", -50, 20, 0, 1.5f, kPelitas, -5, 0.1f, 0.25f);
    s.paleobatimetria[1] = -200.5f;
    s.n_bancos = 1;
    const EscrituraColumna w = escribe_columna(s);
    ASSERT_TRUE(w.ok) << w.error;
    EXPECT_EQ(w.bytes, "B,-50 , 20 , 0 , 1.5 ,Pelitas,-5 , .1 , .25 ,-200.5 , 0 , 0 , 0 , 0 \r\n");
}

TEST(EscribeColumna, ColumnaVaciaDaArchivoVacio)
{
    Store s;
    pon_banco(s, 1, "A", 0, 100, 0, 10, kAreniscas);
    s.n_bancos = 0;
    const EscrituraColumna w = escribe_columna(s);
    ASSERT_TRUE(w.ok);
    EXPECT_TRUE(w.bytes.empty());
}

TEST(EscribeColumna, AcentosEnWindows1252)
{
    Store s;
    pon_banco(s, 1, "Lutitas de Vaca Muerta", 0, 100, 0, 10, kPelitas);
    pon_banco(s, 2, "Formación Quintuco", 100, 300, 10, 20, kCalizas);
    s.n_bancos = 2;
    const EscrituraColumna w = escribe_columna(s);
    ASSERT_TRUE(w.ok) << w.error;
    EXPECT_EQ(w.bytes.rfind("Lutitas de Vaca Muerta, 0 ,", 0), 0u);
    EXPECT_NE(w.bytes.find("\r\nFormaci\xF3n Quintuco, 100 ,"), std::string::npos);
    EXPECT_EQ(w.bytes.find("\xC3\xB3"), std::string::npos); // no UTF-8 left
}

TEST(EscribeColumna, TextosQueNecesitanComillas)
{
    Store s;
    pon_banco(s, 1, "A, B", 0, 1, 0, 1, kAreniscas);
    pon_banco(s, 2, "Dijo \"hola\"", 1, 2, 1, 2, "Lito, rara");
    pon_banco(s, 3, " lados ", 2, 3, 2, 3, "\tTab");
    s.n_bancos = 3;
    const EscrituraColumna w = escribe_columna(s);
    ASSERT_TRUE(w.ok) << w.error;
    EXPECT_EQ(w.bytes.rfind("\"A, B\", 0 ,", 0), 0u);
    EXPECT_NE(w.bytes.find("\r\n\"Dijo \"\"hola\"\"\", 1 ,"), std::string::npos);
    EXPECT_NE(w.bytes.find(",\"Lito, rara\","), std::string::npos);
    EXPECT_NE(w.bytes.find("\r\n\" lados \", 2 ,"), std::string::npos);
    EXPECT_NE(w.bytes.find(",\"\tTab\","), std::string::npos);
}

TEST(EscribeColumna, RechazaCaracteresFueraDeWindows1252)
{
    Store s;
    pon_banco(s, 1, "A", 0, 1, 0, 1, kAreniscas);
    pon_banco(s, 2, "B", 1, 2, 1, 2, kAreniscas);
    pon_banco(s, 3, "砂岩", 2, 3, 2, 3, kAreniscas);
    s.n_bancos = 3;
    EscrituraColumna w = escribe_columna(s);
    EXPECT_FALSE(w.ok);
    EXPECT_TRUE(w.bytes.empty());
    EXPECT_NE(w.error.find("El banco 3 (nombre «砂岩»)"), std::string::npos) << w.error;
    EXPECT_NE(w.error.find("Windows-1252"), std::string::npos);

    s.nombre[3] = "C";
    s.litologia[2] = "Arenisca \xF0\x9F\xAA\xA8"; // emoji
    w = escribe_columna(s);
    EXPECT_FALSE(w.ok);
    EXPECT_NE(w.error.find("El banco 2 (litología"), std::string::npos) << w.error;
}

// --- Windows-1252 -------------------------------------------------------------

TEST(Cp1252, TablaDe0x80a0x9FyLatin1)
{
    EXPECT_EQ(cp1252_a_utf8("\x80\x8A\x99\x9F"), "€Š™Ÿ");
    EXPECT_EQ(cp1252_a_utf8("\xF3\xFF\xA0"), "óÿ\u00A0");
    EXPECT_EQ(cp1252_a_utf8("\x81\x8D\x8F\x90\x9D"), "\u0081\u008D\u008F\u0090\u009D");
    EXPECT_EQ(utf8_a_cp1252("€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ"),
              "\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E\x91\x92\x93\x94\x95\x96"
              "\x97\x98\x99\x9A\x9B\x9C\x9E\x9F");
    std::string todos;
    for (int b = 0; b < 256; ++b)
        todos += static_cast<char>(b);
    EXPECT_EQ(utf8_a_cp1252(cp1252_a_utf8(todos)), todos);
}

TEST(Cp1252, RechazaLoQueNoPuedeGuardar)
{
    EXPECT_FALSE(utf8_a_cp1252("\u0080").has_value()); // byte 0x80 is the euro sign
    EXPECT_FALSE(utf8_a_cp1252("中").has_value());
    EXPECT_FALSE(utf8_a_cp1252("\xC3").has_value());         // cut short
    EXPECT_FALSE(utf8_a_cp1252("\xC0\xAF").has_value());     // overlong
    EXPECT_FALSE(utf8_a_cp1252("\xED\xA0\x80").has_value()); // surrogate
}

// --- Reading --------------------------------------------------------------------

TEST(LeeColumna, IdaYVueltaDeVariosBancos)
{
    Store s;
    pon_banco(s, 1, "Formación Quintuco", 0, 250.5f, 0, 12.25f, kCalizas, 255, 0.63f, 0.51f);
    pon_banco(s, 2, "Vaca Muerta", 250.5f, 1234.75f, 12.25f, 140, kPelitas, 0x00336699, 0.7f,
              0.83f);
    pon_banco(s, 3, "Mezcla", 1234.75f, 3000, 140, 160, kPorcentual, 0, 0.45f, 0.0001f);
    s.paleobatimetria[2] = -35.5f;
    s.pct_arenisca[3] = 12.5f;
    s.pct_pelita[3] = 37.5f;
    s.pct_caliza[3] = 49.99f;
    s.pct_evaporita[3] = 0.01f;
    s.n_bancos = 3;
    const EscrituraColumna w = escribe_columna(s);
    ASSERT_TRUE(w.ok) << w.error;
    const LecturaColumna l = lee_columna(w.bytes, "ida.tev");
    ASSERT_TRUE(l.ok) << l.error;
    ASSERT_EQ(l.bancos.size(), 3u);
    for (int i = 1; i <= 3; ++i) {
        const RegistroBanco& r = l.bancos[i - 1];
        SCOPED_TRACE(i);
        EXPECT_EQ(r.nombre, s.nombre[i]);
        EXPECT_EQ(r.litologia, s.litologia[i]);
        EXPECT_EQ(r.color, s.color[i]);
        EXPECT_EQ(r.techo, s.techo[i]);
        EXPECT_EQ(r.base, s.base[i]);
        EXPECT_EQ(r.edad_techo, s.edad_techo[i]);
        EXPECT_EQ(r.edad_base, s.edad_base[i]);
        EXPECT_EQ(r.porosidad, s.porosidad[i]);
        EXPECT_EQ(r.coef_porosidad, s.coef_porosidad[i]);
        EXPECT_EQ(r.paleobatimetria, s.paleobatimetria[i]);
        EXPECT_EQ(r.pct_arenisca, s.pct_arenisca[i]);
        EXPECT_EQ(r.pct_pelita, s.pct_pelita[i]);
        EXPECT_EQ(r.pct_caliza, s.pct_caliza[i]);
        EXPECT_EQ(r.pct_evaporita, s.pct_evaporita[i]);
    }
}

TEST(LeeColumna, TextosEntreComillasVuelvenIguales)
{
    const std::string nombres[] = {
        "A, B", "Dijo \"hola\"", "línea 1\r\nlínea 2", "  lados  ", "\tTab\t", "\"", "solo\nLF",
        ""};
    Store s;
    const int n = static_cast<int>(std::size(nombres));
    for (int i = 1; i <= n; ++i)
        pon_banco(s, i, nombres[i - 1], 0, 1, 0, 1, nombres[n - i]);
    s.n_bancos = static_cast<int16_t>(n);
    const EscrituraColumna w = escribe_columna(s);
    ASSERT_TRUE(w.ok) << w.error;
    const LecturaColumna l = lee_columna(w.bytes, "c.tev");
    ASSERT_TRUE(l.ok) << l.error;
    ASSERT_EQ(l.bancos.size(), static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        EXPECT_EQ(l.bancos[i].nombre, nombres[i]);
        EXPECT_EQ(l.bancos[i].litologia, nombres[n - 1 - i]);
        EXPECT_EQ(l.bancos[i].base, 1.0f);
    }
}

TEST(LeeColumna, ComillasDeArchivosViejos)
{
    LecturaColumna l = lee_columna(linea("\"A, B\"") + linea("  \"C \"\"D\"\"\"  "), "v.tev");
    ASSERT_TRUE(l.ok) << l.error;
    EXPECT_EQ(l.bancos[0].nombre, "A, B");
    EXPECT_EQ(l.bancos[1].nombre, "C \"D\"");

    l = lee_columna(linea("\"A\" x"), "v.tev");
    EXPECT_FALSE(l.ok);
    EXPECT_NE(l.error.find("registro 1, campo 1 («nombre»)"), std::string::npos) << l.error;

    l = lee_columna(linea("A") + "\"sin cierre, 0 , 1\r\n", "v.tev");
    EXPECT_FALSE(l.ok);
    EXPECT_TRUE(l.bancos.empty());
    EXPECT_NE(l.error.find("línea 2, registro 2, campo 1"), std::string::npos) << l.error;
    EXPECT_NE(l.error.find("comillas"), std::string::npos);
}

TEST(LeeColumna, CienBancosSiCientoUnoNo)
{
    Store s;
    for (int i = 1; i <= kMaxBancos; ++i)
        pon_banco(s, i, "B" + std::to_string(i), i, i + 1, 0, 1, kAreniscas);
    s.n_bancos = kMaxBancos;
    const EscrituraColumna w = escribe_columna(s);
    ASSERT_TRUE(w.ok);
    LecturaColumna l = lee_columna(w.bytes, "cien.tev");
    ASSERT_TRUE(l.ok) << l.error;
    ASSERT_EQ(l.bancos.size(), 100u);
    EXPECT_EQ(l.bancos[99].nombre, "B100");

    l = lee_columna(w.bytes + linea("B101"), "cien.tev");
    EXPECT_FALSE(l.ok);
    EXPECT_TRUE(l.bancos.empty());
    EXPECT_NE(l.error.find("más de 100 bancos"), std::string::npos) << l.error;
    EXPECT_NE(l.error.find("registro 101"), std::string::npos) << l.error;
}

TEST(LeeColumna, RegistroPartidoEnDosLineasYFinesDeLinea)
{
    const std::string partido = "A, 0 , 100 , 0 , 10 ,Areniscas, 16777215\r\n"
                                " .63 , .51 , 0 , 0 , 0 , 0 , 0 \r\n"
                                "B, 1 , 2 , 3 , 4 ,P, 0 , 0 , 0\r\n 0 , 0 , 0 , 0 , 0 \r\n";
    for (const std::string& bytes :
         {partido,
          std::string(kLineaEjemplo) + "B, 1 , 2 , 3 , 4 ,Pelitas, 0 , 0 , 0 , 0 , 0 , "
                                       "0 , 0 , 0 ",
          std::string("A,0,100,0,10,Areniscas,16777215,.63,.51,0,0,0,0,0\nB,1\r2,3,4,P,0,0,0,0,"
                      "0,0,0,0\n")}) {
        const LecturaColumna l = lee_columna(bytes, "p.tev");
        ASSERT_TRUE(l.ok) << l.error;
        EXPECT_EQ(l.bancos[0].nombre, "A");
        EXPECT_EQ(l.bancos[0].litologia, "Areniscas");
        EXPECT_EQ(l.bancos[0].color, 16777215);
        EXPECT_EQ(l.bancos[0].porosidad, 0.63f);
        EXPECT_EQ(l.bancos[0].pct_evaporita, 0.0f);
        ASSERT_EQ(l.bancos.size(), 2u);
        EXPECT_EQ(l.bancos[1].base, 2.0f);
    }
}

TEST(LeeColumna, FormasDeNumeros)
{
    const std::string bytes = "A, .5 ,-.5,\t1E-05\t, 1.234568E+07 ,L, +12 , 2.5e3 , 1D2 , -7d-1 "
                              ", 5. , 1e-50 , 0.63 , 3.4028235E+38 \r\n";
    const LecturaColumna l = lee_columna(bytes, "n.tev");
    ASSERT_TRUE(l.ok) << l.error;
    const RegistroBanco& r = l.bancos.at(0);
    EXPECT_EQ(r.techo, 0.5f);
    EXPECT_EQ(r.base, -0.5f);
    EXPECT_EQ(r.edad_techo, 1E-05f);
    EXPECT_EQ(r.edad_base, 1.234568E+07f);
    EXPECT_EQ(r.litologia, "L");
    EXPECT_EQ(r.color, 12);
    EXPECT_EQ(r.porosidad, 2500.0f);
    EXPECT_EQ(r.coef_porosidad, 100.0f);
    EXPECT_EQ(r.paleobatimetria, -0.7f);
    EXPECT_EQ(r.pct_arenisca, 5.0f);
    EXPECT_EQ(r.pct_pelita, 0.0f);
    EXPECT_EQ(r.pct_caliza, 0.63f);
    EXPECT_EQ(r.pct_evaporita, 3.4028235E+38f);
}

TEST(LeeColumna, ColorEntero)
{
    auto color = [](const std::string& t) {
        return lee_columna("A, 0 , 1 , 0 , 1 ,L," + t + ", 0 , 0 , 0 , 0 , 0 , 0 , 0 ", "k.tev");
    };
    EXPECT_EQ(color("-2147483648").bancos.at(0).color, INT32_MIN);
    EXPECT_EQ(color(" 2147483647 ").bancos.at(0).color, INT32_MAX);
    EXPECT_EQ(color("2.5").bancos.at(0).color, 2); // halves go to even
    const LecturaColumna l = color(" 2147483648 ");
    EXPECT_FALSE(l.ok);
    EXPECT_NE(l.error.find("campo 7 («color»)"), std::string::npos) << l.error;
    EXPECT_NE(l.error.find("demasiado grande"), std::string::npos) << l.error;
    EXPECT_FALSE(color("1.5.").ok);
    EXPECT_FALSE(color("&HFF").ok);
}

TEST(LeeColumna, CampoQueNoEsNumero)
{
    LecturaColumna l = lee_columna(linea("A") + linea("B", " 1x "), "roto.tev");
    EXPECT_FALSE(l.ok);
    EXPECT_TRUE(l.bancos.empty());
    EXPECT_NE(l.error.find("«roto.tev»"), std::string::npos) << l.error;
    EXPECT_NE(l.error.find("línea 2, registro 2, campo 2 («techo»)"), std::string::npos) << l.error;
    EXPECT_NE(l.error.find("«1x» no es un número"), std::string::npos) << l.error;

    for (const char* t : {"", "  ", "E5", ".", "1E", "1 2", "--1", "inf", "nan"}) {
        l = lee_columna(linea("A", t), "roto.tev");
        EXPECT_FALSE(l.ok) << "«" << t << "»";
        EXPECT_NE(l.error.find("campo 2 («techo»)"), std::string::npos) << l.error;
    }
}

TEST(LeeColumna, NumeroDemasiadoGrande)
{
    for (const char* t : {" 1E+39 ", "-1E+39", "3.5E38", "1E999999999999"}) {
        const LecturaColumna l = lee_columna(linea("A", t), "g.tev");
        EXPECT_FALSE(l.ok) << t;
        EXPECT_NE(l.error.find("campo 2 («techo»): el número"), std::string::npos) << l.error;
        EXPECT_NE(l.error.find("demasiado grande"), std::string::npos) << l.error;
    }
}

TEST(LeeColumna, RegistroIncompleto)
{
    LecturaColumna l =
        lee_columna(linea("A") + linea("B") + "\r\nC, 0 , 1 , 0 , 1 ,L, 0 , 0 , 0\r\n", "inc.tev");
    EXPECT_FALSE(l.ok);
    EXPECT_TRUE(l.bancos.empty());
    EXPECT_NE(l.error.find("el registro 3 está incompleto: tiene 9 de los 14 campos"),
              std::string::npos)
        << l.error;
    EXPECT_NE(l.error.find("línea 4"), std::string::npos) << l.error;
    EXPECT_NE(l.error.find("campo 10"), std::string::npos) << l.error;

    // A blank line inside a record is an empty field, not a skipped line.
    l = lee_columna("A, 0 , 1 , 0 , 1 ,L, 0\r\n\r\n 0 , 0 , 0 , 0 , 0 , 0 , 0 \r\n", "inc.tev");
    EXPECT_FALSE(l.ok);
    EXPECT_NE(l.error.find("línea 2, registro 1, campo 8 («porosidad»): está vacío"),
              std::string::npos)
        << l.error;
}

TEST(LeeColumna, BlancosYLineasVacias)
{
    LecturaColumna l = lee_columna("", "v.tev");
    EXPECT_TRUE(l.ok);
    EXPECT_TRUE(l.bancos.empty());
    l = lee_columna(" \r\n\t\n\r  ", "v.tev");
    EXPECT_TRUE(l.ok) << l.error;
    EXPECT_TRUE(l.bancos.empty());

    l = lee_columna("\r\n" + linea("A") + "  \r\n\r\n" + linea("B") + "\r\n \t \r\n  ", "v.tev");
    ASSERT_TRUE(l.ok) << l.error;
    ASSERT_EQ(l.bancos.size(), 2u);
    EXPECT_EQ(l.bancos[1].nombre, "B");
}

// Every number field reads as the number-field reading gives it, also for
// the plain decimals the reader converts by itself: the same bits, and the
// same refusals.
TEST(LecturaDeNumeros, IgualQueLaLecturaDeCampos)
{
    std::mt19937 gen(1309);
    std::uniform_real_distribution<float> u(-40.0f, 40.0f);
    std::vector<std::string> textos = {"0",
                                       "-0",
                                       ".5",
                                       "-.5",
                                       "5.",
                                       "-5.",
                                       "007",
                                       "0.0001",
                                       "1E-05",
                                       "1e5",
                                       "+3",
                                       "2.5D2",
                                       "-.",
                                       ".",
                                       "-",
                                       "1.2.3",
                                       "12a",
                                       "1-2",
                                       "--1",
                                       "3.4028235E38",
                                       "3.4028236e38",
                                       "1e-46",
                                       "340282356779733661637539395458142568448",
                                       "0.000000000000000000000000000000000000000000000001",
                                       "123456789012345678901234567890",
                                       "16777217",
                                       "0.1",
                                       "-1234.5678",
                                       "2147483647",
                                       "2147483648",
                                       "-2147483648",
                                       "-2147483649",
                                       "99999999999999999999"};
    for (int n = 0; n < 400; ++n) {
        const float v = std::pow(10.0f, u(gen)) * (n % 2 ? -1.0f : 1.0f);
        const std::string impresa = forma_impresa(v); // " .63 ", "-.5 "
        textos.push_back(impresa.substr(impresa[0] == ' ' ? 1 : 0,
                                        impresa.size() - (impresa[0] == ' ' ? 2 : 1)));
        textos.push_back(numero_corto(v));
        textos.push_back(std::to_string(static_cast<long long>(gen()) - 2147483648LL));
    }
    for (const std::string& t : textos) {
        const std::string linea = "n," + t + ",2,3,4,Pelitas," + t + ",.5,.5,0,0,0,0,0\r\n";
        const LecturaColumna l = lee_columna(linea, "x.tev");
        float esperado = -7;
        const Conversion c = convierte_real(t, esperado);
        int32_t color = -7;
        const Conversion ce = convierte_entero(t, color);
        ASSERT_EQ(l.ok, c == Conversion::ok && ce == Conversion::ok) << t << ": " << l.error;
        if (!l.ok) {
            // The first field that failed is named, with the reading's reason.
            const bool real = c != Conversion::ok;
            EXPECT_NE(l.error.find(real ? "campo 2 («techo»)" : "campo 7 («color»)"),
                      std::string::npos)
                << t << ": " << l.error;
            if (t.size() <= 40) {
                EXPECT_NE(l.error.find(explica_conversion(real ? c : ce, entre_comillas(t), !real)),
                          std::string::npos)
                    << t << ": " << l.error;
            }
            continue;
        }
        EXPECT_EQ(std::memcmp(&l.bancos[0].techo, &esperado, sizeof esperado), 0) << t;
        EXPECT_EQ(l.bancos[0].color, color) << t;
    }
}

} // namespace
} // namespace tev
