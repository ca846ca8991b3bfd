// The column drawing, pixel by pixel, at the start-up scale of the view: 757 x
// 485 pixels showing 11355 x 7275 units from (0, -1000), 15 units a pixel.
// A point x, y falls in pixel floor(x / 15), floor((y + 1000) / 15); on a
// device of pixel ratio r, in device pixel floor(r * x / 15), and so on.

#include "drawing/dibujo_columna.h"
#include "drawing/imagen_columna.h"
#include "drawing/lienzo.h"
#include "model/store.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QSet>

#include <cmath>
#include <random>
#include <string>

namespace tev {
namespace {

const QSize kArea(757, 485);
const Escala kArranque{0.0f, -1000.0f, 11355.0f, 7275.0f};
const QColor kBlanco(255, 255, 255);
const QColor kNegro(0, 0, 0);
const QColor kAmarillo(255, 255, 0);

// One bed: present top and base, decompacted base (its top at 0).
Store un_banco(const std::string& litologia, float techo, float base, float base_descomp,
               const std::string& nombre = "Banco", int32_t color = 0x00FFFF)
{
    Store s;
    valores_de_arranque(s);
    s.n_bancos = 1;
    s.litologia[1] = litologia;
    s.techo[1] = techo;
    s.base[1] = base;
    s.techo_descomp[1] = 0.0f;
    s.base_descomp[1] = base_descomp;
    s.nombre[1] = nombre;
    s.color[1] = color;
    return s;
}

QColor en(const QImage& img, int x, int y)
{
    return img.pixelColor(x, y);
}

bool todo_blanco(const QImage& img, const QRect& r)
{
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (img.pixelColor(x, y) != kBlanco) return false;
    return true;
}

// Pixels of text: dark ones, smoothed edges included.
int oscuros(const QImage& img, const QRect& r)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (qGray(img.pixel(x, y)) < 160) ++n;
    return n;
}

// The name of an Arcosas first bed starts at (3150, -200): pixel (210, 53),
// device pixel (420, 106) at ratio 2.
TEST(NombreDelBanco, SinPuntoEnSuEsquina)
{
    const QImage uno =
        imagen_de_columna(un_banco("Arcosas", 300, 600, 250, "Arcosas"), kArea, kArranque);
    EXPECT_EQ(en(uno, 210, 53), kBlanco);
    // The name itself is there, just below and to the right.
    EXPECT_GT(oscuros(uno, QRect(210, 53, 60, 14)), 20);

    const QImage dos =
        imagen_de_columna(un_banco("Arcosas", 300, 600, 250, "Arcosas"), kArea, kArranque, 2.0);
    EXPECT_EQ(en(dos, 420, 106), kBlanco);
    EXPECT_EQ(en(dos, 421, 107), kBlanco);
    EXPECT_GT(oscuros(dos, QRect(420, 106, 120, 28)), 40);
}

TEST(NombreDelBanco, UnNombreVacioNoDejaNada)
{
    // Nothing at all where the name would go: the line of no length that
    // puts the drawing position there paints nothing.
    const QImage uno = imagen_de_columna(un_banco("Arcosas", 300, 600, 250, ""), kArea, kArranque);
    EXPECT_TRUE(todo_blanco(uno, QRect(200, 43, 40, 21)));
    const QImage dos =
        imagen_de_columna(un_banco("Arcosas", 300, 600, 250, ""), kArea, kArranque, 2.0);
    EXPECT_TRUE(todo_blanco(dos, QRect(400, 86, 80, 42)));
}

TEST(NombreDelBanco, LaLineaDeLongitudCeroSoloMueveLaPosicion)
{
    QImage img(100, 100, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&img);
    Lienzo l(p, 100, 100, Escala{0.0f, 0.0f, 100.0f, 100.0f});
    l.cls(Qt::white);
    l.linea(40.0f, 30.0f, 40.0f, 30.0f, Qt::black);
    EXPECT_EQ(l.CurrentX, 40.0f);
    EXPECT_EQ(l.CurrentY, 30.0f);
    // A line of any length still paints both of its ends.
    l.linea(10.0f, 70.0f, 20.0f, 70.0f, Qt::black);
    p.end();
    EXPECT_TRUE(todo_blanco(img, QRect(0, 0, 100, 60)));
    EXPECT_EQ(en(img, 10, 70), kNegro);
    EXPECT_EQ(en(img, 20, 70), kNegro);
    EXPECT_EQ(en(img, 21, 70), kBlanco);
}

// A point of a box's outline: black, white one step of (dx, dy) outwards
// and yellow, the fill, one step inwards.
struct Borde {
    int x, y, dx, dy;
};

void es_borde(const QImage& img, const Borde& b)
{
    EXPECT_EQ(en(img, b.x, b.y), kNegro) << b.x << ", " << b.y;
    EXPECT_EQ(en(img, b.x + b.dx, b.y + b.dy), kBlanco) << b.x << ", " << b.y;
    EXPECT_EQ(en(img, b.x - b.dx, b.y - b.dy), kAmarillo) << b.x << ", " << b.y;
}

// A yellow Arcosas bed from 300 to 600 m: present box 1150..2000 across,
// decompacted box 3150..4000 from 0 to 250.
TEST(RellenoYContorno, CoincidenAEscala1)
{
    const QImage img = imagen_de_columna(un_banco("Arcosas", 300, 600, 250), kArea, kArranque);
    // Present box: pixels 76..133 across, 86..106 down; decompacted box:
    // 210..266 across, 66..83 down.
    const Borde bordes[] = {{76, 95, -1, 0},  {133, 95, 1, 0}, {100, 86, 0, -1},
                            {100, 106, 0, 1}, {266, 75, 1, 0}, {240, 83, 0, 1}};
    for (const Borde& b : bordes)
        es_borde(img, b);
}

TEST(RellenoYContorno, CoincidenAEscala2)
{
    const QImage img = imagen_de_columna(un_banco("Arcosas", 300, 600, 250), kArea, kArranque, 2.0);
    ASSERT_EQ(img.size(), QSize(1514, 970));
    // Present box: device pixels 153..266 across (1150 / 7.5 = 153.3, 2000 /
    // 7.5 = 266.7), 173..213 down (1300 / 7.5 = 173.3, 1600 / 7.5 = 213.3);
    // no yellow beside its outline nor below it. Decompacted box: 420..533
    // across, 133..166 down (1250 / 7.5 = 166.7).
    const Borde bordes[] = {{153, 190, -1, 0}, {266, 190, 1, 0}, {200, 173, 0, -1},
                            {200, 213, 0, 1},  {533, 150, 1, 0}, {480, 166, 0, 1}};
    for (const Borde& b : bordes)
        es_borde(img, b);
    EXPECT_EQ(en(img, 266, 213), kNegro); // the corner
    EXPECT_EQ(en(img, 267, 214), kBlanco);
}

// Pixel that a coordinate falls in, worked out apart from the canvas.
int pixel(double u, double origen, double extension, int pixeles, double r)
{
    return static_cast<int>(std::floor((u - origen) * pixeles / extension * r));
}

// Boxes anywhere, at every pixel ratio a desktop offers: what is painted is
// exactly the rectangle of device pixels of the two corners, its edge black
// and its inside the fill colour.
TEST(RellenoYContorno, MismosPixelesATodaProporcion)
{
    std::mt19937 azar(16);
    std::uniform_real_distribution<float> coord(-50.0f, 1050.0f);
    const Escala e{-37.5f, 12.25f, 1111.0f, 777.7f};
    const QSize area(120, 90);
    for (double r : {1.0, 1.25, 1.5, 1.75, 2.0}) {
        for (int caso = 0; caso < 60; ++caso) {
            const float x1 = coord(azar), y1 = coord(azar) * 0.7f;
            const float x2 = coord(azar), y2 = coord(azar) * 0.7f;
            QImage img(area * r, QImage::Format_ARGB32_Premultiplied);
            img.setDevicePixelRatio(r);
            {
                QPainter p(&img);
                Lienzo l(p, area.width(), area.height(), e);
                l.cls(Qt::white);
                l.caja(x1, y1, x2, y2, kAmarillo, true);
                l.caja(x1, y1, x2, y2, Qt::black, false);
            }
            const int a = pixel(x1, e.ScaleLeft, e.ScaleWidth, area.width(), r);
            const int b = pixel(x2, e.ScaleLeft, e.ScaleWidth, area.width(), r);
            const int c = pixel(y1, e.ScaleTop, e.ScaleHeight, area.height(), r);
            const int d = pixel(y2, e.ScaleTop, e.ScaleHeight, area.height(), r);
            const QRect caja(QPoint(std::min(a, b), std::min(c, d)),
                             QPoint(std::max(a, b), std::max(c, d)));
            int malos = 0;
            for (int y = 0; y < img.height(); ++y) {
                for (int x = 0; x < img.width(); ++x) {
                    const bool borde =
                        caja.contains(x, y) && (x == caja.left() || x == caja.right() ||
                                                y == caja.top() || y == caja.bottom());
                    const QColor esperado = !caja.contains(x, y) ? kBlanco
                                            : borde              ? kNegro
                                                                 : kAmarillo;
                    if (img.pixelColor(x, y) != esperado) ++malos;
                }
            }
            EXPECT_EQ(malos, 0) << "proporción " << r << ", caja (" << x1 << ", " << y1 << ") - ("
                                << x2 << ", " << y2 << ")";
        }
    }
}

// Across the whole column, a fill colour only ever meets itself or a black
// outline.
int rellenos_sueltos(const QImage& img, const QSet<QRgb>& rellenos, int* vistos)
{
    int sueltos = 0;
    *vistos = 0;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y) | 0xFF000000u;
            if (!rellenos.contains(c)) continue;
            ++*vistos;
            const QPoint vecinos[] = {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}};
            for (const QPoint& v : vecinos) {
                if (!img.rect().contains(v)) continue;
                const QRgb n = img.pixel(v) | 0xFF000000u;
                if (n != c && n != qRgb(0, 0, 0)) ++sueltos;
            }
        }
    }
    return sueltos;
}

