// "Archivo → Archivos recientes": the files opened and saved, newest first,
// eight at most, kept in the preferences (here in the test's own folder, see
// ui_main.cpp); a file gone is said so and leaves the list.

#include "main_window/archivos_recientes.h"

#include "main_window/ventana_de_prueba.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace tev {
namespace {

const QString kEjemplo = TEVARRO_SOURCE_DIR "/examples/neuquen.tev";
const QString kEjemploCsv = TEVARRO_SOURCE_DIR "/examples/neuquen.csv";

// A window whose list starts empty.
struct ConLista : prueba::Ventana {
    ArchivosRecientes* r = f->archivos_recientes();
    ConLista() { r->vacia(); }
    // The file is noted once the event loop is back from the command.
    void abre(const QString& ruta)
    {
        prueba::Ventana::abre(ruta);
        QCoreApplication::processEvents();
    }
    void salva(const QString& ruta)
    {
        dialogo->respuesta = ruta;
        menu("salvar_mnu");
        QCoreApplication::processEvents();
    }
    // The entries as the menu shows them when it opens.
    QStringList entradas()
    {
        emit r->menu()->aboutToShow();
        QStringList t;
        for (QAction* a : r->menu()->actions())
            if (!a->isSeparator()) t << a->text();
        return t;
    }
};

QString copia_en(const QTemporaryDir& dir, const QString& origen, const QString& nombre)
{
    const QString ruta = dir.filePath(nombre);
    QFile::copy(origen, ruta);
    return ruta;
}

TEST(ArchivosRecientes, AbrirYSalvarAnotanElMasNuevoPrimero)
{
    ConLista v;
    QTemporaryDir dir;
    EXPECT_EQ(v.entradas(), QStringList{"(ninguno)"});
    const QString a = copia_en(dir, kEjemplo, "a.tev");
    const QString b = copia_en(dir, kEjemploCsv, "b.csv");
    // Not within the command, which the write would slow down: right after it.
    v.prueba::Ventana::abre(a);
    EXPECT_TRUE(v.r->lista().isEmpty());
    QCoreApplication::processEvents();
    EXPECT_EQ(v.r->lista(), QStringList{a});
    v.abre(b);
    v.salva(dir.filePath("c.csv"));
    EXPECT_EQ(v.r->lista(), (QStringList{dir.filePath("c.csv"), b, a}));
    // Opening one again brings it up, once.
    v.abre(a);
    EXPECT_EQ(v.r->lista(), (QStringList{a, dir.filePath("c.csv"), b}));
    const QStringList e = v.entradas();
    ASSERT_EQ(e.size(), 4);
    EXPECT_TRUE(e[0].startsWith("&1 a.tev  (")) << e[0].toStdString();
    EXPECT_TRUE(e[2].startsWith("&3 b.csv  (")) << e[2].toStdString();
    EXPECT_EQ(e[3], "Vaciar la lista");
    // A failed open is not a file of the list.
    const QString roto = dir.filePath("roto.tev");
    QFile f(roto);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("no es una columna\r\n");
    f.close();
    v.abre(roto);
    EXPECT_FALSE(v.r->lista().contains(roto));
}

TEST(ArchivosRecientes, OchoComoMucho)
{
    ConLista v;
    for (int i = 1; i <= 10; ++i)
        v.r->anota(QString("/datos/pozo%1.tev").arg(i));
    const QStringList l = v.r->lista();
    ASSERT_EQ(l.size(), ArchivosRecientes::kMaximo);
    EXPECT_EQ(l.first(), "/datos/pozo10.tev");
    EXPECT_EQ(l.last(), "/datos/pozo3.tev");
    EXPECT_EQ(v.entradas().size(), 9); // the eight and "Vaciar la lista"
}

TEST(ArchivosRecientes, UnaEntradaAbreSuArchivo)
{
    ConLista v;
    QTemporaryDir dir;
    const QString a = copia_en(dir, kEjemplo, "a.tev");
    v.abre(a);
    v.menu("nuevo_mnu");
    EXPECT_EQ(v.s->n_bancos, 1);
    v.entradas();
    auto* entrada = v.r->menu()->findChild<QAction*>("reciente_1");
    ASSERT_NE(entrada, nullptr);
    entrada->trigger();
    EXPECT_EQ(v.s->n_bancos, 12);
    EXPECT_EQ(v.s->nombre[1], "Arcosas de Lotena");
    EXPECT_FALSE(v.f->columna_modificada());
    EXPECT_TRUE(v.avisos.isEmpty()) << v.avisos.join("\n").toStdString();

    // A modified column is asked about first; "Cancelar" keeps it.
    v.s->nombre[1] = "Otra";
    v.respuesta = Form1::Respuesta::cancelar;
    v.entradas();
    v.r->menu()->findChild<QAction*>("reciente_1")->trigger();
    EXPECT_EQ(v.preguntas.size(), 1);
    EXPECT_EQ(v.s->nombre[1], "Otra");
}

TEST(ArchivosRecientes, UnArchivoQueYaNoEstaSeDiceYSeQuita)
{
    ConLista v;
    QTemporaryDir dir;
    const QString a = copia_en(dir, kEjemplo, "a.tev");
    const QString b = copia_en(dir, kEjemplo, "b.tev");
    v.abre(a);
    v.abre(b);
    ASSERT_TRUE(QFile::remove(a));
    v.entradas();
    v.r->menu()->findChild<QAction*>("reciente_2")->trigger();
    ASSERT_EQ(v.avisos.size(), 1);
    EXPECT_EQ(v.avisos[0],
              QString("El archivo «%1» ya no existe; se quitó de la lista de archivos recientes.")
                  .arg(a));
    EXPECT_EQ(v.r->lista(), QStringList{b});
    // Nothing else happened: the column is b's, unmodified, and not asked about.
    EXPECT_TRUE(v.preguntas.isEmpty());
    EXPECT_FALSE(v.f->columna_modificada());
}

TEST(ArchivosRecientes, LaListaSobreviveAlPrograma)
{
    QTemporaryDir dir;
    const QString a = copia_en(dir, kEjemplo, "a.tev");
    {
        // The program ends before its event loop comes back (Ctrl+O, then
        // Ctrl+Q at once): the file is still noted.
        ConLista v;
        v.prueba::Ventana::abre(a);
    }
    // On the disk, in the preferences file, once the window is gone.
    const QString archivo =
        QSettings(QSettings::NativeFormat, QSettings::UserScope, "tevarro", "tevarro").fileName();
    EXPECT_TRUE(prueba::bytes_de(archivo).contains(a.toUtf8())) << archivo.toStdString();
    // And the next window starts with it.
    prueba::Ventana otra;
    EXPECT_EQ(otra.f->archivos_recientes()->lista(), QStringList{a});
}

} // namespace
} // namespace tev
