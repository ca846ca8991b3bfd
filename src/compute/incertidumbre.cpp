#include "compute/incertidumbre.h"

#include "compute/historia_tiradas.h"
#include "compute/nivel_mar.h"
#include "model/densidad.h"
#include "model/store.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <thread>

namespace tev {

namespace {

// The SplitMix64 finaliser (Steele, Lea and Flood 2014): a bijection of 64
// bits in which every input bit reaches every output bit.
uint64_t mezcla(uint64_t z)
{
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

constexpr double kFactorNivel =
    static_cast<double>(kDensidadManto) / (static_cast<double>(kDensidadManto) - kDensidadAgua);

// The ends between which one value of one bed is drawn, as singles, as the
// store holds the value.
struct Extremos {
    float desde = 0;
    float hasta = 0;

    [[nodiscard]] float toma(double u) const
    {
        return static_cast<float>(static_cast<double>(desde) +
                                  u * (static_cast<double>(hasta) - desde));
    }
};

// A bed's own range where it has one, otherwise the value ± the half-width.
Extremos extremos(const Rango& propio, float valor, double semiancho)
{
    if (propio.hay()) return {propio.desde(valor), propio.hasta(valor)};
    return {static_cast<float>(valor - semiancho), static_cast<float>(valor + semiancho)};
}

// What a draw of the column takes for each bed, worked out once.
struct PlanBanco {
    Extremos porosidad, coef, agua, edad;
    bool debajo_de_su_techo = false; // top age no younger than the bed above's
    bool base_en_techo = false;      // base age the top age of the bed below
};

// Beds 1..n of the column, as calcula_historia takes them.
int bancos_de(const Store& s)
{
    return std::clamp<int>(s.n_bancos, 0, kMaxBancos);
}

std::vector<PlanBanco> planea(const Store& s, const RangosColumna& r)
{
    const int n = bancos_de(s);
    std::vector<PlanBanco> plan(static_cast<size_t>(n) + 1);
    for (int i = 1; i <= n; ++i) {
        PlanBanco& p = plan[static_cast<size_t>(i)];
        const RangosBanco& propio = s.rangos[i];
        const float phi = s.porosidad[i];
        const float c = s.coef_porosidad[i];
        p.porosidad = extremos(propio.porosidad, phi, r.porosidad * std::fabs(phi));
        p.coef = extremos(propio.coef_porosidad, c, r.coef_porosidad * std::fabs(c));
        p.agua = extremos(propio.paleobatimetria, s.paleobatimetria[i], r.paleobatimetria);
        p.edad = extremos(propio.edad_techo, s.edad_techo[i], r.edad);
        // A porosity in [0, 1), a coefficient above 0, a top age from today
        // on: the ends brought inside, as far as the bed's value allows.
        const float casi_uno = std::nextafter(1.0f, 0.0f);
        p.porosidad.desde = std::max(p.porosidad.desde, std::min(phi, 0.0f));
        p.porosidad.hasta = std::min(p.porosidad.hasta, std::max(phi, casi_uno));
        p.coef.desde = std::max(p.coef.desde, std::min(c, std::numeric_limits<float>::min()));
        if (s.edad_techo[i] >= 0) p.edad.desde = std::max(p.edad.desde, 0.0f);
        p.debajo_de_su_techo = i < n && s.edad_techo[i] >= s.edad_techo[i + 1];
        p.base_en_techo = i > 1 && s.edad_base[i] == s.edad_techo[i - 1];
    }
    return plan;
}

struct Tirada {
    std::string error;
    int numero = -1; // of the first draw that failed, -1 for none
    bool cancelado = false;
};

// Runs bloque(0) .. bloque(hilos - 1), each on a thread of its own (the
// first on the caller's).
template <typename Bloque> void en_hilos(int hilos, const Bloque& bloque)
{
    std::vector<std::thread> otros;
    for (int h = 1; h < hilos; ++h)
        otros.emplace_back(bloque, h);
    bloque(0);
    for (std::thread& t : otros)
        t.join();
}

const char* const kCancelado = "Cálculo cancelado.";

bool se_cancela(const ControlCalculo* control)
{
    return control != nullptr && control->cancelar.load(std::memory_order_relaxed);
}

void cuenta_una(ControlCalculo* control)
{
    if (control != nullptr) control->hechas.fetch_add(1, std::memory_order_relaxed);
}

// Draws [desde, hasta) into the result's arrays (each draw its own slots).
Tirada tira(const Store& s, const CurvaNivelMar& curva, const std::vector<PlanBanco>& plan,
            const RangosColumna& r, uint64_t semilla, int desde, int hasta,
            ResultadoIncertidumbre& res, ControlCalculo* control)
{
    const int n = bancos_de(s);
    const auto t = std::make_unique<Store>(s);
    std::vector<double> desplazamiento(static_cast<size_t>(n) + 1);
    const auto tiradas = static_cast<size_t>(res.tiradas);
    HistoriaDeTiradas rapida(s, res.historia.historia);
    const size_t pasos = res.historia.historia.pasos.size();
    std::vector<double> tectonica(pasos), total(pasos), edad(pasos);
    for (int d = desde; d < hasta; ++d) {
        if (se_cancela(control)) return {kCancelado, d, true};
        GeneradorTirada g(semilla, static_cast<uint64_t>(d));
        // From the top bed down, so that a bed's age can look at the one
        // drawn above it; five numbers per bed whatever its ranges.
        for (int i = n; i >= 1; --i) {
            const PlanBanco& p = plan[static_cast<size_t>(i)];
            t->porosidad[i] = p.porosidad.toma(g.uniforme());
            t->coef_porosidad[i] = p.coef.toma(g.uniforme());
            t->paleobatimetria[i] = p.agua.toma(g.uniforme());
            float edad = p.edad.toma(g.uniforme());
            if (p.debajo_de_su_techo) edad = std::max(edad, t->edad_techo[i + 1]);
            t->edad_techo[i] = edad;
            desplazamiento[static_cast<size_t>(i)] = r.nivel_mar * (2 * g.uniforme() - 1);
        }
        for (int i = 2; i <= n; ++i)
            if (plan[static_cast<size_t>(i)].base_en_techo) t->edad_base[i] = t->edad_techo[i - 1];
        if (!rapida.calcula(*t, curva, tectonica.data(), total.data(), edad.data())) {
            // Out of the fast way's reach: the history itself, and its error.
            const ResultadoHistoria h = calcula_historia(*t, curva);
            if (!h.ok()) return {h.error, d};
            for (size_t k = 0; k < h.historia.pasos.size(); ++k) {
                const PasoHistoria& paso = h.historia.pasos[k];
                tectonica[k] = paso.subsidencia_tectonica;
                total[k] = paso.subsidencia_total;
                edad[k] = paso.edad;
            }
        }
        // The sea level enters both subsidences linearly: its shift is
        // taken off here, as calcula_historia would with the shifted level.
        // Step k has bed n - k on top.
        for (size_t k = 0; k < pasos; ++k) {
            const double dn = desplazamiento[static_cast<size_t>(n) - k];
            const size_t slot = k * tiradas + static_cast<size_t>(d);
            res.tectonica[slot] = tectonica[k] - dn * kFactorNivel;
            res.total[slot] = total[k] - dn;
            res.edad[slot] = edad[k];
        }
        cuenta_una(control);
    }
    return {};
}

// The percentiles of kPercentiles, as percentil() gives them on the sorted
// values: only the two order statistics each needs are put in place
// (nth_element, in increasing order so that each partitions what is left),
// which gives the very values a full sort would at a fraction of its cost.
void percentiles_de(std::vector<double>& valores, double (&p)[kNumPercentiles])
{
    const size_t n = valores.size();
    auto resto = valores.begin();
    for (int k = 0; k < kNumPercentiles; ++k) {
        const double h = static_cast<double>(n - 1) * kPercentiles[k] / 100;
        const auto abajo = static_cast<size_t>(std::floor(h));
        const auto en_abajo = valores.begin() + static_cast<std::ptrdiff_t>(abajo);
        if (en_abajo >= resto) std::nth_element(resto, en_abajo, valores.end());
        resto = en_abajo + 1;
        if (abajo + 1 >= n) {
            p[k] = valores[n - 1];
            continue;
        }
        // The next order statistic: the least of what lies above.
        const auto siguiente = std::min_element(resto, valores.end());
        std::iter_swap(resto, siguiente);
        const double f = h - static_cast<double>(abajo);
        p[k] = valores[abajo] + f * (valores[abajo + 1] - valores[abajo]);
    }
}

} // namespace

GeneradorTirada::GeneradorTirada(uint64_t semilla, uint64_t tirada)
    : estado_(mezcla(semilla ^ mezcla(tirada ^ 0x243F6A8885A308D3ULL)))
{
}

uint64_t GeneradorTirada::siguiente()
{
    estado_ += 0x9E3779B97F4A7C15ULL;
    return mezcla(estado_);
}

double GeneradorTirada::uniforme()
{
    return static_cast<double>(siguiente() >> 11) * 0x1.0p-53;
}

BandaEstiramiento reajusta_estiramiento(const ResultadoIncertidumbre& r,
                                        const PeticionAjuste& peticion, int hilos,
                                        ControlCalculo* control)
{
    BandaEstiramiento b;
    const int n = r.tiradas;
    const size_t pasos = r.bandas.size();
    if (n < 1 || !r.ok()) {
        b.error = r.error;
        return b;
    }
    hilos = std::clamp(hilos, 1, n);
    std::vector<double> betas(static_cast<size_t>(n));
    std::vector<double> edades(static_cast<size_t>(n));
    std::vector<Tirada> fallos(static_cast<size_t>(hilos));
    const auto bloque = [&](int h) {
        const int desde = static_cast<int>(static_cast<long long>(n) * h / hilos);
        const int hasta = static_cast<int>(static_cast<long long>(n) * (h + 1) / hilos);
        std::vector<PuntoSubsidencia> puntos(pasos);
        for (int d = desde; d < hasta; ++d) {
            if (se_cancela(control)) {
                fallos[static_cast<size_t>(h)] = {kCancelado, d, true};
                return;
            }
            for (size_t k = 0; k < pasos; ++k) {
                const size_t slot = k * static_cast<size_t>(n) + static_cast<size_t>(d);
                puntos[k] = {r.edad[slot], r.tectonica[slot]};
            }
            const AjusteEstiramiento a = ajusta_estiramiento(puntos, peticion);
            if (!a.ok()) {
                fallos[static_cast<size_t>(h)] = {a.error, d};
                return;
            }
            betas[static_cast<size_t>(d)] = a.beta;
            edades[static_cast<size_t>(d)] = a.edad_rift;
            cuenta_una(control);
        }
    };
    en_hilos(hilos, bloque);
    for (const Tirada& f : fallos) {
        if (f.cancelado) {
            b.error = kCancelado;
            b.cancelado = true;
            return b;
        }
    }
    for (const Tirada& f : fallos) {
        if (f.numero < 0) continue;
        b.error = "La tirada " + std::to_string(f.numero + 1) + " de " + std::to_string(n) +
                  ": el estiramiento no se pudo ajustar: " + f.error;
        return b;
    }
    std::sort(betas.begin(), betas.end());
    std::sort(edades.begin(), edades.end());
    const double p[3] = {2.5, 50, 97.5};
    for (int q = 0; q < 3; ++q) {
        b.beta[q] = percentil(betas, p[q]);
        b.edad_rift[q] = percentil(edades, p[q]);
    }
    return b;
}

double percentil(const std::vector<double>& ordenados, double p)
{
    if (ordenados.empty()) return std::numeric_limits<double>::quiet_NaN();
    const double h = static_cast<double>(ordenados.size() - 1) * p / 100;
    const auto abajo = static_cast<size_t>(std::floor(h));
    if (abajo + 1 >= ordenados.size()) return ordenados.back();
    const double f = h - static_cast<double>(abajo);
    return ordenados[abajo] + f * (ordenados[abajo + 1] - ordenados[abajo]);
}

ResultadoIncertidumbre calcula_incertidumbre(const Store& s, const CurvaNivelMar& curva,
                                             const RangosColumna& rangos, int tiradas,
                                             uint64_t semilla, int hilos, ControlCalculo* control)
{
    ResultadoIncertidumbre res;
    res.historia = calcula_historia(s, curva);
    if (!res.historia.ok()) {
        res.error = res.historia.error;
        return res;
    }
    tiradas = std::max(tiradas, 1);
    hilos = std::clamp(hilos, 1, tiradas);
    res.tiradas = tiradas;
    const std::vector<PasoHistoria>& pasos = res.historia.historia.pasos;
    const size_t celdas = pasos.size() * static_cast<size_t>(tiradas);
    res.tectonica.assign(celdas, 0);
    res.total.assign(celdas, 0);
    res.edad.assign(celdas, 0);
    const std::vector<PlanBanco> plan = planea(s, rangos);

    // Each thread a block of draws; its first failure is the lowest of its
    // block, so the lowest of all does not depend on the threads.
    std::vector<Tirada> fallos(static_cast<size_t>(hilos));
    const auto bloque = [&](int h) {
        const int desde = static_cast<int>(static_cast<long long>(tiradas) * h / hilos);
        const int hasta = static_cast<int>(static_cast<long long>(tiradas) * (h + 1) / hilos);
        fallos[static_cast<size_t>(h)] =
            tira(s, curva, plan, rangos, semilla, desde, hasta, res, control);
    };
    en_hilos(hilos, bloque);
    for (const Tirada& f : fallos) {
        if (!f.cancelado) continue;
        res.error = kCancelado;
        res.cancelado = true;
        res.bandas.clear();
        return res;
    }
    for (const Tirada& f : fallos) {
        if (f.numero < 0) continue;
        res.error = "La tirada " + std::to_string(f.numero + 1) + " de " + std::to_string(tiradas) +
                    " (semilla " + std::to_string(semilla) + "): " + f.error;
        res.bandas.clear();
        return res;
    }

    // The steps' percentiles, each step's on one thread.
    res.bandas.resize(pasos.size());
    en_hilos(hilos, [&](int h) {
        const size_t desde_paso =
            pasos.size() * static_cast<size_t>(h) / static_cast<size_t>(hilos);
        const size_t hasta_paso =
            pasos.size() * static_cast<size_t>(h + 1) / static_cast<size_t>(hilos);
        std::vector<double> valores(static_cast<size_t>(tiradas));
        for (size_t k = desde_paso; k < hasta_paso; ++k) {
            BandaPaso& b = res.bandas[k];
            b.banco_superior = pasos[k].banco_superior;
            const auto desde = static_cast<std::ptrdiff_t>(k * static_cast<size_t>(tiradas));
            const auto copia = [&](const std::vector<double>& v) {
                std::copy(v.begin() + desde, v.begin() + desde + tiradas, valores.begin());
            };
            copia(res.tectonica);
            percentiles_de(valores, b.tectonica);
            copia(res.total);
            percentiles_de(valores, b.total);
            copia(res.edad);
            percentiles_de(valores, b.edad);
        }
    });
    return res;
}

} // namespace tev
