#pragma once
// "Incertidumbre…": whether the history and stretching windows compute and
// show the uncertainty bands, with how many draws, which seed and which
// column-wide ranges (those of beds without their own). It shows the settings
// of window_helpers/ajustes_incertidumbre.h; "Aceptar" checks every field and
// either names the first bad one or keeps the settings and closes.

#include "window_helpers/ajustes_incertidumbre.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tev {

class DialogoIncertidumbre : public QDialog {
    Q_OBJECT
  public:
    explicit DialogoIncertidumbre(QWidget* padre = nullptr);

    // The settings the fields show.
    void pon_ajustes(const AjustesIncertidumbre& a);
    // The settings of the fields, or false with the Spanish reason naming the
    // first bad field.
    bool lee_campos(AjustesIncertidumbre* a, QString* error) const;

    void accept() override;

    QCheckBox* activa_chk = nullptr;
    QLineEdit* tiradas_txt = nullptr;
    QLineEdit* semilla_txt = nullptr;
    QLineEdit* porosidad_txt = nullptr;
    QLineEdit* coef_txt = nullptr;
    QLineEdit* paleobatimetria_txt = nullptr;
    QLineEdit* edad_txt = nullptr;
    QLineEdit* nivel_mar_txt = nullptr;
    QLabel* mensaje_lbl = nullptr;
    QPushButton* aceptar_btn = nullptr;
    QPushButton* cancelar_btn = nullptr;

  signals:
    // The settings were checked and kept.
    void ajustes_cambiados();
};

} // namespace tev
