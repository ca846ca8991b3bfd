// The recovery copy of a modified column and the question at the next start,
// with a data folder of the test's own (XDG_DATA_HOME in a temporary folder).

#include "main_window/recuperacion.h"

#include "main_window/ventana_de_prueba.h"
#include "project_file/copia_recuperacion.h"
#include "project_file/formatos.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QLockFile>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace tev {
namespace {

using prueba::Ventana;

// The save dialog replaced: it answers with a preset path and keeps the file
// it was offered.
class DialogoQueAnota : public ComFile {
  public:
    QString respuesta;
    QStringList ofrecidos;

  protected:
    QString pide_abrir(QWidget*) override { return respuesta; }
    QString pide_salvar(QWidget*) override { return ofrecidos << ArchivoPropuesto, respuesta; }
};

struct Carpeta {
    QTemporaryDir tmp;
    QByteArray antes = qgetenv("XDG_DATA_HOME");
    Carpeta() { qputenv("XDG_DATA_HOME", tmp.path().toUtf8()); }
    ~Carpeta() { qputenv("XDG_DATA_HOME", antes); }
    [[nodiscard]] QString copias() const { return Recuperacion::carpeta_del_usuario(); }
};

// Qt drops a movement to where the pointer already is.
void mueve_sobre(QWidget* w)
{
    static int veces = 0;
    QTest::mouseMove(w, QPoint(100, 85 + ++veces % 2));
}

// "Nuevo", a name typed in the bed dialog and the pointer over the dialog.
Form2* escribe_un_nombre(Ventana& v, const QString& nombre)
{
    v.menu("nuevo_mnu");
    Form2* d = v.f->dialogo_bancos();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(d));
    // The pointer goes to the window under it: the main window out of the way.
    v.f->move(d->frameGeometry().topRight() + QPoint(50, 0));
    QTest::keyClicks(d->Text7, nombre);
    mueve_sobre(d);
    return d;
}

// A process id no program has any more.
qint64 pid_muerto()
{
    QProcess p;
    p.start("true", QStringList{});
    EXPECT_TRUE(p.waitForStarted(5000));
    const qint64 pid = p.processId();
    p.waitForFinished(5000);
    return pid;
}

// Qt's QTRY_ macros report to Qt's own test log, which a GoogleTest binary
// never reads: the same wait, with an answer GoogleTest checks. Up to the
// copy's delay and two seconds more.
template <typename Condicion> bool llega(Condicion condicion)
{
    return QTest::qWaitFor(condicion, Recuperacion::kRetrasoMs + 2000);
}

QString ruta_de(const QString& carpeta, qint64 pid, const char* extension)
{
    return carpeta + "/columna-" + QString::number(pid) + extension;
}

bool escribe(const QString& ruta, const QByteArray& bytes)
{
    QFile f(ruta);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush();
}

// The copy a program killed while its column had two beds leaves, and the
// lock it held, as QLockFile writes one: pid, program, machine.
QByteArray deja_copia(const QString& carpeta, qint64 pid, const DatosCopia& datos)
{
    RegistroBanco a;
    a.nombre = "Lutitas grises";
    a.techo = 120;
    a.base = 300;
    a.edad_techo = 12;
    a.edad_base = 20;
    a.litologia = "Lutitas";
    a.porosidad = 0.63f;
    a.coef_porosidad = 0.51f;
    RegistroBanco b = a;
    b.nombre = "Arenas del Sur";
    b.techo = 0;
    b.base = 120;
    b.edad_techo = 0;
    b.edad_base = 12;
    Store s;
    carga_columna(s, {a, b});
    const EscrituraColumna w = escribe_copia(s, datos);
    EXPECT_TRUE(w.ok) << w.error;
    const QByteArray bytes = QByteArray::fromStdString(w.bytes);
    EXPECT_TRUE(QDir().mkpath(carpeta));
    EXPECT_TRUE(escribe(ruta_de(carpeta, pid, ".recuperacion"), bytes));
    return bytes;
}

