// The file dialogs' list in Spanish: sizes, dates and type names, in the
// dialogs of "Abrir", "Salvar" and "Guardar imagen…", with the start-up of
// the desktop program; and the program's own numbers left in the user's form.

#include "app/arranque.h"
#include "drawing/dibujo_curvas.h"
#include "main_window/com_file.h"
#include "window_helpers/dialogo_de_archivos.h"
#include "window_helpers/guardar_imagen.h"
#include "window_helpers/traducciones_de_qt.h"

#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QTreeView>

#include <utime.h>

#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace tev {
namespace {

TEST(TamanoEnCastellano, BytesEnSingularYPluralYLuegoKiB)
{
    EXPECT_EQ(tamano_en_castellano(0), "0 bytes");
    EXPECT_EQ(tamano_en_castellano(1), "1 byte");
    EXPECT_EQ(tamano_en_castellano(2), "2 bytes");
    EXPECT_EQ(tamano_en_castellano(1023), "1023 bytes");
    // 2500 / 1024 = 2.441...; 3 * 1024 * 1024 = 3 MiB.
    EXPECT_EQ(tamano_en_castellano(2500), "2,44 KiB");
    EXPECT_EQ(tamano_en_castellano(3 * 1024 * 1024), "3,00 MiB");
}

void escribe(const QString& ruta, const QByteArray& bytes, const QDateTime& fecha)
{
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
    // Written out first, so that closing the file moves its date no more.
    ASSERT_TRUE(f.flush());
    ASSERT_TRUE(f.setFileTime(fecha, QFileDevice::FileModificationTime));
}

// A folder with files of known size and date, one for the whole test program
// (Qt's dialogs open where the last one was left), made the current folder.
QString carpeta()
{
    static QTemporaryDir dir;
    static const bool hecha = [] {
        escribe(dir.filePath("columna.tev"), QByteArray(2500, 'a'),
                QDateTime(QDate(2026, 3, 5), QTime(9, 7)));
        escribe(dir.filePath("uno.txt"), "x", QDateTime(QDate(2025, 12, 24), QTime(18, 30)));
        escribe(dir.filePath("figura.png"), QByteArray("\x89PNG\r\n\x1a\n", 8),
                QDateTime(QDate(2026, 9, 1), QTime(0, 5)));
        const QByteArray datos = QFile::encodeName(dir.filePath("datos"));
        const auto segundos = QDateTime(QDate(2026, 1, 2), QTime(8, 0)).toSecsSinceEpoch();
        const utimbuf fecha{segundos, segundos};
        return QDir().mkdir(dir.filePath("datos")) && ::utime(datos.constData(), &fecha) == 0 &&
               QDir::setCurrent(dir.path());
    }();
    EXPECT_TRUE(hecha);
    return dir.path();
}

// The texts of the detail list's columns (size, type, date) for every file it
// shows, once Qt has found their types.
using Lista = std::map<std::string, std::vector<std::string>>;

Lista lee_lista(QFileDialog& dialogo, std::size_t archivos)
{
    auto* arbol = dialogo.findChild<QTreeView*>("treeView");
    if (!arbol) return {};
    const QAbstractItemModel* modelo = arbol->model();
    Lista lista;
    const bool completa = QTest::qWaitFor([&] {
        lista.clear();
        const QModelIndex raiz = arbol->rootIndex();
        for (int fila = 0; fila < modelo->rowCount(raiz); ++fila) {
            std::vector<std::string> textos;
            for (int columna = 1; columna <= 3; ++columna)
                textos.push_back(
                    modelo->index(fila, columna, raiz).data().toString().toStdString());
            if (textos[1].empty()) return false;
            lista[modelo->index(fila, 0, raiz).data().toString().toStdString()] = textos;
        }
        return lista.size() == archivos;
    });
    return completa ? lista : Lista{};
}

// What the list shows of each file in the folder; the type names are the
// shared MIME database's Spanish ones.
const Lista kEnCastellano = {
    {"columna.tev", {"2,44 KiB", "documento de texto sencillo", "5 mar 2026 9:07"}},
    {"uno.txt", {"1 byte", "documento de texto sencillo", "24 dic 2025 18:30"}},
    {"figura.png", {"8 bytes", "imagen PNG", "1 sept 2026 0:05"}},
    {"datos", {"", "Carpeta", "2 ene 2026 8:00"}}};

void espera_en_castellano(const Lista& lista, const std::vector<std::string>& archivos)
{
    ASSERT_EQ(lista.size(), archivos.size());
    for (const std::string& archivo : archivos) {
        ASSERT_EQ(lista.count(archivo), 1u) << archivo;
        EXPECT_EQ(lista.at(archivo), kEnCastellano.at(archivo)) << archivo;
    }
}

TEST(ListaEnCastellano, TamanosTiposYFechas)
{
    QFileDialog dialogo(nullptr, "Abrir Archivo", carpeta(), "Todos los archivos (*)");
    lista_en_castellano(dialogo);
    dialogo.show();
    espera_en_castellano(lee_lista(dialogo, 4), {"columna.tev", "uno.txt", "figura.png", "datos"});
}

// Runs abre, which shows a modal file dialog, reads its list from inside the
// dialog's own event loop and cancels it.
Lista lista_del_dialogo(const std::function<void()>& abre, std::size_t archivos)
{
    Lista lista;
    bool visto = false;
    QTimer reloj;
    reloj.setInterval(10);
    QObject::connect(&reloj, &QTimer::timeout, [&] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!d || QThread::currentThread()->loopLevel() == 0 || visto) return;
        visto = true;
        reloj.stop();
        lista = lee_lista(*d, archivos);
        d->reject();
    });
    reloj.start();
    abre();
    return lista;
}

