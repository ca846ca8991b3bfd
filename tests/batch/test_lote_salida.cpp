// What the batch tool writes: the files under the names' own bytes, and the
// report of each file as soon as that file is done.

#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::string kEjemplo = std::string(TEVARRO_SOURCE_DIR) + "/examples/neuquen.tev";

fs::path carpeta_nueva(const std::string& nombre)
{
    const fs::path dir =
        fs::temp_directory_path() / ("tevarro_salida_" + std::to_string(::getpid()) + "_" + nombre);
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

std::string lee_bytes(const fs::path& ruta)
{
    std::ifstream f(ruta, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

// The folder's names as the system lists them (bytes).
std::set<std::string> nombres(const fs::path& dir)
{
    std::set<std::string> r;
    DIR* d = ::opendir(dir.c_str());
    while (const dirent* e = d ? ::readdir(d) : nullptr)
        if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") r.insert(e->d_name);
    if (d) ::closedir(d);
    return r;
}

// tevarro-batch started with its standard output on a pipe (returned in
// lectura) and its error output in a file; stdin closed.
pid_t arranca(const std::vector<std::string>& args, int& lectura, const fs::path& errores)
{
    int tubo[2];
    if (::pipe2(tubo, O_CLOEXEC) != 0) return -1;
    // 64 KiB, the usual size, whatever the system's default.
    ::fcntl(tubo[1], F_SETPIPE_SZ, 65536);
    const pid_t hijo = ::fork();
    if (hijo == 0) {
        ::dup2(tubo[1], STDOUT_FILENO);
        const int err = ::open(errores.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(err, STDERR_FILENO);
        std::vector<char*> argv{const_cast<char*>(TEVARRO_BATCH_EXE)};
        for (const auto& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(TEVARRO_BATCH_EXE, argv.data());
        ::_exit(127);
    }
    ::close(tubo[1]);
    lectura = tubo[0];
    return hijo;
}

int espera(pid_t hijo)
{
    int estado = 0;
    ::waitpid(hijo, &estado, 0);
    return WIFEXITED(estado) ? WEXITSTATUS(estado) : 128;
}

// A hundred beds of 20 m, bed 1 the deepest and oldest.
std::string cien_bancos()
{
    std::string t;
    for (int i = 1; i <= 100; ++i)
        t += "Banco " + std::to_string(i) + ", " + std::to_string((100 - i) * 20) + " , " +
             std::to_string((101 - i) * 20) + " , " + std::to_string(100 - i) + " , " +
             std::to_string(101 - i) + " ,Areniscas, 255 , .49 , .27 , 0 , 0 , 0 , 0 , 0 \r\n";
    return t;
}

// Picture names that are not UTF-8 are the names written, byte for byte, and
// the pictures are those written under a plain name.
TEST(LoteSalida, LosNombresDeLasImagenesSonSusBytes)
{
    const fs::path dir = carpeta_nueva("nombres");
    const std::string curvas = "z\xff.png", columna = "k\xfe\x80.svg", historia = "h\xc3(.pdf";
    int lectura = -1;
    pid_t hijo =
        arranca({"--curvas", (dir / curvas).string(), "--columna", (dir / columna).string(),
                 "--historia-imagen", (dir / historia).string(), kEjemplo},
                lectura, dir.parent_path() / "errores_nombres.txt");
    ASSERT_GT(hijo, 0);
    char buf[4096];
    while (::read(lectura, buf, sizeof buf) > 0) {
    }
    ::close(lectura);
    ASSERT_EQ(espera(hijo), 0) << lee_bytes(dir.parent_path() / "errores_nombres.txt");
    EXPECT_EQ(nombres(dir), (std::set<std::string>{curvas, columna, historia}));

    hijo = arranca(
        {"--curvas", (dir / "z.png").string(), "--columna", (dir / "k.svg").string(), kEjemplo},
        lectura, dir.parent_path() / "errores_nombres.txt");
    while (::read(lectura, buf, sizeof buf) > 0) {
    }
    ::close(lectura);
    ASSERT_EQ(espera(hijo), 0);
    EXPECT_TRUE(lee_bytes(dir / curvas) == lee_bytes(dir / "z.png"));
    EXPECT_TRUE(lee_bytes(dir / columna) == lee_bytes(dir / "k.svg"));
    EXPECT_EQ(lee_bytes(dir / historia).rfind("%PDF", 0), 0u);
}

// The first file's lines come out while the tool still has files to read:
// the last file does not exist until they have been read, and is reported
// like the others. The second file's report is several times what the pipe
// holds, so the tool waits in it until its lines are read, whatever the
// speed of the machine.
TEST(LoteSalida, CadaArchivoSaleEnCuantoEstaHecho)
{
    const fs::path dir = carpeta_nueva("seguido");
    const std::string bancos = cien_bancos();
    const fs::path a = dir / "a.tev", b = dir / "b.tev", c = dir / "c.tev";
    std::ofstream(a, std::ios::binary) << bancos;
    std::ofstream(b, std::ios::binary) << bancos;
    const fs::path errores = dir / "errores.txt";
    int lectura = -1;
    const pid_t hijo =
        arranca({"--enterramiento", a.string(), b.string(), c.string()}, lectura, errores);
    ASSERT_GT(hijo, 0);

    std::string salida;
    char buf[4096];
    const std::string linea_de_b = "\r\n" + b.string() + ",";
    while (salida.find(linea_de_b) == std::string::npos) {
        const ssize_t n = ::read(lectura, buf, sizeof buf);
        if (n <= 0) break;
        salida.append(buf, static_cast<std::size_t>(n));
    }
    ASSERT_NE(salida.find(linea_de_b), std::string::npos) << "la salida terminó sin b.tev";
    std::ofstream(c, std::ios::binary) << bancos;
    for (ssize_t n; (n = ::read(lectura, buf, sizeof buf)) > 0;)
        salida.append(buf, static_cast<std::size_t>(n));
    ::close(lectura);

    EXPECT_EQ(espera(hijo), 0) << lee_bytes(errores);
    EXPECT_EQ(lee_bytes(errores), "");
    EXPECT_EQ(salida.rfind("archivo,edad,banco,techo,base\r\n", 0), 0u);
    // The same lines for each of the three files.
    const fs::path archivos[] = {a, b, c};
    std::vector<std::size_t> lineas(3);
    for (std::size_t k = 0, fin; (fin = salida.find("\r\n", k)) != std::string::npos; k = fin + 2)
        for (std::size_t f = 0; f < 3; ++f)
            if (salida.compare(k, archivos[f].string().size() + 1, archivos[f].string() + ",") == 0)
                ++lineas[f];
    EXPECT_GT(lineas[0], 1000u);
    EXPECT_EQ(lineas[1], lineas[0]);
    EXPECT_EQ(lineas[2], lineas[0]);
}

} // namespace
