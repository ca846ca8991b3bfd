#include "project_file/csv_columna.h"

#include "model/store.h"
#include "project_file/comillas.h"
#include "project_file/cp1252.h"
#include "project_file/lectura_comun.h"
#include "text_forms/formas_numericas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <optional>
#include <vector>

namespace tev {

namespace {

constexpr std::string_view kMarcaUtf8 = "\xEF\xBB\xBF";
constexpr const char* kNotas = "notas";
constexpr const char* kDensidadGrano = "densidad_grano";

std::string_view recorta(std::string_view t)
{
    while (!t.empty() && es_blanco(t.front()))
        t.remove_prefix(1);
    while (!t.empty() && es_blanco(t.back()))
        t.remove_suffix(1);
    return t;
}

std::string minusculas(std::string_view t)
{
    std::string r(t);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return r;
}

// "#RRGGBB" as the store's colour, 0x00BBGGRR; false when it is not one.
bool lee_color_hex(std::string_view t, int32_t& v)
{
    if (t.size() != 7 || t[0] != '#') return false;
    int canal[3];
    for (int k = 0; k < 3; ++k) {
        const int alto = valor_hex(t[1 + 2 * k]);
        const int bajo = valor_hex(t[2 + 2 * k]);
        if (alto < 0 || bajo < 0) return false;
        canal[k] = alto * 16 + bajo;
    }
    v = canal[0] | canal[1] << 8 | canal[2] << 16;
    return true;
}

// "nombre, techo, ..., pct_evaporita" for the messages.
std::string lista_de_claves()
{
    std::string t;
    for (const Campo& c : kCampos) {
        if (!t.empty()) t += ", ";
        t += c.clave;
    }
    return t;
}

// «a», «b» y «c»; past kMax names «a», ..., «f» y 3 más, so that a header of
// garbage cannot fill the screen. The names come already quoted.
std::string enumera(const std::vector<std::string>& nombres, size_t kMax = kNumCampos)
{
    const size_t mostrados = nombres.size() > kMax ? kMax : nombres.size();
    std::string t;
    for (size_t i = 0; i < mostrados; ++i) {
        if (i > 0) t += i + 1 == nombres.size() ? " y " : ", ";
        t += nombres[i];
    }
    if (mostrados < nombres.size())
        t += " y " + std::to_string(nombres.size() - mostrados) + " más";
    return t;
}

std::vector<std::string> cada_entre_comillas(const std::vector<std::string>& nombres)
{
    std::vector<std::string> t;
    t.reserve(nombres.size());
    for (const std::string& n : nombres)
        t.push_back(entre_comillas(n));
    return t;
}

// One cell of a row: its bytes, the quotes taken away.
struct Celda {
    std::string bytes;
};

bool en_blanco(const Celda& c)
{
    return recorta(c.bytes).empty();
}

// What a column of the file holds.
enum class Papel { campo, notas, densidad_grano, extremo_de_rango, sin_nombre };

struct Columna {
    Papel papel = Papel::sin_nombre;
    int campo = -1; // into kCampos, for Papel::campo; into kExtremos, for a range's end
};

// The value each range of RangosBanco ranges over, in the order of kExtremos.
constexpr float RegistroBanco::*kValorDelRango[kNumExtremos / 2] = {
    &RegistroBanco::paleobatimetria, &RegistroBanco::edad_techo, &RegistroBanco::porosidad,
    &RegistroBanco::coef_porosidad};

class LectorCsv {
  public:
    LectorCsv(std::string_view bytes, const std::string& archivo) : b_(bytes), archivo_(archivo) {}

