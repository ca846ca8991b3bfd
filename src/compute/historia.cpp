#include "compute/historia.h"

#include "compute/nivel_mar.h"
#include "model/densidad.h"
#include "model/store.h"
#include "text_forms/formas_numericas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace tev {

namespace {

constexpr double kAgua = kDensidadAgua;   // kg/m3
constexpr double kManto = kDensidadManto; // kg/m3
constexpr int kIteraciones = 100;         // Newton takes 3 to 6 on real columns
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Pore thickness (m) of a bed of thickness t whose top lies where the
// porosity is phi_techo = phi0 e^(-c z_techo): (phi_techo / c)(1 - e^(-c t)),
// formed with expm1 so that thin beds and small coefficients keep their
// digits.
double poros(double phi_techo, double c, double t)
{
    return -(phi_techo / c) * std::expm1(-c * t);
}

// What of bed i keeps the column from having a history.
CampoHistoria campo_malo(const Store& s, int i)
{
    const struct {
        float valor;
        CampoHistoria campo;
    } numeros[] = {
        {s.techo[i], CampoHistoria::techo},
        {s.base[i], CampoHistoria::base},
        {s.edad_techo[i], CampoHistoria::edad_techo},
        {s.edad_base[i], CampoHistoria::edad_base},
        {s.porosidad[i], CampoHistoria::porosidad},
        {s.coef_porosidad[i], CampoHistoria::coef_porosidad},
        {s.paleobatimetria[i], CampoHistoria::paleobatimetria},
    };
    for (const auto& n : numeros) {
        if (!std::isfinite(n.valor)) return n.campo;
    }
    if (!(s.porosidad[i] >= 0.0f && s.porosidad[i] < 1.0f)) return CampoHistoria::porosidad;
    if (!(s.coef_porosidad[i] > 0.0f)) return CampoHistoria::coef_porosidad;
    if (s.base[i] < s.techo[i]) return CampoHistoria::base;
    // The percentages count only in a mix.
    if (s.litologia[i] == kPorcentual) {
        const struct {
            float valor;
            CampoHistoria campo;
        } porcentajes[] = {
            {s.pct_arenisca[i], CampoHistoria::pct_arenisca},
            {s.pct_pelita[i], CampoHistoria::pct_pelita},
            {s.pct_caliza[i], CampoHistoria::pct_caliza},
            {s.pct_evaporita[i], CampoHistoria::pct_evaporita},
        };
        for (const auto& p : porcentajes) {
            if (!std::isfinite(p.valor)) return p.campo;
        }
    }
    return CampoHistoria::ninguno;
}

const char* nombre_del_campo(CampoHistoria campo)
{
    switch (campo) {
    case CampoHistoria::techo:
        return "su techo";
    case CampoHistoria::base:
        return "su base";
    case CampoHistoria::edad_techo:
        return "la edad de su techo";
    case CampoHistoria::edad_base:
        return "la edad de su base";
    case CampoHistoria::porosidad:
        return "su porosidad";
    case CampoHistoria::coef_porosidad:
        return "su coeficiente porosidad-profundidad";
    case CampoHistoria::paleobatimetria:
        return "su paleobatimetría";
    case CampoHistoria::pct_arenisca:
        return "su porcentaje de arenisca";
    case CampoHistoria::pct_pelita:
        return "su porcentaje de pelita";
    case CampoHistoria::pct_caliza:
        return "su porcentaje de caliza";
    case CampoHistoria::pct_evaporita:
        return "su porcentaje de evaporita";
    case CampoHistoria::profundidades:
        return "sus profundidades descompactadas";
    case CampoHistoria::ninguno:
        break;
    }
    return "";
}

std::string mensaje(const Store& s, int i, CampoHistoria campo)
{
    std::string t = "El banco " + std::to_string(i);
    if (!s.nombre[i].empty()) t += " («" + s.nombre[i] + "»)";
    t += " no tiene historia de enterramiento: ";
    t += nombre_del_campo(campo);
    if (campo == CampoHistoria::profundidades) {
        return t + " no caben en los números del programa (revise su techo, su base y su "
                   "coeficiente porosidad-profundidad).";
    }
    if (campo == CampoHistoria::porosidad && std::isfinite(s.porosidad[i])) {
        return t + " es " + forma_corta(s.porosidad[i]) +
               " y debe estar entre 0 y 1, sin llegar a 1.";
    }
    if (campo == CampoHistoria::base && std::isfinite(s.base[i]) && std::isfinite(s.techo[i])) {
        return t + " (" + forma_corta(s.base[i]) + " m) está por encima de su techo (" +
               forma_corta(s.techo[i]) + " m).";
    }
    if (campo == CampoHistoria::coef_porosidad && std::isfinite(s.coef_porosidad[i])) {
        return t + " es " + forma_corta(s.coef_porosidad[i]) + " y debe ser mayor que 0.";
    }
    return t + " no es un número finito.";
}

ResultadoHistoria falla(const Store& s, int i, CampoHistoria campo)
{
    ResultadoHistoria r;
    r.banco = i;
    r.campo = campo;
    r.error = mensaje(s, i, campo);
    return r;
}

// Bed i, with its top above the surface, would be more pore than rock there:
// its porosity at the top, phi_techo, passes 1.
ResultadoHistoria falla_porosidad_en_el_techo(const Store& s, int i, double phi_techo)
{
    ResultadoHistoria r = falla(s, i, CampoHistoria::porosidad);
    std::string t = "El banco " + std::to_string(i);
    if (!s.nombre[i].empty()) t += " («" + s.nombre[i] + "»)";
    r.error = t + " no tiene historia de enterramiento: su porosidad, " +
              forma_corta(s.porosidad[i]) + " en la superficie, sería " +
              forma_corta(static_cast<float>(phi_techo)) + " en su techo, a " +
              forma_corta(s.techo[i]) +
              " m (por encima de la superficie), y debe ser menor que 1 (revise su techo, su "
              "porosidad y su coeficiente porosidad-profundidad).";
    return r;
}

// What a bed brings to every step, whatever its depth.
struct BancoFijo {
    double c;      // 1/m
    double phi0;   // surface porosity
    double solido; // solid thickness, m
    double grano;  // grain density, kg/m3
};

// True when two ages (single-precision values, Ma) are the same instant to
// the precision they were read with: they differ by no more than float's
// relative precision of the older one, or by less than the smallest normal
// float (a denormal difference carries almost no digits). A rate over such a
// span is the rounding of the ages divided into the subsidence, not a rate:
// 1e47 m/Ma between ages 1e-45 Ma apart.
bool misma_edad(double a, double b)
{
    const double dt = std::fabs(a - b);
    return dt < std::numeric_limits<float>::min() ||
           dt <= std::numeric_limits<float>::epsilon() * std::max(std::fabs(a), std::fabs(b));
}

} // namespace

