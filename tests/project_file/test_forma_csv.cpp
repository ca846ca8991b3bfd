// A column from a CSV file keeps the file's form and its remarks: saved as CSV
// it is written back the way it came.

#include "model/store.h"
#include "project_file/csv_columna.h"
#include "project_file/formatos.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <ostream>

namespace tev {

void PrintTo(const FormaCsv& f, std::ostream* os)
{
    *os << "{sep '" << f.separador << "', decimal '" << f.decimal << "', "
        << (f.utf8 ? "UTF-8" : "Windows-1252") << (f.marca_utf8 ? " con marca" : "") << ", fin "
        << (f.fin_de_linea == "\r\n" ? "CRLF"
            : f.fin_de_linea == "\n" ? "LF"
                                     : "CR")
        << (f.fin_de_linea_final ? " y al final" : "") << ", columnas:";
    for (const std::string& c : f.columnas)
        *os << " [" << c << "]";
    *os << "}";
}

namespace {

const std::string kDir = std::string(TEVARRO_SOURCE_DIR) + "/examples/";
const std::vector<std::string> kClaves = {
    "nombre",       "techo",      "base",       "edad_techo",     "edad_base",
    "litologia",    "color",      "porosidad",  "coef_porosidad", "paleobatimetria",
    "pct_arenisca", "pct_pelita", "pct_caliza", "pct_evaporita"};

#define EXPECT_CONTAINS(texto, parte) EXPECT_NE((texto).find(parte), std::string::npos) << (texto)

std::string lee_bytes(const std::string& p)
{
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

FormaCsv forma(char sep, char decimal, bool utf8, bool marca, const std::string& fin, bool final,
               std::vector<std::string> columnas)
{
    FormaCsv f;
    f.separador = sep;
    f.decimal = decimal;
    f.utf8 = utf8;
    f.marca_utf8 = marca;
    f.fin_de_linea = fin;
    f.fin_de_linea_final = final;
    f.columnas = std::move(columnas);
    return f;
}

// The keys with more names put in at position `en`.
std::vector<std::string> claves_con(size_t en, const std::vector<std::string>& mas)
{
    std::vector<std::string> c = kClaves;
    c.insert(c.begin() + static_cast<std::ptrdiff_t>(en), mas.begin(), mas.end());
    return c;
}

// The column read, written again as CSV.
std::string reescrita(const LecturaColumna& l)
{
    Store s;
    carga_lectura(s, l);
    const EscrituraColumna w = escribe_csv(s);
    EXPECT_TRUE(w.ok) << w.error;
    return w.bytes;
}

TEST(FormaCsv, LaHojaDelEjemploVuelveConSusMismosBytes)
{
    // Semicolons, decimal commas, Windows-1252, CR LF, "notas" last: a
    // spreadsheet in a Spanish locale, every number already in its shortest form.
    const std::string original = lee_bytes(kDir + "neuquen.csv");
    const LecturaColumna hoja = lee_csv(original, "neuquen.csv");
    ASSERT_TRUE(hoja.ok) << hoja.error;
    ASSERT_EQ(hoja.bancos.size(), 12u);
    EXPECT_EQ(hoja.forma, forma(';', ',', false, false, "\r\n", true, claves_con(14, {"notas"})));
    EXPECT_EQ(hoja.bancos[2].notas, "Roca madre; Tithoniano");
    EXPECT_EQ(hoja.bancos[3].notas, "Plataforma carbonática");
    EXPECT_EQ(hoja.bancos[7].notas, "Mezcla: 40 % pelita, 60 % caliza");
    int con_notas = 0;
    for (const RegistroBanco& r : hoja.bancos)
        con_notas += r.notas.empty() ? 0 : 1;
    EXPECT_EQ(con_notas, 3);
    EXPECT_EQ(reescrita(hoja), original);
}

struct CasoForma {
    const char* que;
    std::string bytes; // already in the shortest form, so written back the same
    FormaCsv forma;
    std::vector<std::string> notas; // bed 1 first
};

TEST(FormaCsv, CadaRasgoDeLaFormaVaYVuelve)
{
    const std::string bom = "\xEF\xBB\xBF";
    const CasoForma casos[] = {
        {"comas, UTF-8 con marca, CR LF, notas en medio",
         bom + "nombre,techo,base,edad_techo,edad_base,litologia,notas,color,porosidad,"
               "coef_porosidad,paleobatimetria,pct_arenisca,pct_pelita,pct_caliza,pct_evaporita\r\n"
               "Río,0,85.5,0,2,Areniscas,\"gruesa; roja\",65535,0.49,0.27,0,0,0,0,0\r\n"
               "B,85.5,240,2,8,Pelitas,,65280,0.63,0.51,10,0,0,0,0\r\n",
         forma(',', '.', true, true, "\r\n", true, claves_con(6, {"notas"})),
         {"gruesa; roja", ""}},
        {"puntos y comas, coma decimal, Windows-1252, LF, notas primero",
         "notas;nombre;techo;base;edad_techo;edad_base;litologia;color;porosidad;"
         "coef_porosidad;paleobatimetria;pct_arenisca;pct_pelita;pct_caliza;pct_evaporita\n"
         "40 % pelita, 60 % caliza;Jag\xFC"
         "el;0;85,5;0;2;PORCENTUAL;0;0,588;0,438;150;0;40;60;0\n"
         ";B;85,5;240;2;8;Pelitas;65280;0,63;0,51;1e-05;0;0;0;0\n",
         forma(';', ',', false, false, "\n", true, claves_con(0, {"notas"})),
         {"40 % pelita, 60 % caliza", ""}},
        {"puntos y comas, punto decimal, UTF-8 sin marca, CR LF, sin notas",
         "nombre;techo;base;edad_techo;edad_base;litologia;color;porosidad;coef_porosidad;"
         "paleobatimetria;pct_arenisca;pct_pelita;pct_caliza;pct_evaporita\r\n"
         "Río;0;85.5;0;2;Areniscas;65535;0.49;0.27;0;0;0;0;0\r\n",
         forma(';', '.', true, false, "\r\n", true, kClaves),
         {""}},
        {"comas, CR, sin fin de línea al final, otro orden, mayúsculas, una columna sin nombre",
         "Notas,PCT_EVAPORITA,pct_caliza,pct_pelita,pct_arenisca,paleobatimetria,"
         "coef_porosidad,porosidad,color,litologia,edad_base,edad_techo,base,Techo,nombre,\r"
         ",0,0,0,0,0,0.27,0.49,255,Areniscas,2,0,85.5,0,A,\r"
         "\" nota \",0,0,0,0,-20,0.51,0.63,65280,Pelitas,8,2,240,85.5,B,",
         forma(',', '.', false, false, "\r", false,
               {"Notas", "PCT_EVAPORITA", "pct_caliza", "pct_pelita", "pct_arenisca",
                "paleobatimetria", "coef_porosidad", "porosidad", "color", "litologia", "edad_base",
                "edad_techo", "base", "Techo", "nombre", ""}),
         {"", " nota "}},
        {"puntos y comas, coma decimal, UTF-8 con marca, CR LF, notas en medio",
         bom + "nombre;techo;base;edad_techo;notas;edad_base;litologia;color;porosidad;"
               "coef_porosidad;paleobatimetria;pct_arenisca;pct_pelita;pct_caliza;pct_evaporita\r\n"
               "Río;0;85,5;0;\"dos\r\nlíneas\";2;Areniscas;65535;0,49;0,27;0;0;0;0;0\r\n",
         forma(';', ',', true, true, "\r\n", true, claves_con(4, {"notas"})),
         {"dos\r\nlíneas"}},
    };
    for (const CasoForma& c : casos) {
        SCOPED_TRACE(c.que);
        const LecturaColumna l = lee_csv(c.bytes, "hoja.csv");
        ASSERT_TRUE(l.ok) << l.error;
        EXPECT_EQ(l.forma, c.forma);
        ASSERT_EQ(l.bancos.size(), c.notas.size());
        for (size_t k = 0; k < c.notas.size(); ++k)
            EXPECT_EQ(l.bancos[k].notas, c.notas[k]) << k;
        const std::string escrita = reescrita(l);
        EXPECT_EQ(escrita, c.bytes);
        const LecturaColumna vuelta = lee_csv(escrita, "vuelta.csv");
        ASSERT_TRUE(vuelta.ok) << vuelta.error;
        EXPECT_EQ(vuelta.forma, c.forma);
    }
}

TEST(FormaCsv, LaMarcaDecimalEsLaDeLosNumerosDelArchivo)
{
    const std::string cab = "nombre;techo;base;edad_techo;edad_base;litologia;color;porosidad;"
                            "coef_porosidad;paleobatimetria;pct_arenisca;pct_pelita;pct_caliza;"
                            "pct_evaporita\r\n";
    // Without any decimal in the file, the Spanish spreadsheet's comma.
    const LecturaColumna enteros = lee_csv(cab + "A;0;85;0;2;L;0;0;0;0;0;0;0;0\r\n", "h.csv");
    ASSERT_TRUE(enteros.ok) << enteros.error;
    EXPECT_EQ(enteros.forma.decimal, ',');
    Store s;
    carga_lectura(s, enteros);
    s.porosidad[1] = 0.25f;
    EXPECT_CONTAINS(escribe_csv(s).bytes, "A;0;85;0;2;L;0;0,25;0;");
    // Points and commas both: the comma.
    const LecturaColumna ambas = lee_csv(cab + "A;0;85.5;0;2;L;0;0,5;0;0;0;0;0;0\r\n", "h.csv");
    ASSERT_TRUE(ambas.ok) << ambas.error;
    EXPECT_EQ(ambas.forma.decimal, ',');
    EXPECT_CONTAINS(reescrita(ambas), "A;0;85,5;0;2;L;0;0,5;");
}

TEST(FormaCsv, UnBancoAgregadoArribaNoMueveLasNotasDeLosDemas)
{
    LecturaColumna l = lee_csv(lee_bytes(kDir + "neuquen.csv"), "neuquen.csv");
    ASSERT_TRUE(l.ok) << l.error;
    Store s;
    carga_lectura(s, l);
    // The bed dialog adds a bed on top as bed n_bancos + 1.
    s.n_bancos = 13;
    s.nombre[13] = "Suelo";
    s.base[13] = 0;
    s.litologia[13] = "Areniscas";
    const EscrituraColumna w = escribe_csv(s);
    ASSERT_TRUE(w.ok) << w.error;
    // The twelve rows as they were, the new one after them.
    const std::string original = lee_bytes(kDir + "neuquen.csv");
    EXPECT_EQ(w.bytes.substr(0, original.size()), original);
    EXPECT_EQ(w.bytes.substr(original.size()),
              "Suelo;0;0;0;0;Areniscas;16777215;0;0;0;0;0;0;0;\r\n");
    const LecturaColumna vuelta = lee_csv(w.bytes, "vuelta.csv");
    ASSERT_TRUE(vuelta.ok) << vuelta.error;
    ASSERT_EQ(vuelta.bancos.size(), 13u);
    for (size_t k = 0; k < 12; ++k)
        EXPECT_EQ(vuelta.bancos[k].notas, l.bancos[k].notas) << k;
    EXPECT_EQ(vuelta.bancos[12].nombre, "Suelo");
    EXPECT_EQ(vuelta.bancos[12].notas, "");
    EXPECT_EQ(vuelta.forma, l.forma);
}

TEST(FormaCsv, UnTextoQueWindows1252NoTieneSeGuardaEnUtf8ConSuMarca)
{
    const std::string neuquen = lee_bytes(kDir + "neuquen.csv");
    const std::string ascii = "nombre;techo;base;edad_techo;edad_base;litologia;color;porosidad;"
                              "coef_porosidad;paleobatimetria;pct_arenisca;pct_pelita;pct_caliza;"
                              "pct_evaporita;notas\r\nA;0;85;0;2;L;0;0,5;0;0;0;0;0;0;\r\n";
    const struct {
        const std::string& hoja;
        std::string nota;
        bool utf8; // written in UTF-8 with its mark
    } casos[] = {
        {neuquen, "≥ 40 % pelita", true}, // not in Windows-1252
        {ascii, "Ã©", true},              // its Windows-1252 bytes would read as "é"
        {neuquen, "Ã©", false},           // "Formación" keeps the file from reading as UTF-8
        {neuquen, "40 ‰ pelita", false},  // in Windows-1252
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nota);
        const LecturaColumna l = lee_csv(c.hoja, "hoja.csv");
        ASSERT_TRUE(l.ok) << l.error;
        Store s;
        carga_lectura(s, l);
        s.notas[1] = c.nota;
        const EscrituraColumna w = escribe_csv(s);
        ASSERT_TRUE(w.ok) << w.error;
        EXPECT_EQ(w.bytes.rfind("\xEF\xBB\xBFnombre;techo;", 0) == 0, c.utf8);
        const LecturaColumna vuelta = lee_csv(w.bytes, "vuelta.csv");
        ASSERT_TRUE(vuelta.ok) << vuelta.error;
        EXPECT_EQ(vuelta.bancos[0].notas, c.nota);
        for (size_t k = 1; k < l.bancos.size(); ++k)
            EXPECT_EQ(vuelta.bancos[k].nombre, l.bancos[k].nombre);
        // Everything else of the form stays.
        FormaCsv esperada = l.forma;
        esperada.utf8 = esperada.marca_utf8 = c.utf8;
        EXPECT_EQ(vuelta.forma, esperada);
    }
}

TEST(FormaCsv, SinHojaDeOrigenLaFormaDeSiempreYLasNotasAlFinal)
{
    Store s;
    s.n_bancos = 2;
    s.nombre[1] = "A";
    s.nombre[2] = "B";
    const std::string sin_notas = escribe_csv(s).bytes;
    EXPECT_EQ(sin_notas.rfind("\xEF\xBB\xBF" + cabecera_columna_csv() + "\r\nA,0,", 0), 0u);
    s.notas[2] = "arriba";
    const std::string con_notas = escribe_csv(s).bytes;
    EXPECT_EQ(con_notas, "\xEF\xBB\xBF" + cabecera_columna_csv() +
                             ",notas\r\n"
                             "A,0,0,0,0,,0,0,0,0,0,0,0,0,\r\n"
                             "B,0,0,0,0,,0,0,0,0,0,0,0,0,arriba\r\n");
    // A form no reader gives is written so that it reads back.
    s.forma_csv =
        forma('\t', ',', true, false, "\n\n", true, {"techo", "x", "techo", "notas", "notas"});
    const EscrituraColumna w = escribe_csv(s);
    ASSERT_TRUE(w.ok) << w.error;
    EXPECT_EQ(w.bytes.substr(0, 22), "techo,,,notas,,nombre,");
    const LecturaColumna l = lee_csv(w.bytes, "rara.csv");
    ASSERT_TRUE(l.ok) << l.error;
    EXPECT_EQ(l.bancos.at(1).notas, "arriba");
}

TEST(FormaCsv, NotasMalasONombradasDosVeces)
{
    const std::string cab = "\xEF\xBB\xBF"
                            "nombre,techo,base,edad_techo,edad_base,litologia,color,"
                            "porosidad,coef_porosidad,paleobatimetria,pct_arenisca,pct_pelita,"
                            "pct_caliza,pct_evaporita,notas";
    const LecturaColumna mala = lee_csv(cab + "\nA,0,1,0,1,L,0,0,0,0,0,0,0,0,R\xEDo\n", "h.csv");
    EXPECT_FALSE(mala.ok);
    EXPECT_CONTAINS(mala.error, "«h.csv»: fila 2 (banco 1), columna «notas»: el texto «R�o» no "
                                "es UTF-8 válido");
    const LecturaColumna doble = lee_csv(cab + ",Notas\n", "h.csv");
    EXPECT_FALSE(doble.ok);
    EXPECT_CONTAINS(doble.error, "la cabecera (fila 1) nombra dos veces la columna «notas» "
                                 "(columnas 15 y 16).");
    EXPECT_CONTAINS(lee_csv("nombre,x\n", "h.csv").error,
                    "en cualquier orden; una columna «notas» guarda las notas de cada banco.");
}

TEST(FormaCsv, UnArchivoDeProyectoNoGuardaLasNotas)
{
    Store s;
    s.n_bancos = 3;
    s.notas[1] = "a";
    s.notas[3] = "c";
    s.notas[4] = "fuera de la columna";
    EXPECT_EQ(notas_que_no_caben(s, "/tmp/pozo.tev"), 2);
    EXPECT_EQ(notas_que_no_caben(s, "/tmp/pozo"), 2);
    EXPECT_EQ(notas_que_no_caben(s, "/tmp/pozo.CSV"), 0);
    s.notas[1].clear();
    s.notas[3].clear();
    EXPECT_EQ(notas_que_no_caben(s, "/tmp/pozo.tev"), 0);
}

} // namespace
} // namespace tev
