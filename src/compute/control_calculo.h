#pragma once
// How a long computation says how far it has gone, and hears that it is no
// longer wanted. The caller owns it and may read and set it from another
// thread while the computation runs. Plain C++, no Qt.

#include <atomic>

namespace tev {

struct ControlCalculo {
    // Units of work finished so far (for the Monte Carlo, draws).
    std::atomic<int> hechas{0};
    // Set by the caller; the computation looks at it between units of work
    // and, when set, stops and says it was cancelled.
    std::atomic<bool> cancelar{false};
};

} // namespace tev
