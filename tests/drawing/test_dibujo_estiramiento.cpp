// The stretching figure at any size the window lets itself be made: every
// legend entry whole, no text on another (the grey curves' labels among
// them), every text inside the figure. What is drawn is read back from a
// paint device that keeps the texts, not from the drawing's own layout.

#include "drawing/dibujo_estiramiento.h"

#include "compute/historia.h"
#include "drawing/grabadora.h"
#include "model/store.h"
#include "project_file/formatos.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <cmath>
#include <memory>

namespace tev {
namespace {

FiguraEstiramiento figura_del_ejemplo()
{
    auto s = std::make_unique<Store>();
    valores_de_arranque(*s);
    const LecturaColumna l = lee_archivo(TEVARRO_SOURCE_DIR "/examples/neuquen.tev");
    EXPECT_TRUE(l.ok) << l.error;
    carga_lectura(*s, l);
    const ResultadoHistoria h = calcula_historia(*s);
    EXPECT_TRUE(h.ok()) << h.error;
    FiguraEstiramiento f;
    f.puntos = puntos_de_historia(h.historia);
    f.ajuste = ajusta_estiramiento(f.puntos, f.peticion);
    EXPECT_TRUE(f.ajuste.ok());
    return f;
}

TEST(DibujoEstiramiento, TextosEnterosYNingunoSobreOtro)
{
    const FiguraEstiramiento f = figura_del_ejemplo();
    // The window's smallest figure, a small one and the picture's size.
    for (const QSize tamano : {QSize(420, 300), QSize(600, 400), QSize(900, 600)}) {
        prueba::Grabadora g(tamano);
        {
            QPainter p(&g);
            pinta_estiramiento(f, p, tamano);
        }
        // A line of text in two fonts (the Greek letters come from another)
        // is recorded in pieces: joined again, piece after piece on its line.
        std::vector<prueba::TextoGrabado> t;
        for (const prueba::TextoGrabado& x : g.textos()) {
            if (!t.empty() && t.back().caja.top() == x.caja.top() &&
                std::abs(t.back().caja.right() - x.caja.left()) < 1) {
                t.back().texto += x.texto;
                t.back().caja |= x.caja;
            } else {
                t.push_back(x);
            }
        }
        const auto dibujado = [&t](const QString& texto) {
            return std::any_of(t.begin(), t.end(), [&texto](const prueba::TextoGrabado& x) {
                return x.texto == texto;
            });
        };
        const std::string donde =
            std::to_string(tamano.width()) + "x" + std::to_string(tamano.height());
        EXPECT_TRUE(dibujado(QString::fromUtf8("Subsidencia tectónica"))) << donde;
        EXPECT_TRUE(dibujado(QString::fromUtf8("Otros β, el mismo rift"))) << donde;
        EXPECT_TRUE(dibujado(QString::fromUtf8("Resultado en un límite"))) << donde;
        const QRectF figura(QPointF(0, 0), QSizeF(tamano));
        for (std::size_t i = 0; i < t.size(); ++i) {
            EXPECT_FALSE(t[i].texto.contains(QChar(0x2026)))
                << donde << ": " << t[i].texto.toStdString();
            EXPECT_TRUE(figura.contains(t[i].caja)) << donde << ": " << t[i].texto.toStdString();
            for (std::size_t j = i + 1; j < t.size(); ++j)
                EXPECT_FALSE(t[i].caja.intersects(t[j].caja))
                    << donde << ": «" << t[i].texto.toStdString() << "» y «"
                    << t[j].texto.toStdString() << "»";
        }
    }
}

} // namespace
} // namespace tev
