#include "compute/tevarro.h"

#include "compute/busqueda_rapida.h"
#include "compute/ecuacion.h"
#include "model/store.h"

#include <cmath>

namespace tev {

namespace {

// The literal scan: every candidate from 1 m up, the first reaching the least
// residual kept; it stops at a candidate that overflows.
FalloCalculo barrido(const Ecuacion& ec, Descompactacion& salida)
{
    double mejor = kMejorInicial;
    bool elegido = false;
    for (int z2p = 1; z2p <= kCandidatos; ++z2p) {
        const double d = ec.diferencia(z2p);
        const double r = residuo_de(d);
        if (!finito(d) || !finito(r)) return FalloCalculo::desbordamiento;
        if (r < mejor) { // the first candidate reaching the minimum wins
            mejor = r;
            salida.techo_descomp = 0;
            salida.base_descomp = static_cast<float>(z2p);
            elegido = true;
        }
    }
    return elegido ? FalloCalculo::ninguno : FalloCalculo::sin_candidato;
}

// The search of one bed from its start: the fast search where it decides,
// the literal scan otherwise.
FalloCalculo descompacta_desde(const Comienzo& co, float phi, Descompactacion& salida)
{
    if (co.fallo != FalloCalculo::ninguno) return co.fallo;
    if (decide_sin_barrido(co, phi, salida)) return FalloCalculo::ninguno;
    return barrido(co.ec, salida);
}

ResultadoCalculo revisa_finitos(const Store& s, int i)
{
    const struct {
        float valor;
        CampoCalculo campo;
    } valores[] = {
        {s.densidad[i], CampoCalculo::densidad},
        {s.correccion_carga[i], CampoCalculo::correccion_carga},
        {s.tevarro_tectonica[i], CampoCalculo::tevarro_tectonica},
    };
    for (const auto& v : valores) {
        if (!std::isfinite(v.valor))
            return {FalloCalculo::no_finito, i, v.campo, std::isnan(v.valor)};
    }
    return {};
}

// Phase 2 for every bed, once phase 1 has ended well.
ResultadoCalculo cargas(Store& s)
{
    ResultadoCalculo resultado;
    for (int i = s.n_bancos; i >= 1; --i) {
        calcula_cargas(s, i);
        if (resultado.ok()) resultado = revisa_finitos(s, i);
    }
    return resultado;
}

// Bed i's outputs written to the store as its search left them.
void escribe(Store& s, int i, const Descompactacion& salida)
{
    s.techo_descomp[i] = salida.techo_descomp;
    s.base_descomp[i] = salida.base_descomp;
}

} // namespace

void limpia_estado_avx()
{
#if defined(__x86_64__)
    static const bool avx = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx") != 0;
    }();
    if (avx)
        asm volatile("vzeroupper" ::
                         : "xmm0", "xmm1", "xmm2", "xmm3", "xmm4", "xmm5", "xmm6", "xmm7", "xmm8",
                           "xmm9", "xmm10", "xmm11", "xmm12", "xmm13", "xmm14", "xmm15");
#endif
}

FalloCalculo descompacta_barrido(float z1, float z2, float phi, float c, Descompactacion& salida)
{
    limpia_estado_avx();
    Ecuacion ec{};
    exponenciales_extremos(z1, z2, c, ec);
    const FalloCalculo fallo = completa(z1, z2, phi, ec);
    if (fallo != FalloCalculo::ninguno) return fallo;
    return barrido(ec, salida);
}

FalloCalculo descompacta(float z1, float z2, float phi, float c, Descompactacion& salida)
{
    limpia_estado_avx();
    Comienzo co;
    comienza(z1, z2, phi, c, co);
    return descompacta_desde(co, phi, salida);
}

// The coefficient in 1/m lives in the search's inputs only: the table keeps
// it in 1/km as read, since multiplying by 1000 again could move its last
// bit, and every open and save would then drift the file.
ResultadoCalculo tevarro(Store& s)
{
    limpia_estado_avx();
    // Every bed's start is worked out before phase 1: it reads only the
    // bed's own inputs, which phase 1 leaves as they are.
    Comienzo comienzos[kSlots];
    comienza_columna(s, comienzos);
    for (int i = s.n_bancos; i >= 1; --i) {
        if (comienzos[i].ganador != 0) { // the common case, decided by its start
            s.techo_descomp[i] = 0;
            s.base_descomp[i] = static_cast<float>(comienzos[i].ganador);
            continue;
        }
        Descompactacion salida{s.techo_descomp[i], s.base_descomp[i]};
        const FalloCalculo fallo = descompacta_desde(comienzos[i], s.porosidad[i], salida);
        escribe(s, i, salida);
        if (fallo != FalloCalculo::ninguno) return {fallo, i};
    }
    return cargas(s);
}

ResultadoCalculo tevarro_barrido(Store& s)
{
    for (int i = s.n_bancos; i >= 1; --i) {
        const Entrada en = entrada(s, i);
        Descompactacion salida{s.techo_descomp[i], s.base_descomp[i]};
        const FalloCalculo fallo = descompacta_barrido(en.z1, en.z2, en.phi, en.c, salida);
        escribe(s, i, salida);
        if (fallo != FalloCalculo::ninguno) return {fallo, i};
    }
    return cargas(s);
}

std::string ResultadoCalculo::mensaje() const
{
    const std::string banco_txt = std::to_string(banco);
    switch (fallo) {
    case FalloCalculo::ninguno:
        return {};
    case FalloCalculo::division_por_cero:
        return "División por cero en el banco " + banco_txt +
               ": su coeficiente porosidad-profundidad es 0. "
               "Los bancos de encima quedan descompactados; no se calcularon las cargas.";
    case FalloCalculo::desbordamiento:
        return "Desbordamiento en el banco " + banco_txt +
               ": la descompactación no cabe en los números del programa (revise el "
               "coeficiente porosidad-profundidad y las profundidades). "
               "Los bancos de encima quedan descompactados; no se calcularon las cargas.";
    case FalloCalculo::sin_candidato:
        return "El banco " + banco_txt +
               " no se pudo descompactar: ningún espesor de 1 a 10000 m resuelve su "
               "ecuación (el residuo nunca baja de 100000; revise su techo, su base y su "
               "porosidad). Los bancos de encima quedan descompactados; no se calcularon las "
               "cargas.";
    case FalloCalculo::no_finito: {
        const char* que = campo == CampoCalculo::densidad           ? "la densidad"
                          : campo == CampoCalculo::correccion_carga ? "la corrección de carga"
                                                                    : "la subsidencia tectónica";
        const char* como = nan ? "no es un número (NaN)" : "es infinita";
        return std::string("Resultado no válido en el banco ") + banco_txt + ": " + que + " " +
               como +
               " (revise su porosidad, sus porcentajes, su paleobatimetría y sus "
               "profundidades). No se dibujan las curvas.";
    }
    }
    return {};
}

} // namespace tev
