#include "project_file/informe_estiramiento_csv.h"

#include "project_file/forma_exportacion.h"
#include "project_file/informe_historia.h"

#include <charconv>

namespace tev {

namespace {

double redondeado(double v)
{
    const std::string t = numero_historia(v);
    double r = 0;
    std::from_chars(t.data(), t.data() + t.size(), r);
    return r;
}

} // namespace

std::string cabecera_estiramiento_csv()
{
    return "archivo,modo,constantes,beta,edad_rift,corteza,rms,puntos,en_limite\r\n";
}

std::string linea_estiramiento_csv(const std::string& archivo, const PeticionAjuste& peticion,
                                   const AjusteEstiramiento& ajuste)
{
    const ModeloEstiramiento& m = peticion.modelo;
    std::string t;
    agrega_texto_exportado(t, archivo, FormaExportacion{});
    t += m.modo == ModoEstiramiento::total ? ",total," : ",termica,";
    t += m.constantes.nombre;
    for (double v : {ajuste.beta, ajuste.edad_rift, m.corteza, ajuste.rms})
        t += "," + numero_historia(v);
    t += "," + std::to_string(ajuste.puntos);
    t += ajuste.en_limite ? ",si\r\n" : ",no\r\n";
    return t;
}

std::vector<PuntoSubsidencia> puntos_como_en_csv(const Historia& h)
{
    std::vector<PuntoSubsidencia> r = puntos_de_historia(h);
    for (PuntoSubsidencia& p : r) {
        p.edad = redondeado(p.edad);
        p.subsidencia = redondeado(p.subsidencia);
    }
    return r;
}

} // namespace tev
