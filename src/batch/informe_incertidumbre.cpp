#include "batch/informe_incertidumbre.h"

#include "batch/informe.h"
#include "batch/informe_estiramiento.h"
#include "project_file/forma_exportacion.h"
#include "project_file/informe_historia.h" // numero_historia

#include <charconv>
#include <cmath>

namespace tev {

namespace {

// The whole word as a whole number of type T, or nothing.
template <typename T> bool lee_entero(const std::string& t, T& v)
{
    const auto r = std::from_chars(t.data(), t.data() + t.size(), v);
    return !t.empty() && r.ec == std::errc() && r.ptr == t.data() + t.size();
}

// The largest number of draws: 10 million draws of a 100-bed column hold
// 3 × 100 × 10^7 doubles, 24 GB.
constexpr int kMaxTiradas = 1000000;

struct OpcionRango {
    const char* opcion;
    double RangosColumna::*campo;
    const char* que; // what its value is, for the message
};
constexpr OpcionRango kOpcionesRango[] = {
    {"--rango-porosidad", &RangosColumna::porosidad, "una fracción de la porosidad (0.1: ±10 %)"},
    {"--rango-coef", &RangosColumna::coef_porosidad,
     "una fracción del coeficiente porosidad-profundidad (0.1: ±10 %)"},
    {"--rango-paleobatimetria", &RangosColumna::paleobatimetria, "metros"},
    {"--rango-edad", &RangosColumna::edad, "Ma"},
    {"--rango-nivel-mar", &RangosColumna::nivel_mar, "metros"},
};

} // namespace

int lee_opcion_incertidumbre(const std::vector<std::string>& argumentos, std::size_t& k,
                             OpcionesIncertidumbre& o, std::string& error)
{
    const std::string& a = argumentos[k];
    const OpcionRango* rango = nullptr;
    for (const OpcionRango& r : kOpcionesRango)
        if (a == r.opcion) rango = &r;
    if (a != "--incertidumbre" && a != "--semilla" && a != "--incertidumbre-imagen" && !rango)
        return 0;
    if (k + 1 >= argumentos.size()) {
        error = "falta el valor tras " + a + ".";
        return 2;
    }
    const std::string& valor = argumentos[++k];
    const std::string mostrado = "«" + escapa_controles(valor) + "»";
    if (a == "--incertidumbre") {
        int n = 0;
        if (!lee_entero(valor, n) || n < 1 || n > kMaxTiradas) {
            error = "el número de tiradas tras --incertidumbre, " + mostrado +
                    ", debe ser un entero entre 1 y " + std::to_string(kMaxTiradas) + ".";
            return 2;
        }
        o.tiradas = n;
        return 1;
    }
    if (o.sin_tiradas.empty()) o.sin_tiradas = a;
    if (a == "--incertidumbre-imagen") {
        if (valor.empty()) {
            error = "el nombre del archivo de salida tras " + a + " está vacío.";
            return 2;
        }
        o.imagen = valor;
        return 1;
    }
    if (a == "--semilla") {
        uint64_t s = 0;
        if (!lee_entero(valor, s)) {
            error = "la semilla tras --semilla, " + mostrado +
                    ", debe ser un entero entre 0 y 18446744073709551615.";
            return 2;
        }
        o.semilla = s;
        return 1;
    }
    double v = 0;
    if (!lee_real(valor, v) || v < 0) {
        error = "el valor tras " + a + ", " + mostrado + ", debe ser un número no negativo (" +
                rango->que + ").";
        return 2;
    }
    o.rangos.*rango->campo = v;
    return 1;
}

std::string revisa_opciones_incertidumbre(const OpcionesIncertidumbre& o)
{
    if (!o.pedida() && !o.sin_tiradas.empty())
        return o.sin_tiradas + " sólo vale con --incertidumbre N.";
    return {};
}

std::string cabecera_incertidumbre_csv(const FormaExportacion& f)
{
    return cabecera_exportada({"archivo", "edad", "banco_superior", "subsidencia_tectonica",
                               "tectonica_p2_5", "tectonica_p16", "tectonica_p50", "tectonica_p84",
                               "tectonica_p97_5", "subsidencia_total", "total_p2_5", "total_p50",
                               "total_p97_5", "edad_p2_5", "edad_p97_5"},
                              f);
}

std::string lineas_incertidumbre_csv(const ResultadoIncertidumbre& r, const std::string& archivo,
                                     const FormaExportacion& f)
{
    // Into kPercentiles: 2.5, 16, 50, 84, 97.5.
    enum { p2_5, p16, p50, p84, p97_5 };
    std::string nombre;
    agrega_texto_exportado(nombre, archivo, f);
    std::string t;
    const auto& pasos = r.historia.historia.pasos;
    for (std::size_t k = 0; k < pasos.size() && k < r.bandas.size(); ++k) {
        const PasoHistoria& p = pasos[k];
        const BandaPaso& b = r.bandas[k];
        t += nombre;
        t += f.separador;
        agrega_numero_exportado(t, numero_historia(p.edad), f);
        t += f.separador;
        t += std::to_string(p.banco_superior);
        for (double v :
             {p.subsidencia_tectonica, b.tectonica[p2_5], b.tectonica[p16], b.tectonica[p50],
              b.tectonica[p84], b.tectonica[p97_5], p.subsidencia_total, b.total[p2_5],
              b.total[p50], b.total[p97_5], b.edad[p2_5], b.edad[p97_5]}) {
            t += f.separador;
            agrega_numero_exportado(t, numero_historia(v), f);
        }
        termina_linea_exportada(t, f);
    }
    return t;
}

namespace {

// A line without its CR LF.
std::string sin_fin(std::string t)
{
    if (t.size() >= 2 && t.compare(t.size() - 2, 2, "\r\n") == 0) t.resize(t.size() - 2);
    return t;
}

} // namespace

std::string cabecera_estiramiento_incertidumbre_csv()
{
    return sin_fin(cabecera_estiramiento_csv()) +
           ",beta_p2_5,beta_p50,beta_p97_5,edad_rift_p2_5,edad_rift_p50,edad_rift_p97_5\r\n";
}

std::string linea_estiramiento_incertidumbre_csv(const std::string& archivo,
                                                 const PeticionAjuste& peticion,
                                                 const AjusteEstiramiento& ajuste,
                                                 const BandaEstiramiento& banda)
{
    std::string t = sin_fin(linea_estiramiento_csv(archivo, peticion, ajuste));
    for (double v : {banda.beta[0], banda.beta[1], banda.beta[2], banda.edad_rift[0],
                     banda.edad_rift[1], banda.edad_rift[2]})
        t += "," + numero_historia(v);
    return t + "\r\n";
}

} // namespace tev