    LecturaColumna lee()
    {
        LecturaColumna res;
        const std::string motivo =
            motivo_de_no_texto(b_, "un archivo CSV de columna es texto en UTF-8 o Windows-1252");
        if (!motivo.empty()) {
            res.error = prefijo() + motivo;
            return res;
        }
        if (b_.substr(0, kMarcaUtf8.size()) == kMarcaUtf8) {
            p_ = kMarcaUtf8.size();
            utf8_ = true;
        } else {
            utf8_ = es_utf8_con_acentos(b_);
        }
        res.forma.utf8 = utf8_;
        res.forma.marca_utf8 = p_ > 0;
        res.forma.fin_de_linea_final = !fin() && es_fin_de_linea(b_.back());
        salta_filas_vacias_del_principio();
        if (fin()) {
            res.error = prefijo() + "el archivo no tiene cabecera: su primera fila debe nombrar " +
                        "las columnas " + lista_de_claves() + ".";
            return res;
        }
        if (!elige_separador(res.error)) return res;
        std::vector<Celda> celdas;
        if (!lee_fila(celdas, res.error) || !lee_cabecera(celdas, res.error)) return res;
        if (!fin_de_linea_.empty()) res.forma.fin_de_linea = std::string(fin_de_linea_);
        while (!fin()) {
            if (!lee_fila(celdas, res.error)) return res;
            if (std::all_of(celdas.begin(), celdas.end(), en_blanco)) continue;
            const int banco = static_cast<int>(res.bancos.size()) + 1;
            if (banco > kMaxBancos) {
                res.error = prefijo() + "el archivo tiene más de " + std::to_string(kMaxBancos) +
                            " bancos (el banco " + std::to_string(banco) + " está en la fila " +
                            std::to_string(fila_) + ").";
                return res;
            }
            RegistroBanco r;
            if (!guarda_fila(celdas, banco, r, res.error)) return res;
            res.bancos.push_back(std::move(r));
        }
        res.forma.separador = sep_;
        // With semicolons a spreadsheet in a Spanish locale writes decimal
        // commas; points only when the file itself uses them.
        res.forma.decimal = sep_ == ';' && (vio_coma_ || !vio_punto_) ? ',' : '.';
        res.forma.columnas = std::move(nombres_);
        res.ok = true;
        return res;
    }

  private:
    [[nodiscard]] bool fin() const { return p_ >= b_.size(); }

    // The line end consumed is kept in fin_de_linea_.
    void consume_fin_de_linea()
    {
        const size_t ini = p_;
        if (b_[p_] == '\r' && p_ + 1 < b_.size() && b_[p_ + 1] == '\n') ++p_;
        ++p_;
        fin_de_linea_ = b_.substr(ini, p_ - ini);
    }

    [[nodiscard]] std::string prefijo() const
    {
        return "No se pudo leer " + entre_comillas(archivo_) + ": ";
    }

    [[nodiscard]] std::string prefijo_fila() const
    {
        return prefijo() + "fila " + std::to_string(fila_);
    }

    // "fila 3, columna «techo»: ", the column named as the header names it.
    [[nodiscard]] std::string prefijo_celda(size_t j) const
    {
        std::string t = prefijo_fila();
        if (!cabecera_leida_) return t + " (cabecera), columna " + std::to_string(j + 1) + ": ";
        if (j >= columnas_.size()) return t + ", celda " + std::to_string(j + 1) + ": ";
        const Columna& col = columnas_[j];
        if (col.papel == Papel::campo) return t + ", " + nombre_de_columna(col.campo) + ": ";
        if (col.papel == Papel::notas) return t + ", columna " + entre_comillas(kNotas) + ": ";
        if (col.papel == Papel::densidad_grano)
            return t + ", columna " + entre_comillas(kDensidadGrano) + ": ";
        if (col.papel == Papel::extremo_de_rango)
            return t + ", columna " + entre_comillas(kExtremos[col.campo].clave) + ": ";
        return t + ", columna " + std::to_string(j + 1) + ": ";
    }

    // «edad_techo» (edad del techo); «techo» alone when both names agree.
    static std::string nombre_de_columna(int k)
    {
        const Campo& c = kCampos[k];
        std::string t = "columna " + entre_comillas(c.clave);
        if (std::string_view(c.clave) != c.nombre) t += std::string(" (") + c.nombre + ")";
        return t;
    }

    // The bytes of a cell as UTF-8: invalid sequences of a marked file
    // replaced, so that a message can always hold them.
    [[nodiscard]] std::string como_utf8(std::string_view bytes) const
    {
        if (!utf8_) return cp1252_a_utf8(bytes);
        if (es_utf8_valido(bytes)) return std::string(bytes);
        return utf8_reemplazado(bytes);
    }

