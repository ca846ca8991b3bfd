#include "drawing/dibujo_pozos.h"

#include "drawing/exporta_imagen.h"
#include "drawing/marcas.h"
#include "project_file/pozos.h"

#include <QFont>
#include <QFontMetrics>
#include <QLocale>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <array>
#include <cmath>

namespace tev {

namespace {

const QColor kFondo(255, 255, 255);
const QColor kTexto(0, 0, 0);
constexpr int kMargenIzquierdo = 78; // subsidence captions and the axis title
constexpr int kMargenArriba = 52;    // age captions and the axis title
constexpr int kMargenAbajo = 16;
constexpr int kSeparacionLeyenda = 14;
constexpr int kPixelesPorMarcaEdad = 70;
constexpr int kPixelesPorMarcaSubsidencia = 40;
constexpr int kLineaLeyenda = 20;
constexpr double kRadioMarcador = 4.5; // pixels
constexpr int kPuntosDelAjuste = 120;  // samples of a fitted curve

QFont fuente()
{
    QFont f;
    f.setPixelSize(12);
    return f;
}

// Okabe and Ito's eight colours, the yellow last: it is the faintest on white.
const std::array<QColor, 8> kPaleta{
    QColor(0, 114, 178), QColor(213, 94, 0),   QColor(0, 158, 115), QColor(204, 121, 167),
    QColor(230, 159, 0), QColor(86, 180, 233), QColor(0, 0, 0),     QColor(240, 228, 66)};

// Marker k (0..kMarcadores-1) centred on c.
void marcador(QPainter& p, int k, QPointF c, const QColor& color)
{
    const double r = kRadioMarcador;
    p.setPen(QPen(color, 1.5));
    p.setBrush(color);
    switch (k % kMarcadores) {
    case 0:
        p.drawEllipse(c, r, r);
        break;
    case 1:
        p.drawRect(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r));
        break;
    case 2:
        p.drawPolygon(QPolygonF({c + QPointF(0, -r), c + QPointF(r, r), c + QPointF(-r, r)}));
        break;
    case 3:
        p.drawPolygon(QPolygonF(
            {c + QPointF(0, -r), c + QPointF(r, 0), c + QPointF(0, r), c + QPointF(-r, 0)}));
        break;
    case 4:
        p.drawPolygon(QPolygonF({c + QPointF(0, r), c + QPointF(r, -r), c + QPointF(-r, -r)}));
        break;
    case 5: // an open circle
        p.setBrush(kFondo);
        p.drawEllipse(c, r, r);
        break;
    default: // a cross
        p.setPen(QPen(color, 2.5));
        p.drawLine(c + QPointF(-r, -r), c + QPointF(r, r));
        p.drawLine(c + QPointF(-r, r), c + QPointF(r, -r));
        break;
    }
    p.setBrush(Qt::NoBrush);
}

QPen pluma(const QColor& color, double ancho, Qt::PenStyle estilo)
{
    QPen q(color, ancho, estilo, Qt::FlatCap, Qt::RoundJoin);
    return q;
}

bool con_ajuste(const Pozo& w)
{
    return w.ajuste.ok() && w.ajuste.puntos > 0;
}

} // namespace

QColor color_de_pozo(int indice)
{
    return kPaleta[static_cast<std::size_t>(indice) % kPaleta.size()];
}

FiguraPozos figura_de_pozos(const std::vector<Pozo>& pozos, const ModeloEstiramiento& modelo)
{
    FiguraPozos f;
    f.modelo = modelo;
    for (std::size_t k = 0; k < pozos.size(); ++k)
        if (pozos[k].ok()) f.pozos.push_back({&pozos[k], static_cast<int>(k), {}});
    return f;
}

QPointF MarcoPozos::punto(double edad, double subsidencia) const
{
    const double x =
        area.left() + (edad_izquierda - edad) / (edad_izquierda - edad_derecha) * area.width();
    const double y = area.top() + (subsidencia - subsidencia_arriba) /
                                      (subsidencia_abajo - subsidencia_arriba) * area.height();
    return {x, y};
}

