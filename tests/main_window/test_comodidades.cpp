// The keys of the main window pressed as a user presses them: every Ctrl key
// reaches its command, Ctrl+P prints the active window's figure, F1 shows the
// manual.

#include "main_window/ventana_de_prueba.h"

#include "help_window/ventana_ayuda.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenuBar>
#include <QPrinter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

namespace tev {
namespace {

const QString kEjemplo = TEVARRO_SOURCE_DIR "/examples/neuquen.tev";

struct Activa : prueba::Ventana {
    Activa()
    {
        f->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(f.get()));
    }
    // A key with its modifiers on the main window; the number of times the
    // command's menu entry was triggered by it.
    int tecla(const char* entrada, Qt::Key k, Qt::KeyboardModifiers m = Qt::ControlModifier)
    {
        QSignalSpy disparos(f->findChild<QAction*>(entrada), &QAction::triggered);
        QTest::keyClick(f.get(), k, m);
        return static_cast<int>(disparos.count());
    }
};

TEST(Atajos, CtrlNEmpiezaUnaColumnaNueva)
{
    Activa v;
    EXPECT_EQ(v.tecla("nuevo_mnu", Qt::Key_N), 1);
    EXPECT_EQ(v.s->n_bancos, 1);
    ASSERT_NE(v.f->dialogo_bancos(), nullptr);
    EXPECT_TRUE(v.f->dialogo_bancos()->isVisible());
}

TEST(Atajos, CtrlOAbreYCtrlSSalva)
{
    Activa v;
    QTemporaryDir dir;
    v.dialogo->respuesta = kEjemplo;
    EXPECT_EQ(v.tecla("abrir_mnu", Qt::Key_O), 1);
    EXPECT_EQ(v.dialogo->veces, 1);
    EXPECT_EQ(v.s->n_bancos, 12);

    v.f->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(v.f.get()));
    const QString copia = dir.filePath("copia.tev");
    v.dialogo->respuesta = copia;
    EXPECT_EQ(v.tecla("salvar_mnu", Qt::Key_S), 1);
    EXPECT_EQ(v.dialogo->veces, 2);
    EXPECT_EQ(prueba::bytes_de(copia), prueba::bytes_de(kEjemplo));
}

TEST(Atajos, CtrlQPreguntaAntesDeSalir)
{
    Activa v;
    v.abre(kEjemplo);
    v.s->nombre[1] = "Otro nombre";
    v.respuesta = Form1::Respuesta::cancelar;
    EXPECT_EQ(v.tecla("exit_mnu", Qt::Key_Q), 1);
    EXPECT_EQ(v.preguntas, QStringList{"¿Guardar los cambios de la columna?"});
    EXPECT_TRUE(v.f->isVisible());
}

TEST(Atajos, LasTeclasNoDejanDeSerDelMenu)
{
    Activa v;
    // A shortcut is shown beside its caption, which stays as it was.
    const std::pair<const char*, const char*> esperado[] = {
        {"nuevo_mnu", "Ctrl+N"}, {"abrir_mnu", "Ctrl+O"},    {"salvar_mnu", "Ctrl+S"},
        {"exit_mnu", "Ctrl+Q"},  {"imprimir_mnu", "Ctrl+P"}, {"manual_mnu", "F1"}};
    for (const auto& [nombre, teclas] : esperado) {
        auto* a = v.f->findChild<QAction*>(nombre);
        ASSERT_NE(a, nullptr) << nombre;
        EXPECT_EQ(a->shortcut().toString(), teclas) << nombre;
    }
    // F10 still opens "Archivo".
    QTest::keyClick(v.f.get(), Qt::Key_F10);
    EXPECT_EQ(v.f->menuBar()->activeAction(), v.f->menuBar()->actions().value(0));
}

// The printer asked for by "Imprimir…" writes a PDF file instead; the name
// of the document printed is recorded.
struct Impresion {
    QTemporaryDir dir;
    QString pdf = dir.filePath("figura.pdf");
    QStringList documentos;
    explicit Impresion(Form1& f)
    {
        f.pide_impresora = [this](QPrinter& p) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(pdf);
            documentos << p.docName();
            return true;
        };
    }
};

TEST(Atajos, CtrlPImprimeLaFiguraDeLaVentanaActiva)
{
    Activa v;
    Impresion imp(*v.f);
    v.abre(kEjemplo);

    // The main window: its column view.
    v.f->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(v.f.get()));
    EXPECT_EQ(v.tecla("imprimir_mnu", Qt::Key_P), 1);
    EXPECT_EQ(imp.documentos, QStringList{"TEVARRO 1.0"});
    const QByteArray pdf = prueba::bytes_de(imp.pdf);
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_GT(pdf.size(), 2000);

    // The key pressed in the curve window prints the curves.
    Form4* curvas = v.f->curvas_ventana();
    ASSERT_NE(curvas, nullptr);
    curvas->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(curvas));
    QTest::keyClick(curvas, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(imp.documentos.value(1), "Curva de tevarro");

    // And in the history window the diagram.
    v.f->findChild<QAction*>("historia_mnu")->trigger();
    Form5* historia = v.f->historia_ventana();
    ASSERT_NE(historia, nullptr);
    historia->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(historia));
    QTest::keyClick(historia, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(imp.documentos.value(2), "Historia de enterramiento");
    EXPECT_TRUE(v.avisos.isEmpty()) << v.avisos.join("\n").toStdString();
}

TEST(Atajos, UnaImpresionQueFallaLoDice)
{
    Activa v;
    v.f->pide_impresora = [](QPrinter& p) {
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName("/no/existe/esta/carpeta/figura.pdf");
        return true;
    };
    v.tecla("imprimir_mnu", Qt::Key_P);
    ASSERT_EQ(v.avisos.size(), 1);
    EXPECT_TRUE(v.avisos[0].contains("/no/existe/esta/carpeta/figura.pdf"))
        << v.avisos[0].toStdString();
}

TEST(Atajos, F1MuestraElManual)
{
    Activa v;
    EXPECT_EQ(v.f->ayuda_ventana(), nullptr);
    EXPECT_EQ(v.tecla("manual_mnu", Qt::Key_F1, Qt::NoModifier), 1);
    VentanaAyuda* ayuda = v.f->ayuda_ventana();
    ASSERT_NE(ayuda, nullptr);
    EXPECT_TRUE(ayuda->isVisible());
    EXPECT_EQ(ayuda->windowTitle(), "Manual de TEVARRO");
    const QString texto = ayuda->Manual->toPlainText();
    EXPECT_TRUE(texto.contains("Manual de TEVARRO")) << texto.left(200).toStdString();
    EXPECT_TRUE(texto.contains("El cálculo"));

    // F1 again, from the manual itself, keeps the one window.
    ayuda->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(ayuda));
    QTest::keyClick(ayuda, Qt::Key_F1);
    EXPECT_EQ(v.f->ayuda_ventana(), ayuda);
}

} // namespace
} // namespace tev