    // A cell's text as a message shows it, cut short.
    [[nodiscard]] std::string muestra(std::string_view bytes) const
    {
        constexpr size_t kMax = 40;
        const std::string t = como_utf8(bytes);
        size_t caracteres = 0;
        for (size_t i = 0; i < t.size(); ++i) {
            if ((static_cast<unsigned char>(t[i]) & 0xC0) == 0x80) continue;
            if (caracteres++ == kMax) return entre_comillas(t.substr(0, i) + "…");
        }
        return entre_comillas(t);
    }

    // Spreadsheets sometimes export empty rows above the table.
    void salta_filas_vacias_del_principio()
    {
        while (!fin()) {
            size_t i = p_;
            while (i < b_.size() && !es_fin_de_linea(b_[i]) &&
                   (es_blanco(b_[i]) || b_[i] == ',' || b_[i] == ';'))
                ++i;
            if (i < b_.size() && !es_fin_de_linea(b_[i])) return;
            p_ = i;
            ++fila_;
            if (!fin()) consume_fin_de_linea();
        }
    }

    // The separator is the first comma or semicolon of the header outside quotes.
    bool elige_separador(std::string& error)
    {
        bool comillas = false;
        for (size_t i = p_; i < b_.size(); ++i) {
            const char c = b_[i];
            if (c == '"') {
                comillas = !comillas;
            } else if (!comillas && (c == ',' || c == ';')) {
                sep_ = c;
                return true;
            } else if (!comillas && es_fin_de_linea(c)) {
                break;
            }
        }
        error = prefijo() + "la cabecera (fila " + std::to_string(fila_ + 1) +
                ") no tiene comas ni puntos y comas entre columnas; debe nombrar las columnas " +
                lista_de_claves() + ".";
        return false;
    }

    // One row (a record: quoted cells may hold line breaks) and its line end.
    bool lee_fila(std::vector<Celda>& celdas, std::string& error)
    {
        ++fila_;
        celdas.clear();
        fin_de_linea_ = {};
        for (;;) {
            Celda c;
            if (!lee_celda(c, celdas.size(), error)) return false;
            celdas.push_back(std::move(c));
            if (fin()) return true;
            if (b_[p_] == sep_) {
                ++p_; // another cell follows, even at the end of the file
                continue;
            }
            consume_fin_de_linea();
            return true;
        }
    }

    // One cell, up to the separator or line end that closes it (not consumed).
    bool lee_celda(Celda& c, size_t j, std::string& error)
    {
        if (fin() || b_[p_] != '"') {
            const size_t ini = p_;
            p_ = fin_de_campo(b_, p_, sep_);
            c.bytes.assign(b_.data() + ini, p_ - ini);
            return true;
        }
        const CampoEntreComillas q = lee_entre_comillas(b_, p_, sep_, c.bytes);
        if (q.cierre == CierreComillas::sin_cierre) {
            error = prefijo_celda(j) +
                    "las comillas que abren el texto no se cierran antes del fin del archivo.";
            return false;
        }
        if (q.cierre == CierreComillas::sobra) {
            error = prefijo_celda(j) + "después de las comillas de cierre hay " +
                    muestra(q.sobrante) + " en lugar de " + entre_comillas(std::string(1, sep_)) +
                    " o un fin de línea.";
            return false;
        }
        return true;
    }

