#include "project_file/comillas.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tev {
namespace {

// The two kinds of rule the writers use: commas, quotes and line breaks plus
// blanks at the ends (the project file), and commas, quotes and every control
// character, blanks left bare (the batch report).
constexpr ReglaComillas kConBlancos{",\"\r\n", true, false};
constexpr ReglaComillas kConControles{",\"", false, true};

TEST(Comillas, EntreComillasAngulares)
{
    EXPECT_EQ(entre_comillas("a, b"), "«a, b»");
    EXPECT_EQ(entre_comillas(""), "«»");
}

TEST(Comillas, QueTextosVanEntreComillas)
{
    EXPECT_EQ(campo_csv("", kConBlancos), "");
    EXPECT_EQ(campo_csv("", kConControles), "");
    EXPECT_EQ(campo_csv("a b", kConBlancos), "a b");
    EXPECT_EQ(campo_csv("a,b", kConBlancos), "\"a,b\"");
    EXPECT_EQ(campo_csv("a;b", kConBlancos), "a;b");
    EXPECT_EQ(campo_csv("dijo \"no\"", kConBlancos), "\"dijo \"\"no\"\"\"");
    EXPECT_EQ(campo_csv("\"", kConBlancos), "\"\"\"\"");
    EXPECT_EQ(campo_csv("a\r\nb", kConBlancos), "\"a\r\nb\"");
    EXPECT_EQ(campo_csv(" a", kConBlancos), "\" a\"");
    EXPECT_EQ(campo_csv("a\t", kConBlancos), "\"a\t\"");
    EXPECT_EQ(campo_csv("a\x1b", kConBlancos), "a\x1b");

    EXPECT_EQ(campo_csv(" a ", kConControles), " a ");
    EXPECT_EQ(campo_csv("a\tb", kConControles), "a\tb");
    EXPECT_EQ(campo_csv("a\x1b", kConControles), "\"a\x1b\"");
    EXPECT_EQ(campo_csv("a\x7f", kConControles), "\"a\x7f\"");
    EXPECT_EQ(campo_csv(std::string("a\0b", 3), kConControles), std::string("\"a\0b\"", 5));
    EXPECT_EQ(campo_csv("a\nb", kConControles), "\"a\nb\"");
    EXPECT_EQ(campo_csv("x,\"y\"", kConControles), "\"x,\"\"y\"\"\"");
}

// A field written by either rule and read back, between two others, is the
// same text, and the reader stops on the separator that follows it.
TEST(Comillas, LoEscritoSeLeeIgual)
{
    const std::vector<std::string> textos = {
        "",      "a",  ",",     "a,b",   "\"",      "\"\"", "a\"b\"",  " a ",   "\t",
        "a\r\n", "\r", "\n\nb", "  ,  ", "\"a\" b", "é;ü",  "\x1b[2J", "a\r\nb"};
    for (const ReglaComillas& regla : {kConBlancos, kConControles}) {
        for (const std::string& t : textos) {
            const std::string linea = "x," + campo_csv(t, regla) + ",y\r\n";
            std::size_t p = 2;
            std::string leido;
            if (linea[p] == '"') {
                const CampoEntreComillas q = lee_entre_comillas(linea, p, ',', leido);
                EXPECT_EQ(q.cierre, CierreComillas::bien) << linea;
            } else {
                const std::size_t fin = fin_de_campo(linea, p, ',');
                leido = linea.substr(p, fin - p);
                p = fin;
            }
            EXPECT_EQ(leido, t) << linea;
            EXPECT_EQ(linea.substr(p), ",y\r\n") << linea;
        }
    }
}

TEST(Comillas, LeeCampoEntreComillas)
{
    // Line ends inside the quotes are counted, CR LF as one; the other
    // separator and the blanks after the closing quote are passed over.
    std::string texto = "antes ";
    std::size_t p = 0;
    const std::string b = "\"a,\r\nb\rc\nd\"\"\" \t;x";
    CampoEntreComillas q = lee_entre_comillas(b, p, ';', texto);
    EXPECT_EQ(q.cierre, CierreComillas::bien);
    EXPECT_EQ(texto, "antes a,\r\nb\rc\nd\"");
    EXPECT_EQ(q.saltos_de_linea, 3);
    EXPECT_EQ(p, b.find(';'));

    // Closed at the end of the bytes, and at a line end (not consumed).
    texto.clear();
    p = 0;
    q = lee_entre_comillas("\"\"", p, ',', texto);
    EXPECT_EQ(q.cierre, CierreComillas::bien);
    EXPECT_EQ(texto, "");
    EXPECT_EQ(p, 2u);
    p = 0;
    q = lee_entre_comillas("\"a\"\r\n", p, ',', texto);
    EXPECT_EQ(q.cierre, CierreComillas::bien);
    EXPECT_EQ(p, 3u);

    // Something after the closing quote: what it is, up to the separator.
    texto.clear();
    p = 0;
    const std::string sobra = "\"a\"  b c;d";
    q = lee_entre_comillas(sobra, p, ';', texto);
    EXPECT_EQ(q.cierre, CierreComillas::sobra);
    EXPECT_EQ(q.sobrante, "b c");

    // A doubled quote at the end is text, not the closing one.
    for (const char* sin_cierre : {"\"abc", "\"ab\"\"", "\"", "\"a\r\n"}) {
        p = 0;
        EXPECT_EQ(lee_entre_comillas(sin_cierre, p, ',', texto).cierre, CierreComillas::sin_cierre)
            << sin_cierre;
    }
}

TEST(Comillas, FinDeCampo)
{
    EXPECT_EQ(fin_de_campo("ab,c", 0, ','), 2u);
    EXPECT_EQ(fin_de_campo("ab;c,d", 0, ';'), 2u);
    EXPECT_EQ(fin_de_campo("ab,c", 0, ';'), 4u);
    EXPECT_EQ(fin_de_campo("a b\rc", 0, ','), 3u);
    EXPECT_EQ(fin_de_campo("a b\nc", 1, ','), 3u);
    EXPECT_EQ(fin_de_campo("", 0, ','), 0u);
}

} // namespace
} // namespace tev
