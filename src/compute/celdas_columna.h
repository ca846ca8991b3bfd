#pragma once
// The column as a table of cells: one row per bed, the top bed (bed
// n_bancos) first, a first column with the bed's number, the fourteen input
// fields in the project file's order, the bed's own grain density, the
// remark, and the per-bed results.
// What the column table shows, copies and pastes, without any widget.

#include "compute/captura_banco.h"
#include "model/rangos.h"
#include "text_forms/texto_tabulado.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tev {

struct Store;

enum ColumnaTabla : int {
    kColNumero,
    kColNombre,
    kColTecho,
    kColBase,
    kColEdadTecho,
    kColEdadBase,
    kColLitologia,
    kColColor,
    kColPorosidad,
    kColCoeficiente,
    kColPaleobatimetria,
    kColArenisca,
    kColPelita,
    kColCaliza,
    kColEvaporita,
    kColDensidadGrano, // kg/m3; empty for none
    kColNotas,
    kColDensidad,
    kColNivelMar,
    kColEspesorDescomp,
    kColCorreccionCarga,
    kColSubsidencia,
    kColumnasTabla
};

// The caption of column c, with its unit: "Techo (m)".
const char* titulo_de_columna(int c);
// The fourteen fields, the grain density and the remark take what is typed;
// the number and the results are read only.
inline bool es_de_entrada(int c)
{
    return c >= kColNombre && c <= kColNotas;
}

// Row fila of the table (0: the top bed) holds bed n_bancos - fila.
int banco_de_fila(const Store& s, int fila);

// A colour as the table writes it: its name among the eight, otherwise its
// number (0x00BBGGRR in decimal, as the project file keeps it).
std::string texto_de_color(int32_t color);
// One of the eight names (capitals or not) or a whole number 0..16777215.
std::optional<int32_t> lee_color(std::string_view texto);

// The text of a cell of bed b, numbers with the decimal mark given.
std::string texto_de_celda(const Store& s, int b, int columna, char decimal);

// Why a text cannot go into input column c (Spanish, without the bed and
// without a final period: "«1,2,3» no es un número"); empty when it can.
std::string motivo_de_rechazo(int columna, std::string_view texto);

// What the table keeps of a bed to bring it back: the fourteen fields, its
// own grain density, the remark, and what the capture derives from them
// (density, sea level).
struct FilaBanco {
    std::string nombre;
    float techo = 0, base = 0, edad_techo = 0, edad_base = 0;
    std::string litologia;
    int32_t color = 0;
    float porosidad = 0, coef_porosidad = 0, paleobatimetria = 0;
    float pct[4] = {0, 0, 0, 0};
    float densidad_grano = 0; // 0: none
    RangosBanco rangos;       // its own uncertainty ranges, which travel with it
    std::string notas;
    float densidad = 0, nivel_mar = 0;
    // Bit for bit: 0 and -0 differ, a NaN equals itself.
    bool operator==(const FilaBanco& o) const;
    bool operator!=(const FilaBanco& o) const { return !(*this == o); }
};
// Beds 1..n_bancos, bed 1 first.
std::vector<FilaBanco> lee_bancos(const Store& s);
// The column becomes exactly these beds (at most kMaxBancos); banco_actual
// stays within it. Results are not touched: the caller computes.
void escribe_bancos(Store& s, const std::vector<FilaBanco>& bancos);

// A bed with the start values of a new column (lithology Areniscas, colour
// white, numbers 0, texts empty, no grain density of its own).
FilaBanco banco_vacio();

// Inserts a bed at position b (1..n_bancos + 1; the beds from b up move one
// up) resting on the bed below it, bed b - 1: its top and base are that
// bed's top, its ages that bed's top age. With no bed below, it rests where
// the bed above it, if any, has its base. Then the capture's rules. False
// when the column already has kMaxBancos beds.
bool inserta_banco(Store& s, int b);
// Removes beds (any order, repeats allowed); at least one bed stays: false,
// changing nothing, when all would go.
bool borra_bancos(Store& s, const std::vector<int>& bancos);

// What stopped cells from going in: the table row and column of the first
// bad cell, and why.
struct RechazoDeCelda {
    int fila = 0; // table row, 0 the top one
    int columna = 0;
    int banco = 0; // the bed that row would hold
    std::string motivo;
};

// Puts the cells of filas into the table from row fila and column columna
// on: each bed touched takes the capture's rules (its percentages as typed),
// rows past the last one add beds at the bottom of the column (up to
// kMaxBancos). Cells on the number or result columns and past the last
// column are left out. All or nothing: the first bad cell is returned and
// the store is left as it was.
std::optional<RechazoDeCelda> pon_celdas(Store& s, int fila, int columna,
                                         const FilasDeTexto& filas);

// The whole column replaced by filas, the top bed first: rows of the input
// fields in the table's order (the fourteen, then the grain density and the
// remark, the last two optional), or rows as the table copies them (the
// bed's number first, results ignored), told by their width. Fields a row
// leaves out take a new bed's start values (no grain density of its own, an
// empty remark). All or nothing.
std::optional<RechazoDeCelda> reemplaza_columna(Store& s, const FilasDeTexto& filas);

// A first line that is the table's own captions (each non-empty cell one
// of them) is taken away.
void quita_titulos(FilasDeTexto& filas);

// The cells of the given table rows and columns (ascending) as tab-separated
// text, numbers with the decimal mark given; with titulos, the columns'
// captions first. Cells outside `marcadas` (when given, one flag per row and
// column, row-major) are left empty.
std::string copia_celdas(const Store& s, const std::vector<int>& filas,
                         const std::vector<int>& columnas, char decimal, bool titulos,
                         const std::vector<bool>& marcadas = {});

// The shape every copy of cells takes: with titulos, titulo(column) of each
// column first; then per row a line of texto(bed, column), or an empty cell
// outside `marcadas` (as copia_celdas).
std::string copia_en_forma(const Store& s, const std::vector<int>& filas,
                           const std::vector<int>& columnas, bool titulos,
                           const std::vector<bool>& marcadas,
                           const std::function<std::string(int columna)>& titulo,
                           const std::function<std::string(int banco, int columna)>& texto);

} // namespace tev
