#include "drawing/marcas.h"

#include <QLocale>

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

} // namespace tev
