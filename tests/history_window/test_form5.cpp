// The burial-history window: opened from the menu bar, refreshed by every
// computation, drawn at its size, saved from its context menu.

#include "history_window/form5.h"

#include "bed_dialog/form2.h"
#include "compute/historia.h"
#include "main_window/ventana_de_prueba.h"
#include "menu_contextual.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace tev {
namespace {

const QString kEjemplo = QString(TEVARRO_SOURCE_DIR) + "/examples/neuquen.tev";
const QColor kMagenta(255, 0, 255);
const QColor kBlanco(255, 255, 255);

// The example in a 900 x 600 window: ages 180..0 Ma across x = 78..656,
// depths 0..2400 m down y = 52..584. At 142 Ma (x = 200) bed 1, magenta,
// lies between 205 and 712 m and the tectonic curve at 482 m, so 300 m
// (y = 118) is bed 1 alone.
const QPoint kBanco1En900x600(200, 118);

struct ConHistoria : prueba::Ventana {
    QMenuBar* barra() const { return f->menuBar(); }
    // "Historia" clicked on the menu bar.
    Form5* abre_historia()
    {
        QAction* a = f->findChild<QAction*>("historia_mnu");
        EXPECT_NE(a, nullptr);
        if (!a) return nullptr;
        QTest::mouseClick(barra(), Qt::LeftButton, Qt::NoModifier,
                          barra()->actionGeometry(a).center());
        return f->historia_ventana();
    }
};

QString escrito(const char* que, const QString& nombre)
{
    static QTemporaryDir dir;
    return dir.filePath(QString(que) + "_" + nombre);
}

TEST(Form5, HistoriaEnLaBarraTrasDibuja)
{
    ConHistoria v;
    QStringList barra;
    for (QAction* a : v.barra()->actions())
        barra << a->text();
    EXPECT_EQ(barra, (QStringList{"Archivo", "Editar", "Modificar", "Dibuja", "Historia"}));
    EXPECT_EQ(v.f->historia_ventana(), nullptr);

    v.abre(kEjemplo);
    Form5* h = v.abre_historia();
    ASSERT_NE(h, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(h));
    EXPECT_EQ(h->objectName(), "Form5");
    EXPECT_EQ(h->windowTitle(), "Historia de enterramiento");
    EXPECT_EQ(h->size(), QSize(900, 600));
    EXPECT_TRUE(v.avisos.isEmpty()) << v.avisos.join("\n").toStdString();
    ASSERT_TRUE(h->resultado().ok());
    EXPECT_EQ(h->resultado().historia.pasos.size(), 12u);
    EXPECT_EQ(h->grab().toImage().pixelColor(kBanco1En900x600), kMagenta);
    // The same command again keeps the one window.
    EXPECT_EQ(v.abre_historia(), h);
}

TEST(Form5, AbrirYTerminarLaRefrescan)
{
    ConHistoria v;
    Form5* h = v.abre_historia();
    ASSERT_NE(h, nullptr);
    EXPECT_TRUE(h->resultado().ok());
    EXPECT_TRUE(h->resultado().historia.pasos.empty());
    EXPECT_EQ(h->grab().toImage().pixelColor(kBanco1En900x600), kBlanco);

    v.abre(kEjemplo);
    EXPECT_EQ(v.f->historia_ventana(), h);
    EXPECT_EQ(h->resultado().historia.pasos.size(), 12u);
    EXPECT_EQ(h->grab().toImage().pixelColor(kBanco1En900x600), kMagenta);
    const double antes = h->resultado().historia.pasos.back().bancos[0].base;

    // Bed 1's top lowered from 2050 to 2300 m in the bed dialog, "Terminar"
    // by the keyboard: the oldest step is thinner.
    v.menu("modificar_mnu");
    Form2* d = v.f->dialogo_bancos();
    ASSERT_NE(d, nullptr);
    d->Text1->selectAll();
    QTest::keyClick(d->Text1, Qt::Key_Delete);
    QTest::keyClicks(d->Text1, "2300");
    d->Command2->setFocus();
    QTest::keyClick(d->Command2, Qt::Key_Space);
    ASSERT_EQ(v.s->techo[1], 2300.0f);
    const ResultadoHistoria nueva = calcula_historia(*v.s);
    ASSERT_TRUE(nueva.ok());
    const double despues = h->resultado().historia.pasos.back().bancos[0].base;
    EXPECT_EQ(despues, nueva.historia.pasos.back().bancos[0].base);
    EXPECT_LT(despues, antes - 100);
}

TEST(Form5, CerradaNoSeRefrescaYSeAbreDeNuevo)
{
    ConHistoria v;
    QPointer<Form5> h = v.abre_historia();
    ASSERT_FALSE(h.isNull());
    h->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(h.isNull());
    EXPECT_EQ(v.f->historia_ventana(), nullptr);
    v.abre(kEjemplo); // nothing to refresh
    EXPECT_EQ(v.f->historia_ventana(), nullptr);
    Form5* otra = v.abre_historia();
    ASSERT_NE(otra, nullptr);
    EXPECT_EQ(otra->resultado().historia.pasos.size(), 12u);
}

TEST(Form5, UnaColumnaSinHistoriaMuestraElPorque)
{
    const QString malo = escrito("coef", "cero.tev");
    QFile f(malo);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("B, 100 , 200 , 5 , 10 ,Pelitas, 255 , .63 , 0 , 0 , 0 , 0 , 0 , 0 \r\n"
            "A, 0 , 100 , 0 , 5 ,Areniscas, 255 , .49 , .27 , 0 , 0 , 0 , 0 , 0 \r\n");
    f.close();
    ConHistoria v;
    Form5* h = v.abre_historia();
    ASSERT_NE(h, nullptr);
    v.abre(malo);
    ASSERT_FALSE(h->resultado().ok());
    EXPECT_NE(h->resultado().error.find("El banco 1 («B»)"), std::string::npos);
    EXPECT_NE(h->resultado().error.find("coeficiente porosidad-profundidad"), std::string::npos);
    // Only the per-bed computation's own message reaches a box.
    EXPECT_EQ(v.avisos.size(), 1);
    // No frame, no beds: white where the diagram's corner would be, text in
    // the middle.
    const QImage img = h->grab().toImage();
    EXPECT_EQ(img.pixelColor(78, 52), kBlanco);
    int oscuros = 0;
    for (int y = 250; y < 350; ++y)
        for (int x = 40; x < 860; ++x)
            oscuros += img.pixelColor(x, y).lightness() < 128;
    EXPECT_GT(oscuros, 50);
    // "Guardar imagen…" is there but cannot be chosen.
    int pedidas = 0;
    h->pide_ruta_imagen = [&pedidas] { return ++pedidas, escrito("sin", "historia.png"); };
    const QStringList entradas =
        prueba::elige_en_menu_contextual(h, QPoint(450, 300), "Guardar imagen…");
    EXPECT_EQ(entradas, QStringList{"Guardar imagen…"});
    EXPECT_EQ(pedidas, 0);
    EXPECT_FALSE(QFile::exists(escrito("sin", "historia.png")));
}

TEST(Form5, GuardarImagenDesdeSuMenuContextual)
{
    ConHistoria v;
    v.abre(kEjemplo);
    Form5* h = v.abre_historia();
    ASSERT_NE(h, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(h));
    QString ruta;
    h->pide_ruta_imagen = [&ruta] { return ruta; };
    QStringList avisos;
    h->avisa = [&avisos](const QString& t) { avisos << t; };

    ruta = escrito("ventana", "historia.png");
    EXPECT_EQ(prueba::elige_en_menu_contextual(h, QPoint(300, 300), "Guardar imagen…"),
              QStringList{"Guardar imagen…"});
    EXPECT_TRUE(avisos.isEmpty()) << avisos.join("\n").toStdString();
    QImage img(ruta);
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img.size(), QSize(900, 600));
    EXPECT_EQ(img.pixelColor(kBanco1En900x600), kMagenta);

