// "Archivo" after a column was there: "Nuevo" shows the empty column at once
// in every window, "Abrir" leaves no curve of the column before, and the save
// dialog starts on the file the column came from. The real file dialog (Qt's
// own widgets under the offscreen platform) is driven with keys and read back.

#include "curve_window/form4.h"
#include "drawing/color_de_ventana.h"
#include "history_window/form5.h"
#include "main_window/com_file.h"
#include "main_window/ventana_de_prueba.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <ostream>

QT_BEGIN_NAMESPACE
// Readable QStrings in failure messages.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

namespace tev {
namespace {

const QString kEjemplo = TEVARRO_SOURCE_DIR "/examples/neuquen.tev";
const QString kEjemploCsv = TEVARRO_SOURCE_DIR "/examples/neuquen.csv";
const QString kFiltroProyecto = "Archivos de proyecto (*.tev *.txt *.dat)";
const QString kFiltroCsv = "Archivos CSV (*.csv *.CSV)";
const QColor kAmarillo(255, 255, 0);
const QColor kMagenta(255, 0, 255);
const QColor kRojoCurva(250, 0, 0);

// The curve window's plot area between the axes and the legend, clear of
// every label; the history window's point of bed 1 of the example.
const QRect kZonaCurvas(66, 42, 395, 229);
const QPoint kBanco1Historia(200, 118);

int cuenta_color(const QImage& img, const QRect& zona, const QColor& color)
{
    int n = 0;
    for (int y = zona.top(); y <= zona.bottom(); ++y)
        for (int x = zona.left(); x <= zona.right(); ++x)
            n += img.pixelColor(x, y).rgb() == color.rgb() ? 1 : 0;
    return n;
}

// Black pixels of the column view on the vertical through x (view units),
// below the datum line: the outlines of the beds drawn there.
int negros_bajo_el_datum(const prueba::Ventana& v, float x)
{
    const Escala& e = v.f->Picture1->escala();
    const QSize a = v.f->Picture1->area();
    const QImage& img = v.f->Picture1->imagen();
    const int px = static_cast<int>((x - e.ScaleLeft) * a.width() / e.ScaleWidth);
    const int datum = static_cast<int>(-e.ScaleTop * a.height() / e.ScaleHeight);
    int n = 0;
    for (int py = datum + 3; py < img.height(); ++py)
        n += img.pixelColor(px, py) == QColor(Qt::black) ? 1 : 0;
    return n;
}

// Runs que once on the modal dialog of type T as soon as it is up inside its
// own event loop (the command that shows it returns only when it is closed).
// A dialog that que leaves open is cancelled, so a failed check never hangs
// the test; nothing is done once this object is gone.
template <typename T> class AlAparecer {
  public:
    explicit AlAparecer(std::function<void(T*)> que) : que_(std::move(que))
    {
        reloj_.setInterval(5);
        QObject::connect(&reloj_, &QTimer::timeout, [this] {
            auto* d = qobject_cast<T*>(QApplication::activeModalWidget());
            if (!d || !d->isVisible()) return;
            reloj_.stop();
            visto_ = true;
            que_(d);
            if (d->isVisible()) d->reject();
        });
        reloj_.start();
    }
    [[nodiscard]] bool visto() const { return visto_; }

  private:
    std::function<void(T*)> que_;
    QTimer reloj_;
    bool visto_ = false;
};

// What the save dialog showed when it opened.
struct Propuesta {
    QString titulo;
    QString nombre; // the file-name box
    QString carpeta;
    QString filtro;
    QString archivo; // the file it would save to as it opened
};

Propuesta lee(QFileDialog* d)
{
    auto* nombre = d->findChild<QLineEdit*>("fileNameEdit");
    return {d->windowTitle(), nombre ? nombre->text() : QString("(sin casilla)"),
            d->directory().absolutePath(), d->selectedNameFilter(), d->selectedFiles().value(0)};
}

// The file dialog of the program, except that "Abrir" answers a preset path:
// "Salvar" shows Qt's own dialog.
class AbreFijo : public ComFile {
  public:
    QString respuesta;

