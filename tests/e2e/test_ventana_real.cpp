// The real program in a real X window: Xvfb, the tevarro executable started
// with the example column, the windows looked up by their titles and the
// screen captured.

#include <gtest/gtest.h>

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <memory>
#include <unistd.h>

namespace {

QString programa(const char* nombre)
{
    const QString p = QStandardPaths::findExecutable(nombre);
    EXPECT_FALSE(p.isEmpty()) << nombre << " no está instalado (scripts/dependencias.sh)";
    return p;
}

// The windows of the display as xwininfo lists them: title and geometry.
QString arbol_de_ventanas(const QString& pantalla)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", pantalla);
    p.setProcessEnvironment(env);
    p.start(programa("xwininfo"), {"-root", "-tree"});
    p.waitForFinished(5000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Geometry of the window with that exact title, empty when there is none.
QRect ventana(const QString& arbol, const QString& titulo)
{
    const QRegularExpression re("\"" + QRegularExpression::escape(titulo) +
                                "\".*\\s(\\d+)x(\\d+)\\+(-?\\d+)\\+(-?\\d+)\\s");
    const QRegularExpressionMatch m = re.match(arbol);
    if (!m.hasMatch()) return {};
    return QRect(m.captured(3).toInt(), m.captured(4).toInt(), m.captured(1).toInt(),
                 m.captured(2).toInt());
}

struct Proceso {
    std::unique_ptr<QProcess> p = std::make_unique<QProcess>();
    ~Proceso()
    {
        if (p->state() != QProcess::NotRunning) {
            p->terminate();
            if (!p->waitForFinished(3000)) p->kill();
            p->waitForFinished(3000);
        }
    }
};

// An Xvfb display of our own; empty when it could not start.
QString arranca_pantalla(Proceso& xvfb)
{
    // Xvfb picks a display nobody uses (other tests, other sessions of the
    // machine) and writes its number on its standard output.
    xvfb.p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    xvfb.p->start(programa("Xvfb"), {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten",
                                     "tcp", "-noreset"});
    if (!xvfb.p->waitForStarted(5000)) return {};
    QByteArray numero;
    for (int i = 0; i < 100 && !numero.contains('\n'); ++i) {
        xvfb.p->waitForReadyRead(100);
        numero += xvfb.p->readAllStandardOutput();
    }
    bool ok = false;
    const int n = numero.trimmed().toInt(&ok);
    if (!ok) return {};
    const QString socket = "/tmp/.X11-unix/X" + QString::number(n);
    for (int i = 0; i < 100 && !QFile::exists(socket); ++i)
        QThread::msleep(100);
    return QFile::exists(socket) ? ":" + QString::number(n) : QString();
}

// The screen of the display, saved as nombre.
QImage captura(const QString& pantalla, const char* nombre)
{
    qputenv("DISPLAY", pantalla.toUtf8());
    int argc = 3;
    char arg0[] = "captura", arg1[] = "-platform", arg2[] = "xcb";
    char* argv[] = {arg0, arg1, arg2, nullptr};
    QImage img;
    {
        QGuiApplication app(argc, argv);
        img = app.primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    }
    img.save(nombre);
    return img;
}

TEST(VentanaReal, ArrancaAbreElEjemploYSeVe)
{
    Proceso xvfb;
    const QString pantalla = arranca_pantalla(xvfb);
    ASSERT_FALSE(pantalla.isEmpty()) << "Xvfb no arrancó";

    // The program, given the example column as "Abrir" would open it.
    Proceso tevarro;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", pantalla);
    env.insert("QT_QPA_PLATFORM", "xcb");
    // A data folder of its own: the user's recovery copies stay untouched.
    QTemporaryDir datos;
    env.insert("XDG_DATA_HOME", datos.path());
    env.insert("XDG_CONFIG_HOME", datos.path());
    tevarro.p->setProcessEnvironment(env);
    // Without a window manager the curve window opens at the corner: the
    // main window goes below it (Qt's own -geometry option).
    tevarro.p->start(TEVARRO_EXE,
                     {"-geometry", "+0+440", TEVARRO_SOURCE_DIR "/examples/neuquen.tev"});
    ASSERT_TRUE(tevarro.p->waitForStarted(5000));

    QRect principal, curvas;
    for (int i = 0; i < 200 && (principal.isEmpty() || curvas.isEmpty()); ++i) {
        QThread::msleep(100);
        const QString arbol = arbol_de_ventanas(pantalla);
        principal = ventana(arbol, "TEVARRO 1.0");
        curvas = ventana(arbol, "Curva de tevarro");
    }
    ASSERT_FALSE(principal.isEmpty()) << arbol_de_ventanas(pantalla).toStdString();
    // Opening the column computes it and shows its curves.
    EXPECT_FALSE(curvas.isEmpty()) << arbol_de_ventanas(pantalla).toStdString();

    // It stays up.
    QThread::msleep(1500);
    EXPECT_EQ(tevarro.p->state(), QProcess::Running)
        << tevarro.p->readAllStandardError().toStdString();
    EXPECT_FALSE(ventana(arbol_de_ventanas(pantalla), "TEVARRO 1.0").isEmpty());

    // The screen as a person would see it.
    const QImage img = captura(pantalla, "ventana_real.png");
    ASSERT_FALSE(img.isNull());

    // Not blank: many colours, the beds of the example in the column view
    // (saturated colours that the frame and menus never use), and the red
    // decompaction curve in the curve window.
    ASSERT_FALSE(principal.intersects(curvas));
    auto cuenta = [&img](const QRect& r, auto&& condicion) {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (condicion(img.pixelColor(x, y))) ++n;
        return n;
    };
    QSet<QRgb> colores;
    cuenta(principal, [&colores](const QColor& c) { return colores.insert(c.rgb()), false; });
    EXPECT_GT(colores.size(), 8);
    EXPECT_GT(cuenta(principal,
                     [](const QColor& c) { return c.hsvSaturation() > 200 && c.value() > 200; }),
              2000);
    EXPECT_GT(
        cuenta(curvas,
               [](const QColor& c) { return c.red() > 200 && c.green() < 60 && c.blue() < 60; }),
        100);
}

// xdotool on the display: keys as a keyboard sends them.
void xdotool(const QString& pantalla, const QStringList& argumentos)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", pantalla);
    p.setProcessEnvironment(env);
    p.start(programa("xdotool"), argumentos);
    p.waitForFinished(20000);
    QThread::msleep(150);
}
void teclas(const QString& pantalla, const QStringList& t)
{
    xdotool(pantalla, QStringList{"key", "--delay", "40"} + t);
}
void escribe(const QString& pantalla, const QString& texto)
{
    xdotool(pantalla, {"type", "--delay", "30", texto});
}

// Waits until the number of windows with that title is n.
bool espera_ventanas(const QString& pantalla, const QString& titulo, int n)
{
    const QString marca = "\"" + titulo + "\"";
    for (int i = 0; i < 100; ++i) {
        if (arbol_de_ventanas(pantalla).count(marca) == n) return true;
        QThread::msleep(100);
    }
    return false;
}

// A command of the menus by the keyboard (F10 and the arrows in camino),
// until the window titled so is there. A program that has only just mapped
// a window (the sanitizer build on a busy machine) may not take the first
// keys yet, or a window it has just shown may take the focus back: the menu
// is asked for again, the half-open one closed first.
bool pide_por_menu(const QString& pantalla, const QStringList& enfoca, const QStringList& camino,
                   const QString& titulo)
{
    for (int intento = 0; intento < 4; ++intento) {
        xdotool(pantalla, enfoca);
        teclas(pantalla, camino);
        for (int i = 0; i < 30; ++i) {
            if (arbol_de_ventanas(pantalla).count("\"" + titulo + "\"") == 1) return true;
            QThread::msleep(100);
        }
        teclas(pantalla, {"Escape", "Escape"});
    }
    return false;
}

// Archivo -> Nuevo, Abrir, Salvar.
const QStringList kNuevo = {"F10", "Down", "Return"};
const QStringList kAbrir = {"F10", "Down", "Down", "Return"};
const QStringList kSalvar = {"F10", "Down", "Down", "Down", "Return"};

// A whole session on the real program with the keyboard alone: "Nuevo", a
// PORCENTUAL bed typed box after box, "Terminar", "Salvar" to a name without
// extension, "Abrir" of that file, a second "Salvar" that asks before
// replacing it, and "Salir". (Without a window manager nobody gives the main
// window the focus back when a dialog closes: xdotool does that.)
TEST(VentanaReal, UnaSesionSoloConElTeclado)
{
    Proceso xvfb;
    const QString pantalla = arranca_pantalla(xvfb);
    ASSERT_FALSE(pantalla.isEmpty()) << "Xvfb no arrancó";
    const QString carpeta = QDir::tempPath() + "/tevarro_teclado_" + QString::number(::getpid());
    QDir(carpeta).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(carpeta));

