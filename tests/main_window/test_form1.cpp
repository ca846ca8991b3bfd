#include "main_window/form1.h"

#include "curve_window/form4.h"
#include "main_window/com_file.h"
#include "main_window/ventana_de_prueba.h"
#include "main_window/vista_columna.h"
#include "model/store.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/stat.h>

#include <memory>

namespace tev {
namespace {

const QString kEjemplo = QString(TEVARRO_SOURCE_DIR) + "/examples/neuquen.tev";

using prueba::bytes_de;
using prueba::Ventana;

TEST(Form1, DisposicionYMenus)
{
    Ventana v;
    EXPECT_EQ(v.f->windowTitle(), "TEVARRO 1.0");
    EXPECT_EQ(v.f->centralWidget()->size(), QSize(792, 510));
    EXPECT_EQ(v.f->Picture1->geometry(), QRect(32, 0, 761, 489));
    EXPECT_EQ(v.f->Command6->geometry(), QRect(0, 96, 33, 33));
    EXPECT_EQ(v.f->Command6->toolTip(), "Drag");
    EXPECT_EQ(v.f->StatusBar1->geometry(), QRect(0, 493, 792, 17));
    QStringList barra;
    for (QAction* a : v.f->menuBar()->actions())
        barra << a->text();
    EXPECT_EQ(barra, (QStringList{"Archivo", "Editar", "Modificar", "Dibuja",
                                  QString::fromUtf8("Análisis"), "Ayuda"}));
    QStringList archivo;
    for (QAction* a : v.f->menuBar()->actions().first()->menu()->actions())
        archivo << a->text();
    // The four commands in their order, "Salir" last; between them the
    // recent files and printing, after a separator (an empty text).
    EXPECT_EQ(archivo, (QStringList{"Nuevo", "Abrir", "Salvar", "", "Archivos recientes",
                                    QString::fromUtf8("Imprimir…"), "", "Salir"}));
}

TEST(Form1, ArranqueDibujaSoloLaLineaDeReferencia)
{
    Ventana v;
    EXPECT_EQ(v.s->n_bancos, 0);
    EXPECT_EQ(v.s->factor_zoom, 0.5f);
    EXPECT_EQ(v.s->litologia[100], "Areniscas");
    EXPECT_EQ(v.pixel(1500, 0), QColor(Qt::black)); // datum line 500..2500
    EXPECT_NE(v.pixel(3000, 0), QColor(Qt::black)); // and no further
    EXPECT_NE(v.pixel(1500, 50), QColor(Qt::black));
}

TEST(Form1, AbrirCargaCalculaYDibuja)
{
    Ventana v;
    v.abre(kEjemplo);
    EXPECT_TRUE(v.avisos.isEmpty()) << v.avisos.join("\n").toStdString();
    EXPECT_EQ(v.dialogo->DialogTitle, "Abrir Archivo");
    EXPECT_EQ(v.dialogo->Flags, 4);
    ASSERT_EQ(v.s->n_bancos, 12);
    EXPECT_EQ(v.s->nombre[4], "Formación Quintuco");
    EXPECT_GT(v.s->base_descomp[1], 0.0f);
    EXPECT_NE(v.f->curvas_ventana(), nullptr);
    // Bed 12, yellow sandstone from 0 to 85 m, present-day box x 1000..2000.
    EXPECT_EQ(v.pixel(1500, 40), QColor(255, 255, 0));
    // Bed 1 (magenta arkose, 2050..2400 m) lies below the start-up view, but
    // its decompacted box hangs from the datum in the first column.
    EXPECT_EQ(v.pixel(3600, v.s->base_descomp[1] / 2), QColor(255, 0, 255));
    // Bed 2 (red sandstone) in the second decompacted column.
    EXPECT_EQ(v.pixel(5500, v.s->base_descomp[2] / 2), QColor(255, 0, 0));
}

TEST(Form1, CancelarOArchivoMaloNoTocaLaColumna)
{
    Ventana v;
    v.abre(kEjemplo);
    const Store antes = *v.s;
    v.abre(QString()); // cancelled
    EXPECT_EQ(v.s->n_bancos, 12);
    EXPECT_EQ(v.s->nombre[3], antes.nombre[3]);

    QTemporaryDir dir;
    const QString malo = dir.filePath("malo.tev");
    QFile f(malo);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("A, 0 , 100 , 0 , 10 ,Areniscas, 16777215 , .63 , xx , 0 , 0 , 0 , 0 , 0 \r\n");
    f.close();
    v.abre(malo);
    ASSERT_EQ(v.avisos.size(), 1);
    EXPECT_TRUE(v.avisos[0].contains("malo.tev"));
    EXPECT_TRUE(v.avisos[0].contains("campo 9"));
    EXPECT_EQ(v.s->n_bancos, 12);
    for (int i = 1; i <= 12; ++i) {
        EXPECT_EQ(v.s->nombre[i], antes.nombre[i]);
        EXPECT_EQ(v.s->base_descomp[i], antes.base_descomp[i]);
    }
}

TEST(Form1, ArchivosHostilesAvisanYNoTocanLaColumna)
{
    Ventana v;
    v.abre(kEjemplo);
    ASSERT_EQ(v.s->n_bancos, 12);
    const Store antes = *v.s;

    QTemporaryDir dir;
    auto archivo = [&](const char* nombre, const QByteArray& bytes) {
        QFile f(dir.filePath(nombre));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    };
    QFile enorme(dir.filePath("enorme.tev"));
    ASSERT_TRUE(enorme.open(QIODevice::WriteOnly));
    ASSERT_TRUE(enorme.resize(200 * 1024 * 1024)); // sparse
    enorme.close();
    const QString rutas[] = {
        dir.path(),
        "/dev/zero",
        enorme.fileName(),
        archivo("basura.bin", QByteArray("\x7f"
                                         "ELF\x02\x01\x01\0\0\0",
                                         10)
                                  .repeated(100)),
        archivo("chino.tev", "Arenisca 砂岩, 0 , 100 , 0 , 10 ,Areniscas, 16777215 , .63 , .51 , "
                             "0 , 0 , 0 , 0 , 0 \r\n"),
        archivo("desborde.tev", "A, 0 , 1E+39 , 0 , 10 ,Areniscas, 16777215 , .63 , .51 , "
                                "0 , 0 , 0 , 0 , 0 \r\n"),
    };
    int avisos = 0;
    for (const QString& r : rutas) {
        v.abre(r);
        ASSERT_EQ(v.avisos.size(), ++avisos) << r.toStdString();
        EXPECT_TRUE(v.avisos.back().contains(r)) << v.avisos.back().toStdString();
        EXPECT_EQ(v.s->n_bancos, 12);
        for (int i = 1; i <= 12; ++i) {
            EXPECT_EQ(v.s->nombre[i], antes.nombre[i]);
            EXPECT_EQ(v.s->techo[i], antes.techo[i]);
            EXPECT_EQ(v.s->base_descomp[i], antes.base_descomp[i]);
            EXPECT_EQ(v.s->tevarro_tectonica[i], antes.tevarro_tectonica[i]);
        }
    }
}

TEST(Form1, SalvarDevuelveElMismoArchivo)
{
    Ventana v;
    v.abre(kEjemplo);
    QTemporaryDir dir;
    v.dialogo->respuesta = dir.filePath("copia.tev");
    v.menu("salvar_mnu");
    EXPECT_EQ(v.dialogo->DialogTitle, "Salvar Archivo");
    EXPECT_TRUE(v.avisos.isEmpty());
    EXPECT_EQ(bytes_de(dir.filePath("copia.tev")), bytes_de(kEjemplo));

    v.dialogo->respuesta = dir.filePath("no/existe/copia.tev");
    v.menu("salvar_mnu");
    ASSERT_EQ(v.avisos.size(), 1);
    EXPECT_TRUE(v.avisos[0].contains("no/existe/copia.tev"));

    // Onto a pipe: refused, in Spanish, and the pipe stays a pipe.
    const QString tuberia = dir.filePath("tuberia");
    ASSERT_EQ(::mkfifo(tuberia.toLocal8Bit().constData(), 0644), 0);
    v.dialogo->respuesta = tuberia;
    v.menu("salvar_mnu");
    ASSERT_EQ(v.avisos.size(), 2);
    EXPECT_EQ(v.avisos[1], QString("No se pudo guardar «%1»: no es un archivo común (es una "
                                   "tubería, un dispositivo, un socket u otro tipo especial) y "
                                   "no se reemplaza.")
                               .arg(tuberia));
    EXPECT_TRUE(QFileInfo(tuberia).isFile() == false && QFileInfo(tuberia).exists());
}

TEST(Form1, AbrirYSalvarUnaHojaDeCalculo)
{
    Ventana proyecto;
    proyecto.abre(kEjemplo);
    Ventana v;
    v.abre(QString(TEVARRO_SOURCE_DIR) + "/examples/neuquen.csv");
    ASSERT_TRUE(v.avisos.isEmpty()) << v.avisos.join("\n").toStdString();
    ASSERT_EQ(v.s->n_bancos, 12);
    EXPECT_EQ(v.s->nombre[8], "Margas de Jagüel");
    EXPECT_EQ(v.f->Picture1->imagen(), proyecto.f->Picture1->imagen());

    // A project's column saved as CSV takes the default form; the sheet's
    // column its own: the sheet's bytes again.
    QTemporaryDir dir;
    proyecto.dialogo->respuesta = dir.filePath("de_proyecto.csv");
    proyecto.menu("salvar_mnu");
    EXPECT_TRUE(bytes_de(dir.filePath("de_proyecto.csv")).startsWith("\xEF\xBB\xBFnombre,techo,"));
    v.dialogo->respuesta = dir.filePath("pozo.csv");
    v.menu("salvar_mnu");
    EXPECT_EQ(bytes_de(dir.filePath("pozo.csv")),
              bytes_de(QString(TEVARRO_SOURCE_DIR) + "/examples/neuquen.csv"));
    // Opened again and saved as a project, without its remarks: the example's bytes.
    v.abre(dir.filePath("pozo.csv"));
    v.dialogo->respuesta = dir.filePath("pozo.tev");
    QTimer respuesta;
    QObject::connect(&respuesta, &QTimer::timeout, [&respuesta] {
        auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!caja) return;
        respuesta.stop();
        for (QAbstractButton* b : caja->buttons())
            if (b->text() == "Guardar sin notas") b->click();
    });
    respuesta.start(5);
    v.menu("salvar_mnu");
    EXPECT_FALSE(respuesta.isActive()); // the question was asked
    EXPECT_TRUE(v.avisos.isEmpty()) << v.avisos.join("\n").toStdString();
    EXPECT_EQ(bytes_de(dir.filePath("pozo.tev")), bytes_de(kEjemplo));

