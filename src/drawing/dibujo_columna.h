#pragma once

namespace tev {

class Lienzo;
struct Store;

// The present-day column, one decompacted column per bed and the datum line,
// in metres of depth. The caller clears the surface first.
void dibuja_columna(const Store& s, Lienzo& lienzo);

} // namespace tev
