#include "compute/estiramiento.h"

#include "compute/historia.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>

namespace tev {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kSegundosPorDia = 86400;

// The rift age is searched on a grid denser near the oldest point (the
// thermal subsidence grows as the square root of time at first), beta on a
// grid even in 1/beta (the model is nearly linear in 1 - 1/beta).
constexpr int kPuntosRejillaBeta = 20;
constexpr int kPuntosRejillaEdad = 20;
// Brent's method runs in the brackets of at most this many of the grid's
// local minima, the best first.
constexpr std::size_t kMinimosRefinados = 3;
constexpr double kToleranciaBeta = 1e-7;
constexpr double kToleranciaEdad = 1e-5; // Ma

// 4 a rho_m alpha Tm / (rho_m - rho_w), m: the thermal series' factor.
double factor_termico(const ConstantesEstiramiento& c)
{
    return 4 * c.litosfera * c.densidad_manto * c.expansion * c.temperatura_base /
           (c.densidad_manto - c.densidad_agua);
}

double cubo(double x)
{
    return x * x * x;
}

// sum over the first N odd n of sin(n pi / beta) / (n pi)^3: the series'
// limit at t -> infinity divided by beta. The full series has the closed form
// (1 - 1/beta) / (8 beta).
double suma_limite(const ModeloEstiramiento& m, double beta)
{
    if (m.terminos <= 0) return (1 - 1 / beta) / (8 * beta);
    double suma = 0;
    for (int k = 0; k < m.terminos; ++k) {
        const double n = 2.0 * k + 1;
        suma += std::sin(n * kPi / beta) / cubo(n * kPi);
    }
    return suma;
}

// The smallest x of a minimum and its value.
struct Minimo {
    double x = 0;
    double f = 0;
};

// Brent's minimization without derivatives on [a, b] (Brent 1973, "localmin"):
// golden sections and parabolic steps; x to about tol + sqrt(eps) |x|.
template <class F> Minimo brent(const F& f, double a, double b, double tol)
{
    const double c = 0.5 * (3 - std::sqrt(5.0));
    const double eps = std::sqrt(2.220446049250313e-16);
    double v = a + c * (b - a);
    double w = v;
    double x = v;
    double d = 0;
    double e = 0;
    double fx = f(x);
    double fv = fx;
    double fw = fx;
    for (int iter = 0; iter < 200; ++iter) {
        const double xm = 0.5 * (a + b);
        const double tol1 = eps * std::fabs(x) + tol / 3;
        const double tol2 = 2 * tol1;
        if (std::fabs(x - xm) <= tol2 - 0.5 * (b - a)) break;
        bool dorado = true;
        if (std::fabs(e) > tol1) {
            double r = (x - w) * (fx - fv);
            double q = (x - v) * (fx - fw);
            double p = (x - v) * q - (x - w) * r;
            q = 2 * (q - r);
            if (q > 0) p = -p;
            q = std::fabs(q);
            r = e;
            e = d;
            if (std::fabs(p) < std::fabs(0.5 * q * r) && p > q * (a - x) && p < q * (b - x)) {
                d = p / q;
                const double u = x + d;
                if (u - a < tol2 || b - u < tol2) d = xm >= x ? tol1 : -tol1;
                dorado = false;
            }
        }
        if (dorado) {
            e = x >= xm ? a - x : b - x;
            d = c * e;
        }
        const double u = x + (std::fabs(d) >= tol1 ? d : (d > 0 ? tol1 : -tol1));
        const double fu = f(u);
        if (fu <= fx) {
            if (u >= x)
                a = x;
            else
                b = x;
            v = w;
            fv = fw;
            w = x;
            fw = fx;
            x = u;
            fx = fu;
        } else {
            if (u < x)
                a = u;
            else
                b = u;
            if (fu <= fw || w == x) {
                v = w;
                fv = fw;
                w = u;
                fw = fu;
            } else if (fu <= fv || v == x || v == w) {
                v = u;
                fv = fu;
            }
        }
    }
    return {x, fx};
}

// The least f over [xs.front(), xs.back()]: f on the grid xs (increasing),
// then Brent's method between the neighbours of the grid's best local minima.
// A grid point, the bounds included, is kept unless a refinement beats it.
template <class F> Minimo minimiza(const F& f, const std::vector<double>& xs, double tol)
{
    const std::size_t n = xs.size();
    std::vector<double> fs(n);
    for (std::size_t k = 0; k < n; ++k)
        fs[k] = f(xs[k]);
    std::vector<std::size_t> minimos;
    for (std::size_t k = 0; k < n; ++k)
        if ((k == 0 || fs[k] <= fs[k - 1]) && (k + 1 == n || fs[k] <= fs[k + 1]))
            minimos.push_back(k);
    std::stable_sort(minimos.begin(), minimos.end(),
                     [&](std::size_t i, std::size_t j) { return fs[i] < fs[j]; });
    if (minimos.size() > kMinimosRefinados) minimos.resize(kMinimosRefinados);
    Minimo mejor{xs[minimos.front()], fs[minimos.front()]};
    for (std::size_t k : minimos) {
        const double a = xs[k == 0 ? 0 : k - 1];
        const double b = xs[k + 1 == n ? k : k + 1];
        if (!(a < b)) continue;
        const Minimo m = brent(f, a, b, tol);
        if (m.f < mejor.f) mejor = m;
    }
    return mejor;
}

// The sum of squared misfits for many (beta, rift age) pairs over one set of
// points. The rift age is edad_ref + d, d >= 0. The series of a point t Ma
// after rifting is split as
//   sum b_n (1 - e^(-n^2 t/tau)) = sum b_n - sum b_n e^(-n^2 d/tau) e^(-n^2 t0/tau),
// t0 = edad_ref - edad, b_n = beta sin(n pi/beta)/(n pi)^3: the first sum is the
// closed form (or the N-term sum), and e^(-n^2 t0/tau)/(n pi)^3 is kept per
// point, so that a pair costs one product of each point's terms with the
// pair's sin(n pi/beta) e^(-n^2 d/tau).
class Evaluador {
  public:
    Evaluador(const ModeloEstiramiento& m, const std::vector<PuntoSubsidencia>& puntos,
              double edad_ref)
        : m_(m), tau_(tau_termico(m.constantes)), factor_(factor_termico(m.constantes))
    {
        // Terms whose amplitude stays below the threshold even at the largest
        // beta are never needed.
        const double umbral = kAmplitudMinimaSerie / (factor_ * kBetaMaxima);
        for (const PuntoSubsidencia& p : puntos) {
            Punto q;
            q.y = p.subsidencia;
            q.t0 = edad_ref - p.edad;
            q.inicio = pesos_.size();
            if (q.t0 >= 0) {
                for (int k = 0; m_.terminos <= 0 || k < m_.terminos; ++k) {
                    const double n = 2.0 * k + 1;
                    const double peso = std::exp(-n * n * q.t0 / tau_) / cubo(n * kPi);
                    if (peso < umbral) break;
                    pesos_.push_back(peso);
                }
            }
            q.largo = pesos_.size() - q.inicio;
            terminos_max_ = std::max(terminos_max_, q.largo);
            puntos_.push_back(q);
        }
        v_.resize(terminos_max_);
        cubos_.resize(terminos_max_);
        for (std::size_t k = 0; k < terminos_max_; ++k)
            cubos_[k] = cubo((2 * static_cast<double>(k) + 1) * kPi);
    }

