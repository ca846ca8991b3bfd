#include "window_helpers/imprimir.h"

#include "drawing/exporta_imagen.h"
#include "model/programa.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include <algorithm>

namespace tev {

QRectF lugar_en_la_pagina(QSizeF tamano, const QRectF& pagina)
{
    if (tamano.isEmpty() || pagina.isEmpty()) return {};
    const qreal escala =
        std::min(pagina.width() / tamano.width(), pagina.height() / tamano.height());
    const QSizeF en_pagina = tamano * escala;
    return {pagina.left() + (pagina.width() - en_pagina.width()) / 2, pagina.top(),
            en_pagina.width(), en_pagina.height()};
}

void pinta_en_la_pagina(QPainter& p, const QRectF& pagina, const Dibujo& dibujo)
{
    const QRectF lugar = lugar_en_la_pagina(QSizeF(dibujo.tamano), pagina);
    if (lugar.isEmpty()) return;
    p.save();
    p.translate(lugar.topLeft());
    p.scale(lugar.width() / dibujo.tamano.width(), lugar.height() / dibujo.tamano.height());
    // The picture paints its own background, and nothing beyond it.
    p.setClipRect(QRect(QPoint(0, 0), dibujo.tamano));
    p.fillRect(QRect(QPoint(0, 0), dibujo.tamano), dibujo.fondo);
    dibujo.pinta(p);
    p.restore();
}

void prepara_impresora(QPrinter& impresora, const Dibujo& dibujo)
{
    impresora.setDocName(dibujo.titulo);
    impresora.setCreator(kNombrePrograma);
    impresora.setPageOrientation(dibujo.tamano.width() > dibujo.tamano.height()
                                     ? QPageLayout::Landscape
                                     : QPageLayout::Portrait);
}

bool imprime(QPrinter& impresora, const Dibujo& dibujo, QString* error)
{
    // Fonts given in points are sized by the device's resolution and then
    // scaled with the picture: at the picture's own resolution (a pixel of
    // the screen at scale 1, as a PNG has it) the texts keep their size
    // beside the drawing. The output stays vector, and a PDF or CUPS printer
    // takes any resolution.
    impresora.setResolution(kResolucionDeLaFigura);
    QPainter p;
    if (!p.begin(&impresora)) {
        if (error) {
            *error = impresora.outputFileName().isEmpty()
                         ? QString("No se pudo imprimir «%1»: la impresora no responde.")
                               .arg(dibujo.titulo)
                         : QString("No se pudo imprimir «%1» en «%2»: no se pudo escribir el "
                                   "archivo.")
                               .arg(dibujo.titulo, impresora.outputFileName());
        }
        return false;
    }
    // The painter's origin is the printable area's top-left corner.
    pinta_en_la_pagina(p, QRectF(QPointF(0, 0), impresora.pageRect(QPrinter::DevicePixel).size()),
                       dibujo);
    if (!p.end()) {
        if (error) *error = QString("No se pudo terminar la impresión de «%1».").arg(dibujo.titulo);
        return false;
    }
    return true;
}

bool dialogo_de_impresion(QPrinter& impresora, QWidget* padre)
{
    QPrintDialog dialogo(&impresora, padre);
    dialogo.setWindowTitle("Imprimir");
    return dialogo.exec() == QDialog::Accepted;
}

} // namespace tev
