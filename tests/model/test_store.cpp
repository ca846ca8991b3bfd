#include "model/store.h"

#include <gtest/gtest.h>

#include <memory>

namespace tev {
namespace {

TEST(Store, ArranqueDejaLaColumnaVaciaConSusValoresPorDefecto)
{
    auto s = std::make_unique<Store>();
    valores_de_arranque(*s);
    EXPECT_EQ(s->n_bancos, 0);
    EXPECT_EQ(s->banco_actual, 0);
    EXPECT_EQ(s->factor_zoom, 0.5f);
    for (int i = 1; i <= kMaxBancos; ++i) {
        EXPECT_EQ(s->color[i], 0xFFFFFF);
        EXPECT_EQ(s->litologia[i], "Areniscas");
    }
    EXPECT_EQ(s->color[0], 0); // slot 0 is never a bed
    EXPECT_TRUE(s->litologia[0].empty());
}

TEST(Store, LimpiaBancosDejaUnBancoVacio)
{
    auto s = std::make_unique<Store>();
    for (int i = 0; i <= kMaxBancos; ++i) {
        s->nombre[i] = "x";
        s->notas[i] = "nota";
        s->techo[i] = s->base[i] = s->porosidad[i] = s->coef_porosidad[i] = 5;
        s->edad_techo[i] = s->edad_base[i] = 7;
        s->litologia[i] = "Calizas";
        s->color[i] = 0x0000FF;
        s->paleobatimetria[i] = 120;
        s->pct_arenisca[i] = 11;
        s->pct_pelita[i] = 22;
        s->pct_caliza[i] = 33;
        s->pct_evaporita[i] = 34;
        s->densidad[i] = 2000;
        s->techo_descomp[i] = 9;
        s->base_descomp[i] = 33;
        s->nivel_mar[i] = 70;
        s->correccion_carga[i] = 44;
        s->tevarro_tectonica[i] = 55;
    }
    s->n_bancos = 40;
    s->banco_actual = 12;
    s->factor_zoom = 0.25f;
    s->forma_csv.separador = ';';
    s->forma_csv.columnas = {"notas"};
    limpia_bancos(*s);

    EXPECT_EQ(s->n_bancos, 1);
    EXPECT_EQ(s->banco_actual, 1);
    EXPECT_EQ(s->factor_zoom, 0.25f);
    EXPECT_EQ(s->forma_csv, FormaCsv{});
    for (int i = 1; i <= kMaxBancos; ++i) {
        // The fourteen stored fields, every one at its start value.
        EXPECT_TRUE(s->nombre[i].empty());
        EXPECT_TRUE(s->notas[i].empty());
        EXPECT_EQ(s->techo[i], 0.0f);
        EXPECT_EQ(s->base[i], 0.0f);
        EXPECT_EQ(s->edad_techo[i], 0.0f);
        EXPECT_EQ(s->edad_base[i], 0.0f);
        EXPECT_EQ(s->litologia[i], "Areniscas");
        EXPECT_EQ(s->color[i], 0xFFFFFF);
        EXPECT_EQ(s->porosidad[i], 0.0f);
        EXPECT_EQ(s->coef_porosidad[i], 0.0f);
        EXPECT_EQ(s->paleobatimetria[i], 0.0f) << i;
        EXPECT_EQ(s->pct_arenisca[i], 0.0f) << i;
        EXPECT_EQ(s->pct_pelita[i], 0.0f) << i;
        EXPECT_EQ(s->pct_caliza[i], 0.0f) << i;
        EXPECT_EQ(s->pct_evaporita[i], 0.0f) << i;
        // The decompacted depths, which the column view draws at once.
        EXPECT_EQ(s->techo_descomp[i], 0.0f) << i;
        EXPECT_EQ(s->base_descomp[i], 0.0f) << i;
        // Not reset: the other computed values.
        EXPECT_EQ(s->densidad[i], 2000.0f);
        EXPECT_EQ(s->nivel_mar[i], 70.0f);
        EXPECT_EQ(s->correccion_carga[i], 44.0f);
        EXPECT_EQ(s->tevarro_tectonica[i], 55.0f);
    }
    // Slot 0 is left alone.
    EXPECT_EQ(s->nombre[0], "x");
    EXPECT_EQ(s->litologia[0], "Calizas");
    EXPECT_EQ(s->paleobatimetria[0], 120.0f);
}

} // namespace
} // namespace tev
