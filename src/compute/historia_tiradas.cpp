#include "compute/historia_tiradas.h"

#include "compute/nivel_mar.h"
#include "model/densidad.h"
#include "model/store.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tev {

namespace {

constexpr double kAgua = kDensidadAgua; // kg/m3
constexpr int kPasosHalley = 8;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Slack of the bracket test, for the rounding of the ends and of F near the
// root.
constexpr double kHolgura = 0x1p-40;

// e^d - 1 for |d| <= kPasoCorto, to the last place: its Taylor polynomial
// of degree 7 (the first term left out, d^8 / 8!, is below 2^-57 d there).
constexpr double kPasoCorto = 0x1p-6;
double expm1_corto(double d)
{
    return d *
           (1 + d * (1.0 / 2 +
                     d * (1.0 / 6 +
                          d * (1.0 / 24 + d * (1.0 / 120 + d * (1.0 / 720 + d * (1.0 / 5040)))))));
}

// One root of raiz_de_halley under way: x and e = e^(-x) - 1.
class Busqueda {
  public:
    // At x_inicio, brought into the bracket.
    void empieza(double sigma, double a, double x_inicio)
    {
        sigma_ = sigma;
        a_ = a;
        x_ = std::max(x_inicio, sigma_);
        if (x_ * (1.0 - a_) > sigma_) x_ = sigma_ / (1.0 - a_);
        e_ = std::expm1(-x_);
    }

    // One Halley step; false when it leaves the bracket (or x is not finite).
    bool paso()
    {
        g_ = a_ + a_ * e_; // a e^(-x)
        const double f = x_ + a_ * e_ - sigma_;
        p_ = 1.0 - g_; // F'
        d_ = 2 * f * p_ / (2 * p_ * p_ - f * g_);
        x_ -= d_;
        return x_ >= sigma_ * (1 - kHolgura) && x_ * (1.0 - a_) <= sigma_ * (1 + kHolgura);
    }

    // After a step: whether K |d|^3 <= 2^-55 x (times 12 p^2, no division).
    [[nodiscard]] bool listo() const
    {
        return (3 * g_ * g_ + 2 * g_ * p_) * (d_ * d_ * std::fabs(d_)) <=
               12 * p_ * p_ * 0x1p-55 * x_;
    }

    // e at the new x: from the old one by a short series when the step was
    // short, which it is but far from the root.
    void sigue()
    {
        e_ = std::fabs(d_) <= kPasoCorto ? e_ + (1 + e_) * expm1_corto(d_) : std::expm1(-x_);
    }

    [[nodiscard]] double x() const { return x_; }

  private:
    double sigma_ = 0, a_ = 0;
    double x_ = 0, e_ = 0, g_ = 0, p_ = 0, d_ = 0;
};

} // namespace

double raiz_de_halley(double sigma, double a, double x_inicio)
{
    Busqueda b;
    b.empieza(sigma, a, x_inicio);
    // The first step is not asked whether it is enough: it seldom is, and
    // the second costs no exponential.
    if (!b.paso()) return kNaN;
    for (int k = 1; k < kPasosHalley; ++k) {
        b.sigue();
        if (!b.paso()) return kNaN;
        if (b.listo()) return b.x();
    }
    return kNaN;
}

HistoriaDeTiradas::HistoriaDeTiradas(const Store& s, const Historia& base)
    : n_(std::clamp<int>(s.n_bancos, 0, kMaxBancos)), s_(s)
{
    for (int i = 1; i <= n_; ++i) {
        Banco& b = base_[i];
        b.c = static_cast<double>(s.coef_porosidad[i]) / 1000.0; // 1/km to 1/m
        b.phi0 = s.porosidad[i];
        b.solido = solido_de_banco(s.techo[i], s.base[i], b.phi0, b.c);
        b.sigma = b.c * b.solido;
        grano_[i] = densidad_de_grano(s, i);
    }
    for (const PasoHistoria& p : base.pasos) {
        espesor_base_.push_back(p.espesor_sedimentos);
        densidad_base_.push_back(p.densidad_media);
    }
    // Each step's column moved as calcula_historia moves it, kept by depth
    // below its top bed (m) and then by bed, the order the draws take them in.
    std::vector<Movimiento> por_paso(static_cast<size_t>(n_) * static_cast<size_t>(n_));
    for (int j = n_; j >= 1; --j) {
        double z = 0;
        for (int i = j; i >= 1; --i) {
            const Banco& b = base_[i];
            Movimiento& mv = por_paso[static_cast<size_t>(j - 1) * static_cast<size_t>(n_) +
                                      static_cast<size_t>(i - 1)];
            mv.a = b.phi0 * std::exp(-b.c * z);
            const double t = espesor_de_solido(b.solido, mv.a, b.c);
            mv.x = b.c * t;
            const double e = std::exp(-mv.x);
            mv.por_sigma = 1.0 / (1.0 - mv.a * e);
            mv.por_a = (1.0 - e) * mv.por_sigma;
            z += t;
        }
    }
    for (int m = 0; m < n_; ++m) {
        desde_.push_back(movimientos_.size());
        for (int i = 1; i + m <= n_; ++i)
            movimientos_.push_back(
                por_paso[static_cast<size_t>(i + m - 1) * static_cast<size_t>(n_) +
                         static_cast<size_t>(i - 1)]);
    }
}