    Proceso tevarro;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", pantalla);
    env.insert("QT_QPA_PLATFORM", "xcb");
    QTemporaryDir datos;
    env.insert("XDG_DATA_HOME", datos.path());
    env.insert("XDG_CONFIG_HOME", datos.path());
    tevarro.p->setProcessEnvironment(env);
    tevarro.p->start(TEVARRO_EXE, {"-geometry", "+0+440"});
    ASSERT_TRUE(tevarro.p->waitForStarted(5000));
    ASSERT_TRUE(espera_ventanas(pantalla, "TEVARRO 1.0", 1));
    const QStringList enfoca = {"search", "--name", "^TEVARRO 1.0$", "windowfocus", "--sync"};
    ASSERT_TRUE(pide_por_menu(pantalla, enfoca, kNuevo, "Nuevo"))
        << arbol_de_ventanas(pantalla).toStdString();
    QThread::msleep(300);
    const char* campos[] = {"100", "250", "PORCENTUAL", nullptr, nullptr,
                            "30",  "10",  "Mezcla",     nullptr, "Amarillo",
                            "20",  "50",  "50",         "0",     "0"};
    for (const char* t : campos) {
        teclas(pantalla, {"Tab"});
        if (t) escribe(pantalla, QString::fromUtf8(t));
    }
    teclas(pantalla, {"Tab", "Return"}); // "Terminar"
    ASSERT_TRUE(espera_ventanas(pantalla, "Curva de tevarro", 1));

