// A project file named on the command line: Form1::abre_archivo, the routine
// behind "Abrir", and the argument handling of the tevarro program itself.

#include "main_window/form1.h"

#include "curve_window/form4.h"
#include "main_window/com_file.h"
#include "main_window/ventana_de_prueba.h"
#include "main_window/vista_columna.h"
#include "model/store.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

namespace tev {
namespace {

const QString kEjemplo = QString(TEVARRO_SOURCE_DIR) + "/examples/neuquen.tev";

using prueba::bytes_de;
using prueba::Ventana;

// Everything "Abrir" leaves in the store for beds 1..n.
void espera_columnas_iguales(const Store& a, const Store& b)
{
    ASSERT_EQ(a.n_bancos, b.n_bancos);
    EXPECT_EQ(a.banco_actual, b.banco_actual);
    EXPECT_EQ(a.escala_tiempo, b.escala_tiempo);
    EXPECT_EQ(a.escala_profundidad, b.escala_profundidad);
    for (int i = 1; i <= a.n_bancos; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(a.nombre[i], b.nombre[i]);
        EXPECT_EQ(a.litologia[i], b.litologia[i]);
        EXPECT_EQ(a.color[i], b.color[i]);
        EXPECT_EQ(a.techo[i], b.techo[i]);
        EXPECT_EQ(a.base[i], b.base[i]);
        EXPECT_EQ(a.edad_techo[i], b.edad_techo[i]);
        EXPECT_EQ(a.edad_base[i], b.edad_base[i]);
        EXPECT_EQ(a.coef_porosidad[i], b.coef_porosidad[i]);
        EXPECT_EQ(a.techo_descomp[i], b.techo_descomp[i]);
        EXPECT_EQ(a.base_descomp[i], b.base_descomp[i]);
        EXPECT_EQ(a.densidad[i], b.densidad[i]);
        EXPECT_EQ(a.nivel_mar[i], b.nivel_mar[i]);
        EXPECT_EQ(a.correccion_carga[i], b.correccion_carga[i]);
        EXPECT_EQ(a.tevarro_tectonica[i], b.tevarro_tectonica[i]);
    }
}

TEST(Arranque, AbreArchivoDejaLaVentanaComoAbrir)
{
    Ventana menu;
    menu.abre(kEjemplo);
    ASSERT_EQ(menu.dialogo->veces, 1);
    ASSERT_TRUE(menu.avisos.isEmpty()) << menu.avisos.join("\n").toStdString();

    Ventana directo;
    const QImage vacia = directo.f->Picture1->imagen();
    EXPECT_TRUE(directo.f->abre_archivo(kEjemplo));
    EXPECT_TRUE(directo.avisos.isEmpty()) << directo.avisos.join("\n").toStdString();
    EXPECT_EQ(directo.dialogo->veces, 0); // no file dialog on this path

    ASSERT_EQ(directo.s->n_bancos, 12);
    EXPECT_EQ(directo.s->nombre[4], "Formación Quintuco");
    EXPECT_GT(directo.s->base_descomp[1], 0.0f);
    espera_columnas_iguales(*menu.s, *directo.s);

    EXPECT_EQ(directo.f->windowTitle(), "TEVARRO 1.0");
    EXPECT_EQ(directo.f->windowTitle(), menu.f->windowTitle());
    EXPECT_TRUE(directo.f->isVisible());

    // The column is drawn: bed 12, yellow sandstone from 0 to 85 m, in the
    // present-day box (x 1000..2000), and bed 2, red, in the second
    // decompacted column. The same picture as the menu's, pixel for pixel.
    EXPECT_NE(directo.f->Picture1->imagen(), vacia);
    EXPECT_EQ(directo.pixel(1500, 40), QColor(255, 255, 0));
    EXPECT_EQ(directo.pixel(5500, directo.s->base_descomp[2] / 2), QColor(255, 0, 0));
    EXPECT_EQ(directo.f->Picture1->imagen(), menu.f->Picture1->imagen());

    // The curve window is up with the same captions and the same curves.
    Form4* c1 = menu.f->curvas_ventana();
    Form4* c2 = directo.f->curvas_ventana();
    ASSERT_NE(c1, nullptr);
    ASSERT_NE(c2, nullptr);
    EXPECT_TRUE(c2->isVisible());
    EXPECT_EQ(c2->windowTitle(), c1->windowTitle());
    const auto etiquetas1 = c1->findChildren<QLabel*>();
    const auto etiquetas2 = c2->findChildren<QLabel*>();
    ASSERT_EQ(etiquetas1.size(), etiquetas2.size());
    for (int i = 0; i < etiquetas1.size(); ++i)
        EXPECT_EQ(etiquetas2[i]->text(), etiquetas1[i]->text()) << i;
    QTemporaryDir dir;
    QString error;
    ASSERT_TRUE(c1->guarda_imagen(dir.filePath("menu.png"), &error)) << error.toStdString();
    ASSERT_TRUE(c2->guarda_imagen(dir.filePath("directo.png"), &error)) << error.toStdString();
    const QByteArray png = bytes_de(dir.filePath("menu.png"));
    EXPECT_FALSE(png.isEmpty());
    EXPECT_EQ(bytes_de(dir.filePath("directo.png")), png);
}

TEST(Arranque, ArchivoQueFaltaAvisaNombrandoloYNoTocaLaColumna)
{
    QTemporaryDir dir;
    const QString falta = dir.filePath("no_esta.tev");

    // At start-up: the window keeps its empty column.
    Ventana nueva;
    const QImage vacia = nueva.f->Picture1->imagen();
    EXPECT_FALSE(nueva.f->abre_archivo(falta));
    ASSERT_EQ(nueva.avisos.size(), 1);
    EXPECT_TRUE(nueva.avisos[0].contains(falta)) << nueva.avisos[0].toStdString();
    EXPECT_TRUE(nueva.avisos[0].contains("no existe")) << nueva.avisos[0].toStdString();
    EXPECT_EQ(nueva.s->n_bancos, 0);
    EXPECT_EQ(nueva.f->curvas_ventana(), nullptr);
    EXPECT_EQ(nueva.f->Picture1->imagen(), vacia);

    // Over a column already open: it stays as it was, on screen too.
    Ventana v;
    ASSERT_TRUE(v.f->abre_archivo(kEjemplo));
    const Store antes = *v.s;
    const QImage dibujo = v.f->Picture1->imagen();
    EXPECT_FALSE(v.f->abre_archivo(falta));
    ASSERT_EQ(v.avisos.size(), 1);
    EXPECT_TRUE(v.avisos[0].contains(falta)) << v.avisos[0].toStdString();
    espera_columnas_iguales(*v.s, antes);
    EXPECT_EQ(v.f->Picture1->imagen(), dibujo);

    // The same words the menu gives for the same file.
    v.abre(falta);
    ASSERT_EQ(v.avisos.size(), 2);
    EXPECT_EQ(v.avisos[1], v.avisos[0]);
}

TEST(Arranque, ElAvisoEsLaCajaDeMensajesDeAbrir)
{
    QTemporaryDir dir;
    const QString falta = dir.filePath("perdido.tev");
    Ventana v(false); // the program's own message box

    QString titulo;
    QString texto;
    int vistas = 0;
    // Reads and closes the box once it is up.
    QTimer mira;
    mira.setInterval(10);
    QObject::connect(&mira, &QTimer::timeout, [&] {
        auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!caja) return;
        ++vistas;
        titulo = caja->windowTitle();
        texto = caja->text();
        caja->accept();
    });
    mira.start();
    EXPECT_FALSE(v.f->abre_archivo(falta));
    mira.stop();

