#include "main_window/recuperacion.h"

#include "main_window/com_file.h"
#include "main_window/form1.h"
#include "project_file/archivos.h"
#include "project_file/columna.h"
#include "project_file/copia_recuperacion.h"
#include "project_file/csv_columna.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QLockFile>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>

#include <utility>

namespace tev {

namespace {

const QString kPrefijo = "columna-";
const QString kExtension = ".recuperacion";
// Room for the first line's long path besides the largest column.
constexpr std::uintmax_t kTamanoMaximoCopia = kTamanoMaximoArchivo + std::uintmax_t{64} * 1024;

QString ruta_de_copia(const QString& carpeta, std::int64_t pid)
{
    return carpeta + '/' + kPrefijo + QString::number(pid) + kExtension;
}

QString ruta_de_cerrojo(const QString& carpeta, std::int64_t pid)
{
    return carpeta + '/' + kPrefijo + QString::number(pid) + ".lock";
}

QString entre_comillas(const QString& t)
{
    return QString::fromUtf8("«") + t + QString::fromUtf8("»");
}

// "jueves 10 de diciembre de 2026, 13:45:12", local time.
QString fecha_y_hora(std::int64_t ms)
{
    return QLocale(QLocale::Spanish, QLocale::Spain)
        .toString(QDateTime::fromMSecsSinceEpoch(ms), "dddd d 'de' MMMM 'de' yyyy, HH:mm:ss");
}

// The events by which the user changes the column.
bool es_de_usuario(QEvent::Type t)
{
    switch (t) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::Drop:
    case QEvent::InputMethod:
        return true;
    default:
        return false;
    }
}

} // namespace

QString Recuperacion::carpeta_del_usuario()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/recuperacion";
}

Recuperacion::Recuperacion(Form1& ventana, Store& s, QString carpeta)
    : ventana_(ventana), s_(s), carpeta_(std::move(carpeta)),
      pid_(QCoreApplication::applicationPid())
{
    // A folder that cannot be made shows up as the first copy that fails.
    QDir().mkpath(carpeta_);
    cerrojo_ = std::make_unique<QLockFile>(ruta_de_cerrojo(carpeta_, pid_));
    // Stale only when its program is no longer running, however old.
    cerrojo_->setStaleLockTime(0);
    cerrojo_->tryLock(0);

    temporizador_.setSingleShot(true);
    temporizador_.setInterval(kRetrasoMs);
    connect(&temporizador_, &QTimer::timeout, this, &Recuperacion::sigue_la_columna);
    connect(&ventana_, &Form1::guardada, this, [this](const QString& ruta) {
        ruta_original_ = ruta;
        quita_copia();
    });
    qApp->installEventFilter(this);
}

Recuperacion::~Recuperacion()
{
    quita_copia();
}

QString Recuperacion::ruta_copia() const
{
    return ruta_de_copia(carpeta_, pid_);
}

bool Recuperacion::eventFilter(QObject* objeto, QEvent* e)
{
    if (es_de_usuario(e->type())) {
        ultimo_cambio_ms_ = QDateTime::currentMSecsSinceEpoch();
        if (!temporizador_.isActive()) temporizador_.start();
    }
    return QObject::eventFilter(objeto, e);
}

void Recuperacion::sigue_la_columna()
{
    // A left copy may have this program's name (a process id used again):
    // it is not touched before it has been offered.
    if (preguntando_) return;
    if (!ventana_.columna_modificada()) {
        quita_copia();
        return;
    }
    const EscrituraColumna csv = escribe_csv(s_);
    if (!csv.ok) {
        falla(QString::fromStdString(csv.error));
        return;
    }
    if (copia_propia_ && csv.bytes == csv_copiado_ && ruta_copiada_ == ruta_original_) return;
    // Made again if it went while the program runs.
    QDir().mkpath(carpeta_);
    const DatosCopia datos{pid_, ultimo_cambio_ms_, ruta_original_.toStdString()};
    const std::string fallo =
        guarda_archivo(ruta_copia().toStdString(), cabecera_copia(datos) + csv.bytes);
    if (!fallo.empty()) {
        // Tried again at the next change.
        falla(QString::fromStdString(fallo));
        return;
    }
    copia_propia_ = true;
    csv_copiado_ = csv.bytes;
    ruta_copiada_ = ruta_original_;
    if (fallo_avisado_) {
        ventana_.StatusBar1->clearMessage();
        fallo_avisado_ = false;
    }
}

void Recuperacion::quita_copia()
{
    if (!copia_propia_) return;
    QFile::remove(ruta_copia());
    copia_propia_ = false;
    csv_copiado_.clear();
}

