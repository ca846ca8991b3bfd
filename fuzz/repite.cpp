// Runs the fuzz target once over each file named (or each file of each folder
// named): the regression corpus as an ordinary test, without libFuzzer.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano);

int main(int argc, char** argv)
{
    namespace fs = std::filesystem;
    std::vector<fs::path> archivos;
    for (int i = 1; i < argc; ++i) {
        const fs::path p(argv[i]);
        if (fs::is_directory(p)) {
            for (const auto& e : fs::recursive_directory_iterator(p))
                if (e.is_regular_file()) archivos.push_back(e.path());
        } else {
            archivos.push_back(p);
        }
    }
    if (archivos.empty()) {
        std::fprintf(stderr, "sin entradas\n");
        return 1;
    }
    for (const auto& a : archivos) {
        std::ifstream f(a, std::ios::binary);
        if (!f) {
            std::fprintf(stderr, "no se pudo abrir %s\n", a.c_str());
            return 1;
        }
        const std::string bytes{std::istreambuf_iterator<char>(f), {}};
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    std::printf("%zu entradas sin fallas\n", archivos.size());
    return 0;
}
