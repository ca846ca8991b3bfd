#include "batch/informe.h"

#include "batch/avisos_de_rocas.h"
#include "batch/bandas_de_pozos.h"
#include "batch/informe_estiramiento.h"
#include "batch/informe_incertidumbre.h"
#include "batch/opcion_nivel_mar.h"
#include "compute/historia.h"
#include "compute/nivel_mar.h"
#include "compute/tevarro.h"
#include "model/store.h"
#include "project_file/archivos.h"
#include "project_file/comillas.h"
#include "project_file/csv_columna.h"
#include "project_file/curva_subsidencia.h"
#include "project_file/formatos.h"
#include "project_file/informe_historia.h"
#include "project_file/pozos.h"
#include "text_forms/formas_numericas.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <optional>
#include <ostream>
#include <thread>

namespace tev {

namespace {

const char* const kAyuda =
    "Uso: tevarro-batch [--csv | --historia | --enterramiento] [--salvar SALIDA] "
    "[--curvas IMAGEN]\n"
    "                   [--columna IMAGEN] [--columna-entera IMAGEN] [--historia-imagen IMAGEN]\n"
    "                   [--nivel-mar CURVA] ARCHIVO...\n"
    "       tevarro-batch [--estiramiento | --estiramiento-curva] [--estiramiento-imagen IMAGEN]\n"
    "                   [--modo total|termica] [--edad-rift A] [--beta B] [--corteza M]\n"
    "                   [--constantes NOMBRE] [--terminos N] [--desde A] [--hasta B] ARCHIVO...\n"
    "       tevarro-batch --incertidumbre N [--semilla S] [--rango-porosidad F] [--rango-coef F]\n"
    "                   [--rango-paleobatimetria M] [--rango-edad MA] [--rango-nivel-mar M]\n"
    "                   [--incertidumbre-imagen IMAGEN] [--nivel-mar CURVA] ARCHIVO...\n"
    "       tevarro-batch --comparar-imagen IMAGEN [opciones del estiramiento]\n"
    "                   [--incertidumbre N [opciones de la incertidumbre]]\n"
    "                   [--nivel-mar CURVA] ARCHIVO...\n"
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
    "  --columna-entera IMAGEN\n"
    "                   dibuja la columna entera, actual y descompactada, con todos sus\n"
    "                   rótulos legibles (un solo archivo), en IMAGEN, .png, .svg o .pdf\n"
    "  --historia       escribe en CSV la historia de enterramiento de toda la columna:\n"
    "                   una línea por paso, del banco superior al banco 1\n"
    "  --enterramiento  escribe en CSV la profundidad descompactada del techo y la base\n"
    "                   de cada banco presente en cada paso de la historia\n"
    "  --historia-imagen IMAGEN\n"
    "                   dibuja el diagrama de la historia de enterramiento (un solo\n"
    "                   archivo) en IMAGEN, .png, .svg o .pdf\n"
    "  --nivel-mar CURVA\n"
    "                   la curva del nivel del mar: tabla (la del programa, sin esta\n"
    "                   opción), ninguno (0 m a toda edad) o un archivo CSV con las\n"
    "                   columnas edad,nivel_mar (lineal entre sus puntos); los\n"
    "                   resultados la nombran cuando no es la tabla\n"
    "\n"
    "Ajuste del modelo de estiramiento uniforme (McKenzie 1978) a la subsidencia\n"
    "tectónica de la historia: el factor de estiramiento beta y la edad del rift.\n"
    "Un CSV cuya cabecera nombra edad y subsidencia_tectonica (la salida de\n"
    "--historia) se ajusta tal como está.\n"
    "  --estiramiento   escribe en CSV una línea por archivo: archivo, modo, constantes,\n"
    "                   beta, edad_rift, corteza, rms, puntos, en_limite\n"
    "  --estiramiento-curva\n"
    "                   escribe en CSV cada punto ajustado: archivo, edad,\n"
    "                   subsidencia_tectonica, modelo, residuo\n"
    "  --estiramiento-imagen IMAGEN\n"
    "                   dibuja la subsidencia y el modelo ajustado (un solo archivo) en\n"
    "                   IMAGEN, .png, .svg o .pdf\n"
    "  --modo MODO      total (inicial y térmica, la predeterminada) o termica (sólo la\n"
    "                   subsidencia térmica, nula a la edad del rift)\n"
    "  --edad-rift A    fija la edad del rift en A Ma; si no, se ajusta\n"
    "  --beta B         fija beta, en (1, 20]; con --edad-rift sólo se evalúa el modelo\n"
    "  --corteza M      espesor de la corteza antes del rift, m (35000)\n"
    "  --constantes NOMBRE\n"
    "                   mckenzie1978 (la predeterminada), pybacktrack, subsidencechron\n"
    "                   o paleostrip\n"
    "  --terminos N     suma sólo los N primeros términos de la serie térmica (si no,\n"
    "                   la serie entera)\n"
    "  --desde A        ajusta sólo los puntos de edad A Ma o más\n"
    "  --hasta B        ajusta sólo los puntos de edad B Ma o menos\n"
    "\n"
    "Incertidumbre: N tiradas de la columna, cada valor con rango tomado al azar entre\n"
    "sus extremos, y la historia de enterramiento de cada tirada.\n"
    "  --incertidumbre N\n"
    "                   escribe en CSV, por paso, la historia y los percentiles de sus\n"
    "                   subsidencias y su edad sobre N tiradas; con --estiramiento,\n"
    "                   la línea del ajuste y los percentiles de beta y de la edad del\n"
    "                   rift sobre los ajustes de las tiradas\n"
    "  --semilla S      la semilla de las tiradas (1); la misma da los mismos números\n"
    "  --rango-porosidad F\n"
    "                   porosidad ± F veces ella misma, donde el banco no tiene rango propio\n"
    "  --rango-coef F   coeficiente porosidad-profundidad ± F veces él mismo\n"
    "  --rango-paleobatimetria M\n"
    "                   paleobatimetría ± M metros\n"
    "  --rango-edad MA  edad del techo de cada banco ± MA Ma\n"
    "  --rango-nivel-mar M\n"
    "                   nivel del mar ± M metros en cada paso\n"
    "  --incertidumbre-imagen IMAGEN\n"
    "                   dibuja el diagrama de la historia con las bandas de sus\n"
    "                   subsidencias (un solo archivo) en IMAGEN, .png, .svg o .pdf\n"
    "\n"
    "Varios pozos a la vez, como en la ventana \"Comparar pozos\":\n"
    "  --comparar-imagen IMAGEN\n"
    "                   dibuja la subsidencia tectónica de todos los archivos y sus\n"
    "                   ajustes del estiramiento (con sus opciones) en IMAGEN, .png,\n"
    "                   .svg o .pdf; con --incertidumbre N, también las bandas de cada\n"
    "                   pozo; un archivo sin historia se dice y los demás se dibujan\n"
    "\n"
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

// What a save into a project file left out: the remarks of some beds.
std::string notas_dejadas(const std::string& destino, int bancos)
{
    return "«" + destino + "»: se guardó sin las notas de " + std::to_string(bancos) +
           (bancos == 1 ? " banco" : " bancos") +
           ", que un archivo de proyecto no guarda; un archivo .csv las conserva.";
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
    const auto numero = [](float v) {
        std::string t;
        agrega_numero_corto(t, v);
        return t;
    };
    for (int i = 1; i <= s.n_bancos; ++i) {
        filas.push_back({std::to_string(i), escapa_controles(s.nombre[i]),
                         escapa_controles(s.litologia[i]), numero(s.techo[i]), numero(s.base[i]),
                         numero(s.edad_techo[i]), numero(s.edad_base[i]), numero(s.densidad[i]),
                         numero(s.nivel_mar[i]), numero(s.techo_descomp[i]),
                         numero(s.base_descomp[i]), numero(s.correccion_carga[i]),
                         numero(s.tevarro_tectonica[i])});
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

namespace {

// What the command line asks for.
struct Opciones {
    bool csv = false;
    bool historia = false;
    bool enterramiento = false;
    std::string destino; // --salvar
    std::string imagen_curvas;
    std::string imagen_columna;
    std::string imagen_columna_entera;
    std::string imagen_historia;
    std::string imagen_comparacion; // --comparar-imagen: every file in one picture
    OpcionesEstiramiento estiramiento;
    OpcionesIncertidumbre incertidumbre;
    std::string nivel_mar = "tabla"; // --nivel-mar
    std::vector<std::string> archivos;
    // The curve --nivel-mar names, and the form of the CSV that names it.
    CurvaNivelMar curva;
    FormaExportacion forma;

    // The history's CSV takes the place of the table; the per-bed results
    // then matter only for the curves.
    [[nodiscard]] bool modo_historia() const { return historia || enterramiento; }
    // So does the stretching fit's CSV.
    [[nodiscard]] bool otra_tabla() const
    {
        return modo_historia() || estiramiento.tabla || estiramiento.curva ||
               incertidumbre.pedida();
    }
    [[nodiscard]] bool usa_calculo() const { return !otra_tabla() || !imagen_curvas.empty(); }
    [[nodiscard]] bool imagenes() const
    {
        return !imagen_curvas.empty() || !imagen_columna.empty() || !imagen_historia.empty() ||
               !imagen_columna_entera.empty() || !estiramiento.imagen.empty() ||
               !imagen_comparacion.empty() || !incertidumbre.imagen.empty();
    }
    // Only the comparison's picture: no file is reported one by one.
    [[nodiscard]] bool solo_comparacion() const
    {
        return !imagen_comparacion.empty() && !csv && !otra_tabla() && destino.empty() &&
               imagen_curvas.empty() && imagen_columna.empty() && imagen_historia.empty() &&
               imagen_columna_entera.empty() && estiramiento.imagen.empty() &&
               incertidumbre.imagen.empty();
    }
};

// Reads the command line into o. Returns -1 when the files are to be
// processed, or the exit code when the run ends here: 0 after the help or
// the version, 2 on a usage error (said on errores).
int lee_opciones(const std::vector<std::string>& argumentos, std::ostream& salida,
                 std::ostream& errores, Opciones& o)
{
    bool solo_archivos = false;
    for (std::size_t k = 0; k < argumentos.size(); ++k) {
        const std::string& a = argumentos[k];
        if (solo_archivos) {
            o.archivos.push_back(a);
            continue;
        }
        std::string error_estiramiento;
        const int estiramiento =
            lee_opcion_estiramiento(argumentos, k, o.estiramiento, error_estiramiento);
        if (estiramiento == 2) {
            errores << "tevarro-batch: " << error_estiramiento << "\n" << kAyuda;
            return 2;
        }
        if (estiramiento == 1) continue;
        std::string error_incertidumbre;
        const int incertidumbre =
            lee_opcion_incertidumbre(argumentos, k, o.incertidumbre, error_incertidumbre);
        if (incertidumbre == 2) {
            errores << "tevarro-batch: " << error_incertidumbre << "\n" << kAyuda;
            return 2;
        }
        if (incertidumbre == 1) continue;
        if (a == "--help" || a == "-h") {
            salida << kAyuda;
            return 0;
        } else if (a == "--version") {
            salida << "tevarro-batch " TEVARRO_VERSION "\n";
            return 0;
        } else if (a == "--csv") {
            o.csv = true;
        } else if (a == "--historia") {
            o.historia = true;
        } else if (a == "--enterramiento") {
            o.enterramiento = true;
        } else if (a == "--salvar" || a == "--curvas" || a == "--columna" ||
                   a == "--historia-imagen" || a == "--columna-entera" ||
                   a == "--comparar-imagen") {
            if (k + 1 >= argumentos.size()) {
                errores << "tevarro-batch: falta el archivo de salida tras " << a << ".\n"
                        << kAyuda;
                return 2;
            }
            std::string& valor = a == "--salvar"            ? o.destino
                                 : a == "--curvas"          ? o.imagen_curvas
                                 : a == "--historia-imagen" ? o.imagen_historia
                                 : a == "--columna-entera"  ? o.imagen_columna_entera
                                 : a == "--comparar-imagen" ? o.imagen_comparacion
                                                            : o.imagen_columna;
            valor = argumentos[++k];
            if (valor.empty()) {
                errores << "tevarro-batch: el nombre del archivo de salida tras " << a
                        << " está vacío.\n"
                        << kAyuda;
                return 2;
            }
        } else if (a == "--nivel-mar") {
            if (k + 1 >= argumentos.size() || argumentos[k + 1].empty()) {
                errores << "tevarro-batch: falta la curva del nivel del mar tras --nivel-mar "
                           "(tabla, ninguno o un archivo CSV).\n"
                        << kAyuda;
                return 2;
            }
            o.nivel_mar = argumentos[++k];
        } else if (a == "--") {
            solo_archivos = true;
        } else if (a.size() > 1 && a[0] == '-') {
            errores << "tevarro-batch: opción desconocida «" << escapa_controles(a) << "».\n"
                    << kAyuda;
            return 2;
        } else {
            o.archivos.push_back(a);
        }
    }
    if (o.archivos.empty()) {
        errores << "tevarro-batch: falta el archivo de proyecto.\n" << kAyuda;
        return 2;
    }
    const bool una_sola =
        !o.destino.empty() || !o.imagen_curvas.empty() || !o.imagen_columna.empty();
    if (una_sola && o.archivos.size() != 1) {
        errores << "tevarro-batch: --salvar, --curvas y --columna trabajan con una sola columna; "
                   "se dieron "
                << o.archivos.size() << " archivos.\n";
        return 2;
    }
    if (!o.imagen_columna_entera.empty() && o.archivos.size() != 1) {
        errores << "tevarro-batch: --columna-entera trabaja con una sola columna; se dieron "
                << o.archivos.size() << " archivos.\n";
        return 2;
    }
    if (!o.imagen_historia.empty() && o.archivos.size() != 1) {
        errores << "tevarro-batch: --historia-imagen trabaja con una sola columna; se dieron "
                << o.archivos.size() << " archivos.\n";
        return 2;
    }
    if (!o.estiramiento.imagen.empty() && o.archivos.size() != 1) {
        errores << "tevarro-batch: --estiramiento-imagen trabaja con una sola columna; se dieron "
                << o.archivos.size() << " archivos.\n";
        return 2;
    }
    if (!o.incertidumbre.imagen.empty() && o.archivos.size() != 1) {
        errores << "tevarro-batch: --incertidumbre-imagen trabaja con una sola columna; se dieron "
                << o.archivos.size() << " archivos.\n";
        return 2;
    }
    const std::string mal_estiramiento =
        revisa_opciones_estiramiento(o.estiramiento, !o.imagen_comparacion.empty());
    if (!mal_estiramiento.empty()) {
        errores << "tevarro-batch: " << mal_estiramiento << "\n" << kAyuda;
        return 2;
    }
    if ((o.estiramiento.tabla || o.estiramiento.curva) && (o.csv || o.modo_historia())) {
        errores << "tevarro-batch: --estiramiento y --estiramiento-curva escriben tablas distintas "
                   "de las de --csv, --historia y --enterramiento; pida una sola.\n"
                << kAyuda;
        return 2;
    }
    const std::string mal_incertidumbre = revisa_opciones_incertidumbre(o.incertidumbre);
    if (!mal_incertidumbre.empty()) {
        errores << "tevarro-batch: " << mal_incertidumbre << "\n" << kAyuda;
        return 2;
    }
    if (o.incertidumbre.pedida() && (o.csv || o.modo_historia() || o.estiramiento.curva)) {
        errores << "tevarro-batch: --incertidumbre escribe una tabla distinta de las de --csv, "
                   "--historia, --enterramiento y --estiramiento-curva; pida una sola.\n"
                << kAyuda;
        return 2;
    }
    if (o.csv + o.historia + o.enterramiento > 1) {
        errores << "tevarro-batch: --csv, --historia y --enterramiento escriben tablas distintas; "
                   "pida una sola.\n"
                << kAyuda;
        return 2;
    }
    return -1;
}

// What the run has produced so far: the report for the standard output,
// written out as each file is done, and the exit code.
struct Avance {
    Avance(std::ostream& s, std::ostream& e) : salida(s), errores(e) {}

    std::ostream& salida;
    std::ostream& errores;
    // The report not yet written: at most one file's.
    std::string informe;
    int codigo = 0;
    bool primera_tabla = true;
    bool salida_perdida = false;
    // Each file's bands by its path as given, kept for the comparison
    // picture so that its draws are not made twice.
    BandasHechas bandas_hechas;

    // Every text that reaches the terminal has its control characters shown
    // escaped: a file must not be able to drive the terminal.
    void avisa(const std::string& mensaje) const { errores << escapa_controles(mensaje) << "\n"; }
    void falla(const std::string& mensaje)
    {
        avisa(mensaje);
        codigo = 1;
    }
    // A picture's drawing: on failure, its message.
    void dibujada(bool bien, const std::string& error)
    {
        if (!bien) falla(error);
    }
    // Writes the report so far. A full disk or a closed pipe is a failure
    // like any other file's, told once; what follows is not written.
    void entrega()
    {
        if (!salida_perdida && !informe.empty()) {
            errno = 0;
            salida.write(informe.data(), static_cast<std::streamsize>(informe.size()));
            salida.flush();
            if (!salida) {
                salida_perdida = true;
                falla("tevarro-batch: no se pudo escribir la salida: " +
                      razon_del_sistema(errno != 0 ? errno : EIO) + ".");
            }
        }
        informe.clear();
    }
};

// The column's rows in the report: CSV lines or a table, or its failure.
void informa_calculo(const std::string& archivo, const Store& s, const ResultadoCalculo& calculo,
                     const Opciones& o, Avance& av)
{
    if (!calculo.ok()) {
        if (o.usa_calculo()) av.falla("«" + archivo + "»: " + calculo.mensaje());
    } else if (o.csv) {
        agrega_lineas_csv(av.informe, s, archivo, o.forma);
    } else if (!o.otra_tabla()) {
        if (!av.primera_tabla) av.informe += '\n';
        av.informe += "Archivo: ";
        av.informe += escapa_controles(archivo);
        av.informe += " (";
        av.informe += cantidad(s.n_bancos, "banco", "bancos");
        av.informe += ")\n";
        av.informe += linea_de_curva(o.curva);
        agrega_tabla_de_bancos(av.informe, s);
        av.primera_tabla = false;
    }
}

// The burial history's CSV and picture.
void informa_historia(const std::string& archivo, const Store& s, const ResultadoHistoria& h,
                      const Opciones& o, const Imagenes* dibujo, Avance& av)
{
    if (!h.ok()) {
        av.falla("«" + archivo + "»: " + h.error);
        if (!o.imagen_historia.empty())
            av.avisa(no_escrita("la imagen de la historia", o.imagen_historia, archivo,
                                "no se pudo calcular su historia"));
        return;
    }
    if (o.historia) av.informe += lineas_historia_csv(h.historia, archivo, o.forma);
    if (o.enterramiento) av.informe += lineas_enterramiento_csv(h.historia, archivo, o.forma);
    if (!o.imagen_historia.empty() && dibujo) {
        std::string error;
        av.dibujada(dibujo->historia(h.historia, s, o.curva, o.imagen_historia, error), error);
    }
}

// The uncertainty's CSV lines, on every core the machine has (the bytes do
// not depend on it): per step, or with --estiramiento the fit's line and the
// percentiles of the draws' refits; and the history diagram with its bands.
// A history or fit that fails has been told by its own report.
void informa_incertidumbre(const std::string& archivo, const Store& s, const ResultadoHistoria& h,
                           const Opciones& o, const Imagenes* dibujo, Avance& av)
{
    const OpcionesIncertidumbre& i = o.incertidumbre;
    const OpcionesEstiramiento& e = o.estiramiento;
    const char* const que_imagen = "la imagen de la incertidumbre";
    if (!h.ok()) {
        if (!e.pedido()) av.falla("«" + archivo + "»: " + h.error);
        if (!i.imagen.empty())
            av.avisa(no_escrita(que_imagen, i.imagen, archivo, "no se pudo calcular su historia"));
        return;
    }
    std::optional<AjusteEstiramiento> ajuste;
    if (e.tabla) {
        ajuste = ajusta_estiramiento(puntos_como_en_csv(h.historia), e.peticion);
        if (!ajuste->ok() && i.imagen.empty()) return;
    }
    const int hilos = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    const ResultadoIncertidumbre r =
        calcula_incertidumbre(s, o.curva, i.rangos, i.tiradas, i.semilla, hilos);
    if (!r.ok()) {
        av.falla("«" + archivo + "»: " + r.error);
        if (!i.imagen.empty())
            av.avisa(no_escrita(que_imagen, i.imagen, archivo, "sus tiradas fallaron"));
        return;
    }
    if (!i.imagen.empty() && dibujo) {
        std::string error;
        av.dibujada(dibujo->historia_con_bandas(h.historia, s, r.bandas, o.curva, i.imagen, error),
                    error);
    }
    if (!o.imagen_comparacion.empty()) av.bandas_hechas[archivo] = r.bandas;
    if (ajuste && !ajuste->ok()) return;
    if (!ajuste) {
        av.informe += lineas_incertidumbre_csv(r, archivo, o.forma);
        return;
    }
    const BandaEstiramiento b = reajusta_estiramiento(r, e.peticion, hilos);
    if (!b.ok()) {
        av.falla("«" + archivo + "»: " + b.error);
        return;
    }
    av.informe += linea_estiramiento_incertidumbre_csv(archivo, e.peticion, *ajuste, b);
}

// The stretching fit of the points: its CSV line or lines and its picture,
// which names nivel_mar, the curve the points were computed with.
void informa_ajuste(const std::string& archivo, const std::vector<PuntoSubsidencia>& puntos,
                    const CurvaNivelMar& nivel_mar, const Opciones& o, const Imagenes* dibujo,
                    Avance& av)
{
    const OpcionesEstiramiento& e = o.estiramiento;
    const AjusteEstiramiento ajuste = ajusta_estiramiento(puntos, e.peticion);
    if (!ajuste.ok()) {
        av.falla("«" + archivo + "»: " + ajuste.error);
        if (!e.imagen.empty())
            av.avisa(no_escrita("la imagen del estiramiento", e.imagen, archivo,
                                "no se pudo ajustar el modelo"));
        return;
    }
    // With the uncertainty the line comes with its percentiles, from there.
    if (e.tabla && !o.incertidumbre.pedida())
        av.informe += linea_estiramiento_csv(archivo, e.peticion, ajuste);
    if (e.curva) av.informe += lineas_curva_estiramiento_csv(archivo, puntos, e.peticion, ajuste);
    if (!e.imagen.empty() && dibujo) {
        std::string error;
        av.dibujada(dibujo->estiramiento(puntos, e.peticion, ajuste, nivel_mar, e.imagen, error),
                    error);
    }
}

// The fit of a column's burial history. A history that cannot be computed
// is told here unless the history's own report has told it.
void informa_estiramiento(const std::string& archivo, const ResultadoHistoria& h, const Opciones& o,
                          const Imagenes* dibujo, Avance& av)
{
    if (!h.ok()) {
        if (!o.modo_historia() && o.imagen_historia.empty())
            av.falla("«" + archivo + "»: " + h.error);
        if (!o.estiramiento.imagen.empty())
            av.avisa(no_escrita("la imagen del estiramiento", o.estiramiento.imagen, archivo,
                                "no se pudo calcular su historia"));
        return;
    }
    informa_ajuste(archivo, puntos_como_en_csv(h.historia), o.curva, o, dibujo, av);
}

// A CSV curve of tectonic subsidence, fitted as it stands: true when the
// file is one (told or failed here), false when it is to be read as a column.
bool procesa_curva(const std::string& archivo, const Opciones& o, const Imagenes* dibujo,
                   Avance& av)
{
    if (!o.estiramiento.pedido() || !es_nombre_csv(archivo)) return false;
    std::string bytes;
    std::string razon;
    if (!lee_archivo_entero(archivo, kTamanoMaximoArchivo, "un archivo CSV", bytes, razon) ||
        !es_curva_subsidencia(bytes))
        return false; // read again as a column, which tells the failure
    if (o.incertidumbre.pedida()) {
        av.falla("«" + archivo +
                 "» es una curva de subsidencia tectónica, no una columna: sin columna no hay "
                 "tiradas de incertidumbre.");
        return true;
    }
    const LecturaCurva curva = lee_curva_subsidencia(bytes, archivo);
    if (!curva.ok) {
        av.falla(curva.error);
        return true;
    }
    const bool otra_salida = o.csv || o.modo_historia() || !o.destino.empty() ||
                             !o.imagen_curvas.empty() || !o.imagen_columna.empty() ||
                             !o.imagen_historia.empty();
    if (otra_salida)
        av.falla("«" + archivo +
                 "» es una curva de subsidencia tectónica, no una columna: de ella sólo se hace "
                 "el ajuste del estiramiento.");
    // A curve's points were computed elsewhere: no sea level of this run is
    // in them.
    informa_ajuste(archivo, curva.puntos, CurvaNivelMar{}, o, dibujo, av);
    return true;
}

// One file read and computed as "Abrir" does it, then reported, drawn and
// saved as the options ask.
void procesa_archivo(const std::string& archivo, const Opciones& o, const Imagenes* dibujo,
                     Avance& av)
{
    if (procesa_curva(archivo, o, dibujo, av)) return;
    const LecturaColumna lectura = lee_archivo(archivo);
    if (!lectura.ok) {
        av.falla(lectura.error);
        return;
    }
    const auto s = std::make_unique<Store>();
    valores_de_arranque(*s);
    carga_lectura(*s, lectura);
    pon_nivel_mar(*s, o.curva);
    const ResultadoCalculo calculo = tevarro(*s);
    std::optional<ResultadoHistoria> historia;
    if (o.modo_historia() || !o.imagen_historia.empty() || o.estiramiento.pedido() ||
        o.incertidumbre.pedida())
        historia = calcula_historia(*s, o.curva);
    const ResultadoCalculo* dicho = o.usa_calculo() ? &calculo : nullptr;
    for (const std::string& aviso :
         avisos_de_rocas(archivo, *s, dicho, historia ? &*historia : nullptr))
        av.avisa(aviso);
    informa_calculo(archivo, *s, calculo, o, av);
    if (o.modo_historia() || !o.imagen_historia.empty())
        informa_historia(archivo, *s, *historia, o, dibujo, av);
    if (o.estiramiento.pedido()) informa_estiramiento(archivo, *historia, o, dibujo, av);
    if (o.incertidumbre.pedida()) informa_incertidumbre(archivo, *s, *historia, o, dibujo, av);
    std::string error;
    if (!o.imagen_curvas.empty()) {
        if (!calculo.ok())
            av.avisa(no_escrita("la imagen de las curvas", o.imagen_curvas, archivo,
                                "su cálculo falló"));
        else if (dibujo)
            av.dibujada(dibujo->curvas(*s, o.curva, o.imagen_curvas, error), error);
    }
    // The column is drawn even when its computation failed, as the window
    // draws it.
    if (!o.imagen_columna.empty() && dibujo)
        av.dibujada(dibujo->columna(*s, o.imagen_columna, error), error);
    if (!o.imagen_columna_entera.empty() && dibujo)
        av.dibujada(dibujo->columna_entera(*s, o.imagen_columna_entera, error), error);
    // The column was read whole, so it is saved even when its computation failed.
    if (!o.destino.empty()) {
        const std::string fallo = salva_archivo(*s, o.destino);
        if (!fallo.empty()) av.falla(fallo);
        const int sin_notas = notas_que_no_caben(*s, o.destino);
        if (fallo.empty() && sin_notas > 0) av.avisa(notas_dejadas(o.destino, sin_notas));
        const int sin_densidades = densidades_que_no_caben(*s, o.destino);
        if (fallo.empty() && sin_densidades > 0)
            av.avisa(densidades_dejadas(o.destino, sin_densidades));
        const int sin_rangos = rangos_que_no_caben(*s, o.destino);
        if (fallo.empty() && sin_rangos > 0) av.avisa(rangos_dejados(o.destino, sin_rangos));
    }
}

// Every file in one picture; a well without a history is said, the others
// are drawn.
void compara_pozos(const Opciones& o, const Imagenes* dibujo, Avance& av)
{
    const std::vector<Pozo> pozos = lee_pozos(o.archivos, o.estiramiento.peticion, &o.curva);
    for (const Pozo& w : pozos)
        if (!w.ok()) av.falla(w.error);
    // With --incertidumbre each well's bands, on every core (the bytes do not
    // depend on it); a well whose draws fail is drawn without them.
    BandasDePozos bandas;
    if (o.incertidumbre.pedida() && dibujo) {
        const int hilos = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
        bandas = bandas_de_pozos(pozos, o.curva, o.incertidumbre, hilos, av.bandas_hechas);
        for (const std::string& e : bandas.errores)
            av.falla(e);
    }
    std::string error;
    if (dibujo)
        av.dibujada(dibujo->pozos(pozos, o.estiramiento.peticion.modelo, bandas.bandas, o.curva,
                                  o.imagen_comparacion, error),
                    error);
}

} // namespace

int ejecuta_lote(const std::vector<std::string>& argumentos, std::ostream& salida,
                 std::ostream& errores, const CargaImagenes& carga_imagenes)
{
    Opciones o;
    const int uso = lee_opciones(argumentos, salida, errores, o);
    if (uso >= 0) return uso;
    // Every file's results depend on the curve: without it nothing is done.
    std::string sin_curva;
    if (!curva_de_la_opcion(o.nivel_mar, o.curva, sin_curva)) {
        errores << escapa_controles(sin_curva) << "\n";
        return 1;
    }
    o.forma.curva_nivel_mar = nombre_de_curva(o.curva);

    Avance av(salida, errores);
    if (o.csv) av.informe = cabecera_csv(o.forma);
    if (o.historia) av.informe = cabecera_historia_csv(o.forma);
    if (o.enterramiento) av.informe = cabecera_enterramiento_csv(o.forma);
    if (o.estiramiento.tabla) av.informe = cabecera_estiramiento_csv();
    if (o.estiramiento.curva) av.informe = cabecera_curva_estiramiento_csv();
    if (o.incertidumbre.pedida())
        av.informe = o.estiramiento.tabla ? cabecera_estiramiento_incertidumbre_csv()
                                          : cabecera_incertidumbre_csv(o.forma);
    av.entrega();

    // What draws is loaded only when a picture is asked for; without it
    // every other output is still written.
    const Imagenes* dibujo = nullptr;
    if (o.imagenes()) {
        std::string sin_dibujo;
        if (carga_imagenes) dibujo = carga_imagenes(sin_dibujo);
        if (!dibujo) {
            if (sin_dibujo.empty()) sin_dibujo = "no hay con qué dibujar";
            av.falla("tevarro-batch: no se escribió ninguna imagen: " + sin_dibujo);
        }
    }

    // Each file's lines as soon as it is done: memory for one file at a time.
    if (!o.solo_comparacion()) {
        for (const std::string& archivo : o.archivos) {
            procesa_archivo(archivo, o, dibujo, av);
            av.entrega();
        }
    }
    if (!o.imagen_comparacion.empty()) compara_pozos(o, dibujo, av);
    return av.codigo;
}

} // namespace tev
