#include "curve_window/form4.h"

#include "drawing/color_de_ventana.h"
#include "drawing/dibujo_curvas.h"
#include "drawing/exporta_imagen.h"
#include "model/store.h"
#include "text_forms/formas_numericas.h"
#include "window_helpers/curva_en_uso.h"
#include "window_helpers/guardar_imagen.h"
#include "window_helpers/pista_del_puntero.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>

#include <cmath>

namespace tev {

namespace {

const char* const kCaption = "Curva de tevarro";
const char* const kEscalaCero =
    "La escala debe ser un número distinto de 0; se mantiene la anterior.";
const char* const kEscalaFueraDeRango =
    "La escala no cabe en un número de precisión simple; se mantiene la anterior.";
const QColor kFondoRechazo(255, 200, 200);

QScrollBar* barra(QWidget* padre, Qt::Orientation orientacion, const char* nombre,
                  const QRect& donde)
{
    auto* b = new QScrollBar(orientacion, padre);
    b->setObjectName(nombre);
    b->setGeometry(donde);
    b->setRange(1, 1000);
    b->setValue(100);
    b->setSingleStep(1);
    b->setPageStep(1);
    // A dragged thumb changes the scale only when it is let go.
    b->setTracking(false);
    // The arrow keys move the bar too: right and down raise the value (Qt's
    // scroll bars invert the horizontal keys by default).
    b->setFocusPolicy(Qt::StrongFocus);
    if (orientacion == Qt::Horizontal) b->setInvertedControls(false);
    return b;
}

QLineEdit* caja(QWidget* padre, const char* nombre, const QRect& donde)
{
    auto* t = new QLineEdit("100", padre);
    t->setObjectName(nombre);
    t->setGeometry(donde);
    t->setTextMargins(0, 0, 0, 0);
    return t;
}

// The layer above the labels: the fixed lines and the curves. Like the
// drawing on a form, it lies over the labels but lets the mouse through.
class CapaDibujo : public QWidget {
  public:
    CapaDibujo(QWidget* padre, const QImage& dibujo) : QWidget(padre), dibujo_(dibujo)
    {
        setObjectName("capa_dibujo");
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

  protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.save();
        p.scale(1.0 / kCurvasTwipsPorPixel, 1.0 / kCurvasTwipsPorPixel);
        dibuja_lineas_fijas(p);
        p.restore();
        if (!dibujo_.isNull()) p.drawImage(QPoint(0, 0), dibujo_);
    }

