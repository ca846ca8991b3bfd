#include "drawing/columna_entera.h"

#include "drawing/dibujo_columna.h"
#include "drawing/exporta_imagen.h"
#include "drawing/unidades.h"
#include "model/programa.h"
#include "model/store.h"
#include "text_forms/formas_numericas.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace tev {

namespace {

constexpr double kMargen = 12;
// Across, the view's start-up layout: 15 twips to a pixel. The datum line
// starts at the margin, the present-day column 500 twips later.
constexpr double kPorTwip = 1.0 / kTwipsPorPixel;
constexpr double kHastaActual = 500 * kPorTwip;
constexpr double kAnchoCaja = 1000 * kPorTwip; // a column's width, indentation 0
constexpr double kPasoMinimo = 2000 * kPorTwip;
constexpr double kHastaDescomp = 2500 * kPorTwip; // datum start to the first decompacted column
constexpr double kColaDatum = 500 * kPorTwip;     // the datum line past the last column
constexpr double kGuia = 14;                      // a box's edge to its depth label
constexpr double kSeparacion = 12;                // between neighbouring labels across
// Least height of the column proper; more when the beds are many, so that
// their depth labels find room however they crowd.
constexpr double kAltoMinimo = 480;

QFont fuente()
{
    QFont f;
    f.setPixelSize(12);
    return f;
}

double finito(float v)
{
    return std::isfinite(v) ? static_cast<double>(v) : 0.0;
}

QString impresa(float v)
{
    return QString::fromStdString(forma_impresa(v));
}

} // namespace

ColumnaEntera disposicion_columna_entera(const Store& s)
{
    ColumnaEntera c;
    const QFontMetricsF fm(fuente());
    const double alto_texto = fm.height();
    const int n = std::clamp<int>(s.n_bancos, 0, kMaxBancos);
    const std::vector<int> sangria = sangrias_de_columna(s);
    auto sangria_px = [&](int i) { return sangria[static_cast<std::size_t>(i)] * kPorTwip; };

    // Down: the names' row on top, then the column from its shallowest point
    // (the datum, or above it) to its deepest.
    double arriba = 0;
    double abajo = 0;
    for (int i = 1; i <= n; ++i) {
        for (float v : {s.techo[i], s.base[i], s.techo_descomp[i], s.base_descomp[i]}) {
            arriba = std::min(arriba, finito(v));
            abajo = std::max(abajo, finito(v));
        }
    }
    const double alto_columna = std::max(kAltoMinimo, n * (alto_texto + 2));
    c.pixeles_por_metro = abajo > arriba ? alto_columna / (abajo - arriba) : 1.0;
    c.y_datum = std::floor(kMargen + alto_texto + 6 - arriba * c.pixeles_por_metro);
    auto y_de = [&](float profundidad) {
        return std::floor(c.y_datum + finito(profundidad) * c.pixeles_por_metro);
    };
    auto caja = [&](int i, bool descompactado, double x1, double x2, float techo, float base) {
        const double y1 = y_de(techo);
        double y2 = y_de(base);
        // A decompacted column stands alone: however thin, it shows.
        if (descompactado && std::abs(y2 - y1) < 2) y2 = y1 + (y2 < y1 ? -2 : 2);
        c.cajas.push_back({i, descompactado,
                           QRectF(QPointF(std::floor(x1), std::min(y1, y2)),
                                  QPointF(std::floor(x2), std::max(y1, y2)))});
    };
    // A depth label beside its depth: centred on it, but never above the
    // datum line nor above `tope` (the bottom of the label over it).
    auto rotulo_de_profundidad = [&](float profundidad, double x_borde, double tope) {
        const QString t = impresa(profundidad);
        const QPointF ancla(x_borde, y_de(profundidad));
        const double deseado = ancla.y() - alto_texto / 2;
        const double y = std::max({deseado, tope, c.y_datum + 2});
        c.rotulos.push_back({t, QRectF(x_borde + kGuia, y, fm.horizontalAdvance(t), alto_texto),
                             ancla, y > deseado + 0.5});
        return c.rotulos.back().caja;
    };

    // The present-day column; its labels from the shallowest base down, each
    // below the one before.
    c.x_datum_desde = kMargen;
    const double x_actual = kMargen + kHastaActual;
    const double derecha_actual = x_actual + kAnchoCaja;
    std::vector<int> orden(static_cast<std::size_t>(n));
    std::iota(orden.begin(), orden.end(), 1);
    std::stable_sort(orden.begin(), orden.end(),
                     [&](int a, int b) { return finito(s.base[a]) < finito(s.base[b]); });
    for (int i = 1; i <= n; ++i)
        caja(i, false, x_actual + sangria_px(i), derecha_actual, s.techo[i], s.base[i]);
    double tope = 0;
    double derecha_rotulos = derecha_actual;
    for (int i : orden) {
        const QRectF r = rotulo_de_profundidad(s.base[i], std::floor(derecha_actual), tope);
        tope = r.bottom() + 1;
        derecha_rotulos = std::max(derecha_rotulos, r.right());
    }

    // One decompacted column per bed, bed 1 first, each as wide as its name
    // and its depth label need.
    double x = std::max(kMargen + kHastaDescomp, derecha_rotulos + 2 * kSeparacion);
    double fin = x;
    for (int i = 1; i <= n; ++i) {
        const double izquierda = x + sangria_px(i);
        const double derecha = x + kAnchoCaja;
        caja(i, true, izquierda, derecha, s.techo_descomp[i], s.base_descomp[i]);
        const QRectF r = rotulo_de_profundidad(s.base_descomp[i], std::floor(derecha), 0);
        const QString nombre = QString::fromStdString(s.nombre[i]);
        const QRectF rn(std::floor(izquierda), kMargen, fm.horizontalAdvance(nombre), alto_texto);
        c.rotulos.push_back({nombre, rn, rn.topLeft(), false});
        fin = derecha;
        if (i < n) {
            const double siguiente = sangria_px(i + 1);
            x = std::max({x + kPasoMinimo, rn.right() + kSeparacion - siguiente,
                          r.right() + kSeparacion - siguiente});
        }
    }
    c.x_datum_hasta = fin + kColaDatum;

    double ancho = c.x_datum_hasta;
    double alto = y_de(static_cast<float>(abajo));
    for (const auto& r : c.rotulos) {
        ancho = std::max(ancho, r.caja.right());
        alto = std::max(alto, r.caja.bottom());
    }
    c.tamano = QSize(static_cast<int>(std::ceil(ancho + kMargen)),
                     static_cast<int>(std::ceil(alto + kMargen)));
    return c;
}

