#pragma once

namespace tev {

struct Store;

// Sea level (m above the present one) at the top age of bed i, from the
// nearest row of a fixed nine-row table; writes nivel_mar(i).
void buscatiempo(Store& s, int i);

}  // namespace tev
