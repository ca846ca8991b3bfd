// Printing a figure: a PDF file through QPrinter, and the page drawn by the
// same code on an image, where the figure is found where it must lie.

#include "window_helpers/imprimir.h"

#include "drawing/exporta_imagen.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

namespace tev {
namespace {

// A figure of 400 x 200 whose left half is red and right half blue, on a
// grey background.
Dibujo figura()
{
    Dibujo d;
    d.tamano = QSize(400, 200);
    d.titulo = "Prueba";
    d.fondo = QColor(128, 128, 128);
    d.pinta = [](QPainter& p) {
        p.fillRect(QRect(10, 10, 190, 180), Qt::red);
        p.fillRect(QRect(200, 10, 190, 180), Qt::blue);
    };
    return d;
}

TEST(Imprimir, ElLugarGuardaLasProporcionesArribaYAlCentro)
{
    // A 400 x 200 figure on a 1000 x 1400 area: 1000 wide, 500 high, at the top.
    EXPECT_EQ(lugar_en_la_pagina(QSizeF(400, 200), QRectF(0, 0, 1000, 1400)),
              QRectF(0, 0, 1000, 500));
    // On a wide area the height decides, and the figure is centred across.
    EXPECT_EQ(lugar_en_la_pagina(QSizeF(400, 200), QRectF(10, 20, 1000, 100)),
              QRectF(410, 20, 200, 100));
    EXPECT_TRUE(lugar_en_la_pagina(QSizeF(0, 200), QRectF(0, 0, 10, 10)).isEmpty());
}

TEST(Imprimir, LaPaginaLlevaLaFiguraEscalada)
{
    // A page of 800 x 1000 pixels: the figure, doubled, fills 800 x 400.
    QImage pagina(800, 1000, QImage::Format_RGB32);
    pagina.fill(Qt::white);
    {
        QPainter p(&pagina);
        pinta_en_la_pagina(p, QRectF(0, 0, 800, 1000), figura());
    }
    EXPECT_EQ(pagina.pixelColor(4, 4), QColor(128, 128, 128));     // its background
    EXPECT_EQ(pagina.pixelColor(200, 200), QColor(Qt::red));       // (100, 100) of the figure
    EXPECT_EQ(pagina.pixelColor(600, 200), QColor(Qt::blue));      // (300, 100)
    EXPECT_EQ(pagina.pixelColor(795, 395), QColor(128, 128, 128)); // its last corner
    EXPECT_EQ(pagina.pixelColor(400, 410), QColor(Qt::white));     // nothing below it
}

TEST(Imprimir, UnArchivoPdfDeUnaPagina)
{
    QTemporaryDir dir;
    QPrinter impresora(QPrinter::HighResolution);
    impresora.setOutputFormat(QPrinter::PdfFormat);
    impresora.setOutputFileName(dir.filePath("figura.pdf"));
    impresora.setPageOrientation(QPageLayout::Landscape);
    QString error;
    ASSERT_TRUE(imprime(impresora, figura(), &error)) << error.toStdString();
    // At the pictures' own resolution, not the printer's 1200 dots per inch:
    // texts in points would come out twelve times too large beside the drawing.
    EXPECT_EQ(impresora.resolution(), kResolucionDeLaFigura);
    QFile f(dir.filePath("figura.pdf"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray pdf = f.readAll();
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_TRUE(pdf.trimmed().endsWith("%%EOF"));
    EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "),
              1);
}

TEST(Imprimir, UnArchivoQueNoSePuedeEscribirLoDice)
{
    QPrinter impresora(QPrinter::HighResolution);
    impresora.setOutputFormat(QPrinter::PdfFormat);
    impresora.setOutputFileName("/no/existe/figura.pdf");
    QString error;
    EXPECT_FALSE(imprime(impresora, figura(), &error));
    EXPECT_TRUE(error.contains("/no/existe/figura.pdf")) << error.toStdString();
}

} // namespace
} // namespace tev
