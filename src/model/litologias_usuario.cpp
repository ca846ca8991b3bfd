#include "model/litologias_usuario.h"

#include "model/bancos_sin_roca.h"
#include "model/litologias.h"
#include "model/store.h"
#include "text_forms/formas_numericas.h"

#include <array>
#include <cmath>

namespace tev {

namespace {

std::string comillas(const std::string& t)
{
    return "«" + t + "»";
}

} // namespace

const LitologiaUsuario* busca_litologia_usuario(const std::vector<LitologiaUsuario>& rocas,
                                                std::string_view nombre)
{
    for (const LitologiaUsuario& r : rocas)
        if (r.nombre == nombre) return &r;
    return nullptr;
}

std::string motivo_de_nombre(const std::string& nombre, const std::vector<LitologiaUsuario>& otras)
{
    if (nombre.empty()) return "falta el nombre";
    for (const char c : nombre)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return "el nombre " + comillas(nombre) + " tiene un carácter de control";
    const std::string plano = sin_mayusculas_ni_acentos(nombre);
    std::array<const char*, tabla_litologias.size() + 1> del_programa{};
    for (std::size_t k = 0; k < tabla_litologias.size(); ++k)
        del_programa[k] = tabla_litologias[k].nombre;
    del_programa.back() = kPorcentual;
    for (const char* p : del_programa)
        if (sin_mayusculas_ni_acentos(p) == plano)
            return comillas(nombre) + " es una de las litologías del programa (" + comillas(p) +
                   "), que no se pueden cambiar";
    for (const LitologiaUsuario& o : otras)
        if (sin_mayusculas_ni_acentos(o.nombre) == plano)
            return comillas(nombre) + " ya es el nombre de otra litología del usuario (" +
                   comillas(o.nombre) + "); mayúsculas y acentos no distinguen dos nombres";
    return {};
}

std::string motivo_de_densidad_grano(float v)
{
    if (std::isfinite(v) && v > 0) return {};
    return "la densidad de grano es " + forma_corta(v) + " y debe ser mayor que 0 (kg/m³)";
}

std::string motivo_de_porosidad(float v)
{
    if (v >= 0 && v < 1) return {};
    return "la porosidad en superficie es " + forma_corta(v) +
           " y debe estar entre 0 y 1, sin llegar a 1";
}

std::string motivo_de_coef_porosidad(float v)
{
    if (std::isfinite(v) && v > 0) return {};
    return "el coeficiente porosidad-profundidad es " + forma_corta(v) +
           " y debe ser mayor que 0 (1/km)";
}

} // namespace tev
