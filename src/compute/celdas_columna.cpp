#include "compute/celdas_columna.h"

#include "model/colores.h"
#include "model/densidad.h"
#include "model/store.h"
#include "text_forms/formas_numericas.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace tev {

namespace {

const char* const kTitulos[kColumnasTabla] = {
    "Banco",
    "Nombre",
    "Techo (m)",
    "Base (m)",
    "Edad del techo (Ma)",
    "Edad de la base (Ma)",
    "Litología",
    "Color",
    "Porosidad",
    "Coeficiente (1/km)",
    "Paleobatimetría (m)",
    "Arenisca (%)",
    "Pelita (%)",
    "Caliza (%)",
    "Evaporita (%)",
    "Densidad de grano (kg/m³)",
    "Notas",
    "Densidad (kg/m³)",
    "Nivel del mar (m)",
    "Espesor descompactado (m)",
    "Corrección de carga (m)",
    "Subsidencia tectónica (m)",
};

bool mismos_bits(float a, float b)
{
    std::uint32_t x = 0;
    std::uint32_t y = 0;
    std::memcpy(&x, &a, sizeof x);
    std::memcpy(&y, &b, sizeof y);
    return x == y;
}

std::string sin_blancos(std::string_view t)
{
    const size_t i = t.find_first_not_of(" \t");
    if (i == std::string_view::npos) return {};
    const size_t j = t.find_last_not_of(" \t");
    return std::string(t.substr(i, j - i + 1));
}

// The single of a numeric input column of bed b; null for the others.
float* campo_numerico(Store& s, int b, int columna)
{
    switch (columna) {
    case kColTecho:
        return &s.techo[b];
    case kColBase:
        return &s.base[b];
    case kColEdadTecho:
        return &s.edad_techo[b];
    case kColEdadBase:
        return &s.edad_base[b];
    case kColPorosidad:
        return &s.porosidad[b];
    case kColCoeficiente:
        return &s.coef_porosidad[b];
    case kColPaleobatimetria:
        return &s.paleobatimetria[b];
    case kColArenisca:
        return &s.pct_arenisca[b];
    case kColPelita:
        return &s.pct_pelita[b];
    case kColCaliza:
        return &s.pct_caliza[b];
    case kColEvaporita:
        return &s.pct_evaporita[b];
    default:
        return nullptr;
    }
}

float valor_numerico(const Store& s, int b, int columna)
{
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-const-cast): read only
    return *campo_numerico(const_cast<Store&>(s), b, columna);
}

bool es_numerica(int columna)
{
    return columna >= kColTecho && columna <= kColEvaporita && columna != kColLitologia &&
           columna != kColColor;
}

// A text already accepted by motivo_de_rechazo, into bed b.
void pon_campo(Store& s, int b, int columna, const std::string& texto)
{
    if (float* v = campo_numerico(s, b, columna)) {
        *v = *lee_numero_de_celda(texto);
    } else if (columna == kColNombre) {
        s.nombre[b] = texto;
    } else if (columna == kColLitologia) {
        s.litologia[b] = texto;
    } else if (columna == kColColor) {
        s.color[b] = *lee_color(texto);
    } else if (columna == kColDensidadGrano) {
        // Blank for none.
        s.densidad_grano[b] = sin_blancos(texto).empty() ? 0 : *lee_numero_de_celda(texto);
    } else if (columna == kColNotas) {
        s.notas[b] = texto;
    }
}

// The cells of one bed: where each lands, and its text.
struct CeldaDeBanco {
    int columna;
    const std::string* texto;
};

// The cells into bed b, then the rules with the percentages as typed.
void pon_banco(Store& s, int b, const std::vector<CeldaDeBanco>& celdas)
{
    for (const CeldaDeBanco& c : celdas)
        pon_campo(s, b, c.columna, *c.texto);
    Porcentajes pct = porcentajes_mostrados(s, b);
    for (const CeldaDeBanco& c : celdas)
        if (c.columna >= kColArenisca && c.columna <= kColEvaporita)
            pct[static_cast<size_t>(c.columna - kColArenisca)] = lee_doble_de_celda(*c.texto);
    aplica_reglas_de_banco(s, b, pct);
}

std::string demasiados_bancos(int n)
{
    return "la columna tendría " + cantidad(n, "banco", "bancos") + " y admite hasta " +
           std::to_string(kMaxBancos);
}

bool es_titulo(const std::string& t)
{
    return std::any_of(std::begin(kTitulos), std::end(kTitulos),
                       [&](const char* titulo) { return t == titulo; });
}

} // namespace

