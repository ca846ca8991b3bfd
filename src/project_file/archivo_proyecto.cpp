#include "project_file/archivo_proyecto.h"

#include "model/store.h"
#include "project_file/comillas.h"
#include "project_file/cp1252.h"
#include "project_file/lectura_comun.h"
#include "text_forms/formas_numericas.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <system_error>

namespace tev {

namespace {

// Field text (Windows-1252 bytes) as a message shows it: UTF-8, cut short.
std::string muestra(std::string_view bytes)
{
    constexpr size_t kMax = 40;
    if (bytes.size() <= kMax) return entre_comillas(cp1252_a_utf8(bytes));
    return entre_comillas(cp1252_a_utf8(bytes.substr(0, kMax)) + "…");
}

// ---------------------------------------------------------------------------
// Reading

// The first character of a UTF-8 text that Windows-1252 cannot hold, as
// «x» (U+XXXX).
std::string caracter_sin_cp1252(const std::string& texto)
{
    const std::string limpio = utf8_reemplazado(texto);
    for (std::size_t i = 0; i < limpio.size();) {
        char32_t cp = 0;
        const std::size_t largo = largo_utf8(limpio, i, &cp);
        const std::string c = limpio.substr(i, largo);
        if (!utf8_a_cp1252(c)) {
            char cod[16];
            std::snprintf(cod, sizeof cod, "U+%04X", static_cast<unsigned>(cp));
            return entre_comillas(c) + " (" + cod + ")";
        }
        i += largo;
    }
    return {};
}

// The print form's plain numbers ("-.5", "2050", "1.5"): an optional minus,
// digits with at most one point, at least one digit. For these the number
// field's reading is from_chars on the very same text, so it is done here
// directly; any other text, and a value out of range, goes to
// convierte_real / convierte_entero.
bool es_decimal_simple(std::string_view t, bool con_punto)
{
    size_t i = !t.empty() && t[0] == '-' ? 1 : 0;
    bool digito = false, punto = false;
    for (; i < t.size(); ++i) {
        const char ch = t[i];
        if (ch >= '0' && ch <= '9') {
            digito = true;
        } else if (ch == '.' && con_punto && !punto) {
            punto = true;
        } else {
            return false;
        }
    }
    return digito;
}

bool lee_real_simple(std::string_view t, float& v)
{
    if (!es_decimal_simple(t, true)) return false;
    float x = 0;
    const auto r = std::from_chars(t.data(), t.data() + t.size(), x, std::chars_format::general);
    if (r.ec != std::errc() || r.ptr != t.data() + t.size()) return false;
    v = x;
    return true;
}

bool lee_entero_simple(std::string_view t, int32_t& v)
{
    if (!es_decimal_simple(t, false)) return false;
    int32_t x = 0;
    const auto r = std::from_chars(t.data(), t.data() + t.size(), x);
    if (r.ec != std::errc() || r.ptr != t.data() + t.size()) return false;
    v = x;
    return true;
}

struct CampoLeido {
    std::string_view texto; // Windows-1252 bytes
    std::string con_comillas;
    bool entre_comillas = false;
};

class Lector {
  public:
    Lector(std::string_view bytes, const std::string& archivo) : b_(bytes), archivo_(archivo) {}

    LecturaColumna lee()
    {
        LecturaColumna res;
        if (!es_texto(res.error)) return res;
        utf8_ = es_utf8_con_acentos(b_);
        if (utf8_ && b_.substr(0, 3) == "\xEF\xBB\xBF") p_ = 3; // byte-order mark
        for (;;) {
            // Blank lines and blanks before a record (and after the last one).
            while (!fin()) {
                if (es_blanco(b_[p_])) {
                    ++p_;
                } else if (es_fin_de_linea(b_[p_])) {
                    consume_fin_de_linea();
                } else {
                    break;
                }
            }
            if (fin()) break;
            const int registro = static_cast<int>(res.bancos.size()) + 1;
            if (registro > kMaxBancos) {
                res.error = prefijo() + "el archivo tiene más de " + std::to_string(kMaxBancos) +
                            " bancos (el registro " + std::to_string(registro) +
                            " empieza en la línea " + std::to_string(linea_) + ").";
                return res;
            }
            RegistroBanco r;
            if (!lee_registro(registro, r, res.error)) return res;
            res.bancos.push_back(std::move(r));
        }
        res.ok = true;
        return res;
    }

