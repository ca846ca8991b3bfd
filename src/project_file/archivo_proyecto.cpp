#include "project_file/archivo_proyecto.h"

#include "compute/nivel_mar.h"
#include "model/densidad.h"
#include "model/store.h"
#include "project_file/cp1252.h"
#include "project_file/guardado.h"
#include "text_forms/formas_numericas.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <optional>
#include <system_error>

namespace tev {

namespace {

constexpr int kNumCampos = 14;

enum class Tipo { texto, real, entero };

struct DescCampo {
    const char* nombre; // as the messages show it
    Tipo tipo;
};

// File order.
constexpr DescCampo kCampos[kNumCampos] = {
    {"nombre", Tipo::texto},
    {"techo", Tipo::real},
    {"base", Tipo::real},
    {"edad del techo", Tipo::real},
    {"edad de la base", Tipo::real},
    {"litología", Tipo::texto},
    {"color", Tipo::entero},
    {"porosidad", Tipo::real},
    {"coeficiente de porosidad", Tipo::real},
    {"paleobatimetría", Tipo::real},
    {"porcentaje de arenisca", Tipo::real},
    {"porcentaje de pelita", Tipo::real},
    {"porcentaje de caliza", Tipo::real},
    {"porcentaje de evaporita", Tipo::real},
};

std::string entre_comillas(const std::string& t)
{
    return "«" + t + "»";
}

// Field text (Windows-1252 bytes) as a message shows it: UTF-8, cut short.
std::string muestra(std::string_view bytes)
{
    constexpr size_t kMax = 40;
    if (bytes.size() <= kMax) return entre_comillas(cp1252_a_utf8(bytes));
    return entre_comillas(cp1252_a_utf8(bytes.substr(0, kMax)) + "…");
}

// UTF-8 of the store as a message can hold it (bad sequences replaced).
std::string utf8_limpio(const std::string& t)
{
    return QString::fromStdString(t).toStdString();
}

bool es_blanco(char c)
{
    return c == ' ' || c == '\t';
}
bool es_fin_de_linea(char c)
{
    return c == '\r' || c == '\n';
}
bool es_digito(char c)
{
    return c >= '0' && c <= '9';
}

// ---------------------------------------------------------------------------
// Numbers of the file

enum class Conversion { ok, vacio, no_numero, demasiado_grande };

// A number text split up: sign, mantissa digits around the point, exponent.
struct NumeroTexto {
    bool negativo = false;
    std::string_view enteros;
    std::string_view decimales;
    bool tiene_punto = false;
    bool tiene_exponente = false;
    long exponente = 0; // saturated, only its size matters
    std::string normal; // the same number as from_chars takes it
};

// The whole text (already trimmed) must be one number: optional sign, digits,
// optional point and digits (at least one digit in all), optional exponent
// E, e, D or d with optional sign and at least one digit.
std::optional<NumeroTexto> analiza_numero(std::string_view t)
{
    NumeroTexto n;
    size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        n.negativo = t[i] == '-';
        ++i;
    }
    size_t ini = i;
    while (i < t.size() && es_digito(t[i]))
        ++i;
    n.enteros = t.substr(ini, i - ini);
    if (i < t.size() && t[i] == '.') {
        n.tiene_punto = true;
        ++i;
        ini = i;
        while (i < t.size() && es_digito(t[i]))
            ++i;
        n.decimales = t.substr(ini, i - ini);
    }
    if (n.enteros.empty() && n.decimales.empty()) return std::nullopt;
    const size_t fin_mantisa = i;
    if (i < t.size() && (t[i] == 'E' || t[i] == 'e' || t[i] == 'D' || t[i] == 'd')) {
        n.tiene_exponente = true;
        ++i;
        bool exp_negativo = false;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
            exp_negativo = t[i] == '-';
            ++i;
        }
        ini = i;
        while (i < t.size() && es_digito(t[i])) {
            if (n.exponente < 1000000) n.exponente = n.exponente * 10 + (t[i] - '0');
            ++i;
        }
        if (i == ini) return std::nullopt;
        if (exp_negativo) n.exponente = -n.exponente;
    }
    if (i != t.size()) return std::nullopt;

