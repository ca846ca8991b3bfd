#include "text_forms/texto_tabulado.h"

#include <gtest/gtest.h>

namespace tev {
namespace {

TEST(TextoTabulado, FilasYCeldasComoLasEscribeUnaPlanilla)
{
    // CR LF and LF alike, an empty cell kept, the final line end no row.
    const FilasDeTexto f = lee_tabulado("a\tb\t\r\n1,5\t\t2\n");
    ASSERT_EQ(f.size(), 2u);
    EXPECT_EQ(f[0], (std::vector<std::string>{"a", "b", ""}));
    EXPECT_EQ(f[1], (std::vector<std::string>{"1,5", "", "2"}));
    // A last line without its line end is a row.
    EXPECT_EQ(lee_tabulado("x\ty").size(), 1u);
    EXPECT_TRUE(lee_tabulado("").empty());
}

TEST(TextoTabulado, CeldaEntreComillasConTabuladorYSaltoDeLinea)
{
    const FilasDeTexto f = lee_tabulado("\"dos\nlineas\"\t\"con \"\"comillas\"\"\ty tab\"\n");
    ASSERT_EQ(f.size(), 1u);
    ASSERT_EQ(f[0].size(), 2u);
    EXPECT_EQ(f[0][0], "dos\nlineas");
    EXPECT_EQ(f[0][1], "con \"comillas\"\ty tab");
    // Written back the same way, and read again to the same cells.
    const std::string t = escribe_tabulado(f);
    EXPECT_EQ(t, "\"dos\nlineas\"\t\"con \"\"comillas\"\"\ty tab\"\n");
    EXPECT_EQ(lee_tabulado(t), f);
}

TEST(TextoTabulado, NumerosConLaMarcaDecimalPedida)
{
    EXPECT_EQ(numero_con_marca(0.63f, ','), "0,63");
    EXPECT_EQ(numero_con_marca(0.63f, '.'), "0.63");
    EXPECT_EQ(numero_con_marca(2400.0f, ','), "2400");
    EXPECT_EQ(numero_con_marca(-12.5f, ','), "-12,5");
}

TEST(TextoTabulado, UnaCeldaSeLeeConPuntoOConComa)
{
    EXPECT_EQ(lee_numero_de_celda("0,63"), 0.63f);
    EXPECT_EQ(lee_numero_de_celda(" 0.63 "), 0.63f);
    EXPECT_EQ(lee_numero_de_celda("-2,5E3"), -2500.0f);
    // Both marks, two commas, words and an empty cell are no number.
    EXPECT_FALSE(lee_numero_de_celda("1.234,5"));
    EXPECT_FALSE(lee_numero_de_celda("1,2,3"));
    EXPECT_FALSE(lee_numero_de_celda("12 m"));
    EXPECT_FALSE(lee_numero_de_celda(""));
    EXPECT_FALSE(lee_numero_de_celda("1e60")); // beyond a single
    // The double behind the text, before it is rounded to a single.
    EXPECT_EQ(lee_doble_de_celda("33,3"), 33.3);
}

} // namespace
} // namespace tev
