#include "model/bancos_sin_roca.h"

#include "model/densidad.h"
#include "model/litologias.h"
#include "model/store.h"
#include "text_forms/formas_numericas.h"

#include <algorithm>

namespace tev {

namespace {

// The plain letter of each of U+00C0..U+00FF, 0 for one kept as it is (Æ,
// Ð, ×, Þ, ß and their kin).
constexpr char kLetraSinAcento[64 + 1] = "aaaaaa\0ceeeeiiii\0nooooo\0ouuuuy\0\0"
                                         "aaaaaa\0ceeeeiiii\0nooooo\0ouuuuy\0y";
static_assert(sizeof kLetraSinAcento == 64 + 1, "one letter for each of U+00C0..U+00FF");

// "El banco 3 («Carbón del Sur»)"
std::string el_banco(const Store& s, int i)
{
    std::string t = "El banco " + std::to_string(i);
    if (!s.nombre[i].empty()) t += " («" + s.nombre[i] + "»)";
    return t;
}

// The list as the messages give it: «Pelitas», «Areniscas», ... o «PORCENTUAL».
std::string nombres_del_programa()
{
    std::string t;
    for (const Litologia& l : tabla_litologias)
        t += std::string("«") + l.nombre + "», ";
    return t.substr(0, t.size() - 2) + " o «" + kPorcentual + "»";
}

// The name of the program's or the user's that lit differs from only by case
// or accents; empty when there is none.
std::string parecida(const std::string& lit, const std::vector<std::string>& del_usuario)
{
    const std::string plana = sin_mayusculas_ni_acentos(lit);
    for (const Litologia& l : tabla_litologias)
        if (sin_mayusculas_ni_acentos(l.nombre) == plana) return l.nombre;
    if (sin_mayusculas_ni_acentos(kPorcentual) == plana) return kPorcentual;
    for (const std::string& u : del_usuario)
        if (sin_mayusculas_ni_acentos(u) == plana) return u;
    return {};
}

std::string texto_litologia(const Store& s, int i, const std::vector<std::string>& del_usuario)
{
    const std::string& lit = s.litologia[i];
    const std::string cerca = parecida(lit, del_usuario);
    std::string t = el_banco(s, i) + ": la litología «" + lit + "» ";
    if (!cerca.empty()) {
        t += "difiere de «" + cerca +
             "» sólo en mayúsculas o acentos, y las litologías se comparan letra por letra: "
             "no es ninguna de las conocidas";
    } else {
        t += "no es ninguna de las del programa (" + nombres_del_programa() + ")";
        if (!del_usuario.empty()) t += " ni de las del usuario";
    }
    return t + ", y el banco no tiene densidad de grano propia: se calcula con una densidad de "
               "grano de 0 kg/m³.";
}

std::string texto_porcentajes(const Store& s, int i, double suma)
{
    return el_banco(s, i) + ": sus porcentajes (arenisca " + forma_corta(s.pct_arenisca[i]) +
           ", pelita " + forma_corta(s.pct_pelita[i]) + ", caliza " + forma_corta(s.pct_caliza[i]) +
           ", evaporita " + forma_corta(s.pct_evaporita[i]) + ") suman " +
           forma_corta(static_cast<float>(suma)) +
           " y no 100: su densidad de grano se calcula con ellos tal como están (" +
           forma_corta(densidad_de_grano(s, i)) + " kg/m³).";
}

} // namespace

std::string sin_mayusculas_ni_acentos(const std::string& texto)
{
    std::string r;
    r.reserve(texto.size());
    for (std::size_t k = 0; k < texto.size(); ++k) {
        const auto c = static_cast<unsigned char>(texto[k]);
        if (c >= 'A' && c <= 'Z') {
            r += static_cast<char>(c - 'A' + 'a');
        } else if (c == 0xC3 && k + 1 < texto.size() &&
                   (static_cast<unsigned char>(texto[k + 1]) & 0xC0) == 0x80) {
            // U+00C0..U+00FF: the second byte is 0x80..0xBF.
            const auto segundo = static_cast<unsigned char>(texto[++k]);
            const char plana = kLetraSinAcento[segundo - 0x80];
            if (plana != 0) {
                r += plana;
            } else {
                // Kept, in lower case where it has one (Æ to æ, Ð to ð, Þ to þ).
                const bool mayuscula = segundo < 0xA0 && segundo != 0x97 && segundo != 0x9F;
                r += static_cast<char>(0xC3);
                r += static_cast<char>(mayuscula ? segundo + 0x20 : segundo);
            }
        } else {
            r += static_cast<char>(c);
        }
    }
    return r;
}

std::vector<AvisoSinRoca> bancos_sin_roca(const Store& s)
{
    std::vector<std::string> litologias_del_usuario;
    for (const LitologiaUsuario& u : s.litologias_usuario)
        litologias_del_usuario.push_back(u.nombre);
    std::vector<AvisoSinRoca> avisos;
    const int n = std::clamp<int>(s.n_bancos, 0, kMaxBancos);
    for (int i = 1; i <= n; ++i) {
        const std::string& lit = s.litologia[i];
        const bool del_usuario =
            std::find(litologias_del_usuario.begin(), litologias_del_usuario.end(), lit) !=
            litologias_del_usuario.end();
        if (tiene_densidad_grano(s, i)) {
            // Its own grains: neither the name nor the mix counts.
        } else if (lit == kPorcentual) {
            const MezclaPorcentual m = mezcla_porcentual(s.pct_arenisca[i], s.pct_pelita[i],
                                                         s.pct_caliza[i], s.pct_evaporita[i]);
            if (!m.suma_cien())
                avisos.push_back({i, MotivoSinRoca::porcentajes, texto_porcentajes(s, i, m.suma)});
        } else if (!busca_litologia(lit) && !del_usuario) {
            avisos.push_back({i, MotivoSinRoca::litologia_desconocida,
                              texto_litologia(s, i, litologias_del_usuario)});
        }
        const float phi = s.porosidad[i];
        if (!(phi >= 0.0f && phi < 1.0f)) {
            avisos.push_back({i, MotivoSinRoca::porosidad,
                              el_banco(s, i) + ": su porosidad es " + forma_corta(phi) +
                                  " y la de una roca está entre 0 y 1, sin llegar a 1; se "
                                  "calcula tal como está."});
        }
        const float c = s.coef_porosidad[i];
        if (!(c > 0.0f)) {
            avisos.push_back({i, MotivoSinRoca::coeficiente,
                              el_banco(s, i) + ": su coeficiente porosidad-profundidad es " +
                                  forma_corta(c) +
                                  " y el de una roca es mayor que 0; se calcula tal como está."});
        }
    }
    return avisos;
}

} // namespace tev