const char* titulo_de_columna(int c)
{
    return c >= 0 && c < kColumnasTabla ? kTitulos[c] : "";
}

int banco_de_fila(const Store& s, int fila)
{
    return s.n_bancos - fila;
}

std::string texto_de_color(int32_t color)
{
    for (const FilaColor& c : tabla_colores)
        if (c.valor == color) return c.nombre;
    return std::to_string(color);
}

std::optional<int32_t> lee_color(std::string_view texto)
{
    const std::string t = sin_blancos(texto);
    for (const FilaColor& c : tabla_colores) {
        const std::string_view n = c.nombre;
        if (n.size() == t.size() && std::equal(n.begin(), n.end(), t.begin(), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) ==
                       std::tolower(static_cast<unsigned char>(b));
            }))
            return c.valor;
    }
    int32_t v = 0;
    if (convierte_entero(t, v) == Conversion::ok && v >= 0 && v <= 0xFFFFFF) return v;
    return std::nullopt;
}

std::string texto_de_celda(const Store& s, int b, int columna, char decimal)
{
    switch (columna) {
    case kColNumero:
        return std::to_string(b);
    case kColNombre:
        return s.nombre[b];
    case kColLitologia:
        return s.litologia[b];
    case kColColor:
        return texto_de_color(s.color[b]);
    case kColDensidadGrano:
        return tiene_densidad_grano(s, b) ? numero_con_marca(s.densidad_grano[b], decimal)
                                          : std::string();
    case kColNotas:
        return s.notas[b];
    case kColDensidad:
        return numero_con_marca(s.densidad[b], decimal);
    case kColNivelMar:
        return numero_con_marca(s.nivel_mar[b], decimal);
    case kColEspesorDescomp:
        return numero_con_marca(s.base_descomp[b] - s.techo_descomp[b], decimal);
    case kColCorreccionCarga:
        return numero_con_marca(s.correccion_carga[b], decimal);
    case kColSubsidencia:
        return numero_con_marca(s.tevarro_tectonica[b], decimal);
    default:
        if (es_numerica(columna)) return numero_con_marca(valor_numerico(s, b, columna), decimal);
        return {};
    }
}

std::string motivo_de_rechazo(int columna, std::string_view texto)
{
    const std::string t(texto);
    if (columna == kColNombre || columna == kColLitologia) {
        if (t.find_first_of("\t\r\n") != std::string::npos)
            return std::string("«") + t + "» lleva un salto de línea o un tabulador";
        return {};
    }
    if (columna == kColNotas) return {};
    if (columna == kColDensidadGrano) {
        if (sin_blancos(t).empty()) return {}; // none: the lithology's
        const std::optional<float> v = lee_numero_de_celda(t);
        if (!v) return "«" + t + "» no es un número";
        if (!(*v > 0))
            return "«" + t +
                   "» no es una densidad de grano: escriba un número mayor que 0 (kg/m³), o deje "
                   "la celda vacía para la de su litología";
        return {};
    }
    if (columna == kColColor) {
        if (lee_color(t)) return {};
        return "«" + t +
               "» no es un color: escriba Blanco, Negro, Azul, Cian, Verde, Magenta, Rojo o "
               "Amarillo, o un número de 0 a 16777215";
    }
    if (!es_numerica(columna))
        return "la columna «" + std::string(titulo_de_columna(columna)) + "» es de solo lectura";
    if (sin_blancos(t).empty()) return "la celda está vacía";
    if (!lee_numero_de_celda(t)) return "«" + t + "» no es un número";
    return {};
}

bool FilaBanco::operator==(const FilaBanco& o) const
{
    const float a[] = {techo,           base,   edad_techo, edad_base, porosidad, coef_porosidad,
                       paleobatimetria, pct[0], pct[1],     pct[2],    pct[3],    densidad,
                       nivel_mar};
    const float b[] = {o.techo,     o.base,           o.edad_techo,      o.edad_base,
                       o.porosidad, o.coef_porosidad, o.paleobatimetria, o.pct[0],
                       o.pct[1],    o.pct[2],         o.pct[3],          o.densidad,
                       o.nivel_mar};
    for (size_t i = 0; i < std::size(a); ++i)
        if (!mismos_bits(a[i], b[i])) return false;
    if (!mismos_bits(densidad_grano, o.densidad_grano)) return false;
    return nombre == o.nombre && litologia == o.litologia && color == o.color &&
           rangos == o.rangos && notas == o.notas;
}

