#include "project_file/archivos.h"

#include "project_file/archivos_temporales.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

namespace tev {
namespace {

namespace fs = std::filesystem;

std::string lee(const fs::path& p)
{
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

void escribe(const fs::path& p, const std::string& bytes)
{
    std::ofstream(p, std::ios::binary) << bytes;
}

class Guardado : public ::testing::Test {
  protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() /
               ("tevarro_guardado_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Files in the folder besides the ones named: a left-over temporary file.
    int otros_archivos(std::initializer_list<std::string> esperados) const
    {
        int n = 0;
        for (const auto& e : fs::directory_iterator(dir_)) {
            const std::string nombre = e.path().filename().string();
            if (std::find(esperados.begin(), esperados.end(), nombre) == esperados.end()) ++n;
        }
        return n;
    }
    // The folder's names, as the system lists them (bytes).
    std::set<std::string> nombres() const
    {
        std::set<std::string> r;
        DIR* d = ::opendir(dir_.c_str());
        while (const dirent* e = d ? ::readdir(d) : nullptr)
            if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
                r.insert(e->d_name);
        if (d) ::closedir(d);
        return r;
    }
    fs::path dir_;
};

const Temporal kTemporales[] = {Temporal::sin_nombre, Temporal::con_nombre};

TEST_F(Guardado, ReemplazaConservandoLosPermisos)
{
    const fs::path p = dir_ / "a.tev";
    ASSERT_EQ(guarda_archivo(p.string(), "uno\r\n"), "");
    EXPECT_EQ(lee(p), "uno\r\n");
    fs::permissions(p, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_EQ(guarda_archivo(p.string(), "dos"), "");
    EXPECT_EQ(lee(p), "dos");
    EXPECT_EQ(fs::status(p).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(otros_archivos({"a.tev"}), 0);
}

// Writes past RLIMIT_FSIZE fail with EFBIG once SIGXFSZ is ignored: a write
// error in the middle of the file, as a full disk gives, without root.
TEST_F(Guardado, UnaEscrituraFallidaDejaElArchivoViejo)
{
    const fs::path p = dir_ / "viejo.tev";
    const std::string viejo = "el archivo de antes\r\n";
    escribe(p, viejo);
    int tubo[2];
    ASSERT_EQ(::pipe(tubo), 0);
    const pid_t hijo = ::fork();
    ASSERT_GE(hijo, 0);
    if (hijo == 0) {
        ::close(tubo[0]);
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit tope{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &tope);
        const std::string m = guarda_archivo(p.string(), std::string(100000, 'x'));
        ::write(tubo[1], m.data(), m.size());
        ::_exit(0);
    }
    ::close(tubo[1]);
    std::string mensaje;
    char buf[512];
    for (ssize_t n; (n = ::read(tubo[0], buf, sizeof buf)) > 0;)
        mensaje.append(buf, static_cast<size_t>(n));
    ::close(tubo[0]);
    int estado = 0;
    ::waitpid(hijo, &estado, 0);
    EXPECT_EQ(mensaje, "No se pudo guardar «" + p.string() +
                           "»: el archivo pasaría del tamaño máximo que el sistema le permite.");
    EXPECT_EQ(lee(p), viejo);
    EXPECT_EQ(otros_archivos({"viejo.tev"}), 0);
}

TEST_F(Guardado, RehusaLoQueNoEsUnArchivoComun)
{
    const fs::path tuberia = dir_ / "tuberia";
    ASSERT_EQ(::mkfifo(tuberia.c_str(), 0644), 0);
    std::string m = guarda_archivo(tuberia.string(), "x");
    EXPECT_EQ(m.rfind("No se pudo guardar «" + tuberia.string() + "»: no es un archivo común", 0),
              0u)
        << m;
    EXPECT_TRUE(fs::is_fifo(tuberia));

    const fs::path enchufe = dir_ / "enchufe";
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un dir{};
    dir.sun_family = AF_UNIX;
    std::snprintf(dir.sun_path, sizeof dir.sun_path, "%s", enchufe.c_str());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&dir), sizeof dir), 0);
    EXPECT_NE(guarda_archivo(enchufe.string(), "x"), "");
    EXPECT_TRUE(fs::is_socket(enchufe));
    ::close(fd);

    const fs::path carpeta = dir_ / "carpeta";
    fs::create_directory(carpeta);
    EXPECT_EQ(guarda_archivo(carpeta.string(), "x"),
              "No se pudo guardar «" + carpeta.string() + "»: es una carpeta, no un archivo.");
    EXPECT_TRUE(fs::is_empty(carpeta));

    EXPECT_EQ(guarda_archivo((dir_ / "no" / "a.tev").string(), "x"),
              "No se pudo guardar «" + (dir_ / "no" / "a.tev").string() + "»: la carpeta «" +
                  (dir_ / "no").string() + "» no existe.");
    EXPECT_EQ(guarda_archivo("", "x"), "No se pudo guardar: falta el nombre del archivo.");
    EXPECT_EQ(otros_archivos({"tuberia", "enchufe", "carpeta"}), 0);
}

TEST_F(Guardado, EscribeAtravesDeUnEnlace)
{
    const fs::path real = dir_ / "real.tev";
    const fs::path enlace = dir_ / "enlace.tev";
    escribe(real, "viejo");
    fs::create_symlink("real.tev", enlace);
    ASSERT_EQ(guarda_archivo(enlace.string(), "nuevo"), "");
    EXPECT_TRUE(fs::is_symlink(enlace));
    EXPECT_EQ(lee(real), "nuevo");
    EXPECT_EQ(otros_archivos({"real.tev", "enlace.tev"}), 0);

    fs::remove(real);
    const std::string m = guarda_archivo(enlace.string(), "x");
    EXPECT_NE(m.find("enlace simbólico a un archivo que no existe"), std::string::npos) << m;
}

// A real full disk and a read-only one: a small tmpfs, where this process may
// mount one.
TEST_F(Guardado, DiscoLlenoYDeSoloLectura)
{
    const fs::path punto = dir_ / "disco";
    fs::create_directory(punto);
    if (::mount("tmpfs", punto.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "no se puede montar un tmpfs aquí (hace falta ser root)";
    const fs::path p = punto / "viejo.tev";
    const std::string viejo(3000, 'v');
    escribe(p, viejo);
    escribe(punto / "relleno", std::string(80000, 'r')); // cut where the disk ends

    const std::string lleno = guarda_archivo(p.string(), std::string(20000, 'n'));
    EXPECT_EQ(lleno, "No se pudo guardar «" + p.string() + "»: no queda espacio en el disco.");
    EXPECT_EQ(lee(p), viejo);
    EXPECT_EQ(std::distance(fs::directory_iterator(punto), fs::directory_iterator()), 2);

    ASSERT_EQ(::mount("tmpfs", punto.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=64k"), 0);
    const std::string solo_lectura = guarda_archivo(p.string(), "n");
    EXPECT_EQ(solo_lectura,
              "No se pudo guardar «" + p.string() + "»: el disco o la carpeta es de solo lectura.");
    EXPECT_EQ(lee(p), viejo);
    ::umount(punto.c_str());
}

// The longest name a folder takes (255 bytes), not UTF-8, and one cut where
// a temporary name beside it would pass the limit inside a character: each is
// written and replaced under its own bytes.
TEST_F(Guardado, ElNombreMasLargoSeGuardaConSusBytes)
{
    const std::string largo = std::string(250, 'a') + "\xff.tev";
    const std::string acentos = "\xc3\xb1" + std::string(236, 'n') + "\xc3\xb1.tev"; // 244 bytes
    ASSERT_EQ(largo.size(), 255u);
    for (const Temporal como : kTemporales)
        for (const std::string& nombre : {largo, acentos, std::string("z\xff.png")}) {
            SCOPED_TRACE(nombre.size());
            const std::string ruta = dir_.string() + "/" + nombre;
            ASSERT_EQ(guarda_archivo(ruta, "uno", como), "");
            ASSERT_EQ(guarda_archivo(ruta, "dos", como), "");
            EXPECT_EQ(nombres(), std::set<std::string>{nombre});
            EXPECT_EQ(lee(ruta), "dos");
            fs::remove(ruta);
        }
}

// A save killed while it writes (here by SIGXFSZ past its file-size limit)
// leaves the old file whole, and no file of its own once the next save of
// that file is done: none at all with an unnamed temporary file. A leftover
// another save still holds, and a file of the user's that merely looks like
// one, are left alone.
TEST_F(Guardado, UnGuardadoMatadoNoDejaRestos)
{
    const fs::path p = dir_ / "viejo.tev";
    const std::string viejo = "el archivo de antes\r\n";
    const std::string del_usuario = ".viejo.tev.abc123";
    for (const Temporal como : kTemporales) {
        SCOPED_TRACE(como == Temporal::sin_nombre ? "sin nombre" : "con nombre");
        escribe(p, viejo);
        escribe(dir_ / del_usuario, "mío");
        const pid_t hijo = ::fork();
        ASSERT_GE(hijo, 0);
        if (hijo == 0) {
            const rlimit tope{65536, 65536};
            const rlimit sin_core{0, 0};
            ::setrlimit(RLIMIT_FSIZE, &tope);
            ::setrlimit(RLIMIT_CORE, &sin_core);
            ::signal(SIGXFSZ, SIG_DFL);
            guarda_archivo(p.string(), std::string(1 << 20, 'n'), como);
            ::_exit(0);
        }
        int estado = 0;
        ::waitpid(hijo, &estado, 0);
        ASSERT_TRUE(WIFSIGNALED(estado) && WTERMSIG(estado) == SIGXFSZ) << estado;
        EXPECT_EQ(lee(p), viejo);

        std::set<std::string> restos = nombres();
        restos.erase("viejo.tev");
        restos.erase(del_usuario);
        if (como == Temporal::sin_nombre) {
            EXPECT_TRUE(restos.empty()) << *restos.begin();
        } else {
            ASSERT_EQ(restos.size(), 1u);
            // Held by a save still running: the next save leaves it.
            const fs::path resto = dir_ / *restos.begin();
            const int fd = ::open(resto.c_str(), O_RDONLY | O_CLOEXEC);
            ASSERT_GE(fd, 0);
            ASSERT_EQ(::flock(fd, LOCK_EX), 0);
            ASSERT_EQ(guarda_archivo(p.string(), "otro"), "");
            EXPECT_TRUE(fs::exists(resto));
            ::close(fd);
        }
        ASSERT_EQ(guarda_archivo(p.string(), "nuevo"), "");
        EXPECT_EQ(lee(p), "nuevo");
        EXPECT_EQ(nombres(), (std::set<std::string>{"viejo.tev", del_usuario}));
        EXPECT_EQ(lee(dir_ / del_usuario), "mío");
    }
}

// A file the user may not write is refused, named, and left as it was. The
// superuser may write any file; for him a file without any write bit is the
// read-only one.
TEST_F(Guardado, UnArchivoDeSoloLecturaNoSeReemplaza)
{
    const fs::path p = dir_ / "leer.tev";
    for (const Temporal como : kTemporales)
        for (const fs::perms permisos :
             {fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read,
              fs::perms::none}) {
            escribe(p, "intacto");
            fs::permissions(p, permisos);
            EXPECT_EQ(guarda_archivo(p.string(), "pisado", como),
                      "No se pudo guardar «" + p.string() +
                          "»: el archivo es de solo lectura (no tiene permiso para escribirlo) y "
                          "no se reemplaza.");
            fs::permissions(p, fs::perms::owner_read);
            EXPECT_EQ(lee(p), "intacto");
            EXPECT_EQ(nombres(), std::set<std::string>{"leer.tev"});
            fs::remove(p);
        }

    // Through a link, the file it names decides.
    escribe(p, "intacto");
    fs::permissions(p, fs::perms::owner_read);
    fs::create_symlink("leer.tev", dir_ / "enlace.tev");
    EXPECT_NE(guarda_archivo((dir_ / "enlace.tev").string(), "pisado"), "");
    EXPECT_EQ(lee(p), "intacto");

    if (::geteuid() == 0) {
        // Writable by its owner only, another user: the superuser writes it.
        const fs::path ajeno = dir_ / "ajeno.tev";
        escribe(ajeno, "viejo");
        fs::permissions(ajeno, fs::perms::owner_read | fs::perms::owner_write);
        ASSERT_EQ(::chown(ajeno.c_str(), 65534, 65534), 0);
        EXPECT_EQ(guarda_archivo(ajeno.string(), "nuevo"), "");
        EXPECT_EQ(lee(ajeno), "nuevo");
    }
}

} // namespace
} // namespace tev
