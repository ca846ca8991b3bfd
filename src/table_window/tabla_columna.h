#pragma once
// TablaColumna: the window "Tabla de la columna". Every bed of the column in
// one table, edited like a spreadsheet (edits go through the bed dialog's
// capture rules), copied to and pasted from one, with undo; a second tab
// shows the burial-history steps.
//
// The window changes the store itself and says so: antes_de_cambiar() before
// (what another window holds and the store has not taken goes in), cambiada()
// after (the main window computes the column and redraws every window). A
// change made elsewhere reaches it through sigue_la_columna(): when the beds
// are no longer the ones it last showed, its undo history starts anew.

#include "compute/celdas_columna.h"
#include "project_file/forma_exportacion.h"

#include <QTableView>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QAction;
class QCheckBox;
class QLabel;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QTableWidget;
class QUndoStack;

namespace tev {

class LineaDeAvisos;
class ModeloColumna;
struct Store;

// The table view with a spreadsheet's keys: Enter moves down (and ends an
// edit there), typing starts an edit, F2 edits, Escape cancels.
class VistaTabla : public QTableView {
    Q_OBJECT
  public:
    using QTableView::QTableView;

  protected:
    void keyPressEvent(QKeyEvent* e) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint pista) override;

  private:
    void baja_una_fila();
};

class TablaColumna : public QWidget {
    Q_OBJECT
  public:
    // A top-level window without owner; closing it destroys it.
    explicit TablaColumna(Store& s);
    ~TablaColumna() override;

    // The column may have changed or been computed elsewhere: every cell and
    // the history again; beds other than the ones last shown start a new
    // undo history.
    void sigue_la_columna();
    // The same, shown again even where the beds and results are as shown:
    // what makes a bed one without a rock may have changed.
    void muestra_de_nuevo();
    // A computation that failed (empty: it went well), shown in the status
    // bar.
    void muestra_fallo_de_calculo(const QString& mensaje);

    // A committed edit of a cell, as the table's editor commits it.
    void edita(int fila, int columna, const QString& texto);
    // The clipboard commands and the bed commands, as their keys run them.
    void copia();
    void pega();
    void inserta_encima();
    void inserta_debajo();
    void borra_seleccionados();

    // How messages reach the user (a message box); tests record them.
    std::function<void(const QString& texto)> avisa;

    // "Exportar resultados…": the per-bed results and the history steps of
    // the column, computed, written as CSV in the form chosen.
    void exporta_resultados();
    struct Exportacion {
        QString ruta;
        FormaExportacion forma;
    };
    // Where and in which form to export (none: cancelled); a file dialog,
    // tests put their own in its place.
    std::function<std::optional<Exportacion>()> pide_exportacion;
    // The column's file, named in every line of an export (empty for a new
    // column).
    void pon_archivo(const QString& ruta) { archivo_ = ruta; }
    QPushButton* exportar = nullptr;
    // "Mostrar rangos": the eight ends of each bed's own uncertainty ranges
    // as columns after the results, edited as the others.
    QCheckBox* mostrar_rangos = nullptr;

    VistaTabla* tabla = nullptr;
    QTableWidget* historia = nullptr;
    QLabel* historia_error = nullptr;
    QTabWidget* pestanas = nullptr;
    QStatusBar* barra = nullptr;
    // The beds computed without a rock, in the status bar.
    LineaDeAvisos* avisos_sin_roca = nullptr;
    QUndoStack* deshacer = nullptr;
    ModeloColumna* modelo = nullptr;
    // The decimal mark of the cells and of copies: the desktop locale's,
    // unless another is set.
    [[nodiscard]] char decimal() const { return decimal_; }
    void pon_decimal(char marca);

  signals:
    void antes_de_cambiar();
    void cambiada();

  private:
    friend class CambioDeColumna;
    void crea_acciones();
    // A committed edit of end e of a range (compute/celdas_rangos.h).
    void edita_extremo(int fila, int e, const QString& texto);
    void muestra_historia();
    // The cells and the history again, unless they show the column as it
    // stands (its beds and its results).
    void muestra();
    // Runs cambio on the store; when the beds differ after it, the change
    // joins the undo history and the column is computed.
    void cambia(const QString& que, const std::function<bool(Store&)>& cambio);
    // The beds of an undo or redo.
    void pon_bancos(const std::vector<FilaBanco>& bancos);
    // The table row and column to go to after a change, kept in range.
    void ve_a(int fila, int columna);
    [[nodiscard]] bool toda_seleccionada() const;
    void menu_contextual(const QPoint& p);

    Store& s_;
    char decimal_ = '.';
    QString archivo_;
    std::vector<FilaBanco> vistos_; // the beds this table's undo history starts from
    std::optional<std::vector<FilaBanco>> mostrados_; // the beds the cells show
    std::vector<std::uint32_t> resultados_mostrados_; // the bits of the results they show
    QAction* insertar_encima_ = nullptr;
    QAction* insertar_debajo_ = nullptr;
    QAction* borrar_ = nullptr;
    QAction* copiar_ = nullptr;
    QAction* pegar_ = nullptr;
    QAction* deshacer_accion_ = nullptr;
    QAction* rehacer_accion_ = nullptr;
    QAction* exportar_accion_ = nullptr;
};

} // namespace tev
