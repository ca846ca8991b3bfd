#include "drawing/imagen_columna.h"

#include "drawing/dibujo_columna.h"
#include "drawing/exporta_imagen.h"
#include "drawing/unidades.h"
#include "model/programa.h"

#include <QPainter>

namespace tev {

Escala escala_de_arranque_para(QSize area)
{
    const auto twips = static_cast<float>(kTwipsPorPixel);
    return {0.0f, -1000.0f, static_cast<float>(area.width()) * twips,
            static_cast<float>(area.height()) * twips};
}

QImage imagen_de_columna(const Store& s, QSize tamano, const Escala& escala, qreal proporcion)
{
    QImage img(tamano * proporcion, QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(proporcion);
    QPainter p(&img);
    Lienzo lienzo(p, tamano.width(), tamano.height(), escala);
    lienzo.cls(Qt::white);
    dibuja_columna(s, lienzo);
    return img;
}

bool guarda_columna(const Store& s, const QString& ruta, QString* error)
{
    return guarda_columna(s, ruta, kAreaDeArranque, escala_de_arranque_para(kAreaDeArranque),
                          QImage(), error);
}

Dibujo dibujo_de_la_columna(const Store& s, QSize tamano, const Escala& escala, const QImage& fondo)
{
    Dibujo dibujo;
    dibujo.tamano = tamano;
    dibujo.titulo = kNombrePrograma;
    dibujo.pinta = [&s, fondo, escala, tamano](QPainter& p) {
        Lienzo lienzo(p, tamano.width(), tamano.height(), escala);
        lienzo.cls(Qt::white);
        if (!fondo.isNull()) p.drawImage(QPoint(0, 0), fondo);
        dibuja_columna(s, lienzo);
    };
    return dibujo;
}

bool guarda_columna(const Store& s, const QString& ruta, QSize tamano, const Escala& escala,
                    const QImage& fondo, QString* error)
{
    return guarda_imagen(ruta, dibujo_de_la_columna(s, tamano, escala, fondo), error);
}

} // namespace tev
