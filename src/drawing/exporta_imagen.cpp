#include "drawing/exporta_imagen.h"

#include "project_file/archivos.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

namespace tev {

FormatoImagen formato_de_imagen(const QString& ruta)
{
    const QString ext = QFileInfo(ruta).suffix().toLower();
    if (ext == "png") return FormatoImagen::png;
    if (ext == "svg") return FormatoImagen::svg;
    if (ext == "pdf") return FormatoImagen::pdf;
    return FormatoImagen::ninguno;
}

bool guarda_imagen(const QString& ruta, const Dibujo& dibujo, QString* error)
{
    auto falla = [&](const QString& razon) {
        if (error) *error = QString("No se pudo guardar «%1»: %2.").arg(ruta, razon);
        return false;
    };
    const FormatoImagen formato = formato_de_imagen(ruta);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    switch (formato) {
    case FormatoImagen::ninguno:
        return falla("el nombre debe terminar en .png, .svg o .pdf");
    case FormatoImagen::png: {
        QImage imagen(dibujo.tamano, dibujo.formato_png);
        imagen.fill(dibujo.fondo);
        {
            QPainter p(&imagen);
            dibujo.pinta(p);
        }
        if (!imagen.save(&buffer, "PNG")) return falla("no se pudo formar la imagen PNG");
        break;
    }
    case FormatoImagen::svg: {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(dibujo.tamano);
        svg.setViewBox(QRect(QPoint(0, 0), dibujo.tamano));
        svg.setTitle(dibujo.titulo);
        QPainter p;
        if (!p.begin(&svg)) return falla("no se pudo formar la imagen SVG");
        dibujo.pinta(p);
        if (!p.end()) return falla("no se pudo formar la imagen SVG");
        break;
    }
    case FormatoImagen::pdf: {
        // One page of the picture's size, a pixel to a point.
        QPdfWriter pdf(&buffer);
        pdf.setTitle(dibujo.titulo);
        pdf.setCreator("TEVARRO 1.0");
        pdf.setResolution(72);
        pdf.setPageSize(
            QPageSize(QSizeF(dibujo.tamano), QPageSize::Point, QString(), QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter p;
        if (!p.begin(&pdf)) return falla("no se pudo formar el documento PDF");
        dibujo.pinta(p);
        if (!p.end()) return falla("no se pudo formar el documento PDF");
        break;
    }
    }
    const std::string fallo =
        guarda_archivo(ruta.toStdString(), std::string_view(bytes.constData(), bytes.size()));
    if (!fallo.empty()) {
        if (error) *error = QString::fromStdString(fallo);
        return false;
    }
    return true;
}

} // namespace tev
