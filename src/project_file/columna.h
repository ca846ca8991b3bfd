#pragma once
// A column of beds as every file form holds it, below them all: the record of
// a bed, its fourteen fields, what a reading and a writing give back, and how
// the records come from and go into the store. The formats themselves are
// archivo_proyecto.h and csv_columna.h; formatos.h chooses one by the name.

#include "model/forma_csv.h"
#include "model/rangos.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tev {

struct Store;

// The fourteen fields of one record, in project file order. Texts in UTF-8.
struct RegistroBanco {
    std::string nombre;
    float techo = 0;
    float base = 0;
    float edad_techo = 0;
    float edad_base = 0;
    std::string litologia;
    int32_t color = 0;
    float porosidad = 0;
    float coef_porosidad = 0;
    float paleobatimetria = 0;
    float pct_arenisca = 0;
    float pct_pelita = 0;
    float pct_caliza = 0;
    float pct_evaporita = 0;
    // Not one of the fourteen: the bed's remark, its own grain density
    // (kg/m3, 0 for none) and its uncertainty ranges, which only a CSV file
    // keeps.
    std::string notas;
    float densidad_grano = 0;
    RangosBanco rangos{};
};

// Reading is all or nothing: the reader builds the list of records and the
// caller replaces its column only when the whole file was read.
struct LecturaColumna {
    bool ok = false;
    std::vector<RegistroBanco> bancos; // at most 100
    std::string error;                 // Spanish, names file, record, line and field
    FormaCsv forma;                    // a CSV file's own; the default for a project file
};

struct EscrituraColumna {
    bool ok = false;
    std::string bytes; // the file's exact content
    std::string error; // Spanish, names the bed and field
};

// Files larger than this cannot be a column of 100 beds and are refused unread.
inline constexpr std::uintmax_t kTamanoMaximoArchivo = std::uintmax_t{4} * 1024 * 1024;

// The fourteen fields of bed i (1..100) of the store.
RegistroBanco registro_del_banco(const Store& s, int i);

// Replaces the column with the records read: reset, the fourteen fields, the
// remark, the own grain density, the ranges and the sea level of each bed, n_bancos, then every
// bed's density. The column's CSV form is the default one.
void carga_columna(Store& s, const std::vector<RegistroBanco>& bancos);
// carga_columna, the column then taking the form of the file read.
void carga_lectura(Store& s, const LecturaColumna& lectura);

// ---------------------------------------------------------------------------
// The fields as the files keep them: the project file in this order, the CSV
// by their keys, in any order.

enum class TipoCampo { texto, real, entero };

struct Campo {
    const char* clave;  // the store's name, as a CSV header names the column
    const char* nombre; // as the messages show it
    TipoCampo tipo;     // text, Single or Long
    // The member of its kind; the other two are null.
    std::string RegistroBanco::*texto;
    float RegistroBanco::*real;
    int32_t RegistroBanco::*entero;
};

inline constexpr int kNumCampos = 14;

// Project file order.
inline constexpr Campo kCampos[kNumCampos] = {
    {"nombre", "nombre", TipoCampo::texto, &RegistroBanco::nombre, nullptr, nullptr},
    {"techo", "techo", TipoCampo::real, nullptr, &RegistroBanco::techo, nullptr},
    {"base", "base", TipoCampo::real, nullptr, &RegistroBanco::base, nullptr},
    {"edad_techo", "edad del techo", TipoCampo::real, nullptr, &RegistroBanco::edad_techo, nullptr},
    {"edad_base", "edad de la base", TipoCampo::real, nullptr, &RegistroBanco::edad_base, nullptr},
    {"litologia", "litología", TipoCampo::texto, &RegistroBanco::litologia, nullptr, nullptr},
    {"color", "color", TipoCampo::entero, nullptr, nullptr, &RegistroBanco::color},
    {"porosidad", "porosidad", TipoCampo::real, nullptr, &RegistroBanco::porosidad, nullptr},
    {"coef_porosidad", "coeficiente de porosidad", TipoCampo::real, nullptr,
     &RegistroBanco::coef_porosidad, nullptr},
    {"paleobatimetria", "paleobatimetría", TipoCampo::real, nullptr,
     &RegistroBanco::paleobatimetria, nullptr},
    {"pct_arenisca", "porcentaje de arenisca", TipoCampo::real, nullptr,
     &RegistroBanco::pct_arenisca, nullptr},
    {"pct_pelita", "porcentaje de pelita", TipoCampo::real, nullptr, &RegistroBanco::pct_pelita,
     nullptr},
    {"pct_caliza", "porcentaje de caliza", TipoCampo::real, nullptr, &RegistroBanco::pct_caliza,
     nullptr},
    {"pct_evaporita", "porcentaje de evaporita", TipoCampo::real, nullptr,
     &RegistroBanco::pct_evaporita, nullptr},
};

} // namespace tev
