#pragma once
// A long computation off the user-interface thread, with its progress bar and
// its "Cancelar" button. One computation at a time is wanted: starting a new
// one cancels the one running, whose result is never delivered. The bar and
// the button show only while a computation runs, over the foot of the parent
// widget (whose layout they leave alone, so nothing moves when they show).
// A computation that fails leaves its message there instead, until the next
// one starts or the computation is dropped.

#include "compute/control_calculo.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;
class QThread;
class QTimer;

namespace tev {

// The sentence of draws that gave no bands: "No se pudieron calcular las
// bandas: " and the reason.
QString fallo_de_bandas(const QString& razon);

class CalculoDeFondo : public QWidget {
    Q_OBJECT
  public:
    explicit CalculoDeFondo(QWidget* padre);
    // Cancels what runs and waits for it: no thread outlives the widget.
    ~CalculoDeFondo() override;

    // Runs trabajo on a thread of its own. It counts its units of work in
    // the control's hechas (total of them in all) and heeds its cancelar.
    // al_terminar then runs on this thread, unless the computation was
    // cancelled or a newer one started meanwhile.
    void lanza(int total, std::function<void(ControlCalculo&)> trabajo,
               std::function<void()> al_terminar);
    // Stops the computation running (its result is discarded), and takes
    // away the message of one that failed.
    void cancela();
    [[nodiscard]] bool en_curso() const { return actual_ != nullptr; }
    // Shows why the computation that ended gave no result, a whole Spanish
    // sentence, where the bar was; lanza and cancela take it away.
    void muestra_fallo(const QString& mensaje);

    QProgressBar* barra = nullptr;
    QPushButton* cancelar_btn = nullptr;
    QLabel* fallo_lbl = nullptr; // the message of a failed computation

  protected:
    bool eventFilter(QObject* objeto, QEvent* e) override;

  signals:
    // The user cancelled the computation.
    void cancelado();

  private:
    struct Tarea;
    void termina(const std::shared_ptr<Tarea>& t);
    void sigue_el_progreso();
    void se_coloca();
    // The bar and "Cancelar", or (false) the message of a failure.
    void muestra_barra(bool si);

    std::shared_ptr<Tarea> actual_;
    // Every thread not yet finished, the cancelled ones too.
    std::vector<std::shared_ptr<Tarea>> en_marcha_;
    QTimer* reloj_ = nullptr;
};

} // namespace tev
