#include "batch/informe.h"

#include "batch/informe_historia.h"
#include "compute/historia.h"
#include "compute/tevarro.h"
#include "model/store.h"
#include "project_file/archivos.h"
#include "project_file/formatos.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <condition_variable>
#include <functional>
#include <future>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <optional>
#include <ostream>
#include <sstream>
#include <system_error>
#include <thread>

namespace tev {

namespace {

const char* const kAyuda =
    "Uso: tevarro-batch [--csv | --historia | --enterramiento] [--salvar SALIDA] "
    "[--curvas IMAGEN]\n"
    "                   [--columna IMAGEN] [--historia-imagen IMAGEN] ARCHIVO...\n"
    "\n"
    "Lee cada archivo de proyecto de TEVARRO, descompacta sus bancos y calcula la\n"
    "corrección por carga y la subsidencia tectónica, igual que \"Abrir\" en el programa.\n"
    "Un archivo cuyo nombre termina en .csv se lee como una columna de planilla de cálculo.\n"
    "\n"
    "  --csv            escribe una línea CSV (UTF-8) por banco en lugar de la tabla\n"
    "  --salvar SALIDA  guarda la columna leída (un solo archivo) en SALIDA, con los\n"
    "                   mismos bytes que escribe \"Salvar\" (en CSV si termina en .csv)\n"
    "  --curvas IMAGEN  dibuja las curvas (un solo archivo) en IMAGEN, .png, .svg o .pdf\n"
    "  --columna IMAGEN dibuja la columna (un solo archivo) en IMAGEN, .png, .svg o .pdf\n"
    "  --historia       escribe en CSV la historia de enterramiento de toda la columna:\n"
    "                   una línea por paso, del banco superior al banco 1\n"
    "  --enterramiento  escribe en CSV la profundidad descompactada del techo y la base\n"
    "                   de cada banco presente en cada paso de la historia\n"
    "  --historia-imagen IMAGEN\n"
    "                   dibuja el diagrama de la historia de enterramiento (un solo\n"
    "                   archivo) en IMAGEN, .png, .svg o .pdf\n"
    "  -h, --help       muestra esta ayuda\n"
    "  --version        muestra la versión\n"
    "  --               termina las opciones: lo que sigue son archivos\n"
    "\n"
    "Sale con 0 si todo fue bien, 1 si algún archivo falló y 2 si la orden está mal escrita.\n";

// Display width of a UTF-8 text: one column per character.
std::size_t ancho(const std::string& t)
{
    std::size_t n = 0;
    for (unsigned char ch : t)
        if ((ch & 0xC0) != 0x80) ++n;
    return n;
}

// "No se escribió la imagen de las curvas «x.png»: su cálculo falló (en «a.tev»)."
std::string no_escrita(const char* que, const std::string& ruta, const std::string& archivo,
                       const char* por_que)
{
    std::string m = "No se escribió ";
    m += que;
    m += " «";
    m += ruta;
    m += "»: ";
    m += por_que;
    m += " (en «";
    m += archivo;
    m += "»).";
    return m;
}

// numero_corto(v), written in place: the shortest text that reads back.
void agrega_numero_corto(std::string& r, float v)
{
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    r.append(buf, res.ptr);
}

void agrega_entero(std::string& r, int v)
{
    char buf[16];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    r.append(buf, res.ptr);
}

} // namespace

std::string escapa_controles(const std::string& t)
{
    static const char* const kHex = "0123456789abcdef";
    std::string r;
    r.reserve(t.size());
    for (std::size_t k = 0; k < t.size(); ++k) {
        const auto ch = static_cast<unsigned char>(t[k]);
        if (es_control(ch)) {
            r += "\\x";
            r += kHex[ch >> 4];
            r += kHex[ch & 15];
        } else if (ch == 0xC2 && k + 1 < t.size() && static_cast<unsigned char>(t[k + 1]) >= 0x80 &&
                   static_cast<unsigned char>(t[k + 1]) <= 0x9F) {
            // U+0080..U+009F, which some terminals obey as controls too.
            const auto c1 = static_cast<unsigned char>(t[++k]);
            r += "\\u00";
            r += kHex[c1 >> 4];
            r += kHex[c1 & 15];
        } else {
            r += static_cast<char>(ch);
        }
    }
    return r;
}

std::string tabla_de_bancos(const Store& s)
{
    std::string t;
    agrega_tabla_de_bancos(t, s);
    return t;
}

void agrega_tabla_de_bancos(std::string& t, const Store& s)
{
    const std::vector<std::string> cab = {"Banco",
                                          "Nombre",
                                          "Litología",
                                          "Techo (m)",
                                          "Base (m)",
                                          "Edad techo (Ma)",
                                          "Edad base (Ma)",
                                          "Densidad (kg/m³)",
                                          "Nivel mar (m)",
                                          "Techo descomp. (m)",
                                          "Base descomp. (m)",
                                          "Corrección carga (m)",
                                          "Tectónica (m)"};
    std::vector<std::vector<std::string>> filas;
    for (int i = 1; i <= s.n_bancos; ++i) {
        filas.push_back({std::to_string(i), escapa_controles(s.nombre[i]),
                         escapa_controles(s.litologia[i]), numero_corto(s.techo[i]),
                         numero_corto(s.base[i]), numero_corto(s.edad_techo[i]),
                         numero_corto(s.edad_base[i]), numero_corto(s.densidad[i]),
                         numero_corto(s.nivel_mar[i]), numero_corto(s.techo_descomp[i]),
                         numero_corto(s.base_descomp[i]), numero_corto(s.correccion_carga[i]),
                         numero_corto(s.tevarro_tectonica[i])});
    }
    std::vector<std::size_t> w(cab.size());
    for (std::size_t c = 0; c < cab.size(); ++c) {
        w[c] = ancho(cab[c]);
        for (const auto& f : filas)
            w[c] = std::max(w[c], ancho(f[c]));
    }
    // Texts (name, lithology) to the left, numbers to the right.
    auto linea = [&](const std::vector<std::string>& f) {
        const std::size_t inicio = t.size();
        for (std::size_t c = 0; c < f.size(); ++c) {
            if (c) t += "  ";
            const std::size_t a = ancho(f[c]);
            const std::size_t relleno = a >= w[c] ? 0 : w[c] - a;
            if (c == 1 || c == 2) { // texts to the left
                t += f[c];
                t.append(relleno, ' ');
            } else {
                t.append(relleno, ' ');
                t += f[c];
            }
        }
        while (t.size() > inicio && t.back() == ' ')
            t.pop_back();
        t += '\n';
    };
    linea(cab);
    for (const auto& f : filas)
        linea(f);
}

std::string cabecera_csv()
{
    return "archivo,banco,nombre,litologia,techo,base,edad_techo,edad_base,densidad,nivel_mar,"
           "techo_descomp,base_descomp,correccion_carga,tevarro_tectonica\r\n";
}

std::string lineas_csv(const Store& s, const std::string& archivo)
{
    std::string t;
    agrega_lineas_csv(t, s, archivo);
    return t;
}

void agrega_lineas_csv(std::string& t, const Store& s, const std::string& archivo)
{
    std::string campo_archivo;
    agrega_campo_csv(campo_archivo, archivo, kComillasInforme);
    for (int i = 1; i <= s.n_bancos; ++i) {
        const float nums[] = {s.techo[i],
                              s.base[i],
                              s.edad_techo[i],
                              s.edad_base[i],
                              s.densidad[i],
                              s.nivel_mar[i],
                              s.techo_descomp[i],
                              s.base_descomp[i],
                              s.correccion_carga[i],
                              s.tevarro_tectonica[i]};
        t += campo_archivo;
        t += ',';
        agrega_entero(t, i);
        t += ',';
        agrega_campo_csv(t, s.nombre[i], kComillasInforme);
        t += ',';
        agrega_campo_csv(t, s.litologia[i], kComillasInforme);
        for (float v : nums) {
            t += ',';
            agrega_numero_corto(t, v);
        }
        t += "\r\n";
    }
}

namespace {

// Whether one of the options is given, with its value, before any "--".
bool pide_alguna(const std::vector<std::string>& argumentos,
                 std::initializer_list<const char*> opciones)
{
    for (std::size_t k = 0; k < argumentos.size(); ++k) {
        const std::string& a = argumentos[k];
        if (a == "--") return false;
        for (const char* o : opciones)
            if (a == o) return k + 1 < argumentos.size();
        // A value is a name, whatever it looks like.
        if (a == "--salvar" || a == "--curvas" || a == "--columna" || a == "--historia-imagen") ++k;
    }
    return false;
}

} // namespace

bool pide_imagenes(const std::vector<std::string>& argumentos)
{
    return pide_alguna(argumentos, {"--curvas", "--columna", "--historia-imagen"});
}

bool pide_curvas(const std::vector<std::string>& argumentos)
{
    return pide_alguna(argumentos, {"--curvas"});
}

namespace {

// One file read and computed as "Abrir" does it.
struct Calculada {
    LecturaColumna lectura;
    std::unique_ptr<Store> store; // when read
    ResultadoCalculo calculo;
};

// With reparto, the beds' searches are shared with the thread that helps.
Calculada calcula_archivo(const std::string& archivo, Reparto* reparto = nullptr)
{
    Calculada c;
    c.lectura = lee_archivo(archivo);
    if (!c.lectura.ok) return c;
    c.store = std::make_unique<Store>();
    valores_de_arranque(*c.store);
    carga_columna(*c.store, c.lectura.bancos);
    c.calculo = reparto ? tevarro(*c.store, *reparto) : tevarro(*c.store);
    return c;
}

// A task the main thread hands to the computing thread, which runs it
// between two beds of its column, or after the column when it was done
// first.
class Encargo {
  public:
    // The task, or nothing (empty).
    void entrega(std::function<void()> tarea)
    {
        {
            const std::lock_guard<std::mutex> lk(m_);
            tarea_ = std::move(tarea);
            estado_ = tarea_ ? Estado::entregado : Estado::hecho;
        }
        entregado_.store(true, std::memory_order_release);
        cv_.notify_all();
    }
    // Between beds: runs the task if it has come and nobody has.
    void corre_si_llego()
    {
        if (entregado_.load(std::memory_order_acquire)) corre();
    }
    // After the column: waits for the task and runs it.
    void corre_cuando_llegue()
    {
        {
            std::unique_lock<std::mutex> lk(m_);
            cv_.wait(lk, [this] { return estado_ != Estado::por_llegar; });
        }
        corre();
    }
    bool hecho()
    {
        const std::lock_guard<std::mutex> lk(m_);
        return estado_ == Estado::hecho;
    }
    void espera()
    {
        std::unique_lock<std::mutex> lk(m_);
        cv_.wait(lk, [this] { return estado_ == Estado::hecho; });
    }

