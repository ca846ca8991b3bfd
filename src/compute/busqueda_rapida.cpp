#include "compute/busqueda_rapida.h"

#include "model/store.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tev {

namespace {

constexpr int kVentanaMaxima = 256;
// Undecided candidates that are cheaper to evaluate than to bisect over: they
// lie within the window anyway.
constexpr int kBandaCorta = 4;

// The candidates the fast search has evaluated, each once (the guess and
// its Newton steps, the bisection, the window), and what they tell of the
// signs of the others.
class Evaluadas {
  public:
    // inversa is 1 / pendiente_minima.
    Evaluadas(const Ecuacion& ec, double pendiente_minima, double inversa, double margen)
        : ec_(ec), pendiente_(pendiente_minima), inversa_(inversa), margen_(margen)
    {
    }

    // The computed difference of candidate t, evaluated on first use; e
    // receives its exponential when it is evaluated now, and is left alone
    // otherwise.
    double d(int t, double& e)
    {
        const unsigned casilla = static_cast<unsigned>(t) % kTabla;
        if (tabla_t_[casilla] == t) return tabla_d_[casilla];
        return nueva(t, casilla, e);
    }
    double d(int t)
    {
        double e = 0;
        return d(t, e);
    }

    // Whether the computed difference of t is not negative, without
    // evaluating it when an evaluated candidate already decides it. The
    // exact difference D grows with a slope of at least p = 1 - phi and
    // departs from the computed one by at most margen, so for an evaluated m:
    //   t < m:  d(t) <= d(m) + 2 margen - p (m - t)
    //   t > m:  d(t) >= d(m) - 2 margen + p (t - m)
    bool no_negativa(int t)
    {
        if (t > negativas_hasta_ && t < no_negativas_desde_) return d(t) >= 0;
        return t >= no_negativas_desde_;
    }

    // The candidates whose sign no evaluated candidate decides lie strictly
    // between these two.
    [[nodiscard]] int negativas_hasta() const { return negativas_hasta_; }
    [[nodiscard]] int no_negativas_desde() const { return no_negativas_desde_; }

    // A candidate evaluated beforehand (a different one each time), kept as
    // if d() had evaluated it.
    void anota(int t, double v)
    {
        const unsigned casilla = static_cast<unsigned>(t) % kTabla;
        if (tabla_t_[casilla] == 0) {
            tabla_t_[casilla] = t;
            tabla_d_[casilla] = v;
        } else if (n_desbordadas_ < kMaxDesbordadas) {
            desbordadas_[n_desbordadas_++] = {t, v};
        }
        acota(t, v);
    }

  private:
    struct Suelta {
        int t;
        double d;
    };
    // Candidates by t % kTabla; those that find their place taken go to a
    // short list. Only the bisection and a window that had to grow fill it;
    // past its end a candidate is not kept, and nothing asks for it again:
    // the window keeps its own.
    static constexpr unsigned kTabla = 32;
    static constexpr int kMaxDesbordadas = 48;

    // Out of line, so that the lookup above stays small enough to inline.
    [[gnu::noinline]] double nueva(int t, unsigned casilla, double& e)
    {
        if (tabla_t_[casilla] != 0) { // taken by another candidate: the overflow list
            for (int i = 0; i < n_desbordadas_; ++i)
                if (desbordadas_[i].t == t) return desbordadas_[i].d;
        }
        const double v = ec_.diferencia(t, e);
        anota(t, v);
        return v;
    }

    // Narrows the undecided candidates with an evaluated one.
    void acota(int t, double v)
    {
        // Only a finite difference may decide another candidate.
        if (!finito(v) || !(pendiente_ > 0)) return;
        // 2 margen with room for the rounding of these few operations.
        const double holgura = 2.5 * margen_ + 1e-9 * (1 + std::fabs(v) + pendiente_ * kCandidatos);
        const double m = t;
        // Every candidate below both t and izq is negative; every one above
        // both t and der is not.
        const double izq = std::min(m, m - (v + holgura) * inversa_);
        const double der = std::max(m, m + (holgura - v) * inversa_);
        // 1 <= izq <= t and t <= der < 10000 where they are used: the
        // conversion truncates a positive value, its floor.
        if (izq > 1) {
            const int piso = static_cast<int>(izq);
            const int techo = piso < izq ? piso + 1 : piso;
            negativas_hasta_ = std::max(negativas_hasta_, techo - 1);
        }
        if (der < kCandidatos)
            no_negativas_desde_ = std::min(no_negativas_desde_, static_cast<int>(der) + 1);
        // Crossed bounds would mean the difference is not what the bounds
        // assume: then every candidate is evaluated.
        if (negativas_hasta_ >= no_negativas_desde_) {
            negativas_hasta_ = 0;
            no_negativas_desde_ = kCandidatos + 1;
            pendiente_ = 0;
        }
    }

