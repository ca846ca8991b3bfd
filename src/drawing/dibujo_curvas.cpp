#include "drawing/dibujo_curvas.h"

#include "drawing/exporta_imagen.h"
#include "model/store.h"

#include <QFontMetrics>
#include <QImage>
#include <QLocale>
#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tev {

namespace {

// Origin of both axes, and their far ends.
constexpr float kOrigenX = 960.0f;
constexpr float kOrigenY = 600.0f;
constexpr float kFinEjeX = 6960.0f;
constexpr float kFinEjeY = 5280.0f;
constexpr int kBarraMaxima = 1000; // the scroll bars' range is 1..1000

const QColor kRojoDescompactacion(250, 0, 0);
const QColor kAzulCarga(0, 0, 255);
const QColor kNegroTectonica(0, 0, 0);

// Pens are given in twips so that they keep their width in pixels whatever
// the device pixel ratio: 15 twips is one pixel.
QPen pluma(const QColor& color, int pixeles)
{
    QPen pen(color, pixeles * kCurvasTwipsPorPixel);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

// Scale texts as the boxes show them: plain digits.
QString texto_escala(float valor)
{
    return QString::number(static_cast<double>(valor), 'g', 7);
}

// On pixels, a stroke wholly off the picture paints nothing: it is left out.
// A picture file keeps every stroke.
class FueraDeLaImagen {
  public:
    // ancho_pluma: the widest pen's width, in the painter's coordinates.
    FueraDeLaImagen(const QPainter& p, double ancho_pluma)
    {
        const QPaintDevice* d = p.device();
        activo_ = d && p.paintEngine() && p.paintEngine()->type() == QPaintEngine::Raster &&
                  p.worldTransform().type() <= QTransform::TxScale;
        if (!activo_) return;
        t_ = p.worldTransform();
        const double proporcion = d->devicePixelRatioF();
        ancho_ = std::max<double>(d->width(), d->width() * proporcion);
        alto_ = std::max<double>(d->height(), d->height() * proporcion);
        const QRectF pluma = t_.mapRect(QRectF(0, 0, ancho_pluma, ancho_pluma));
        holgura_ = std::max(pluma.width(), pluma.height()) + 2;
    }
    bool operator()(float x1, float y1, float x2, float y2) const
    {
        if (!activo_) return false;
        const QRectF r = t_.mapRect(QRectF(QPointF(std::min(x1, x2), std::min(y1, y2)),
                                           QPointF(std::max(x1, x2), std::max(y1, y2))));
        return r.left() > ancho_ + holgura_ || r.top() > alto_ + holgura_ ||
               r.right() < -holgura_ || r.bottom() < -holgura_;
    }

  private:
    bool activo_ = false;
    QTransform t_;
    double ancho_ = 0, alto_ = 0, holgura_ = 0;
};

} // namespace

QRect rect_twips(int izquierda, int arriba, int ancho, int alto)
{
    auto px = [](int twips) {
        return static_cast<int>(std::lround(static_cast<double>(twips) / kCurvasTwipsPorPixel));
    };
    return {px(izquierda), px(arriba), px(ancho), px(alto)};
}

QSize tamano_ventana_curvas()
{
    return rect_twips(0, 0, kCurvasAnchoTwips, kCurvasAltoTwips).size();
}

std::array<QString, 10> textos_ejes(float escala_tiempo, float escala_profundidad)
{
    QLocale local;
    // The "0.0" and "0.00" patterns carry no thousands separator.
    local.setNumberOptions(local.numberOptions() | QLocale::OmitGroupSeparator);
    auto con_decimales = [&local](float valor, int decimales) {
        return local.toString(static_cast<double>(valor), 'f', decimales);
    };

    std::array<QString, 10> textos;
    for (int k = 1; k <= 5; ++k) {
        const auto edad = static_cast<float>(1000.0 * k / static_cast<double>(escala_tiempo));
        textos[k - 1] = con_decimales(edad, 1);
    }
    textos[5] = con_decimales(0.0f, 1);
    for (int k = 1; k <= 4; ++k) {
        const auto km = static_cast<float>(k / static_cast<double>(escala_profundidad));
        textos[5 + k] = con_decimales(km, 2);
    }
    return textos;
}

void dibuja_curvas(const Store& s, float escala_tiempo, float escala_profundidad, QPainter& p)
{
    p.save();
    p.setBrush(Qt::NoBrush);
    const QPen plumas[3] = {pluma(kRojoDescompactacion, 1), pluma(kAzulCarga, 1),
                            pluma(kNegroTectonica, 2)};
    const PorBanco<float>* valores[3] = {&s.base_descomp, &s.correccion_carga,
                                         &s.tevarro_tectonica};

    // Running sums of the younger beds (antes) and including this bed
    // (despues), one pair per curve.
    float antes[3] = {0.0f, 0.0f, 0.0f};
    float despues[3] = {0.0f, 0.0f, 0.0f};
    const int ultimo = std::min<int>(s.n_bancos, kMaxBancos);
    const FueraDeLaImagen fuera(p, 2 * kCurvasTwipsPorPixel);
    for (int i = ultimo; i >= 1; --i) {
        for (int c = 0; c < 3; ++c)
            despues[c] += (*valores[c])[i];

        const auto x_de = [escala_tiempo](float edad) {
            return static_cast<float>(static_cast<double>(kOrigenX) +
                                      static_cast<double>(escala_tiempo) * edad);
        };
        const float x1 = x_de(s.edad_techo[i]);
        const float x2 = x_de(s.edad_base[i]);
        for (int c = 0; c < 3; ++c) {
            const float y1 = kOrigenY + escala_profundidad * antes[c];
            const float y2 = kOrigenY + escala_profundidad * despues[c];
            // A coordinate out of the range of a single cannot be plotted.
            if (std::isfinite(x1) && std::isfinite(x2) && std::isfinite(y1) && std::isfinite(y2) &&
                !fuera(x1, y1, x2, y2)) {
                p.setPen(plumas[c]);
                p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
            }
        }

        for (int c = 0; c < 3; ++c)
            antes[c] += (*valores[c])[i];
    }
    p.restore();
}

EscalasDeBarra escalas_que_caben(const Store& s)
{
    // The oldest age and the deepest running sum of any curve, summed in
    // single precision from the top bed down as the plot sums them.
    const int ultimo = std::min<int>(s.n_bancos, kMaxBancos);
    float edad = 0.0f;
    float hondo = 0.0f;
    float suma[3] = {0.0f, 0.0f, 0.0f};
    const PorBanco<float>* valores[3] = {&s.base_descomp, &s.correccion_carga,
                                         &s.tevarro_tectonica};
    for (int i = ultimo; i >= 1; --i) {
        for (float e : {s.edad_techo[i], s.edad_base[i]})
            if (std::isfinite(e)) edad = std::max(edad, e);
        for (int c = 0; c < 3; ++c) {
            suma[c] += (*valores[c])[i];
            if (std::isfinite(suma[c])) hondo = std::max(hondo, suma[c]);
        }
    }
    // The largest bar value v whose plotted end stays within the axis, as
    // the window reads the box: v for time, v / 100 for depth.
    // Ages are placed in double, depths in single precision, as the plot does.
    auto mayor = [](float origen, float fin, float extremo, double divisor) {
        const auto fin_de = [&](int v) {
            const auto escala = static_cast<float>(v / divisor);
            if (divisor == 1.0)
                return static_cast<float>(static_cast<double>(origen) +
                                          static_cast<double>(escala) * extremo);
            return origen + escala * extremo;
        };
        if (!(extremo > 0)) return kBarraMaxima;
        const double estimado = (fin - origen) * divisor / static_cast<double>(extremo);
        int v = static_cast<int>(std::clamp(std::floor(estimado), 1.0, double(kBarraMaxima)));
        while (v > 1 && fin_de(v) > fin)
            --v;
        while (v < kBarraMaxima && fin_de(v + 1) <= fin)
            ++v;
        return v;
    };
    EscalasDeBarra r;
    r.tiempo = mayor(kOrigenX, kFinEjeX, edad, 1.0);
    r.profundidad = mayor(kOrigenY, kFinEjeY, hondo, 100.0);
    return r;
}

bool edad_y_profundidad_en(float x, float y, float escala_tiempo, float escala_profundidad,
                           double& edad, double& profundidad)
{
    if (x < kOrigenX || x > kFinEjeX || y < kOrigenY || y > kFinEjeY) return false;
    if (escala_tiempo == 0 || escala_profundidad == 0) return false;
    edad = (static_cast<double>(x) - kOrigenX) / static_cast<double>(escala_tiempo);
    profundidad = (static_cast<double>(y) - kOrigenY) / static_cast<double>(escala_profundidad);
    return true;
}

void dibuja_lineas_fijas(QPainter& p)
{
    p.save();
    p.setBrush(Qt::NoBrush);
    // Axes.
    p.setPen(pluma(kTextoCurvas, 1));
    p.drawLine(QPointF(kOrigenX, kOrigenY), QPointF(kFinEjeX, kOrigenY));
    p.drawLine(QPointF(kOrigenX, kOrigenY), QPointF(kOrigenX, kFinEjeY));
    // Legend frame: the outline lies inside its 2775 x 1935 twips.
    p.drawRect(QRectF(7680, 2160, 2775 - kCurvasTwipsPorPixel, 1935 - kCurvasTwipsPorPixel));
    // Legend samples; the first is pure red, a shade apart from its curve.
    p.setPen(pluma(QColor(255, 0, 0), 1));
    p.drawLine(QPointF(7920, 2640), QPointF(8160, 2400));
    p.setPen(pluma(QColor(0, 0, 255), 1));
    p.drawLine(QPointF(7920, 3240), QPointF(8160, 3000));
    p.setPen(pluma(QColor(0, 0, 0), 2));
    p.drawLine(QPointF(7920, 3840), QPointF(8160, 3600));
    p.restore();
}

QFont fuente_curvas()
{
    // Eleven pixels, or smaller if the longest legend text would not fit its
    // label with the fonts at hand.
    QFont fuente;
    const int ancho = rect_twips(0, 0, 2055, 255).width();
    for (int pixeles = 11; pixeles >= 8; --pixeles) {
        fuente.setPixelSize(pixeles);
        if (QFontMetrics(fuente).horizontalAdvance(QString::fromUtf8("Curva de descompactación")) <=
            ancho) {
            break;
        }
    }
    return fuente;
}

QFont fuente_que_cabe(const QFont& base, const QString& texto, int ancho)
{
    // Narrower first, then smaller: the caption is never cut short.
    QFont f = base;
    for (int estiramiento = 100; estiramiento >= 50; estiramiento -= 5) {
        f.setStretch(estiramiento);
        if (QFontMetrics(f).horizontalAdvance(texto) <= ancho) return f;
    }
    for (int pixeles = f.pixelSize() > 0 ? f.pixelSize() - 1 : 10; pixeles >= 5; --pixeles) {
        f.setPixelSize(pixeles);
        if (QFontMetrics(f).horizontalAdvance(texto) <= ancho) return f;
    }
    return f;
}

void pinta_grafico_completo(const Store& s, float escala_tiempo, float escala_profundidad,
                            QPainter& p)
{
    const QSize tamano = tamano_ventana_curvas();
    p.save();
    p.fillRect(QRect(QPoint(0, 0), tamano), kFondoCurvas);

    // Labels are opaque; the fixed lines and the curves lie over them, as on
    // the window.
    const std::array<QString, 10> ejes = textos_ejes(escala_tiempo, escala_profundidad);
    const QFont fuente = fuente_curvas();
    p.setFont(fuente);
    p.setPen(kTextoCurvas);
    for (const EtiquetaCurvas& e : kEtiquetasCurvas) {
        QString texto = QString::fromUtf8(e.texto);
        for (std::size_t k = 0; k < kEtiquetasEjes.size(); ++k) {
            if (qstrcmp(kEtiquetasEjes[k], e.nombre) == 0) texto = ejes[k];
        }
        const QRect r = rect_twips(e.izquierda, e.arriba, e.ancho, e.alto);
        p.setFont(fuente_que_cabe(fuente, texto, r.width()));
        p.fillRect(r, kFondoCurvas);
        const Qt::Alignment alineacion =
            (e.a_la_derecha ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop;
        p.drawText(r, static_cast<int>(alineacion), texto);
    }

    p.save();
    p.scale(1.0 / kCurvasTwipsPorPixel, 1.0 / kCurvasTwipsPorPixel);
    dibuja_lineas_fijas(p);
    dibuja_curvas(s, escala_tiempo, escala_profundidad, p);
    p.restore();

    // The two scale boxes with the scales in use.
    const struct {
        QRect r;
        QString texto;
    } cajas[2] = {
        {rect_twips(6480, 35, 495, 285), texto_escala(escala_tiempo)},
        {rect_twips(120, 5040, 495, 285),
         texto_escala(static_cast<float>(static_cast<double>(escala_profundidad) * 100.0))},
    };
    for (const auto& caja : cajas) {
        p.setPen(QColor(128, 128, 128));
        p.setBrush(kFondoCurvas);
        p.drawRect(caja.r.adjusted(0, 0, -1, -1));
        p.setPen(kTextoCurvas);
        p.drawText(caja.r.adjusted(3, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter, caja.texto);
    }
    p.restore();
}

Dibujo dibujo_del_grafico(const Store& s, float escala_tiempo, float escala_profundidad)
{
    Dibujo dibujo;
    dibujo.tamano = tamano_ventana_curvas();
    dibujo.titulo = "Curva de tevarro";
    dibujo.fondo = kFondoCurvas;
    dibujo.formato_png = QImage::Format_RGB32;
    dibujo.pinta = [&s, escala_tiempo, escala_profundidad](QPainter& p) {
        pinta_grafico_completo(s, escala_tiempo, escala_profundidad, p);
    };
    return dibujo;
}

bool guarda_grafico(const Store& s, float escala_tiempo, float escala_profundidad,
                    const QString& ruta, QString* error)
{
    return guarda_imagen(ruta, dibujo_del_grafico(s, escala_tiempo, escala_profundidad), error);
}

bool guarda_grafico(const Store& s, const QString& ruta, QString* error)
{
    return guarda_grafico(s, kEscalaTiempoInicial, kEscalaProfundidadInicial, ruta, error);
}

} // namespace tev
