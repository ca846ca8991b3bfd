#include "compute/tevarro.h"

#include "model/store.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tev {

namespace {

constexpr int kCandidatos = 10000;       // candidates 1 m .. 10000 m
constexpr double kMejorInicial = 100000; // starting best residual

// The right-hand side of the decompaction equation for one bed, split into
// the part that does not depend on the candidate and the candidate's own
// term. Every candidate is evaluated through residuo(), by the scan and by the
// fast search alike, so both see the very same bits.
struct Ecuacion {
    float c;       // 1/m
    double q;      // phi / c
    double fija;   // (z2 - z1) - q (e^-c z1 - e^-c z2)
    double e_cero; // e^-(c * 0), formed like the candidate term

    // Signed difference T' - R for candidate z2'; NaN or infinite on overflow.
    [[nodiscard]] double diferencia(int z2p) const
    {
        const float producto = c * static_cast<float>(z2p); // single precision
        const double e = std::exp(-static_cast<double>(producto));
        const double r = fija + q * (e_cero - e);
        return static_cast<double>(z2p) - r;
    }
};

bool finito(double v)
{
    return std::isfinite(v);
}

// Builds the candidate-independent part. Fails as the first candidate would.
FalloCalculo prepara(float z1, float z2, float phi, float c, Ecuacion& ec)
{
    if (c == 0.0f) return FalloCalculo::division_por_cero;
    const double cd = c;
    const double e1 = std::exp(-cd * static_cast<double>(z1));
    const double e2 = std::exp(-cd * static_cast<double>(z2));
    ec.c = c;
    ec.q = static_cast<double>(phi) / cd;
    ec.fija = (static_cast<double>(z2) - static_cast<double>(z1)) - ec.q * (e1 - e2);
    ec.e_cero = std::exp(-static_cast<double>(c * 0.0f));
    if (!finito(e1) || !finito(e2) || !finito(ec.q) || !finito(ec.fija) || !finito(ec.e_cero))
        return FalloCalculo::desbordamiento;
    return FalloCalculo::ninguno;
}

// |T' - R| as the residual is defined: the root of the square.
bool residuo(const Ecuacion& ec, int z2p, double& r)
{
    const double d = ec.diferencia(z2p);
    r = std::sqrt(d * d);
    return finito(d) && finito(r);
}

FalloCalculo barrido(const Ecuacion& ec, Descompactacion& salida)
{
    double mejor = kMejorInicial;
    bool elegido = false;
    for (int z2p = 1; z2p <= kCandidatos; ++z2p) {
        double r = 0;
        if (!residuo(ec, z2p, r)) return FalloCalculo::desbordamiento;
        if (r < mejor) { // the first candidate reaching the minimum wins
            mejor = r;
            salida.techo_descomp = 0;
            salida.base_descomp = static_cast<float>(z2p);
            elegido = true;
        }
    }
    return elegido ? FalloCalculo::ninguno : FalloCalculo::sin_candidato;
}

// Fast search, valid where the exact residual T' - R(T') is non-decreasing in
// T' (c > 0 and porosity in [0, 1]): its slope is 1 - phi e^-cT' >= 0. The
// computed difference departs from the exact one by at most `margen`, so a
// candidate outside a window [a, b] can only beat the window's best if
//   - before a:  -(d(a) + 2 margen) <= best   (an equal earlier one wins), or
//   - after b:    d(b) - 2 margen  <  best.
// The window grows until neither can happen; otherwise we fall back to the
// scan. Returns false when the scan must decide.
bool busqueda_rapida(const Ecuacion& ec, float z1, float z2, float phi, Descompactacion& salida)
{
    if (!(ec.c > 0.0f) || !(phi >= 0.0f && phi <= 1.0f)) return false;
    if (!finito(z1) || !finito(z2)) return false;
    if (!std::isfinite(ec.c * static_cast<float>(kCandidatos))) return false;
    if (!(std::fabs(ec.fija) + std::fabs(ec.q) < 1e300)) return false;

    constexpr double eps = std::numeric_limits<double>::epsilon();
    const double cd = ec.c;
    const double e1 = std::exp(-cd * static_cast<double>(z1));
    const double e2 = std::exp(-cd * static_cast<double>(z2));
    const double q = std::fabs(ec.q);
    // Rounding of z2 - z1, of q, of both exponentials (argument and result),
    // of their difference, the products and sums: a generous multiple of eps.
    const double magnitud =
        std::fabs(static_cast<double>(z2) - static_cast<double>(z1)) + std::fabs(ec.fija) +
        q * (e1 + e2) * (4 + std::fabs(cd * z1) + std::fabs(cd * z2)) + 4 * q + 2 * kCandidatos;
    // The single-precision product c*T' moves the exponent by up to
    // |cT'| 2^-24; q e^-cT' |cT'| = phi T' e^-cT' <= phi * 10000.
    const double termino_simple =
        std::min(q * 0.36788, static_cast<double>(phi) * kCandidatos * 1.001) * 0x1p-24;
    const double margen = 4 * (16 * eps * magnitud + termino_simple * 1.01) + 1e-300;
    if (!finito(margen) || margen > 0.05) return false;

    double d_tmp = 0;
    auto dif = [&](int t) {
        d_tmp = ec.diferencia(t);
        return d_tmp;
    };

    // First candidate whose difference is not negative, by bisection.
    int k;
    const double d_primero = dif(1);
    const double d_ultimo = dif(kCandidatos);
    if (!finito(d_primero) || !finito(d_ultimo)) return false;
    if (d_primero >= 0) {
        k = 1;
    } else if (d_ultimo < 0) {
        k = kCandidatos;
    } else {
        int lo = 1, hi = kCandidatos;
        while (hi - lo > 1) {
            const int mid = lo + (hi - lo) / 2;
            if (dif(mid) >= 0)
                hi = mid;
            else
                lo = mid;
        }
        k = hi;
    }

    constexpr int kVentanaMaxima = 256;
    int a = std::max(1, k - 1);
    int b = std::min(kCandidatos, k + 1);
    while (b - a < kVentanaMaxima) {
        double mejor = kMejorInicial;
        int ganador = 0;
        for (int t = a; t <= b; ++t) {
            double r = 0;
            if (!residuo(ec, t, r)) return false;
            if (r < mejor) {
                mejor = r;
                ganador = t;
            }
        }
        if (ganador == 0 || mejor >= kMejorInicial / 2) return false;
        const bool izquierda_ok = a == 1 || -(dif(a) + 2 * margen) > mejor;
        const bool derecha_ok = b == kCandidatos || dif(b) - 2 * margen >= mejor;
        if (izquierda_ok && derecha_ok) {
            salida.techo_descomp = 0;
            salida.base_descomp = static_cast<float>(ganador);
            return true;
        }
        if (!izquierda_ok) --a;
        if (!derecha_ok) ++b;
    }
    return false;
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

using Descompactador = FalloCalculo (*)(float, float, float, float, Descompactacion&);

ResultadoCalculo calcula(Store& s, Descompactador descompactar)
{
    for (int i = s.n_bancos; i >= 1; --i) {
        const float coef_leido = s.coef_porosidad[i];
        // The coefficient is held in 1/m only while this bed is searched.
        s.coef_porosidad[i] = coef_leido / 1000.0f;
        Descompactacion salida{s.techo_descomp[i], s.base_descomp[i]};
        const FalloCalculo fallo =
            descompactar(s.techo[i], s.base[i], s.porosidad[i], s.coef_porosidad[i], salida);
        s.techo_descomp[i] = salida.techo_descomp;
        s.base_descomp[i] = salida.base_descomp;
        // Back in 1/km as read: multiplying by 1000 again could move the last
        // bit, and every open and save would then drift the file.
        s.coef_porosidad[i] = coef_leido;
        if (fallo != FalloCalculo::ninguno) return {fallo, i};
    }
    ResultadoCalculo resultado;
    for (int i = s.n_bancos; i >= 1; --i) {
        calcula_cargas(s, i);
        if (resultado.ok()) resultado = revisa_finitos(s, i);
    }
    return resultado;
}

} // namespace

FalloCalculo descompacta_barrido(float z1, float z2, float phi, float c, Descompactacion& salida)
{
    Ecuacion ec{};
    const FalloCalculo fallo = prepara(z1, z2, phi, c, ec);
    if (fallo != FalloCalculo::ninguno) return fallo;
    return barrido(ec, salida);
}

FalloCalculo descompacta(float z1, float z2, float phi, float c, Descompactacion& salida)
{
    Ecuacion ec{};
    const FalloCalculo fallo = prepara(z1, z2, phi, c, ec);
    if (fallo != FalloCalculo::ninguno) return fallo;
    if (busqueda_rapida(ec, z1, z2, phi, salida)) return FalloCalculo::ninguno;
    return barrido(ec, salida);
}

ResultadoCalculo tevarro(Store& s)
{
    return calcula(s, descompacta);
}

ResultadoCalculo tevarro_barrido(Store& s)
{
    return calcula(s, descompacta_barrido);
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
