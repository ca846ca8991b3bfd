// The user's sea-level curve as a CSV file.

#include "project_file/curva_nivel_mar.h"

#include <gtest/gtest.h>

namespace tev {
namespace {

#define EXPECT_CONTAINS(texto, parte) EXPECT_NE((texto).find(parte), std::string::npos) << (texto)

TEST(CurvaNivelMarCsv, SusPuntosOrdenadosPorEdad)
{
    const LecturaCurva l = lee_curva_nivel_mar("edad,nivel_mar\r\n"
                                               "100,50\r\n"
                                               "\r\n"
                                               "0, 0\r\n"
                                               "\"50\",1e2\r\n"
                                               "-10,-2.5",
                                               "c.csv");
    ASSERT_TRUE(l.ok) << l.error;
    EXPECT_EQ(l.curva.tipo, CurvaNivelMar::Tipo::usuario);
    EXPECT_EQ(l.curva.archivo, "c.csv");
    EXPECT_EQ(l.curva.edades, (std::vector<double>{-10, 0, 50, 100}));
    EXPECT_EQ(l.curva.niveles, (std::vector<double>{-2.5, 0, 100, 50}));

    // A spreadsheet in a Spanish locale: mark, semicolons, decimal commas,
    // the columns the other way round and in capitals.
    const LecturaCurva hoja =
        lee_curva_nivel_mar("\xEF\xBB\xBFNivel_Mar;EDAD\n12,5;0\n-0,25;10,5\n", "hoja.csv");
    ASSERT_TRUE(hoja.ok) << hoja.error;
    EXPECT_EQ(hoja.curva.edades, (std::vector<double>{0, 10.5}));
    EXPECT_EQ(hoja.curva.niveles, (std::vector<double>{12.5, -0.25}));
}

TEST(CurvaNivelMarCsv, LosErroresNombranArchivoLineaYColumna)
{
    const auto error = [](const std::string& bytes) {
        const LecturaCurva l = lee_curva_nivel_mar(bytes, "c.csv");
        EXPECT_FALSE(l.ok);
        return l.error;
    };
    const std::string pre = "No se pudo leer la curva del nivel del mar «c.csv»: ";
    EXPECT_EQ(error("edad,nivel_mar\n0,0\n10,abc\n"),
              pre + "línea 3, columna «nivel_mar»: «abc» no es un número.");
    EXPECT_EQ(error("edad,nivel_mar\n0,0\n,5\n"),
              pre + "línea 3, columna «edad»: falta el número.");
    EXPECT_EQ(error("edad,nivel_mar\n0,0\n10,2,5\n"),
              pre + "línea 3: tiene «5» en la celda 3, y la cabecera nombra 2 columnas (con comas "
                    "entre las columnas, los decimales van tras un punto).");
    EXPECT_EQ(error("edad,nivel_mar\n10,0\n0,1\n10,2\n"),
              pre + "las líneas 2 y 4 dan la misma edad; cada edad va una sola vez.");
    EXPECT_CONTAINS(error("edad,nivel,x\n"),
                    pre + "la cabecera (línea 1) tiene la columna «nivel»;");
    EXPECT_CONTAINS(error("edad,Edad\n"),
                    pre + "la cabecera (línea 1) nombra dos veces la columna «edad»;");
    EXPECT_CONTAINS(error("\nedad\n0\n"), pre + "a la cabecera (línea 2) le falta la columna "
                                                "«nivel_mar»;");
    EXPECT_CONTAINS(error("edad,nivel_mar\n"), pre + "el archivo no tiene puntos;");
    EXPECT_CONTAINS(error(""), pre + "el archivo está vacío;");
    EXPECT_CONTAINS(error("edad,nivel_mar\n0,1e400\n"), "«1e400» no es un número.");
}

TEST(CurvaNivelMarCsv, LaEleccionPorNombre)
{
    EXPECT_EQ(elige_curva("tabla").curva.tipo, CurvaNivelMar::Tipo::tabla);
    EXPECT_EQ(elige_curva("ninguno").curva.tipo, CurvaNivelMar::Tipo::ninguna);
    const LecturaCurva falta = elige_curva("/no/existe/curva.csv");
    EXPECT_FALSE(falta.ok);
    EXPECT_CONTAINS(falta.error, "No se pudo leer la curva del nivel del mar "
                                 "«/no/existe/curva.csv»: ");
}

} // namespace
} // namespace tev
