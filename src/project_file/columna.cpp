#include "project_file/columna.h"

#include "compute/nivel_mar.h"
#include "model/densidad.h"
#include "model/store.h"

#include <algorithm>

namespace tev {

RegistroBanco registro_del_banco(const Store& s, int i)
{
    RegistroBanco r;
    r.nombre = s.nombre[i];
    r.techo = s.techo[i];
    r.base = s.base[i];
    r.edad_techo = s.edad_techo[i];
    r.edad_base = s.edad_base[i];
    r.litologia = s.litologia[i];
    r.color = s.color[i];
    r.porosidad = s.porosidad[i];
    r.coef_porosidad = s.coef_porosidad[i];
    r.paleobatimetria = s.paleobatimetria[i];
    r.pct_arenisca = s.pct_arenisca[i];
    r.pct_pelita = s.pct_pelita[i];
    r.pct_caliza = s.pct_caliza[i];
    r.pct_evaporita = s.pct_evaporita[i];
    r.notas = s.notas[i];
    r.densidad_grano = s.densidad_grano[i];
    r.rangos = s.rangos[i];
    return r;
}

void carga_columna(Store& s, const std::vector<RegistroBanco>& bancos)
{
    limpia_bancos(s);
    const int n = static_cast<int>(std::min<size_t>(bancos.size(), kMaxBancos));
    for (int k = 1; k <= n; ++k) {
        const RegistroBanco& r = bancos[k - 1];
        s.nombre[k] = r.nombre;
        s.techo[k] = r.techo;
        s.base[k] = r.base;
        s.edad_techo[k] = r.edad_techo;
        s.edad_base[k] = r.edad_base;
        s.litologia[k] = r.litologia;
        s.color[k] = r.color;
        s.porosidad[k] = r.porosidad;
        s.coef_porosidad[k] = r.coef_porosidad;
        s.paleobatimetria[k] = r.paleobatimetria;
        s.pct_arenisca[k] = r.pct_arenisca;
        s.pct_pelita[k] = r.pct_pelita;
        s.pct_caliza[k] = r.pct_caliza;
        s.pct_evaporita[k] = r.pct_evaporita;
        s.notas[k] = r.notas;
        s.densidad_grano[k] = r.densidad_grano;
        s.rangos[k] = r.rangos;
        buscatiempo(s, k);
    }
    s.n_bancos = static_cast<int16_t>(n);
    for (int j = 1; j <= n; ++j)
        calcula_densidad(s, j);
}

void carga_lectura(Store& s, const LecturaColumna& lectura)
{
    carga_columna(s, lectura.bancos);
    s.forma_csv = lectura.forma;
}

} // namespace tev
