// Files that cannot be a project file, or that come from elsewhere: each is
// refused with a message that names the file and says why, without reading
// more than a project file can hold.

#include "project_file/archivo_proyecto.h"

#include "model/store.h"
#include "project_file/formatos.h"

#include <gtest/gtest.h>

#include <QString>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace tev {
namespace {

const std::string kRegistro =
    ", 0 , 100 , 0 , 10 ,Areniscas, 16777215 , .63 , .51 , 0 , 0 , 0 , 0 , 0 \r\n";

class ArchivoHostil : public ::testing::Test {
  protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() /
               ("tev_hostil_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(dir_);
    }
    fs::path escribe(const std::string& nombre, const std::string& bytes)
    {
        const fs::path p = dir_ / nombre;
        std::ofstream(p, std::ios::binary) << bytes;
        return p;
    }
    fs::path dir_;
};

// Every refusal is a readable Spanish sentence of reasonable size that names
// the file.
void espera_rechazo(const LecturaColumna& l, const fs::path& p, const std::string& razon)
{
    EXPECT_FALSE(l.ok);
    EXPECT_TRUE(l.bancos.empty());
    EXPECT_NE(l.error.find("No se pudo leer «" + p.string() + "»"), std::string::npos) << l.error;
    EXPECT_NE(l.error.find(razon), std::string::npos) << l.error;
    EXPECT_LT(l.error.size(), 400u) << l.error;
    EXPECT_EQ(QString::fromStdString(l.error).toStdString(), l.error) << "not valid UTF-8";
}

TEST_F(ArchivoHostil, DispositivosNoSeAbren)
{
    for (const char* d : {"/dev/zero", "/dev/null", "/dev/urandom"})
        espera_rechazo(lee_archivo(d), d, "no es un archivo común");
}

TEST_F(ArchivoHostil, ArchivoSinPermisoDeLectura)
{
    const fs::path p = escribe("cerrado.tev", "A" + kRegistro);
    ASSERT_EQ(::chmod(p.c_str(), 0), 0);
    if (::geteuid() == 0) {
        // The superuser reads past permissions; a file of the kernel's that
        // refuses every read stands in for it.
        const fs::path proc = "/proc/self/clear_refs";
        ASSERT_TRUE(fs::is_regular_file(proc));
        const LecturaColumna l = lee_archivo(proc.string());
        espera_rechazo(l, proc, "no se pudo");
        EXPECT_NE(l.error.find("el sistema no permite leerlo"), std::string::npos) << l.error;
    } else {
        espera_rechazo(lee_archivo(p.string()), p, "no tiene permiso de lectura");
    }
}

TEST_F(ArchivoHostil, ArchivoDeCientosDeMegabytesSeRechazaSinLeerlo)
{
    const fs::path p = dir_ / "enorme.tev";
    std::ofstream(p).flush();
    fs::resize_file(p, 300u * 1024u * 1024u); // sparse: nothing is written
    const LecturaColumna l = lee_archivo(p.string());
    // Refused by its size, not by its (all-zero) content.
    espera_rechazo(l, p, "ocupa 314572800 bytes");
    EXPECT_EQ(l.error.find("nulo"), std::string::npos) << l.error;
}

TEST_F(ArchivoHostil, UnaLineaEnorme)
{
    // Nearly the largest file accepted, one line with no comma and no end.
    const fs::path sin_comas = escribe("linea.tev", std::string(kTamanoMaximoArchivo - 10, 'A'));
    LecturaColumna l = lee_archivo(sin_comas.string());
    espera_rechazo(l, sin_comas, "el registro 1 está incompleto");

    // A number of a million digits: shown cut short.
    const fs::path digitos =
        escribe("digitos.tev", "A, " + std::string(1000000, '9') + kRegistro.substr(4));
    l = lee_archivo(digitos.string());
    espera_rechazo(l, digitos, "campo 2");
    EXPECT_NE(l.error.find("demasiado grande"), std::string::npos) << l.error;
    EXPECT_NE(l.error.find("…"), std::string::npos) << l.error;
}

TEST_F(ArchivoHostil, BasuraBinaria)
{
    std::mt19937 azar(2026);
    std::string basura(64 * 1024, '\0');
    for (char& c : basura)
        c = static_cast<char>(azar());
    const fs::path con_nulos = escribe("basura.bin", basura);
    espera_rechazo(lee_archivo(con_nulos.string()), con_nulos, "no es un archivo de texto");

    // Without NUL bytes it is read as text and fails at its first field that
    // cannot be what it should.
    for (char& c : basura)
        if (c == '\0') c = '\x01';
    const fs::path sin_nulos = escribe("basura2.bin", basura);
    espera_rechazo(lee_archivo(sin_nulos.string()), sin_nulos, "registro 1");
}

TEST_F(ArchivoHostil, ArchivoEnUtf16)
{
    std::string utf16 = "\xFF\xFE";
    for (char c : "A" + kRegistro) {
        utf16 += c;
        utf16 += '\0';
    }
    const fs::path p = escribe("utf16.tev", utf16);
    espera_rechazo(lee_archivo(p.string()), p, "UTF-16");
}

TEST_F(ArchivoHostil, ArchivoEnUtf8)
{
    // Accents saved by an editor in UTF-8 (with its byte-order mark or not)
    // read as the letters they are.
    for (const std::string bom : {"", "\xEF\xBB\xBF"}) {
        const fs::path p = escribe("utf8.tev", bom + "Formación Añelo" + kRegistro +
                                                   "Lutitas «Vaca Muerta»" + kRegistro);
        const LecturaColumna l = lee_archivo(p.string());
        ASSERT_TRUE(l.ok) << l.error;
        ASSERT_EQ(l.bancos.size(), 2u);
        EXPECT_EQ(l.bancos[0].nombre, "Formación Añelo");
        EXPECT_EQ(l.bancos[1].nombre, "Lutitas «Vaca Muerta»");
    }
    // A character Windows-1252 lacks: the message names it, its record and
    // its field.
    const fs::path p = escribe("chino.tev", "A" + kRegistro + "Arenisca 砂岩" + kRegistro);
    const LecturaColumna l = lee_archivo(p.string());
    espera_rechazo(l, p, "«砂» (U+7802)");
    EXPECT_NE(l.error.find("línea 2, registro 2, campo 1 («nombre»)"), std::string::npos)
        << l.error;
    EXPECT_NE(l.error.find("UTF-8"), std::string::npos) << l.error;
}

TEST(EscribeColumna, TextoQueSeLeeriaComoUtf8SeEscribeEnUtf8)
{
    Store s;
    limpia_bancos(s);
    s.n_bancos = 2;
    s.nombre[1] = "Ã©"; // Windows-1252 bytes C3 A9: "é" in UTF-8
    s.nombre[2] = "Lutitas";
    s.litologia[1] = s.litologia[2] = "Calizas";
    EscrituraColumna w = escribe_columna(s);
    ASSERT_TRUE(w.ok) << w.error;
    EXPECT_EQ(w.bytes.rfind("\xEF\xBB\xBF\xC3\x83\xC2\xA9,", 0), 0u);
    LecturaColumna l = lee_columna(w.bytes, "ambiguo.tev");
    ASSERT_TRUE(l.ok) << l.error;
    EXPECT_EQ(l.bancos[0].nombre, "Ã©");
    EXPECT_EQ(l.bancos[1].nombre, "Lutitas");

    // Another text that cannot be UTF-8 settles it: Windows-1252 as always.
    s.nombre[2] = "Año";
    w = escribe_columna(s);
    EXPECT_EQ(w.bytes.rfind("\xC3\xA9,", 0), 0u);
    l = lee_columna(w.bytes, "ambiguo.tev");
    ASSERT_TRUE(l.ok) << l.error;
    EXPECT_EQ(l.bancos[0].nombre, "Ã©");
    EXPECT_EQ(l.bancos[1].nombre, "Año");
}

TEST_F(ArchivoHostil, NumerosQueDesbordanUnSimple)
{
    for (const char* n :
         {"3.5E+38", "1D+39", "-1e400", "340282356779733661637539395458142568448"}) {
        const fs::path p = escribe("desborde.tev", std::string("A,") + n + kRegistro.substr(4));
        espera_rechazo(lee_archivo(p.string()), p, "demasiado grande para el campo");
    }
}

} // namespace
} // namespace tev