    EXPECT_EQ(vistas, 1);
    EXPECT_EQ(titulo, "TEVARRO 1.0");
    EXPECT_TRUE(texto.contains(falta)) << texto.toStdString();
    EXPECT_TRUE(texto.contains("no existe")) << texto.toStdString();
    EXPECT_EQ(v.s->n_bancos, 0);
}

// The tevarro program itself, for the cases that end before any window.
struct Corrida {
    int estado = -1;
    QString salida;
    QString errores;
};

Corrida corre_tevarro(const QStringList& argumentos)
{
    QProcess p;
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.insert("QT_QPA_PLATFORM", "offscreen");
    // Without it Qt warns on stderr, which is looked at here.
    QTemporaryDir ejecucion;
    entorno.insert("XDG_RUNTIME_DIR", ejecucion.path());
    // Nor is the user's data folder touched.
    entorno.insert("XDG_DATA_HOME", ejecucion.path());
    entorno.insert("XDG_CONFIG_HOME", ejecucion.path());
    p.setProcessEnvironment(entorno);
    p.start(TEVARRO_EXE, argumentos);
    Corrida r;
    if (!p.waitForFinished(20000)) {
        p.kill();
        p.waitForFinished();
        return r; // estado -1: still running, or never started
    }
    r.estado = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.salida = QString::fromUtf8(p.readAllStandardOutput());
    r.errores = QString::fromUtf8(p.readAllStandardError());
    return r;
}

TEST(Arranque, DosArchivosEsUnErrorDeUso)
{
    const Corrida r = corre_tevarro({kEjemplo, "otro.tev"});
    EXPECT_EQ(r.estado, 2);
    EXPECT_TRUE(r.errores.contains("un solo archivo")) << r.errores.toStdString();
    EXPECT_TRUE(r.errores.contains(kEjemplo)) << r.errores.toStdString();
    EXPECT_TRUE(r.errores.contains("otro.tev")) << r.errores.toStdString();
    EXPECT_TRUE(r.errores.contains("Uso: tevarro [OPCIÓN...] [ARCHIVO]"))
        << r.errores.toStdString();
}

TEST(Arranque, LasOpcionesDeQtNoCuentanComoArchivos)
{
    // "-platform offscreen" is taken by Qt; the two files are left.
    const Corrida r = corre_tevarro({"-platform", "offscreen", kEjemplo, "otro.tev"});
    EXPECT_EQ(r.estado, 2);
    EXPECT_TRUE(r.errores.contains("se dieron 2")) << r.errores.toStdString();
}

TEST(Arranque, OpcionDesconocidaYAyuda)
{
    Corrida r = corre_tevarro({"--nada", kEjemplo});
    EXPECT_EQ(r.estado, 2);
    EXPECT_TRUE(r.errores.contains("\"--nada\" no existe")) << r.errores.toStdString();

    r = corre_tevarro({"--ayuda"});
    EXPECT_EQ(r.estado, 0);
    EXPECT_TRUE(r.salida.startsWith("Uso: tevarro [OPCIÓN...] [ARCHIVO]"))
        << r.salida.toStdString();
    EXPECT_TRUE(r.errores.isEmpty()) << r.errores.toStdString();
}

} // namespace
} // namespace tev