TEST(RellenoYContorno, ColumnaEnteraATodaProporcion)
{
    Store s;
    valores_de_arranque(s);
    const char* litologias[] = {"Areniscas", "Pelitas", "PORCENTUAL",
                                "Arcosas",   "Calizas", "Evaporitas"};
    const int32_t colores[] = {0x00FFFF, 0x0000FF, 0x00FF00, 0xFF00FF, 0xFF0000, 0xFFFF00};
    s.n_bancos = 6;
    for (int i = 1; i <= 6; ++i) {
        s.litologia[i] = litologias[i - 1];
        s.color[i] = colores[i - 1];
        s.techo[i] = 1900.0f - 310.7f * static_cast<float>(i);
        s.base[i] = s.techo[i] + 310.7f;
        s.base_descomp[i] = 123.4f * static_cast<float>(i);
        s.nombre[i] = "B" + std::to_string(i);
    }
    const QSet<QRgb> rellenos = {qRgb(255, 255, 0), qRgb(255, 0, 0), qRgb(0, 255, 0),
                                 qRgb(255, 0, 255), qRgb(0, 0, 255), qRgb(0, 255, 255)};
    for (double r : {1.0, 1.25, 1.5, 2.0}) {
        for (const Escala& e : {kArranque, Escala{-333.3f, -1234.5f, 5000.0f, 3300.0f}}) {
            int vistos = 0;
            const int sueltos =
                rellenos_sueltos(imagen_de_columna(s, kArea, e, r), rellenos, &vistos);
            EXPECT_EQ(sueltos, 0) << "proporción " << r << ", desde x = " << e.ScaleLeft;
            EXPECT_GT(vistos, 1000) << "proporción " << r;
        }
    }
}

