#include "batch/informe.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const std::vector<std::string> argumentos(argv + 1, argv + argc);
    return tev::ejecuta_lote(argumentos, std::cout, std::cerr);
}
