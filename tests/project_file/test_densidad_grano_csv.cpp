// A bed's own grain density in the CSV column: read, written back bit for
// bit, and reported when a project file would leave it out.

#include "model/store.h"
#include "project_file/csv_columna.h"
#include "project_file/formatos.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace tev {
namespace {

#define EXPECT_CONTAINS(texto, parte) EXPECT_NE((texto).find(parte), std::string::npos) << (texto)

const std::string kCabecera = "nombre,techo,base,edad_techo,edad_base,litologia,color,porosidad,"
                              "coef_porosidad,paleobatimetria,pct_arenisca,pct_pelita,"
                              "pct_caliza,pct_evaporita";

std::unique_ptr<Store> tres_bancos()
{
    auto s = std::make_unique<Store>();
    limpia_bancos(*s);
    s->n_bancos = 3;
    for (int i = 1; i <= 3; ++i) {
        s->techo[i] = static_cast<float>(300 - 100 * i);
        s->base[i] = static_cast<float>(400 - 100 * i);
        s->porosidad[i] = 0.3f;
        s->coef_porosidad[i] = 0.4f;
    }
    s->litologia[1] = "Carbón";
    s->densidad_grano[1] = 1350.25f;
    s->densidad_grano[3] = 2.0f / 3.0f * 4000; // not a short decimal
    s->notas[2] = "sin densidad propia";
    return s;
}

TEST(DensidadGranoCsv, IdaYVueltaBitABit)
{
    const auto s = tres_bancos();
    const EscrituraColumna w = escribe_csv(*s);
    ASSERT_TRUE(w.ok) << w.error;
    // After the fourteen, before the remarks; bed 2 has an empty cell.
    EXPECT_CONTAINS(w.bytes, kCabecera + ",densidad_grano,notas\r\n");
    EXPECT_CONTAINS(w.bytes, ",1350.25,\r\n");
    EXPECT_CONTAINS(w.bytes, ",,sin densidad propia\r\n");
    const LecturaColumna l = lee_csv(w.bytes, "ida.csv");
    ASSERT_TRUE(l.ok) << l.error;
    ASSERT_EQ(l.bancos.size(), 3u);
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(l.bancos[i - 1].densidad_grano, s->densidad_grano[i]) << i;

    auto vuelta = std::make_unique<Store>();
    carga_lectura(*vuelta, l);
    EXPECT_EQ(vuelta->densidad_grano[1], 1350.25f);
    EXPECT_EQ(vuelta->densidad_grano[2], 0.0f);
    // Read in, the bulk density is the own grains': 0.7 * 1350.25 + 300.
    EXPECT_NEAR(vuelta->densidad[1], 0.7 * 1350.25 + 300, 1e-3);
    EXPECT_EQ(escribe_csv(*vuelta).bytes, w.bytes);

    // No bed with one: no column, the bytes of before.
    auto sin = tres_bancos();
    for (int i = 1; i <= 3; ++i)
        sin->densidad_grano[i] = 0;
    EXPECT_EQ(escribe_csv(*sin).bytes.find("densidad_grano"), std::string::npos);
}

TEST(DensidadGranoCsv, ConPuntoYComaYComaDecimalEnCualquierLugar)
{
    const std::string bytes = "densidad_grano;nombre;techo;base;edad_techo;edad_base;litologia;"
                              "color;porosidad;coef_porosidad;paleobatimetria;pct_arenisca;"
                              "pct_pelita;pct_caliza;pct_evaporita\r\n"
                              "2700,5;A;0;1;0;1;Basalto;0;0,1;0,2;0;0;0;0;0\r\n"
                              " ;B;1;2;1;2;Areniscas;0;0,1;0,2;0;0;0;0;0\r\n";
    const LecturaColumna l = lee_csv(bytes, "hoja.csv");
    ASSERT_TRUE(l.ok) << l.error;
    EXPECT_EQ(l.bancos[0].densidad_grano, 2700.5f);
    EXPECT_EQ(l.bancos[1].densidad_grano, 0.0f);
    auto s = std::make_unique<Store>();
    carga_lectura(*s, l);
    // Written back in the file's own form, the column first.
    const std::string escrito = escribe_csv(*s).bytes;
    EXPECT_EQ(escrito.substr(0, escrito.find('\r')),
              bytes.substr(0, bytes.find('\r'))); // the header
    EXPECT_CONTAINS(escrito, "\r\n2700,5;A;0;1;0;1;Basalto;");
    EXPECT_CONTAINS(escrito, "\r\n;B;1;2;");
}

TEST(DensidadGranoCsv, UnaDensidadQueNoLoEsSeNombra)
{
    const std::string cab = kCabecera + ",densidad_grano\n";
    const std::string fila = "A,0,1,0,1,L,0,0,0,0,0,0,0,0,";
    EXPECT_CONTAINS(lee_csv(cab + fila + "0\n", "d.csv").error,
                    "No se pudo leer «d.csv»: fila 2 (banco 1), columna «densidad_grano»: «0» no "
                    "es una densidad de grano: debe ser mayor que 0 (kg/m³), o la celda vacía "
                    "para la de su litología.");
    EXPECT_CONTAINS(lee_csv(cab + fila + "-2650\n", "d.csv").error, "«-2650» no es una densidad");
    EXPECT_CONTAINS(lee_csv(cab + fila + "2650 kg\n", "d.csv").error,
                    "fila 2 (banco 1), columna «densidad_grano»: «2650 kg»");
    EXPECT_FALSE(lee_csv(cab + fila + "1e99\n", "d.csv").ok);
    EXPECT_CONTAINS(lee_csv(kCabecera + ",densidad_grano,DENSIDAD_GRANO\n", "d.csv").error,
                    "la cabecera (fila 1) nombra dos veces la columna «densidad_grano» (columnas "
                    "15 y 16).");
}

TEST(DensidadGranoCsv, UnArchivoDeProyectoNoLaGuarda)
{
    const auto s = tres_bancos();
    s->densidad_grano[4] = 2000; // past the column
    EXPECT_EQ(densidades_que_no_caben(*s, "/tmp/pozo.tev"), 2);
    EXPECT_EQ(densidades_que_no_caben(*s, "/tmp/pozo"), 2);
    EXPECT_EQ(densidades_que_no_caben(*s, "/tmp/pozo.Csv"), 0);
    s->densidad_grano[1] = 0;
    s->densidad_grano[3] = 0;
    EXPECT_EQ(densidades_que_no_caben(*s, "/tmp/pozo.tev"), 0);
}

} // namespace
} // namespace tev
