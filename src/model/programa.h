#pragma once
// The program's name as its main window's caption, its messages' titles and
// its pictures and printed pages give it.

namespace tev {

inline constexpr char kNombrePrograma[] = "TEVARRO 1.0";

} // namespace tev