// What lies wholly off the picture is left out, and nothing else: the same
// column drawn through a shift onto a larger picture, where nothing is left
// out, shows the very same pixels in the part the smaller one covers. The
// scales put labels and boxes across all four edges.
TEST(FueraDelDibujo, LoQueNoSeVeSeOmiteYNadaMas)
{
    Store s;
    valores_de_arranque(s);
    s.n_bancos = 100;
    float techo = 0;
    for (int i = 100; i >= 1; --i) {
        s.litologia[i] = i % 2 ? "Areniscas" : "Calizas";
        s.color[i] = 0x00FFFF;
        s.techo[i] = techo;
        s.base[i] = techo + 20.0f + static_cast<float>((i * 37) % 180);
        techo = s.base[i];
        s.base_descomp[i] = (s.base[i] - s.techo[i]) * 1.3f;
        s.nombre[i] = "Banco " + std::to_string(i);
    }
    const int margen = 60;
    for (double r : {1.0, 2.0}) {
        for (int k = 0; k < 12; ++k) {
            const Escala e{-700.0f + 397.3f * static_cast<float>(k),
                           -1200.0f + 911.7f * static_cast<float>(k), 11355.0f, 7275.0f};
            const QImage omitiendo = imagen_de_columna(s, kArea, e, r);
            QImage entera((kArea + QSize(2 * margen, 2 * margen)) * r,
                          QImage::Format_ARGB32_Premultiplied);
            entera.setDevicePixelRatio(r);
            entera.fill(Qt::transparent);
            {
                QPainter p(&entera);
                p.translate(margen, margen);
                Lienzo lienzo(p, kArea.width(), kArea.height(), e);
                lienzo.cls(Qt::white);
                dibuja_columna(s, lienzo);
            }
            const auto m = static_cast<int>(margen * r);
            const QImage parte = entera.copy(m, m, omitiendo.width(), omitiendo.height());
            EXPECT_TRUE(parte.convertToFormat(omitiendo.format()) == omitiendo)
                << "proporción " << r << ", escala " << k;
        }
    }
}

