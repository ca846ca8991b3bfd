// PNG pictures: the pixels painted are the pixels read back, whether the file
// holds a palette or not.

#include "drawing/exporta_imagen.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include <dirent.h>

#include <set>
#include <string>

namespace tev {
namespace {

// The colour type byte of a PNG's header: 2 RGB, 3 palette, 6 RGBA.
int tipo_de_color(const QString& ruta)
{
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    const QByteArray cabecera = f.read(26);
    return cabecera.size() == 26 ? static_cast<unsigned char>(cabecera[25]) : -1;
}

// The painted picture, as guarda_imagen paints it before encoding.
QImage pintada(const Dibujo& d)
{
    QImage imagen(d.tamano, d.formato_png);
    imagen.fill(d.fondo);
    QPainter p(&imagen);
    d.pinta(p);
    return imagen;
}

Dibujo con_colores(int colores, QImage::Format formato, QColor fondo)
{
    Dibujo d;
    d.tamano = QSize(colores, 7);
    d.formato_png = formato;
    d.fondo = fondo;
    // One column of each colour, a row of the background, a row of white.
    d.pinta = [colores](QPainter& p) {
        for (int x = 0; x < colores; ++x)
            p.fillRect(QRect(x, 0, 1, 5),
                       QColor::fromRgb(static_cast<QRgb>(0xff000000u + 65537u * x)));
        p.fillRect(QRect(0, 6, colores, 1), Qt::white);
    };
    return d;
}

TEST(ExportaImagen, LosPixelesLeidosSonLosPintadosConPaletaOSinElla)
{
    QTemporaryDir dir;
    struct Caso {
        int colores;
        QImage::Format formato;
        QColor fondo;
        int tipo;
    } casos[] = {
        {255, QImage::Format_RGB32, Qt::white, 3},                     // 255 + white: a palette
        {256, QImage::Format_RGB32, Qt::white, 2},                     // 257 colours: RGB
        {40, QImage::Format_ARGB32_Premultiplied, Qt::white, 3},       // opaque ARGB: a palette
        {40, QImage::Format_ARGB32_Premultiplied, Qt::transparent, 6}, // alpha kept
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.colores);
        const Dibujo d = con_colores(c.colores, c.formato, c.fondo);
        const QString ruta = dir.filePath(QString("c%1_%2.png").arg(c.colores).arg(c.tipo));
        QString error;
        ASSERT_TRUE(guarda_imagen(ruta, d, &error)) << error.toStdString();
        EXPECT_EQ(tipo_de_color(ruta), c.tipo);
        const QImage esperada = pintada(d).convertToFormat(QImage::Format_ARGB32);
        const QImage leida = QImage(ruta).convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(leida.size(), esperada.size());
        EXPECT_TRUE(leida == esperada);
    }
}

// The folder's names as the system lists them (bytes).
std::set<std::string> nombres(const QString& carpeta)
{
    std::set<std::string> r;
    DIR* d = ::opendir(QFile::encodeName(carpeta).constData());
    while (const dirent* e = d ? ::readdir(d) : nullptr)
        if (e->d_name[0] != '.') r.insert(e->d_name);
    if (d) ::closedir(d);
    return r;
}

// A name is written as its bytes, whether they are UTF-8 or not; a window's
// name as QFile::encodeName makes it bytes. A refusal names the bytes given.
TEST(ExportaImagen, ElNombreSonSusBytes)
{
    QTemporaryDir dir;
    const std::string carpeta = QFile::encodeName(dir.path()).toStdString() + "/";
    const Dibujo d = con_colores(3, QImage::Format_RGB32, Qt::white);
    std::string error;
    ASSERT_TRUE(guarda_imagen(carpeta + "p\xff\xc3(.png", d, &error)) << error;
    QString fallo;
    ASSERT_TRUE(guarda_imagen(dir.filePath(QString::fromUtf8("año.svg")), d, &fallo))
        << fallo.toStdString();
    EXPECT_EQ(nombres(dir.path()), (std::set<std::string>{"p\xff\xc3(.png", "a\xc3\xb1o.svg"}));

    EXPECT_FALSE(guarda_imagen(carpeta + "q\xff.jpg", d, &error));
    EXPECT_EQ(error, "No se pudo guardar «" + carpeta +
                         "q\xff.jpg»: el nombre debe terminar en .png, .svg o .pdf.");
}

} // namespace
} // namespace tev
