#pragma once
// Form1: the main window. Its handlers are thin: each calls the part of the
// program that does the work.

#include "bed_dialog/form2.h"
#include "compare_window/ventana_pozos.h"
#include "curve_window/form4.h"
#include "help_window/ventana_ayuda.h"
#include "history_window/form5.h"
#include "lithology_dialog/dialogo_litologias.h"
#include "main_window/acerca_de.h"
#include "model/rangos.h"
#include "model_dialog/dialogo_modelo.h"
#include "stretch_window/ventana_estiramiento.h"
#include "table_window/tabla_columna.h"
#include "uncertainty_dialog/dialogo_incertidumbre.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QPrinter;
class QPushButton;
class QStatusBar;

namespace tev {

class ArchivosRecientes;
class ComFile;

class VistaColumna;
struct LecturaColumna;
struct RegistroBanco;
struct Store;

class Form1 : public QMainWindow {
    Q_OBJECT
  public:
    explicit Form1(Store& s, QWidget* parent = nullptr);
    ~Form1() override;

    // The file dialog layer; tests put their own in its place.
    void pon_com_file(std::unique_ptr<ComFile> dialogo);
    ComFile& com_file() { return *com_file_; }

    // How messages reach the user (a message box); tests record them instead.
    std::function<void(const QString& titulo, const QString& texto)> avisa;

    // The question before a modified column would be replaced or lost.
    enum class Respuesta { guardar, descartar, cancelar };
    std::function<Respuesta(const QString& texto)> pregunta;

    // True when the column differs from what was last opened, saved or
    // started anew: saving it would write something else.
    [[nodiscard]] bool columna_modificada() const;

    VistaColumna* Picture1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command6 = nullptr;
    QPushButton* Command7 = nullptr;
    // "Ver toda la columna", under the tools (the view's own action, key Home).
    QPushButton* ver_toda_btn = nullptr;
    [[nodiscard]] Form4* curvas_ventana() const { return form4_; }
    // The burial-history window, while it is open.
    [[nodiscard]] Form5* historia_ventana() const { return form5_; }
    // The window "Subsidencia y estiramiento", while it is open.
    [[nodiscard]] VentanaEstiramiento* estiramiento_ventana() const { return estiramiento_; }
    // "Comparar pozos", while it is open.
    [[nodiscard]] VentanaPozos* pozos_ventana() const { return pozos_; }
    [[nodiscard]] DialogoIncertidumbre* incertidumbre_dialogo() const { return incertidumbre_; }
    // The bed dialog, while it exists.
    [[nodiscard]] Form2* dialogo_bancos() const { return form2_; }
    // The column table, while it is open.
    [[nodiscard]] TablaColumna* tabla_ventana() const { return tabla_; }
    // The about window, once "Acerca de TEVARRO…" has shown it.
    [[nodiscard]] AcercaDe* acerca_de() const { return acerca_; }
    // The dialog "Modelo…", once it has been opened.
    [[nodiscard]] DialogoModelo* modelo_dialogo() const { return modelo_; }
    // The manual, while it is open.
    [[nodiscard]] VentanaAyuda* ayuda_ventana() const { return ayuda_; }
    // "Litologías…", while it is open.
    [[nodiscard]] DialogoLitologias* litologias_ventana() const { return litologias_; }
    // The file of the user's rocks: litologias.csv in the user's data folder
    // (QStandardPaths::AppDataLocation).
    static QString archivo_de_litologias();
    // "Archivo → Archivos recientes".
    [[nodiscard]] ArchivosRecientes* archivos_recientes() const { return recientes_; }

    // How "Imprimir…" chooses the printer (Qt's print dialog); true to print.
    // Tests set up a PDF file instead.
    std::function<bool(QPrinter& impresora)> pide_impresora;

    void Form_Load();
    // Reads the project file at ruta, computes it and draws it: what "Abrir"
    // does once a file is chosen, and what a file named at start-up gets.
    // A file that fails is reported by avisa, naming it, and the column stays
    // as it was. True when the column was read.
    bool abre_archivo(const QString& ruta);
    void draw();
    // Decompaction, loads and plot; a failure is reported and the column
    // stays as the computation left it. An open history window follows.
    void calcula_y_dibuja_curvas();
    // A column recovered after a crash: shown computed as "Abrir" shows a
    // file, and modified until it is saved.
    void recupera_columna(const LecturaColumna& copia, const QString& original);

  signals:
    // The column as it stands is the one in the file at ruta (empty: the new
    // or empty column, which has no file).
    void guardada(const QString& ruta);
    // The column may have changed (a capture, "Abrir", "Nuevo", the table)
    // or has just been computed: every window showing it follows.
    void columna_cambiada();

