// The whole column in one picture: every bed's name and both its depths are
// drawn, inside the picture, and no two texts overlap, however thin and
// crowded the beds. What is drawn is read back from a paint device that keeps
// the texts and fills, not from the drawing's own layout.

#include "drawing/columna_entera.h"

#include "compute/tevarro.h"
#include "drawing/dibujo_columna.h"
#include "drawing/exporta_imagen.h"
#include "drawing/grabadora.h"
#include "drawing/lienzo.h"
#include "model/store.h"
#include "project_file/formatos.h"
#include "text_forms/formas_numericas.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <cmath>
#include <limits>
#include <memory>

namespace tev {
namespace {

std::unique_ptr<Store> ejemplo()
{
    auto s = std::make_unique<Store>();
    valores_de_arranque(*s);
    const LecturaColumna l = lee_archivo(TEVARRO_SOURCE_DIR "/examples/neuquen.tev");
    EXPECT_TRUE(l.ok) << l.error;
    carga_lectura(*s, l);
    EXPECT_TRUE(tevarro(*s).ok());
    return s;
}

// 40 beds, most a few metres thick under a thick one, long names: the depth
// labels of the present-day column would fall on top of each other.
std::unique_ptr<Store> apretada()
{
    auto s = std::make_unique<Store>();
    valores_de_arranque(*s);
    s->n_bancos = 40;
    float techo = 0;
    for (int i = 40; i >= 1; --i) {
        const float espesor = i == 1 ? 3000.0f : static_cast<float>(1 + i % 4);
        s->techo[i] = techo;
        s->base[i] = techo + espesor;
        techo = s->base[i];
        s->techo_descomp[i] = 0;
        s->base_descomp[i] = espesor * 1.4f;
        s->litologia[i] = i % 2 ? "Calizas" : "Evaporitas";
        s->color[i] = 0x00FF00FF;
        s->nombre[i] = "Formación de nombre largo número " + std::to_string(i);
    }
    return s;
}

struct Grabado {
    QSize tamano;
    std::vector<prueba::TextoGrabado> textos;
    std::vector<prueba::RellenoGrabado> rellenos;
};

Grabado graba(const Store& s)
{
    const Dibujo d = dibujo_de_la_columna_entera(s);
    prueba::Grabadora g(d.tamano);
    {
        QPainter p(&g);
        d.pinta(p);
    }
    return {d.tamano, g.textos(), g.rellenos()};
}

int veces(const Grabado& g, const QString& texto)
{
    int n = 0;
    for (const auto& t : g.textos)
        n += t.texto == texto;
    return n;
}

QString impresa(float v)
{
    return QString::fromStdString(forma_impresa(v));
}

void espera_todo_legible(const Store& s)
{
    const Grabado g = graba(s);
    const QRectF imagen(QPointF(0, 0), QSizeF(g.tamano));
    // Each bed's name once, its base depth in the present-day column and in
    // its decompacted column (the same text twice when both are equal).
    for (int i = 1; i <= s.n_bancos; ++i) {
        const QString nombre = QString::fromStdString(s.nombre[i]);
        EXPECT_GE(veces(g, nombre), 1) << nombre.toStdString();
        const QString base = impresa(s.base[i]);
        const QString descomp = impresa(s.base_descomp[i]);
        if (base == descomp)
            EXPECT_GE(veces(g, base), 2) << i;
        else
            EXPECT_TRUE(veces(g, base) >= 1 && veces(g, descomp) >= 1) << i;
    }
    EXPECT_EQ(g.textos.size(), static_cast<std::size_t>(3 * s.n_bancos));
    for (std::size_t a = 0; a < g.textos.size(); ++a) {
        const QRectF& ra = g.textos[a].caja;
        EXPECT_TRUE(imagen.contains(ra)) << g.textos[a].texto.toStdString();
        for (std::size_t b = a + 1; b < g.textos.size(); ++b) {
            EXPECT_FALSE(ra.intersects(g.textos[b].caja))
                << g.textos[a].texto.toStdString() << " / " << g.textos[b].texto.toStdString();
        }
    }
    // Both columns of every bed filled in its colour, inside the picture.
    for (const auto& r : g.rellenos) {
        EXPECT_TRUE(imagen.contains(r.rect.topLeft()) && imagen.contains(r.rect.bottomRight()));
        EXPECT_GT(r.rect.width(), 0);
    }
    // Every decompacted column shows: its fill is at least 2 pixels high.
    int visibles = 0;
    for (const auto& r : g.rellenos)
        visibles += r.rect.height() >= 2 && r.rect.height() < imagen.height();
    EXPECT_GE(visibles, s.n_bancos);
}

TEST(ColumnaEntera, ElEjemploConTodosSusRotulos)
{
    const auto s = ejemplo();
    espera_todo_legible(*s);
    // The fills: the white background, then a box per bed in each column.
    const Grabado g = graba(*s);
    ASSERT_EQ(g.rellenos.size(), 1u + 2u * 12u);
    for (int i = 1; i <= 12; ++i) {
        const QColor c =
            QColor(s->color[i] & 0xFF, (s->color[i] >> 8) & 0xFF, (s->color[i] >> 16) & 0xFF);
        int con_su_color = 0;
        for (const auto& r : g.rellenos)
            con_su_color += r.color == c;
        EXPECT_GE(con_su_color, 2) << i;
    }
}

TEST(ColumnaEntera, BancosApretadosSinRotulosEncima)
{
    espera_todo_legible(*apretada());
}

TEST(ColumnaEntera, PngSvgYPdfDelTamanoQueLaContiene)
{
    const auto s = ejemplo();
    QTemporaryDir dir;
    QString error;
    const QSize tamano = dibujo_de_la_columna_entera(*s).tamano;
    ASSERT_TRUE(guarda_columna_entera(*s, dir.filePath("c.png"), &error)) << error.toStdString();
    EXPECT_EQ(QImage(dir.filePath("c.png")).size(), tamano);
    for (const char* nombre : {"c.svg", "c.pdf"})
        EXPECT_TRUE(guarda_columna_entera(*s, dir.filePath(nombre), &error)) << nombre;
    QFile svg(dir.filePath("c.svg"));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QString texto = QString::fromUtf8(svg.readAll());
    for (int i = 1; i <= 12; ++i)
        EXPECT_TRUE(texto.contains(QString::fromStdString(s->nombre[i]))) << i;
    EXPECT_FALSE(guarda_columna_entera(*s, dir.filePath("c.bmp"), &error));
}

// The view's "Ver toda la columna" on a column holding values that are not
// numbers: a finite scale that still holds the rest.
TEST(ColumnaEntera, LaVistaEnteraConUnValorQueNoEsNumero)
{
    auto s = ejemplo();
    s->techo[1] = std::numeric_limits<float>::quiet_NaN();
    s->base_descomp[5] = std::numeric_limits<float>::quiet_NaN();
    const QSize area(757, 485);
    const Escala e = escala_para_toda_la_columna(*s, area, QFontMetricsF(QFont()));
    for (float v : {e.ScaleLeft, e.ScaleTop, e.ScaleWidth, e.ScaleHeight})
        EXPECT_TRUE(std::isfinite(v));
    // Bed 1's base (2400 m) is above the view's bottom edge.
    EXPECT_LT(2400.0, e.ScaleTop + e.ScaleHeight);
    EXPECT_GT(e.ScaleHeight, 2400.0f);
}

} // namespace
} // namespace tev
