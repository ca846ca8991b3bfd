#include "model/colores.h"

namespace tev {

const FilaColor tabla_colores[8] = {
    {"Blanco", 0xFFFFFF}, {"Negro", 0x000000},   {"Azul", 0xFF0000}, {"Cian", 0xFFFF00},
    {"Verde", 0x00FF00},  {"Magenta", 0xFF00FF}, {"Rojo", 0x0000FF}, {"Amarillo", 0x00FFFF},
};

} // namespace tev