    if (n.negativo) n.normal += '-';
    n.normal.append(t.data() + (t[0] == '+' || t[0] == '-' ? 1 : 0), t.data() + fin_mantisa);
    if (n.tiene_exponente) n.normal += 'e' + std::to_string(n.exponente);
    return n;
}

// from_chars says "out of range" both for a value that rounds to zero and for
// one beyond the type; the decimal magnitude of the text tells them apart.
bool es_desbordamiento(const NumeroTexto& n)
{
    long magnitud = 0;
    const size_t primero = n.enteros.find_first_not_of('0');
    if (primero != std::string_view::npos) {
        magnitud = static_cast<long>(n.enteros.size() - primero) - 1;
    } else {
        const size_t q = n.decimales.find_first_not_of('0');
        if (q == std::string_view::npos) return false; // zero
        magnitud = -static_cast<long>(q) - 1;
    }
    return magnitud + n.exponente >= 0;
}

template <typename T> Conversion convierte_flotante(const NumeroTexto& n, T& v)
{
    const char* ini = n.normal.data();
    const char* fin = ini + n.normal.size();
    T x{};
    const auto r = std::from_chars(ini, fin, x, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) {
        if (es_desbordamiento(n)) return Conversion::demasiado_grande;
        x = n.negativo ? -T(0) : T(0);
    } else if (r.ec != std::errc() || r.ptr != fin) {
        return Conversion::no_numero;
    }
    v = x;
    return Conversion::ok;
}

Conversion convierte_real(std::string_view t, float& v)
{
    if (t.empty()) return Conversion::vacio;
    const auto n = analiza_numero(t);
    if (!n) return Conversion::no_numero;
    // Straight to the nearest single, never through a double.
    return convierte_flotante(*n, v);
}

Conversion convierte_entero(std::string_view t, int32_t& v)
{
    if (t.empty()) return Conversion::vacio;
    const auto n = analiza_numero(t);
    if (!n) return Conversion::no_numero;
    if (!n->tiene_punto && !n->tiene_exponente) {
        const char* ini = n->normal.data();
        const char* fin = ini + n->normal.size();
        int64_t x = 0;
        const auto r = std::from_chars(ini, fin, x);
        if (r.ec == std::errc::result_out_of_range) return Conversion::demasiado_grande;
        if (r.ec != std::errc() || r.ptr != fin) return Conversion::no_numero;
        if (x < std::numeric_limits<int32_t>::min() || x > std::numeric_limits<int32_t>::max())
            return Conversion::demasiado_grande;
        v = static_cast<int32_t>(x);
        return Conversion::ok;
    }
    // A fraction or exponent: rounded to the nearest whole, halves to even.
    double d = 0;
    const Conversion c = convierte_flotante(*n, d);
    if (c != Conversion::ok) return c;
    const double r = std::nearbyint(d);
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) return Conversion::demasiado_grande;
    v = static_cast<int32_t>(r);
    return Conversion::ok;
}

// ---------------------------------------------------------------------------
// Reading