class Dialogos : public ComFile {
  public:
    using ComFile::pide_abrir;
    using ComFile::pide_salvar;
};

TEST(ListaEnCastellano, LosDialogosDeLasVentanas)
{
    carpeta();
    Dialogos dialogos;
    dialogos.DialogTitle = "Abrir Archivo";
    {
        SCOPED_TRACE("Abrir");
        const Lista lista =
            lista_del_dialogo([&] { EXPECT_EQ(dialogos.pide_abrir(nullptr), ""); }, 3);
        espera_en_castellano(lista, {"columna.tev", "uno.txt", "datos"});
    }
    {
        SCOPED_TRACE("Salvar");
        const Lista lista =
            lista_del_dialogo([&] { EXPECT_EQ(dialogos.pide_salvar(nullptr), ""); }, 3);
        espera_en_castellano(lista, {"columna.tev", "uno.txt", "datos"});
    }
    {
        SCOPED_TRACE("Guardar imagen");
        const Lista lista =
            lista_del_dialogo([&] { EXPECT_EQ(pide_ruta_de_imagen(nullptr), ""); }, 2);
        espera_en_castellano(lista, {"figura.png", "datos"});
    }
}

TEST(TraduccionesDeQt, SusPalabrasYLasQueLeFaltan)
{
    // Installed by main() below, as the program does at start-up.
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancelar");
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), "Ver en:");
    EXPECT_EQ(
        QCoreApplication::translate("QAbstractFileIconProvider", "Folder", "All other platforms"),
        "Carpeta");
    EXPECT_EQ(QCoreApplication::translate("QAbstractFileIconProvider", "Unknown"), "Desconocido");
    // A word that no translation holds stays as it is.
    EXPECT_EQ(QCoreApplication::translate("QAbstractFileIconProvider", "Tevarro"), "Tevarro");
}

TEST(ListaEnCastellano, LosNumerosDelProgramaSiguenEnLaFormaDelUsuario)
{
    // Only the interface's language changed at start-up: the curve window's
    // captions keep the separator of the user's locale.
    const QLocale usuario = QLocale::system();
    EXPECT_EQ(QLocale().decimalPoint(), usuario.decimalPoint());
    const std::array<QString, 10> textos = textos_ejes(100.0f, 1.0f);
    EXPECT_EQ(textos[0], usuario.toString(10.0, 'f', 1));
    EXPECT_EQ(textos[6], usuario.toString(1.0, 'f', 2));
}

} // namespace
} // namespace tev

// As the desktop program starts.
int main(int argc, char** argv)
{
    tev::interfaz_en_castellano();
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    if (!tev::instala_traducciones_de_qt()) {
        std::fprintf(stderr, "Faltan las traducciones de Qt (qt6-translations-l10n).\n");
        return 1;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