// A bed with equal top and base: a horizontal line with its label, and no
// fill showing above or below it. Present box at 600 m: pixels 66..133 across,
// row 106 (device 133..266 and row 213 at ratio 2).
TEST(BancoSinEspesor, UnaLineaHorizontalConSuEtiqueta)
{
    const QImage uno = imagen_de_columna(un_banco("Areniscas", 600, 600, 0), kArea, kArranque);
    for (int x = 66; x <= 133; ++x)
        EXPECT_EQ(en(uno, x, 106), kNegro) << x;
    EXPECT_EQ(en(uno, 65, 106), kBlanco);
    EXPECT_EQ(en(uno, 134, 106), kBlanco);
    EXPECT_TRUE(todo_blanco(uno, QRect(60, 100, 74, 6)));
    EXPECT_TRUE(todo_blanco(uno, QRect(60, 107, 74, 6)));
    // Its label " 600 " stands to its right, below the line.
    EXPECT_GT(oscuros(uno, QRect(134, 107, 40, 14)), 10);

    const QImage dos = imagen_de_columna(un_banco("Areniscas", 600, 600, 0), kArea, kArranque, 2.0);
    for (int x = 133; x <= 266; ++x)
        EXPECT_EQ(en(dos, x, 213), kNegro) << x;
    EXPECT_EQ(en(dos, 132, 213), kBlanco);
    EXPECT_EQ(en(dos, 267, 213), kBlanco);
    EXPECT_TRUE(todo_blanco(dos, QRect(120, 200, 148, 13)));
    EXPECT_TRUE(todo_blanco(dos, QRect(120, 214, 148, 13)));
    EXPECT_GT(oscuros(dos, QRect(268, 214, 80, 28)), 20);
}

} // namespace
} // namespace tev
