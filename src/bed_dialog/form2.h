#pragma once
// Form2: the bed dialog. It shows bed banco_actual of the store; every
// pointer movement over its own surface captures all its boxes into that bed.
// The scroll bar moves from bed to bed (one step past the last adds a bed),
// and "Terminar" computes the column, hides the dialog and redraws the column.
//
// What the user typed is never dropped: the bed being left is captured before
// the scroll bar shows another bed and before "Terminar" computes, however
// they were triggered. Moves of the scroll bar made by the dialog itself
// capture nothing.

#include "model/colores.h"

#include <QWidget>

#include <cstdint>
#include <map>

class QCloseEvent;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QStatusBar;

namespace tev {

class LineaDeAvisos;
class PanelDeEstado;

struct Store;

class Form2 : public QWidget {
    Q_OBJECT
  public:
    // A top-level window without owner; closing it through its frame destroys
    // it. Creation fills it from bed banco_actual.
    explicit Form2(Store& s);

    // Fills the controls from bed banco_actual (no capture). A box whose
    // text that bed could not take whole shows that text again, marked.
    void muestra_banco();
    // Captures the bed shown when the dialog holds something the store has
    // not taken yet (typing, or the base suggested for a new bed). The main
    // window calls it before every command that reads or replaces the column.
    void captura_pendiente();
    [[nodiscard]] bool hay_pendiente() const { return pendiente_; }
    // Refills the dialog after the column changed under it: the boxes, the
    // bed number and the status panels.
    void rellena();
    // One capture of every box into bed banco_actual.
    void Form_MouseMove();
    void muestra_estado();
    void HScroll1_Change();
    void Command2_Click();

    // The lithology list: the program's six, then the user's rocks the store
    // knows (after a separator); the text shown stays.
    void pon_litologias_usuario();
    // The program's entries of the list: the five and "PORCENTUAL".
    static constexpr int kEntradasDelPrograma = 6;

    // Text of status panel 1..3.
    [[nodiscard]] QString panel(int i) const;

  signals:
    // "Terminar" was pressed and the bed shown is captured: the main window
    // computes the column, plots it and redraws it; the dialog then hides.
    void terminado();
    // A capture, or a bed added by the scroll bar: the store may hold
    // another column than before.
    void capturado();

  public:
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* Label12 = nullptr;
    QLabel* Label13 = nullptr;
    QLabel* Label14 = nullptr;
    QLabel* Label15 = nullptr;
    QLabel* Label16 = nullptr;
    QLabel* Label17 = nullptr;
    QLabel* Label18 = nullptr;
    QLabel* Label19 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLineEdit* Text3 = nullptr;
    QLineEdit* Text4 = nullptr;
    QLineEdit* Text5 = nullptr;
    QLineEdit* Text6 = nullptr;
    QLineEdit* Text7 = nullptr;
    QLineEdit* Text8 = nullptr;
    QLineEdit* Text9 = nullptr;
    QLineEdit* Text10 = nullptr;
    QLineEdit* Text11 = nullptr;
    QLineEdit* Text12 = nullptr;
    QComboBox* Combo1 = nullptr;
    QComboBox* Combo2 = nullptr;
    QScrollBar* HScroll1 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QWidget* Shape1 = nullptr;
    QPushButton* Command2 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    // After the three panels: what makes the bed shown one computed without
    // a rock (model/bancos_sin_roca.h).
    LineaDeAvisos* avisos_sin_roca = nullptr;

  protected:
    void closeEvent(QCloseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    bool eventFilter(QObject* objeto, QEvent* e) override;

  private:
    void crea_controles();
    void HScroll1_valor_cambiado();
    // The capture proper, into bed b.
    void captura(int b);
    // Whole-text reading of a box into a field of bed b; a text that is not a
    // number marks the box and leaves the field as it was.
    void lee_casilla(int b, QLineEdit* casilla, float& campo);
    // Leading-number reading of a box into a field of bed b. A text the
    // number does not take whole is stored as read and marked, saying how it
    // was read; a value beyond a single is refused, the field kept.
    void lee_inicial(int b, QLineEdit* casilla, float& campo);
    // Marks of bed b's boxes: the text the bed could not take and why.
    void marca(int b, QLineEdit* casilla, const QString& motivo);
    void desmarca(int b, QLineEdit* casilla);
    static void pinta_marca(QLineEdit* casilla, const QString& motivo);
    // The marks of a bed computed without a rock: the lithology box, the
    // percentage frame, the porosity and coefficient boxes (with what a box
    // could not take, when it has both), and the status bar's line. They
    // follow bed b as the store holds it.
    void marca_sin_roca(int b);
    // The percentage boxes are open exactly while Combo1 says "PORCENTUAL".
    void habilita_porcentajes();
    void pinta_muestra(int32_t color);

    struct Marca {
        QString texto;
        QString motivo;
    };

    Store& s_;
    std::map<int, std::map<QLineEdit*, Marca>> marcas_; // by bed
    bool pendiente_ = false;
    PanelDeEstado* paneles_[3] = {nullptr, nullptr, nullptr};
    int banco_mostrado_ = 1; // the bed whose values the boxes hold
    int moviendo_barra_ = 0; // > 0 while the dialog itself moves the scroll bar
};

} // namespace tev
