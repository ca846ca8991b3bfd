// "Comparar pozos": opened from "Análisis", the main column first and
// following it, files added, dropped, hidden and removed, the exports equal
// to the batch tool's, the list kept for the next opening, the bands computed
// in the background.

#include "compare_window/ventana_pozos.h"

#include "columna_que_falla.h"
#include "compute/nivel_mar.h"
#include "drawing/exporta_imagen.h"
#include "main_window/ventana_de_prueba.h"
#include "nivel_mar_en_imagen.h"
#include "preferencias_propias.h"
#include "window_helpers/ajustes_estiramiento.h"
#include "window_helpers/ajustes_incertidumbre.h"
#include "window_helpers/calculo_de_fondo.h"
#include "window_helpers/curva_en_uso.h"
#include "window_helpers/guardar_imagen.h"
#include "window_helpers/preferencias.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <memory>

namespace tev {
namespace {

const QString kCarpeta = TEVARRO_SOURCE_DIR "/examples/";
const QString kNeuquen = kCarpeta + "neuquen.csv";
const QString kGolfo = kCarpeta + "golfo_san_jorge.csv";

// Preferences of their own, empty at the start of every test.
class VentanaPozosTest : public prueba::PreferenciasPropias {};

// A window on its own with an empty main column (no history: nothing of it
// is drawn or exported).
struct Sola {
    std::unique_ptr<Store> vacia = std::make_unique<Store>();
    QPointer<VentanaPozos> w = new VentanaPozos();
    Sola()
    {
        valores_de_arranque(*vacia);
        w->sigue_la_columna(*vacia, {});
        w->show();
    }
    ~Sola() { delete w.data(); }
    // "Añadir…" clicked, the dialog answering rutas.
    void anade(const QStringList& rutas) const
    {
        w->pide_archivos = [rutas] { return rutas; };
        QTest::mouseClick(w->anadir_btn, Qt::LeftButton);
    }
    [[nodiscard]] QImage figura() const { return w->lienzo->grab().toImage(); }
};

// "Análisis" clicked on the menu bar, then "Comparar pozos…".
VentanaPozos* abre_pozos(prueba::Ventana& v)
{
    v.clic_en_menu("analisis_mnu", "pozos_mnu");
    return v.f->pozos_ventana();
}

int pixeles_del_color(const QImage& im, const QColor& c)
{
    int n = 0;
    for (int y = 0; y < im.height(); ++y)
        for (int x = 0; x < im.width(); ++x)
            n += im.pixelColor(x, y) == c;
    return n;
}

// A check box clicked on its box, at its left end.
void marca(QCheckBox* c)
{
    QTest::mouseClick(c, Qt::LeftButton, Qt::NoModifier, QPoint(8, c->height() / 2));
}

bool color_cerca(const QImage& im, QPointF c, const QColor& color)
{
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx) {
            const QPoint q(static_cast<int>(c.x()) + dx, static_cast<int>(c.y()) + dy);
            if (im.valid(q) && im.pixelColor(q) == color) return true;
        }
    return false;
}

// The row's entry clicked in the list, then a key pressed there.
void tecla_en_fila(QListWidget* lista, int fila, Qt::Key tecla)
{
    const QRect r = lista->visualItemRect(lista->item(fila));
    QTest::mouseClick(lista->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    QTest::keyClick(lista, tecla);
}

QByteArray salida_del_lote(const QStringList& argumentos)
{
    QProcess lote;
    lote.setWorkingDirectory(kCarpeta);
    lote.start(TEVARRO_BATCH_EXE, argumentos);
    EXPECT_TRUE(lote.waitForFinished(60000));
    EXPECT_EQ(lote.exitCode(), 0) << lote.readAllStandardError().toStdString();
    return lote.readAllStandardOutput();
}

TEST_F(VentanaPozosTest, SeAbreDesdeAnalisisYSigueLaColumna)
{
    prueba::Ventana v;
    v.abre(kCarpeta + "neuquen.tev");
    VentanaPozos* w = abre_pozos(v);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "Comparar pozos");
    ASSERT_EQ(w->pozos().size(), 1u);
    EXPECT_EQ(w->pozos()[0].nombre, "neuquen.tev");
    const ResultadoHistoria h = calcula_historia(*v.s);
    ASSERT_TRUE(w->pozos()[0].ok());
    ASSERT_EQ(w->pozos()[0].historia.pasos.size(), h.historia.pasos.size());
    const double antes = w->pozos()[0].historia.pasos.back().subsidencia_tectonica;
    EXPECT_EQ(antes, h.historia.pasos.back().subsidencia_tectonica);

    // Bed 1's top lowered to 2300 m in the bed dialog, then "Terminar".
    v.menu("modificar_mnu");
    Form2* d = v.f->dialogo_bancos();
    d->Text1->selectAll();
    QTest::keyClicks(d->Text1, "2300");
    d->Command2->setFocus();
    QTest::keyClick(d->Command2, Qt::Key_Space);
    ASSERT_EQ(v.s->techo[1], 2300.0F);
    const double despues = calcula_historia(*v.s).historia.pasos.back().subsidencia_tectonica;
    EXPECT_NE(despues, antes);
    EXPECT_EQ(w->pozos()[0].historia.pasos.back().subsidencia_tectonica, despues);

    // The command again raises the same window; "Nuevo" leaves a column
    // without a file or beds.
    EXPECT_EQ(abre_pozos(v), w);
    v.menu("nuevo_mnu");
    ASSERT_EQ(v.f->pozos_ventana(), w);
    EXPECT_EQ(w->pozos()[0].nombre, "Sin título");
    EXPECT_FALSE(w->pozos()[0].ok());
}

TEST_F(VentanaPozosTest, AnadeOcultaYQuita)
{
    QTemporaryDir tmp;
    const QString roto = tmp.filePath("roto.tev");
    QFile f(roto);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("nada\n");
    f.close();

    Sola s;
    s.anade({kNeuquen, roto, kGolfo});
    const std::vector<Pozo>& pozos = s.w->pozos();
    ASSERT_EQ(pozos.size(), 4u);
    EXPECT_EQ(pozos[1].nombre, "neuquen.csv");
    EXPECT_EQ(pozos[3].nombre, "golfo_san_jorge.csv");
    // The unreadable file is listed with its reason, which names it; the
    // others are drawn.
    EXPECT_FALSE(pozos[2].ok());
    EXPECT_TRUE(s.w->estado_lbl->text().contains("roto.tev"))
        << s.w->estado_lbl->text().toStdString();
    ASSERT_TRUE(pozos[1].ok());
    ASSERT_TRUE(pozos[3].ok());
    ASSERT_EQ(s.w->figura().pozos.size(), 2u);

    // Every step of the San Jorge well in its colour where the frame puts it.
    const QColor golfo = color_de_pozo(3);
    QImage im = s.figura();
    const MarcoPozos m = marco_pozos(s.w->figura(), im.size());
    for (const PasoHistoria& p : pozos[3].historia.pasos)
        EXPECT_TRUE(color_cerca(im, m.punto(p.edad, p.subsidencia_tectonica), golfo)) << p.edad;

    // Hidden by its check box (Space on its entry): its colour is gone.
    tecla_en_fila(s.w->lista_pozos, 3, Qt::Key_Space);
    EXPECT_EQ(s.w->lista_pozos->item(3)->checkState(), Qt::Unchecked);
    ASSERT_EQ(s.w->figura().pozos.size(), 1u);
    EXPECT_EQ(pixeles_del_color(s.figura(), golfo), 0);
    tecla_en_fila(s.w->lista_pozos, 3, Qt::Key_Space);
    EXPECT_GT(pixeles_del_color(s.figura(), golfo), 0);

    // The main column cannot be removed; the broken file can.
    tecla_en_fila(s.w->lista_pozos, 0, Qt::Key_Delete);
    EXPECT_FALSE(s.w->quitar_btn->isEnabled());
    EXPECT_EQ(s.w->pozos().size(), 4u);
    const QRect r = s.w->lista_pozos->visualItemRect(s.w->lista_pozos->item(2));
    QTest::mouseClick(s.w->lista_pozos->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    QTest::mouseClick(s.w->quitar_btn, Qt::LeftButton);
    EXPECT_EQ(s.w->archivos(), QStringList({kNeuquen, kGolfo}));
    EXPECT_FALSE(s.w->estado_lbl->text().contains("roto.tev"));
}

// A file's bed of one of the user's rocks takes its grain density, as the
// main window's column does; new rocks read the files again.
TEST_F(VentanaPozosTest, LosArchivosConocenLasRocasDelUsuario)
{
    QTemporaryDir tmp;
    const QString ruta = tmp.filePath("basalto.csv");
    QByteArray bytes = prueba::bytes_de(kNeuquen);
    bytes.replace(";Arcosas;", ";Basalto;");
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();

    Sola s;
    s.anade({ruta});
    const auto historia_con = [&ruta](const std::vector<LitologiaUsuario>& rocas) {
        auto c = std::make_unique<Store>();
        EXPECT_EQ(carga_pozo(*c, ruta.toStdString(), &curva_en_uso(), rocas), "");
        return calcula_historia(*c, curva_en_uso());
    };
    const std::vector<LitologiaUsuario> rocas = {{"Basalto", 2950, 0.1F, 0.2F}};
    const ResultadoHistoria con = historia_con(rocas);
    const ResultadoHistoria sin = historia_con({});
    ASSERT_TRUE(con.ok());
    ASSERT_TRUE(sin.ok());
    ASSERT_NE(con.historia.pasos.back().subsidencia_tectonica,
              sin.historia.pasos.back().subsidencia_tectonica);
    ASSERT_TRUE(s.w->pozos()[1].ok());
    EXPECT_EQ(s.w->pozos()[1].historia.pasos.back().subsidencia_tectonica,
              sin.historia.pasos.back().subsidencia_tectonica);

    s.vacia->litologias_usuario = rocas;
    s.w->sigue_la_columna(*s.vacia, {});
    ASSERT_TRUE(s.w->pozos()[1].ok());
    EXPECT_EQ(s.w->pozos()[1].historia.pasos.back().subsidencia_tectonica,
              con.historia.pasos.back().subsidencia_tectonica);
}

TEST_F(VentanaPozosTest, SoltarArchivosLosAnade)
{
    Sola s;
    QMimeData datos;
    datos.setUrls({QUrl::fromLocalFile(kGolfo)});
    QDragEnterEvent entra(QPoint(10, 10), Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(s.w, &entra);
    EXPECT_TRUE(entra.isAccepted());
    QDropEvent suelta(QPointF(10, 10), Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(s.w, &suelta);
    EXPECT_EQ(s.w->archivos(), QStringList({kGolfo}));
}

TEST_F(VentanaPozosTest, ExportaLoQueEscribeElLote)
{
    Sola s;
    s.anade({kNeuquen, kGolfo});
    // The stretching window's settings changed while this one is open.
    AjustesEstiramiento a;
    a.modo = "termica";
    guarda_ajustes_estiramiento(a);
    QTemporaryDir tmp;
    const auto exporta = [&s, &tmp](VentanaPozos::Exportacion que) {
        const QString ruta = tmp.filePath("exportado.csv");
        s.w->pide_exportacion = [ruta, que](VentanaPozos::Exportacion* q) {
            *q = que;
            return ruta;
        };
        QTest::mouseClick(s.w->exportar_btn, Qt::LeftButton);
        return prueba::bytes_de(ruta);
    };
    EXPECT_EQ(exporta(VentanaPozos::Exportacion::historias),
              salida_del_lote({"--historia", "neuquen.csv", "golfo_san_jorge.csv"}));
    EXPECT_EQ(exporta(VentanaPozos::Exportacion::ajustes),
              salida_del_lote(
                  {"--estiramiento", "--modo", "termica", "neuquen.csv", "golfo_san_jorge.csv"}));
    // A hidden well is left out.
    tecla_en_fila(s.w->lista_pozos, 1, Qt::Key_Space);
    EXPECT_EQ(exporta(VentanaPozos::Exportacion::historias),
              salida_del_lote({"--historia", "golfo_san_jorge.csv"}));
}

TEST_F(VentanaPozosTest, LaListaSeGuardaYDiceLosQueFaltan)
{
    QTemporaryDir tmp;
    const QString a = tmp.filePath("a.csv");
    const QString b = tmp.filePath("b.csv");
    ASSERT_TRUE(QFile::copy(kNeuquen, a));
    ASSERT_TRUE(QFile::copy(kGolfo, b));
    {
        Sola s;
        s.anade({a, b});
        tecla_en_fila(s.w->lista_pozos, 2, Qt::Key_Space); // b hidden
        marca(s.w->total_chk);
    }
    ASSERT_TRUE(QFile::remove(a));

    Sola s;
    EXPECT_EQ(s.w->archivos(), QStringList({a, b}));
    EXPECT_EQ(s.w->lista_pozos->item(2)->checkState(), Qt::Unchecked);
    EXPECT_TRUE(s.w->total_chk->isChecked());
    EXPECT_TRUE(s.w->estado_lbl->text().contains(a)) << s.w->estado_lbl->text().toStdString();
    EXPECT_FALSE(s.w->pozos()[1].ok());
    // Another change keeps the missing file in the preferences.
    marca(s.w->total_chk);
    QSettings q = preferencias();
    EXPECT_EQ(q.value("comparar_pozos/archivos").toStringList(), QStringList({a, b}));
}

TEST_F(VentanaPozosTest, GuardaEImprimeLaFigura)
{
    Sola s;
    EXPECT_FALSE(s.w->guardar_btn->isEnabled()); // no well with a history
    s.anade({kGolfo});
    QTemporaryDir tmp;
    const QString png = tmp.filePath("pozos.png");
    s.w->guardar_imagen->pide_ruta = [png] { return png; };
    QTest::mouseClick(s.w->guardar_btn, Qt::LeftButton);
    const QImage im(png);
    ASSERT_FALSE(im.isNull());
    EXPECT_EQ(im.size(), s.w->lienzo->size());
    EXPECT_GT(pixeles_del_color(im, color_de_pozo(1)), 0);
    // With the program's sea-level table the corner is blank; another curve
    // is named there, also in what is printed.
    const QString ninguno = QString::fromUtf8("Nivel del mar: ninguno");
    EXPECT_EQ(prueba::pixeles_oscuros(im, prueba::esquina_del_nivel_mar(im.size(), ninguno)), 0);
    struct Tabla { // the program's table again, whatever happens
        ~Tabla() { pon_curva_en_uso(CurvaNivelMar{}); }
    } tabla;
    CurvaNivelMar ninguna;
    ninguna.tipo = CurvaNivelMar::Tipo::ninguna;
    pon_curva_en_uso(ninguna);
    QTest::mouseClick(s.w->guardar_btn, Qt::LeftButton);
    const QImage sin_mar(png);
    EXPECT_GT(
        prueba::pixeles_oscuros(sin_mar, prueba::esquina_del_nivel_mar(sin_mar.size(), ninguno)),
        40);
    const Dibujo impreso = s.w->dibujo_propio();
    QImage pintado(impreso.tamano, QImage::Format_RGB32);
    pintado.fill(Qt::white);
    {
        QPainter p(&pintado);
        impreso.pinta(p);
    }
    EXPECT_GT(
        prueba::pixeles_oscuros(pintado, prueba::esquina_del_nivel_mar(pintado.size(), ninguno)),
        40);

    const QString pdf = tmp.filePath("pozos.pdf");
    s.w->pide_impresora = [pdf](QPrinter& p) {
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(pdf);
        return true;
    };
    QTest::mouseClick(s.w->imprimir_btn, Qt::LeftButton);
    EXPECT_TRUE(prueba::bytes_de(pdf).startsWith("%PDF"));
}

// Ctrl+P of the main window prints the comparison while its window is active.
TEST_F(VentanaPozosTest, CtrlPImprimeLaComparacionActiva)
{
    prueba::Ventana v;
    v.abre(kCarpeta + "neuquen.tev");
    VentanaPozos* w = abre_pozos(v);
    ASSERT_NE(w, nullptr);
    QString titulo;
    v.f->pide_impresora = [&titulo](QPrinter& p) {
        titulo = p.docName();
        return false;
    };
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    QTest::keyClick(w, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(titulo, "Comparar pozos");
}

TEST_F(VentanaPozosTest, LasBandasDeCadaPozoSeCalculanAlFondo)
{
    AjustesIncertidumbre a;
    a.activa = true;
    a.tiradas = 20;
    guarda_ajustes_incertidumbre(a);
    Sola s;
    s.anade({kNeuquen, kGolfo});
    EXPECT_TRUE(s.w->calculo->en_curso());
    QTRY_VERIFY_WITH_TIMEOUT(!s.w->calculo->en_curso(), 60000);
    ASSERT_EQ(s.w->figura().pozos.size(), 2u);
    for (const PozoEnFigura& e : s.w->figura().pozos) {
        const auto c = std::make_unique<Store>();
        ASSERT_EQ(carga_pozo(*c, e.pozo->ruta, &curva_en_uso()), "");
        const ResultadoIncertidumbre r =
            calcula_incertidumbre(*c, curva_en_uso(), a.rangos, a.tiradas, a.semilla);
        ASSERT_EQ(e.bandas.size(), e.pozo->historia.pasos.size());
        ASSERT_EQ(r.bandas.size(), e.bandas.size());
        for (std::size_t k = 0; k < e.bandas.size(); ++k)
            for (int q = 0; q < kNumPercentiles; ++q) {
                EXPECT_EQ(e.bandas[k].tectonica[q], r.bandas[k].tectonica[q]);
                EXPECT_EQ(e.bandas[k].total[q], r.bandas[k].total[q]);
                EXPECT_EQ(e.bandas[k].edad[q], r.bandas[k].edad[q]);
            }
    }

    // Draws that fail for one well: it is named with the reason where the
    // bar was, and the others keep their bands.
    QTemporaryDir dir;
    const QString alta = prueba::columna_que_falla(dir);
    a.rangos.porosidad = 0.95;
    a.tiradas = 200;
    guarda_ajustes_incertidumbre(a);
    s.anade({alta});
    s.w->calcula_bandas_de_nuevo();
    QTRY_VERIFY_WITH_TIMEOUT(!s.w->calculo->en_curso(), 60000);
    const auto c = std::make_unique<Store>();
    ASSERT_EQ(carga_pozo(*c, alta.toStdString(), &curva_en_uso()), "");
    const ResultadoIncertidumbre falla =
        calcula_incertidumbre(*c, curva_en_uso(), a.rangos, a.tiradas, a.semilla);
    ASSERT_FALSE(falla.ok());
    ASSERT_TRUE(falla.historia.ok());
    EXPECT_TRUE(s.w->calculo->isVisible());
    EXPECT_TRUE(s.w->calculo->fallo_lbl->isVisible());
    EXPECT_TRUE(s.w->calculo->fallo_lbl->text().contains(QString::fromUtf8("«cima_alta.csv»: ") +
                                                         QString::fromStdString(falla.error)))
        << s.w->calculo->fallo_lbl->text().toStdString();
    ASSERT_EQ(s.w->figura().pozos.size(), 3u);
    EXPECT_FALSE(s.w->figura().pozos[0].bandas.empty());
    EXPECT_TRUE(s.w->figura().pozos[2].bandas.empty());

    // Off: the bands are dropped, and the failure is no longer said.
    a.activa = false;
    guarda_ajustes_incertidumbre(a);
    s.w->calcula_bandas_de_nuevo();
    for (const PozoEnFigura& e : s.w->figura().pozos)
        EXPECT_TRUE(e.bandas.empty());
    EXPECT_FALSE(s.w->calculo->isVisible());

    // On again, then the failing well removed (its row, Delete): its
    // failure goes with it, the others keep their bands.
    a.activa = true;
    guarda_ajustes_incertidumbre(a);
    s.w->calcula_bandas_de_nuevo();
    QTRY_VERIFY_WITH_TIMEOUT(!s.w->calculo->en_curso(), 60000);
    EXPECT_TRUE(s.w->calculo->fallo_lbl->isVisible());
    tecla_en_fila(s.w->lista_pozos, 3, Qt::Key_Delete);
    ASSERT_EQ(s.w->figura().pozos.size(), 2u);
    EXPECT_FALSE(s.w->calculo->isVisible());
    for (const PozoEnFigura& e : s.w->figura().pozos)
        EXPECT_EQ(e.bandas.size(), e.pozo->historia.pasos.size());
}

// The main column edited again and again while the bands are computed
// (each edit a new column, every 10 ms): the files' bands still come, one
// well after another, while the edits go on; the main column's once they
// stop.
TEST_F(VentanaPozosTest, LasEdicionesNoDetienenLasBandasDeLosArchivos)
{
    AjustesIncertidumbre a;
    a.activa = true;
    a.tiradas = 20000; // far longer than the time between two edits
    a.rangos.porosidad = 0.1;
    guarda_ajustes_incertidumbre(a);
    Sola s;
    const auto columna = std::make_unique<Store>();
    ASSERT_EQ(carga_pozo(*columna, kNeuquen.toStdString(), &curva_en_uso()), "");
    s.w->sigue_la_columna(*columna, {});
    s.anade({kNeuquen, kGolfo});
    ASSERT_EQ(s.w->figura().pozos.size(), 3u);
    const auto archivos_con_bandas = [&s] {
        return !s.w->figura().pozos[1].bandas.empty() && !s.w->figura().pozos[2].bandas.empty();
    };
    QElapsedTimer reloj;
    reloj.start();
    int ediciones = 0;
    while (!archivos_con_bandas() && reloj.elapsed() < 30000) {
        columna->paleobatimetria[1] = static_cast<float>(10 + ++ediciones % 50);
        s.w->sigue_la_columna(*columna, {});
        QTest::qWait(10);
    }
    EXPECT_TRUE(archivos_con_bandas()) << ediciones << " ediciones";
    EXPECT_TRUE(s.w->figura().pozos[0].bandas.empty()); // still being edited
    QTRY_VERIFY_WITH_TIMEOUT(!s.w->calculo->en_curso(), 60000);
    EXPECT_EQ(s.w->figura().pozos[0].bandas.size(),
              s.w->figura().pozos[0].pozo->historia.pasos.size());
}

} // namespace
} // namespace tev
