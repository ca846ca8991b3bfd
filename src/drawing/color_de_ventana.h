#pragma once
// The system window colour: the background of a window's client area (white
// on a default desktop). The main window, the column view and the curve
// window all take their background from this one palette role.

#include <QPalette>

namespace tev {

inline constexpr QPalette::ColorRole kColorDeVentana = QPalette::Base;

} // namespace tev