std::vector<FilaBanco> lee_bancos(const Store& s)
{
    std::vector<FilaBanco> v;
    v.reserve(static_cast<size_t>(std::max<int>(s.n_bancos, 0)));
    for (int i = 1; i <= s.n_bancos; ++i) {
        FilaBanco f;
        f.nombre = s.nombre[i];
        f.techo = s.techo[i];
        f.base = s.base[i];
        f.edad_techo = s.edad_techo[i];
        f.edad_base = s.edad_base[i];
        f.litologia = s.litologia[i];
        f.color = s.color[i];
        f.porosidad = s.porosidad[i];
        f.coef_porosidad = s.coef_porosidad[i];
        f.paleobatimetria = s.paleobatimetria[i];
        f.pct[0] = s.pct_arenisca[i];
        f.pct[1] = s.pct_pelita[i];
        f.pct[2] = s.pct_caliza[i];
        f.pct[3] = s.pct_evaporita[i];
        f.densidad_grano = s.densidad_grano[i];
        f.rangos = s.rangos[i];
        f.notas = s.notas[i];
        f.densidad = s.densidad[i];
        f.nivel_mar = s.nivel_mar[i];
        v.push_back(std::move(f));
    }
    return v;
}

void escribe_bancos(Store& s, const std::vector<FilaBanco>& bancos)
{
    const int n = std::min<int>(static_cast<int>(bancos.size()), kMaxBancos);
    for (int i = 1; i <= n; ++i) {
        const FilaBanco& f = bancos[static_cast<size_t>(i - 1)];
        s.nombre[i] = f.nombre;
        s.techo[i] = f.techo;
        s.base[i] = f.base;
        s.edad_techo[i] = f.edad_techo;
        s.edad_base[i] = f.edad_base;
        s.litologia[i] = f.litologia;
        s.color[i] = f.color;
        s.porosidad[i] = f.porosidad;
        s.coef_porosidad[i] = f.coef_porosidad;
        s.paleobatimetria[i] = f.paleobatimetria;
        s.pct_arenisca[i] = f.pct[0];
        s.pct_pelita[i] = f.pct[1];
        s.pct_caliza[i] = f.pct[2];
        s.pct_evaporita[i] = f.pct[3];
        s.densidad_grano[i] = f.densidad_grano;
        s.rangos[i] = f.rangos;
        s.notas[i] = f.notas;
        s.densidad[i] = f.densidad;
        s.nivel_mar[i] = f.nivel_mar;
    }
    s.n_bancos = static_cast<int16_t>(n);
    if (s.banco_actual > n) s.banco_actual = static_cast<int16_t>(n);
    if (s.banco_actual < 1) s.banco_actual = 1;
}

FilaBanco banco_vacio()
{
    FilaBanco f;
    f.litologia = kAreniscas;
    f.color = kBlanco;
    return f;
}

bool inserta_banco(Store& s, int b)
{
    if (s.n_bancos >= kMaxBancos || b < 1 || b > s.n_bancos + 1) return false;
    std::vector<FilaBanco> v = lee_bancos(s);
    FilaBanco nuevo = banco_vacio();
    if (b > 1) {
        const FilaBanco& debajo = v[static_cast<size_t>(b - 2)];
        nuevo.techo = nuevo.base = debajo.techo;
        nuevo.edad_techo = nuevo.edad_base = debajo.edad_techo;
    } else if (!v.empty()) {
        const FilaBanco& encima = v.front();
        nuevo.techo = nuevo.base = encima.base;
        nuevo.edad_techo = nuevo.edad_base = encima.edad_base;
    }
    v.insert(v.begin() + (b - 1), nuevo);
    escribe_bancos(s, v);
    aplica_reglas_de_banco(s, b);
    return true;
}

bool borra_bancos(Store& s, const std::vector<int>& bancos)
{
    std::vector<bool> borrar(static_cast<size_t>(s.n_bancos) + 1, false);
    int quedan = s.n_bancos;
    for (int b : bancos) {
        if (b < 1 || b > s.n_bancos || borrar[static_cast<size_t>(b)]) continue;
        borrar[static_cast<size_t>(b)] = true;
        --quedan;
    }
    if (quedan < 1) return false;
    std::vector<FilaBanco> v = lee_bancos(s);
    std::vector<FilaBanco> resto;
    for (int i = 1; i <= s.n_bancos; ++i)
        if (!borrar[static_cast<size_t>(i)])
            resto.push_back(std::move(v[static_cast<size_t>(i - 1)]));
    escribe_bancos(s, resto);
    return true;
}