QString texto_de_leyenda(const Pozo& pozo)
{
    const QString nombre = QString::fromStdString(pozo.nombre);
    if (!con_ajuste(pozo)) return nombre + QString::fromUtf8("  (sin ajuste)");
    const QLocale l;
    return nombre + QString::fromUtf8("  β = ") + l.toString(pozo.ajuste.beta, 'f', 2) +
           QString::fromUtf8(", rift ") + l.toString(pozo.ajuste.edad_rift, 'f', 1) +
           QString::fromUtf8(" Ma");
}

MarcoPozos marco_pozos(const FiguraPozos& f, QSize tamano)
{
    MarcoPozos m;
    const QFontMetricsF fm(fuente());
    double ancho_textos = 0;
    for (const PozoEnFigura& e : f.pozos)
        ancho_textos = std::max(ancho_textos, fm.horizontalAdvance(texto_de_leyenda(*e.pozo)));
    const double ancho_leyenda =
        std::min(std::max(160.0, std::ceil(8 + 36 + ancho_textos + 8 + 2)), tamano.width() * 0.45);
    const double derecha = tamano.width() - ancho_leyenda - 2 * kSeparacionLeyenda;
    m.area = QRectF(QPointF(kMargenIzquierdo, kMargenArriba),
                    QPointF(std::max(derecha, kMargenIzquierdo + 40.0),
                            std::max(tamano.height() - kMargenAbajo, kMargenArriba + 40)));
    m.linea_leyenda = kLineaLeyenda;
    m.leyenda = QRectF(
        m.area.right() + kSeparacionLeyenda, m.area.top(), ancho_leyenda,
        std::min(m.area.height(), 8.0 + kLineaLeyenda * static_cast<double>(f.pozos.size())));

    // The present is always shown, and 0 m of subsidence.
    double reciente = 0, antigua = 0, arriba = 0, abajo = 0;
    for (const PozoEnFigura& e : f.pozos) {
        for (const PasoHistoria& paso : e.pozo->historia.pasos) {
            reciente = std::min(reciente, paso.edad);
            antigua = std::max(antigua, paso.edad);
            arriba = std::min(arriba, paso.subsidencia_tectonica);
            abajo = std::max(abajo, paso.subsidencia_tectonica);
            if (f.total) {
                arriba = std::min(arriba, paso.subsidencia_total);
                abajo = std::max(abajo, paso.subsidencia_total);
            }
        }
        // The fitted curve starts at the rift, which may be older.
        if (con_ajuste(*e.pozo)) antigua = std::max(antigua, e.pozo->ajuste.edad_rift);
    }
    const double paso_sub =
        extiende(arriba, abajo, m.area.height(), kPixelesPorMarcaSubsidencia, 1000);
    m.marcas_subsidencia = multiplos(arriba, abajo, paso_sub);
    const double paso_edad = extiende(reciente, antigua, m.area.width(), kPixelesPorMarcaEdad, 10);
    m.edad_izquierda = antigua;
    m.edad_derecha = reciente;
    m.subsidencia_arriba = arriba;
    m.subsidencia_abajo = abajo;
    m.marcas_edad = multiplos(reciente, antigua, paso_edad);
    return m;
}