    // A bad cell is named by row and column; the column stays.
    QFile f(dir.filePath("malo.csv"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes_de(dir.filePath("pozo.csv")).replace(";0,49;", ";0,49x;"));
    f.close();
    v.abre(f.fileName());
    ASSERT_EQ(v.avisos.size(), 1);
    EXPECT_TRUE(v.avisos[0].contains("malo.csv»: fila 3 (banco 2), columna «porosidad»: «0,49x»"))
        << v.avisos[0].toStdString();
    EXPECT_EQ(v.s->n_bancos, 12);
    EXPECT_EQ(v.f->Picture1->imagen(), proyecto.f->Picture1->imagen());
}

TEST(Form1, CalculoFallidoAvisaYMuestraLaColumna)
{
    Ventana v;
    QTemporaryDir dir;
    const QString ruta = dir.filePath("cero.tev");
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("B, 100 , 200 , 5 , 10 ,Pelitas, 255 , .63 , 0 , 0 , 0 , 0 , 0 , 0 \r\n"
            "A, 0 , 100 , 0 , 5 ,Areniscas, 65280 , .49 , .27 , 0 , 0 , 0 , 0 , 0 \r\n");
    f.close();
    v.abre(ruta);
    ASSERT_EQ(v.avisos.size(), 1);
    EXPECT_TRUE(v.avisos[0].contains("banco 1"));
    EXPECT_EQ(v.s->n_bancos, 2);
    EXPECT_EQ(v.pixel(1500, 50), QColor(0, 255, 0));  // bed 2, green, drawn
    EXPECT_EQ(v.pixel(1700, 150), QColor(255, 0, 0)); // bed 1, red
}

} // namespace
} // namespace tev
