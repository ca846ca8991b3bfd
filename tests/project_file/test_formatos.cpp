// A column's file chosen by its name: read and saved whole, as a project file
// or, for a name ending in ".csv", as a CSV column.

#include "project_file/formatos.h"

#include "model/store.h"
#include "project_file/archivo_proyecto.h"
#include "project_file/csv_columna.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace tev {
namespace {

const char* const kLineaEjemplo =
    "A, 0 , 100 , 0 , 10 ,Areniscas, 16777215 , .63 , .51 , 0 , 0 , 0 , 0 , 0 \r\n";
const std::string kDir = std::string(TEVARRO_SOURCE_DIR) + "/examples/";

void pon_banco(Store& s, int i, const std::string& nombre, float techo, float base,
               float edad_techo, float edad_base, const std::string& litologia)
{
    s.nombre[i] = nombre;
    s.techo[i] = techo;
    s.base[i] = base;
    s.edad_techo[i] = edad_techo;
    s.edad_base[i] = edad_base;
    s.litologia[i] = litologia;
    s.color[i] = kBlanco;
    s.porosidad[i] = 0.63f;
    s.coef_porosidad[i] = 0.51f;
}

std::string lee_bytes(const fs::path& p)
{
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

void escribe_bytes(const fs::path& p, const std::string& bytes)
{
    std::ofstream f(p, std::ios::binary);
    f << bytes;
}

std::string proyecto_de(const std::vector<RegistroBanco>& bancos)
{
    Store s;
    carga_columna(s, bancos);
    const EscrituraColumna w = escribe_columna(s);
    EXPECT_TRUE(w.ok) << w.error;
    return w.bytes;
}

#define EXPECT_CONTAINS(texto, parte) EXPECT_NE((texto).find(parte), std::string::npos) << (texto)

class ArchivoProyecto : public ::testing::Test {
  protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() /
               ("tev_pf_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

TEST_F(ArchivoProyecto, SalvaYLee)
{
    Store s;
    pon_banco(s, 1, "A", 0, 100, 0, 10, kAreniscas);
    pon_banco(s, 2, "Formación Quintuco", 100, 300, 10, 20, kCalizas);
    s.n_bancos = 2;
    const fs::path p = dir_ / "col.tev";
    escribe_bytes(p, "viejo");
    ASSERT_EQ(salva_archivo(s, p.string()), "");
    EXPECT_EQ(lee_bytes(p), escribe_columna(s).bytes);
    EXPECT_EQ(lee_bytes(p).rfind(kLineaEjemplo, 0), 0u);
    const LecturaColumna l = lee_archivo(p.string());
    ASSERT_TRUE(l.ok) << l.error;
    ASSERT_EQ(l.bancos.size(), 2u);
    EXPECT_EQ(l.bancos[1].nombre, "Formación Quintuco");
}

TEST_F(ArchivoProyecto, GuardadoFallidoNoTocaNada)
{
    Store s;
    pon_banco(s, 1, "A", 0, 100, 0, 10, kAreniscas);
    s.n_bancos = 1;
    const fs::path otro = dir_ / "otro.tev";
    escribe_bytes(otro, "intacto");

    const fs::path sin_carpeta = dir_ / "no_existe" / "col.tev";
    std::string e = salva_archivo(s, sin_carpeta.string());
    EXPECT_NE(e.find("No se pudo guardar «" + sin_carpeta.string() + "»"), std::string::npos) << e;
    EXPECT_FALSE(fs::exists(sin_carpeta));

    const fs::path bajo_archivo = otro / "col.tev"; // parent is a regular file
    e = salva_archivo(s, bajo_archivo.string());
    EXPECT_NE(e.find("No se pudo guardar"), std::string::npos) << e;
    EXPECT_EQ(lee_bytes(otro), "intacto");

    // A column that cannot be written leaves the old file as it was.
    s.nombre[1] = "中";
    e = salva_archivo(s, otro.string());
    EXPECT_NE(e.find("El banco 1 (nombre"), std::string::npos) << e;
    EXPECT_EQ(lee_bytes(otro), "intacto");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(ArchivoProyecto, LeeArchivoRechazaLoQueNoEsUnArchivo)
{
    LecturaColumna l = lee_archivo(dir_.string());
    EXPECT_FALSE(l.ok);
    EXPECT_NE(l.error.find("«" + dir_.string() + "»: es una carpeta"), std::string::npos)
        << l.error;

    const fs::path falta = dir_ / "falta.tev";
    l = lee_archivo(falta.string());
    EXPECT_FALSE(l.ok);
    EXPECT_NE(l.error.find("«" + falta.string() + "»: el archivo no existe"), std::string::npos)
        << l.error;

    const fs::path grande = dir_ / "grande.tev";
    {
        std::ofstream(grande).flush();
    }
    fs::resize_file(grande, kTamanoMaximoArchivo + 1); // sparse
    l = lee_archivo(grande.string());
    EXPECT_FALSE(l.ok);
    EXPECT_NE(l.error.find(std::to_string(kTamanoMaximoArchivo + 1) + " bytes"), std::string::npos)
        << l.error;
}

TEST_F(ArchivoProyecto, LeeArchivoNoSeBloqueaEnUnaTuberia)
{
    const fs::path fifo = dir_ / "tuberia";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::promise<LecturaColumna> promesa;
    std::future<LecturaColumna> futuro = promesa.get_future();
    std::thread hilo([&] { promesa.set_value(lee_archivo(fifo.string())); });
    const bool a_tiempo = futuro.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    if (!a_tiempo) {
        // Release a reader stuck in open() so that the thread can end.
        const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) ::close(fd);
    }
    hilo.join();
    ASSERT_TRUE(a_tiempo) << "lee_archivo blocked on a FIFO";
    const LecturaColumna l = futuro.get();
    EXPECT_FALSE(l.ok);
    EXPECT_NE(l.error.find("no es un archivo común"), std::string::npos) << l.error;
}

TEST(Csv, LaExtensionEligeLaFormaAlLeerYAlSalvar)
{
    EXPECT_TRUE(es_nombre_csv("pozo.csv"));
    EXPECT_TRUE(es_nombre_csv("/datos/POZO.Csv"));
    EXPECT_FALSE(es_nombre_csv("pozo.csv.tev"));
    EXPECT_FALSE(es_nombre_csv("hojas.csv/pozo"));
    EXPECT_FALSE(es_nombre_csv("pozocsv"));

    const fs::path dir = fs::temp_directory_path() / ("tev_csv_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const LecturaColumna ejemplo = lee_archivo(kDir + "neuquen.tev");
    ASSERT_TRUE(ejemplo.ok);
    Store s;
    carga_columna(s, ejemplo.bancos);
    ASSERT_EQ(salva_archivo(s, (dir / "pozo.CSV").string()), "");
    ASSERT_EQ(salva_archivo(s, (dir / "pozo.tev").string()), "");
    EXPECT_EQ(lee_bytes(dir / "pozo.CSV"), escribe_csv(s).bytes);
    EXPECT_EQ(lee_bytes(dir / "pozo.tev"), lee_bytes(kDir + "neuquen.tev"));
    // Read back by the name: the CSV bytes as a project file would not read.
    fs::copy_file(dir / "pozo.CSV", dir / "copia.csv");
    const LecturaColumna l = lee_archivo((dir / "copia.csv").string());
    ASSERT_TRUE(l.ok) << l.error;
    EXPECT_EQ(proyecto_de(l.bancos), lee_bytes(kDir + "neuquen.tev"));

    std::ofstream(dir / "grande.csv").flush();
    fs::resize_file(dir / "grande.csv", kTamanoMaximoArchivo + 1);
    EXPECT_CONTAINS(lee_archivo((dir / "grande.csv").string()).error,
                    "un archivo CSV de columna no puede pasar de 4194304 bytes");
    fs::remove_all(dir);
}

} // namespace
} // namespace tev