    ASSERT_TRUE(pide_por_menu(pantalla, enfoca, kSalvar, "Salvar Archivo"));
    QThread::msleep(300);
    escribe(pantalla, carpeta + "/teclado");
    teclas(pantalla, {"Return"});
    const QString archivo = carpeta + "/teclado.tev";
    for (int i = 0; i < 50 && !QFile::exists(archivo); ++i)
        QThread::msleep(100);
    QFile f(archivo);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << "no se escribió " << archivo.toStdString();
    const QByteArray esperado = "Mezcla, 100 , 250 , 10 , 30 ,PORCENTUAL, 65535 , .56 , .39 , 20 , "
                                "50 , 50 , 0 , 0 \r\n";
    EXPECT_EQ(f.readAll(), esperado);
    f.close();

    ASSERT_TRUE(pide_por_menu(pantalla, enfoca, kAbrir, "Abrir Archivo"));
    QThread::msleep(300);
    escribe(pantalla, archivo);
    teclas(pantalla, {"Return"});
    // Nothing was modified: no question, the dialog closes and the column opens.
    EXPECT_TRUE(espera_ventanas(pantalla, "Abrir Archivo", 0));
    EXPECT_TRUE(espera_ventanas(pantalla, "TEVARRO 1.0", 1));

    // Saving onto it again asks first; Escape keeps the file.
    ASSERT_TRUE(pide_por_menu(pantalla, enfoca, kSalvar, "Salvar Archivo"));
    QThread::msleep(300);
    escribe(pantalla, carpeta + "/teclado");
    teclas(pantalla, {"Return"});
    EXPECT_TRUE(espera_ventanas(pantalla, "Salvar Archivo", 2))
        << arbol_de_ventanas(pantalla).toStdString();
    teclas(pantalla, {"Escape"});
    // The question is gone before the dialog gets its Escape: a slow program
    // (the sanitizer build on a busy machine) may still be closing it.
    EXPECT_TRUE(espera_ventanas(pantalla, "Salvar Archivo", 1));
    teclas(pantalla, {"Escape"});
    EXPECT_TRUE(espera_ventanas(pantalla, "Salvar Archivo", 0));

    // "Salir" of a column that is saved ends at once.
    xdotool(pantalla, enfoca);
    teclas(pantalla, {"F10", "Down", "Down", "Down", "Down", "Down", "Down", "Return"});
    EXPECT_TRUE(tevarro.p->waitForFinished(5000));
    EXPECT_EQ(tevarro.p->exitCode(), 0);
    QDir(carpeta).removeRecursively();
}