    const Ecuacion& ec_;
    double pendiente_;
    double inversa_; // 1 / pendiente_
    double margen_;
    int tabla_t_[kTabla] = {}; // 0: empty
    double tabla_d_[kTabla];
    Suelta desbordadas_[kMaxDesbordadas];
    int n_desbordadas_ = 0;
    int negativas_hasta_ = 0;
    int no_negativas_desde_ = kCandidatos + 1;
};

int entero_en_la_rejilla(double v)
{
    if (!(v >= 1)) v = 1; // NaN too
    if (v > kCandidatos) v = kCandidatos;
    return static_cast<int>(v);
}

bool apta_y_margen(const Ecuacion& ec, float z1, float z2, float phi, double& margen);

// The pair among the evaluated candidates, and Newton steps towards it when
// the guess missed it. False when the steps run out or the pair lies at an
// end of the grid.
struct Par {
    int lo, hi; // hi = lo + 1: d(lo) < 0 <= d(hi)
    double d_lo, d_hi;
};
[[gnu::noinline]] bool busca_par(Comienzo& co, double phi, Par& par)
{
    int lo = 0;               // the highest evaluated candidate that is negative
    int hi = kCandidatos + 1; // the lowest that is not
    double d_lo = 0, d_hi = 0;
    for (int i = 0;;) {
        for (; i < co.n; ++i) {
            const double d = co.d[i];
            if (!finito(d)) return false;
            if (d < 0 && co.t[i] > lo) {
                lo = co.t[i];
                d_lo = d;
            } else if (d >= 0 && co.t[i] < hi) {
                hi = co.t[i];
                d_hi = d;
            }
        }
        if (hi == lo + 1) break;
        if (co.n == Comienzo::kMaximo || lo == kCandidatos || hi == 1) return false;
        // A Newton step from the last candidate, kept between the two.
        const int ultimo = co.n - 1;
        const double pendiente = 1 - phi * co.e[ultimo];
        int s = entero_en_la_rejilla(static_cast<double>(co.t[ultimo]) - co.d[ultimo] / pendiente +
                                     0.5);
        s = std::max(s, lo + 1);
        s = std::min(s, hi - 1);
        co.t[co.n] = s;
        co.d[co.n] = co.ec.diferencia(s, co.e[co.n]);
        ++co.n;
    }
    if (lo < 1 || hi > kCandidatos) return false;
    par = {lo, hi, d_lo, d_hi};
    return true;
}

// Whether the guess alone decides the pair, from its difference d and its
// exponential e: the step to the next candidate is exactly
//   D(t+1) - D(t) = 1 - q e^-ct (1 - e^-c),
// and to the one before 1 - q e^-ct (e^c - 1); the series to c^3 stands for
// the exponentials of c, and the computed differences depart from D by at
// most margen. Only a step clear of every error decides; 0 otherwise.
int par_de_la_conjetura(const Comienzo& co)
{
    const int t = co.t[0];
    const double d = co.d[0];
    const double c = co.ec.c;
    if (!(std::fabs(d) < 1000) || t <= 1 || t >= kCandidatos || !(c < 1.0 / 64)) return 0;
    const double qe = co.ec.q * co.e[0];
    // 2 margen, the single-precision product c*t (phi t e^-ct 2^-24), the
    // series' remainder and the rounding of these few operations, with room.
    constexpr double k6 = 1.0 / 6, k12 = 1.0 / 12;
    const double c2 = c * c;
    const double error = 2.5 * co.margen + 1e-7 + c2 * c * k12 + 1e-12 * (1 + std::fabs(d));
    if (d < 0) { // the pair is t, t + 1
        const double siguiente = d + (1 - qe * (c - c2 * 0.5 + c2 * c * k6));
        if (!(siguiente - error >= 0)) return 0;
        if (-d < siguiente - error) return t;
        if (-d > siguiente + error) return t + 1;
    } else { // the pair is t - 1, t; the first wins a tie
        const double anterior = d - (1 - qe * (c + c2 * 0.5 + c2 * c * k6));
        if (!(anterior + error < 0)) return 0;
        if (-anterior + error < d) return t - 1;
        if (-anterior - error > d) return t;
    }
    return 0;
}

// When the computed difference rises from each candidate to the next by more
// than twice its error (1 - phi > 2 margen, with room to spare), it is
// strictly increasing, and the first candidate k whose difference is not
// negative is the one any bisection finds. Every candidate below k - 1 then
// has a larger residual than k - 1, and every one above k a larger one than
// k: the best of the two is the bed's, as the window of busqueda_rapida()
// would find it. The guess alone, or with its neighbour and Newton
// steps, finds that pair; 0 when it is not found in a few steps, or lies at an
// end of the grid, where busqueda_rapida() decides.
int par_decisivo(Comienzo& co, double phi)
{
    const double p = 1 - phi;
    if (!(p > 8 * co.margen + 1e-9)) return 0;
    if (const int t = par_de_la_conjetura(co)) return t;
    // The neighbour on the root's side evaluated, then the steps if need be.
    Par par{};
    const int vecino = co.d[0] < 0 ? co.t[0] + 1 : co.t[0] - 1;
    if (vecino >= 1 && vecino <= kCandidatos) {
        co.t[1] = vecino;
        co.d[1] = co.ec.diferencia(vecino, co.e[1]);
        co.n = 2;
    }
    if (!busca_par(co, phi, par)) return 0;
    // The first reaching the smaller residual wins, as in the scan.
    const double r_lo = residuo_de(par.d_lo);
    const double r_hi = residuo_de(par.d_hi);
    if (!finito(r_lo) || !finito(r_hi) || std::min(r_lo, r_hi) >= kMejorInicial / 2) return 0;
    return r_hi < r_lo ? par.hi : par.lo;
}

// The stages of a bed's start, after exponenciales_extremos().
void prepara_comienzo(float z1, float z2, float phi, Comienzo& co)
{
    co.n = 0;
    co.ganador = 0;
    co.apta = false;
    co.fallo = completa(z1, z2, phi, co.ec);
    if (co.fallo != FalloCalculo::ninguno) return;
    co.apta = apta_y_margen(co.ec, z1, z2, phi, co.margen);
}

void conjetura(float phi, Comienzo& co)
{
    if (!co.apta) return;
    const double fija = co.ec.fija;
    const double cd = co.ec.c;
    const double p = 1 - static_cast<double>(phi);
    // x = n / den; with cx = c x and pendiente = 1 - phi (1 - cx + cx^2 / 2),
    // x + phi x cx^2 / (6 pendiente), in one division:
    // n (6 s + phi c^2 n^2) / (6 den s), s = pendiente den^2.
    const double n = 2 * fija;
    const double den = p + std::sqrt(p * p + 2 * phi * cd * fija);
    const double cn = cd * n;
    const double s = den * den - phi * (den * den - cn * den + cn * cn / 2);
    const double x0 = n * (6 * s + phi * cn * cn) / (6 * den * s);
    // P(y) = 1 - e^-y to y^6, and P'(y), in pairs of terms that do not wait
    // on each other; multiplications only, since a guess needs no exact
    // division.
    constexpr double k6 = 1.0 / 6, k24 = 1.0 / 24, k120 = 1.0 / 120, k720 = 1.0 / 720;
    const double y = cd * x0;
    const double y2 = y * y;
    const double y4 = y2 * y2;
    const double serie = y * (1 - 0.5 * y) + y2 * y * (k6 - k24 * y) + y4 * y * (k120 - k720 * y);
    const double derivada = (1 - y) + y2 * (0.5 - k6 * y) + y4 * (k24 - k120 * y);
    const double x = x0 - (x0 - fija - co.ec.q * serie) / (1 - co.ec.q * cd * derivada);
    co.t[0] = entero_en_la_rejilla(x + 0.5);
}

void evalua_conjetura(Comienzo& co)
{
    if (!co.apta) return;
    co.d[0] = co.ec.diferencia(co.t[0], co.e[0]);
    co.n = 1;
}

void decide_par(float phi, Comienzo& co)
{
    if (co.apta) co.ganador = par_decisivo(co, phi);
}

// Newton steps on whole candidates from the last one evaluated, while too
// many candidates stay undecided; the convex, non-decreasing difference
// takes them to the root from the right (a step from the left lands there).
// Every step is a real candidate, which the window does not evaluate again.
void acerca(Evaluadas& ev, const Comienzo& co, double phi)
{
    for (int i = 0; i < co.n; ++i)
        ev.anota(co.t[i], co.d[i]);
    int t = co.t[co.n - 1];
    double d = co.d[co.n - 1];
    double e = co.e[co.n - 1];
    for (int paso = 0; paso < 6; ++paso) {
        // Few enough candidates left undecided: the band below evaluates them.
        if (ev.no_negativas_desde() - ev.negativas_hasta() <= kBandaCorta) return;
        const double pendiente = 1 - phi * e;
        if (!finito(d) || !(pendiente > 1e-6) || e == 0) return;
        const int s = entero_en_la_rejilla(static_cast<double>(t) - d / pendiente + 0.5);
        if (s == t) return;
        t = s;
        e = 0;
        d = ev.d(t, e);
    }
}

// The first candidate whose difference is not negative, as a bisection of
// the whole grid finds it, when the few candidates no bound decides show the
// signs changing once: then every candidate's sign is known and the
// bisection can only end there. 0 otherwise.
int cambio_de_signo(Evaluadas& ev)
{
    const int desde = ev.negativas_hasta() + 1;
    const int hasta = ev.no_negativas_desde(); // not negative from here on
    if (hasta - desde > kBandaCorta) return 0;
    int primera = hasta;
    for (int t = desde; t < hasta; ++t) {
        const bool no_negativa = ev.d(t) >= 0;
        if (no_negativa && primera == hasta) primera = t;
        if (!no_negativa && primera != hasta) return 0; // changes twice
    }
    // Past the grid every candidate is negative: the last one.
    return std::min(primera, kCandidatos);
}

// Fast search, valid where the exact residual T' - R(T') is non-decreasing in
// T' (c > 0 and porosity in [0, 1]): its slope is 1 - phi e^-cT' >= 0. The
// computed difference departs from the exact one by at most `margen`, so a
// candidate outside a window [a, b] can only beat the window's best if
//   - before a:  -(d(a) + 2 margen) <= best   (an equal earlier one wins), or
//   - after b:    d(b) - 2 margen  <  best.
// The window grows until neither can happen; otherwise we fall back to the
// scan. Returns false when the scan must decide.
//
// The window starts around the candidate a bisection of the whole grid
// finds; the bisection's steps whose outcome an evaluated candidate already
// decides (see Evaluadas::no_negativa) are not evaluated, and no candidate is
// evaluated twice.
//
// apta_y_margen() tells whether the search applies to the bed, and its margen.
bool apta_y_margen(const Ecuacion& ec, float z1, float z2, float phi, double& margen)
{
    if (!(ec.c > 0.0f) || !(phi >= 0.0f && phi <= 1.0f)) return false;
    if (!finito(z1) || !finito(z2)) return false;
    if (!std::isfinite(ec.c * static_cast<float>(kCandidatos))) return false;
    if (!(std::fabs(ec.fija) + std::fabs(ec.q) < 1e300)) return false;

    constexpr double eps = std::numeric_limits<double>::epsilon();
    const double cd = ec.c;
    const double e1 = ec.e1;
    const double e2 = ec.e2;
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
    margen = 4 * (16 * eps * magnitud + termino_simple * 1.01) + 1e-300;
    return finito(margen) && margen <= 0.05;
}

bool busqueda_rapida(const Comienzo& co, float phi, Descompactacion& salida)
{
    if (!co.apta) return false;
    const double margen = co.margen;
    // With c > 0 and |fija| + |q| < 1e300 every difference is finite: the
    // candidate's exponential lies in [0, 1].
    const double p = 1 - static_cast<double>(phi);
    Evaluadas ev(co.ec, p, 1 / p, margen);
    acerca(ev, co, phi);

    // First candidate whose difference is not negative, by bisection.
    int k = cambio_de_signo(ev);
    if (k != 0) {
    } else if (ev.no_negativa(1)) {
        k = 1;
    } else if (!ev.no_negativa(kCandidatos)) {
        k = kCandidatos;
    } else {
        int lo = 1, hi = kCandidatos;
        while (hi - lo > 1) {
            const int mid = lo + (hi - lo) / 2;
            // Without a branch: most steps are decided and their outcomes
            // cannot be predicted.
            const bool arriba = ev.no_negativa(mid);
            hi = arriba ? mid : hi;
            lo = arriba ? lo : mid;
        }
        k = hi;
    }
    // The window [a, b] grows one candidate at a side at a time; each
    // candidate enters once, and the first one reaching the smallest
    // residual is the best, as in a scan of the window from a to b.
    int a = std::max(1, k - 1);
    int b = std::min(kCandidatos, k + 1);
    double mejor = kMejorInicial;
    int ganador = 0;
    double d_a = 0, d_b = 0;
    auto entra = [&](int t, bool primera, double& d) {
        d = ev.d(t);
        const double r = residuo_de(d);
        if (!finito(d) || !finito(r)) return false;
        if (primera ? r <= mejor : r < mejor) {
            mejor = r;
            ganador = t;
        }
        return true;
    };
    for (int t = a; t <= b; ++t) {
        double d = 0;
        if (!entra(t, false, d)) return false;
        if (t == a) d_a = d;
        d_b = d;
    }
    for (;;) {
        if (ganador == 0 || mejor >= kMejorInicial / 2) return false;
        const bool izquierda_ok = a == 1 || -(d_a + 2 * margen) > mejor;
        const bool derecha_ok = b == kCandidatos || d_b - 2 * margen >= mejor;
        if (izquierda_ok && derecha_ok) {
            salida.techo_descomp = 0;
            salida.base_descomp = static_cast<float>(ganador);
            return true;
        }
        const int a_nueva = izquierda_ok ? a : a - 1;
        const int b_nueva = derecha_ok ? b : b + 1;
        if (b_nueva - a_nueva >= kVentanaMaxima) return false;
        if (a_nueva != a && !entra(a_nueva, true, d_a)) return false;
        if (b_nueva != b && !entra(b_nueva, false, d_b)) return false;
        a = a_nueva;
        b = b_nueva;
    }
}

} // namespace

