#include "drawing/marcas.h"

#include <QFontMetrics>
#include <QLocale>
#include <QPainter>
#include <QRectF>

#include <algorithm>
#include <cmath>

namespace tev {

double paso_redondo(double desde, double hasta, int maximo)
{
    if (!std::isfinite(desde) || !std::isfinite(hasta) || !(hasta > desde) || maximo < 2) return 0;
    const double bruto = (hasta - desde) / (maximo - 1);
    double potencia = std::pow(10.0, std::floor(std::log10(bruto)) - 1);
    for (int vuelta = 0; vuelta < 8; ++vuelta, potencia *= 10) {
        for (double m : {1.0, 2.0, 5.0}) {
            const double paso = m * potencia;
            if (multiplos(desde, hasta, paso).size() <= static_cast<std::size_t>(maximo))
                return paso;
        }
    }
    return 0;
}

std::vector<double> marcas_redondas(double desde, double hasta, int maximo)
{
    return multiplos(desde, hasta, paso_redondo(desde, hasta, maximo));
}

double extiende(double& desde, double& hasta, double pixeles, int por_marca, double minimo)
{
    if (!(hasta - desde > 0)) {
        desde -= minimo / 2;
        hasta += minimo / 2;
    }
    const int maximo = std::max(2, static_cast<int>(pixeles / por_marca) + 1);
    const double paso = paso_redondo(desde, hasta, maximo);
    if (paso > 0) {
        desde = std::floor(desde / paso) * paso;
        hasta = std::ceil(hasta / paso) * paso;
    }
    return paso;
}

std::vector<double> multiplos(double desde, double hasta, double paso)
{
    std::vector<double> m;
    if (!(paso > 0)) return m;
    const double primero = std::ceil(desde / paso - 1e-9);
    const double ultimo = std::floor(hasta / paso + 1e-9);
    // Tick counts are small whole numbers.
    const auto ultimo_k = static_cast<long long>(ultimo);
    for (auto k = static_cast<long long>(primero); k <= ultimo_k; ++k) {
        const double v = static_cast<double>(k) * paso;
        m.push_back(v == 0 ? 0.0 : v); // no "-0"
    }
    return m;
}

QString texto_marca(double v, double paso)
{
    int decimales = 0;
    if (paso > 0 && paso < 1) decimales = static_cast<int>(std::ceil(-std::log10(paso) - 1e-9));
    QLocale local;
    local.setNumberOptions(QLocale::OmitGroupSeparator);
    return local.toString(v, 'f', decimales);
}

double paso_de(const std::vector<double>& marcas)
{
    return marcas.size() >= 2 ? marcas[1] - marcas[0] : 1;
}

void pinta_ejes(QPainter& p, const QFontMetrics& fm, const QRectF& area,
                const std::function<QPointF(double, double)>& punto,
                const std::vector<double>& marcas_edad,
                const std::vector<double>& marcas_profundidad, const QString& titulo_vertical,
                double sobre_marco)
{
    p.drawRect(area);
    // An age's x does not depend on the depth, nor a depth's y on the age.
    const double paso_edad = paso_de(marcas_edad);
    for (double t : marcas_edad) {
        const double x = punto(t, 0).x();
        p.drawLine(QPointF(x, area.top()), QPointF(x, area.top() - 5));
        const QString texto = texto_marca(t, paso_edad);
        p.drawText(QPointF(x - fm.horizontalAdvance(texto) / 2.0, area.top() - sobre_marco), texto);
    }
    const double paso_prof = paso_de(marcas_profundidad);
    for (double d : marcas_profundidad) {
        const double y = punto(0, d).y();
        p.drawLine(QPointF(area.left() - 5, y), QPointF(area.left(), y));
        const QString texto = texto_marca(d, paso_prof);
        p.drawText(
            QPointF(area.left() - 8 - fm.horizontalAdvance(texto), y + fm.ascent() / 2.0 - 1),
            texto);
    }
    const QString titulo_edad = QString::fromUtf8("Edad (Ma)");
    p.drawText(QPointF(area.center().x() - fm.horizontalAdvance(titulo_edad) / 2.0,
                       area.top() - 12 - fm.height()),
               titulo_edad);
    p.save();
    p.translate(4 + fm.ascent(), area.center().y() + fm.horizontalAdvance(titulo_vertical) / 2.0);
    p.rotate(-90);
    p.drawText(QPointF(0, 0), titulo_vertical);
    p.restore();
}

} // namespace tev