  private:
    enum class Estado { por_llegar, entregado, en_curso, hecho };
    void corre()
    {
        std::unique_lock<std::mutex> lk(m_);
        if (estado_ != Estado::entregado) return;
        estado_ = Estado::en_curso;
        const std::function<void()> tarea = std::move(tarea_);
        lk.unlock();
        tarea();
        lk.lock();
        estado_ = Estado::hecho;
        lk.unlock();
        cv_.notify_all();
    }

    std::mutex m_;
    std::condition_variable cv_;
    std::function<void()> tarea_;
    Estado estado_ = Estado::por_llegar;
    std::atomic<bool> entregado_{false};
};

} // namespace

int ejecuta_lote(const std::vector<std::string>& argumentos, std::ostream& salida,
                 std::ostream& errores, const PreparaImagenes& prepara_imagenes)
{
    bool csv = false;
    bool historia = false;
    bool enterramiento = false;
    std::string imagen_historia;
    std::string destino;
    std::string imagen_curvas;
    std::string imagen_columna;
    std::vector<std::string> archivos;
    bool solo_archivos = false;
    for (std::size_t k = 0; k < argumentos.size(); ++k) {
        const std::string& a = argumentos[k];
        if (solo_archivos) {
            archivos.push_back(a);
            continue;
        }
        if (a == "--help" || a == "-h") {
            salida << kAyuda;
            return 0;
        } else if (a == "--version") {
            salida << "tevarro-batch " TEVARRO_VERSION "\n";
            return 0;
        } else if (a == "--csv") {
            csv = true;
        } else if (a == "--historia") {
            historia = true;
        } else if (a == "--enterramiento") {
            enterramiento = true;
        } else if (a == "--salvar" || a == "--curvas" || a == "--columna" ||
                   a == "--historia-imagen") {
            if (k + 1 >= argumentos.size()) {
                errores << "tevarro-batch: falta el archivo de salida tras " << a << ".\n"
                        << kAyuda;
                return 2;
            }
            std::string& valor = a == "--salvar"            ? destino
                                 : a == "--curvas"          ? imagen_curvas
                                 : a == "--historia-imagen" ? imagen_historia
                                                            : imagen_columna;
            valor = argumentos[++k];
            if (valor.empty()) {
                errores << "tevarro-batch: el nombre del archivo de salida tras " << a
                        << " está vacío.\n"
                        << kAyuda;
                return 2;
            }
        } else if (a == "--") {
            solo_archivos = true;
        } else if (a.size() > 1 && a[0] == '-') {
            errores << "tevarro-batch: opción desconocida «" << escapa_controles(a) << "».\n"
                    << kAyuda;
            return 2;
        } else {
            archivos.push_back(a);
        }
    }
    if (archivos.empty()) {
        errores << "tevarro-batch: falta el archivo de proyecto.\n" << kAyuda;
        return 2;
    }
    const bool una_sola = !destino.empty() || !imagen_curvas.empty() || !imagen_columna.empty();
    if (una_sola && archivos.size() != 1) {
        errores << "tevarro-batch: --salvar, --curvas y --columna trabajan con una sola columna; "
                   "se dieron "
                << archivos.size() << " archivos.\n";
        return 2;
    }
    if (!imagen_historia.empty() && archivos.size() != 1) {
        errores << "tevarro-batch: --historia-imagen trabaja con una sola columna; se dieron "
                << archivos.size() << " archivos.\n";
        return 2;
    }
    if (csv + historia + enterramiento > 1) {
        errores << "tevarro-batch: --csv, --historia y --enterramiento escriben tablas distintas; "
                   "pida una sola.\n"
                << kAyuda;
        return 2;
    }
    // The history's CSV takes the place of the table; the per-bed results
    // then matter only for the curves.
    const bool modo_historia = historia || enterramiento;
    const bool usa_calculo = !modo_historia || !imagen_curvas.empty();

    // Every text that reaches the terminal has its control characters shown
    // escaped: a file must not be able to drive the terminal.
    auto avisa = [&errores](const std::string& mensaje) {
        errores << escapa_controles(mensaje) << "\n";
    };
    int codigo = 0;
    // Everything for the standard output goes into one buffer, written once.
    std::string informe;
    if (csv) informe = cabecera_csv();
    if (historia) informe = cabecera_historia_csv();
    if (enterramiento) informe = cabecera_enterramiento_csv();
    bool primero = true;
    // With pictures to draw there is one column: it is read and computed
    // while the pictures' machinery starts, which takes as long as a column
    // that needs the full scan.
    const bool imagenes =
        !imagen_curvas.empty() || !imagen_columna.empty() || !imagen_historia.empty();
    std::optional<Calculada> adelantada;
    const Imagenes* dibujo = nullptr;
    std::string sin_dibujo;
    if (imagenes) {
        std::thread calculo;
        std::promise<void> en_marcha;
        Encargo encargo;
        Reparto reparto([&encargo] { encargo.corre_si_llego(); });
        std::atomic<bool> calculada{false};
        try {
            calculo = std::thread([&] {
                en_marcha.set_value();
                adelantada = calcula_archivo(archivos.front(), &reparto);
                calculada = true;
                reparto.termina();
                encargo.corre_cuando_llegue();
            });
        } catch (const std::system_error&) {
            // No second thread to be had: one after the other, then.
        }
        const bool aparte = calculo.joinable();
        // The thread is running before the pictures' machinery starts
        // loading: one that starts during a dlopen waits for it to end.
        if (aparte) en_marcha.get_future().wait();
        std::function<void()> tarea =
            prepara_imagenes.encargo ? prepara_imagenes.encargo() : std::function<void()>();
        // Without a second thread the errand is run here, when it is waited for.
        std::function<void()> aqui;
        if (aparte)
            encargo.entrega(std::move(tarea));
        else
            aqui = std::move(tarea);
        const std::function<void()> espera_encargo = [&] {
            if (aparte) {
                reparto.ayuda([&encargo] { return encargo.hecho(); });
                encargo.espera();
            } else if (aqui) {
                aqui();
                aqui = nullptr;
            }
        };
        const std::function<bool()> calculando = [&] { return aparte && !calculada; };
        dibujo = prepara_imagenes.dibujo
                     ? prepara_imagenes.dibujo(sin_dibujo, espera_encargo, calculando)
                     : nullptr;
        // Ready to draw before the column is: the rest of its beds are
        // searched by both threads.
        if (aparte) {
            reparto.ayuda();
            calculo.join();
        }
        if (!dibujo) {
            if (sin_dibujo.empty()) sin_dibujo = "no hay con qué dibujar";
            avisa("tevarro-batch: no se escribió ninguna imagen: " + sin_dibujo);
            codigo = 1;
        }
    }
    for (const std::string& archivo : archivos) {
        Calculada hecha = adelantada ? std::move(*adelantada) : calcula_archivo(archivo);
        adelantada.reset();
        const LecturaColumna& lectura = hecha.lectura;
        if (!lectura.ok) {
            avisa(lectura.error);
            codigo = 1;
            continue;
        }
        Store* const s = hecha.store.get();
        const ResultadoCalculo calculo = hecha.calculo;
        if (!calculo.ok()) {
            if (usa_calculo) {
                avisa("«" + archivo + "»: " + calculo.mensaje());
                codigo = 1;
            }
        } else if (csv) {
            agrega_lineas_csv(informe, *s, archivo);
        } else if (!modo_historia) {
            if (!primero) informe += '\n';
            informe += "Archivo: ";
            informe += escapa_controles(archivo);
            informe += " (";
            agrega_entero(informe, s->n_bancos);
            informe += " bancos)\n";
            agrega_tabla_de_bancos(informe, *s);
            primero = false;
        }
        std::string fallo_imagen;
        if (modo_historia || !imagen_historia.empty()) {
            const ResultadoHistoria h = calcula_historia(*s);
            if (!h.ok()) {
                avisa("«" + archivo + "»: " + h.error);
                codigo = 1;
                if (!imagen_historia.empty())
                    avisa(no_escrita("la imagen de la historia", imagen_historia, archivo,
                                     "no se pudo calcular su historia"));
            } else {
                if (historia) informe += lineas_historia_csv(h.historia, archivo);
                if (enterramiento) informe += lineas_enterramiento_csv(h.historia, archivo);
                if (!imagen_historia.empty() && dibujo &&
                    !dibujo->historia(h.historia, *s, imagen_historia, fallo_imagen)) {
                    avisa(fallo_imagen);
                    codigo = 1;
                }
            }
        }
        if (!imagen_curvas.empty()) {
            if (!calculo.ok()) {
                avisa(no_escrita("la imagen de las curvas", imagen_curvas, archivo,
                                 "su cálculo falló"));
            } else if (dibujo && !dibujo->curvas(*s, imagen_curvas, fallo_imagen)) {
                avisa(fallo_imagen);
                codigo = 1;
            }
        }
        // The column is drawn even when its computation failed, as the window
        // draws it.
        if (!imagen_columna.empty() && dibujo &&
            !dibujo->columna(*s, imagen_columna, fallo_imagen)) {
            avisa(fallo_imagen);
            codigo = 1;
        }
        // The column was read whole, so it is saved even when its computation failed.
        if (!destino.empty()) {
            const std::string fallo = salva_archivo(*s, destino);
            if (!fallo.empty()) {
                avisa(fallo);
                codigo = 1;
            }
        }
    }
    // A full disk or a closed pipe is a failure like any other file's.
    errno = 0;
    salida.write(informe.data(), static_cast<std::streamsize>(informe.size()));
    salida.flush();
    if (!salida) {
        avisa("tevarro-batch: no se pudo escribir la salida: " +
              razon_del_sistema(errno != 0 ? errno : EIO) + ".");
        codigo = 1;
    }
    return codigo;
}

} // namespace tev
