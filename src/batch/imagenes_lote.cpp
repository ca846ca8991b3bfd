#include "batch/imagenes_lote.h"

#include "drawing/dibujo_curvas.h"
#include "drawing/dibujo_historia.h"
#include "drawing/imagen_columna.h"

#include <QString>

namespace tev {

namespace {

// The drawing's result as the tool reports it.
bool hecho(bool bien, const QString& fallo, std::string& error)
{
    if (!bien) error = fallo.toStdString();
    return bien;
}

class ImagenesEnlazadas final : public Imagenes {
  public:
    bool curvas(const Store& s, const std::string& ruta, std::string& error) const override
    {
        QString fallo;
        return hecho(guarda_grafico(s, QString::fromStdString(ruta), &fallo), fallo, error);
    }

    bool columna(const Store& s, const std::string& ruta, std::string& error) const override
    {
        QString fallo;
        return hecho(guarda_columna(s, QString::fromStdString(ruta), &fallo), fallo, error);
    }

    bool historia(const Historia& h, const Store& s, const std::string& ruta,
                  std::string& error) const override
    {
        QString fallo;
        return hecho(guarda_historia(h, s, QString::fromStdString(ruta), kTamanoHistoria, &fallo),
                     fallo, error);
    }
};

} // namespace

const Imagenes& imagenes_enlazadas()
{
    static const ImagenesEnlazadas imagenes;
    return imagenes;
}

int ejecuta_lote(const std::vector<std::string>& argumentos, std::ostream& salida,
                 std::ostream& errores)
{
    return ejecuta_lote(argumentos, salida, errores,
                        [](std::string&) { return &imagenes_enlazadas(); });
}

} // namespace tev
