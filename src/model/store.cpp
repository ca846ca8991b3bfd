#include "model/store.h"

namespace tev {

void limpia_bancos(Store& s)
{
    for (int i = 1; i <= kMaxBancos; ++i) {
        s.litologia[i] = kAreniscas;
        s.techo[i] = 0;
        s.base[i] = 0;
        s.porosidad[i] = 0;
        s.coef_porosidad[i] = 0;
        s.edad_techo[i] = 0;
        s.edad_base[i] = 0;
        s.nombre[i].clear();
        s.notas[i].clear();
        s.densidad_grano[i] = 0;
        s.rangos[i] = RangosBanco{};
        s.color[i] = kBlanco;
        s.paleobatimetria[i] = 0;
        s.pct_arenisca[i] = 0;
        s.pct_pelita[i] = 0;
        s.pct_caliza[i] = 0;
        s.pct_evaporita[i] = 0;
        // Drawn by the column view before any computation of the new column.
        s.techo_descomp[i] = 0;
        s.base_descomp[i] = 0;
    }
    s.forma_csv = FormaCsv{};
    s.banco_actual = 1;
    s.n_bancos = 1;
}

void valores_de_arranque(Store& s)
{
    for (int i = 1; i <= kMaxBancos; ++i) {
        s.color[i] = kBlanco;
        s.litologia[i] = kAreniscas;
    }
    s.factor_zoom = 0.5f;
}

} // namespace tev
