#pragma once
// LineaDeAvisos: one line of a status bar that tells what is wrong with the
// column (the beds computed without a rock, model/bancos_sin_roca.h). It
// shows the first text, and how many follow, cut with "…" where the bar is
// narrower; its tool tip holds every text, one a line. Not a label: the bar's
// labels are its panels.

#include <QString>
#include <QStringList>
#include <QWidget>

namespace tev {

class LineaDeAvisos : public QWidget {
    Q_OBJECT
  public:
    explicit LineaDeAvisos(QWidget* padre = nullptr);

    // The texts to tell, the first one shown; none: an empty line.
    void pon_avisos(const QStringList& avisos);
    // The line as it reads before any cut: "" with no text, the text with one,
    // "<first> (y 2 avisos más)" with three.
    [[nodiscard]] QString texto() const { return texto_; }
    [[nodiscard]] QStringList avisos() const { return avisos_; }

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* e) override;

  private:
    QStringList avisos_;
    QString texto_;
};

} // namespace tev