  private:
    const QImage& dibujo_;
};

} // namespace

Form4::Form4(Store& s)
    : QWidget(nullptr, Qt::Window), s_(s), escala_tiempo_(kEscalaTiempoInicial),
      escala_profundidad_(kEscalaProfundidadInicial)
{
    setObjectName("Form4");
    setWindowTitle(kCaption);
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(fuente_curvas());
    // The system window colour behind everything, the labels included
    // (they take the window's role); text in the curves' colour on it.
    QPalette paleta = palette();
    paleta.setColor(QPalette::WindowText, kTextoCurvas);
    paleta.setColor(QPalette::Text, kTextoCurvas);
    setPalette(paleta);
    setBackgroundRole(kColorDeVentana);
    setAutoFillBackground(true);
    resize(tamano_ventana_curvas());

    crea_controles();
    etiqueta_de_curva_abajo(this);
}

void Form4::crea_controles()
{
    QLabel** etiquetas[] = {&Label1,  &Label16, &Label2,  &Label3, &Label4, &Label5,
                            &Label6,  &Label12, &Label7,  &Label8, &Label9, &Label10,
                            &Label11, &Label13, &Label14, &Label15};
    static_assert(std::size(etiquetas) == kEtiquetasCurvas.size());
    for (std::size_t i = 0; i < kEtiquetasCurvas.size(); ++i) {
        const EtiquetaCurvas& e = kEtiquetasCurvas[i];
        auto* l = new QLabel(QString::fromUtf8(e.texto), this);
        l->setObjectName(e.nombre);
        l->setGeometry(rect_twips(e.izquierda, e.arriba, e.ancho, e.alto));
        l->setAlignment((e.a_la_derecha ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
        l->setAutoFillBackground(true);
        *etiquetas[i] = l;
    }

    capa_ = new CapaDibujo(this, dibujo_);
    capa_->setGeometry(rect());

    HScroll1 = barra(this, Qt::Horizontal, "HScroll1", rect_twips(5520, 50, 855, 255));
    Text1 = caja(this, "Text1", rect_twips(6480, 35, 495, 285));
    VScroll1 = barra(this, Qt::Vertical, "VScroll1", rect_twips(120, 4080, 255, 855));
    Text2 = caja(this, "Text2", rect_twips(120, 5040, 495, 285));
    connect(HScroll1, &QScrollBar::valueChanged, this, &Form4::HScroll1_Change);
    connect(VScroll1, &QScrollBar::valueChanged, this, &Form4::VScroll1_Change);
    // Enter in a scale box applies that scale at once, as a scroll does.
    for (QLineEdit* caja : {Text1, Text2}) {
        connect(caja, &QLineEdit::returnPressed, this, [this] {
            borra_dibujo();
            curvas(s_);
        });
    }

    guardar_imagen = new GuardarImagen(this, kCaption, [this](const QString& ruta, QString* error) {
        return guarda_imagen(ruta, error);
    });
    guardar_imagen->menu()->addSeparator();
    QAction* ajustar = guardar_imagen->menu()->addAction("Ajustar a la columna");
    ajustar->setObjectName("ajustar_act");
    connect(ajustar, &QAction::triggered, this, &Form4::ajusta_a_la_columna);

    new PistaDelPuntero(this, [this](QPoint p) { return texto_bajo_el_puntero(p); });
}

void Form4::ajusta_a_la_columna()
{
    const EscalasDeBarra e = escalas_que_caben(s_);
    {
        // One plot for both bars, not one for each.
        const QSignalBlocker h(HScroll1);
        const QSignalBlocker v(VScroll1);
        HScroll1->setValue(e.tiempo);
        VScroll1->setValue(e.profundidad);
    }
    Text1->setText(QString::number(HScroll1->value()));
    Text2->setText(QString::number(VScroll1->value()));
    borra_dibujo();
    curvas(s_);
}

QString Form4::texto_bajo_el_puntero(QPoint posicion) const
{
    const auto tw = static_cast<float>(kCurvasTwipsPorPixel);
    double edad = 0;
    double profundidad = 0;
    if (!edad_y_profundidad_en(static_cast<float>(posicion.x()) * tw,
                               static_cast<float>(posicion.y()) * tw, escala_tiempo_,
                               escala_profundidad_, edad, profundidad))
        return {};
    const double ma_por_pixel = tw / static_cast<double>(escala_tiempo_);
    const double m_por_pixel = tw / static_cast<double>(escala_profundidad_);
    return QString("Edad: %1 Ma\nProfundidad: %2 m")
        .arg(numero_para_pista(edad, ma_por_pixel), numero_para_pista(profundidad, m_por_pixel));
}

void Form4::asegura_imagen()
{
    const qreal proporcion = devicePixelRatioF();
    const QSize necesario = size().expandedTo(tamano_ventana_curvas());
    if (!dibujo_.isNull() && dibujo_.deviceIndependentSize().toSize() == necesario &&
        dibujo_.devicePixelRatio() == proporcion) {
        return;
    }
    QImage nuevo(necesario * proporcion, QImage::Format_ARGB32_Premultiplied);
    nuevo.setDevicePixelRatio(proporcion);
    nuevo.fill(Qt::transparent);
    if (!dibujo_.isNull()) {
        // What was drawn stays where it was.
        QPainter p(&nuevo);
        p.drawImage(QPoint(0, 0), dibujo_);
    }
    dibujo_ = nuevo;
}

float Form4::lee_escala(QLineEdit* caja, double divisor, float& ultima)
{
    const float leida =
        static_cast<float>(lee_numero_inicial(caja->text().toStdString()) / divisor);
    const char* rechazo = nullptr;
    if (leida == 0.0f) {
        rechazo = kEscalaCero;
    } else if (!std::isfinite(leida) || !std::isfinite(5000.0f / leida)) {
        // Too large, or so small that the captions would overflow.
        rechazo = kEscalaFueraDeRango;
    }

    if (rechazo) {
        QPalette paleta = caja->palette();
        paleta.setColor(QPalette::Base, kFondoRechazo);
        caja->setPalette(paleta);
        caja->setToolTip(QString::fromUtf8(rechazo));
    } else {
        caja->setPalette(QPalette());
        caja->setToolTip(QString());
        ultima = leida;
    }
    return ultima;
}

void Form4::curvas(Store& s)
{
    show();
    raise();

    s.escala_tiempo = lee_escala(Text1, 1.0, escala_tiempo_);
    s.escala_profundidad = lee_escala(Text2, 100.0, escala_profundidad_);

    const std::array<QString, 10> textos = textos_ejes(s.escala_tiempo, s.escala_profundidad);
    QLabel* const ejes[10] = {Label2,  Label3, Label4, Label5, Label6,
                              Label16, Label7, Label8, Label9, Label10};
    for (int k = 0; k < 10; ++k) {
        EjeAjustado& a = ejes_ajustados_[k];
        if (a.texto == textos[k] && a.ancho == ejes[k]->width() && a.base == font() &&
            ejes[k]->text() == textos[k])
            continue;
        ejes[k]->setText(textos[k]);
        const QFont f = fuente_que_cabe(font(), textos[k], ejes[k]->width());
        if (ejes[k]->font() != f) ejes[k]->setFont(f);
        a = {textos[k], ejes[k]->width(), font()};
    }

    asegura_imagen();
    {
        QPainter p(&dibujo_);
        p.scale(1.0 / kCurvasTwipsPorPixel, 1.0 / kCurvasTwipsPorPixel);
        dibuja_curvas(s, s.escala_tiempo, s.escala_profundidad, p);
    }
    capa_->update();
}

void Form4::borra_dibujo()
{
    if (!dibujo_.isNull()) dibujo_.fill(Qt::transparent);
    capa_->update();
}

void Form4::HScroll1_Change()
{
    Text1->setText(QString::number(HScroll1->value()));
    borra_dibujo();
    curvas(s_);
}

void Form4::VScroll1_Change()
{
    Text2->setText(QString::number(VScroll1->value()));
    borra_dibujo();
    curvas(s_);
}

bool Form4::guarda_imagen(const QString& ruta, QString* error)
{
    return tev::guarda_imagen(
        ruta, con_curva_en_uso(dibujo_del_grafico(s_, escala_tiempo_, escala_profundidad_)), error);
}

void Form4::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    if (capa_) capa_->setGeometry(rect());
    if (!dibujo_.isNull()) asegura_imagen();
}

void Form4::contextMenuEvent(QContextMenuEvent* e)
{
    guardar_imagen->ofrece(e->globalPos());
}

Form4* muestra_curvas(QPointer<Form4>& ventana, Store& s)
{
    if (!ventana) ventana = new Form4(s);
    // Every computation plots on a clean window: curves of another column
    // never stay under the new ones.
    ventana->borra_dibujo();
    ventana->curvas(s);
    return ventana;
}

} // namespace tev
