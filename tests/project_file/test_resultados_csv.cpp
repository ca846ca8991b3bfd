// The results export in both forms on a small column worked out by hand.

#include "project_file/resultados_csv.h"

#include "compute/nivel_mar.h"
#include "model/store.h"

#include <gtest/gtest.h>

#include <memory>

namespace tev {
namespace {

// Two beds of sandstone (grains 2650 kg/m3) without porosity: the history
// moves no thickness. Bed 2 (0-100 m, top 0 Ma, sea level 0) over bed 1
// (100-300 m, top 150 Ma, sea level -20 m, water 50 m). With mantle 3300 and
// water 1000 kg/m3 the water-loaded tectonic subsidence is
//   at 0 Ma:   300 * 650 / 2300                          = 84.7826087 m
//   at 150 Ma: 200 * 650 / 2300 + 50 + 20 * 3300 / 2300  = 135.2173913 m
// and the rate from 150 Ma to 0 Ma (84.7826087 - 135.2173913) / 150 = -0.3362319 m/Ma.
// The per-bed results are set by hand, the load correction negative.
std::unique_ptr<Store> columna_a_mano()
{
    auto s = std::make_unique<Store>();
    s->n_bancos = 2;
    const struct {
        const char* nombre;
        float techo, base, edad_techo, edad_base, paleobatimetria;
        float nivel_mar, techo_descomp, base_descomp, correccion_carga, tectonica;
    } bancos[] = {
        {"Arenas, 2", 100, 300, 150, 160, 50, -20, 120.5f, 330.25f, -12.75f, 45.5f},
        {"Margas; grises", 0, 100, 0, 150, 0, 0, 0, 100.5f, 0.125f, -0.5f},
    };
    for (int i = 1; i <= 2; ++i) {
        const auto& b = bancos[i - 1];
        s->nombre[i] = b.nombre;
        s->litologia[i] = kAreniscas;
        s->techo[i] = b.techo;
        s->base[i] = b.base;
        s->edad_techo[i] = b.edad_techo;
        s->edad_base[i] = b.edad_base;
        s->porosidad[i] = 0;
        s->coef_porosidad[i] = 0.5f;
        s->paleobatimetria[i] = b.paleobatimetria;
        s->densidad[i] = 2650;
        s->nivel_mar[i] = b.nivel_mar;
        s->techo_descomp[i] = b.techo_descomp;
        s->base_descomp[i] = b.base_descomp;
        s->correccion_carga[i] = b.correccion_carga;
        s->tevarro_tectonica[i] = b.tectonica;
    }
    return s;
}

TEST(ResultadosCsv, PuntoYComaConComaDecimal)
{
    const auto s = columna_a_mano();
    EXPECT_EQ(resultados_csv(*s, "pozo 1.5.tev", {';', ','}),
              "archivo;banco;nombre;litologia;techo;base;edad_techo;edad_base;densidad;"
              "nivel_mar;techo_descomp;base_descomp;correccion_carga;tevarro_tectonica\r\n"
              "pozo 1.5.tev;1;Arenas, 2;Areniscas;100;300;150;160;2650;-20;120,5;330,25;"
              "-12,75;45,5\r\n"
              "pozo 1.5.tev;2;\"Margas; grises\";Areniscas;0;100;0;150;2650;0;0;100,5;0,125;"
              "-0,5\r\n"
              "\r\n"
              "archivo;edad;banco_superior;espesor_sedimentos;densidad_media;paleobatimetria;"
              "nivel_mar;subsidencia_total;subsidencia_tectonica;tasa_tectonica\r\n"
              "pozo 1.5.tev;0;2;300;2650;0;0;300;84,782609;\r\n"
              "pozo 1.5.tev;150;1;200;2650;50;-20;270;135,217391;-0,336232\r\n");
}

TEST(ResultadosCsv, ComasConPuntoDecimal)
{
    const auto s = columna_a_mano();
    EXPECT_EQ(resultados_csv(*s, "pozo 1.5.tev", {}),
              "archivo,banco,nombre,litologia,techo,base,edad_techo,edad_base,densidad,"
              "nivel_mar,techo_descomp,base_descomp,correccion_carga,tevarro_tectonica\r\n"
              "pozo 1.5.tev,1,\"Arenas, 2\",Areniscas,100,300,150,160,2650,-20,120.5,330.25,"
              "-12.75,45.5\r\n"
              "pozo 1.5.tev,2,Margas; grises,Areniscas,0,100,0,150,2650,0,0,100.5,0.125,"
              "-0.5\r\n"
              "\r\n"
              "archivo,edad,banco_superior,espesor_sedimentos,densidad_media,paleobatimetria,"
              "nivel_mar,subsidencia_total,subsidencia_tectonica,tasa_tectonica\r\n"
              "pozo 1.5.tev,0,2,300,2650,0,0,300,84.782609,\r\n"
              "pozo 1.5.tev,150,1,200,2650,50,-20,270,135.217391,-0.336232\r\n");
}

// A double quote and a line break ask for quotes in the semicolon form too.
TEST(ResultadosCsv, PuntoYComaEntrecomillaComillasYSaltosDeLinea)
{
    auto s = columna_a_mano();
    s->n_bancos = 1;
    s->nombre[1] = "Arenas\r\nrojas";
    const std::string t = resultados_csv(*s, "pozo \"B\".tev", {';', ','});
    EXPECT_NE(t.find("\r\n\"pozo \"\"B\"\".tev\";1;\"Arenas\r\nrojas\";Areniscas;100;"),
              std::string::npos)
        << t;
    EXPECT_NE(t.find("\r\n\"pozo \"\"B\"\".tev\";150;1;200;"), std::string::npos) << t;
}

TEST(ResultadosCsv, UnaCurvaQueNoEsLaTablaSeNombraEnCadaLinea)
{
    // No sea level: at 150 Ma 200 * 650 / 2300 + 50 = 106.5217391 m; the
    // rate (84.7826087 - 106.5217391) / 150 = -0.1449275 m/Ma.
    const auto s = columna_a_mano();
    CurvaNivelMar ninguna;
    ninguna.tipo = CurvaNivelMar::Tipo::ninguna;
    const std::string t = resultados_csv(*s, "p.tev", {';', ','}, ninguna);
    EXPECT_NE(t.find(";correccion_carga;tevarro_tectonica;curva_nivel_mar\r\n"), std::string::npos);
    EXPECT_NE(t.find(";100,5;0,125;-0,5;ninguno\r\n"), std::string::npos) << t;
    EXPECT_NE(t.find(";subsidencia_tectonica;tasa_tectonica;curva_nivel_mar\r\n"),
              std::string::npos);
    EXPECT_NE(t.find("p.tev;150;1;200;2650;50;0;250;106,521739;-0,144928;ninguno\r\n"),
              std::string::npos)
        << t;
    // The table: the bytes of before.
    EXPECT_EQ(resultados_csv(*s, "p.tev", {';', ','}, CurvaNivelMar{}),
              resultados_csv(*s, "p.tev", {';', ','}));
}

} // namespace
} // namespace tev
