#include "project_file/csv_columna.h"

#include "model/store.h"
#include "project_file/archivo_proyecto.h"
#include "project_file/formatos.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace fs = std::filesystem;

namespace tev {
namespace {

const std::string kCabecera = "nombre,techo,base,edad_techo,edad_base,litologia,color,porosidad,"
                              "coef_porosidad,paleobatimetria,pct_arenisca,pct_pelita,pct_caliza,"
                              "pct_evaporita";
const std::string kDir = std::string(TEVARRO_SOURCE_DIR) + "/examples/";

std::string lee_bytes(const fs::path& p)
{
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

// The records as a store holds them, written back as CSV.
std::string csv_de(const std::vector<RegistroBanco>& bancos)
{
    Store s;
    carga_columna(s, bancos);
    const EscrituraColumna w = escribe_csv(s);
    EXPECT_TRUE(w.ok) << w.error;
    return w.bytes;
}

std::string proyecto_de(const std::vector<RegistroBanco>& bancos)
{
    Store s;
    carga_columna(s, bancos);
    const EscrituraColumna w = escribe_columna(s);
    EXPECT_TRUE(w.ok) << w.error;
    return w.bytes;
}

// The error of a CSV that must fail; its records must be gone.
std::string error_de(const std::string& bytes)
{
    const LecturaColumna l = lee_csv(bytes, "hoja.csv");
    EXPECT_FALSE(l.ok) << bytes;
    EXPECT_TRUE(l.bancos.empty());
    return l.error;
}

#define EXPECT_CONTAINS(texto, parte) EXPECT_NE((texto).find(parte), std::string::npos) << (texto)

TEST(Csv, EscribeUtf8ConMarcaComasYLaFormaMasCorta)
{
    Store s;
    s.n_bancos = 2;
    s.nombre[1] = "Margas, \"grises\"";
    s.techo[1] = 0;
    s.base[1] = 100.5f;
    s.edad_base[1] = 1e-5f;
    s.litologia[1] = "Areniscas";
    s.color[1] = -5;
    s.porosidad[1] = 0.63f;
    s.paleobatimetria[1] = -20;
    s.pct_arenisca[1] = 1e28f;
    s.nombre[2] = "Formación; Río\r\nNegro";
    s.litologia[2] = " x";
    s.color[2] = 16777215;
    s.techo[2] = 16777216.0f;
    const EscrituraColumna w = escribe_csv(s);
    ASSERT_TRUE(w.ok) << w.error;
    EXPECT_EQ(w.bytes, "\xEF\xBB\xBF" + kCabecera + "\r\n" +
                           "\"Margas, \"\"grises\"\"\",0,100.5,0,1e-05,Areniscas,-5,0.63,0,-20,"
                           "1e+28,0,0,0\r\n"
                           "\"Formación; Río\r\nNegro\",16777216,0,0,0,\" x\",16777215,0,0,0,0,0,"
                           "0,0\r\n");

    s.base[2] = std::nanf("");
    EXPECT_CONTAINS(escribe_csv(s).error, "El banco 2 (columna «base»)");
    s.base[2] = 0;
    s.litologia[2] = "\xC3";
    EXPECT_CONTAINS(escribe_csv(s).error, "El banco 2 (columna «litologia»)");
    s.n_bancos = 101;
    EXPECT_FALSE(escribe_csv(s).ok);
}

TEST(Csv, ElEjemploVaYVuelveConLosMismosBytes)
{
    // The spreadsheet's export gives the project file it came from.
    const LecturaColumna hoja = lee_archivo(kDir + "neuquen.csv");
    ASSERT_TRUE(hoja.ok) << hoja.error;
    const std::string original = lee_bytes(kDir + "neuquen.tev");
    EXPECT_EQ(proyecto_de(hoja.bancos), original);

    // Project -> CSV -> project, and CSV -> CSV.
    const LecturaColumna proyecto = lee_columna(original, "neuquen.tev");
    ASSERT_TRUE(proyecto.ok);
    const std::string csv = csv_de(proyecto.bancos);
    const LecturaColumna vuelta = lee_csv(csv, "neuquen.csv");
    ASSERT_TRUE(vuelta.ok) << vuelta.error;
    EXPECT_EQ(proyecto_de(vuelta.bancos), original);
    EXPECT_EQ(csv_de(vuelta.bancos), csv);
    EXPECT_EQ(vuelta.bancos[3].nombre, "Formación Quintuco");
    EXPECT_EQ(hoja.bancos[7].pct_caliza, 60.0f);
}

TEST(Csv, ColumnasAlAzarVanYVuelven)
{
    std::mt19937 azar(20240515);
    const std::vector<std::string> piezas = {"a", "Z", " ", ",",  ";", "\"", "\r\n", "\n",   "\r",
                                             "é", "€", "ñ", "\t", "#", "1",  ".",    "notas"};
    auto texto = [&] {
        std::string t;
        for (int n = azar() % 7; n > 0; --n)
            t += piezas[azar() % piezas.size()];
        return t;
    };
    auto real = [&] {
        for (;;) {
            const uint32_t bits = azar();
            float v;
            std::memcpy(&v, &bits, sizeof v);
            if (std::isfinite(v)) return azar() % 3 ? v : static_cast<float>(azar() % 5000) / 8;
        }
    };
    for (int vuelta = 0; vuelta < 200; ++vuelta) {
        Store s;
        s.n_bancos = static_cast<int16_t>(vuelta < 2 ? vuelta * 100 : 1 + azar() % 100);
        for (int i = 1; i <= s.n_bancos; ++i) {
            s.nombre[i] = texto();
            s.litologia[i] = texto();
            s.color[i] = static_cast<int32_t>(azar());
            for (auto* a : {&s.techo, &s.base, &s.edad_techo, &s.edad_base, &s.porosidad,
                            &s.coef_porosidad, &s.paleobatimetria, &s.pct_arenisca, &s.pct_pelita,
                            &s.pct_caliza, &s.pct_evaporita})
                (*a)[i] = real();
        }
        SCOPED_TRACE(vuelta);
        // CSV keeps every single bit for bit.
        const EscrituraColumna csv = escribe_csv(s);
        ASSERT_TRUE(csv.ok) << csv.error;
        const LecturaColumna l = lee_csv(csv.bytes, "azar.csv");
        ASSERT_TRUE(l.ok) << l.error;
        ASSERT_EQ(l.bancos.size(), static_cast<size_t>(s.n_bancos));
        for (int i = 1; i <= s.n_bancos; ++i) {
            const RegistroBanco a = registro_del_banco(s, i);
            const RegistroBanco& b = l.bancos[i - 1];
            ASSERT_EQ(a.nombre, b.nombre);
            ASSERT_EQ(a.litologia, b.litologia);
            ASSERT_EQ(a.color, b.color);
            const float x[] = {a.techo, a.base, a.porosidad, a.pct_evaporita};
            const float y[] = {b.techo, b.base, b.porosidad, b.pct_evaporita};
            ASSERT_EQ(std::memcmp(x, y, sizeof x), 0) << i;
            ASSERT_EQ(a.edad_techo, b.edad_techo);
            ASSERT_EQ(a.coef_porosidad, b.coef_porosidad);
            ASSERT_EQ(a.pct_caliza, b.pct_caliza);
        }
        // A project file through CSV comes back byte for byte.
        const std::string proyecto = escribe_columna(s).bytes;
        const LecturaColumna p = lee_columna(proyecto, "azar.tev");
        ASSERT_TRUE(p.ok) << p.error;
        const LecturaColumna c = lee_csv(csv_de(p.bancos), "azar.csv");
        ASSERT_TRUE(c.ok) << c.error;
        ASSERT_EQ(proyecto_de(c.bancos), proyecto);
    }
}

TEST(Csv, SeparadoresComasDecimalesYFormasDeHoja)
{
    const std::string coma = kCabecera + "\r\nA,0,100.5,0,10,Areniscas,255,0.63,.51,-20,0,0,0,0\r\n"
                                         "B,100.5,200,10,20,Pelitas,65280,0.5,1e-2,0,0,0,0,0\r\n";
    const LecturaColumna ref = lee_csv(coma, "coma.csv");
    ASSERT_TRUE(ref.ok) << ref.error;
    ASSERT_EQ(ref.bancos.size(), 2u);
    EXPECT_EQ(ref.bancos[0].base, 100.5f);
    EXPECT_EQ(ref.bancos[0].coef_porosidad, 0.51f);
    EXPECT_EQ(ref.bancos[0].paleobatimetria, -20.0f);
    EXPECT_EQ(ref.bancos[1].coef_porosidad, 0.01f);
    const std::string esperado = csv_de(ref.bancos);

    const std::string variantes[] = {
        // A Spanish spreadsheet: semicolons and decimal commas (points too), LF.
        "nombre;techo;base;edad_techo;edad_base;litologia;color;porosidad;coef_porosidad;"
        "paleobatimetria;pct_arenisca;pct_pelita;pct_caliza;pct_evaporita\n"
        "A;0;100,5;0;10;Areniscas;255;0,63;,51;-20;0;0;0;0\n"
        "B;100.5;200;10;20;Pelitas;65280;0,5;1e-2;0;0;0;0;0\n",
        // Another order, names in capitals, notes, quoted cells, #RRGGBB, blank
        // and empty rows, trailing empty columns, CR line ends, no final one.
        ";;;\r\r Notas ;PCT_EVAPORITA;pct_caliza;pct_pelita;pct_arenisca;paleobatimetria;"
        "coef_porosidad;porosidad;color;litologia;edad_base;edad_techo;base;techo;nombre;;\r"
        "\"x; y\";0;0;0;0;-20;0,51;\"0,63\";#FF0000;Areniscas;10;0;100,5; 0 ;A;;\r;;;\r"
        "nota;0;0;0;0;0;0.01;0,5;#00ff00;Pelitas;20;10;200;100,5;B",
    };
    for (const std::string& v : variantes) {
        LecturaColumna l = lee_csv(v, "hoja.csv");
        ASSERT_TRUE(l.ok) << l.error;
        // The remarks apart, the same column.
        for (RegistroBanco& r : l.bancos)
            r.notas.clear();
        EXPECT_EQ(csv_de(l.bancos), esperado);
    }
    EXPECT_EQ(lee_csv(variantes[1], "hoja.csv").bancos.at(0).notas, "x; y");
    // Thousands marks and decimal commas where commas separate are refused.
    EXPECT_CONTAINS(error_de(variantes[0] + "C;1.234,5;0;0;0;L;0;0;0;0;0;0;0;0\n"),
                    "fila 4 (banco 3), columna «techo»: «1.234,5» no es un número.");
    EXPECT_CONTAINS(error_de(kCabecera + "\nA,0,\"100,5\",0,10,L,0,0,0,0,0,0,0,0\n"),
                    "fila 2 (banco 1), columna «base»: «100,5» no es un número: con comas");
}

TEST(Csv, ComillasComoLasPideRfc4180)
{
    const std::string bytes = kCabecera +
                              "\r\n\"A, \"\"B\"\"\r\nC\",0,1,0,1,\"\",0,0,0,0,0,0,0,0\r\n"
                              "D,0,1,0,1,\"L\"  ,0,0,0,0,0,0,0,x\r\n";
    // The second bed is in row 3 although it starts on line 4.
    EXPECT_CONTAINS(error_de(bytes),
                    "«hoja.csv»: fila 3 (banco 2), columna «pct_evaporita» (porcentaje de "
                    "evaporita): «x» no es un número.");
    const LecturaColumna l = lee_csv(bytes.substr(0, bytes.size() - 3) + "0\r\n", "hoja.csv");
    ASSERT_TRUE(l.ok) << l.error;
    EXPECT_EQ(l.bancos[0].nombre, "A, \"B\"\r\nC");
    EXPECT_EQ(l.bancos[0].litologia, "");
    EXPECT_EQ(l.bancos[1].litologia, "L");

    EXPECT_CONTAINS(error_de(kCabecera + "\nA,0,1,0,1,\"L\"x,0,0,0,0,0,0,0,0\n"),
                    "fila 2, columna «litologia» (litología): después de las comillas de cierre "
                    "hay «x» en lugar de «,» o un fin de línea.");
    EXPECT_CONTAINS(error_de(kCabecera + "\nA,0,1,0,1,L,0,0,0,0,0,0,0,0\n\"B,0,1\n"),
                    "fila 3, columna «nombre»: las comillas que abren el texto no se cierran");
}

TEST(Csv, Codificaciones)
{
    const std::string fila = ",0,1,0,1,L,0,0,0,0,0,0,0,0\r\n";
    // Windows-1252, UTF-8 and UTF-8 with its mark give the same texts.
    for (const std::string& nombre : {std::string("R\xEDo \x80"), std::string("Río €")}) {
        for (const std::string& marca : {std::string(), std::string("\xEF\xBB\xBF")}) {
            if (nombre[1] == '\xED' && !marca.empty()) continue;
            const LecturaColumna l = lee_csv(marca + kCabecera + "\r\n" + nombre + fila, "c.csv");
            ASSERT_TRUE(l.ok) << l.error;
            EXPECT_EQ(l.bancos.at(0).nombre, "Río €");
        }
    }
    // A text the project file cannot hold is read, and refused when saved there.
    const LecturaColumna chino = lee_csv(kCabecera + "\n砂岩" + fila, "c.csv");
    ASSERT_TRUE(chino.ok) << chino.error;
    EXPECT_EQ(chino.bancos[0].nombre, "砂岩");
    Store s;
    carga_columna(s, chino.bancos);
    EXPECT_CONTAINS(escribe_columna(s).error, "El banco 1 (nombre «砂岩»)");
    EXPECT_EQ(lee_csv(escribe_csv(s).bytes, "c.csv").bancos.at(0).nombre, "砂岩");

    EXPECT_CONTAINS(error_de("\xEF\xBB\xBF" + kCabecera + "\nR\xEDo" + fila),
                    "fila 2 (banco 1), columna «nombre»: el texto «R�o» no es UTF-8 válido");
    EXPECT_CONTAINS(error_de(std::string("\xFF\xFEn\0o\0", 6)), "está en UTF-16");
    EXPECT_CONTAINS(error_de(kCabecera + "\nA" + std::string(1, '\0') + fila),
                    "no es un archivo de texto (tiene un byte nulo en la línea 2");
}

TEST(Csv, UnaCeldaMalaNombraFilaYColumnaYNoSeLeeNada)
{
    auto con = [](const std::string& columna, const std::string& valor) {
        return kCabecera + "\r\nA,0,1,0,1,L,0,0,0,0,0,0,0,0\r\n\r\n" +
               (columna == "edad_techo" ? "B,1,2," + valor + ",2,L,0,0,0,0,0,0,0,0"
                                        : "B,1,2,1,2,L," + valor + ",0,0,0,0,0,0,0") +
               "\r\n";
    };
    EXPECT_CONTAINS(error_de(con("edad_techo", "1x")),
                    "No se pudo leer «hoja.csv»: fila 4 (banco 2), columna «edad_techo» (edad del "
                    "techo): «1x» no es un número.");
    EXPECT_CONTAINS(error_de(con("edad_techo", " ")), "(edad del techo): está vacío y debe ser");
    EXPECT_CONTAINS(error_de(con("edad_techo", "-1E+39")),
                    "el número «-1E+39» es demasiado grande para el campo.");
    EXPECT_CONTAINS(error_de(con("color", "2147483648")),
                    "fila 4 (banco 2), columna «color»: el número «2147483648» es demasiado "
                    "grande para el campo (entero de 32 bits).");
    EXPECT_CONTAINS(error_de(con("color", "#12345G")), "«#12345G» no es un color");
    EXPECT_EQ(lee_csv(con("color", "#0080fF"), "h.csv").bancos.at(1).color, 0xFF8000);
}

TEST(Csv, CabeceraConColumnasQueFaltanSobranOSeRepiten)
{
    std::string cab = kCabecera;
    cab.replace(cab.find("edad_techo"), 10, "edad_tope");
    cab.replace(cab.find(",pct_caliza"), 11, "");
    EXPECT_CONTAINS(error_de(cab + ",prof\nA\n"),
                    "la cabecera (fila 1) tiene columnas desconocidas, «edad_tope» y «prof», y le "
                    "faltan las columnas «edad_techo» y «pct_caliza».");
    std::string basura = kCabecera;
    for (int i = 1; i <= 9; ++i)
        basura += ",x" + std::to_string(i);
    EXPECT_CONTAINS(error_de(basura + "," + std::string(50, 'y') + "\n"),
                    "desconocidas, «x1», «x2», «x3», «x4», «x5», «x6» y 4 más. Las columnas");
    EXPECT_CONTAINS(error_de("\n" + kCabecera + ",Techo\n"),
                    "la cabecera (fila 2) nombra dos veces la columna «techo» (columnas 2 y 15).");
    EXPECT_CONTAINS(error_de(""), "no tiene cabecera");
    EXPECT_CONTAINS(error_de("nombre\ttecho\n"), "no tiene comas ni puntos y comas");

    const LecturaColumna sola = lee_csv("\xEF\xBB\xBF" + kCabecera + "\r\n", "vacia.csv");
    EXPECT_TRUE(sola.ok) << sola.error;
    EXPECT_TRUE(sola.bancos.empty());
}

TEST(Csv, FilasConCeldasDeMasODeMenos)
{
    EXPECT_CONTAINS(error_de(kCabecera + "\nA,0,1,0,1,L,0,0,0,0,0\n"),
                    "fila 2 (banco 1) tiene 11 celdas y la cabecera 14 columnas: falta la "
                    "columna «pct_pelita» (porcentaje de pelita).");
    EXPECT_CONTAINS(error_de(kCabecera + "\nA,0,1,0,1,L,0,0,0,0,0,0,0,0,,7\n"),
                    "fila 2 tiene 16 celdas y la cabecera 14 columnas: la celda 16 es «7».");
    // One cell is "1 celda".
    EXPECT_CONTAINS(error_de(kCabecera + "\nA\n"),
                    "fila 2 (banco 1) tiene 1 celda y la cabecera 14 columnas: falta la columna "
                    "«techo»");
    EXPECT_CONTAINS(error_de(kCabecera + ",\nA,0,1,0,1,L,0,0,0,0,0,0,0,0,7\n"),
                    "fila 2, columna 15: la cabecera no nombra esta columna y la celda tiene «7».");
}

TEST(Csv, CienBancosSiCientoUnoNo)
{
    std::string bytes = kCabecera + "\r\n";
    for (int i = 1; i <= 100; ++i)
        bytes += "B" + std::to_string(i) + ",0,1,0,1,L,0,0,0,0,0,0,0,0\r\n";
    const LecturaColumna cien = lee_csv(bytes, "cien.csv");
    ASSERT_TRUE(cien.ok) << cien.error;
    ASSERT_EQ(cien.bancos.size(), 100u);
    EXPECT_EQ(cien.bancos[99].nombre, "B100");
    EXPECT_CONTAINS(error_de(bytes + "B101,0,1,0,1,L,0,0,0,0,0,0,0,0\r\n"),
                    "el archivo tiene más de 100 bancos (el banco 101 está en la fila 102).");
}

} // namespace
} // namespace tev
