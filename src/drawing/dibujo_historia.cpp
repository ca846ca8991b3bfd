#include "drawing/dibujo_historia.h"

#include "compute/historia.h"
#include "drawing/exporta_imagen.h"
#include "drawing/unidades.h"
#include "model/store.h"

#include <QFont>
#include <QFontMetrics>
#include <QLocale>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace tev {

namespace {

const QColor kFondo(255, 255, 255);
const QColor kTexto(0, 0, 0);
const QColor kHalo(255, 255, 255);
constexpr int kMargenIzquierdo = 78; // depth captions and the "m" axis title
constexpr int kMargenArriba = 52;    // age captions and the "Ma" axis title
constexpr int kMargenAbajo = 16;
constexpr int kSeparacionLeyenda = 14;
// Least room per tick, pixels: the finer the round step, the more ticks
// while they keep this room.
constexpr int kPixelesPorMarcaEdad = 70;
constexpr int kPixelesPorMarcaProfundidad = 40;
constexpr int kLineaLeyenda = 18; // height of one legend entry, pixels

QFont fuente()
{
    QFont f;
    f.setPixelSize(12);
    return f;
}

// The step of bed k: the steps run from bed n_bancos down to 1.
const PasoHistoria* paso_de_banco(const Historia& h, int k)
{
    for (const PasoHistoria& p : h.pasos)
        if (p.banco_superior == k) return &p;
    return nullptr;
}

const HorizontesBanco* en_paso(const PasoHistoria& p, int banco)
{
    // Beds banco_superior..1, top first.
    const int idx = p.banco_superior - banco;
    if (idx < 0 || idx >= static_cast<int>(p.bancos.size())) return nullptr;
    const HorizontesBanco& b = p.bancos[static_cast<std::size_t>(idx)];
    return b.banco == banco ? &b : nullptr;
}

// The top and base horizons of bed i through time, as (age, depth): it
// begins at its base age with no thickness at the sea floor, stands as each
// step puts it at that step's age and keeps that step's depths until the bed
// above begins (a hiatus leaves the column as it was).
void horizontes(const Historia& h, const Store& s, int i, const MarcoHistoria& m, QPolygonF& techo,
                QPolygonF& base)
{
    const int n = h.pasos.empty() ? 0 : h.pasos.front().banco_superior;
    techo.clear();
    base.clear();
    techo << m.punto(s.edad_base[i], 0);
    base << m.punto(s.edad_base[i], 0);
    for (int k = i; k <= n; ++k) {
        const PasoHistoria* p = paso_de_banco(h, k);
        const HorizontesBanco* b = p ? en_paso(*p, i) : nullptr;
        if (!b) continue;
        techo << m.punto(p->edad, b->techo);
        base << m.punto(p->edad, b->base);
        if (k < n) {
            techo << m.punto(s.edad_base[k + 1], b->techo);
            base << m.punto(s.edad_base[k + 1], b->base);
        }
    }
}

void dibuja_curva(QPainter& p, const QPolygonF& curva, const QColor& color, bool discontinua)
{
    // A white edge under the curve keeps it readable over a dark bed.
    QPen halo(kHalo, 4, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin);
    QPen pluma(color, 2, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin);
    if (discontinua) {
        // Dash patterns are in units of the pen's width: both 8 px on, 5 px off.
        halo.setDashPattern({2.0, 1.25});
        pluma.setDashPattern({4.0, 2.5});
    }
    p.setPen(halo);
    p.drawPolyline(curva);
    p.setPen(pluma);
    p.drawPolyline(curva);
}

void muestra_curva(QPainter& p, QPointF a, QPointF b, const QColor& color, bool discontinua)
{
    QPolygonF linea;
    linea << a << b;
    dibuja_curva(p, linea, color, discontinua);
}

} // namespace

QPointF MarcoHistoria::punto(double edad, double profundidad) const
{
    const double x =
        area.left() + (edad_izquierda - edad) / (edad_izquierda - edad_derecha) * area.width();
    const double y = area.top() + (profundidad - profundidad_arriba) /
                                      (profundidad_abajo - profundidad_arriba) * area.height();
    return {x, y};
}

