#pragma once
// DialogoModelo: "Modelo…" of the menu "Análisis". It chooses the sea-level
// curve every window computes with: the program's table (the default), none
// (0 m at every age) or a CSV file of the user's (edad,nivel_mar). "Aceptar"
// reads the file, puts the curve in force and keeps the choice in the
// preferences; a file that cannot be read is refused with its message, and
// nothing changes.

#include <QDialog>
#include <QString>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tev {

class DialogoModelo : public QDialog {
    Q_OBJECT
  public:
    explicit DialogoModelo(QWidget* padre = nullptr);

    // Shows the choice in force.
    void muestra_eleccion();

    // How "Elegir…" asks for the file (Qt's dialog, with a Spanish list):
    // the path chosen, empty when cancelled. Tests put their own in its place.
    std::function<QString()> pide_archivo;

    QRadioButton* tabla_opt = nullptr;
    QRadioButton* ninguno_opt = nullptr;
    QRadioButton* archivo_opt = nullptr;
    QLineEdit* archivo_txt = nullptr;
    QPushButton* elegir_btn = nullptr;
    // Why the file was refused; empty and hidden otherwise.
    QLabel* error_lbl = nullptr;
    QPushButton* aceptar_btn = nullptr;
    QPushButton* cancelar_btn = nullptr;

  private:
    void elige();
    void acepta();
};

} // namespace tev