    double suma_cuadrados(double beta, double d)
    {
        const std::size_t largo = prepara(beta, d);
        const double inicial =
            m_.modo == ModoEstiramiento::total ? subsidencia_inicial(m_, beta) : 0.0;
        const double limite = suma_limite(m_, beta);
        double suma = 0;
        for (const Punto& p : puntos_) {
            const double r = modelo(p, beta, d, largo, inicial, limite) - p.y;
            suma += r * r;
        }
        return suma;
    }

  private:
    struct Punto {
        double y = 0;
        double t0 = 0;
        std::size_t inicio = 0;
        std::size_t largo = 0;
    };

    // v_n = sin(n pi/beta) e^(-n^2 d/tau) for odd n while a term's amplitude
    // beta factor v_n/(n pi)^3 can reach the threshold; returns how many.
    std::size_t prepara(double beta, double d)
    {
        const double x = kPi / beta;
        const double dos_cos = 2 * std::cos(2 * x);
        double s_ant = -std::sin(x); // sin(-x)
        double s = std::sin(x);
        const double q = std::exp(-d / tau_);
        const double q8 = std::pow(q, 8);
        double e = q;  // e^(-n^2 d/tau)
        double r = q8; // e^(-((n+2)^2 - n^2) d/tau) = q^(4n+4), n = 1
        const double umbral = kAmplitudMinimaSerie / (factor_ * beta);
        std::size_t k = 0;
        for (; k < terminos_max_; ++k) {
            if (e < umbral * cubos_[k]) break;
            v_[k] = s * e;
            const double s_sig = dos_cos * s - s_ant;
            s_ant = s;
            s = s_sig;
            e *= r;
            r *= q8;
        }
        return k;
    }