namespace {

// The left margin, pixels: kMargenIzquierdo, or more when the widest depth
// caption would not fit between the rotated axis title (from x = 4, one line
// high) and the ticks (a caption ends 8 px left of the plot), with 4 px
// between title and caption. Deep columns (tens of km, or a curve far above
// the surface) have captions that wide.
double margen_izquierdo(const std::vector<double>& marcas_profundidad)
{
    const QFontMetrics fm(fuente());
    const double paso = paso_de(marcas_profundidad);
    int ancho = 0;
    for (double d : marcas_profundidad)
        ancho = std::max(ancho, fm.horizontalAdvance(texto_marca(d, paso)));
    const int hace_falta = 4 + fm.height() + 4 + ancho + 8;
    return std::max(kMargenIzquierdo, hace_falta);
}

// A legend entry's text starts this far right of the frame's left edge and
// ends this far left of its right edge.
constexpr double kLeyendaAntes = 8 + 30;
constexpr double kLeyendaDespues = 6;

const char* const kSubsidenciaTectonica = "Subsidencia tectónica";
const char* const kSubsidenciaTotal = "Subsidencia total";

// The uncertainty bands, in the order they are painted and listed: the
// total subsidence's 2.5-97.5 %, then the tectonic one's 2.5-97.5 % and,
// over it (so darker), its 16-84 %.
struct BandaDibujada {
    const char* texto;
    QColor color;
    QColor borde; // alpha 0: none
    bool tectonica;
    int bajo, alto; // indices into kPercentiles
};
const BandaDibujada kBandasDibujadas[] = {
    {"Total 2,5–97,5 %", kColorBandaTotal, kBordeBandaTotal, false, 0, 4},
    {"Tectónica 2,5–97,5 %", kColorBandaTectonica, kBordeBandaTectonica, true, 0, 4},
    {"Tectónica 16–84 %", kColorBandaTectonica, QColor(0, 0, 0, 0), true, 1, 3},
};

QPen pluma_de_banda(const BandaDibujada& d)
{
    return d.borde.alpha() == 0 ? QPen(Qt::NoPen) : QPen(d.borde, 1);
}

// The legend width at which both curves' entries (and the bands', when
// drawn) are whole.
double ancho_leyenda_curvas(bool con_bandas)
{
    const QFontMetricsF fm(fuente());
    double ancho = 0;
    for (const char* t : {kSubsidenciaTectonica, kSubsidenciaTotal})
        ancho = std::max(ancho, fm.horizontalAdvance(QString::fromUtf8(t)));
    if (con_bandas)
        for (const BandaDibujada& b : kBandasDibujadas)
            ancho = std::max(ancho, fm.horizontalAdvance(QString::fromUtf8(b.texto)));
    return std::ceil(kLeyendaAntes + ancho + kLeyendaDespues + 1);
}

// The legend width at which every bed's entry ("3 Lutitas de Vaca Muerta")
// is whole.
double ancho_leyenda_bancos(const Store& s, const Historia& h)
{
    const QFontMetricsF fm(fuente());
    const int n = h.pasos.empty() ? 0 : h.pasos.front().banco_superior;
    double ancho = 0;
    for (int i = 1; i <= n; ++i)
        ancho = std::max(ancho, fm.horizontalAdvance(QString("%1 %2").arg(i).arg(
                                    QString::fromStdString(s.nombre[i]))));
    return ancho > 0 ? std::ceil(kLeyendaAntes + ancho + kLeyendaDespues + 1) : 0;
}

// The legend's entries from the top: both curves, the bands when drawn,
// then the beds from the top of the column down as far as there is room, the
// last saying how many more.
struct EntradaLeyenda {
    QString texto;
    double y;      // the middle of its line
    int banco;     // 0 for a curve, a band or the "more" line
    int curva;     // 1 tectonic, 2 total, 0 none
    int banda = 0; // 1 + index into kBandasDibujadas, 0 none
};
std::vector<EntradaLeyenda> entradas_de_leyenda(const Historia& h, const Store& s,
                                                const QRectF& ley, bool con_bandas)
{
    std::vector<EntradaLeyenda> r;
    double y = ley.top() + 4 + kLineaLeyenda / 2.0;
    r.push_back({QString::fromUtf8(kSubsidenciaTectonica), y, 0, 1});
    y += kLineaLeyenda;
    r.push_back({QString::fromUtf8(kSubsidenciaTotal), y, 0, 2});
    if (con_bandas) {
        int banda = 0;
        for (const BandaDibujada& b : kBandasDibujadas) {
            y += kLineaLeyenda;
            r.push_back({QString::fromUtf8(b.texto), y, 0, 0, ++banda});
        }
    }
    const int n = h.pasos.empty() ? 0 : h.pasos.front().banco_superior;
    for (int i = n; i >= 1; --i) {
        y += kLineaLeyenda;
        const bool ultima_que_cabe = y + 1.5 * kLineaLeyenda > ley.bottom();
        if (ultima_que_cabe && i > 1) {
            r.push_back({QString::fromUtf8("… y %1 bancos más").arg(i), y, 0, 0});
            break;
        }
        r.push_back({QString("%1 %2").arg(i).arg(QString::fromStdString(s.nombre[i])), y, i, 0});
    }
    return r;
}

} // namespace

