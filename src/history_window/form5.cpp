#include "history_window/form5.h"

#include "compute/nivel_mar.h"
#include "drawing/dibujo_historia.h"
#include "drawing/exporta_imagen.h"
#include "model/store.h"
#include "window_helpers/ajustes_incertidumbre.h"
#include "window_helpers/calculo_de_fondo.h"
#include "window_helpers/curva_en_uso.h"
#include "window_helpers/guardar_imagen.h"
#include "window_helpers/pista_del_puntero.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QPainter>

#include <memory>

namespace tev {

namespace {
const char* const kCaption = "Historia de enterramiento";
}

Form5::Form5() : QWidget(nullptr, Qt::Window), columna_(std::make_unique<Store>())
{
    setObjectName("Form5");
    setWindowTitle(QString::fromUtf8(kCaption));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(kTamanoHistoria);
    // Below this the diagram's captions and legend would not keep room.
    setMinimumSize(kTamanoMinimoHistoria);

    guardar_imagen = new GuardarImagen(
        this, QString::fromUtf8(kCaption),
        [this](const QString& ruta, QString* error) { return guarda_imagen(ruta, error); });
    new PistaDelPuntero(this, [this](QPoint p) { return texto_bajo_el_puntero(p); });
    // Over the foot of the diagram, and only while the bands are computed.
    calculo = new CalculoDeFondo(this);
    etiqueta_de_curva_abajo(this);
}

QString Form5::texto_bajo_el_puntero(QPoint posicion) const
{
    if (!resultado_.ok() || resultado_.historia.pasos.empty()) return {};
    const Historia& h = resultado_.historia;
    QString entrada = entrada_de_leyenda_en(h, *columna_, size(), posicion);
    if (!entrada.isEmpty()) return entrada;
    const MarcoHistoria m = marco_historia(h, *columna_, size());
    if (!m.area.contains(posicion)) return {};
    const QPointF v = m.edad_y_profundidad(posicion);
    const double ma_por_pixel = (m.edad_izquierda - m.edad_derecha) / m.area.width();
    const double m_por_pixel = (m.profundidad_abajo - m.profundidad_arriba) / m.area.height();
    return QString("Edad: %1 Ma\nProfundidad: %2 m")
        .arg(numero_para_pista(v.x(), ma_por_pixel), numero_para_pista(v.y(), m_por_pixel));
}

Form5::~Form5() = default;

void Form5::actualiza(const Store& s)
{
    *columna_ = s;
    resultado_ = calcula_historia(*columna_, curva_en_uso());
    guardar_imagen->accion()->setEnabled(resultado_.ok());
    calcula_bandas();
    update();
}

void Form5::calcula_bandas()
{
    bandas_.clear();
    const AjustesIncertidumbre a = lee_ajustes_incertidumbre();
    if (!a.activa || !resultado_.ok() || resultado_.historia.pasos.empty()) {
        calculo->cancela();
        update();
        return;
    }
    // The draws take the column as it is now; later edits reach them only
    // through the next actualiza.
    auto columna = std::make_shared<const Store>(*columna_);
    // The curve in force now, copied into the draws (the user may choose
    // another meanwhile).
    const CurvaNivelMar& curva = curva_en_uso();
    auto resultado = std::make_shared<ResultadoIncertidumbre>();
    calculo->lanza(
        a.tiradas,
        [columna, curva, resultado, a](ControlCalculo& control) {
            *resultado = calcula_incertidumbre(*columna, curva, a.rangos, a.tiradas, a.semilla,
                                               hilos_de_calculo(), &control);
        },
        [this, resultado] {
            if (!resultado->ok()) {
                calculo->muestra_fallo(fallo_de_bandas(QString::fromStdString(resultado->error)));
                return;
            }
            bandas_ = resultado->bandas;
            update();
        });
}

bool Form5::guarda_imagen(const QString& ruta, QString* error)
{
    if (!resultado_.ok()) {
        if (error)
            *error = QString("No se guardó «%1»: %2")
                         .arg(ruta, QString::fromStdString(resultado_.error));
        return false;
    }
    return tev::guarda_imagen(
        ruta,
        con_curva_en_uso(dibujo_de_la_historia(resultado_.historia, *columna_, size(), bandas_)),
        error);
}

void Form5::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (resultado_.ok()) {
        pinta_historia(resultado_.historia, *columna_, p, size(), bandas_);
        return;
    }
    // No history: the reason, where the diagram would be.
    p.fillRect(rect(), Qt::white);
    p.setPen(Qt::black);
    p.drawText(rect().adjusted(40, 40, -40, -40), Qt::AlignCenter | Qt::TextWordWrap,
               QString::fromStdString(resultado_.error));
}

void Form5::contextMenuEvent(QContextMenuEvent* e)
{
    guardar_imagen->ofrece(e->globalPos());
}

Form5* muestra_historia(QPointer<Form5>& ventana, const Store& s)
{
    if (!ventana) ventana = new Form5();
    ventana->actualiza(s);
    ventana->show();
    ventana->raise();
    return ventana;
}

} // namespace tev
