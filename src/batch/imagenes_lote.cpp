#include "batch/imagenes_lote.h"

#include "drawing/columna_entera.h"
#include "drawing/dibujo_curvas.h"
#include "drawing/dibujo_estiramiento.h"
#include "drawing/dibujo_historia.h"
#include "drawing/dibujo_pozos.h"
#include "drawing/exporta_imagen.h"
#include "drawing/imagen_columna.h"
#include "drawing/nivel_mar_en_dibujo.h"

namespace tev {

namespace {

// The pictures written under the file names' own bytes, which need not be UTF-8.
class ImagenesEnlazadas final : public Imagenes {
  public:
    bool curvas(const Store& s, const CurvaNivelMar& curva, const std::string& ruta,
                std::string& error) const override
    {
        return guarda_imagen(
            ruta,
            con_nivel_mar(dibujo_del_grafico(s, kEscalaTiempoInicial, kEscalaProfundidadInicial),
                          curva),
            &error);
    }

    bool columna(const Store& s, const std::string& ruta, std::string& error) const override
    {
        return guarda_imagen(
            ruta,
            dibujo_de_la_columna(s, kAreaDeArranque, escala_de_arranque_para(kAreaDeArranque), {}),
            &error);
    }

    bool columna_entera(const Store& s, const std::string& ruta, std::string& error) const override
    {
        return guarda_imagen(ruta, dibujo_de_la_columna_entera(s), &error);
    }

    bool historia(const Historia& h, const Store& s, const CurvaNivelMar& curva,
                  const std::string& ruta, std::string& error) const override
    {
        return guarda_imagen(
            ruta, con_nivel_mar(dibujo_de_la_historia(h, s, kTamanoHistoria), curva), &error);
    }

    bool historia_con_bandas(const Historia& h, const Store& s,
                             const std::vector<BandaPaso>& bandas, const CurvaNivelMar& curva,
                             const std::string& ruta, std::string& error) const override
    {
        return guarda_imagen(
            ruta, con_nivel_mar(dibujo_de_la_historia(h, s, kTamanoHistoria, bandas), curva),
            &error);
    }

    bool estiramiento(const std::vector<PuntoSubsidencia>& puntos, const PeticionAjuste& peticion,
                      const AjusteEstiramiento& ajuste, const CurvaNivelMar& curva,
                      const std::string& ruta, std::string& error) const override
    {
        FiguraEstiramiento figura;
        figura.puntos = puntos;
        figura.peticion = peticion;
        figura.ajuste = ajuste;
        return guarda_imagen(
            ruta, con_nivel_mar(dibujo_del_estiramiento(figura, kTamanoEstiramiento), curva),
            &error);
    }

    bool pozos(const std::vector<Pozo>& pozos, const ModeloEstiramiento& modelo,
               const std::vector<std::vector<BandaPaso>>& bandas, const CurvaNivelMar& curva,
               const std::string& ruta, std::string& error) const override
    {
        FiguraPozos figura = figura_de_pozos(pozos, modelo);
        for (PozoEnFigura& e : figura.pozos)
            if (static_cast<std::size_t>(e.indice) < bandas.size())
                e.bandas = bandas[static_cast<std::size_t>(e.indice)];
        return guarda_imagen(ruta, con_nivel_mar(dibujo_de_pozos(figura, kTamanoPozos), curva),
                             &error);
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