  public slots:
    void nuevo_mnu_Click();
    void abrir_mnu_Click();
    void salvar_mnu_Click();
    void exit_mnu_Click();
    void paste_mnu_Click();
    void modificar_mnu_Click();
    void dibuja_mnu_Click();
    void acerca_mnu_Click();
    void historia_mnu_Click();
    void estiramiento_mnu_Click();
    // "Comparar pozos…": the main column beside the wells of other files; the
    // window follows the column from then on.
    void pozos_mnu_Click();
    // The figure of the active window (the curve window, the history window,
    // the comparison of wells; the column view otherwise) on one page.
    void imprimir_mnu_Click();
    void manual_mnu_Click();
    // An entry of "Archivos recientes" whose file exists: opened as "Abrir"
    // opens a chosen file, after the same question.
    void abre_reciente(const QString& ruta);
    void tabla_mnu_Click();
    // "Incertidumbre…": the dialog of the uncertainty settings; accepted, the
    // open history and stretching windows compute their bands anew.
    void incertidumbre_mnu_Click();
    // "Análisis → Modelo…": the sea-level curve of every window.
    void modelo_mnu_Click();
    // "Litologías…": the user's rocks, in a modal dialog; accepted, they are
    // saved, and the column is computed again where a bed names one.
    void litologias_mnu_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command6_Click();
    void Command7_Click();
    void Picture1_MouseDown(int Button, int Shift, float X, float Y);
    void Picture1_MouseMove(int Button, int Shift, float X, float Y);
    void Picture1_MouseUp(int Button, int Shift, float X, float Y);

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    void crea_menus();
    // "Análisis", after "Dibuja": the windows that show the column's numbers.
    void crea_menu_analisis();
    // The table changed the column: computed as "Terminar" computes it, and
    // every open window redrawn; a failure is told in the table.
    void calcula_tras_la_tabla();
    // The user's rocks from their file into the store; a file that cannot be
    // read is told in the status bar and none are known.
    void carga_litologias_usuario();
    // The store knows these rocks from now on: saved, and every window
    // follows (the beds' densities, the lists, the warnings).
    void pon_litologias_usuario(const std::vector<LitologiaUsuario>& rocas);
    // "Ayuda", the last menu of the bar.
    void crea_menu_ayuda();
    // Ctrl plus tecla for a file command, from any window of the program.
    static void con_atajo(QAction* a, Qt::Key tecla);
    void crea_recientes_e_imprimir(QMenu* file_mnu);
    void crea_entrada_del_manual(QMenu* ayuda_mnu);
    void crea_controles();
    // Pictures of the tool buttons and the mouse tools of the column view.
    void pon_herramientas();
    // Shows the single bed dialog, made afresh when it was closed, on bed
    // banco_actual.
    void muestra_dialogo_bancos();
    // What the bed dialog holds and the store has not taken yet goes in.
    void captura_dialogo();
    // Asks before a modified column is replaced or lost; true when the
    // command may go on (saved, or the user chose to discard).
    bool puede_dejar_la_columna();
    // "Salvar" proper; true when the file was written.
    bool salva_con_dialogo();
    // The column as it stands is the one on disk at ruta (or the empty one).
    void marca_como_guardada(const QString& ruta = {});
    // A column replaced without being computed: the bed dialog and the column
    // view show it, and the open curve and history windows drop what they
    // showed of the one before.
    void muestra_sin_calcular();
    // A column just loaded, computed and drawn; an open bed dialog follows it.
    void muestra_columna_cargada();
    // The curve of the preferences put in force, and the status bar's line
    // that names it while it is not the program's table.
    void pon_linea_de_curva();
    // Another curve in force: the column computed again with it.
    void sigue_la_curva();

    Store& s_;
    std::unique_ptr<ComFile> com_file_;
    QPointer<Form4> form4_;
    QPointer<Form2> form2_;
    QPointer<AcercaDe> acerca_;
    QPointer<DialogoModelo> modelo_;
    std::string columna_guardada_; // the file bytes of the column last opened or saved
    // The beds' remarks then, which a project file does not hold: the column
    // table edits them.
    std::vector<std::string> notas_guardadas_;
    // The beds' own grain densities then (kg/m3, 0 for none), which the table
    // edits and a project file does not hold either.
    std::vector<float> densidades_guardadas_;
    // The beds' own uncertainty ranges then, which the table edits and a
    // project file does not hold either.
    std::vector<RangosBanco> rangos_guardados_;
    // The file the column was opened from or last saved to; empty for a new
    // column. "Salvar" proposes it.
    QString archivo_columna_;
    QPointer<Form5> form5_;
    QPointer<VentanaEstiramiento> estiramiento_;
    QPointer<VentanaPozos> pozos_;
    QPointer<VentanaAyuda> ayuda_;
    ArchivosRecientes* recientes_ = nullptr;
    QPointer<TablaColumna> tabla_;
    QPointer<DialogoIncertidumbre> incertidumbre_;
    QPointer<DialogoLitologias> litologias_;
};

} // namespace tev