// Whether bands are drawn: one per step of h, as painting them needs.
bool hay_bandas(const Historia& h, const std::vector<BandaPaso>& bandas)
{
    return !bandas.empty() && bandas.size() == h.pasos.size();
}

MarcoHistoria marco_historia(const Historia& h, const Store& s, QSize tamano,
                             const std::vector<BandaPaso>& bandas)
{
    const bool con_bandas = hay_bandas(h, bandas);
    MarcoHistoria m;
    // A quarter of the picture, within bounds, but never so narrow that the
    // curves' own entries would be cut short, and wider, up to 45 % of the
    // picture, for the beds' entries; a bed's entry longer still is cut with
    // an ellipsis (the window's tool tip tells it whole).
    const double ancho_leyenda =
        std::max({std::clamp(tamano.width() * 0.24, 120.0, 230.0), ancho_leyenda_curvas(con_bandas),
                  std::min(ancho_leyenda_bancos(s, h), tamano.width() * 0.45)});
    const double derecha = tamano.width() - ancho_leyenda - 2 * kSeparacionLeyenda;
    m.area = QRectF(QPointF(kMargenIzquierdo, kMargenArriba),
                    QPointF(std::max(derecha, kMargenIzquierdo + 40.0),
                            std::max(tamano.height() - kMargenAbajo, kMargenArriba + 40)));
    // Both curves, the bands and the beds.
    const int entradas = 2 + (con_bandas ? 3 : 0) + static_cast<int>(h.pasos.size());
    m.leyenda = QRectF(m.area.right() + kSeparacionLeyenda, m.area.top(), ancho_leyenda,
                       std::min(m.area.height(), 8.0 + kLineaLeyenda * entradas));

    // The present is always shown; the oldest age is the oldest base age.
    double reciente = 0, antigua = 0;
    double arriba = 0, abajo = 0;
    for (const PasoHistoria& p : h.pasos) {
        reciente = std::min(reciente, p.edad);
        antigua = std::max(antigua, p.edad);
        const int j = p.banco_superior;
        reciente = std::min(reciente, static_cast<double>(s.edad_base[j]));
        antigua = std::max(antigua, static_cast<double>(s.edad_base[j]));
        for (double d : {p.espesor_sedimentos, p.subsidencia_total, p.subsidencia_tectonica}) {
            arriba = std::min(arriba, d);
            abajo = std::max(abajo, d);
        }
        for (const HorizontesBanco& b : p.bancos)
            abajo = std::max(abajo, b.base);
    }
    if (con_bandas)
        for (const BandaPaso& b : bandas)
            for (const double* v : {b.tectonica, b.total})
                for (int k : {0, kNumPercentiles - 1}) {
                    arriba = std::min(arriba, v[k]);
                    abajo = std::max(abajo, v[k]);
                }
    // An empty column still gets axes: 10 Ma by 1000 m. The depth ticks
    // depend only on the plot's height; their widest caption may widen the
    // left margin, and the age ticks are chosen for the width that is left.
    const double paso_prof =
        extiende(arriba, abajo, m.area.height(), kPixelesPorMarcaProfundidad, 1000);
    m.marcas_profundidad = multiplos(arriba, abajo, paso_prof);
    const double izquierda = margen_izquierdo(m.marcas_profundidad);
    m.area.setLeft(izquierda);
    m.area.setRight(std::max(derecha, izquierda + 40.0));
    m.leyenda.moveLeft(m.area.right() + kSeparacionLeyenda);
    const double paso_edad = extiende(reciente, antigua, m.area.width(), kPixelesPorMarcaEdad, 10);
    m.edad_izquierda = antigua;
    m.edad_derecha = reciente;
    m.profundidad_arriba = arriba;
    m.profundidad_abajo = abajo;
    m.marcas_edad = multiplos(reciente, antigua, paso_edad);
    return m;
}

