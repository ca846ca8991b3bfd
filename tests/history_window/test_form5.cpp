// The burial-history window: opened from the menu bar, refreshed by every
// computation, drawn at its size, saved from its context menu.

#include "history_window/form5.h"

#include "main_window/ventana_de_prueba.h"
#include "menu_contextual.h"
#include "window_helpers/guardar_imagen.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>

namespace tev {
namespace {

const QString kEjemplo = TEVARRO_SOURCE_DIR "/examples/neuquen.tev";
const QColor kMagenta(255, 0, 255);

// The example at 900 x 600: ages 180..0 Ma across x = 78..656, depths
// 0..2400 m down y = 52..584. At 142 Ma (x = 200) bed 1, magenta, lies
// between 205 and 712 m and the tectonic curve at 482 m: 300 m (y = 118) is
// bed 1 alone.
const QPoint kBanco1(200, 118);

// "Análisis" clicked on the menu bar, then "Historia de enterramiento".
Form5* abre_historia(prueba::Ventana& v)
{
    v.clic_en_menu("analisis_mnu", "historia_mnu");
    return v.f->historia_ventana();
}

TEST(Form5, SeAbreDesdeLaBarraYSigueCadaCalculo)
{
    prueba::Ventana v;
    Form5* h = abre_historia(v);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->windowTitle(), "Historia de enterramiento");
    EXPECT_TRUE(h->resultado().historia.pasos.empty());
    EXPECT_NE(h->grab().toImage().pixelColor(kBanco1), kMagenta);

    v.abre(kEjemplo); // "Abrir"
    EXPECT_EQ(h->resultado().historia.pasos.size(), 12u);
    EXPECT_EQ(h->grab().toImage().pixelColor(kBanco1), kMagenta);
    const double antes = h->resultado().historia.pasos.back().bancos[0].base;

    // Bed 1's top lowered to 2300 m in the bed dialog, then "Terminar".
    v.menu("modificar_mnu");
    Form2* d = v.f->dialogo_bancos();
    d->Text1->selectAll();
    QTest::keyClicks(d->Text1, "2300");
    d->Command2->setFocus();
    QTest::keyClick(d->Command2, Qt::Key_Space);
    ASSERT_EQ(v.s->techo[1], 2300.0f);
    EXPECT_EQ(h->resultado().historia.pasos.back().bancos[0].base,
              calcula_historia(*v.s).historia.pasos.back().bancos[0].base);
    EXPECT_LT(h->resultado().historia.pasos.back().bancos[0].base, antes - 100);

    // Closed, it is gone; the command makes a new one.
    QPointer<Form5> cerrada = h;
    h->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(cerrada.isNull());
    v.abre(kEjemplo);
    EXPECT_EQ(v.f->historia_ventana(), nullptr);
    ASSERT_NE(abre_historia(v), nullptr);
    EXPECT_EQ(v.f->historia_ventana()->resultado().historia.pasos.size(), 12u);
}

TEST(Form5, SinHistoriaMuestraElPorqueYNoSeGuarda)
{
    QTemporaryDir dir;
    QFile f(dir.filePath("cero.tev"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("B, 100 , 200 , 5 , 10 ,Pelitas, 255 , .63 , 0 , 0 , 0 , 0 , 0 , 0 \r\n");
    f.close();
    prueba::Ventana v;
    Form5* h = abre_historia(v);
    v.abre(f.fileName());
    EXPECT_EQ(h->resultado().campo, CampoHistoria::coef_porosidad);
    // No frame at the diagram's corner; the message in the middle.
    const QImage img = h->grab().toImage();
    EXPECT_EQ(img.pixelColor(78, 52), QColor(Qt::white));
    int oscuros = 0;
    for (int x = 40; x < 860; ++x)
        oscuros += img.pixelColor(x, 300).lightness() < 128;
    EXPECT_GT(oscuros, 0);
    int pedidas = 0;
    h->guardar_imagen->pide_ruta = [&pedidas] { return ++pedidas, QString("/tmp/no.png"); };
    EXPECT_EQ(prueba::elige_en_menu_contextual(h, QPoint(450, 300), "Guardar imagen…"),
              QStringList{"Guardar imagen…"});
    EXPECT_EQ(pedidas, 0); // the entry cannot be chosen
}

TEST(Form5, GuardarImagenASuTamano)
{
    QTemporaryDir dir;
    prueba::Ventana v;
    v.abre(kEjemplo);
    Form5* h = abre_historia(v);
    QString ruta;
    h->guardar_imagen->pide_ruta = [&ruta] { return ruta; };
    QStringList avisos;
    h->guardar_imagen->avisa = [&avisos](const QString& t) { avisos << t; };
    ruta = dir.filePath("grande.png");
    prueba::elige_en_menu_contextual(h, QPoint(300, 300), "Guardar imagen…");
    EXPECT_EQ(QImage(ruta).pixelColor(kBanco1), kMagenta);

    // At 600 x 400 the legend is as wide as its widest entry needs (its text
    // starts 38 px in and ends 6 px before the frame, 1 px to spare; the
    // widest is a bed's, "3 Lutitas de Vaca Muerta"), more than a quarter of
    // 600 and less than 45 %: the plot runs from x = 78 to 600 - 14 - 14
    // less that width, for ages 200..0 Ma, and down y = 52..384 for depths
    // 0..2500 m, so 142 Ma and 300 m fall at (x, 92).
    h->resize(600, 400);
    QFont letra;
    letra.setPixelSize(12);
    double entradas = 0;
    for (int i = 1; i <= v.s->n_bancos; ++i)
        entradas =
            std::max(entradas, QFontMetricsF(letra).horizontalAdvance(QString("%1 %2").arg(i).arg(
                                   QString::fromStdString(v.s->nombre[i]))));
    const double leyenda = std::ceil(38 + entradas + 6 + 1);
    ASSERT_GT(leyenda, 600 * 0.24);
    ASSERT_LT(leyenda, 600 * 0.45);
    const double derecha = 600 - 28 - leyenda;
    const int x = static_cast<int>(78 + (200.0 - 142.0) / 200.0 * (derecha - 78));
    ruta = dir.filePath("pequena.png");
    prueba::elige_en_menu_contextual(h, QPoint(300, 300), "Guardar imagen…");
    const QImage img(ruta);
    EXPECT_EQ(img.size(), QSize(600, 400));
    EXPECT_EQ(img.pixelColor(x, 92), kMagenta);
    EXPECT_EQ(h->grab().toImage().pixelColor(x, 92), kMagenta);

    ruta = dir.filePath("mala.bmp");
    prueba::elige_en_menu_contextual(h, QPoint(300, 300), "Guardar imagen…");
    ASSERT_EQ(avisos.size(), 1);
    EXPECT_TRUE(avisos[0].contains("mala.bmp")) << avisos[0].toStdString();
}

} // namespace
} // namespace tev
