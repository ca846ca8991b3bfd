#include "compute/nivel_mar.h"

#include "model/store.h"

#include <gtest/gtest.h>

#include <memory>

namespace tev {
namespace {

float nivel_para(float edad)
{
    auto s = std::make_unique<Store>();
    s->edad_techo[4] = edad;
    s->nivel_mar[3] = 99;
    s->nivel_mar[5] = 99;
    buscatiempo(*s, 4);
    EXPECT_EQ(s->nivel_mar[3], 99.0f); // only bed 4 changes
    EXPECT_EQ(s->nivel_mar[5], 99.0f);
    return s->nivel_mar[4];
}

TEST(NivelMar, FilaMasCercana)
{
    EXPECT_EQ(nivel_para(0), 0.0f);
    EXPECT_EQ(nivel_para(20), 25.0f);
    EXPECT_EQ(nivel_para(95), 15.0f);
    EXPECT_EQ(nivel_para(85), 110.0f);
    EXPECT_EQ(nivel_para(61.5f), 100.0f);
    EXPECT_EQ(nivel_para(139), -20.0f);
}

TEST(NivelMar, EnLaMitadGanaLaFilaMasJoven)
{
    EXPECT_EQ(nivel_para(10), 0.0f);
    EXPECT_EQ(nivel_para(30), 25.0f);
    EXPECT_EQ(nivel_para(90), 110.0f);
    EXPECT_EQ(nivel_para(150), -20.0f);
    EXPECT_EQ(nivel_para(110), 15.0f);
}

TEST(NivelMar, FueraDeLaTabla)
{
    EXPECT_EQ(nivel_para(-5), 0.0f);
    EXPECT_EQ(nivel_para(400), -15.0f);
    EXPECT_EQ(nivel_para(900000), -15.0f);
    // A million Ma beyond every row: no row is taken.
    EXPECT_EQ(nivel_para(2000000), 0.0f);
    EXPECT_EQ(nivel_para(-1000000), 0.0f);
}

TEST(NivelMar, RepetirDaLoMismo)
{
    auto s = std::make_unique<Store>();
    s->edad_techo[1] = 47;
    buscatiempo(*s, 1);
    const float primera = s->nivel_mar[1];
    buscatiempo(*s, 1);
    EXPECT_EQ(s->nivel_mar[1], primera);
    EXPECT_EQ(primera, 70.0f);
}

// Points (0, 0), (50, 100), (100, 50): a rise then a fall.
CurvaNivelMar curva_de_prueba()
{
    CurvaNivelMar c;
    c.tipo = CurvaNivelMar::Tipo::usuario;
    c.archivo = "curva.csv";
    c.edades = {0, 50, 100};
    c.niveles = {0, 100, 50};
    return c;
}

TEST(CurvaNivelMar, LaTablaEsLaDeSiempreYNingunoEsCero)
{
    const CurvaNivelMar tabla;
    CurvaNivelMar ninguna;
    ninguna.tipo = CurvaNivelMar::Tipo::ninguna;
    for (float edad : {-5.0f, 0.0f, 10.0f, 50.0f, 85.0f, 95.0f, 150.0f, 1e7f}) {
        EXPECT_EQ(nivel_de_curva(tabla, edad), static_cast<double>(nivel_mar_de_edad(edad)));
        EXPECT_EQ(nivel_de_curva(ninguna, edad), 0.0);
    }
    EXPECT_EQ(nombre_de_curva(tabla), "");
    EXPECT_EQ(nombre_de_curva(ninguna), "ninguno");
    EXPECT_EQ(nombre_de_curva(curva_de_prueba()), "curva.csv");
}

TEST(CurvaNivelMar, LinealEntreSusPuntosYSusExtremosMasAlla)
{
    const CurvaNivelMar c = curva_de_prueba();
    EXPECT_EQ(nivel_de_curva(c, 0), 0.0);
    EXPECT_EQ(nivel_de_curva(c, 25), 50.0);
    EXPECT_EQ(nivel_de_curva(c, 50), 100.0);
    EXPECT_EQ(nivel_de_curva(c, 75), 75.0);
    EXPECT_EQ(nivel_de_curva(c, 90), 60.0);
    EXPECT_NEAR(nivel_de_curva(c, 10.1f), 2 * static_cast<double>(10.1f), 1e-12);
    EXPECT_EQ(nivel_de_curva(c, -3), 0.0);
    EXPECT_EQ(nivel_de_curva(c, 160), 50.0);
    CurvaNivelMar un_punto = c;
    un_punto.edades = {40};
    un_punto.niveles = {-12.5};
    EXPECT_EQ(nivel_de_curva(un_punto, 0), -12.5);
    EXPECT_EQ(nivel_de_curva(un_punto, 400), -12.5);

    // Every bed of the column, and none past it.
    auto s = std::make_unique<Store>();
    s->n_bancos = 2;
    s->edad_techo[1] = 60;
    s->edad_techo[2] = 5;
    s->edad_techo[3] = 25;
    pon_nivel_mar(*s, c);
    EXPECT_EQ(s->nivel_mar[1], 90.0f);
    EXPECT_EQ(s->nivel_mar[2], 10.0f);
    EXPECT_EQ(s->nivel_mar[3], 0.0f);
}

} // namespace
} // namespace tev