// What a modal box shows, and the key it gets, once it is up.
struct Caja {
    QString titulo;
    QString texto;
    QString boton_por_omision;
    int vistas = 0;
};
void responde_con(Caja& caja, Qt::Key tecla)
{
    QTimer::singleShot(0, [&caja, tecla] {
        auto* m = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!m) return;
        ++caja.vistas;
        caja.titulo = m->windowTitle();
        caja.texto = m->text();
        if (m->defaultButton()) caja.boton_por_omision = m->defaultButton()->text();
        QTest::keyClick(m, tecla);
    });
}

TEST(Recuperacion, UnCambioDejaUnaCopiaQueSalvarQuita)
{
    Carpeta carpeta;
    ASSERT_TRUE(carpeta.copias().startsWith(carpeta.tmp.path()));
    Ventana v;
    Recuperacion r(*v.f, *v.s);
    ASSERT_TRUE(r.ruta_copia().startsWith(carpeta.copias()));
    Form2* d = escribe_un_nombre(v, "Arenas del Sur");
    ASSERT_TRUE(v.f->columna_modificada()) << d->hay_pendiente() << v.s->nombre[1];
    // Not at the event itself: after a pause.
    EXPECT_FALSE(QFileInfo::exists(r.ruta_copia()));
    ASSERT_TRUE(llega([&] { return QFileInfo::exists(r.ruta_copia()); }));

    const QByteArray bytes = prueba::bytes_de(r.ruta_copia());
    const LecturaCopia copia = lee_copia(bytes.toStdString(), "copia");
    ASSERT_TRUE(copia.ok) << copia.error;
    EXPECT_EQ(copia.datos.pid, QCoreApplication::applicationPid());
    EXPECT_EQ(copia.datos.ruta_original, "");
    EXPECT_LE(QDateTime::currentMSecsSinceEpoch() - copia.datos.ultimo_cambio_ms,
              Recuperacion::kRetrasoMs + 3000);
    ASSERT_EQ(copia.bancos.size(), 1U);
    EXPECT_EQ(copia.bancos[0].nombre, "Arenas del Sur");

    // A burst of changes, every one captured at once: the copy waits for a
    // pause and then holds the last of them.
    for (const QChar c : QString(" Norte")) {
        QTest::keyClicks(d->Text7, c);
        mueve_sobre(d);
    }
    ASSERT_FALSE(d->hay_pendiente());
    EXPECT_TRUE(prueba::bytes_de(r.ruta_copia()) == bytes) << "escrita durante los cambios";
    EXPECT_TRUE(
        llega([&] { return prueba::bytes_de(r.ruta_copia()).contains("Arenas del Sur Norte,"); }));

    const QString archivo = carpeta.tmp.filePath("arenas.tev");
    v.dialogo->respuesta = archivo;
    v.menu("salvar_mnu");
    EXPECT_TRUE(prueba::bytes_de(archivo).startsWith("Arenas del Sur Norte,"));
    EXPECT_FALSE(QFileInfo::exists(r.ruta_copia()));
}