std::optional<RechazoDeCelda> pon_celdas(Store& s, int fila, int columna, const FilasDeTexto& filas)
{
    if (filas.empty()) return std::nullopt;
    Store t = s;
    const int ultima = fila + static_cast<int>(filas.size()) - 1;
    if (ultima >= t.n_bancos) {
        const int nuevos = ultima - t.n_bancos + 1;
        if (t.n_bancos + nuevos > kMaxBancos) {
            const int primera_de_sobra = fila + (kMaxBancos - t.n_bancos);
            return RechazoDeCelda{primera_de_sobra, columna, 0,
                                  demasiados_bancos(t.n_bancos + nuevos)};
        }
        // New beds at the bottom of the column, under bed 1.
        std::vector<FilaBanco> v = lee_bancos(t);
        v.insert(v.begin(), static_cast<size_t>(nuevos), banco_vacio());
        escribe_bancos(t, v);
    }
    for (size_t r = 0; r < filas.size(); ++r) {
        const int f = fila + static_cast<int>(r);
        const int b = banco_de_fila(t, f);
        std::vector<CeldaDeBanco> celdas;
        for (size_t k = 0; k < filas[r].size(); ++k) {
            const int c = columna + static_cast<int>(k);
            if (c >= kColumnasTabla || !es_de_entrada(c)) continue;
            std::string motivo = motivo_de_rechazo(c, filas[r][k]);
            if (!motivo.empty()) return RechazoDeCelda{f, c, b, std::move(motivo)};
            celdas.push_back({c, &filas[r][k]});
        }
        pon_banco(t, b, celdas);
    }
    s = std::move(t);
    return std::nullopt;
}

std::optional<RechazoDeCelda> reemplaza_columna(Store& s, const FilasDeTexto& filas)
{
    const int n = static_cast<int>(filas.size());
    if (n == 0) return RechazoDeCelda{0, kColNombre, 0, "no hay ninguna fila que pegar"};
    if (n > kMaxBancos) return RechazoDeCelda{kMaxBancos, kColNombre, 0, demasiados_bancos(n)};
    size_t ancho = 0;
    for (const auto& f : filas)
        ancho = std::max(ancho, f.size());
    // The input fields at most (the fourteen, the grain density, the
    // remark); a wider row is one the table copied, its bed's number first.
    const int desde = ancho > kColNotas ? kColNumero : kColNombre;
    Store t = s;
    escribe_bancos(t, std::vector<FilaBanco>(static_cast<size_t>(n), banco_vacio()));
    if (auto r = pon_celdas(t, 0, desde, filas)) return r;
    s = std::move(t);
    return std::nullopt;
}

void quita_titulos(FilasDeTexto& filas)
{
    if (filas.empty()) return;
    bool alguno = false;
    for (const std::string& c : filas.front()) {
        const std::string t = sin_blancos(c);
        if (t.empty()) continue;
        if (!es_titulo(t)) return;
        alguno = true;
    }
    if (alguno) filas.erase(filas.begin());
}

std::string copia_en_forma(const Store& s, const std::vector<int>& filas,
                           const std::vector<int>& columnas, bool titulos,
                           const std::vector<bool>& marcadas,
                           const std::function<std::string(int columna)>& titulo,
                           const std::function<std::string(int banco, int columna)>& texto)
{
    FilasDeTexto t;
    if (titulos) {
        std::vector<std::string> cab;
        cab.reserve(columnas.size());
        for (int c : columnas)
            cab.push_back(titulo(c));
        t.push_back(std::move(cab));
    }
    size_t k = 0;
    for (int f : filas) {
        const int b = banco_de_fila(s, f);
        std::vector<std::string> fila;
        for (int c : columnas) {
            const bool marcada = marcadas.empty() || marcadas[k];
            ++k;
            fila.push_back(marcada ? texto(b, c) : std::string());
        }
        t.push_back(std::move(fila));
    }
    return escribe_tabulado(t);
}

std::string copia_celdas(const Store& s, const std::vector<int>& filas,
                         const std::vector<int>& columnas, char decimal, bool titulos,
                         const std::vector<bool>& marcadas)
{
    return copia_en_forma(
        s, filas, columnas, titulos, marcadas, [](int c) { return titulo_de_columna(c); },
        [&s, decimal](int b, int c) { return texto_de_celda(s, b, c, decimal); });
}

} // namespace tev
