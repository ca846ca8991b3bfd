// The options of each program as three places give them: its --help, its
// manual page and the README's option table. They must be the same.

#include <gtest/gtest.h>

#include <QProcess>

#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Opciones = std::set<std::string>;

std::string lee(const std::string& ruta)
{
    std::ifstream f(ruta, std::ios::binary);
    EXPECT_TRUE(f.good()) << ruta;
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

std::vector<std::string> lineas(const std::string& texto)
{
    std::vector<std::string> r;
    std::istringstream in(texto);
    for (std::string l; std::getline(in, l);)
        r.push_back(l);
    return r;
}

bool es_opcion(const std::string& palabra)
{
    return std::regex_match(palabra, std::regex("--?([A-Za-z][A-Za-z0-9-]*)?"));
}

// An argument's name: SALIDA, IMAGEN, OPCIÓN (capitals, no small letter).
bool es_argumento(const std::string& palabra)
{
    return !palabra.empty() && palabra[0] >= 'A' && palabra[0] <= 'Z' &&
           !std::regex_search(palabra, std::regex("[a-z]"));
}

// The --help text: a line indented by blanks and starting with "-" names one
// or more options ("  -h, --help  ...", "  --salvar SALIDA ..."), then their
// arguments, then the description.
Opciones opciones_de_ayuda(const std::string& ayuda)
{
    Opciones r;
    for (const std::string& l : lineas(ayuda)) {
        if (!std::regex_search(l, std::regex("^ +-"))) continue;
        std::istringstream palabras(std::regex_replace(l, std::regex(","), " "));
        for (std::string p; palabras >> p;) {
            if (es_opcion(p))
                r.insert(p);
            else if (!es_argumento(p))
                break;
        }
    }
    return r;
}

// The manual page: the tag line after each .TP of the OPCIONES section, with
// its fonts and escapes taken away (".BR \-h \", \" \-\-help" is "-h , --help").
Opciones opciones_de_manual(const std::string& roff)
{
    Opciones r;
    bool en_opciones = false;
    bool etiqueta = false;
    for (std::string l : lineas(roff)) {
        if (l.rfind(".SH", 0) == 0) {
            en_opciones = std::regex_search(l, std::regex("^\\.SH +\"?OPCIONES\"?$"));
            continue;
        }
        if (!en_opciones) continue;
        if (l.rfind(".TP", 0) == 0) {
            etiqueta = true;
            continue;
        }
        if (!etiqueta) continue;
        etiqueta = false;
        l = std::regex_replace(l, std::regex("^\\.[A-Z]+ *"), "");
        l = std::regex_replace(l, std::regex("\\\\f[BIRP]"), "");
        l = std::regex_replace(l, std::regex("\\\\-"), "-");
        l = std::regex_replace(l, std::regex("[\",]"), " ");
        std::istringstream palabras(l);
        for (std::string p; palabras >> p;)
            if (es_opcion(p)) r.insert(p);
    }
    return r;
}

// The README: the first cells of the tables in the section headed by
// `titulo`, "| `-h`, `--help` | ..." giving -h and --help.
Opciones opciones_del_readme(const std::string& readme, const std::string& titulo)
{
    Opciones r;
    bool en_seccion = false;
    for (const std::string& l : lineas(readme)) {
        if (l.rfind("## ", 0) == 0) {
            en_seccion = l == "## " + titulo;
            continue;
        }
        if (!en_seccion || l.rfind("| `-", 0) != 0) continue;
        const std::string celda = l.substr(1, l.find('|', 1) - 1);
        const std::regex codigo("`([^`]*)`");
        for (auto m = std::sregex_iterator(celda.begin(), celda.end(), codigo);
             m != std::sregex_iterator(); ++m) {
            std::istringstream palabras((*m)[1].str());
            std::string p;
            if (palabras >> p && es_opcion(p)) r.insert(p);
        }
    }
    return r;
}

// The program's own --help, with no display around.
std::string ayuda_de(const char* programa)
{
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    for (const char* v : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        entorno.remove(v);
    QProcess p;
    p.setProcessEnvironment(entorno);
    p.start(programa, {"--help"});
    EXPECT_TRUE(p.waitForFinished(20000)) << programa;
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << programa;
    EXPECT_EQ(p.exitCode(), 0) << programa;
    return p.readAllStandardOutput().toStdString();
}

std::string lista(const Opciones& o)
{
    std::string r;
    for (const std::string& x : o)
        r += (r.empty() ? "" : " ") + x;
    return "{" + r + "}";
}

void espera_iguales(const char* programa, const std::string& pagina, const std::string& seccion)
{
    const Opciones ayuda = opciones_de_ayuda(ayuda_de(programa));
    const Opciones manual = opciones_de_manual(lee(std::string(TEVARRO_SOURCE_DIR) + pagina));
    const Opciones readme =
        opciones_del_readme(lee(std::string(TEVARRO_SOURCE_DIR) + "/README.md"), seccion);
    EXPECT_TRUE(ayuda.count("--help") && ayuda.count("--version")) << lista(ayuda);
    EXPECT_EQ(lista(manual), lista(ayuda)) << "las opciones de " << pagina << " y las de --help";
    EXPECT_EQ(lista(readme), lista(ayuda))
        << "las opciones de \"" << seccion << "\" en README.md y las de --help";
}

TEST(Opciones, LasDeLaAyudaSalenDeSusLineas)
{
    const std::string ayuda = "Uso: prog [--csv] [--salvar SALIDA] ARCHIVO...\n"
                              "Lee -x en el texto, sin contarla.\n"
                              "\n"
                              "  -h, --help, --ayuda  muestra la ayuda\n"
                              "  --salvar SALIDA  guarda la columna; ver --csv\n"
                              "                   sigue la línea --no\n"
                              "  --columna IMAGEN dibuja la columna\n"
                              "  --               termina las opciones\n"
                              "  -q\n";
    EXPECT_EQ(lista(opciones_de_ayuda(ayuda)), "{-- --ayuda --columna --help --salvar -h -q}");
}

TEST(Opciones, LasDelManualSalenDeLasEtiquetas)
{
    const std::string roff = ".SH SINOPSIS\n"
                             ".TP\n"
                             ".B \\-\\-fuera\n"
                             ".SH OPCIONES\n"
                             ".TP\n"
                             ".BR \\-h \", \" \\-\\-help\n"
                             "Muestra la ayuda; vea \\-\\-csv.\n"
                             ".TP\n"
                             ".BI \\-\\-salvar \" SALIDA\"\n"
                             "Guarda.\n"
                             ".TP\n"
                             "\\fB\\-\\-curvas\\fR \\fIIMAGEN\\fR\n"
                             ".TP\n"
                             ".B \\-\\-\n"
                             ".SH \"ESTADO DE SALIDA\"\n"
                             ".TP\n"
                             ".B \\-\\-tampoco\n";
    EXPECT_EQ(lista(opciones_de_manual(roff)), "{-- --curvas --help --salvar -h}");
}

TEST(Opciones, LasDelReadmeSalenDeSuSeccion)
{
    const std::string readme = "## Uno\n"
                               "| `--otra` | no |\n"
                               "## Dos\n"
                               "| Option | What |\n"
                               "|---|---|\n"
                               "| `-h`, `--help` | ayuda con `--csv` |\n"
                               "| `--salvar SALIDA` | guarda |\n"
                               "| arrow | ends any tool |\n"
                               "## Tres\n"
                               "| `--tampoco` | no |\n";
    EXPECT_EQ(lista(opciones_del_readme(readme, "Dos")), "{--help --salvar -h}");
}

TEST(Opciones, TevarroIgualEnAyudaManualYReadme)
{
    espera_iguales(TEVARRO_EXE, "/docs/man/tevarro.1", "The desktop program");
}

TEST(Opciones, TevarroBatchIgualEnAyudaManualYReadme)
{
    espera_iguales(TEVARRO_BATCH_EXE, "/docs/man/tevarro-batch.1", "The batch tool");
}

// The version the programs print is the one of the changelog, the manual
// pages, the AppStream release and the README's title.
TEST(Opciones, LaMismaVersionEnTodasPartes)
{
    const std::string v = TEVARRO_VERSION;
    const std::string raiz = TEVARRO_SOURCE_DIR;
    EXPECT_EQ(lineas(lee(raiz + "/data/debian/changelog")).at(0).rfind("tevarro (" + v + ") ", 0),
              0u);
    for (const char* pagina : {"/docs/man/tevarro.1", "/docs/man/tevarro-batch.1"}) {
        std::smatch m;
        const std::string roff = lee(raiz + pagina);
        ASSERT_TRUE(std::regex_search(roff, m, std::regex("\n\\.TH [^\n]*\"tevarro ([^\"]*)\"")))
            << pagina;
        EXPECT_EQ(m[1].str(), v) << pagina;
    }
    std::smatch m;
    const std::string metainfo = lee(raiz + "/data/example.c_seed_7debcb72.tevarro.metainfo.xml");
    ASSERT_TRUE(std::regex_search(metainfo, m, std::regex("<release version=\"([^\"]*)\"")));
    EXPECT_EQ(m[1].str(), v);
    EXPECT_EQ(lineas(lee(raiz + "/README.md")).at(0), "# TEVARRO " + v);
}

} // namespace
