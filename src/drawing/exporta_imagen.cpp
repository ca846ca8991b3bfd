#include "drawing/exporta_imagen.h"

#include "model/programa.h"
#include "project_file/archivos.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <array>
#include <cstring>

namespace tev {

namespace {

// The same pixels with a palette when the picture is opaque and has at most
// 256 colours, as the program's pictures do; a null image otherwise. A
// palette PNG holds a third of the data of an RGB one and needs no search
// for the best filter of every row, so it is written several times faster.
QImage con_paleta(const QImage& imagen)
{
    if (imagen.depth() != 32) return {};
    // RGB32 keeps its alpha byte at 0xff, but nothing forces it to.
    const QRgb mascara = imagen.format() == QImage::Format_RGB32 ? 0xff000000u : 0u;
    constexpr int kHuecos = 1024; // a power of two, four times the colours
    std::array<QRgb, kHuecos> claves{};
    std::array<short, kHuecos> indices;
    indices.fill(-1);
    QList<QRgb> tabla;
    QImage indexada(imagen.size(), QImage::Format_Indexed8);
    if (indexada.isNull()) return {};
    const int ancho = imagen.width();
    for (int y = 0; y < imagen.height(); ++y) {
        const auto* fila = reinterpret_cast<const QRgb*>(imagen.constScanLine(y));
        uchar* destino = indexada.scanLine(y);
        int x = 0;
        while (x < ancho) {
            const QRgb c = fila[x] | mascara;
            if (qAlpha(c) != 255) return {}; // transparency is written as it was
            unsigned h = (c * 2654435761u) >> 22;
            while (indices[h] >= 0 && claves[h] != c)
                h = (h + 1) & (kHuecos - 1);
            if (indices[h] < 0) {
                if (tabla.size() == 256) return {};
                claves[h] = c;
                indices[h] = static_cast<short>(tabla.size());
                tabla.append(c);
            }
            // The rest of the run of this colour.
            const QRgb crudo = fila[x];
            int fin = x + 1;
            while (fin < ancho && fila[fin] == crudo)
                ++fin;
            std::memset(destino + x, indices[h], static_cast<std::size_t>(fin - x));
            x = fin;
        }
    }
    indexada.setColorTable(tabla);
    return indexada;
}

} // namespace

FormatoImagen formato_de_imagen(const QString& ruta)
{
    const QString ext = QFileInfo(ruta).suffix().toLower();
    if (ext == "png") return FormatoImagen::png;
    if (ext == "svg") return FormatoImagen::svg;
    if (ext == "pdf") return FormatoImagen::pdf;
    return FormatoImagen::ninguno;
}

bool guarda_imagen(const std::string& ruta, const Dibujo& dibujo, std::string* error)
{
    auto falla = [&](const char* razon) {
        if (error) *error = "No se pudo guardar «" + ruta + "»: " + razon + ".";
        return false;
    };
    // The extension read as a window reads it; a byte that is not UTF-8 is
    // never part of "png", "svg" or "pdf".
    const FormatoImagen formato =
        formato_de_imagen(QFile::decodeName(QByteArray::fromStdString(ruta)));
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
        // A palette picture is compressed at zlib's level 3 (Qt's quality
        // 60): twice as fast as the default level, still half the size of
        // the RGB file.
        const QImage paleta = con_paleta(imagen);
        const bool escrita =
            paleta.isNull() ? imagen.save(&buffer, "PNG") : paleta.save(&buffer, "PNG", 60);
        if (!escrita) return falla("no se pudo formar la imagen PNG");
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
        pdf.setCreator(kNombrePrograma);
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
        guarda_archivo(ruta, std::string_view(bytes.constData(), bytes.size()));
    if (!fallo.empty()) {
        if (error) *error = fallo;
        return false;
    }
    return true;
}

bool guarda_imagen(const QString& ruta, const Dibujo& dibujo, QString* error)
{
    std::string fallo;
    if (guarda_imagen(QFile::encodeName(ruta).toStdString(), dibujo, &fallo)) return true;
    if (error) *error = QString::fromStdString(fallo);
    return false;
}

} // namespace tev
