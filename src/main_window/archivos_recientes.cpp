#include "main_window/archivos_recientes.h"

#include "window_helpers/preferencias.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

#include <utility>

namespace tev {

namespace {

// "&3 neuquen.tev  (~/pozos)": the number is the entry's key; the folder,
// shortened in its middle when long, tells apart files of the same name.
QString texto_de_entrada(int numero, const QString& ruta)
{
    const QFileInfo info(ruta);
    QString carpeta = QDir::toNativeSeparators(info.absolutePath());
    const QString casa = QDir::homePath();
    if (carpeta == casa || carpeta.startsWith(casa + '/')) carpeta = '~' + carpeta.mid(casa.size());
    constexpr int kLargo = 50;
    if (carpeta.size() > kLargo)
        carpeta = carpeta.left(kLargo / 2 - 1) + QString::fromUtf8("…") + carpeta.right(kLargo / 2);
    QString nombre = info.fileName();
    nombre.replace('&', "&&");
    carpeta.replace('&', "&&");
    return QString("&%1 %2  (%3)").arg(numero).arg(nombre, carpeta);
}

} // namespace

ArchivosRecientes::ArchivosRecientes(QWidget* padre) : QObject(padre)
{
    setObjectName("archivos_recientes");
    menu_ = new QMenu("Archivos recientes", padre);
    menu_->setObjectName("recientes_mnu");
    menu_->setToolTipsVisible(true);
    // With what another program running at once wrote meanwhile.
    connect(menu_, &QMenu::aboutToShow, this, &ArchivosRecientes::rellena_menu);
    rellena_menu();
    temporizador_.setSingleShot(true);
    temporizador_.setInterval(0);
    connect(&temporizador_, &QTimer::timeout, this, [this] {
        if (!pendiente_.isEmpty()) anota(std::exchange(pendiente_, QString()));
    });
}

ArchivosRecientes::~ArchivosRecientes()
{
    if (!pendiente_.isEmpty()) anota(pendiente_);
}

void ArchivosRecientes::anota_despues(const QString& ruta)
{
    pendiente_ = ruta;
    temporizador_.start();
}

QStringList ArchivosRecientes::lista() const
{
    const QSettings p = preferencias();
    QStringList l = p.value(kClave).toStringList();
    l.removeAll(QString());
    l.removeDuplicates();
    while (l.size() > kMaximo)
        l.removeLast();
    return l;
}

void ArchivosRecientes::guarda(const QStringList& lista)
{
    // On the disk at once: the program may end in any way afterwards.
    QSettings p = preferencias();
    p.setValue(kClave, lista);
    p.sync();
}

void ArchivosRecientes::anota(const QString& ruta)
{
    const QString absoluta = QFileInfo(ruta).absoluteFilePath();
    // Opening the same file again (a benchmark does it thousands of times)
    // costs no read or write of the preferences.
    if (absoluta == ultimo_) return;
    ultimo_ = absoluta;
    QStringList l = lista();
    l.removeAll(absoluta);
    l.prepend(absoluta);
    while (l.size() > kMaximo)
        l.removeLast();
    guarda(l);
    rellena_menu();
}

void ArchivosRecientes::quita(const QString& ruta)
{
    QStringList l = lista();
    l.removeAll(ruta);
    guarda(l);
    if (ruta == ultimo_) ultimo_.clear();
    rellena_menu();
}

void ArchivosRecientes::vacia()
{
    guarda({});
    ultimo_.clear();
    rellena_menu();
}

void ArchivosRecientes::elige(const QString& ruta)
{
    if (!QFileInfo::exists(ruta)) {
        quita(ruta);
        if (avisa)
            avisa(QString("El archivo «%1» ya no existe; se quitó de la lista de archivos "
                          "recientes.")
                      .arg(ruta));
        return;
    }
    emit elegido(ruta);
}

void ArchivosRecientes::rellena_menu()
{
    // Deleted later, nameless meanwhile: the entry being chosen may be the
    // one that asks for this.
    for (QAction* a : menu_->actions()) {
        menu_->removeAction(a);
        a->setObjectName(QString());
        a->deleteLater();
    }
    const QStringList l = lista();
    if (l.isEmpty()) {
        QAction* vacia = menu_->addAction("(ninguno)");
        vacia->setObjectName("ningun_reciente");
        vacia->setEnabled(false);
        return;
    }
    for (int i = 0; i < l.size(); ++i) {
        const QString& ruta = l[i];
        QAction* a = menu_->addAction(texto_de_entrada(i + 1, ruta));
        a->setObjectName(QString("reciente_%1").arg(i + 1));
        a->setToolTip(QDir::toNativeSeparators(ruta));
        a->setData(ruta);
        connect(a, &QAction::triggered, this, [this, ruta] { elige(ruta); });
    }
    menu_->addSeparator();
    QAction* vaciar = menu_->addAction("Vaciar la lista");
    vaciar->setObjectName("vaciar_recientes");
    connect(vaciar, &QAction::triggered, this, &ArchivosRecientes::vacia);
}

} // namespace tev