  protected:
    QString pide_abrir(QWidget*) override { return respuesta; }
};

struct Ventana : prueba::Ventana {
    AbreFijo* abre_fijo = nullptr;

    Ventana()
    {
        auto d = std::make_unique<AbreFijo>();
        abre_fijo = d.get();
        f->pon_com_file(std::move(d));
        dialogo = nullptr; // replaced above
    }
    void abre_real(const QString& ruta)
    {
        abre_fijo->respuesta = ruta;
        menu("abrir_mnu");
    }
    // "Salvar" from the menu; the dialog is read, then closed with Escape.
    Propuesta salvar_y_cancelar()
    {
        Propuesta p;
        const AlAparecer<QFileDialog> al([&p](QFileDialog* d) {
            p = lee(d);
            QTest::keyClick(d, Qt::Key_Escape);
        });
        clic_en_menu("file_mnu", "salvar_mnu");
        EXPECT_TRUE(al.visto());
        return p;
    }
};

QString copia_en(const QTemporaryDir& dir, const QString& origen, const char* nombre)
{
    const QString ruta = dir.filePath(nombre);
    QFile::copy(origen, ruta);
    return ruta;
}

TEST(MenuArchivo, NuevoMuestraLaColumnaVaciaEnCadaVentana)
{
    prueba::Ventana v;
    v.abre(kEjemplo);
    v.menu("historia_mnu");
    Form4* curvas = v.f->curvas_ventana();
    Form5* historia = v.f->historia_ventana();
    ASSERT_NE(curvas, nullptr);
    ASSERT_NE(historia, nullptr);
    // The example as it is drawn: bed 12 yellow at 40 m in the present-day
    // column, bed 1 magenta half-way down its decompacted box, curves and a
    // history of twelve steps.
    const float base1 = v.s->base_descomp[1];
    ASSERT_GT(base1, 0.0f);
    ASSERT_EQ(v.pixel(1500, 40), kAmarillo);
    ASSERT_EQ(v.pixel(3600, base1 / 2), kMagenta);
    ASSERT_GT(negros_bajo_el_datum(v, 3600), 0);
    ASSERT_GT(cuenta_color(curvas->grab().toImage(), kZonaCurvas, kRojoCurva), 0);
    ASSERT_EQ(historia->resultado().historia.pasos.size(), 12u);
    ASSERT_EQ(historia->grab().toImage().pixelColor(kBanco1Historia), kMagenta);

    v.clic_en_menu("file_mnu", "nuevo_mnu");
    ASSERT_NE(v.f->dialogo_bancos(), nullptr);
    EXPECT_TRUE(v.f->dialogo_bancos()->isVisible());
    EXPECT_EQ(v.s->n_bancos, 1);

    // Before "Terminar": one empty bed, nothing of the example anywhere.
    const QColor fondo = v.f->Picture1->palette().color(kColorDeVentana);
    EXPECT_EQ(v.pixel(1500, 40), fondo);
    EXPECT_EQ(v.pixel(3600, base1 / 2), fondo);
    EXPECT_EQ(negros_bajo_el_datum(v, 3600), 0);
    const QImage img = curvas->grab().toImage();
    EXPECT_EQ(cuenta_color(img, kZonaCurvas, QColor(Qt::white)),
              kZonaCurvas.width() * kZonaCurvas.height());
    EXPECT_TRUE(historia->resultado().historia.pasos.empty());
    EXPECT_NE(historia->resultado().error.find("banco 1"), std::string::npos)
        << historia->resultado().error;
    EXPECT_NE(historia->grab().toImage().pixelColor(kBanco1Historia), kMagenta);
    EXPECT_TRUE(v.avisos.isEmpty()) << v.avisos.join("\n").toStdString();
}

TEST(MenuArchivo, AbrirConCalculoFallidoNoDejaNadaDeLaColumnaAnterior)
{
    prueba::Ventana v;
    v.abre(kEjemplo);
    Form4* curvas = v.f->curvas_ventana();
    ASSERT_NE(curvas, nullptr);
    const float base1 = v.s->base_descomp[1];
    ASSERT_GT(cuenta_color(curvas->grab().toImage(), kZonaCurvas, kRojoCurva), 0);

    // Bed 1 (red, 100..200 m) stops the computation: its coefficient is 0.
    QTemporaryDir dir;
    QFile f(dir.filePath("cero.tev"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("B, 100 , 200 , 5 , 10 ,Pelitas, 255 , .63 , 0 , 0 , 0 , 0 , 0 , 0 \r\n"
            "A, 0 , 100 , 0 , 5 ,Areniscas, 65280 , .49 , .27 , 0 , 0 , 0 , 0 , 0 \r\n");
    f.close();
    v.abre(f.fileName());
    ASSERT_EQ(v.avisos.size(), 1);
    EXPECT_EQ(v.f->curvas_ventana(), curvas);
    EXPECT_EQ(cuenta_color(curvas->grab().toImage(), kZonaCurvas, QColor(Qt::white)),
              kZonaCurvas.width() * kZonaCurvas.height());
    // Bed 1 was not decompacted: no box of the example's depth in its colour.
    EXPECT_EQ(v.s->base_descomp[1], 0.0f);
    EXPECT_EQ(v.pixel(3600, base1 / 2), v.f->Picture1->palette().color(kColorDeVentana));
}

TEST(MenuArchivo, SalvarEmpiezaEnElArchivoDeLaColumna)
{
    QTemporaryDir dir;
    const QString csv = copia_en(dir, kEjemploCsv, "pozo.csv");
    Ventana v;
    v.abre_real(csv);
    ASSERT_TRUE(v.avisos.isEmpty()) << v.avisos.join("\n").toStdString();

    const QString carpeta = QFileInfo(dir.path()).absoluteFilePath();
    const Propuesta p = v.salvar_y_cancelar();
    EXPECT_EQ(p.titulo, "Salvar Archivo");
    EXPECT_EQ(p.nombre, "pozo.csv");
    EXPECT_EQ(p.carpeta, carpeta);
    EXPECT_EQ(p.filtro, kFiltroCsv);
    EXPECT_EQ(p.archivo, QFileInfo(csv).absoluteFilePath());
    EXPECT_EQ(prueba::bytes_de(csv), prueba::bytes_de(kEjemploCsv)); // cancelled

    // Saved under another name typed in the dialog: the next one starts there.
    // (As CSV: the sheet's remarks would bring a question before a project
    // file.)
    AlAparecer<QFileDialog> al([&carpeta](QFileDialog* d) {
        // A click into the name box, all of it chosen and typed over, Enter;
        // never in another folder.
        ASSERT_EQ(d->directory().absolutePath(), carpeta);
        ASSERT_TRUE(QTest::qWaitForWindowActive(d));
        auto* nombre = d->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(nombre, nullptr);
        QTest::mouseClick(nombre, Qt::LeftButton);
        ASSERT_TRUE(nombre->hasFocus());
        QTest::keyClick(nombre, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(nombre, "copia.csv");
        QTest::keyClick(nombre, Qt::Key_Return);
    });
    v.clic_en_menu("file_mnu", "salvar_mnu");
    EXPECT_TRUE(al.visto());
    EXPECT_EQ(prueba::bytes_de(dir.filePath("copia.csv")), prueba::bytes_de(kEjemploCsv));
    const Propuesta q = v.salvar_y_cancelar();
    EXPECT_EQ(q.nombre, "copia.csv");
    EXPECT_EQ(q.filtro, kFiltroCsv);
    EXPECT_EQ(q.archivo, QFileInfo(dir.filePath("copia.csv")).absoluteFilePath());

    // A new column has no file yet.
    v.clic_en_menu("file_mnu", "nuevo_mnu");
    EXPECT_TRUE(v.preguntas.isEmpty());
    const Propuesta r = v.salvar_y_cancelar();
    EXPECT_EQ(r.titulo, "Salvar Archivo");
    EXPECT_EQ(r.nombre, "");
    EXPECT_EQ(r.filtro, kFiltroProyecto);

    // A project file under another of its extensions keeps it; any other
    // name is proposed under "every file", where it is listed.
    v.abre_real(copia_en(dir, kEjemplo, "pozo.dat"));
    const Propuesta dat = v.salvar_y_cancelar();
    EXPECT_EQ(dat.nombre, "pozo.dat");
    EXPECT_EQ(dat.filtro, kFiltroProyecto);
    v.abre_real(copia_en(dir, kEjemplo, "pozo.xyz"));
    const Propuesta xyz = v.salvar_y_cancelar();
    EXPECT_EQ(xyz.nombre, "pozo.xyz");
    EXPECT_EQ(xyz.filtro, "Todos los archivos (*)");
    EXPECT_TRUE(v.avisos.isEmpty()) << v.avisos.join("\n").toStdString();
}

TEST(MenuArchivo, GuardarEnLaPreguntaEscribeElArchivoDeLaColumna)
{
    QTemporaryDir dir;
    const QString csv = copia_en(dir, kEjemploCsv, "pozo.csv");
    Ventana v;
    v.abre_real(csv);
    v.menu("modificar_mnu");
    Form2* d = v.f->dialogo_bancos();
    ASSERT_NE(d, nullptr);
    d->Text7->selectAll();
    QTest::keyClicks(d->Text7, "Cambiado");

    // "Nuevo" asks; "Guardar" shows the dialog on pozo.csv, Return accepts
    // it and the question whether to replace it gets "Yes".
    v.respuesta = Form1::Respuesta::guardar;
    Propuesta p;
    QString reemplazo;
    AlAparecer<QFileDialog> al([&](QFileDialog* dialogo) {
        p = lee(dialogo);
        const AlAparecer<QMessageBox> pregunta([&reemplazo](QMessageBox* caja) {
            reemplazo = caja->text();
            QAbstractButton* si = caja->button(QMessageBox::Yes);
            ASSERT_NE(si, nullptr);
            QTest::mouseClick(si, Qt::LeftButton);
        });
        QTest::keyClick(dialogo->findChild<QLineEdit*>("fileNameEdit"), Qt::Key_Return);
    });
    v.clic_en_menu("file_mnu", "nuevo_mnu");
    EXPECT_TRUE(al.visto());
    EXPECT_EQ(v.preguntas, QStringList{"¿Guardar los cambios de la columna?"});
    EXPECT_EQ(p.titulo, "Salvar Archivo");
    EXPECT_EQ(p.nombre, "pozo.csv");
    EXPECT_EQ(p.filtro, kFiltroCsv);
    EXPECT_EQ(p.archivo, QFileInfo(csv).absoluteFilePath());
    EXPECT_TRUE(reemplazo.contains("pozo.csv")) << reemplazo.toStdString();

    // Written as the sheet came (semicolons, no byte-order mark), bed 1
    // renamed; then the new column.
    const QByteArray escrito = prueba::bytes_de(csv);
    EXPECT_TRUE(escrito.startsWith("nombre;techo;")) << escrito.left(40).toStdString();
    EXPECT_TRUE(escrito.contains("\nCambiado;2050;2400;")) << escrito.toStdString();
    EXPECT_TRUE(v.avisos.isEmpty()) << v.avisos.join("\n").toStdString();
    EXPECT_EQ(v.s->n_bancos, 1);
    EXPECT_EQ(v.s->nombre[1], "");
}

} // namespace
} // namespace tev