    bool lee_cabecera(const std::vector<Celda>& celdas, std::string& error)
    {
        columnas_.assign(celdas.size(), Columna{});
        columna_de_campo_.fill(-1);
        int columna_de_notas = -1;
        int columna_de_densidad = -1;
        std::array<int, kNumExtremos> columna_de_extremo{};
        columna_de_extremo.fill(-1);
        std::vector<std::string> desconocidas;
        for (size_t j = 0; j < celdas.size(); ++j) {
            const std::string nombre = como_utf8(recorta(celdas[j].bytes));
            nombres_.push_back(nombre);
            const std::string clave = minusculas(nombre);
            Columna& col = columnas_[j];
            if (clave.empty()) continue;
            if (clave == kNotas) {
                if (columna_de_notas >= 0) {
                    error = prefijo() + "la cabecera (fila " + std::to_string(fila_) +
                            ") nombra dos veces la columna " + entre_comillas(kNotas) +
                            " (columnas " + std::to_string(columna_de_notas + 1) + " y " +
                            std::to_string(j + 1) + ").";
                    return false;
                }
                col.papel = Papel::notas;
                columna_de_notas = static_cast<int>(j);
                continue;
            }
            if (clave == kDensidadGrano) {
                if (columna_de_densidad >= 0) {
                    error = prefijo() + "la cabecera (fila " + std::to_string(fila_) +
                            ") nombra dos veces la columna " + entre_comillas(kDensidadGrano) +
                            " (columnas " + std::to_string(columna_de_densidad + 1) + " y " +
                            std::to_string(j + 1) + ").";
                    return false;
                }
                col.papel = Papel::densidad_grano;
                columna_de_densidad = static_cast<int>(j);
                continue;
            }
            const auto e = std::find_if(std::begin(kExtremos), std::end(kExtremos),
                                        [&](const ExtremoDeRango& x) { return clave == x.clave; });
            if (e != std::end(kExtremos)) {
                const auto extremo = static_cast<size_t>(e - std::begin(kExtremos));
                if (columna_de_extremo[extremo] >= 0) {
                    error = prefijo() + "la cabecera (fila " + std::to_string(fila_) +
                            ") nombra dos veces la columna " + entre_comillas(e->clave) +
                            " (columnas " + std::to_string(columna_de_extremo[extremo] + 1) +
                            " y " + std::to_string(j + 1) + ").";
                    return false;
                }
                col.papel = Papel::extremo_de_rango;
                col.campo = static_cast<int>(extremo);
                columna_de_extremo[extremo] = static_cast<int>(j);
                continue;
            }
            const auto k = std::find_if(std::begin(kCampos), std::end(kCampos),
                                        [&](const Campo& c) { return clave == c.clave; });
            if (k == std::end(kCampos)) {
                desconocidas.push_back(muestra(recorta(celdas[j].bytes)));
                continue;
            }
            const int campo = static_cast<int>(k - std::begin(kCampos));
            if (columna_de_campo_[campo] >= 0) {
                error = prefijo() + "la cabecera (fila " + std::to_string(fila_) +
                        ") nombra dos veces la columna " + entre_comillas(k->clave) +
                        " (columnas " + std::to_string(columna_de_campo_[campo] + 1) + " y " +
                        std::to_string(j + 1) + ").";
                return false;
            }
            col.papel = Papel::campo;
            col.campo = campo;
            columna_de_campo_[campo] = static_cast<int>(j);
        }
        std::vector<std::string> faltan;
        for (int k = 0; k < kNumCampos; ++k)
            if (columna_de_campo_[k] < 0) faltan.emplace_back(kCampos[k].clave);
        if (desconocidas.empty() && faltan.empty()) {
            cabecera_leida_ = true;
            return true;
        }
        error = prefijo() + "la cabecera (fila " + std::to_string(fila_) + ") ";
        if (!desconocidas.empty())
            error += (desconocidas.size() == 1 ? "tiene una columna desconocida, "
                                               : "tiene columnas desconocidas, ") +
                     enumera(desconocidas, 6);
        if (!desconocidas.empty() && !faltan.empty()) error += ", y ";
        if (!faltan.empty())
            error += (faltan.size() == 1 ? "le falta la columna " : "le faltan las columnas ") +
                     enumera(cada_entre_comillas(faltan));
        error += ". Las columnas son " + lista_de_claves() + ", en cualquier orden; una columna " +
                 entre_comillas(kNotas) + " guarda las notas de cada banco.";
        return false;
    }

