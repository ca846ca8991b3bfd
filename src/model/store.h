#pragma once
// The one store of the program: the bed table (parallel arrays, slots 0..100,
// beds 1..n_bancos, slot 0 never a bed) and the view and plot state.
// Depths in metres, positive downwards; ages in Ma; porosity as a fraction;
// coefficient in 1/km; percentages 0..100; densities in kg/m3.

#include "model/forma_csv.h"
#include "model/litologias_usuario.h"
#include "model/rangos.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tev {

inline constexpr int kMaxBancos = 100;
inline constexpr int kSlots = kMaxBancos + 1;

template <typename T> using PorBanco = std::array<T, kSlots>;

// Flags hold -1 for on and 0 for off.
inline constexpr int16_t kActivo = -1;

struct Store {
    // View and tool state of the column view.
    float x_inicio = 0;
    float y_inicio = 0;
    int16_t modo_mover = 0;
    int16_t modo_zoom = 0;
    float factor_zoom = 0;
    int16_t modo_lapiz = 0;
    float x_anterior = 0;
    float y_anterior = 0;

    int16_t n_bancos = 0;
    int16_t banco_actual = 0;

    // Texts are held in UTF-8; the project file stores them in Windows-1252.
    PorBanco<std::string> nombre{};
    PorBanco<float> techo{};
    PorBanco<float> base{};
    PorBanco<float> techo_descomp{};
    PorBanco<float> base_descomp{};
    PorBanco<float> edad_techo{};
    PorBanco<float> edad_base{};
    PorBanco<float> porosidad{};
    PorBanco<float> coef_porosidad{};
    PorBanco<std::string> litologia{};
    PorBanco<int32_t> color{}; // 0x00BBGGRR
    // Each bed's remark, free text in UTF-8; only a CSV file keeps it.
    PorBanco<std::string> notas{};
    // Each bed's own grain density (kg/m3), in place of its lithology's in the
    // bulk density and the burial history; 0 for none. Only a CSV file keeps it.
    PorBanco<float> densidad_grano{};
    // Each bed's own uncertainty ranges (model/rangos.h); only a CSV file
    // keeps them.
    PorBanco<RangosBanco> rangos{};
    // The form of the CSV file the column came from, written again by a save
    // as CSV.
    FormaCsv forma_csv;
    // The user's own rocks this run of the program knows, after the five
    // (model/litologias_usuario.h). Not part of the column: no file of it
    // holds them and limpia_bancos keeps them; the desktop program reads them
    // from the user's data, the batch tool knows none.
    std::vector<LitologiaUsuario> litologias_usuario;

    // Curve plot scales: twips per Ma, twips per metre.
    float escala_tiempo = 0;
    float escala_profundidad = 0;

    PorBanco<float> correccion_carga{};
    PorBanco<float> tevarro_tectonica{};
    PorBanco<float> densidad{};
    PorBanco<float> nivel_mar{};
    PorBanco<float> paleobatimetria{};
    PorBanco<float> pct_arenisca{};
    PorBanco<float> pct_pelita{};
    PorBanco<float> pct_caliza{};
    PorBanco<float> pct_evaporita{};
};

inline constexpr int32_t kBlanco = 0xFFFFFF;

inline const char* const kPelitas = "Pelitas";
inline const char* const kAreniscas = "Areniscas";
inline const char* const kArcosas = "Arcosas";
inline const char* const kEvaporitas = "Evaporitas";
inline const char* const kCalizas = "Calizas";
inline const char* const kPorcentual = "PORCENTUAL";

// Resets the column to one empty bed: the fourteen stored fields of every bed
// (slots 1..100) take their start values (texts empty, lithology Areniscas,
// colour white, numbers 0), and so do the decompacted depths, which the
// column view draws before the new column is computed, the remarks, the own
// grain densities (none), the ranges (none) and the CSV form (the default one): nothing of the
// column before reaches the new one. Densities, sea levels, loads and tectonic subsidence keep what
// they held.
void limpia_bancos(Store& s);

// Start-up defaults of the main window, applied before its first drawing.
void valores_de_arranque(Store& s);

} // namespace tev
