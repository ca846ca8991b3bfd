#include "project_file/columna.h"

#include "compute/nivel_mar.h"
#include "model/store.h"

#include <gtest/gtest.h>

#include <string>

namespace tev {
namespace {

TEST(CargaColumna, LlenaElStoreYCalculaDensidades)
{
    Store s;
    s.n_bancos = 5;
    for (int i = 1; i <= kMaxBancos; ++i)
        s.paleobatimetria[i] = 7.0f + i;
    s.nombre[4] = "viejo";

    s.notas[4] = "vieja";
    s.forma_csv.separador = ';';

    RegistroBanco a{"A", 0, 100, 40, 60, kAreniscas, 255, 0.49f, 0.27f, -20, 0, 0, 0, 0, "nota"};
    RegistroBanco b{"B", 100, 300, 60, 85, kPorcentual, 0, 0.5f, 0.3f, 10, 25, 25, 25, 25, ""};
    carga_columna(s, {a, b});

    EXPECT_EQ(s.n_bancos, 2);
    EXPECT_EQ(s.banco_actual, 1);
    EXPECT_EQ(s.nombre[1], "A");
    EXPECT_EQ(s.litologia[2], kPorcentual);
    EXPECT_EQ(s.color[1], 255);
    EXPECT_EQ(s.techo[2], 100.0f);
    EXPECT_EQ(s.edad_base[2], 85.0f);
    EXPECT_EQ(s.coef_porosidad[1], 0.27f);
    EXPECT_EQ(s.paleobatimetria[1], -20.0f);
    EXPECT_EQ(s.pct_caliza[2], 25.0f);
    EXPECT_EQ(s.notas[1], "nota");
    // Records alone are a column in the default form.
    EXPECT_EQ(s.forma_csv, FormaCsv{});
    // Slots beyond the column: every field cleared, nothing of the column
    // that was there before.
    EXPECT_EQ(s.nombre[4], "");
    EXPECT_EQ(s.notas[4], "");
    EXPECT_EQ(s.paleobatimetria[3], 0.0f);
    EXPECT_EQ(s.paleobatimetria[100], 0.0f);

    const float granos = 0.51f * 2650.0f;
    const float agua = 0.49f * 1000.0f;
    EXPECT_EQ(s.densidad[1], granos + agua);
    EXPECT_GT(s.densidad[2], 1800.0f);

    Store ref;
    ref.edad_techo[1] = 40;
    ref.edad_techo[2] = 60;
    buscatiempo(ref, 1);
    buscatiempo(ref, 2);
    EXPECT_EQ(s.nivel_mar[1], ref.nivel_mar[1]);
    EXPECT_EQ(s.nivel_mar[2], ref.nivel_mar[2]);
}

// Every field of the table goes into the store and comes back as it was: a
// field that carga_columna or registro_del_banco left out, or an entry of the
// table that named another field's member, comes back with another value.
TEST(RegistroDelBanco, DevuelveCadaCampoDeLaTabla)
{
    RegistroBanco r;
    for (int c = 0; c < kNumCampos; ++c) {
        const Campo& k = kCampos[c];
        switch (k.tipo) {
        case TipoCampo::texto:
            r.*k.texto = std::string("campo ") + k.clave;
            break;
        case TipoCampo::real:
            r.*k.real = 1.5f + static_cast<float>(c);
            break;
        case TipoCampo::entero:
            r.*k.entero = 1000 + c;
            break;
        }
    }
    r.notas = "una nota";
    Store s;
    carga_columna(s, {RegistroBanco{}, r});
    EXPECT_EQ(registro_del_banco(s, 2).notas, "una nota");
    const RegistroBanco v = registro_del_banco(s, 2);
    for (int c = 0; c < kNumCampos; ++c) {
        const Campo& k = kCampos[c];
        switch (k.tipo) {
        case TipoCampo::texto:
            EXPECT_EQ(v.*k.texto, std::string("campo ") + k.clave);
            break;
        case TipoCampo::real:
            EXPECT_EQ(v.*k.real, 1.5f + static_cast<float>(c)) << k.clave;
            break;
        case TipoCampo::entero:
            EXPECT_EQ(v.*k.entero, 1000 + c) << k.clave;
            break;
        }
    }
}

TEST(CargaColumna, SinBancos)
{
    Store s;
    s.n_bancos = 3;
    carga_columna(s, {});
    EXPECT_EQ(s.n_bancos, 0);
}

TEST(CargaColumna, LaLecturaTraeLaFormaDeSuArchivo)
{
    LecturaColumna l;
    l.ok = true;
    l.bancos.resize(2);
    l.bancos[1].notas = "arriba";
    l.forma.separador = ';';
    l.forma.columnas = {"notas"};
    Store s;
    carga_lectura(s, l);
    EXPECT_EQ(s.n_bancos, 2);
    EXPECT_EQ(s.notas[2], "arriba");
    EXPECT_EQ(s.forma_csv, l.forma);
}

} // namespace
} // namespace tev
