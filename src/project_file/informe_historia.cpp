#include "project_file/informe_historia.h"

#include "compute/historia.h"

#include <charconv>
#include <cmath>

namespace tev {

std::string numero_historia(double v)
{
    // Rounded in decimal, on the exact binary value, then read back: the
    // nearest double to the rounded decimal.
    char fijo[400];
    const auto escrito = std::to_chars(fijo, fijo + sizeof fijo, v, std::chars_format::fixed, 6);
    if (escrito.ec != std::errc()) return {};
    double redondeado = 0;
    std::from_chars(fijo, escrito.ptr, redondeado);
    if (redondeado == 0) redondeado = 0; // no "-0"
    char corto[64];
    const auto fin = std::to_chars(corto, corto + sizeof corto, redondeado);
    return {corto, fin.ptr};
}

std::string cabecera_historia_csv(const FormaExportacion& f)
{
    return cabecera_exportada({"archivo", "edad", "banco_superior", "espesor_sedimentos",
                               "densidad_media", "paleobatimetria", "nivel_mar",
                               "subsidencia_total", "subsidencia_tectonica", "tasa_tectonica"},
                              f);
}

std::string lineas_historia_csv(const Historia& h, const std::string& archivo,
                                const FormaExportacion& f)
{
    std::string nombre;
    agrega_texto_exportado(nombre, archivo, f);
    std::string t;
    for (const PasoHistoria& p : h.pasos) {
        t += nombre;
        t += f.separador;
        agrega_numero_exportado(t, numero_historia(p.edad), f);
        t += f.separador;
        t += std::to_string(p.banco_superior);
        for (double v : {p.espesor_sedimentos, p.densidad_media, p.paleobatimetria, p.nivel_mar,
                         p.subsidencia_total, p.subsidencia_tectonica}) {
            t += f.separador;
            agrega_numero_exportado(t, numero_historia(v), f);
        }
        t += f.separador;
        if (p.tasa_tectonica) agrega_numero_exportado(t, numero_historia(*p.tasa_tectonica), f);
        termina_linea_exportada(t, f);
    }
    return t;
}

std::string cabecera_enterramiento_csv(const FormaExportacion& f)
{
    // Commas and points always.
    FormaExportacion coma;
    coma.curva_nivel_mar = f.curva_nivel_mar;
    return cabecera_exportada({"archivo", "edad", "banco", "techo", "base"}, coma);
}

std::string lineas_enterramiento_csv(const Historia& h, const std::string& archivo,
                                     const FormaExportacion& f)
{
    FormaExportacion coma;
    coma.curva_nivel_mar = f.curva_nivel_mar;
    std::string nombre;
    agrega_texto_exportado(nombre, archivo, coma);
    std::string t;
    for (const PasoHistoria& p : h.pasos) {
        const std::string edad = numero_historia(p.edad);
        for (const HorizontesBanco& b : p.bancos) {
            t += nombre;
            t += ',';
            t += edad;
            t += ',';
            t += std::to_string(b.banco);
            t += ',';
            t += numero_historia(b.techo);
            t += ',';
            t += numero_historia(b.base);
            termina_linea_exportada(t, coma);
        }
    }
    return t;
}

} // namespace tev
