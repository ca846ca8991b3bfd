#pragma once
// The user's preferences, one file for the whole program:
// $XDG_CONFIG_HOME/tevarro/tevarro.conf (~/.config without it). Every window
// keeps its settings there in a group of its own; a project never reads them.

#include <QSettings>

namespace tev {

QSettings preferencias();

} // namespace tev