    // Smaller, the diagram is drawn again at the new size: 600 x 400 puts
    // ages 200..0 Ma across x = 78..428 and depths 0..2500 m down y = 52..384,
    // so 142 Ma and 300 m fall at (180, 92).
    h->resize(600, 400);
    EXPECT_EQ(h->grab().toImage().pixelColor(180, 92), kMagenta);
    ruta = escrito("pequena", "historia.pdf");
    prueba::elige_en_menu_contextual(h, QPoint(300, 300), "Guardar imagen…");
    QFile pdf(ruta);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.readAll().startsWith("%PDF-"));
    ruta = escrito("pequena", "historia.png");
    prueba::elige_en_menu_contextual(h, QPoint(300, 300), "Guardar imagen…");
    img = QImage(ruta);
    EXPECT_EQ(img.size(), QSize(600, 400));
    EXPECT_EQ(img.pixelColor(180, 92), kMagenta);

    // A failure is told in Spanish, naming the file; a cancel says nothing.
    ruta = escrito("mala", "historia.bmp");
    prueba::elige_en_menu_contextual(h, QPoint(300, 300), "Guardar imagen…");
    ASSERT_EQ(avisos.size(), 1);
    EXPECT_TRUE(avisos[0].contains("historia.bmp"));
    EXPECT_TRUE(avisos[0].contains(".png, .svg o .pdf"));
    ruta.clear();
    prueba::elige_en_menu_contextual(h, QPoint(300, 300), "Guardar imagen…");
    EXPECT_EQ(avisos.size(), 1);
}

} // namespace
} // namespace tev