double espesor_de_solido(double solido, double phi_techo, double c)
{
    double t = solido / (1.0 - phi_techo);
    const double q = phi_techo / c;
    for (int k = 0; k < kIteraciones; ++k) {
        const double e = std::expm1(-c * t); // e^(-c t) - 1
        const double f = t + q * e - solido;
        const double pendiente = 1.0 - phi_techo * (1.0 + e);
        const double siguiente = t - f / pendiente;
        if (!std::isfinite(siguiente)) return kNaN;
        // Rounding at the root: no further descent.
        if (!(siguiente < t)) break;
        const double paso = t - siguiente;
        t = siguiente;
        // The error after a Newton step is of the order of the step squared.
        if (paso <= 1e-12 * std::max(1.0, std::fabs(t))) break;
    }
    return t;
}

double solido_de_banco(double z1, double z2, double phi0, double c)
{
    return (z2 - z1) - poros(phi0 * std::exp(-c * z1), c, z2 - z1);
}

double densidad_de_columna(double masa, double S, double grano, double phi0)
{
    // A column of no thickness weighs as its top bed at the surface.
    return S != 0 ? masa / S : grano * (1.0 - phi0) + kAgua * phi0;
}

double subsidencia_tectonica_de(double S, double densidad, double W, double nivel)
{
    return S * (kManto - densidad) / (kManto - kAgua) + W - nivel * kManto / (kManto - kAgua);
}