void pinta_columna_entera(const Store& s, QPainter& p)
{
    const ColumnaEntera c = disposicion_columna_entera(s);
    p.save();
    p.fillRect(QRect(QPoint(0, 0), c.tamano), Qt::white);
    p.setRenderHint(QPainter::Antialiasing, false);
    for (const auto& k : c.cajas) {
        p.fillRect(k.rect, color_de(s.color[k.banco]));
        p.setPen(QPen(Qt::black, 0));
        p.setBrush(Qt::NoBrush);
        p.drawRect(k.rect.adjusted(0, 0, -1, -1));
    }
    p.drawLine(QPointF(c.x_datum_desde, c.y_datum), QPointF(c.x_datum_hasta, c.y_datum));

    const QFont f = fuente();
    const QFontMetricsF fm(f);
    p.setFont(f);
    p.setRenderHint(QPainter::Antialiasing, true);
    for (const auto& r : c.rotulos) {
        if (r.ancla != r.caja.topLeft()) {
            // A depth label's line: along the depth, then to the label's middle.
            p.setPen(QPen(QColor(90, 90, 90), 0));
            const QPointF codo(r.ancla.x() + 4, r.ancla.y());
            p.drawLine(r.ancla, codo);
            p.drawLine(codo, QPointF(r.caja.left() - 2, r.caja.center().y()));
        }
        p.setPen(Qt::black);
        p.drawText(QPointF(r.caja.left(), r.caja.top() + fm.ascent()), r.texto);
    }
    p.restore();
}

Dibujo dibujo_de_la_columna_entera(const Store& s)
{
    Dibujo dibujo;
    dibujo.tamano = disposicion_columna_entera(s).tamano;
    dibujo.titulo = kNombrePrograma;
    dibujo.formato_png = QImage::Format_RGB32;
    dibujo.pinta = [&s](QPainter& p) { pinta_columna_entera(s, p); };
    return dibujo;
}

bool guarda_columna_entera(const Store& s, const QString& ruta, QString* error)
{
    return guarda_imagen(ruta, dibujo_de_la_columna_entera(s), error);
}

} // namespace tev