void comienza(float z1, float z2, float phi, float c, Comienzo& co)
{
    exponenciales_extremos(z1, z2, c, co.ec);
    prepara_comienzo(z1, z2, phi, co);
    conjetura(phi, co);
    evalua_conjetura(co);
    decide_par(phi, co);
}

void comienza_columna(const Store& s, Comienzo comienzos[])
{
    for (int i = s.n_bancos; i >= 1; --i) {
        const Entrada en = entrada(s, i);
        exponenciales_extremos(en.z1, en.z2, en.c, comienzos[i].ec);
    }
    for (int i = s.n_bancos; i >= 1; --i)
        prepara_comienzo(s.techo[i], s.base[i], s.porosidad[i], comienzos[i]);
    for (int i = s.n_bancos; i >= 1; --i)
        conjetura(s.porosidad[i], comienzos[i]);
    for (int i = s.n_bancos; i >= 1; --i)
        evalua_conjetura(comienzos[i]);
    for (int i = s.n_bancos; i >= 1; --i)
        decide_par(s.porosidad[i], comienzos[i]);
}

bool decide_sin_barrido(const Comienzo& co, float phi, Descompactacion& salida)
{
    if (co.ganador != 0) {
        salida.techo_descomp = 0;
        salida.base_descomp = static_cast<float>(co.ganador);
        return true;
    }
    return busqueda_rapida(co, phi, salida);
}

bool descompacta_sin_barrido(float z1, float z2, float phi, float c, Descompactacion& salida)
{
    limpia_estado_avx();
    Comienzo co;
    comienza(z1, z2, phi, c, co);
    return co.fallo == FalloCalculo::ninguno && decide_sin_barrido(co, phi, salida);
}

} // namespace tev