void pinta_historia(const Historia& h, const Store& s, QPainter& p, QSize tamano,
                    const std::vector<BandaPaso>& bandas)
{
    p.save();
    p.fillRect(QRect(QPoint(0, 0), tamano), kFondo);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setFont(fuente());
    const QFontMetrics fm(fuente());
    const bool con_bandas = hay_bandas(h, bandas);
    const MarcoHistoria m = marco_historia(h, s, tamano, bandas);
    if (h.pasos.empty()) {
        // An empty column: the plot's frame alone, and why it is empty.
        p.setPen(QPen(kTexto, 1));
        p.setBrush(Qt::NoBrush);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.drawRect(m.area);
        p.drawText(m.area.adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap,
                   texto_sin_bancos());
        p.restore();
        return;
    }

    // Beds, oldest first, each filled between its horizons.
    p.save();
    p.setClipRect(m.area);
    const int n = h.pasos.empty() ? 0 : h.pasos.front().banco_superior;
    std::vector<QPolygonF> techos(static_cast<std::size_t>(n) + 1);
    std::vector<QPolygonF> bases(static_cast<std::size_t>(n) + 1);
    for (int i = 1; i <= n; ++i) {
        QPolygonF& techo = techos[static_cast<std::size_t>(i)];
        QPolygonF& base = bases[static_cast<std::size_t>(i)];
        horizontes(h, s, i, m, techo, base);
        QPolygonF relleno = techo;
        for (auto it = base.crbegin(); it != base.crend(); ++it)
            relleno << *it;
        p.setPen(Qt::NoPen);
        p.setBrush(color_de(s.color[i]));
        p.drawPolygon(relleno);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kColorHorizonte, 1));
    for (int i = 1; i <= n; ++i) {
        p.drawPolyline(techos[static_cast<std::size_t>(i)]);
        p.drawPolyline(bases[static_cast<std::size_t>(i)]);
    }

    // The bands over the beds and under the curves, each a polygon along
    // its lower percentile from the oldest step to the present one and back
    // along its upper one, at the history's own ages.
    if (con_bandas) {
        for (const BandaDibujada& d : kBandasDibujadas) {
            QPolygonF banda;
            for (std::size_t k = h.pasos.size(); k-- > 0;) {
                const double* v = d.tectonica ? bandas[k].tectonica : bandas[k].total;
                banda << m.punto(h.pasos[k].edad, v[d.bajo]);
            }
            for (std::size_t k = 0; k < h.pasos.size(); ++k) {
                const double* v = d.tectonica ? bandas[k].tectonica : bandas[k].total;
                banda << m.punto(h.pasos[k].edad, v[d.alto]);
            }
            p.setPen(pluma_de_banda(d));
            p.setBrush(d.color);
            p.drawPolygon(banda);
        }
        p.setBrush(Qt::NoBrush);
    }

    // Both subsidence curves, from the oldest step to the present one.
    QPolygonF total, tectonica;
    for (auto it = h.pasos.crbegin(); it != h.pasos.crend(); ++it) {
        total << m.punto(it->edad, it->subsidencia_total);
        tectonica << m.punto(it->edad, it->subsidencia_tectonica);
    }
    dibuja_curva(p, total, kColorTotal, true);
    dibuja_curva(p, tectonica, kColorTectonica, false);
    p.restore();

    // Frame, ticks and captions. Ages across the top, depths down the left.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(kTexto, 1));
    p.setBrush(Qt::NoBrush);
    pinta_ejes(
        p, fm, m.area, [&m](double edad, double prof) { return m.punto(edad, prof); },
        m.marcas_edad, m.marcas_profundidad, QString::fromUtf8("Profundidad (m)"), 8);

    // Legend: both curves, then the beds from the top of the column down as
    // far as there is room.
    const QRectF& ley = m.leyenda;
    p.setPen(QPen(kTexto, 1));
    p.drawRect(ley);
    const double x0 = ley.left() + 8;
    const double texto_x = ley.left() + kLeyendaAntes;
    const double ancho_texto = ley.right() - kLeyendaDespues - texto_x;
    // The curves' samples, and their texts, antialiased. The hint is set
    // only where it changes: every setting starts a new group in an SVG.
    bool suavizado = false;
    bool primera = true;
    for (const EntradaLeyenda& e : entradas_de_leyenda(h, s, ley, con_bandas)) {
        const double y = e.y;
        if (primera || suavizado != (e.curva != 0)) {
            suavizado = e.curva != 0;
            p.setRenderHint(QPainter::Antialiasing, suavizado);
            primera = false;
        }
        if (e.curva != 0) {
            muestra_curva(p, QPointF(x0, y), QPointF(x0 + 24, y),
                          e.curva == 1 ? kColorTectonica : kColorTotal, e.curva == 2);
        } else if (e.banda > 0) {
            const BandaDibujada& d = kBandasDibujadas[e.banda - 1];
            const QRectF muestra(x0, y - 6, 24, 12);
            p.setPen(Qt::NoPen);
            if (d.bajo == 1) { // the inner band lies over the outer one
                p.setBrush(kBandasDibujadas[e.banda - 2].color);
                p.drawRect(muestra);
            }
            p.setPen(pluma_de_banda(d));
            p.setBrush(d.color);
            p.drawRect(muestra);
            p.setBrush(Qt::NoBrush);
        } else if (e.banco > 0) {
            const QRectF muestra(x0, y - 6, 24, 12);
            p.setPen(QPen(kColorHorizonte, 1));
            p.setBrush(color_de(s.color[e.banco]));
            p.drawRect(muestra);
            p.setBrush(Qt::NoBrush);
        }
        p.setPen(kTexto);
        p.drawText(QPointF(texto_x, y + fm.ascent() / 2.0 - 1),
                   fm.elidedText(e.texto, Qt::ElideRight, static_cast<int>(ancho_texto)));
    }
    if (suavizado) p.setRenderHint(QPainter::Antialiasing, false);
    p.restore();
}