    bool guarda_fila(const std::vector<Celda>& celdas, int banco, RegistroBanco& r,
                     std::string& error)
    {
        // The messages are put together only when one is needed.
        const auto cuantas = [&] {
            return " tiene " + cantidad(static_cast<long long>(celdas.size()), "celda", "celdas") +
                   " y la cabecera " +
                   cantidad(static_cast<long long>(columnas_.size()), "columna", "columnas");
        };
        for (size_t j = columnas_.size(); j < celdas.size(); ++j) {
            if (en_blanco(celdas[j])) continue;
            error = prefijo_fila() + cuantas() + ": la celda " + std::to_string(j + 1) + " es " +
                    muestra(celdas[j].bytes) + ".";
            return false;
        }
        // Left to right, so that the first cell at fault is the one named.
        for (size_t j = 0; j < columnas_.size(); ++j) {
            const Columna& col = columnas_[j];
            if (j >= celdas.size()) {
                if (col.papel != Papel::campo) continue;
                error = prefijo_fila() + " (banco " + std::to_string(banco) + ")" + cuantas() +
                        ": falta la " + nombre_de_columna(col.campo) + ".";
                return false;
            }
            if (col.papel == Papel::sin_nombre && !en_blanco(celdas[j])) {
                error = prefijo_celda(j) + "la cabecera no nombra esta columna y la celda tiene " +
                        muestra(celdas[j].bytes) + ".";
                return false;
            }
            const auto prefijo = [&] {
                const std::string columna =
                    col.papel == Papel::notas ? "columna " + entre_comillas(kNotas)
                    : col.papel == Papel::densidad_grano
                        ? "columna " + entre_comillas(kDensidadGrano)
                    : col.papel == Papel::extremo_de_rango
                        ? "columna " + entre_comillas(kExtremos[col.campo].clave)
                        : nombre_de_columna(col.campo);
                return prefijo_fila() + " (banco " + std::to_string(banco) + "), " + columna + ": ";
            };
            if (col.papel == Papel::notas) {
                if (!lee_texto(celdas[j], r.notas, prefijo, error)) return false;
                continue;
            }
            if (col.papel == Papel::densidad_grano) {
                if (!lee_densidad_grano(celdas[j], r.densidad_grano, prefijo, error)) return false;
                continue;
            }
            if (col.papel == Papel::extremo_de_rango) {
                if (!lee_extremo(celdas[j], kExtremos[col.campo], r.rangos, prefijo, error))
                    return false;
                continue;
            }
            if (col.papel != Papel::campo) continue;
            if (!guarda_celda(col.campo, celdas[j], r, prefijo, error)) return false;
        }
        return comprueba_rangos(r, banco, error);
    }

    // One end of a range: empty for none.
    template <typename Prefijo>
    bool lee_extremo(const Celda& celda, const ExtremoDeRango& e, RangosBanco& rangos,
                     Prefijo prefijo, std::string& error)
    {
        const std::string_view t = recorta(celda.bytes);
        if (t.empty()) return true;
        Rango& rango = rangos.*e.rango;
        float leido = 0;
        if (!lee_numero(t, &leido, nullptr, prefijo, error)) return false;
        (e.es_max ? rango.hay_max : rango.hay_min) = true;
        (e.es_max ? rango.max : rango.min) = leido;
        return true;
    }

    // Once the whole row is read: each range holds its minimum below its
    // maximum and the bed's own value between them.
    bool comprueba_rangos(const RegistroBanco& r, int banco, std::string& error) const
    {
        for (std::size_t k = 0; k < kNumExtremos / 2; ++k) {
            const ExtremoDeRango& e_min = kExtremos[2 * k];
            const Rango& rango = r.rangos.*e_min.rango;
            const float valor = r.*kValorDelRango[k];
            const FalloRango f = fallo_de_rango(rango, valor);
            if (f == FalloRango::ninguno) continue;
            const ExtremoDeRango& e =
                f == FalloRango::max_bajo_valor ? kExtremos[2 * k + 1] : e_min;
            error = prefijo_fila() + " (banco " + std::to_string(banco) + "), columna " +
                    entre_comillas(e.clave) + ": ";
            if (f == FalloRango::min_sobre_max)
                error += "el mínimo " + numero_corto(rango.min) + " es mayor que el máximo " +
                         numero_corto(rango.max) + " (columna " +
                         entre_comillas(kExtremos[2 * k + 1].clave) + ").";
            else
                error +=
                    std::string(f == FalloRango::min_sobre_valor ? "el mínimo " : "el máximo ") +
                    numero_corto(f == FalloRango::min_sobre_valor ? rango.min : rango.max) +
                    " deja fuera el valor del banco, " + numero_corto(valor) + " (columna " +
                    entre_comillas(e.clave_valor) + ").";
            return false;
        }
        return true;
    }

    // A text cell in UTF-8; prefijo() gives the start of an error message.
    template <typename Prefijo>
    bool lee_texto(const Celda& celda, std::string& texto, Prefijo prefijo,
                   std::string& error) const
    {
        if (utf8_ && !es_utf8_valido(celda.bytes)) {
            error = prefijo() + "el texto " + muestra(celda.bytes) +
                    " no es UTF-8 válido, y el archivo empieza con la marca de UTF-8.";
            return false;
        }
        texto = utf8_ ? celda.bytes : cp1252_a_utf8(celda.bytes);
        return true;
    }

