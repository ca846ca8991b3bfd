#include "compute/tevarro.h"

#include "model/densidad.h"
#include "model/store.h"

namespace tev {

void calcula_cargas(Store& s, int i)
{
    // Airy, water-loaded. Every operation is single precision, the constant
    // ratio rho_w / (rho_m - rho_w) included.
    const float S = s.base_descomp[i];
    const float rho = s.densidad[i];
    const float delta = s.nivel_mar[i];
    const float W = s.paleobatimetria[i];
    const float contraste = static_cast<float>(kDensidadManto) - rho;
    const float producto = S * contraste;
    const float L = producto / static_cast<float>(kDensidadManto - kDensidadAgua);
    s.correccion_carga[i] = L;
    const float razon_agua =
        static_cast<float>(kDensidadAgua) / static_cast<float>(kDensidadManto - kDensidadAgua);
    const float nivel = delta * razon_agua;
    const float y = ((L - nivel) + W) - delta;
    s.tevarro_tectonica[i] = y;
}

} // namespace tev
