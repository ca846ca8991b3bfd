#include "drawing/dibujo_estiramiento.h"

#include "drawing/exporta_imagen.h"
#include "drawing/marcas.h"

#include <QFont>
#include <QFontMetrics>
#include <QLocale>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <utility>

namespace tev {

namespace {

const QColor kFondo(255, 255, 255);
const QColor kTexto(0, 0, 0);
constexpr int kMargenIzquierdo = 78; // depth captions and the "m" axis title
constexpr int kMargenArriba = 52;    // age captions and the "Ma" axis title
constexpr int kMargenAbajo = 16;
constexpr int kSeparacionLeyenda = 14;
constexpr int kPixelesPorMarcaEdad = 70;
constexpr int kPixelesPorMarcaProfundidad = 40;
constexpr int kLineaLeyenda = 18;
constexpr int kMuestrasCurva = 160; // samples of a model curve after the rift

QFont fuente()
{
    QFont f;
    f.setPixelSize(12);
    return f;
}

// As many decimals as the step needs, the user's separator, no grouping.
QString texto_numero(double v, int decimales)
{
    QLocale local;
    local.setNumberOptions(QLocale::OmitGroupSeparator);
    return local.toString(v, 'f', decimales);
}

bool en_intervalo(const PuntoSubsidencia& p, const PeticionAjuste& pet)
{
    return (!pet.desde || p.edad >= *pet.desde) && (!pet.hasta || p.edad <= *pet.hasta);
}

QPolygonF poligono(const MarcoEstiramiento& m, const std::vector<QPointF>& curva)
{
    QPolygonF r;
    for (const QPointF& c : curva)
        r << m.punto(c.x(), c.y());
    return r;
}

} // namespace

QPointF MarcoEstiramiento::punto(double edad, double profundidad) const
{
    const double x =
        area.left() + (edad_izquierda - edad) / (edad_izquierda - edad_derecha) * area.width();
    const double y = area.top() + (profundidad - profundidad_arriba) /
                                      (profundidad_abajo - profundidad_arriba) * area.height();
    return {x, y};
}

std::vector<QPointF> curva_del_modelo(const FiguraEstiramiento& f, double beta, double izquierda,
                                      double derecha)
{
    std::vector<QPointF> c;
    const ModeloEstiramiento& m = f.peticion.modelo;
    const double rift = f.ajuste.edad_rift;
    if (izquierda > rift) c.emplace_back(izquierda, 0.0);
    if (izquierda >= rift) c.emplace_back(rift, 0.0);
    const double hasta = std::min(rift, izquierda) - derecha;
    for (int k = 0; k <= kMuestrasCurva && hasta >= 0; ++k) {
        const double s = static_cast<double>(k) / kMuestrasCurva;
        const double edad = std::min(rift, izquierda) - hasta * s * s;
        c.emplace_back(edad, modelo_estiramiento(m, beta, rift, edad));
    }
    return c;
}

namespace {

// Whether the band around the points is drawn: one band per point.
bool hay_bandas(const FiguraEstiramiento& f)
{
    return !f.bandas.empty() && f.bandas.size() == f.puntos.size();
}

bool hay_intervalos(const FiguraEstiramiento& f)
{
    return f.ajuste.ok() && f.banda_beta.ok() && f.banda_beta.beta[2] >= 1;
}

// " (a–b)": the 2.5 and 97.5 percentiles of three.
QString intervalo(const double (&percentiles)[3], int decimales)
{
    return QString(" (") + texto_numero(percentiles[0], decimales) + QString::fromUtf8("–") +
           texto_numero(percentiles[2], decimales) + ")";
}

const char* const kBandaExterior = "Banda 2,5–97,5 %";
const char* const kBandaInterior = "Banda 16–84 %";

} // namespace

std::vector<QString> leyenda_del_estiramiento(const FiguraEstiramiento& f)
{
    const AjusteEstiramiento& a = f.ajuste;
    std::vector<QString> t{QString::fromUtf8("Subsidencia tectónica")};
    if (hay_bandas(f)) {
        t.push_back(QString::fromUtf8(kBandaExterior));
        t.push_back(QString::fromUtf8(kBandaInterior));
    }
    if (!a.ok()) return t;
    const bool con_intervalos = hay_intervalos(f);
    t.push_back(QString::fromUtf8("Modelo: β = ") + texto_numero(a.beta, 3) +
                (con_intervalos ? intervalo(f.banda_beta.beta, 3) : QString()));
    t.push_back(QString::fromUtf8("Rift: ") + texto_numero(a.edad_rift, 2) + " Ma" +
                (con_intervalos ? intervalo(f.banda_beta.edad_rift, 2) : QString()));
    t.push_back(QString::fromUtf8("Error rms: ") + texto_numero(a.rms, 1) + " m");
    t.push_back(QString::fromUtf8("Otros β, el mismo rift"));
    if (a.en_limite) t.push_back(QString::fromUtf8("Resultado en un límite"));
    return t;
}

namespace {

// A legend entry's text starts this far right of the legend's left edge and
// ends this far left of its right edge.
constexpr double kLeyendaAntes = 8 + 30;
constexpr double kLeyendaDespues = 6;

} // namespace

MarcoEstiramiento marco_estiramiento(const FiguraEstiramiento& f, QSize tamano)
{
    MarcoEstiramiento m;
    // Wide enough for every entry whole, whatever the window's size.
    const QFontMetricsF fm(fuente());
    double entradas = 0;
    for (const QString& t : leyenda_del_estiramiento(f))
        entradas = std::max(entradas, fm.horizontalAdvance(t));
    const double ancho_leyenda =
        std::max(std::clamp(tamano.width() * 0.24, 120.0, 230.0),
                 std::ceil(kLeyendaAntes + entradas + kLeyendaDespues + 1));
    const double derecha = tamano.width() - ancho_leyenda - 2 * kSeparacionLeyenda;
    m.area = QRectF(QPointF(kMargenIzquierdo, kMargenArriba),
                    QPointF(std::max(derecha, kMargenIzquierdo + 40.0),
                            std::max(tamano.height() - kMargenAbajo, kMargenArriba + 40)));
    const double lineas = hay_bandas(f) ? 9 : 7;
    m.leyenda = QRectF(m.area.right() + kSeparacionLeyenda, m.area.top(), ancho_leyenda,
                       std::min(m.area.height(), 8.0 + kLineaLeyenda * lineas));

    // The present is always shown, and so is the rift.
    double reciente = 0, antigua = 0, arriba = 0, abajo = 0;
    for (const PuntoSubsidencia& p : f.puntos) {
        reciente = std::min(reciente, p.edad);
        antigua = std::max(antigua, p.edad);
        arriba = std::min(arriba, p.subsidencia);
        abajo = std::max(abajo, p.subsidencia);
    }
    if (hay_bandas(f))
        for (const BandaPaso& b : f.bandas) {
            arriba = std::min(arriba, b.tectonica[0]);
            abajo = std::max(abajo, b.tectonica[kNumPercentiles - 1]);
        }
    if (f.ajuste.ok()) {
        antigua = std::max(antigua, f.ajuste.edad_rift);
        for (const QPointF& c : curva_del_modelo(f, f.ajuste.beta, antigua, reciente)) {
            arriba = std::min(arriba, c.y());
            abajo = std::max(abajo, c.y());
        }
        // The grey curves widen the range by at most its own height again:
        // the points and the fit stay readable, and the rest is clipped.
        const double tope = abajo + std::max(abajo - arriba, 500.0);
        const double suelo = arriba - std::max(abajo - arriba, 500.0);
        for (double beta : kBetasDeReferencia)
            for (const QPointF& c : curva_del_modelo(f, beta, antigua, reciente)) {
                arriba = std::max(suelo, std::min(arriba, c.y()));
                abajo = std::min(tope, std::max(abajo, c.y()));
            }
    }
    const double paso_prof =
        extiende(arriba, abajo, m.area.height(), kPixelesPorMarcaProfundidad, 1000);
    m.marcas_profundidad = multiplos(arriba, abajo, paso_prof);
    const double paso_edad = extiende(reciente, antigua, m.area.width(), kPixelesPorMarcaEdad, 10);
    m.edad_izquierda = antigua;
    m.edad_derecha = reciente;
    m.profundidad_arriba = arriba;
    m.profundidad_abajo = abajo;
    m.marcas_edad = multiplos(reciente, antigua, paso_edad);
    return m;
}

void pinta_estiramiento(const FiguraEstiramiento& f, QPainter& p, QSize tamano)
{
    p.save();
    p.fillRect(QRect(QPoint(0, 0), tamano), kFondo);
    p.setFont(fuente());
    const QFontMetrics fm(fuente());
    const MarcoEstiramiento m = marco_estiramiento(f, tamano);
    const AjusteEstiramiento& a = f.ajuste;

    // The points in age order, oldest first, each with its band.
    std::vector<std::size_t> orden(f.puntos.size());
    for (std::size_t k = 0; k < orden.size(); ++k)
        orden[k] = k;
    std::stable_sort(orden.begin(), orden.end(), [&f](std::size_t x, std::size_t y) {
        return f.puntos[x].edad > f.puntos[y].edad;
    });

    p.save();
    p.setClipRect(m.area);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setBrush(Qt::NoBrush);
    if (hay_bandas(f)) {
        // Under everything: the 2.5-97.5 % band, then the 16-84 % one over it,
        // each along its lower percentile at the points' ages and back along
        // its upper one.
        p.setPen(Qt::NoPen);
        p.setBrush(kColorBandaPuntos);
        for (const auto& [bajo, alto] : {std::pair{0, 4}, std::pair{1, 3}}) {
            QPolygonF banda;
            for (std::size_t k : orden)
                banda << m.punto(f.puntos[k].edad, f.bandas[k].tectonica[bajo]);
            for (auto it = orden.crbegin(); it != orden.crend(); ++it)
                banda << m.punto(f.puntos[*it].edad, f.bandas[*it].tectonica[alto]);
            p.drawPolygon(banda);
        }
        p.setBrush(Qt::NoBrush);
    }
    if (a.ok()) {
        // The grey curves, each labelled at its young end, then the fit. A
        // label that would lie on one already drawn is left out.
        std::vector<QRectF> rotulos;
        for (double beta : kBetasDeReferencia) {
            const std::vector<QPointF> curva =
                curva_del_modelo(f, beta, m.edad_izquierda, m.edad_derecha);
            const QPolygonF c = poligono(m, curva);
            p.setPen(QPen(kColorReferencia, 1));
            p.drawPolyline(c);
            // The label at the youngest point after the rift inside the plot.
            qsizetype dentro = -1;
            for (qsizetype k = c.size() - 1; k >= 0 && dentro < 0; --k)
                if (curva[static_cast<std::size_t>(k)].x() < a.edad_rift &&
                    c[k].y() >= m.area.top() && c[k].y() <= m.area.bottom())
                    dentro = k;
            if (dentro < 0) continue;
            const QString rotulo = QString::fromUtf8("β = ") + texto_numero(beta, beta < 2 ? 1 : 0);
            const double w = fm.horizontalAdvance(rotulo);
            const double x = std::max(m.area.left() + 2, c[dentro].x() - w - 4);
            const double y = std::max(m.area.top() + fm.ascent() + 2.0, c[dentro].y() - 4);
            const QRectF caja(x, y - fm.ascent(), w, fm.height());
            if (std::any_of(rotulos.begin(), rotulos.end(),
                            [&caja](const QRectF& r) { return r.intersects(caja); }))
                continue;
            rotulos.push_back(caja);
            p.setPen(kColorReferencia.darker(150));
            p.drawText(QPointF(x, y), rotulo);
        }
        p.setPen(QPen(kColorModelo, 2, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
        p.drawPolyline(poligono(m, curva_del_modelo(f, a.beta, m.edad_izquierda, m.edad_derecha)));
    }
    QPolygonF linea;
    for (std::size_t k : orden)
        linea << m.punto(f.puntos[k].edad, f.puntos[k].subsidencia);
    p.setPen(QPen(kColorSubsidencia, 1.5));
    p.drawPolyline(linea);
    for (std::size_t k : orden) {
        const PuntoSubsidencia& q = f.puntos[k];
        p.setBrush(en_intervalo(q, f.peticion) ? QBrush(kColorSubsidencia) : QBrush(kFondo));
        p.drawEllipse(m.punto(q.edad, q.subsidencia), 3, 3);
    }
    p.setBrush(Qt::NoBrush);
    p.restore();

    // Frame, ticks and captions: ages across the top, subsidence down the left.
    p.setPen(QPen(kTexto, 1));
    pinta_ejes(
        p, fm, m.area, [&m](double edad, double prof) { return m.punto(edad, prof); },
        m.marcas_edad, m.marcas_profundidad, QString::fromUtf8("Subsidencia tectónica (m)"), 10);

    if (!a.ok()) {
        p.drawText(m.area.adjusted(20, 20, -20, -20), Qt::AlignCenter | Qt::TextWordWrap,
                   QString::fromStdString(a.error));
    }

    // Legend.
    const QRectF& ley = m.leyenda;
    p.drawRect(ley);
    const double x0 = ley.left() + 8;
    const double texto_x = ley.left() + kLeyendaAntes;
    double y = ley.top() + 4 + kLineaLeyenda / 2.0;
    const std::vector<QString> textos = leyenda_del_estiramiento(f);
    std::size_t siguiente = 0;
    const auto rotulo = [&]() {
        p.setPen(kTexto);
        p.drawText(QPointF(texto_x, y + fm.ascent() / 2.0 - 1), textos[siguiente++]);
        y += kLineaLeyenda;
    };
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(kColorSubsidencia, 1.5));
    p.drawLine(QPointF(x0, y), QPointF(x0 + 24, y));
    p.setBrush(kColorSubsidencia);
    p.drawEllipse(QPointF(x0 + 12, y), 3, 3);
    p.setBrush(Qt::NoBrush);
    rotulo();
    if (hay_bandas(f)) {
        for (int capas : {1, 2}) {
            const QRectF muestra(x0, y - 6, 24, 12);
            p.setPen(Qt::NoPen);
            p.setBrush(kColorBandaPuntos);
            for (int k = 0; k < capas; ++k)
                p.drawRect(muestra);
            rotulo();
        }
        p.setBrush(Qt::NoBrush);
    }
    if (a.ok()) {
        p.setPen(QPen(kColorModelo, 2));
        p.drawLine(QPointF(x0, y), QPointF(x0 + 24, y));
        rotulo(); // β
        rotulo(); // rift age
        rotulo(); // misfit
        p.setPen(QPen(kColorReferencia, 1));
        p.drawLine(QPointF(x0, y), QPointF(x0 + 24, y));
        while (siguiente < textos.size())
            rotulo();
    }
    p.restore();
}

Dibujo dibujo_del_estiramiento(const FiguraEstiramiento& f, QSize tamano)
{
    Dibujo dibujo;
    dibujo.tamano = tamano;
    dibujo.titulo = QString::fromUtf8("Subsidencia y estiramiento");
    dibujo.pinta = [&f, tamano](QPainter& p) { pinta_estiramiento(f, p, tamano); };
    return dibujo;
}

} // namespace tev
