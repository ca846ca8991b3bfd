#include "batch/informe_estiramiento.h"

#include "batch/informe.h"
#include "project_file/forma_exportacion.h"
#include "project_file/informe_historia.h" // numero_historia

#include <charconv>
#include <cmath>

namespace tev {

bool lee_real(const std::string& t, double& v)
{
    const char* inicio = t.data();
    if (!t.empty() && t.front() == '+') ++inicio;
    const auto r = std::from_chars(inicio, t.data() + t.size(), v);
    return !t.empty() && r.ec == std::errc() && r.ptr == t.data() + t.size() && std::isfinite(v);
}

namespace {

std::string nombres_de_juegos()
{
    std::string t;
    for (std::size_t k = 0; k < kJuegosDeConstantes.size(); ++k) {
        if (k) t += k + 1 == kJuegosDeConstantes.size() ? " o " : ", ";
        t += kJuegosDeConstantes[k].nombre;
    }
    return t;
}

} // namespace

int lee_opcion_estiramiento(const std::vector<std::string>& argumentos, std::size_t& k,
                            OpcionesEstiramiento& o, std::string& error)
{
    const std::string& a = argumentos[k];
    if (a == "--estiramiento") {
        o.tabla = true;
        return 1;
    }
    if (a == "--estiramiento-curva") {
        o.curva = true;
        return 1;
    }
    const bool con_valor = a == "--estiramiento-imagen" || a == "--modo" || a == "--edad-rift" ||
                           a == "--beta" || a == "--corteza" || a == "--constantes" ||
                           a == "--terminos" || a == "--desde" || a == "--hasta";
    if (!con_valor) return 0;
    if (k + 1 >= argumentos.size()) {
        error = a == "--estiramiento-imagen" ? "falta el archivo de salida tras " + a + "."
                                             : "falta el valor tras " + a + ".";
        return 2;
    }
    const std::string& valor = argumentos[++k];
    if (a == "--estiramiento-imagen") {
        if (valor.empty()) {
            error = "el nombre del archivo de salida tras " + a + " está vacío.";
            return 2;
        }
        o.imagen = valor;
        return 1;
    }
    if (o.ajuste_dado.empty()) o.ajuste_dado = a;
    const std::string mostrado = "«" + escapa_controles(valor) + "»";
    ModeloEstiramiento& m = o.peticion.modelo;
    if (a == "--modo") {
        if (valor == "total") {
            m.modo = ModoEstiramiento::total;
        } else if (valor == "termica" || valor == "térmica") {
            m.modo = ModoEstiramiento::termica;
        } else {
            error = "el modo " + mostrado + " no existe: es total o termica.";
            return 2;
        }
        return 1;
    }
    if (a == "--constantes") {
        const ConstantesEstiramiento* c = busca_constantes(valor);
        if (!c) {
            error = "no hay constantes llamadas " + mostrado + ": son " + nombres_de_juegos() + ".";
            return 2;
        }
        m.constantes = *c;
        return 1;
    }
    if (a == "--terminos") {
        int n = 0;
        const auto r = std::from_chars(valor.data(), valor.data() + valor.size(), n);
        if (valor.empty() || r.ec != std::errc() || r.ptr != valor.data() + valor.size() || n < 1) {
            error = "el número de términos tras --terminos, " + mostrado +
                    ", debe ser un entero mayor que 0.";
            return 2;
        }
        m.terminos = n;
        return 1;
    }
    double v = 0;
    if (!lee_real(valor, v)) {
        error = "el valor tras " + a + ", " + mostrado + ", no es un número.";
        return 2;
    }
    if (a == "--beta") {
        if (!(v > 1 && v <= kBetaMaxima)) {
            error = "el factor de estiramiento tras --beta, " + mostrado +
                    ", debe ser mayor que 1 y no mayor que 20.";
            return 2;
        }
        o.peticion.beta = v;
    } else if (a == "--corteza") {
        if (!(v > 0)) {
            error = "el espesor de la corteza tras --corteza, " + mostrado +
                    ", debe ser mayor que 0 (en metros).";
            return 2;
        }
        m.corteza = v;
    } else if (a == "--edad-rift") {
        o.peticion.edad_rift = v;
    } else if (a == "--desde") {
        o.peticion.desde = v;
    } else {
        o.peticion.hasta = v;
    }
    return 1;
}

std::string revisa_opciones_estiramiento(const OpcionesEstiramiento& o, bool con_comparacion)
{
    if (!o.ajuste_dado.empty() && !o.pedido() && !con_comparacion)
        return o.ajuste_dado + " sólo vale con --estiramiento, --estiramiento-curva, "
                               "--estiramiento-imagen o --comparar-imagen.";
    if (o.tabla && o.curva)
        return "--estiramiento y --estiramiento-curva escriben tablas distintas; pida una sola.";
    const PeticionAjuste& p = o.peticion;
    if (p.desde && p.hasta && *p.desde > *p.hasta)
        return "--desde (" + numero_historia(*p.desde) + ") es mayor que --hasta (" +
               numero_historia(*p.hasta) + ").";
    if (!(p.modelo.corteza < p.modelo.constantes.litosfera))
        return "el espesor de la corteza tras --corteza (" + numero_historia(p.modelo.corteza) +
               " m) debe ser menor que el de la litosfera de " + p.modelo.constantes.nombre + " (" +
               numero_historia(p.modelo.constantes.litosfera) + " m).";
    return {};
}

std::string cabecera_curva_estiramiento_csv()
{
    return "archivo,edad,subsidencia_tectonica,modelo,residuo\r\n";
}

std::string lineas_curva_estiramiento_csv(const std::string& archivo,
                                          const std::vector<PuntoSubsidencia>& puntos,
                                          const PeticionAjuste& peticion,
                                          const AjusteEstiramiento& ajuste)
{
    std::string nombre;
    agrega_texto_exportado(nombre, archivo, FormaExportacion{});
    std::string t;
    for (const PuntoSubsidencia& p : puntos_del_ajuste(puntos, peticion)) {
        const double modelo =
            modelo_estiramiento(peticion.modelo, ajuste.beta, ajuste.edad_rift, p.edad);
        t += nombre;
        for (double v : {p.edad, p.subsidencia, modelo, p.subsidencia - modelo})
            t += "," + numero_historia(v);
        t += "\r\n";
    }
    return t;
}

} // namespace tev