double espesor_movido(double z1, double z2, double phi0, double c, double z1p)
{
    return espesor_de_solido(solido_de_banco(z1, z2, phi0, c), phi0 * std::exp(-c * z1p), c);
}

ResultadoHistoria calcula_historia(const Store& s)
{
    return calcula_historia(s, CurvaNivelMar{});
}

ResultadoHistoria calcula_historia(const Store& s, const CurvaNivelMar& curva)
{
    const int n = std::clamp<int>(s.n_bancos, 0, kMaxBancos);
    for (int i = n; i >= 1; --i) {
        const CampoHistoria campo = campo_malo(s, i);
        if (campo != CampoHistoria::ninguno) return falla(s, i, campo);
    }

    std::array<BancoFijo, kSlots> fijos{};
    for (int i = 1; i <= n; ++i) {
        BancoFijo& b = fijos[i];
        b.c = static_cast<double>(s.coef_porosidad[i]) / 1000.0; // 1/km to 1/m
        b.phi0 = s.porosidad[i];
        const double z1 = s.techo[i];
        const double z2 = s.base[i];
        b.solido = solido_de_banco(z1, z2, b.phi0, b.c);
        b.grano = densidad_de_grano(s, i);
        // Below 0 only where the present porosity would pass 1 (a top above
        // the surface): no thickness can hold it.
        if (!std::isfinite(b.solido) || b.solido < 0) {
            const double phi_techo = b.phi0 * std::exp(-b.c * z1);
            if (phi_techo > 1) return falla_porosidad_en_el_techo(s, i, phi_techo);
            return falla(s, i, CampoHistoria::profundidades);
        }
    }

    ResultadoHistoria r;
    std::vector<PasoHistoria>& pasos = r.historia.pasos;
    pasos.reserve(static_cast<std::size_t>(n));
    for (int j = n; j >= 1; --j) {
        PasoHistoria paso;
        paso.edad = s.edad_techo[j];
        paso.banco_superior = j;
        paso.bancos.reserve(static_cast<std::size_t>(j));
        // Bed j first, at the sea floor; each bed below on the one above it.
        double z = 0;
        double masa = 0; // kg per m2 of the column
        for (int i = j; i >= 1; --i) {
            const BancoFijo& b = fijos[i];
            const double phi_techo = b.phi0 * std::exp(-b.c * z);
            const double t = espesor_de_solido(b.solido, phi_techo, b.c);
            const double poro = poros(phi_techo, b.c, t);
            masa += b.grano * (t - poro) + kAgua * poro;
            if (!std::isfinite(t) || !std::isfinite(z + t) || !std::isfinite(masa))
                return falla(s, i, CampoHistoria::profundidades);
            paso.bancos.push_back({i, z, z + t});
            z += t;
        }
        const double S = z;
        paso.densidad_media = densidad_de_columna(masa, S, fijos[j].grano, fijos[j].phi0);
        paso.espesor_sedimentos = S;
        paso.paleobatimetria = s.paleobatimetria[j];
        paso.nivel_mar = nivel_de_curva(curva, s.edad_techo[j]);
        const double W = paso.paleobatimetria;
        const double delta = paso.nivel_mar;
        paso.subsidencia_total = S + W - delta;
        paso.subsidencia_tectonica = subsidencia_tectonica_de(S, paso.densidad_media, W, delta);
        if (!std::isfinite(paso.densidad_media) || !std::isfinite(paso.subsidencia_tectonica))
            return falla(s, j, CampoHistoria::profundidades);
        pasos.push_back(std::move(paso));
    }

    // Rates from each step to the next younger one (the one before it).
    for (std::size_t k = 1; k < pasos.size(); ++k) {
        const PasoHistoria& joven = pasos[k - 1];
        PasoHistoria& p = pasos[k];
        if (!misma_edad(p.edad, joven.edad))
            p.tasa_tectonica =
                (joven.subsidencia_tectonica - p.subsidencia_tectonica) / (p.edad - joven.edad);
    }
    return r;
}

} // namespace tev