// A file an editor saved as UTF-8 is read as UTF-8: Windows-1252 text seldom
// forms valid UTF-8 sequences by chance. Plain ASCII reads the same either way.
bool es_utf8_con_acentos(std::string_view b)
{
    if (std::none_of(b.begin(), b.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
        return false;
    QStringDecoder d(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    // The decoding runs when its result becomes a QString.
    const QString texto = d(QByteArrayView(b.data(), static_cast<qsizetype>(b.size())));
    static_cast<void>(texto);
    return !d.hasError();
}

// The first character of a UTF-8 text that Windows-1252 cannot hold, as
// «x» (U+XXXX).
std::string caracter_sin_cp1252(const std::string& texto)
{
    const QString q = QString::fromStdString(texto);
    for (qsizetype i = 0; i < q.size(); ++i) {
        const qsizetype largo = q.at(i).isHighSurrogate() && i + 1 < q.size() ? 2 : 1;
        const QString c = q.mid(i, largo);
        if (!utf8_a_cp1252(c.toStdString())) {
            char cod[16];
            std::snprintf(cod, sizeof cod, "U+%04X", static_cast<unsigned>(c.toUcs4().value(0)));
            return entre_comillas(c.toStdString()) + " (" + cod + ")";
        }
        i += largo - 1;
    }
    return {};
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
        const size_t nulo = b_.find('\0');
        if (nulo == std::string_view::npos) return true;
        const bool utf16 = b_.substr(0, 2) == "\xFF\xFE" || b_.substr(0, 2) == "\xFE\xFF";
        if (utf16) {
            error = prefijo() + "el archivo está en UTF-16; un archivo de proyecto es texto en "
                                "Windows-1252 (o UTF-8).";
        } else {
            const auto linea = 1 + std::count(b_.begin(), b_.begin() + static_cast<long>(nulo), '\n');
            error = prefijo() + "no es un archivo de texto (tiene un byte nulo en la línea " +
                    std::to_string(linea) + ", posición " + std::to_string(nulo + 1) + ").";
        }
        return false;
    }

    bool fin() const { return p_ >= b_.size(); }

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

    std::string prefijo() const { return "No se pudo leer " + entre_comillas(archivo_) + ": "; }

    std::string prefijo_campo(int linea, int registro, int campo) const
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
            const Estado e = lee_campo(kCampos[c].tipo == Tipo::texto, campo, error,
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
            if (!guarda_campo(c, campo, r, error, prefijo_campo(linea_campo, registro, c), utf8_))
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
            ++p_;
            campo.entre_comillas = true;
            for (;;) {
                if (fin()) {
                    error = prefijo() + "las comillas que abren el texto no se cierran antes "
                                        "del fin del archivo.";
                    return Estado::error;
                }
                const char ch = b_[p_];
                if (ch == '"') {
                    if (p_ + 1 < b_.size() && b_[p_ + 1] == '"') {
                        campo.con_comillas += '"';
                        p_ += 2;
                        continue;
                    }
                    ++p_;
                    break;
                }
                if (ch == '\r' || ch == '\n') {
                    // Line breaks inside the quotes belong to the text.
                    const size_t ini = p_;
                    consume_fin_de_linea();
                    campo.con_comillas.append(b_.data() + ini, p_ - ini);
                    continue;
                }
                campo.con_comillas += ch;
                ++p_;
            }
            salta_blancos();
            if (fin()) return Estado::ok;
            if (b_[p_] == ',') {
                ++p_;
            } else if (es_fin_de_linea(b_[p_])) {
                consume_fin_de_linea();
            } else {
                const size_t ini = p_;
                while (!fin() && b_[p_] != ',' && !es_fin_de_linea(b_[p_]))
                    ++p_;
                error = prefijo() + "después de las comillas de cierre hay " +
                        muestra(b_.substr(ini, p_ - ini)) +
                        " en lugar de una coma o un fin de línea.";
                return Estado::error;
            }
            return Estado::ok;
        }
        const size_t ini = p_;
        while (!fin() && b_[p_] != ',' && !es_fin_de_linea(b_[p_]))
            ++p_;
        campo.texto = b_.substr(ini, p_ - ini);
        if (!fin()) {
            if (b_[p_] == ',') {
                ++p_;
            } else {
                consume_fin_de_linea();
            }
        }
        return Estado::ok;
    }

    static bool guarda_campo(int c, const CampoLeido& campo, RegistroBanco& r, std::string& error,
                             const std::string& prefijo, bool utf8)
    {
        if (kCampos[c].tipo == Tipo::texto) {
            const std::string_view bytes =
                campo.entre_comillas ? std::string_view(campo.con_comillas) : campo.texto;
            std::string texto = utf8 ? std::string(bytes) : cp1252_a_utf8(bytes);
            if (utf8 && !utf8_a_cp1252(texto)) {
                error = prefijo + "el archivo está en UTF-8 y el texto tiene el carácter " +
                        caracter_sin_cp1252(texto) +
                        ", que un archivo de proyecto (Windows-1252) no puede guardar.";
                return false;
            }
            (c == 0 ? r.nombre : r.litologia) = std::move(texto);
            return true;
        }
        std::string_view t = campo.texto;
        while (!t.empty() && es_blanco(t.back()))
            t.remove_suffix(1);
        Conversion conv = Conversion::ok;
        if (kCampos[c].tipo == Tipo::entero) {
            conv = convierte_entero(t, r.color);
        } else {
            float* const destino[kNumCampos] = {
                nullptr,           &r.techo,
                &r.base,           &r.edad_techo,
                &r.edad_base,      nullptr,
                nullptr,           &r.porosidad,
                &r.coef_porosidad, &r.paleobatimetria,
                &r.pct_arenisca,   &r.pct_pelita,
                &r.pct_caliza,     &r.pct_evaporita,
            };
            conv = convierte_real(t, *destino[c]);
        }
        switch (conv) {
        case Conversion::ok:
            return true;
        case Conversion::vacio:
            error = prefijo + "está vacío y debe ser un número.";
            return false;
        case Conversion::no_numero:
            error = prefijo + muestra(t) + " no es un número.";
            return false;
        case Conversion::demasiado_grande:
            error = prefijo + "el número " + muestra(t) + " es demasiado grande para el campo" +
                    (kCampos[c].tipo == Tipo::entero ? " (entero de 32 bits)." : ".");
            return false;
        }
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
bool pide_comillas(const std::string& t)
{
    if (t.empty()) return false;
    if (t.find_first_of(",\"\r\n") != std::string::npos) return true;
    return es_blanco(t.front()) || es_blanco(t.back());
}

bool escribe_texto(std::string& out, const std::string& texto, int banco, const char* campo,
                   std::string& error)
{
    const auto bytes = utf8_a_cp1252(texto);
    if (!bytes) {
        error = "El banco " + std::to_string(banco) + " (" + campo + " " +
                entre_comillas(utf8_limpio(texto)) +
                "): el texto contiene caracteres que el archivo de proyecto no puede guardar "
                "(Windows-1252).";
        return false;
    }
    if (!pide_comillas(texto)) {
        out += *bytes;
        return true;
    }
    out += '"';
    for (char ch : *bytes) {
        if (ch == '"') out += '"';
        out += ch;
    }
    out += '"';
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
    out += forma_impresa(v);
    return true;
}

// The system's reason for a failed open or read, in the program's language
// where it is a common one.
std::string razon(int err)
{
    switch (err) {
    case EACCES:
    case EPERM:
        return "no tiene permiso de lectura";
    case EINVAL:
        return "el sistema no permite leerlo";
    case ENOENT:
        return "el archivo no existe";
    default:
        return razon_del_sistema(err);
    }
}

} // namespace

LecturaColumna lee_columna(std::string_view bytes, const std::string& nombre_archivo)
{
    LecturaColumna res = Lector(bytes, nombre_archivo).lee();
    if (!res.ok) res.bancos.clear();
    return res;
}

LecturaColumna lee_archivo(const std::string& ruta)
{
    namespace fs = std::filesystem;
    LecturaColumna res;
    const std::string prefijo = "No se pudo leer " + entre_comillas(ruta) + ": ";

    // Looked at before opening, so that a pipe or a device is never opened.
    std::error_code ec;
    const fs::path camino(ruta);
    const fs::file_status st = fs::status(camino, ec);
    if (st.type() == fs::file_type::not_found) {
        res.error = prefijo + "el archivo no existe.";
        return res;
    }
    if (ec) {
        res.error = prefijo + "no se pudo consultar el archivo (" + razon(ec.value()) + ").";
        return res;
    }
    if (st.type() == fs::file_type::directory) {
        res.error = prefijo + "es una carpeta, no un archivo de proyecto.";
        return res;
    }
    if (st.type() != fs::file_type::regular) {
        res.error = prefijo + "no es un archivo común (es un dispositivo, una tubería u otro "
                              "tipo especial).";
        return res;
    }
    const std::string tope = std::to_string(kTamanoMaximoArchivo);
    const std::uintmax_t tamano = fs::file_size(camino, ec);
    if (ec) {
        res.error = prefijo + "no se pudo saber el tamaño del archivo (" + razon(ec.value()) + ").";
        return res;
    }
    if (tamano > kTamanoMaximoArchivo) {
        res.error = prefijo + "el archivo ocupa " + std::to_string(tamano) +
                    " bytes; un archivo de proyecto no puede pasar de " + tope + " bytes.";
        return res;
    }

    std::FILE* f = std::fopen(ruta.c_str(), "rb");
    if (!f) {
        res.error = prefijo + "no se pudo abrir el archivo (" + razon(errno) + ").";
        return res;
    }
    // The file may have grown since it was looked at: stop one byte past the
    // limit to notice.
    std::string bytes;
    bytes.reserve(static_cast<size_t>(tamano));
    char bloque[65536];
    bool fallo = false;
    int err = 0;
    while (bytes.size() <= kTamanoMaximoArchivo) {
        const size_t n = std::fread(bloque, 1, sizeof bloque, f);
        bytes.append(bloque, n);
        if (n < sizeof bloque) {
            fallo = std::ferror(f) != 0;
            err = errno;
            break;
        }
    }
    std::fclose(f);
    if (fallo) {
        res.error = prefijo + "no se pudo leer el archivo (" + razon(err) + ").";
        return res;
    }
    if (bytes.size() > kTamanoMaximoArchivo) {
        res.error = prefijo + "el archivo pasa de " + tope + " bytes.";
        return res;
    }
    return lee_columna(bytes, ruta);
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
    std::string& error = res.error;
    for (int i = 1; i <= n; ++i) {
        const float reales[kNumCampos] = {
            0,
            s.techo[i],
            s.base[i],
            s.edad_techo[i],
            s.edad_base[i],
            0,
            0,
            s.porosidad[i],
            s.coef_porosidad[i],
            s.paleobatimetria[i],
            s.pct_arenisca[i],
            s.pct_pelita[i],
            s.pct_caliza[i],
            s.pct_evaporita[i],
        };
        for (int c = 0; c < kNumCampos; ++c) {
            if (c > 0) out += ',';
            bool bien = true;
            switch (kCampos[c].tipo) {
            case Tipo::texto:
                bien = escribe_texto(out, c == 0 ? s.nombre[i] : s.litologia[i], i,
                                     kCampos[c].nombre, error);
                break;
            case Tipo::entero:
                out += forma_impresa(s.color[i]);
                break;
            case Tipo::real:
                bien = escribe_real(out, reales[c], i, c, error);
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

std::string salva_archivo(const Store& s, const std::string& ruta)
{
    const EscrituraColumna w = escribe_columna(s);
    if (!w.ok) return w.error;
    return guarda_archivo(ruta, w.bytes);
}

void carga_columna(Store& s, const std::vector<RegistroBanco>& bancos)
{
    limpia_bancos(s);
    const int n = static_cast<int>(std::min<size_t>(bancos.size(), kMaxBancos));
    for (int k = 1; k <= n; ++k) {
        const RegistroBanco& r = bancos[k - 1];
        s.nombre[k] = r.nombre;
        s.techo[k] = r.techo;
        s.base[k] = r.base;
        s.edad_techo[k] = r.edad_techo;
        s.edad_base[k] = r.edad_base;
        s.litologia[k] = r.litologia;
        s.color[k] = r.color;
        s.porosidad[k] = r.porosidad;
        s.coef_porosidad[k] = r.coef_porosidad;
        s.paleobatimetria[k] = r.paleobatimetria;
        s.pct_arenisca[k] = r.pct_arenisca;
        s.pct_pelita[k] = r.pct_pelita;
        s.pct_caliza[k] = r.pct_caliza;
        s.pct_evaporita[k] = r.pct_evaporita;
        buscatiempo(s, k);
    }
    s.n_bancos = static_cast<int16_t>(n);
    for (int j = 1; j <= n; ++j)
        calcula_densidad(s, j);
}

} // namespace tev
