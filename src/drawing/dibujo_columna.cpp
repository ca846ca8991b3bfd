#include "drawing/dibujo_columna.h"

#include "drawing/imagen_columna.h"
#include "drawing/lienzo.h"
#include "drawing/unidades.h"
#include "model/litologias.h"
#include "model/store.h"
#include "text_forms/formas_numericas.h"

#include <QColor>
#include <QFontMetricsF>
#include <QString>

#include <algorithm>
#include <cmath>
#include <vector>

namespace tev {

namespace {

// The layout across, in twips of the start-up view: the present-day column
// spans kIzquierdaActual + indentation to kDerechaActual; bed i's decompacted
// column spans kPaso (i - 1) + kIzquierdaDescomp + indentation to
// kPaso (i - 1) + kDerechaDescomp, its name starting at its left edge on the
// line y = kAlturaNombres (metres, above the datum). The datum line runs
// from kInicioDatum to kPaso n + kFinDatum.
constexpr int kIzquierdaActual = 1000;
constexpr float kDerechaActual = 2000.0f;
constexpr int kIzquierdaDescomp = 3000;
constexpr int kDerechaDescomp = 4000;
constexpr int kPaso = 2000;
constexpr float kAlturaNombres = -200.0f;
constexpr float kInicioDatum = 500.0f;
constexpr int kFinDatum = 2500;

QString impresa(float v)
{
    return QString::fromStdString(forma_impresa(v));
}

// Indentation of a bed's left edge by lithology; false when the text names none.
bool sangria(const std::string& litologia, int& d)
{
    if (const Litologia* l = busca_litologia(litologia)) {
        d = l->sangria;
        return true;
    }
    if (litologia != kPorcentual) return false;
    d = kSangriaPorcentual;
    return true;
}

} // namespace

std::vector<int> sangrias_de_columna(const Store& s)
{
    std::vector<int> r(static_cast<std::size_t>(std::max<int>(s.n_bancos, 0)) + 1, 0);
    int d = 0;
    for (int i = 1; i <= s.n_bancos; ++i) {
        sangria(s.litologia[i], d);
        r[static_cast<std::size_t>(i)] = d;
    }
    return r;
}

void dibuja_columna(const Store& s, Lienzo& l)
{
    int32_t c = 0; // column offset; reaches 200000 for a full table
    int d = 0;     // a lithology outside the six keeps the previous indentation
    const int n = s.n_bancos;
    for (int i = 1; i <= n; ++i) {
        sangria(s.litologia[i], d);
        const QColor relleno = color_de(s.color[i]);
        const auto izquierda = static_cast<float>(kIzquierdaActual + d);
        l.caja(izquierda, s.techo[i], kDerechaActual, s.base[i], relleno, true);
        l.caja(izquierda, s.techo[i], kDerechaActual, s.base[i], Qt::black, false);
        l.imprime(impresa(s.base[i]));

        const auto izquierda_d = static_cast<float>(c + kIzquierdaDescomp + d);
        const auto derecha_d = static_cast<float>(c + kDerechaDescomp);
        l.caja(izquierda_d, s.techo_descomp[i], derecha_d, s.base_descomp[i], relleno, true);
        l.caja(izquierda_d, s.techo_descomp[i], derecha_d, s.base_descomp[i], Qt::black, false);
        l.imprime(impresa(s.base_descomp[i]));

        l.linea(izquierda_d, kAlturaNombres, izquierda_d, kAlturaNombres, Qt::black);
        l.imprime(QString::fromStdString(s.nombre[i]));
        c += kPaso;
    }
    l.linea(kInicioDatum, 0.0f, static_cast<float>(c + kFinDatum), 0.0f, Qt::black);
}

Escala escala_para_toda_la_columna(const Store& s, QSize area, const QFontMetricsF& fm)
{
    const int n = s.n_bancos;
    if (n <= 0 || area.width() <= 0 || area.height() <= 0) return escala_de_arranque_para(area);

    // Everything painted, as a point in view units and the pixels its text
    // takes to the right and downwards from there (none for a box corner).
    struct Pieza {
        double x, y, ancho, alto;
    };
    std::vector<Pieza> piezas;
    const std::vector<int> d = sangrias_de_columna(s);
    const double alto_texto = fm.height();
    auto texto = [&](double x, double y, const QString& t) {
        piezas.push_back({x, y, fm.horizontalAdvance(t), alto_texto});
    };
    auto caja = [&](double x1, double y1, double x2, double y2) {
        piezas.push_back({x1, y1, 0, 0});
        piezas.push_back({x2, y2, 0, 0});
    };
    for (int i = 1; i <= n; ++i) {
        const double sangria_i = d[static_cast<std::size_t>(i)];
        caja(kIzquierdaActual + sangria_i, s.techo[i], kDerechaActual, s.base[i]);
        texto(kDerechaActual, s.base[i], impresa(s.base[i]));
        const double c = static_cast<double>(kPaso) * (i - 1);
        caja(c + kIzquierdaDescomp + sangria_i, s.techo_descomp[i], c + kDerechaDescomp,
             s.base_descomp[i]);
        texto(c + kDerechaDescomp, s.base_descomp[i], impresa(s.base_descomp[i]));
        texto(c + kIzquierdaDescomp + sangria_i, kAlturaNombres,
              QString::fromStdString(s.nombre[i]));
    }
    caja(kInicioDatum, 0, static_cast<double>(kPaso) * n + kFinDatum, 0);

    // A value that is not finite has no place to be fitted.
    piezas.erase(
        std::remove_if(piezas.begin(), piezas.end(),
                       [](const Pieza& p) { return !std::isfinite(p.x) || !std::isfinite(p.y); }),
        piezas.end());
    double izquierda = piezas.front().x;
    double arriba = piezas.front().y;
    for (const Pieza& p : piezas) {
        izquierda = std::min(izquierda, p.x);
        arriba = std::min(arriba, p.y);
    }
    // Units per pixel: each piece's far edge, (x - izquierda) / por_pixel +
    // ancho, must stay within the area less a margin on both sides.
    constexpr double kMargen = 6;
    const double ancho_util = area.width() - 2 * kMargen;
    const double alto_util = area.height() - 2 * kMargen;
    double por_pixel_x = 1e-6;
    double por_pixel_y = 1e-6;
    for (const Pieza& p : piezas) {
        const double sobra_x = std::max(1.0, ancho_util - p.ancho);
        const double sobra_y = std::max(1.0, alto_util - p.alto);
        por_pixel_x = std::max(por_pixel_x, (p.x - izquierda) / sobra_x);
        por_pixel_y = std::max(por_pixel_y, (p.y - arriba) / sobra_y);
    }
    Escala e;
    e.ScaleLeft = static_cast<float>(izquierda - kMargen * por_pixel_x);
    e.ScaleTop = static_cast<float>(arriba - kMargen * por_pixel_y);
    e.ScaleWidth = static_cast<float>(por_pixel_x * area.width());
    e.ScaleHeight = static_cast<float>(por_pixel_y * area.height());
    return e;
}

LugarEnColumna lugar_en_columna(const Store& s, float x, float y)
{
    const std::vector<int> d = sangrias_de_columna(s);
    auto dentro = [x, y](double x1, double y1, double x2, double y2) {
        return x >= std::min(x1, x2) && x <= std::max(x1, x2) && y >= std::min(y1, y2) &&
               y <= std::max(y1, y2);
    };
    for (int i = 1; i <= s.n_bancos; ++i) {
        const double sangria_i = d[static_cast<std::size_t>(i)];
        if (dentro(kIzquierdaActual + sangria_i, s.techo[i], kDerechaActual, s.base[i]))
            return {i, false};
        const double c = static_cast<double>(kPaso) * (i - 1);
        if (dentro(c + kIzquierdaDescomp + sangria_i, s.techo_descomp[i], c + kDerechaDescomp,
                   s.base_descomp[i]))
            return {i, true};
    }
    return {};
}

} // namespace tev