    [[nodiscard]] double modelo(const Punto& p, double beta, double d, std::size_t largo,
                                double inicial, double limite) const
    {
        if (p.t0 < 0) return 0; // before the rift
        if (p.t0 == 0 && d == 0) return inicial;
        const std::size_t n = std::min(largo, p.largo);
        const double* w = pesos_.data() + p.inicio;
        double resto = 0;
        for (std::size_t k = 0; k < n; ++k)
            resto += v_[k] * w[k];
        return inicial + factor_ * beta * (limite - resto);
    }

    ModeloEstiramiento m_;
    double tau_;
    double factor_;
    std::vector<Punto> puntos_;
    std::vector<double> pesos_;
    std::vector<double> v_;
    std::vector<double> cubos_; // (n pi)^3
    std::size_t terminos_max_ = 0;
};

std::string numero(double v)
{
    char buf[64];
    const auto fin = std::to_chars(buf, buf + sizeof buf, v);
    return {buf, fin.ptr};
}

// The grid of beta: even in 1/beta from 1/20 to 1, increasing in beta, the
// bounds exact.
std::vector<double> rejilla_beta()
{
    std::vector<double> b(kPuntosRejillaBeta);
    const double u0 = 1 / kBetaMaxima;
    for (int k = 0; k < kPuntosRejillaBeta; ++k) {
        const double u = 1 - (1 - u0) * k / (kPuntosRejillaBeta - 1);
        b[k] = 1 / u;
    }
    b.front() = 1;
    b.back() = kBetaMaxima;
    return b;
}

// d from 0 to largo, denser near 0.
std::vector<double> rejilla_edad(double largo)
{
    std::vector<double> d(kPuntosRejillaEdad);
    for (int k = 0; k < kPuntosRejillaEdad; ++k) {
        const double s = static_cast<double>(k) / (kPuntosRejillaEdad - 1);
        d[k] = largo * s * s;
    }
    d.back() = largo;
    return d;
}

// Why the request cannot be answered, or empty.
std::string peticion_invalida(const std::vector<PuntoSubsidencia>& puntos,
                              const PeticionAjuste& pet)
{
    const ConstantesEstiramiento& c = pet.modelo.constantes;
    if (!(pet.modelo.corteza > 0 && pet.modelo.corteza < c.litosfera))
        return "El espesor de la corteza antes del rift (" + numero(pet.modelo.corteza) +
               " m) debe ser mayor que 0 y menor que el de la litosfera (" + numero(c.litosfera) +
               " m).";
    if (pet.beta && !(*pet.beta > 1 && *pet.beta <= kBetaMaxima))
        return "El factor de estiramiento beta (" + numero(*pet.beta) +
               ") debe ser mayor que 1 y no mayor que 20.";
    if (pet.edad_rift && !std::isfinite(*pet.edad_rift))
        return "La edad del rift no es un número finito.";
    if (puntos.size() < 2) {
        std::string m = "El ajuste necesita al menos dos puntos de la historia y hay " +
                        std::to_string(puntos.size());
        if (pet.desde && pet.hasta)
            m += " con edad entre " + numero(*pet.desde) + " y " + numero(*pet.hasta) + " Ma";
        else if (pet.desde)
            m += " con edad desde " + numero(*pet.desde) + " Ma";
        else if (pet.hasta)
            m += " con edad hasta " + numero(*pet.hasta) + " Ma";
        return m + ".";
    }
    for (std::size_t i = 0; i < puntos.size(); ++i)
        if (!std::isfinite(puntos[i].edad) || !std::isfinite(puntos[i].subsidencia))
            return "El punto " + std::to_string(i + 1) +
                   " de la historia tiene una edad o una subsidencia que no es un número finito.";
    return {};
}

} // namespace

const ConstantesEstiramiento* busca_constantes(std::string_view nombre)
{
    for (const ConstantesEstiramiento& c : kJuegosDeConstantes)
        if (nombre == c.nombre) return &c;
    return nullptr;
}

double tau_termico(const ConstantesEstiramiento& c)
{
    const double segundos = c.litosfera * c.litosfera / (kPi * kPi * c.difusividad);
    return segundos / (c.dias_por_anio * kSegundosPorDia * 1e6);
}

double subsidencia_inicial(const ModeloEstiramiento& m, double beta)
{
    const ConstantesEstiramiento& c = m.constantes;
    const double a = c.litosfera;
    const double tc = m.corteza;
    const double at = c.expansion * c.temperatura_base;
    const double numerador =
        (c.densidad_manto - c.densidad_corteza) * (tc / a) * (1 - at * tc / (2 * a)) -
        at * c.densidad_manto / 2;
    const double denominador = c.densidad_manto * (1 - at) - c.densidad_agua;
    return a * (1 - 1 / beta) * numerador / denominador;
}

