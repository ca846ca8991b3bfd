#pragma once
// What the batch tool's tests share: a run of the whole command line inside
// the test's process, files of their own in a temporary folder, and the CSV
// lines read back.

#include "batch/imagenes_lote.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace tev::prueba {

inline const std::string kEjemplos = TEVARRO_SOURCE_DIR "/examples/";

struct Ejecucion {
    int codigo;
    std::string salida, errores;
};

// The command line (without the program's name) run with the linked drawing.
inline Ejecucion ejecuta(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int codigo = ejecuta_lote(args, out, err);
    return {codigo, out.str(), err.str()};
}

// The folder "<prefijo><the process's id>" in the system's temporary one,
// made when missing.
inline std::filesystem::path carpeta_temporal(const std::string& prefijo)
{
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / (prefijo + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    return dir;
}

// The path of nombre in that folder, the file written with bytes when they
// are given.
inline std::string archivo_temporal(const std::string& prefijo, const std::string& nombre,
                                    const std::string& bytes = {})
{
    const std::filesystem::path dir = carpeta_temporal(prefijo);
    if (!bytes.empty()) std::ofstream(dir / nombre, std::ios::binary) << bytes;
    return (dir / nombre).string();
}

inline std::string lee(const std::string& ruta)
{
    std::ifstream f(ruta, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

// The CSV's lines, each ended by CR LF and split at its commas (no field
// here holds one).
inline std::vector<std::vector<std::string>> lineas_de(const std::string& csv)
{
    std::vector<std::vector<std::string>> r;
    for (std::size_t a = 0, fin; (fin = csv.find("\r\n", a)) != std::string::npos; a = fin + 2) {
        std::vector<std::string> campos(1);
        for (char ch : csv.substr(a, fin - a))
            ch == ',' ? campos.emplace_back() : campos.back() += ch;
        r.push_back(campos);
    }
    EXPECT_EQ(csv.size(), csv.rfind("\r\n") + 2) << "the last line lacks its CR LF";
    return r;
}

} // namespace tev::prueba
