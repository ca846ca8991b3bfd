#pragma once
// "Guardar imagen…": the context menu of every window that shows a picture
// (the column view, the curve window, the history window). The entry asks for
// a PNG, SVG or PDF file and has the window save its picture there; a failure
// is told in a warning.

#include <QObject>
#include <QString>

#include <functional>

class QAction;
class QMenu;
class QPoint;
class QWidget;

namespace tev {

// Asks where to save a picture. A name typed without an extension takes the
// chosen filter's. Empty when the dialog was cancelled.
QString pide_ruta_de_imagen(QWidget* padre);

class GuardarImagen : public QObject {
    Q_OBJECT
  public:
    // Saves the window's picture at ruta, PNG, SVG or PDF by the extension.
    // False, with the reason in Spanish, on failure.
    using Guarda = std::function<bool(const QString& ruta, QString* error)>;

    // The menu of ventana, with its one entry (objectName
    // "guardar_imagen_act"); a failure shows a warning titled titulo.
    GuardarImagen(QWidget* ventana, const QString& titulo, Guarda guarda);

    // Opens the menu at a point of the screen (the window's context-menu
    // event decides whether it is offered).
    void ofrece(const QPoint& en_pantalla);
    [[nodiscard]] QAction* accion() const { return accion_; }
    // The menu, for the window's own entries.
    [[nodiscard]] QMenu* menu() const { return menu_; }
    // One more entry that saves another picture of the window, asked for and
    // told as "Guardar imagen…" does, right after the entries before it.
    QAction* anade_guardado(const QString& texto, const char* nombre, Guarda guarda);

    // How the file name is asked for (empty: nothing is saved) and how a
    // failure reaches the user; tests put their own in their place.
    std::function<QString()> pide_ruta;
    std::function<void(const QString& texto)> avisa;

  public slots:
    void guardar_imagen_Click();

  private:
    void guarda_con(const Guarda& guarda);
    Guarda guarda_;
    QMenu* menu_ = nullptr;
    QAction* accion_ = nullptr;
    QAction* ultimo_guardado_ = nullptr; // the last saving entry, where the next one goes
};

} // namespace tev