inline double HistoriaDeTiradas::inicio(int i, int m, double a) const
{
    const Movimiento& base =
        movimientos_[desde_[static_cast<size_t>(m)] + static_cast<size_t>(i) - 1];
    return base.x + (banco_[i].sigma - base_[i].sigma) * base.por_sigma + (a - base.a) * base.por_a;
}

inline double HistoriaDeTiradas::porosidad_en_el_techo(int i, int m) const
{
    const Banco& b = banco_[i];
    return b.phi0 * std::exp(-b.c * z_[i + m]);
}

void HistoriaDeTiradas::mueve(int i, int m)
{
    const Banco& b = banco_[i];
    const double a = porosidad_en_el_techo(i, m);
    const double x = raiz_de_halley(b.sigma, a, inicio(i, m, a));
    z_[i + m] += std::isfinite(x) ? x / b.c : espesor_de_solido(b.solido, a, b.c);
}

void HistoriaDeTiradas::mueve_juntos(int i, int m)
{
    // The steps of raiz_de_halley, lane by lane, with its very arithmetic.
    double a[kCarriles];
    for (int l = 0; l < kCarriles; ++l)
        a[l] = porosidad_en_el_techo(i + l, m);
    Busqueda b[kCarriles];
    for (int l = 0; l < kCarriles; ++l)
        b[l].empieza(banco_[i + l].sigma, a[l], inicio(i + l, m, a[l]));
    bool bien = true;
    for (Busqueda& q : b) {
        bien = q.paso() && bien;
        q.sigue();
    }
    for (Busqueda& q : b)
        bien = q.paso() && q.listo() && bien;
    if (!bien) {
        for (int l = 0; l < kCarriles; ++l)
            mueve(i + l, m);
        return;
    }
    for (int l = 0; l < kCarriles; ++l)
        z_[i + l + m] += b[l].x() / banco_[i + l].c;
}

bool HistoriaDeTiradas::calcula(const Store& t, const CurvaNivelMar& curva, double* tectonica,
                                double* total, double* edad)
{
    // The beds as drawn; the lowest whose porosity or coefficient moved.
    int primer_cambio = n_ + 1;
    double profundidad_maxima = 0; // m, beyond any depth a column reaches
    for (int i = 1; i <= n_; ++i) {
        const float phi = t.porosidad[i];
        const float coef = t.coef_porosidad[i];
        if (!(phi >= 0.0f && phi < 1.0f) || !(coef > 0.0f) || !std::isfinite(coef) ||
            !std::isfinite(t.paleobatimetria[i]) || !std::isfinite(t.edad_techo[i]) ||
            !std::isfinite(t.edad_base[i]))
            return false;
        Banco& b = banco_[i];
        if (phi == s_.porosidad[i] && coef == s_.coef_porosidad[i]) {
            b = base_[i];
        } else {
            b.c = static_cast<double>(coef) / 1000.0;
            b.phi0 = phi;
            b.solido = solido_de_banco(s_.techo[i], s_.base[i], b.phi0, b.c);
            if (!std::isfinite(b.solido) || b.solido < 0) return false;
            b.sigma = b.c * b.solido;
            primer_cambio = std::min(primer_cambio, i);
        }
        // A bed is never thicker than solido / (1 - phi0): while the sum of
        // those is finite no move overflows.
        profundidad_maxima += b.solido / (1.0 - b.phi0);
        masa_solida_[i] = masa_solida_[i - 1] + (grano_[i] - kAgua) * b.solido;
    }
    if (!std::isfinite(profundidad_maxima)) return false;

    // Step j's column moves only from the lowest changed bed's step up. By
    // depth below the top bed, then across the steps: the steps' moves are
    // independent of one another, so the processor overlaps them.
    std::fill(z_.begin() + primer_cambio, z_.begin() + n_ + 1, 0.0);
    for (int m = 0; m < n_; ++m) {
        int i = std::max(1, primer_cambio - m);
        for (; i + kCarriles - 1 <= n_ - m; i += kCarriles)
            mueve_juntos(i, m);
        for (; i <= n_ - m; ++i)
            mueve(i, m);
    }

    for (int j = n_; j >= 1; --j) {
        const auto k = static_cast<size_t>(n_ - j);
        double S = espesor_base_[k];
        double densidad = densidad_base_[k];
        if (j >= primer_cambio) {
            S = z_[j];
            const double masa = masa_solida_[j] + kAgua * S; // kg/m2
            densidad = densidad_de_columna(masa, S, grano_[j], banco_[j].phi0);
        }
        const double W = t.paleobatimetria[j];
        const double nivel = nivel_de_curva(curva, t.edad_techo[j]);
        tectonica[k] = subsidencia_tectonica_de(S, densidad, W, nivel);
        total[k] = S + W - nivel;
        edad[k] = t.edad_techo[j];
        if (!std::isfinite(S) || !std::isfinite(densidad) || !std::isfinite(tectonica[k]))
            return false;
    }
    return true;
}

} // namespace tev
