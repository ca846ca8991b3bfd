#pragma once
// Qt's own words (buttons, the file dialogs' labels, "Aceptar") in Spanish,
// from Qt's translations (qtbase_es, of the qt6-translations-l10n package).

namespace tev {

// Installs Qt's Spanish translations in the running QApplication, for as
// long as it lives. Qt 6.4 asks the type names of a folder, a link and an
// unknown entry under a name its Spanish translations lack; the words Qt 5
// used, which they hold, are given instead. False when the translations are
// not installed: Qt then speaks English.
bool instala_traducciones_de_qt();

} // namespace tev