    // prefijo() gives the start of an error message.
    template <typename Prefijo>
    bool guarda_celda(int k, const Celda& celda, RegistroBanco& r, Prefijo prefijo,
                      std::string& error)
    {
        const Campo& desc = kCampos[k];
        if (desc.tipo == TipoCampo::texto) return lee_texto(celda, r.*desc.texto, prefijo, error);
        const std::string_view t = recorta(celda.bytes);
        const bool entero = desc.tipo == TipoCampo::entero;
        if (entero && !t.empty() && t[0] == '#') {
            if (lee_color_hex(t, r.*desc.entero)) return true;
            error = prefijo() + muestra(t) +
                    " no es un color: se escribe como #RRGGBB (seis cifras hexadecimales) o "
                    "como número entero.";
            return false;
        }
        if (entero) return lee_numero(t, nullptr, &(r.*desc.entero), prefijo, error);
        return lee_numero(t, &(r.*desc.real), nullptr, prefijo, error);
    }

    // A bed's own grain density: empty for none (0), otherwise a number
    // above 0, kg/m3.
    template <typename Prefijo>
    bool lee_densidad_grano(const Celda& celda, float& v, Prefijo prefijo, std::string& error)
    {
        const std::string_view t = recorta(celda.bytes);
        if (t.empty()) {
            v = 0;
            return true;
        }
        float leida = 0;
        if (!lee_numero(t, &leida, nullptr, prefijo, error)) return false;
        if (!(leida > 0)) {
            error = prefijo() + muestra(t) +
                    " no es una densidad de grano: debe ser mayor que 0 (kg/m³), o la celda "
                    "vacía para la de su litología.";
            return false;
        }
        v = leida;
        return true;
    }

    // A number cell (t trimmed): a real into *real, or, when real is null, a
    // whole number into *numero_entero; written only when it converts.
    template <typename Prefijo>
    bool lee_numero(std::string_view t, float* real, int32_t* numero_entero, Prefijo prefijo,
                    std::string& error)
    {
        const bool entero = real == nullptr;
        // With semicolons between columns a comma is the decimal mark.
        std::string normal(t);
        const bool tiene_coma = normal.find(',') != std::string::npos;
        const bool tiene_punto = normal.find('.') != std::string::npos;
        if (sep_ == ';') std::replace(normal.begin(), normal.end(), ',', '.');
        const Conversion conv =
            entero ? convierte_entero(normal, *numero_entero) : convierte_real(normal, *real);
        if (conv == Conversion::ok) {
            vio_coma_ = vio_coma_ || (tiene_coma && !entero);
            vio_punto_ = vio_punto_ || (tiene_punto && !entero);
            return true;
        }
        if (conv == Conversion::no_numero && tiene_coma && sep_ == ',') {
            error = prefijo() + muestra(t) +
                    " no es un número: con comas entre las columnas, los decimales van tras un "
                    "punto.";
            return false;
        }
        error = prefijo() + explica_conversion(conv, muestra(t), entero);
        return false;
    }

