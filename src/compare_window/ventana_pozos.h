#pragma once
// "Comparar pozos": several wells side by side. The list on the right holds
// the main window's column (always first, following every change of it) and
// the project files and CSV columns the user added; each shown or hidden by
// its check box. The figure on the left (dibujo_pozos.h) draws every shown
// well's tectonic subsidence and its stretching fit, made with the settings
// of "Subsidencia y estiramiento" (ajustes_estiramiento.h), and its
// uncertainty bands when the user's settings ask for them, computed in the
// background. The added files and what is hidden are kept in the preferences
// (group "comparar_pozos") for the next opening.

#include "drawing/dibujo_pozos.h"
#include "model/litologias_usuario.h"
#include "project_file/pozos.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QListWidget;
class QPrinter;
class QPushButton;

namespace tev {

class CalculoDeFondo;
class GuardarImagen;
struct Dibujo;
struct Store;

class VentanaPozos : public QWidget {
    Q_OBJECT
  public:
    // A top-level window without owner; closing it through its frame
    // destroys it. Its list is read from the preferences; the files are read
    // at the first sigue_la_columna, which brings the user's rocks.
    VentanaPozos();
    ~VentanaPozos() override;

    // The main window's column, first in the list, named after its file
    // (archivo; empty: "Sin título"). The files are read again when the
    // user's rocks of s differ from those they were read with.
    void sigue_la_columna(const Store& s, const QString& archivo);
    // Adds the files not yet in the list at its end, each read at once; one
    // that cannot be read is listed with its reason and the others go on.
    void anade(const QStringList& rutas);
    // Removes the selected files from the list; the main column stays.
    void quita_seleccionados();
    // The bands of every well computed anew with the user's uncertainty
    // settings as they stand now, or dropped when they are off.
    void calcula_bandas_de_nuevo();

    // Every well of the list, in its order, the main column first.
    [[nodiscard]] const std::vector<Pozo>& pozos() const { return pozos_; }
    [[nodiscard]] const FiguraPozos& figura() const { return figura_; }
    // The added files' paths, in the list's order.
    [[nodiscard]] QStringList archivos() const;

    // "Exportar…" writes one of two tables of the wells shown.
    enum class Exportacion { historias, ajustes };
    // The table's bytes: what tevarro-batch --historia or --estiramiento
    // writes for the same files.
    [[nodiscard]] std::string texto_exportado(Exportacion que) const;
    // False, with the reason in Spanish, when the file cannot be written.
    bool exporta(const QString& ruta, Exportacion que, QString* error) const;

    // Saves the figure at its size on screen, PNG, SVG or PDF by the
    // extension. False, with the reason in Spanish, on failure or when no
    // well with a history is shown.
    bool guarda_imagen(const QString& ruta, QString* error);
    // The figure as it is now, holding its own copy of the wells: printing
    // outlives a change of the window, or its closing.
    [[nodiscard]] Dibujo dibujo_propio() const;

    // How the files to add are asked for (empty: none), how the table to
    // export and its file are asked for (empty: cancelled), how the printer
    // is chosen (true to print) and how a failure reaches the user; tests put
    // their own in their place.
    std::function<QStringList()> pide_archivos;
    std::function<QString(Exportacion* que)> pide_exportacion;
    std::function<bool(QPrinter& impresora)> pide_impresora;
    std::function<void(const QString& texto)> avisa;

    QWidget* lienzo = nullptr;
    QListWidget* lista_pozos = nullptr;
    QPushButton* anadir_btn = nullptr;
    QPushButton* quitar_btn = nullptr;
    QCheckBox* total_chk = nullptr;
    QLabel* ajuste_lbl = nullptr; // the fit's settings in force
    QLabel* estado_lbl = nullptr; // the wells that cannot be drawn, and why
    QPushButton* guardar_btn = nullptr;
    QPushButton* imprimir_btn = nullptr;
    QPushButton* exportar_btn = nullptr;
    GuardarImagen* guardar_imagen = nullptr;
    // The progress bar and "Cancelar" of the bands, over the foot of the figure.
    CalculoDeFondo* calculo = nullptr;

  public slots:
    void anadir_Click();
    void exportar_Click();
    void imprimir_Click();

  protected:
    void contextMenuEvent(QContextMenuEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

  private:
    struct Entrada {
        QString ruta; // empty for the main window's column
        bool visible = true;
        // The column as read (the main one as given); null when unreadable.
        std::shared_ptr<const Store> columna;
        std::string error_lectura; // the reader's reason; empty when read
        std::vector<BandaPaso> bandas;
        bool bandas_hechas = false; // computed (or failed) for this column
        std::string error_bandas;   // why its draws failed; empty when they did not

        // The bands are to be computed again (another column, other settings).
        void olvida_bandas()
        {
            bandas.clear();
            bandas_hechas = false;
            error_bandas.clear();
        }
    };

    void crea_controles();
    void lee_preferencias();
    void guarda_preferencias() const;
    void lee(Entrada& e) const;
    void relee_archivos();
    // The wells from the columns: histories, fits, names; then the list and
    // the figure.
    void recalcula();
    void rehace_lista();
    void rehace_figura();
    // Computes the bands the wells lack, in the background, when the user's
    // settings ask for them: one well at a time, the files first, each kept
    // as it is done, so that an edit of the main column never throws away
    // the files' bands; a well already under way goes on while its column
    // is still listed unchanged.
    void calcula_bandas();
    // The wells whose draws failed, named with the reason where the bar was.
    void muestra_fallos_de_bandas();
    void muestra_estado();

    std::vector<Entrada> entradas_;
    std::vector<Pozo> pozos_; // one per entry
    FiguraPozos figura_;
    PeticionAjuste peticion_;
    std::vector<LitologiaUsuario> rocas_; // what the files were read with
    QString archivo_;                     // the main window's file
    bool leidos_ = false;                 // the files have been read once
    QStringList faltaban_;                // files missing when the list was restored
    bool rehaciendo_lista_ = false;
    // The column whose bands are being computed; null when none is.
    std::shared_ptr<const Store> en_calculo_;
};

// Shows the window held by ventana, creating it first when there is none
// (never opened, or closed by the user), with the main window's column s
// from the file archivo.
VentanaPozos* muestra_pozos(QPointer<VentanaPozos>& ventana, const Store& s,
                            const QString& archivo);

} // namespace tev