double subsidencia_termica(const ModeloEstiramiento& m, double beta, double t)
{
    if (!(t > 0)) return 0;
    const ConstantesEstiramiento& c = m.constantes;
    const double factor = factor_termico(c);
    const double tau = tau_termico(c);
    double resto = 0; // sum of sin(n pi/beta) e^(-n^2 t/tau) / (n pi)^3
    for (int k = 0; m.terminos <= 0 || k < m.terminos; ++k) {
        const double n = 2.0 * k + 1;
        const double e = std::exp(-n * n * t / tau) / cubo(n * kPi);
        if (factor * beta * e < kAmplitudMinimaSerie) break;
        resto += std::sin(n * kPi / beta) * e;
    }
    return factor * beta * (suma_limite(m, beta) - resto);
}

double modelo_estiramiento(const ModeloEstiramiento& m, double beta, double edad_rift, double edad)
{
    if (edad > edad_rift) return 0;
    const double termica = subsidencia_termica(m, beta, edad_rift - edad);
    if (m.modo == ModoEstiramiento::termica) return termica;
    return subsidencia_inicial(m, beta) + termica;
}

std::vector<PuntoSubsidencia> puntos_de_historia(const Historia& h)
{
    std::vector<PuntoSubsidencia> r;
    r.reserve(h.pasos.size());
    for (const PasoHistoria& p : h.pasos)
        r.push_back({p.edad, p.subsidencia_tectonica});
    return r;
}

std::vector<PuntoSubsidencia> puntos_del_ajuste(const std::vector<PuntoSubsidencia>& puntos,
                                                const PeticionAjuste& peticion)
{
    std::vector<PuntoSubsidencia> r;
    for (const PuntoSubsidencia& p : puntos) {
        if (peticion.desde && p.edad < *peticion.desde) continue;
        if (peticion.hasta && p.edad > *peticion.hasta) continue;
        r.push_back(p);
    }
    return r;
}

AjusteEstiramiento ajusta_estiramiento(const std::vector<PuntoSubsidencia>& todos,
                                       const PeticionAjuste& peticion)
{
    const std::vector<PuntoSubsidencia> puntos = puntos_del_ajuste(todos, peticion);
    AjusteEstiramiento res;
    res.error = peticion_invalida(puntos, peticion);
    if (!res.ok()) return res;
    res.puntos = static_cast<int>(puntos.size());

    double mas_antigua = puntos.front().edad;
    double mas_reciente = puntos.front().edad;
    for (const PuntoSubsidencia& p : puntos) {
        mas_antigua = std::max(mas_antigua, p.edad);
        mas_reciente = std::min(mas_reciente, p.edad);
    }
    const double tau = tau_termico(peticion.modelo.constantes);
    const double largo = std::max(mas_antigua - mas_reciente, 2 * tau);
    const double edad_ref = peticion.edad_rift ? *peticion.edad_rift : mas_antigua;
    res.edad_rift_minima = edad_ref;
    res.edad_rift_maxima = peticion.edad_rift ? edad_ref : edad_ref + largo;

    Evaluador ev(peticion.modelo, puntos, edad_ref);
    const std::vector<double> betas = rejilla_beta();
    // The best beta for the rift age edad_ref + d.
    const auto mejor_beta = [&](double d) {
        if (peticion.beta) return Minimo{*peticion.beta, ev.suma_cuadrados(*peticion.beta, d)};
        return minimiza([&](double b) { return ev.suma_cuadrados(b, d); }, betas, kToleranciaBeta);
    };
    double d = 0;
    if (!peticion.edad_rift) {
        d = minimiza([&](double dd) { return mejor_beta(dd).f; }, rejilla_edad(largo),
                     kToleranciaEdad)
                .x;
    }
    // An answer within a millionth of its range from a bound is on it: the
    // refinement only comes near a bound, and the bound is told.
    const auto al_limite = [](double x, double a, double b, bool& en_limite) {
        const double margen = 1e-6 * (b - a);
        if (x <= a + margen) x = a;
        if (x >= b - margen) x = b;
        en_limite = en_limite || x == a || x == b;
        return x;
    };
    if (!peticion.edad_rift) d = al_limite(d, 0, largo, res.en_limite);
    res.beta =
        peticion.beta ? *peticion.beta : al_limite(mejor_beta(d).x, 1, kBetaMaxima, res.en_limite);
    res.edad_rift = edad_ref + d;
    res.evaluado = peticion.beta && peticion.edad_rift;

    // The misfit told is that of the model as modelo_estiramiento gives it.
    double suma = 0;
    for (const PuntoSubsidencia& p : puntos) {
        const double r =
            modelo_estiramiento(peticion.modelo, res.beta, res.edad_rift, p.edad) - p.subsidencia;
        suma += r * r;
    }
    res.rms = std::sqrt(suma / static_cast<double>(puntos.size()));
    return res;
}

} // namespace tev