void pinta_pozos(const FiguraPozos& f, QPainter& p, QSize tamano)
{
    p.save();
    p.fillRect(QRect(QPoint(0, 0), tamano), kFondo);
    p.setFont(fuente());
    const QFontMetrics fm(fuente());
    const MarcoPozos m = marco_pozos(f, tamano);

    // The curves, clipped to the plot. The uncertainty bands go under them.
    p.save();
    p.setClipRect(m.area);
    p.setRenderHint(QPainter::Antialiasing, true);
    for (const PozoEnFigura& e : f.pozos) {
        const Pozo& w = *e.pozo;
        const QColor color = color_de_pozo(e.indice);
        QPolygonF tectonica, total;
        for (const PasoHistoria& paso : w.historia.pasos) {
            tectonica << m.punto(paso.edad, paso.subsidencia_tectonica);
            total << m.punto(paso.edad, paso.subsidencia_total);
        }
        if (f.total) {
            p.setPen(pluma(color, 1.5, Qt::DotLine));
            p.drawPolyline(total);
        }
        if (con_ajuste(w)) {
            // From the rift to the youngest step, the model's own curve.
            const double desde = w.ajuste.edad_rift;
            const double hasta = w.historia.pasos.empty() ? 0 : w.historia.pasos.front().edad;
            QPolygonF ajuste;
            for (int k = 0; k <= kPuntosDelAjuste; ++k) {
                const double t = desde + (hasta - desde) * k / kPuntosDelAjuste;
                ajuste << m.punto(
                    t, modelo_estiramiento(f.modelo, w.ajuste.beta, w.ajuste.edad_rift, t));
            }
            QPen q = pluma(color, 2, Qt::SolidLine);
            q.setDashPattern({4.0, 2.5});
            p.setPen(q);
            p.drawPolyline(ajuste);
        }
        p.setPen(pluma(color, 2, Qt::SolidLine));
        p.drawPolyline(tectonica);
        for (const QPointF& c : tectonica)
            marcador(p, e.indice, c, color);
    }
    p.restore();

    // Frame, ticks and captions: ages across the top, subsidence down the left.
    p.setPen(QPen(kTexto, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(m.area);
    const double paso_edad = paso_de(m.marcas_edad);
    for (double t : m.marcas_edad) {
        const double x = m.punto(t, m.subsidencia_arriba).x();
        p.drawLine(QPointF(x, m.area.top()), QPointF(x, m.area.top() - 5));
        const QString texto = texto_marca(t, paso_edad);
        p.drawText(QPointF(x - fm.horizontalAdvance(texto) / 2.0, m.area.top() - 8), texto);
    }
    const double paso_sub = paso_de(m.marcas_subsidencia);
    for (double d : m.marcas_subsidencia) {
        const double y = m.punto(m.edad_izquierda, d).y();
        p.drawLine(QPointF(m.area.left() - 5, y), QPointF(m.area.left(), y));
        const QString texto = texto_marca(d, paso_sub);
        p.drawText(
            QPointF(m.area.left() - 8 - fm.horizontalAdvance(texto), y + fm.ascent() / 2.0 - 1),
            texto);
    }
    const QString titulo_edad = QString::fromUtf8("Edad (Ma)");
    p.drawText(QPointF(m.area.center().x() - fm.horizontalAdvance(titulo_edad) / 2.0,
                       m.area.top() - 12 - fm.height()),
               titulo_edad);
    p.save();
    const QString titulo_sub = f.total ? QString::fromUtf8("Subsidencia tectónica y total (m)")
                                       : QString::fromUtf8("Subsidencia tectónica (m)");
    p.translate(4 + fm.ascent(), m.area.center().y() + fm.horizontalAdvance(titulo_sub) / 2.0);
    p.rotate(-90);
    p.drawText(QPointF(0, 0), titulo_sub);
    p.restore();

    // Legend: one entry per well, as far as there is room.
    const QRectF& ley = m.leyenda;
    p.drawRect(ley);
    const double x0 = ley.left() + 8;
    const double texto_x = x0 + 36;
    const int ancho_texto = static_cast<int>(ley.right() - 8 - texto_x);
    double y = ley.top() + 4 + kLineaLeyenda / 2.0;
    for (const PozoEnFigura& e : f.pozos) {
        if (y + kLineaLeyenda / 2.0 > ley.bottom()) break;
        const QColor color = color_de_pozo(e.indice);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(pluma(color, 2, Qt::SolidLine));
        p.drawLine(QPointF(x0, y), QPointF(x0 + 30, y));
        marcador(p, e.indice, QPointF(x0 + 15, y), color);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(kTexto);
        p.drawText(QPointF(texto_x, y + fm.ascent() / 2.0 - 1),
                   fm.elidedText(texto_de_leyenda(*e.pozo), Qt::ElideRight, ancho_texto));
        y += kLineaLeyenda;
    }
    p.restore();
}

Dibujo dibujo_de_pozos(const FiguraPozos& f, QSize tamano)
{
    Dibujo dibujo;
    dibujo.tamano = tamano;
    dibujo.titulo = QString::fromUtf8("Comparar pozos");
    dibujo.pinta = [&f, tamano](QPainter& p) { pinta_pozos(f, p, tamano); };
    return dibujo;
}

} // namespace tev