// A name typed in the bed dialog, the pointer moved over it, three seconds,
// and the program killed (kill -9): started again, it asks "Recuperar
// columna", Enter recovers the column, and "Salvar" writes it with the name.
TEST(VentanaReal, UnaColumnaSeRecuperaTrasKill9)
{
    Proceso xvfb;
    const QString pantalla = arranca_pantalla(xvfb);
    ASSERT_FALSE(pantalla.isEmpty()) << "Xvfb no arrancó";
    QTemporaryDir datos;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", pantalla);
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("XDG_DATA_HOME", datos.path());
    env.insert("XDG_CONFIG_HOME", datos.path());
    const QStringList enfoca = {"search", "--name", "^TEVARRO 1.0$", "windowfocus", "--sync"};
    const QString copias = datos.path() + "/tevarro/recuperacion";

    {
        Proceso tevarro;
        tevarro.p->setProcessEnvironment(env);
        tevarro.p->start(TEVARRO_EXE, {"-geometry", "+0+440"});
        ASSERT_TRUE(tevarro.p->waitForStarted(5000));
        ASSERT_TRUE(espera_ventanas(pantalla, "TEVARRO 1.0", 1));
        ASSERT_TRUE(pide_por_menu(pantalla, enfoca, kNuevo, "Nuevo"));
        QThread::msleep(300);
        const QRect dialogo = ventana(arbol_de_ventanas(pantalla), "Nuevo");
        ASSERT_FALSE(dialogo.isEmpty());
        // The name box, then the bare surface of the dialog.
        const QPoint nombre = dialogo.topLeft() + QPoint(220, 17);
        xdotool(pantalla, {"mousemove", QString::number(nombre.x()), QString::number(nombre.y()),
                           "click", "1"});
        escribe(pantalla, "Arenas del Sur");
        for (const QPoint p : {QPoint(150, 140), QPoint(160, 145)}) {
            const QPoint q = dialogo.topLeft() + p;
            xdotool(pantalla, {"mousemove", QString::number(q.x()), QString::number(q.y())});
        }
        QThread::msleep(3000);
        ASSERT_EQ(QDir(copias).entryList({"*.recuperacion"}, QDir::Files).size(), 1);
        tevarro.p->kill(); // SIGKILL
        ASSERT_TRUE(tevarro.p->waitForFinished(5000));
    }

    Proceso tevarro;
    tevarro.p->setProcessEnvironment(env);
    tevarro.p->start(TEVARRO_EXE, {"-geometry", "+0+440"});
    ASSERT_TRUE(tevarro.p->waitForStarted(5000));
    ASSERT_TRUE(espera_ventanas(pantalla, "Recuperar columna", 1))
        << arbol_de_ventanas(pantalla).toStdString();
    QThread::msleep(500);
    captura(pantalla, "recuperar_columna.png");
    xdotool(pantalla, {"search", "--name", "^Recuperar columna$", "windowfocus", "--sync"});
    teclas(pantalla, {"Return"});
    EXPECT_TRUE(espera_ventanas(pantalla, "Recuperar columna", 0));
    // Shown computed, as "Abrir" shows a file.
    EXPECT_TRUE(espera_ventanas(pantalla, "Curva de tevarro", 1));

    ASSERT_TRUE(pide_por_menu(pantalla, enfoca, kSalvar, "Salvar Archivo"));
    QThread::msleep(300);
    escribe(pantalla, datos.path() + "/recuperada");
    teclas(pantalla, {"Return"});
    const QString archivo = datos.path() + "/recuperada.tev";
    for (int i = 0; i < 50 && !QFile::exists(archivo); ++i)
        QThread::msleep(100);
    QFile f(archivo);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << "no se escribió " << archivo.toStdString();
    EXPECT_TRUE(f.readAll().startsWith("Arenas del Sur,"));
    // Saved: no copy left.
    EXPECT_TRUE(QDir(copias).entryList({"*.recuperacion"}, QDir::Files).isEmpty());

    xdotool(pantalla, enfoca);
    teclas(pantalla,
           {"F10", "Down", "Down", "Down", "Down", "Down", "Down", "Return"}); // Archivo -> Salir
    EXPECT_TRUE(tevarro.p->waitForFinished(5000));
    EXPECT_EQ(tevarro.p->exitCode(), 0);
    EXPECT_TRUE(QDir(copias).entryList(QDir::Files).isEmpty())
        << QDir(copias).entryList(QDir::Files).join(' ').toStdString();
}

