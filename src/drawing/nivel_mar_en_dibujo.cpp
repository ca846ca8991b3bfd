#include "drawing/nivel_mar_en_dibujo.h"

#include "compute/nivel_mar.h"

#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <utility>

namespace tev {

namespace {

constexpr int kMargen = 6; // pixels from the top and right edges

QFont fuente()
{
    QFont f;
    f.setPixelSize(12);
    return f;
}

// The text as it fits in half the picture's width.
QString ajustado(QSize tamano, const QString& texto)
{
    const QFontMetrics fm(fuente());
    return fm.elidedText(texto, Qt::ElideMiddle, std::max(0, tamano.width() / 2 - kMargen));
}

} // namespace

QString texto_de_nivel_mar(const CurvaNivelMar& curva)
{
    QString t = "Nivel del mar: ";
    switch (curva.tipo) {
    case CurvaNivelMar::Tipo::tabla:
        t += "tabla del programa";
        break;
    case CurvaNivelMar::Tipo::ninguna:
        t += "ninguno";
        break;
    case CurvaNivelMar::Tipo::usuario:
        t += "archivo " + QFileInfo(QFile::decodeName(curva.archivo.c_str())).fileName();
        break;
    }
    return t;
}

QRectF lugar_del_nivel_mar(QSize tamano, const QString& texto)
{
    const QFontMetrics fm(fuente());
    const int ancho = fm.horizontalAdvance(ajustado(tamano, texto));
    return {static_cast<double>(tamano.width() - kMargen - ancho), kMargen,
            static_cast<double>(ancho), static_cast<double>(fm.height())};
}

Dibujo con_nivel_mar(Dibujo dibujo, const CurvaNivelMar& curva)
{
    if (curva.tipo == CurvaNivelMar::Tipo::tabla) return dibujo;
    const QString texto = texto_de_nivel_mar(curva);
    const QSize tamano = dibujo.tamano;
    dibujo.pinta = [pinta = std::move(dibujo.pinta), texto, tamano](QPainter& p) {
        pinta(p);
        p.save();
        p.setFont(fuente());
        p.setPen(Qt::black);
        const QRectF lugar = lugar_del_nivel_mar(tamano, texto);
        p.drawText(QPointF(lugar.left(), lugar.top() + QFontMetrics(fuente()).ascent()),
                   ajustado(tamano, texto));
        p.restore();
    };
    return dibujo;
}

} // namespace tev