  private:
    enum class Estado { ok, fin_archivo, error };

    // A project file is text: a NUL byte means a binary file or UTF-16.
    bool es_texto(std::string& error) const
    {
        const std::string motivo =
            motivo_de_no_texto(b_, "un archivo de proyecto es texto en Windows-1252 (o UTF-8)");
        if (motivo.empty()) return true;
        error = prefijo() + motivo;
        return false;
    }

    [[nodiscard]] bool fin() const { return p_ >= b_.size(); }

    void consume_fin_de_linea()
    {
        if (b_[p_] == '\r' && p_ + 1 < b_.size() && b_[p_ + 1] == '\n') ++p_;
        ++p_;
        ++linea_;
    }

    void salta_blancos()
    {
        while (!fin() && es_blanco(b_[p_]))
            ++p_;
    }

    [[nodiscard]] std::string prefijo() const
    {
        return "No se pudo leer " + entre_comillas(archivo_) + ": ";
    }

    [[nodiscard]] std::string prefijo_campo(int linea, int registro, int campo) const
    {
        return prefijo() + "línea " + std::to_string(linea) + ", registro " +
               std::to_string(registro) + ", campo " + std::to_string(campo + 1) + " (" +
               entre_comillas(kCampos[campo].nombre) + "): ";
    }

    bool lee_registro(int registro, RegistroBanco& r, std::string& error)
    {
        const int linea_registro = linea_;
        for (int c = 0; c < kNumCampos; ++c) {
            const int linea_campo = linea_;
            CampoLeido campo;
            const Estado e = lee_campo(kCampos[c].tipo == TipoCampo::texto, campo, error,
                                       [&]() { return prefijo_campo(linea_campo, registro, c); });
            if (e == Estado::error) return false;
            if (e == Estado::fin_archivo) {
                error = prefijo() + "el registro " + std::to_string(registro) +
                        " está incompleto: tiene " + std::to_string(c) + " de los " +
                        std::to_string(kNumCampos) + " campos (empieza en la línea " +
                        std::to_string(linea_registro) + "; el archivo termina en la línea " +
                        std::to_string(linea_) + " sin el campo " + std::to_string(c + 1) + ", " +
                        entre_comillas(kCampos[c].nombre) + ").";
                return false;
            }
            if (!guarda_campo(
                    c, campo, r, error, [&]() { return prefijo_campo(linea_campo, registro, c); },
                    utf8_))
                return false;
        }
        return true;
    }

    // One field and the comma or line end that closes it. fin_archivo when the
    // file ends before the field has anything.
    template <typename Prefijo>
    Estado lee_campo(bool es_texto, CampoLeido& campo, std::string& error, Prefijo prefijo)
    {
        salta_blancos();
        if (fin()) return Estado::fin_archivo;
        if (es_texto && b_[p_] == '"') {
            campo.entre_comillas = true;
            const CampoEntreComillas q = lee_entre_comillas(b_, p_, ',', campo.con_comillas);
            linea_ += q.saltos_de_linea;
            if (q.cierre == CierreComillas::sin_cierre) {
                error = prefijo() + "las comillas que abren el texto no se cierran antes "
                                    "del fin del archivo.";
                return Estado::error;
            }
            if (q.cierre == CierreComillas::sobra) {
                error = prefijo() + "después de las comillas de cierre hay " + muestra(q.sobrante) +
                        " en lugar de una coma o un fin de línea.";
                return Estado::error;
            }
        } else {
            const size_t ini = p_;
            p_ = fin_de_campo(b_, p_, ',');
            campo.texto = b_.substr(ini, p_ - ini);
        }
        if (!fin()) {
            if (b_[p_] == ',') {
                ++p_;
            } else {
                consume_fin_de_linea();
            }
        }
        return Estado::ok;
    }

