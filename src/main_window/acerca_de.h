#pragma once
// The about window: the program's title over a picture of sedimentary layers,
// what the program does, its version and what it is built on, and "OK".

#include <QDialog>

class QLabel;
class QPainter;
class QPushButton;

namespace tev {

class AcercaDe : public QDialog {
    Q_OBJECT
  public:
    explicit AcercaDe(QWidget* parent = nullptr);

    QLabel* Titulo = nullptr;
    QLabel* Label1 = nullptr;        // what the program does
    QLabel* Label2 = nullptr;        // its version
    QLabel* Label3 = nullptr;        // what it is built on
    QPushButton* Command1 = nullptr; // "OK"

  public slots:
    // Hides this window and brings the main window forward.
    void Command1_Click();

  protected:
    void paintEvent(QPaintEvent* e) override;
};

// The background picture of the about window, filling r: a sea over layers
// of sediment and a small column of beds, dark enough under the yellow title
// and the light texts.
void pinta_fondo_acerca_de(QPainter& p, const QRect& r);

} // namespace tev