QString texto_sin_bancos()
{
    return QString::fromUtf8("La columna no tiene bancos: no hay nada que dibujar.");
}

QPointF MarcoHistoria::edad_y_profundidad(QPointF pixel) const
{
    const double edad =
        edad_izquierda + (pixel.x() - area.left()) / area.width() * (edad_derecha - edad_izquierda);
    const double profundidad = profundidad_arriba + (pixel.y() - area.top()) / area.height() *
                                                        (profundidad_abajo - profundidad_arriba);
    return {edad, profundidad};
}

QString entrada_de_leyenda_en(const Historia& h, const Store& s, QSize tamano, QPointF punto,
                              const std::vector<BandaPaso>& bandas)
{
    if (h.pasos.empty()) return {};
    const MarcoHistoria m = marco_historia(h, s, tamano, bandas);
    if (!m.leyenda.contains(punto)) return {};
    for (const EntradaLeyenda& e : entradas_de_leyenda(h, s, m.leyenda, hay_bandas(h, bandas)))
        if (std::abs(punto.y() - e.y) <= kLineaLeyenda / 2.0) return e.texto;
    return {};
}

Dibujo dibujo_de_la_historia(const Historia& h, const Store& s, QSize tamano,
                             const std::vector<BandaPaso>& bandas)
{
    Dibujo dibujo;
    dibujo.tamano = tamano;
    dibujo.titulo = QString::fromUtf8("Historia de enterramiento");
    dibujo.pinta = [&h, &s, &bandas, tamano](QPainter& p) {
        pinta_historia(h, s, p, tamano, bandas);
    };
    return dibujo;
}

} // namespace tev