void Recuperacion::falla(const QString& razon)
{
    if (fallo_avisado_) return;
    fallo_avisado_ = true;
    ventana_.StatusBar1->showMessage("Sin copia de recuperación: " + razon);
}

void Recuperacion::ofrece_copias_dejadas()
{
    QDir carpeta(carpeta_);
    const QFileInfoList copias =
        carpeta.entryInfoList({kPrefijo + '*' + kExtension}, QDir::Files, QDir::Time);
    for (const QFileInfo& copia : copias) {
        if (ofrece(copia.filePath())) break;
    }
    // The locks of programs that ended without a copy to leave.
    for (const QFileInfo& cerrojo : carpeta.entryInfoList({kPrefijo + "*.lock"}, QDir::Files)) {
        const QString copia = cerrojo.path() + '/' + cerrojo.completeBaseName() + kExtension;
        if (cerrojo.filePath() == ruta_de_cerrojo(carpeta_, pid_) || QFileInfo::exists(copia))
            continue;
        QLockFile dejado(cerrojo.filePath());
        dejado.setStaleLockTime(0);
        if (dejado.tryLock(0)) dejado.unlock();
    }
}

bool Recuperacion::ofrece(const QString& ruta)
{
    const QString nombre = QFileInfo(ruta).fileName();
    bool es_numero = false;
    const std::int64_t pid =
        nombre.mid(kPrefijo.size(), nombre.size() - kPrefijo.size() - kExtension.size())
            .toLongLong(&es_numero);
    if (!es_numero) return false;
    // Held while the question is up, so that a program started meanwhile
    // does not offer the same copy. This program's own pid can only be on a
    // copy left by an earlier program: nothing has been written yet.
    QLockFile cerrojo(ruta_de_cerrojo(carpeta_, pid));
    cerrojo.setStaleLockTime(0);
    if (pid != pid_ && !cerrojo.tryLock(0)) return false; // its program is running

    std::string bytes;
    std::string razon;
    if (!lee_archivo_entero(ruta.toStdString(), kTamanoMaximoCopia, "una copia de recuperación",
                            bytes, razon)) {
        aparta(ruta, "No se pudo leer la copia de recuperación " + entre_comillas(ruta) + ": " +
                         QString::fromStdString(razon));
        return false;
    }
    const LecturaCopia copia = lee_copia(bytes, ruta.toStdString());
    if (!copia.ok) {
        aparta(ruta, QString::fromStdString(copia.error));
        return false;
    }

    const QString original = QString::fromStdString(copia.datos.ruta_original);
    const QString texto =
        QString("TEVARRO se cerró sin salvar los cambios de %1.\n"
                "Último cambio: %2.\n\n"
                "«Recuperar» muestra la columna como estaba; «Descartar» borra la copia.")
            .arg(original.isEmpty() ? QString("la columna sin nombre") : entre_comillas(original),
                 fecha_y_hora(copia.datos.ultimo_cambio_ms));
    QMessageBox caja(QMessageBox::Question, kTituloPregunta, texto, QMessageBox::NoButton,
                     &ventana_);
    QPushButton* recuperar = caja.addButton("Recuperar", QMessageBox::AcceptRole);
    QPushButton* descartar = caja.addButton("Descartar", QMessageBox::DestructiveRole);
    caja.setDefaultButton(recuperar);
    preguntando_ = true;
    caja.exec();
    preguntando_ = false;

    if (caja.clickedButton() == descartar) {
        QFile::remove(ruta);
        return false;
    }
    if (caja.clickedButton() != recuperar) return false;
    LecturaColumna columna;
    columna.ok = true;
    columna.bancos = copia.bancos;
    columna.forma = copia.forma;
    ventana_.recupera_columna(columna, original);
    ruta_original_ = original;
    ultimo_cambio_ms_ = copia.datos.ultimo_cambio_ms;
    // This program's copy first: the left one goes only once the column is
    // safe in it.
    sigue_la_columna();
    if (copia_propia_ && ruta != ruta_copia()) QFile::remove(ruta);
    return true;
}

void Recuperacion::aparta(const QString& ruta, const QString& motivo)
{
    QString destino = ruta + ".ilegible";
    for (int n = 2; QFileInfo::exists(destino); ++n)
        destino = ruta + ".ilegible-" + QString::number(n);
    const QString final =
        QFile::rename(ruta, destino)
            ? "Se dejó aparte, sin borrarla, como " + entre_comillas(destino) + "."
            : "No se pudo dejar aparte: sigue en su sitio.";
    ventana_.avisa(kTituloPregunta, motivo + "\n\n" + final);
}

} // namespace tev
