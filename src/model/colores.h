#pragma once
// The colour names of the program, shared by the bed dialog and the column
// table.

#include <cstdint>

namespace tev {

struct FilaColor {
    const char* nombre;
    int32_t valor; // 0x00BBGGRR
};
// In the order of the colour list.
extern const FilaColor tabla_colores[8];

} // namespace tev
