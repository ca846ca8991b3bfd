// A bed's own uncertainty ranges in the CSV column: read, written back bit
// for bit, refused when unsound, and reported when a project file would leave
// them out.

#include "model/store.h"
#include "project_file/csv_columna.h"
#include "project_file/formatos.h"

#include <gtest/gtest.h>

#include <memory>

namespace tev {
namespace {

#define EXPECT_CONTAINS(texto, parte) EXPECT_NE((texto).find(parte), std::string::npos) << (texto)

const std::string kCabecera = "nombre,techo,base,edad_techo,edad_base,litologia,color,porosidad,"
                              "coef_porosidad,paleobatimetria,pct_arenisca,pct_pelita,"
                              "pct_caliza,pct_evaporita";

std::unique_ptr<Store> dos_bancos()
{
    auto s = std::make_unique<Store>();
    limpia_bancos(*s);
    s->n_bancos = 2;
    for (int i = 1; i <= 2; ++i) {
        s->techo[i] = static_cast<float>(100 * (i - 1));
        s->base[i] = static_cast<float>(100 * i);
        s->edad_techo[i] = static_cast<float>(10 * (i - 1));
        s->edad_base[i] = static_cast<float>(10 * i);
        s->porosidad[i] = 0.3f;
        s->coef_porosidad[i] = 0.4f;
        s->paleobatimetria[i] = 50;
    }
    Rango& agua = s->rangos[1].paleobatimetria;
    agua.hay_min = agua.hay_max = true;
    agua.min = 20;
    agua.max = 1.0f / 3.0f * 300;           // not a short decimal
    s->rangos[2].edad_techo.hay_max = true; // one end only: the other is the value
    s->rangos[2].edad_techo.max = 12.5f;
    s->rangos[2].porosidad.hay_min = true;
    s->rangos[2].porosidad.min = 0.25f;
    s->notas[1] = "con notas";
    return s;
}

TEST(RangosCsv, IdaYVueltaBitABit)
{
    const auto s = dos_bancos();
    const EscrituraColumna w = escribe_csv(*s);
    ASSERT_TRUE(w.ok) << w.error;
    // Only the ends some bed has, in a fixed order, before the remarks.
    EXPECT_CONTAINS(w.bytes, kCabecera + ",paleobatimetria_min,paleobatimetria_max,edad_techo_max,"
                                         "porosidad_min,notas\r\n");
    EXPECT_CONTAINS(w.bytes, ",20,100,,,con notas\r\n");
    EXPECT_CONTAINS(w.bytes, ",,,12.5,0.25,\r\n");
    const LecturaColumna l = lee_csv(w.bytes, "ida.csv");
    ASSERT_TRUE(l.ok) << l.error;
    auto vuelta = std::make_unique<Store>();
    carga_lectura(*vuelta, l);
    for (int i = 1; i <= 2; ++i)
        EXPECT_TRUE(vuelta->rangos[i] == s->rangos[i]) << i;
    EXPECT_FALSE(vuelta->rangos[2].edad_techo.hay_min);
    EXPECT_EQ(escribe_csv(*vuelta).bytes, w.bytes);

    // Without ranges no column of them is written, and the reset clears them.
    limpia_bancos(*vuelta);
    EXPECT_FALSE(vuelta->rangos[1].alguno());
    const auto sin = dos_bancos();
    for (int i = 1; i <= 2; ++i)
        sin->rangos[i] = RangosBanco{};
    EXPECT_EQ(escribe_csv(*sin).bytes.find("_min"), std::string::npos);
}

TEST(RangosCsv, ColumnasEnCualquierOrdenConComaDecimal)
{
    const std::string bytes = "coef_porosidad_max;nombre;techo;base;edad_techo;edad_base;litologia;"
                              "color;porosidad;coef_porosidad;paleobatimetria;pct_arenisca;"
                              "pct_pelita;pct_caliza;pct_evaporita;COEF_POROSIDAD_MIN\n"
                              "0,5;a;0;10;0;1;Areniscas;0;0,3;0,4;0;0;0;0;0;0,35\n";
    const LecturaColumna l = lee_csv(bytes, "r.csv");
    ASSERT_TRUE(l.ok) << l.error;
    const Rango& c = l.bancos[0].rangos.coef_porosidad;
    EXPECT_TRUE(c.hay_min && c.hay_max);
    EXPECT_EQ(c.min, 0.35f);
    EXPECT_EQ(c.max, 0.5f);
    EXPECT_FALSE(l.bancos[0].rangos.paleobatimetria.hay());
}

// A row of one bed (water depth 50, top age 0, porosity 0.3, coefficient
// 0.4) with the extra cells given.
std::string fila(const std::string& columnas, const std::string& celdas)
{
    return kCabecera + "," + columnas + "\na,0,10,0,1,Areniscas,0,0.3,0.4,50,0,0,0,0," + celdas +
           "\n";
}

TEST(RangosCsv, ErroresNombranFilaYColumna)
{
    EXPECT_EQ(lee_csv(fila("porosidad_min,porosidad_max", "0.35,0.2"), "r.csv").error,
              "No se pudo leer «r.csv»: fila 2 (banco 1), columna «porosidad_min»: el mínimo "
              "0.35 es mayor que el máximo 0.2 (columna «porosidad_max»).");
    EXPECT_EQ(lee_csv(fila("paleobatimetria_min", "60"), "r.csv").error,
              "No se pudo leer «r.csv»: fila 2 (banco 1), columna «paleobatimetria_min»: el "
              "mínimo 60 deja fuera el valor del banco, 50 (columna «paleobatimetria»).");
    EXPECT_EQ(lee_csv(fila("edad_techo_min,edad_techo_max", ",-1"), "r.csv").error,
              "No se pudo leer «r.csv»: fila 2 (banco 1), columna «edad_techo_max»: el "
              "máximo -1 deja fuera el valor del banco, 0 (columna «edad_techo»).");
    EXPECT_CONTAINS(lee_csv(fila("coef_porosidad_max", "mucho"), "r.csv").error,
                    "fila 2 (banco 1), columna «coef_porosidad_max»: «mucho»");
    EXPECT_CONTAINS(lee_csv(fila("porosidad_min,Porosidad_Min", ","), "r.csv").error,
                    "nombra dos veces la columna «porosidad_min» (columnas 15 y 16)");
    // The ends equal to the value are sound.
    EXPECT_TRUE(lee_csv(fila("paleobatimetria_min,paleobatimetria_max", "50,50"), "r.csv").ok);
}

TEST(RangosCsv, UnArchivoDeProyectoLosDejaFuera)
{
    const auto s = dos_bancos();
    EXPECT_EQ(rangos_que_no_caben(*s, "/tmp/pozo.tev"), 2);
    EXPECT_EQ(rangos_que_no_caben(*s, "/tmp/pozo.CSV"), 0);
    s->rangos[2] = RangosBanco{};
    EXPECT_EQ(rangos_que_no_caben(*s, "/tmp/pozo.tev"), 1);
}

} // namespace
} // namespace tev
