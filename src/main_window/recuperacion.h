#pragma once
// Recuperacion: the recovery copy of the main window's column, and the
// question at the next start when a program did not end normally.
//
// While the column differs from its file (Form1::columna_modificada), a copy
// of it (project_file/copia_recuperacion.h) is kept in the folder given,
// normally "recuperacion" in the user's data folder, as
// columna-<pid>.recuperacion. The program holds the lock columna-<pid>.lock
// beside it while it runs, so that another program started meanwhile leaves
// the copy alone. The copy follows the column at most kRetrasoMs after a
// change: every key, button or pointer event of the program starts a
// single-shot timer unless it already runs, and only when it fires is the
// column compared with the copy and written when it differs; a pointer that
// never rests (every movement over the bed dialog captures its boxes)
// therefore cannot hold the copy back. The copy goes when the column is saved
// or replaced ("Nuevo", "Abrir") and when the program ends normally.
//
// A copy that cannot be written is reported once in the main window's status
// bar and tried again at the next change; the user goes on typing.

#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <string>

class QLockFile;

namespace tev {

class Form1;
struct Store;

class Recuperacion : public QObject {
    Q_OBJECT
  public:
    static constexpr int kRetrasoMs = 2000;
    static constexpr const char* kTituloPregunta = "Recuperar columna";

    // "recuperacion" in QStandardPaths::AppDataLocation.
    static QString carpeta_del_usuario();

    // Takes the lock of this program and starts following the column of
    // ventana, whose store is s.
    Recuperacion(Form1& ventana, Store& s, QString carpeta = carpeta_del_usuario());
    // The normal end: the copy removed and the lock released.
    ~Recuperacion() override;
    Recuperacion(const Recuperacion&) = delete;
    Recuperacion& operator=(const Recuperacion&) = delete;

    // At start-up: every copy whose program is no longer running (its lock
    // free or stale) is read and offered in a question titled
    // kTituloPregunta, newest first, until one is recovered; the others stay
    // for the next start. "Descartar" removes the copy; a copy that cannot
    // be read is renamed aside with the suffix ".ilegible" and named in a
    // message, never removed. Locks left without a copy by programs that
    // are no longer running are removed.
    void ofrece_copias_dejadas();

    // Where this program keeps its copy.
    [[nodiscard]] QString ruta_copia() const;

  protected:
    bool eventFilter(QObject* objeto, QEvent* e) override;

  private:
    // Writes the copy when the column is modified and differs from it,
    // removes it when the column is not modified.
    void sigue_la_columna();
    void quita_copia();
    void falla(const QString& razon);
    // Offers one left copy; true when it was recovered.
    bool ofrece(const QString& ruta);
    void aparta(const QString& ruta, const QString& motivo);

    Form1& ventana_;
    Store& s_;
    QString carpeta_;
    std::int64_t pid_;
    std::unique_ptr<QLockFile> cerrojo_;
    QTimer temporizador_;
    QString ruta_original_;             // the column's file; empty when it has none
    std::int64_t ultimo_cambio_ms_ = 0; // ms since 1970 UTC, of the last event before a write
    bool copia_propia_ = false;         // ruta_copia() holds this program's copy
    std::string csv_copiado_;           // the column as the copy holds it
    QString ruta_copiada_;
    bool fallo_avisado_ = false;
    bool preguntando_ = false;
};

} // namespace tev
