#pragma once
// The sea-level curve every window computes with: one for the whole program,
// chosen in the dialog "Modelo…" and kept in the preferences (group "modelo":
// "curva" = "tabla", "ninguno" or "archivo", and "archivo" = the curve's file,
// read again at every start). The program's table is the default; with it
// every window, picture and file is as it always was.

#include "compute/nivel_mar.h"
#include "drawing/exporta_imagen.h"

#include <QObject>
#include <QString>

class QLabel;
class QWidget;

namespace tev {

struct Store;

// Tells every window that the curve in force changed.
class AvisoDeCurva : public QObject {
    Q_OBJECT
  signals:
    void cambiada();
};
AvisoDeCurva& aviso_de_curva();

[[nodiscard]] const CurvaNivelMar& curva_en_uso();
// Why the curve of the preferences is not the one in force (its file could not
// be read at start); empty otherwise.
[[nodiscard]] const QString& nota_de_curva();
// Puts curva in force (with a note, see nota_de_curva) and tells every window.
void pon_curva_en_uso(const CurvaNivelMar& curva, const QString& nota = {});

// The choice of the preferences put in force, its file read again; a file
// that cannot be read leaves the program's table in force, with the reason as
// the note, which is also returned (empty when all went well).
QString lee_curva_de_preferencias();
// The choice kept for the next start.
void guarda_curva_en_preferencias(const CurvaNivelMar& curva);

// nivel_mar of every bed of s from the curve in force. With the program's
// table nothing is written: every capture and reading already wrote it so.
void pon_nivel_mar_en_uso(Store& s);

// The line that names the curve in force: "Nivel del mar: tabla del
// programa", "Nivel del mar: ninguno", "Nivel del mar: archivo X.csv" (the
// file's name without its folder), followed by the note when there is one.
[[nodiscard]] QString texto_de_curva();
// True when the line is worth showing: a curve other than the program's table,
// or a note.
[[nodiscard]] bool curva_a_la_vista();

// A picture to be saved or printed with the curve in force named in its
// corner (drawing/nivel_mar_en_dibujo.h): with the program's table, the
// picture untouched.
[[nodiscard]] Dibujo con_curva_en_uso(Dibujo dibujo);

// A label named "nivel_mar_lbl" that shows texto_de_curva (the whole path of a
// user's file as its tool tip) while curva_a_la_vista, hidden otherwise, and
// follows every change.
QLabel* etiqueta_de_curva(QWidget* padre);
// The same label over a window that paints itself whole (the curves, the
// burial history): at its bottom left corner, on the window's colour, kept
// there as the window changes size.
QLabel* etiqueta_de_curva_abajo(QWidget* ventana);

} // namespace tev
