#pragma once

namespace tev {

struct Store;

// Sea level (m above the present one) at the age edad (Ma), from the nearest
// row of the table; an age halfway between two rows takes the younger one.
float nivel_mar_de_edad(float edad);

// Sea level (m above the present one) at the top age of bed i, from the
// nearest row of a fixed nine-row table; writes nivel_mar(i).
void buscatiempo(Store& s, int i);

} // namespace tev
