#pragma once
// "Litologías…": the program's five rocks, fixed, at the top of a table, and
// the user's below them, to add, remove and edit, import from and export to
// CSV (project_file/litologias_csv.h). "Aceptar" gives the user's rocks only
// when every row is one; a row that is not says why, naming the row and the
// field, and the dialog stays open.

#include "model/litologias_usuario.h"

#include <QDialog>

#include <functional>
#include <vector>

class QLabel;
class QPushButton;
class QTableWidget;

namespace tev {

class DialogoLitologias : public QDialog {
    Q_OBJECT
  public:
    DialogoLitologias(const std::vector<LitologiaUsuario>& rocas, QWidget* padre = nullptr);

    // The user's rocks as the table holds them; false with the reason (Spanish,
    // naming the row and the field) when a row is not one.
    bool lee_rocas(std::vector<LitologiaUsuario>& rocas, QString& error) const;
    // What "Aceptar" accepted.
    [[nodiscard]] const std::vector<LitologiaUsuario>& rocas() const { return aceptadas_; }

    // Where "Importar…" reads and "Exportar…" writes (empty: cancelled); file
    // dialogs, tests put their own in their place.
    std::function<QString()> pide_importacion;
    std::function<QString()> pide_exportacion;

    void anade_fila();
    void quita_filas();
    void importa();
    void exporta();
    void accept() override;

    // Rows of the program's rocks, at the top.
    static constexpr int kFilasDelPrograma = 5;

    QTableWidget* tabla = nullptr;
    QPushButton* anadir = nullptr;
    QPushButton* quitar = nullptr;
    QPushButton* importar = nullptr;
    QPushButton* exportar = nullptr;
    QPushButton* aceptar = nullptr;
    QPushButton* cancelar = nullptr;
    // The last refusal or result, in red for a refusal.
    QLabel* mensaje = nullptr;

  private:
    void pon_fila(int fila, const LitologiaUsuario& r);
    void di(const QString& texto, bool error);
    std::vector<LitologiaUsuario> aceptadas_;
};

} // namespace tev