TEST(Recuperacion, LaCopiaDeUnProgramaMuertoSeOfreceYEnterLaRecupera)
{
    Carpeta carpeta;
    const qint64 pid = pid_muerto();
    const QString original = carpeta.tmp.filePath("pozo, norte.tev");
    const QDateTime cuando(QDate(2026, 3, 5), QTime(9, 7, 30));
    deja_copia(carpeta.copias(), pid, {pid, cuando.toMSecsSinceEpoch(), original.toStdString()});
    const QString cerrojo = ruta_de(carpeta.copias(), pid, ".lock");
    ASSERT_TRUE(escribe(cerrojo, QByteArray::number(pid) + "\ntevarro\n" +
                                     QSysInfo::machineHostName().toUtf8() + "\n"));

    Ventana v;
    auto dialogo = std::make_unique<DialogoQueAnota>();
    DialogoQueAnota* anota = dialogo.get();
    v.f->pon_com_file(std::move(dialogo));
    Recuperacion r(*v.f, *v.s);
    Caja caja;
    responde_con(caja, Qt::Key_Return);
    r.ofrece_copias_dejadas();

    EXPECT_EQ(caja.vistas, 1);
    EXPECT_EQ(caja.titulo, "Recuperar columna");
    EXPECT_EQ(caja.boton_por_omision, "Recuperar");
    EXPECT_TRUE(caja.texto.contains(QString::fromUtf8("«") + original + QString::fromUtf8("»")))
        << caja.texto.toStdString();
    EXPECT_TRUE(caja.texto.contains("jueves 5 de marzo de 2026, 09:07:30"))
        << caja.texto.toStdString();

    // Shown computed, as "Abrir" shows a file, and modified.
    ASSERT_EQ(v.s->n_bancos, 2);
    EXPECT_EQ(v.s->nombre[1], "Lutitas grises");
    EXPECT_EQ(v.s->nombre[2], "Arenas del Sur");
    EXPECT_NE(v.f->curvas_ventana(), nullptr) << v.avisos.join("\n").toStdString();
    EXPECT_TRUE(v.f->columna_modificada());
    // The left copy and its lock are gone once this program's copy holds
    // the column, with its file and the time of its last change.
    EXPECT_FALSE(QFileInfo::exists(ruta_de(carpeta.copias(), pid, ".recuperacion")));
    EXPECT_FALSE(QFileInfo::exists(cerrojo));
    const LecturaCopia propia = lee_copia(prueba::bytes_de(r.ruta_copia()).toStdString(), "");
    ASSERT_TRUE(propia.ok) << propia.error;
    EXPECT_EQ(propia.datos.ruta_original, original.toStdString());
    EXPECT_EQ(propia.datos.ultimo_cambio_ms, cuando.toMSecsSinceEpoch());
    EXPECT_EQ(propia.bancos.size(), 2U);

    // "Salvar" offers the column's file, and again once it is saved there.
    anota->respuesta = original;
    v.menu("salvar_mnu");
    EXPECT_EQ(anota->ofrecidos, QStringList{original});
    ASSERT_EQ(lee_archivo(original.toStdString()).bancos.size(), 2U);
    EXPECT_FALSE(v.f->columna_modificada());
    EXPECT_FALSE(QFileInfo::exists(r.ruta_copia()));
    anota->respuesta = carpeta.tmp.filePath("otra.tev");
    v.menu("salvar_mnu");
    EXPECT_EQ(anota->ofrecidos, (QStringList{original, original}));
}

TEST(Recuperacion, DescartarBorraLaCopia)
{
    Carpeta carpeta;
    const qint64 pid = pid_muerto();
    deja_copia(carpeta.copias(), pid, {pid, 0, ""});
    Ventana v;
    Recuperacion r(*v.f, *v.s);
    Caja caja;
    responde_con(caja, Qt::Key_Tab); // to "Descartar", then Space on it
    QTimer::singleShot(0, [] {
        if (QWidget* m = QApplication::activeModalWidget())
            QTest::keyClick(m->focusWidget(), Qt::Key_Space);
    });
    r.ofrece_copias_dejadas();
    EXPECT_EQ(caja.vistas, 1);
    EXPECT_TRUE(caja.texto.contains("la columna sin nombre")) << caja.texto.toStdString();
    EXPECT_FALSE(QFileInfo::exists(ruta_de(carpeta.copias(), pid, ".recuperacion")));
    EXPECT_FALSE(v.f->columna_modificada());
    EXPECT_EQ(v.s->nombre[1], "");
}

