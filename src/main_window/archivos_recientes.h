#pragma once
// ArchivosRecientes: "Archivo → Archivos recientes", the last kMaximo files
// opened or saved, newest first. The list is a preference of the user, kept
// by QSettings (organisation and application "tevarro": on Linux
// ~/.config/tevarro/tevarro.conf, key kClave), written to the disk right
// after the command that opened or saved the file (never within it: the
// write and its flush to the disk cost several times what opening a column
// does) and read again whenever the menu opens, so two programs running at
// once keep each other's files.
// An entry whose file no longer exists is said so and leaves the list.

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>

class QMenu;
class QWidget;

namespace tev {

class ArchivosRecientes : public QObject {
    Q_OBJECT
  public:
    static constexpr int kMaximo = 8;
    static constexpr const char* kClave = "archivos_recientes";

    // The submenu "Archivos recientes" (objectName "recientes_mnu"); its
    // entries are "reciente_1" to "reciente_8", then "vaciar_recientes".
    explicit ArchivosRecientes(QWidget* padre);
    // A file still to be noted is noted.
    ~ArchivosRecientes() override;
    ArchivosRecientes(const ArchivosRecientes&) = delete;
    ArchivosRecientes& operator=(const ArchivosRecientes&) = delete;

    [[nodiscard]] QMenu* menu() const { return menu_; }

    // ruta (made absolute) goes to the top of the list, once; the ninth
    // file falls off.
    void anota(const QString& ruta);
    // The same once the event loop is back (the last of several files asked
    // for meanwhile).
    void anota_despues(const QString& ruta);
    // The list as kept, newest first.
    [[nodiscard]] QStringList lista() const;
    void quita(const QString& ruta);
    void vacia();
    // What choosing the entry of ruta does: a file that exists is handed on
    // by elegido; one that does not is removed and reported by avisa.
    void elige(const QString& ruta);

    // How the missing file is reported (the main window's message box).
    std::function<void(const QString& texto)> avisa;

  signals:
    void elegido(const QString& ruta);

  private:
    void guarda(const QStringList& lista);
    // Rebuilt from the kept list each time the menu is about to show.
    void rellena_menu();

    QMenu* menu_ = nullptr;
    QString ultimo_;    // the file last noted: noting it again writes nothing
    QString pendiente_; // what anota_despues will note
    QTimer temporizador_;
};

} // namespace tev
