// The user's rocks as CSV: a round trip bit for bit, and every refusal naming
// the file, the row and the column.

#include "project_file/litologias_csv.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace tev {
namespace {

bool contiene(const std::string& t, const std::string& parte)
{
    return t.find(parte) != std::string::npos;
}

TEST(LitologiasCsv, IdaYVueltaBitABit)
{
    // Values no short decimal holds, a comma and quotes in a name, accents.
    const std::vector<LitologiaUsuario> rocas = {
        {"Carbón", 1400.5f, 0.3f, 0.55f},
        {"Marga, \"gris\"", 2.7e3f, 1.0f / 3.0f, 0.1f / 7.0f},
        {"Basalto", 2900, 0, 1e-5f},
    };
    const std::string bytes = escribe_litologias_csv(rocas);
    EXPECT_EQ(bytes.rfind("\xEF\xBB\xBFnombre,densidad_grano,porosidad,coef_porosidad\r\n", 0), 0u);
    const LecturaLitologias l = lee_litologias_csv(bytes, "rocas.csv");
    ASSERT_TRUE(l.ok) << l.error;
    ASSERT_EQ(l.rocas.size(), rocas.size());
    for (std::size_t i = 0; i < rocas.size(); ++i) {
        EXPECT_EQ(l.rocas[i].nombre, rocas[i].nombre);
        for (const auto campo : {&LitologiaUsuario::densidad_grano, &LitologiaUsuario::porosidad,
                                 &LitologiaUsuario::coef_porosidad}) {
            const float a = l.rocas[i].*campo;
            const float b = rocas[i].*campo;
            EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0) << i;
        }
    }
}

TEST(LitologiasCsv, OtroOrdenPuntoYComaYComaDecimal)
{
    const LecturaLitologias l = lee_litologias_csv(
        "porosidad;Nombre;coef_porosidad;densidad_grano\n\n0,25; Lignito ;0,6;1300\n", "x.csv");
    ASSERT_TRUE(l.ok) << l.error;
    ASSERT_EQ(l.rocas.size(), 1u);
    EXPECT_EQ(l.rocas[0].nombre, "Lignito");
    EXPECT_EQ(l.rocas[0].porosidad, 0.25f);
    EXPECT_EQ(l.rocas[0].coef_porosidad, 0.6f);
    EXPECT_EQ(l.rocas[0].densidad_grano, 1300.0f);
}

TEST(LitologiasCsv, LosErroresNombranArchivoFilaYColumna)
{
    const std::string cab = "nombre,densidad_grano,porosidad,coef_porosidad\n";
    struct Caso {
        std::string bytes;
        std::string se_espera;
    };
    const Caso casos[] = {
        {"", "No se pudo leer «r.csv»: el archivo está vacío"},
        {"nombre,densidad_grano,porosidad\nA,1,0.1\n", "la cabecera (fila 1) no tiene la columna "
                                                       "«coef_porosidad»"},
        {"nombre,densidad,porosidad,coef_porosidad\n", "la cabecera (fila 1) tiene la columna "
                                                       "«densidad»"},
        {cab + "Basalto,2900,0.1,0.3\nCarbón,1,2,3\n", "fila 3, columna «porosidad»: la porosidad "
                                                       "en superficie es 2"},
        {cab + "Basalto,abc,0.1,0.3\n", "fila 2, columna «densidad_grano»: «abc»"},
        {cab + "Basalto,0,0.1,0.3\n",
         "fila 2, columna «densidad_grano»: la densidad de grano es 0"},
        {cab + "Basalto,2900,0.1,0\n", "fila 2, columna «coef_porosidad»: el coeficiente"},
        {cab + "Basalto,2900,0.1,\n", "fila 2, columna «coef_porosidad»: falta el número"},
        {cab + "Basalto,2900,0.1,0.3\nBASALTO,2800,0.1,0.3\n",
         "fila 3, columna «nombre»: «BASALTO» ya es el nombre de otra litología del usuario "
         "(«Basalto»)"},
        {cab + "areniscas,2900,0.1,0.3\n", "fila 2, columna «nombre»: «areniscas» es una de las "
                                           "litologías del programa («Areniscas»)"},
        {cab + "Porcentual,2900,0.1,0.3\n", "es una de las litologías del programa («PORCENTUAL»)"},
        {cab + ",2900,0.1,0.3\n", "fila 2, columna «nombre»: falta el nombre"},
        {cab + "Basalto,2900,0.1,0.3,7\n", "fila 2: tiene «7» en la celda 5"},
        {cab + "\"Basalto,2900,0.1,0.3\n", "fila 2: unas comillas no se cierran"},
    };
    for (const Caso& c : casos) {
        const LecturaLitologias l = lee_litologias_csv(c.bytes, "r.csv");
        EXPECT_FALSE(l.ok) << c.bytes;
        EXPECT_TRUE(l.rocas.empty() || !l.ok);
        EXPECT_EQ(l.error.rfind("No se pudo leer «r.csv»: ", 0), 0u) << l.error;
        EXPECT_TRUE(contiene(l.error, c.se_espera))
            << l.error << "\n  se esperaba: " << c.se_espera;
    }
}

TEST(LitologiasCsv, UnArchivoQueNoExisteSeNombra)
{
    const LecturaLitologias l = lee_archivo_litologias("/no/existe/litologias.csv");
    EXPECT_FALSE(l.ok);
    EXPECT_TRUE(contiene(l.error, "«/no/existe/litologias.csv»")) << l.error;
}

} // namespace
} // namespace tev
