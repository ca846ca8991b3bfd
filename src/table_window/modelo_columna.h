#pragma once
// The beds of the store as a Qt table model: one row per bed, the top bed
// first; the cells' texts come from compute/celdas_columna.h. Edits go to the
// window through `edita`, which decides what the store takes.

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <utility>
#include <vector>

namespace tev {

struct Store;

class ModeloColumna : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit ModeloColumna(const Store& s, QObject* padre = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex& padre = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& padre = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& i, int rol) const override;
    [[nodiscard]] QVariant headerData(int seccion, Qt::Orientation o, int rol) const override;
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& i) const override;
    bool setData(const QModelIndex& i, const QVariant& valor, int rol) override;

    // A committed edit of a cell: row, column, text. Set by the window.
    std::function<void(int fila, int columna, const QString& texto)> edita;

    // The decimal mark of numbers shown.
    char decimal = '.';

    // The eight ends of the bed's own ranges (compute/celdas_rangos.h) as
    // columns kColumnasTabla.. after the table's own, when shown.
    void muestra_rangos(bool si);
    [[nodiscard]] bool rangos_mostrados() const { return rangos_; }

    // A refused text: the cell keeps its value, coloured, its tool tip why.
    void marca(int fila, int columna, const QString& motivo);
    void desmarca(int fila, int columna);
    void quita_marcas();
    [[nodiscard]] QString marca_de(int fila, int columna) const;

    // The beds computed without a rock (model/bancos_sin_roca.h), bed 1
    // first: every text, and those of one cell (one a line; empty: none).
    // The cell concerned is coloured and its tool tip says why.
    [[nodiscard]] const QStringList& avisos() const { return avisos_; }
    [[nodiscard]] QString aviso_de(int fila, int columna) const;

    // The store changed: every cell again, rows added or removed.
    void refresca();

  private:
    const Store& s_;
    int filas_ = 0; // rows as the view last learnt them
    bool rangos_ = false;
    std::map<std::pair<int, int>, QString> marcas_;
    // The texts of every cell and the rows whose percentages do not add up,
    // worked out once per change rather than at every paint of a cell.
    std::vector<QString> textos_;
    std::vector<bool> error_pct_;
    QStringList avisos_;
    std::map<std::pair<int, int>, QString> avisos_por_celda_;
    void rehace_textos();
};

} // namespace tev
