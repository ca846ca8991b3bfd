#pragma once
// The headless tool: reads project files, computes them as "Abrir" does and
// reports every bed as a readable table or as CSV (project_file/informe_csv.h,
// project_file/informe_historia.h).

#include "project_file/informe_csv.h"    // --csv
#include "text_forms/formas_numericas.h" // numero_corto

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace tev {

struct AjusteEstiramiento;
struct BandaPaso;
struct CurvaNivelMar;
struct Historia;
struct ModeloEstiramiento;
struct PeticionAjuste;
struct Pozo;
struct PuntoSubsidencia;
struct Store;

// A readable table of beds 1..n_bancos, units in the headers, added to the
// end of t.
void agrega_tabla_de_bancos(std::string& t, const Store& s);
std::string tabla_de_bancos(const Store& s);

// The text with control characters (below U+0020 but tab, DEL and
// U+0080..U+009F) written as \x1b or \u009b, as the terminal is shown them.
std::string escapa_controles(const std::string& t);

// What writes the pictures. On failure the error holds the whole message.
// The pictures whose numbers depend on the sea level get the curve they were
// computed with, which they name when it is not the program's table.
class Imagenes {
  public:
    virtual ~Imagenes() = default;
    virtual bool curvas(const Store& s, const CurvaNivelMar& curva, const std::string& ruta,
                        std::string& error) const = 0;
    virtual bool columna(const Store& s, const std::string& ruta, std::string& error) const = 0;
    // Both columns whole, every label legible, at the size that holds them.
    virtual bool columna_entera(const Store& s, const std::string& ruta,
                                std::string& error) const = 0;
    virtual bool historia(const Historia& h, const Store& s, const CurvaNivelMar& curva,
                          const std::string& ruta, std::string& error) const = 0;
    // The points (all of them, the request's interval marked) and the fit.
    virtual bool estiramiento(const std::vector<PuntoSubsidencia>& puntos,
                              const PeticionAjuste& peticion, const AjusteEstiramiento& ajuste,
                              const CurvaNivelMar& curva, const std::string& ruta,
                              std::string& error) const = 0;
    // The history diagram with its uncertainty bands, one per step of h.
    virtual bool historia_con_bandas(const Historia& h, const Store& s,
                                     const std::vector<BandaPaso>& bandas,
                                     const CurvaNivelMar& curva, const std::string& ruta,
                                     std::string& error) const = 0;
    // Every well with a history on one chart, each with its fit under the
    // model and, when bandas holds an entry for it (one per well of pozos,
    // by its place), its uncertainty bands.
    virtual bool pozos(const std::vector<Pozo>& pozos, const ModeloEstiramiento& modelo,
                       const std::vector<std::vector<BandaPaso>>& bandas,
                       const CurvaNivelMar& curva, const std::string& ruta,
                       std::string& error) const = 0;
};

// Loads what draws the pictures, called once, before the first file, only
// when a picture is asked for; null with the reason in error when there is
// nothing to draw with.
using CargaImagenes = std::function<const Imagenes*(std::string& error)>;

// The whole command line, one file after another; returns the exit code (0
// all well, 1 a file failed, 2 usage).
int ejecuta_lote(const std::vector<std::string>& argumentos, std::ostream& salida,
                 std::ostream& errores, const CargaImagenes& carga_imagenes);

} // namespace tev
