#pragma once
// The project file: one record per bed, fourteen comma-separated fields, CR LF
// line ends, texts in Windows-1252, numbers in the print form.
//
// Reading is all or nothing: the reader builds the list of records and the
// caller replaces its column only when the whole file was read.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tev {

struct Store;

// The fourteen fields of one record, in file order. Texts in UTF-8.
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
};

struct LecturaColumna {
    bool ok = false;
    std::vector<RegistroBanco> bancos; // at most 100
    std::string error;                 // Spanish, names file, record, line and field
};

struct EscrituraColumna {
    bool ok = false;
    std::string bytes; // the file's exact content
    std::string error; // Spanish, names the bed and field
};

// Files larger than this cannot be a column of 100 beds and are refused unread.
inline constexpr std::uintmax_t kTamanoMaximoArchivo = std::uintmax_t{4} * 1024 * 1024;

// nombre_archivo only labels the messages.
LecturaColumna lee_columna(std::string_view bytes, const std::string& nombre_archivo);
// A name ending in ".csv" (any case) is read as a CSV column (csv_columna.h),
// any other as a project file; the same limits hold for both.
LecturaColumna lee_archivo(const std::string& ruta);

// Beds 1..n_bancos in the written form.
EscrituraColumna escribe_columna(const Store& s);

// Writes atomically: on any failure the old file stays as it was. A name
// ending in ".csv" (any case) gets a CSV column, any other a project file.
// Returns an empty text on success, the Spanish reason otherwise.
std::string salva_archivo(const Store& s, const std::string& ruta);

// The fourteen fields of bed i (1..100) of the store.
RegistroBanco registro_del_banco(const Store& s, int i);

// Replaces the column with the records read: reset, the fourteen fields and
// the sea level of each bed, n_bancos, then every bed's density.
void carga_columna(Store& s, const std::vector<RegistroBanco>& bancos);

} // namespace tev