TEST(Recuperacion, LaCopiaDeUnProgramaVivoSeDejaEnPaz)
{
    Carpeta carpeta;
    QProcess vivo;
    vivo.start("sleep", {"60"});
    ASSERT_TRUE(vivo.waitForStarted(5000));
    const qint64 pid = vivo.processId();
    const QByteArray bytes = deja_copia(carpeta.copias(), pid, {pid, 0, ""});
    // Its lock, held by a running program (this one).
    QLockFile suyo(ruta_de(carpeta.copias(), pid, ".lock"));
    ASSERT_TRUE(suyo.tryLock(0));

    Ventana v;
    Recuperacion r(*v.f, *v.s);
    Caja caja;
    responde_con(caja, Qt::Key_Return);
    r.ofrece_copias_dejadas();
    QCoreApplication::processEvents();
    EXPECT_EQ(caja.vistas, 0) << caja.texto.toStdString();
    EXPECT_EQ(prueba::bytes_de(ruta_de(carpeta.copias(), pid, ".recuperacion")), bytes);
    EXPECT_EQ(v.s->nombre[1], "");
    EXPECT_TRUE(v.avisos.isEmpty());
    vivo.kill();
    vivo.waitForFinished(5000);
}

TEST(Recuperacion, UnaCopiaIlegibleSeApartaYSeNombra)
{
    Carpeta carpeta;
    const qint64 pid = pid_muerto();
    ASSERT_TRUE(QDir().mkpath(carpeta.copias()));
    const QString copia = ruta_de(carpeta.copias(), pid, ".recuperacion");
    const QByteArray rota = "tevarro-recuperacion,1,12,";
    ASSERT_TRUE(escribe(copia, rota));

    Ventana v;
    Recuperacion r(*v.f, *v.s);
    Caja caja;
    responde_con(caja, Qt::Key_Return);
    r.ofrece_copias_dejadas();
    QCoreApplication::processEvents();

    EXPECT_EQ(caja.vistas, 0);
    EXPECT_FALSE(QFileInfo::exists(copia));
    EXPECT_EQ(prueba::bytes_de(copia + ".ilegible"), rota);
    ASSERT_EQ(v.avisos.size(), 1);
    EXPECT_TRUE(v.avisos[0].contains(copia)) << v.avisos[0].toStdString();
    EXPECT_TRUE(
        v.avisos[0].contains(QString::fromUtf8("«") + copia + ".ilegible" + QString::fromUtf8("»")))
        << v.avisos[0].toStdString();
}

TEST(Recuperacion, UnaCopiaQueNoSePuedeEscribirSeAvisaUnaVezYSeReintenta)
{
    QTemporaryDir tmp;
    // The data folder is a file.
    const QString carpeta = tmp.filePath("datos");
    ASSERT_TRUE(escribe(carpeta, "no es una carpeta"));
    Ventana v;
    Recuperacion r(*v.f, *v.s, carpeta);
    QSignalSpy mensajes(v.f->StatusBar1, &QStatusBar::messageChanged);
    Form2* d = escribe_un_nombre(v, "Arenas");
    ASSERT_TRUE(llega([&] { return mensajes.count() == 1; }));
    EXPECT_TRUE(v.f->StatusBar1->currentMessage().startsWith(
        QString::fromUtf8("Sin copia de recuperación: No se pudo guardar «") + carpeta))
        << v.f->StatusBar1->currentMessage().toStdString();

    // Read and gone; another change, another failure: no second report.
    v.f->StatusBar1->clearMessage();
    QTest::keyClicks(d->Text7, " del Sur");
    mueve_sobre(d);
    QTest::qWait(Recuperacion::kRetrasoMs + 500);
    EXPECT_EQ(mensajes.count(), 2);
    EXPECT_EQ(v.f->StatusBar1->currentMessage(), "");
    EXPECT_FALSE(QFileInfo::exists(r.ruta_copia()));

    // The folder can be made again: the next change makes the copy.
    ASSERT_TRUE(QFile::remove(carpeta));
    QTest::keyClicks(d->Text7, "!");
    mueve_sobre(d);
    ASSERT_TRUE(llega([&] { return QFileInfo::exists(r.ruta_copia()); }));
    EXPECT_EQ(v.f->StatusBar1->currentMessage(), "");
    const LecturaCopia copia = lee_copia(prueba::bytes_de(r.ruta_copia()).toStdString(), "");
    ASSERT_TRUE(copia.ok) << copia.error;
    EXPECT_EQ(copia.bancos.at(0).nombre, "Arenas del Sur!");
}

} // namespace
} // namespace tev