    std::string_view b_;
    const std::string& archivo_;
    size_t p_ = 0;
    int fila_ = 0; // the row being read, as a spreadsheet numbers it (the header is 1)
    char sep_ = ',';
    bool utf8_ = false; // marked, or valid UTF-8 beyond ASCII; Windows-1252 otherwise
    bool cabecera_leida_ = false;
    std::vector<Columna> columnas_;                  // one per cell of the header
    std::array<int, kNumCampos> columna_de_campo_{}; // header cell of each field
    std::vector<std::string> nombres_;               // the header's names, for the form
    std::string_view fin_de_linea_;                  // the last line end consumed
    bool vio_coma_ = false;                          // a number read with a decimal comma
    bool vio_punto_ = false;                         // a number read with a decimal point
};

// ---------------------------------------------------------------------------
// Writing

// RFC 4180 asks for quotes around the separator, quotes and line breaks.
// Between commas, semicolons and blanks at either end are quoted too, so that
// a spreadsheet that splits at both separators or trims cells still reads the
// text whole; between semicolons a comma stays bare, as the decimal commas of
// the numbers beside it do.
constexpr ReglaComillas kComillasComa{",;\"\r\n", true, false};
constexpr ReglaComillas kComillasPuntoYComa{";\"\r\n", true, false};

// What a column of the written file holds: a field (into kCampos), the
// remarks, the own grain densities, or nothing.
constexpr int kColumnaNotas = -1;
constexpr int kColumnaVacia = -2;
constexpr int kColumnaDensidadGrano = -3;
// A range's end e is written as contenido kColumnaExtremo - e.
constexpr int kColumnaExtremo = -4;

struct ColumnaEscrita {
    std::string nombre;
    int contenido = kColumnaVacia;
};

// The columns in the form's order, each field, the remarks and the grain
// densities once; a field the form lacks is added at the end, and so are the
// grain densities and then the remarks when some bed has one. A name the
// reader would refuse (unknown, or named twice) is written as a column
// without a name.
std::vector<ColumnaEscrita> columnas_a_escribir(const FormaCsv& forma, bool hay_notas,
                                                bool hay_densidades,
                                                const std::array<bool, kNumExtremos>& hay_extremo)
{
    std::vector<ColumnaEscrita> cols;
    std::array<bool, kNumCampos> esta{};
    std::array<bool, kNumExtremos> esta_extremo{};
    bool estan_notas = false;
    bool estan_densidades = false;
    for (const std::string& nombre : forma.columnas) {
        const std::string clave = minusculas(recorta(nombre));
        ColumnaEscrita c;
        if (clave == kNotas && !estan_notas) {
            c = {nombre, kColumnaNotas};
            estan_notas = true;
        }
        if (clave == kDensidadGrano && !estan_densidades) {
            c = {nombre, kColumnaDensidadGrano};
            estan_densidades = true;
        }
        for (int e = 0; e < kNumExtremos; ++e)
            if (clave == kExtremos[e].clave && !esta_extremo[e]) {
                c = {nombre, kColumnaExtremo - e};
                esta_extremo[e] = true;
            }
        for (int k = 0; k < kNumCampos; ++k)
            if (clave == kCampos[k].clave && !esta[k]) {
                c = {nombre, k};
                esta[k] = true;
            }
        cols.push_back(std::move(c));
    }
    for (int k = 0; k < kNumCampos; ++k)
        if (!esta[k]) cols.push_back({kCampos[k].clave, k});
    if (hay_densidades && !estan_densidades)
        cols.push_back({kDensidadGrano, kColumnaDensidadGrano});
    for (int e = 0; e < kNumExtremos; ++e)
        if (hay_extremo[e] && !esta_extremo[e])
            cols.push_back({kExtremos[e].clave, kColumnaExtremo - e});
    if (hay_notas && !estan_notas) cols.push_back({kNotas, kColumnaNotas});
    return cols;
}

// The form as a writer can follow it: anything a reader could not read back
// the same way is the default's.
FormaCsv forma_valida(FormaCsv f)
{
    const FormaCsv defecto;
    if (f.separador != ';') f.separador = defecto.separador;
    if (f.separador != ';' || f.decimal != ',') f.decimal = defecto.decimal;
    if (f.fin_de_linea != "\r\n" && f.fin_de_linea != "\n" && f.fin_de_linea != "\r")
        f.fin_de_linea = defecto.fin_de_linea;
    if (!f.utf8) f.marca_utf8 = false;
    return f;
}

} // namespace

bool es_nombre_csv(const std::string& ruta)
{
    return minusculas(std::filesystem::path(ruta).extension().string()) == ".csv";
}

std::string cabecera_columna_csv()
{
    std::string t;
    for (const Campo& c : kCampos) {
        if (!t.empty()) t += ',';
        t += c.clave;
    }
    return t;
}

LecturaColumna lee_csv(std::string_view bytes, const std::string& nombre_archivo)
{
    LecturaColumna res = LectorCsv(bytes, nombre_archivo).lee();
    if (!res.ok) res.bancos.clear();
    return res;
}

EscrituraColumna escribe_csv(const Store& s)
{
    EscrituraColumna res;
    const int n = s.n_bancos;
    if (n > kMaxBancos) {
        res.error = "La columna tiene " + std::to_string(n) + " bancos; un archivo CSV de " +
                    "columna admite " + std::to_string(kMaxBancos) + ".";
        return res;
    }
    const FormaCsv forma = forma_valida(s.forma_csv);
    const ReglaComillas& comillas = forma.separador == ';' ? kComillasPuntoYComa : kComillasComa;
    bool hay_notas = false;
    bool hay_densidades = false;
    std::array<bool, kNumExtremos> hay_extremo{};
    for (int i = 1; i <= n; ++i) {
        hay_notas = hay_notas || !s.notas[i].empty();
        hay_densidades = hay_densidades || s.densidad_grano[i] != 0;
        for (int e = 0; e < kNumExtremos; ++e) {
            const Rango& rango = s.rangos[i].*kExtremos[e].rango;
            hay_extremo[e] =
                hay_extremo[e] || (kExtremos[e].es_max ? rango.hay_max : rango.hay_min);
        }
    }
    const std::vector<ColumnaEscrita> columnas =
        columnas_a_escribir(forma, hay_notas, hay_densidades, hay_extremo);

    // Written in UTF-8 first, put into Windows-1252 at the end.
    std::string out;
    for (size_t j = 0; j < columnas.size(); ++j) {
        if (j > 0) out += forma.separador;
        agrega_campo_csv(out, columnas[j].nombre, comillas);
    }
    for (int i = 1; i <= n; ++i) {
        out += forma.fin_de_linea;
        const RegistroBanco r = registro_del_banco(s, i);
        for (size_t j = 0; j < columnas.size(); ++j) {
            if (j > 0) out += forma.separador;
            const int contenido = columnas[j].contenido;
            if (contenido == kColumnaVacia) continue;
            // An empty cell for none.
            if (contenido == kColumnaDensidadGrano && r.densidad_grano == 0) continue;
            const ExtremoDeRango* extremo =
                contenido <= kColumnaExtremo ? &kExtremos[kColumnaExtremo - contenido] : nullptr;
            const Rango* rango = extremo ? &(r.rangos.*extremo->rango) : nullptr;
            if (extremo && !(extremo->es_max ? rango->hay_max : rango->hay_min)) continue;
            const Campo* desc = contenido < 0 ? nullptr : &kCampos[contenido];
            const char* clave = desc                                 ? desc->clave
                                : extremo                            ? extremo->clave
                                : contenido == kColumnaDensidadGrano ? kDensidadGrano
                                                                     : kNotas;
            const std::string banco =
                "El banco " + std::to_string(i) + " (columna " + entre_comillas(clave) + ")";
            if (contenido == kColumnaNotas || (desc && desc->tipo == TipoCampo::texto)) {
                const std::string& texto = desc ? r.*desc->texto : r.notas;
                if (!es_utf8_valido(texto)) {
                    res.error = banco + ": el texto no es UTF-8 válido y el archivo CSV no " +
                                "puede guardarlo.";
                    return res;
                }
                agrega_campo_csv(out, texto, comillas);
            } else if (desc && desc->tipo == TipoCampo::entero) {
                out += std::to_string(r.*desc->entero);
            } else {
                const float v = desc      ? r.*desc->real
                                : extremo ? (extremo->es_max ? rango->max : rango->min)
                                          : r.densidad_grano;
                if (!std::isfinite(v)) {
                    res.error = banco + ": el valor no es un número finito y el archivo CSV no " +
                                "puede guardarlo.";
                    return res;
                }
                std::string numero = numero_corto(v);
                if (forma.decimal == ',') std::replace(numero.begin(), numero.end(), '.', ',');
                out += numero;
            }
        }
    }
    if (forma.fin_de_linea_final) out += forma.fin_de_linea;

    // A text that Windows-1252 lacks, or Windows-1252 bytes that would read
    // back as UTF-8 (say "Ã©" as "é"), keep the file in UTF-8, marked as such.
    bool marca = forma.marca_utf8;
    if (!forma.utf8) {
        std::optional<std::string> cp1252 = utf8_a_cp1252(out);
        if (cp1252 && !es_utf8_con_acentos(*cp1252))
            out = std::move(*cp1252);
        else
            marca = true;
    }
    res.ok = true;
    res.bytes = marca ? std::string(kMarcaUtf8) + out : std::move(out);
    return res;
}

} // namespace tev