    // prefijo() gives the start of an error message, built only for one.
    template <typename Prefijo>
    static bool guarda_campo(int c, const CampoLeido& campo, RegistroBanco& r, std::string& error,
                             Prefijo prefijo, bool utf8)
    {
        const Campo& desc = kCampos[c];
        if (desc.tipo == TipoCampo::texto) {
            const std::string_view bytes =
                campo.entre_comillas ? std::string_view(campo.con_comillas) : campo.texto;
            std::string texto = utf8 ? std::string(bytes) : cp1252_a_utf8(bytes);
            if (utf8 && !utf8_a_cp1252(texto)) {
                error = prefijo() + "el archivo está en UTF-8 y el texto tiene el carácter " +
                        caracter_sin_cp1252(texto) +
                        ", que un archivo de proyecto (Windows-1252) no puede guardar.";
                return false;
            }
            r.*desc.texto = std::move(texto);
            return true;
        }
        std::string_view t = campo.texto;
        while (!t.empty() && es_blanco(t.back()))
            t.remove_suffix(1);
        const bool entero = desc.tipo == TipoCampo::entero;
        if (entero ? lee_entero_simple(t, r.*desc.entero) : lee_real_simple(t, r.*desc.real))
            return true;
        const Conversion conv =
            entero ? convierte_entero(t, r.*desc.entero) : convierte_real(t, r.*desc.real);
        if (conv == Conversion::ok) return true;
        error = prefijo() + explica_conversion(conv, muestra(t), entero);
        return false;
    }

    std::string_view b_;
    const std::string& archivo_;
    size_t p_ = 0;
    int linea_ = 1;
    bool utf8_ = false;
};

// ---------------------------------------------------------------------------
// Writing

// A text the reader would not give back as it is goes between quotes.
constexpr ReglaComillas kComillas{",\"\r\n", true, false};

bool escribe_texto(std::string& out, const std::string& texto, int banco, const char* campo,
                   std::string& error)
{
    const auto bytes = utf8_a_cp1252(texto);
    if (!bytes) {
        error = "El banco " + std::to_string(banco) + " (" + campo + " " +
                entre_comillas(utf8_reemplazado(texto)) +
                "): el texto contiene caracteres que el archivo de proyecto no puede guardar "
                "(Windows-1252).";
        return false;
    }
    // The rule asks only about ASCII, which Windows-1252 keeps as it is.
    agrega_campo_csv(out, *bytes, kComillas);
    return true;
}

bool escribe_real(std::string& out, float v, int banco, int campo, std::string& error)
{
    if (!std::isfinite(v)) {
        error = "El banco " + std::to_string(banco) + " (campo " + std::to_string(campo + 1) +
                ", " + entre_comillas(kCampos[campo].nombre) +
                "): el valor no es un número finito y el archivo de proyecto no puede "
                "guardarlo.";
        return false;
    }
    anade_impresa(out, v);
    return true;
}

} // namespace

LecturaColumna lee_columna(std::string_view bytes, const std::string& nombre_archivo)
{
    LecturaColumna res = Lector(bytes, nombre_archivo).lee();
    if (!res.ok) res.bancos.clear();
    return res;
}

EscrituraColumna escribe_columna(const Store& s)
{
    EscrituraColumna res;
    const int n = s.n_bancos;
    if (n > kMaxBancos) {
        res.error = "La columna tiene " + std::to_string(n) + " bancos; el archivo de proyecto " +
                    "admite " + std::to_string(kMaxBancos) + ".";
        return res;
    }
    std::string out;
    out.reserve(static_cast<std::size_t>(n) * 160);
    std::string& error = res.error;
    for (int i = 1; i <= n; ++i) {
        const RegistroBanco r = registro_del_banco(s, i);
        for (int c = 0; c < kNumCampos; ++c) {
            if (c > 0) out += ',';
            const Campo& desc = kCampos[c];
            bool bien = true;
            switch (desc.tipo) {
            case TipoCampo::texto:
                bien = escribe_texto(out, r.*desc.texto, i, desc.nombre, error);
                break;
            case TipoCampo::entero:
                anade_impresa(out, r.*desc.entero);
                break;
            case TipoCampo::real:
                bien = escribe_real(out, r.*desc.real, i, c, error);
                break;
            }
            if (!bien) return res;
        }
        out += "\r\n";
    }
    // Texts whose Windows-1252 bytes happen to form valid UTF-8 (say "Ã©")
    // would read back as other letters ("é"): such a file is written in UTF-8,
    // marked as such, and reads back unchanged.
    if (es_utf8_con_acentos(out)) out = "\xEF\xBB\xBF" + cp1252_a_utf8(out);
    res.ok = true;
    res.bytes = std::move(out);
    return res;
}

} // namespace tev