// The column table of the real program: the example copied whole (Ctrl+T,
// Ctrl+A, Ctrl+C) gives its twelve beds with the numbers of tevarro-batch
// --csv, in the desktop's decimal mark; a column pasted over the whole table
// and saved gives its project file; Ctrl+Z brings the example back.
TEST(VentanaReal, LaTablaSeCopiaSePegaYSeDeshace)
{
    Proceso xvfb;
    const QString pantalla = arranca_pantalla(xvfb);
    ASSERT_FALSE(pantalla.isEmpty()) << "Xvfb no arrancó";
    QTemporaryDir datos;
    const QString ejemplo = TEVARRO_SOURCE_DIR "/examples/neuquen.tev";
    Proceso tevarro;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", pantalla);
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("XDG_DATA_HOME", datos.path());
    env.insert("LC_NUMERIC", "es_ES.UTF-8"); // numbers with a decimal comma
    tevarro.p->setProcessEnvironment(env);
    tevarro.p->start(TEVARRO_EXE, {"-geometry", "+0+440", ejemplo});
    ASSERT_TRUE(tevarro.p->waitForStarted(5000));
    ASSERT_TRUE(espera_ventanas(pantalla, "Curva de tevarro", 1));
    const QStringList enfoca = {"search", "--name", "^TEVARRO 1.0$", "windowfocus", "--sync"};
    const QStringList enfoca_tabla = {"search", "--name", "^Tabla de la columna$", "windowfocus",
                                      "--sync"};
    xdotool(pantalla, enfoca);
    teclas(pantalla, {"ctrl+t"});
    ASSERT_TRUE(espera_ventanas(pantalla, "Tabla de la columna", 1));
    xdotool(pantalla, enfoca_tabla);
    teclas(pantalla, {"ctrl+a", "ctrl+c"});

    // The clipboard read through the display, as another program reads it.
    qputenv("DISPLAY", pantalla.toUtf8());
    int argc = 3;
    char arg0[] = "portapapeles", arg1[] = "-platform", arg2[] = "xcb";
    char* argv[] = {arg0, arg1, arg2, nullptr};
    QGuiApplication app(argc, argv);
    const QStringList lineas = QGuiApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lineas.size(), 13) << lineas.join('\n').toStdString();

    QProcess lote;
    lote.start(TEVARRO_BATCH_EXE, {"--csv", ejemplo});
    ASSERT_TRUE(lote.waitForFinished(10000));
    // archivo,banco,nombre,litologia,techo,base,edad_techo,edad_base,densidad,
    // nivel_mar,techo_descomp,base_descomp,correccion_carga,tevarro_tectonica
    const QStringList csv =
        QString::fromUtf8(lote.readAllStandardOutput()).split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(csv.size(), 13);
    for (int i = 1; i <= 12; ++i) {
        const QStringList l = csv[i].split(',');
        ASSERT_EQ(l.size(), 14) << csv[i].toStdString();
        const int banco = l[1].toInt();
        QStringList c = lineas[13 - banco].split('\t');
        ASSERT_EQ(c.size(), 22);
        EXPECT_EQ(c[0].toInt(), banco);
        if (banco == 12) {
            EXPECT_EQ(c[8], "0,49"); // the decimal comma
        }
        for (QString& t : c)
            t.replace(',', '.');
        // The results after the grain density and the remark.
        const QStringList tabla = {c[2], c[3], c[4], c[5], c[17], c[18], c[19], c[20], c[21]};
        EXPECT_EQ(l[10], "0");
        const QStringList lote_banco = {l[4], l[5], l[6], l[7], l[8], l[9], l[11], l[12], l[13]};
        EXPECT_EQ(tabla, lote_banco) << "banco " << banco;
    }

    // Two beds of fourteen fields pasted over the whole table.
    QGuiApplication::clipboard()->setText(
        "Margas\t0\t120,5\t0\t12\tPORCENTUAL\tAzul\t0\t0\t50\t0\t40\t60\t0\n"
        "Arenas\t120,5\t300\t12\t30\tAreniscas\t65535\t0\t0\t5\t0\t0\t0\t0\n");
    xdotool(pantalla, enfoca_tabla);
    teclas(pantalla, {"ctrl+a", "ctrl+v"});
    // The program reads the clipboard from this process: it answers meanwhile.
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(50);
    }
    QTemporaryDir dir;
    auto salva = [&](const QString& nombre) {
        EXPECT_TRUE(pide_por_menu(pantalla, enfoca, kSalvar, "Salvar Archivo"));
        QThread::msleep(300);
        escribe(pantalla, dir.filePath(nombre));
        teclas(pantalla, {"Return"});
        QFile f(dir.filePath(nombre));
        for (int i = 0; i < 50 && !f.exists(); ++i)
            QThread::msleep(100);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << nombre.toStdString();
        return f.readAll();
    };
    EXPECT_EQ(salva("pegada.tev"),
              QByteArray("Arenas, 120.5 , 300 , 12 , 30 ,Areniscas, 65535 , .49 , .27 , 5 , 0 , 0 "
                         ", 0 , 0 \r\n"
                         "Margas, 0 , 120.5 , 0 , 12 ,PORCENTUAL, 16711680 , .588 , .438 , 50 , "
                         "0 , 40 , 60 , 0 \r\n"));

    xdotool(pantalla, enfoca_tabla);
    teclas(pantalla, {"ctrl+z"});
    QFile original(ejemplo);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    EXPECT_EQ(salva("deshecha.tev"), original.readAll());
}

} // namespace
