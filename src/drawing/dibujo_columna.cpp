#include "drawing/dibujo_columna.h"

#include "drawing/lienzo.h"
#include "drawing/unidades.h"
#include "model/litologias.h"
#include "model/store.h"
#include "text_forms/formas_numericas.h"

#include <QColor>
#include <QString>

namespace tev {

namespace {

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

void dibuja_columna(const Store& s, Lienzo& l)
{
    int32_t c = 0; // column offset; reaches 200000 for a full table
    int d = 0;     // a lithology outside the six keeps the previous indentation
    const int n = s.n_bancos;
    for (int i = 1; i <= n; ++i) {
        sangria(s.litologia[i], d);
        const QColor relleno = color_de(s.color[i]);
        const auto izquierda = static_cast<float>(1000 + d);
        l.caja(izquierda, s.techo[i], 2000.0f, s.base[i], relleno, true);
        l.caja(izquierda, s.techo[i], 2000.0f, s.base[i], Qt::black, false);
        l.imprime(impresa(s.base[i]));

        const auto izquierda_d = static_cast<float>(c + 3000 + d);
        const auto derecha_d = static_cast<float>(c + 4000);
        l.caja(izquierda_d, s.techo_descomp[i], derecha_d, s.base_descomp[i], relleno, true);
        l.caja(izquierda_d, s.techo_descomp[i], derecha_d, s.base_descomp[i], Qt::black, false);
        l.imprime(impresa(s.base_descomp[i]));

        l.linea(izquierda_d, -200.0f, izquierda_d, -200.0f, Qt::black);
        l.imprime(QString::fromStdString(s.nombre[i]));
        c += 2000;
    }
    l.linea(500.0f, 0.0f, static_cast<float>(c + 2500), 0.0f, Qt::black);
}

} // namespace tev
