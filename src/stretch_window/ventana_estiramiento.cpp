#include "stretch_window/ventana_estiramiento.h"

#include "compute/historia.h"
#include "compute/nivel_mar.h"
#include "drawing/exporta_imagen.h"
#include "model/store.h"
#include "window_helpers/ajustes_estiramiento.h"
#include "window_helpers/ajustes_incertidumbre.h"
#include "window_helpers/calculo_de_fondo.h"
#include "window_helpers/curva_en_uso.h"
#include "window_helpers/guardar_imagen.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace tev {

namespace {

const char* const kCaption = "Subsidencia y estiramiento";

QString numero(double v, int decimales)
{
    QLocale local;
    local.setNumberOptions(QLocale::OmitGroupSeparator);
    return local.toString(v, 'f', decimales);
}

// The figure at the widget's size, painted by the drawing's one painter code.
class LienzoEstiramiento : public QWidget {
  public:
    LienzoEstiramiento(const FiguraEstiramiento& f, QWidget* padre) : QWidget(padre), f_(f)
    {
        setObjectName("lienzo");
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMinimumSize(420, 300);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }

  protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        pinta_estiramiento(f_, p, size());
    }

  private:
    const FiguraEstiramiento& f_;
};

QDoubleSpinBox* caja_numero(const char* nombre, double minimo, double maximo, int decimales,
                            const QString& sufijo, QWidget* padre)
{
    auto* c = new QDoubleSpinBox(padre);
    c->setObjectName(nombre);
    c->setRange(minimo, maximo);
    c->setDecimals(decimales);
    c->setSuffix(sufijo);
    c->setKeyboardTracking(false); // refit when the number is complete
    return c;
}

} // namespace

VentanaEstiramiento::VentanaEstiramiento()
    : QWidget(nullptr, Qt::Window), columna_(std::make_unique<Store>())
{
    setObjectName("VentanaEstiramiento");
    setWindowTitle(QString::fromUtf8(kCaption));
    setAttribute(Qt::WA_DeleteOnClose);
    crea_controles();
    lee_ajustes();
    resize(1220, 640);

    guardar_imagen = new GuardarImagen(
        this, QString::fromUtf8(kCaption),
        [this](const QString& ruta, QString* error) { return guarda_imagen(ruta, error); });
    connect(guardar_btn, &QPushButton::clicked, guardar_imagen,
            &GuardarImagen::guardar_imagen_Click);
    connect(copiar_btn, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(texto_resultados()); });
    ajusta();
}

VentanaEstiramiento::~VentanaEstiramiento() = default;

void VentanaEstiramiento::crea_controles()
{
    lienzo = new LienzoEstiramiento(figura_, this);
    calculo = new CalculoDeFondo(lienzo);

    auto* ajustes_box = new QGroupBox(QString::fromUtf8("Ajustes"));
    ajustes_box->setObjectName("ajustes_box");
    auto* forma = new QFormLayout(ajustes_box);
    modo_cmb = new QComboBox(ajustes_box);
    modo_cmb->setObjectName("modo_cmb");
    modo_cmb->addItem(QString::fromUtf8("Total (inicial y térmica)"), "total");
    modo_cmb->addItem(QString::fromUtf8("Sólo térmica"), "termica");
    forma->addRow(QString::fromUtf8("Subsidencia:"), modo_cmb);

    edad_rift_chk = new QCheckBox(QString::fromUtf8("Edad del rift fija:"), ajustes_box);
    edad_rift_chk->setObjectName("edad_rift_chk");
    edad_rift_spn = caja_numero("edad_rift_spn", -1e6, 1e6, 2, " Ma", ajustes_box);
    forma->addRow(edad_rift_chk, edad_rift_spn);

    corteza_spn = caja_numero("corteza_spn", 1, 1e6, 0, " m", ajustes_box);
    forma->addRow(QString::fromUtf8("Corteza antes del rift:"), corteza_spn);

    constantes_cmb = new QComboBox(ajustes_box);
    constantes_cmb->setObjectName("constantes_cmb");
    for (const ConstantesEstiramiento& c : kJuegosDeConstantes)
        constantes_cmb->addItem(QString::fromUtf8(c.nombre), QString::fromUtf8(c.nombre));
    forma->addRow(QString::fromUtf8("Constantes:"), constantes_cmb);

    serie_cmb = new QComboBox(ajustes_box);
    serie_cmb->setObjectName("serie_cmb");
    serie_cmb->addItem(QString::fromUtf8("Serie entera"), 0);
    serie_cmb->addItem(QString::fromUtf8("Sólo el primer término"), 1);
    forma->addRow(QString::fromUtf8("Serie térmica:"), serie_cmb);

    desde_chk = new QCheckBox(QString::fromUtf8("Puntos desde:"), ajustes_box);
    desde_chk->setObjectName("desde_chk");
    desde_spn = caja_numero("desde_spn", -1e6, 1e6, 2, " Ma", ajustes_box);
    forma->addRow(desde_chk, desde_spn);
    hasta_chk = new QCheckBox(QString::fromUtf8("Puntos hasta:"), ajustes_box);
    hasta_chk->setObjectName("hasta_chk");
    hasta_spn = caja_numero("hasta_spn", -1e6, 1e6, 2, " Ma", ajustes_box);
    forma->addRow(hasta_chk, hasta_spn);

    auto* resultado_box = new QGroupBox(QString::fromUtf8("Resultado"));
    resultado_box->setObjectName("resultado_box");
    auto* columna_resultado = new QVBoxLayout(resultado_box);
    resultado_lbl = new QLabel(resultado_box);
    resultado_lbl->setObjectName("resultado_lbl");
    resultado_lbl->setWordWrap(true);
    resultado_lbl->setTextInteractionFlags(Qt::TextSelectableByMouse);
    columna_resultado->addWidget(resultado_lbl);

    auto* constantes_box = new QGroupBox(QString::fromUtf8("Constantes en uso"));
    constantes_box->setObjectName("constantes_box");
    auto* columna_constantes = new QVBoxLayout(constantes_box);
    constantes_lbl = new QLabel(constantes_box);
    constantes_lbl->setObjectName("constantes_lbl");
    constantes_lbl->setWordWrap(true);
    constantes_lbl->setTextInteractionFlags(Qt::TextSelectableByMouse);
    columna_constantes->addWidget(constantes_lbl);

    copiar_btn = new QPushButton(QString::fromUtf8("Copiar resultados"));
    copiar_btn->setObjectName("copiar_btn");
    guardar_btn = new QPushButton(QString::fromUtf8("Guardar imagen…"));
    guardar_btn->setObjectName("guardar_btn");
    auto* botones = new QHBoxLayout;
    botones->addWidget(copiar_btn);
    botones->addWidget(guardar_btn);

    auto* panel = new QWidget(this);
    panel->setObjectName("panel");
    panel->setMaximumWidth(400);
    auto* lado = new QVBoxLayout(panel);
    lado->setContentsMargins(0, 0, 0, 0);
    lado->addWidget(ajustes_box);
    lado->addWidget(resultado_box);
    lado->addWidget(constantes_box);
    QLabel* curva = etiqueta_de_curva(panel);
    curva->setWordWrap(true);
    lado->addWidget(curva);
    lado->addStretch(1);
    lado->addLayout(botones);
    auto* todo = new QHBoxLayout(this);
    todo->addWidget(lienzo, 1);
    todo->addWidget(panel, 0);

    const auto cambio = [this] {
        edad_rift_spn->setEnabled(edad_rift_chk->isChecked());
        desde_spn->setEnabled(desde_chk->isChecked());
        hasta_spn->setEnabled(hasta_chk->isChecked());
        if (leyendo_ajustes_) return;
        guarda_ajustes();
        ajusta();
    };
    for (QComboBox* c : {modo_cmb, constantes_cmb, serie_cmb})
        connect(c, &QComboBox::currentIndexChanged, this, cambio);
    for (QCheckBox* c : {edad_rift_chk, desde_chk, hasta_chk})
        connect(c, &QCheckBox::toggled, this, cambio);
    for (QDoubleSpinBox* c : {edad_rift_spn, corteza_spn, desde_spn, hasta_spn})
        connect(c, &QDoubleSpinBox::valueChanged, this, cambio);
}

void VentanaEstiramiento::lee_ajustes()
{
    leyendo_ajustes_ = true;
    const AjustesEstiramiento a = lee_ajustes_estiramiento();
    const auto elige = [](QComboBox* c, const QVariant& dato) {
        const int i = c->findData(dato);
        c->setCurrentIndex(i >= 0 ? i : 0);
    };
    elige(modo_cmb, a.modo);
    elige(constantes_cmb, a.constantes);
    elige(serie_cmb, a.terminos);
    edad_rift_chk->setChecked(a.edad_rift_fija);
    edad_rift_spn->setValue(a.edad_rift);
    corteza_spn->setValue(a.corteza);
    desde_chk->setChecked(a.desde_fija);
    desde_spn->setValue(a.desde);
    hasta_chk->setChecked(a.hasta_fija);
    hasta_spn->setValue(a.hasta);
    edad_rift_spn->setEnabled(edad_rift_chk->isChecked());
    desde_spn->setEnabled(desde_chk->isChecked());
    hasta_spn->setEnabled(hasta_chk->isChecked());
    leyendo_ajustes_ = false;
}

AjustesEstiramiento VentanaEstiramiento::ajustes() const
{
    AjustesEstiramiento a;
    a.modo = modo_cmb->currentData().toString();
    a.constantes = constantes_cmb->currentData().toString();
    a.terminos = serie_cmb->currentData().toInt();
    a.edad_rift_fija = edad_rift_chk->isChecked();
    a.edad_rift = edad_rift_spn->value();
    a.corteza = corteza_spn->value();
    a.desde_fija = desde_chk->isChecked();
    a.desde = desde_spn->value();
    a.hasta_fija = hasta_chk->isChecked();
    a.hasta = hasta_spn->value();
    return a;
}

void VentanaEstiramiento::guarda_ajustes() const
{
    guarda_ajustes_estiramiento(ajustes());
}

PeticionAjuste VentanaEstiramiento::peticion() const
{
    return peticion_de(ajustes());
}

void VentanaEstiramiento::actualiza(const Store& s)
{
    *columna_ = s;
    tiradas_.reset();
    const ResultadoHistoria h = calcula_historia(s, curva_en_uso());
    puntos_ = h.ok() ? puntos_de_historia(h.historia) : std::vector<PuntoSubsidencia>{};
    sin_historia_ = h.ok() ? std::string() : h.error;
    if (h.ok() && h.historia.pasos.empty())
        sin_historia_ = "La columna no tiene bancos: no hay historia de enterramiento que ajustar.";
    ajusta();
}

void VentanaEstiramiento::ajusta()
{
    figura_.puntos = puntos_;
    figura_.peticion = peticion();
    if (!sin_historia_.empty()) {
        figura_.ajuste = AjusteEstiramiento{};
        figura_.ajuste.error = sin_historia_;
    } else {
        figura_.ajuste = ajusta_estiramiento(puntos_, figura_.peticion);
    }
    guardar_imagen->accion()->setEnabled(figura_.ajuste.ok());
    guardar_btn->setEnabled(figura_.ajuste.ok());
    copiar_btn->setEnabled(figura_.ajuste.ok());
    calcula_bandas();
    muestra_resultados();
    lienzo->update();
}

void VentanaEstiramiento::calcula_bandas()
{
    figura_.bandas.clear();
    figura_.banda_beta = BandaEstiramiento{};
    const AjustesIncertidumbre a = lee_ajustes_incertidumbre();
    if (!a.activa || !figura_.ajuste.ok()) {
        calculo->cancela();
        return;
    }
    // The draws take the column as it is now and the same sea-level curve as
    // the history fitted; those already made are only refitted.
    std::shared_ptr<const ResultadoIncertidumbre> hechas = tiradas_;
    auto columna = std::make_shared<const Store>(*columna_);
    // The curve in force now, copied into the draws (the user may choose
    // another meanwhile).
    const CurvaNivelMar& curva = curva_en_uso();
    auto tiradas = std::make_shared<std::shared_ptr<const ResultadoIncertidumbre>>(hechas);
    auto banda = std::make_shared<BandaEstiramiento>();
    const PeticionAjuste peticion = figura_.peticion;
    calculo->lanza(
        hechas ? a.tiradas : 2 * a.tiradas,
        [columna, curva, tiradas, banda, a, peticion](ControlCalculo& control) {
            if (!*tiradas)
                *tiradas = std::make_shared<const ResultadoIncertidumbre>(calcula_incertidumbre(
                    *columna, curva, a.rangos, a.tiradas, a.semilla, hilos_de_calculo(), &control));
            if ((*tiradas)->ok())
                *banda = reajusta_estiramiento(**tiradas, peticion, hilos_de_calculo(), &control);
        },
        [this, tiradas, banda] {
            const ResultadoIncertidumbre& r = **tiradas;
            if (!r.ok()) {
                calculo->muestra_fallo(fallo_de_bandas(QString::fromStdString(r.error)));
                return;
            }
            tiradas_ = *tiradas;
            figura_.bandas = r.bandas;
            figura_.banda_beta = *banda;
            // The band around the points stands without beta's interval.
            if (!banda->ok())
                calculo->muestra_fallo(
                    QString::fromUtf8("No se pudo calcular el intervalo de β y de la edad del "
                                      "rift: ") +
                    QString::fromStdString(banda->error));
            muestra_resultados();
            lienzo->update();
        });
}

QString VentanaEstiramiento::texto_resultados() const
{
    const AjusteEstiramiento& a = figura_.ajuste;
    if (!a.ok()) return QString::fromStdString(a.error);
    QString t;
    t += QString::fromUtf8("β = %1\n").arg(numero(a.beta, 3));
    t += QString::fromUtf8("Edad del rift: %1 Ma%2\n")
             .arg(numero(a.edad_rift, 2),
                  figura_.peticion.edad_rift ? QString::fromUtf8(" (fija)") : QString());
    t += QString::fromUtf8("Error rms: %1 m\n").arg(numero(a.rms, 1));
    t += QString::fromUtf8("Puntos: %1\n").arg(a.puntos);
    const BandaEstiramiento& b = figura_.banda_beta;
    if (!figura_.bandas.empty() && b.ok())
        t += QString::fromUtf8("β al 95 %: de %1 a %2\nEdad del rift al 95 %: de %3 a %4 Ma\n")
                 .arg(numero(b.beta[0], 3), numero(b.beta[2], 3), numero(b.edad_rift[0], 2),
                      numero(b.edad_rift[2], 2));
    if (a.en_limite)
        t += QString::fromUtf8("Atención: el resultado está en un límite de la búsqueda "
                               "(beta entre 1 y 20, edad del rift entre %1 y %2 Ma).\n")
                 .arg(numero(a.edad_rift_minima, 2), numero(a.edad_rift_maxima, 2));
    t += constantes_lbl->text() + "\n";
    // The program's table goes unnamed, as it always went.
    if (curva_a_la_vista()) t += texto_de_curva() + "\n";
    return t;
}

void VentanaEstiramiento::muestra_resultados()
{
    const ModeloEstiramiento& m = figura_.peticion.modelo;
    const ConstantesEstiramiento& c = m.constantes;
    constantes_lbl->setText(
        QString::fromUtf8("%1: a = %2 m, tc = %3 m, α = %4 1/K, Tm = %5 °C, "
                          "κ = %6 m²/s, ρm = %7, ρc = %8, ρw = %9 kg/m³, "
                          "año = %10 días, τ = %11 Ma; %12, %13.")
            .arg(QString::fromUtf8(c.nombre), numero(c.litosfera, 0), numero(m.corteza, 0))
            .arg(c.expansion)
            .arg(numero(c.temperatura_base, 0))
            .arg(c.difusividad)
            .arg(numero(c.densidad_manto, 0), numero(c.densidad_corteza, 0),
                 numero(c.densidad_agua, 0), numero(c.dias_por_anio, 2), numero(tau_termico(c), 2))
            .arg(m.modo == ModoEstiramiento::total ? QString::fromUtf8("subsidencia total")
                                                   : QString::fromUtf8("sólo térmica"),
                 m.terminos == 1 ? QString::fromUtf8("un término")
                                 : QString::fromUtf8("serie entera")));
    const AjusteEstiramiento& a = figura_.ajuste;
    if (!a.ok()) {
        resultado_lbl->setText(QString::fromStdString(a.error));
        return;
    }
    QString t = texto_resultados();
    t.chop(constantes_lbl->text().size() + 1);
    resultado_lbl->setText(t.trimmed());
}

bool VentanaEstiramiento::guarda_imagen(const QString& ruta, QString* error)
{
    if (!figura_.ajuste.ok()) {
        if (error)
            *error = QString("No se guardó «%1»: %2")
                         .arg(ruta, QString::fromStdString(figura_.ajuste.error));
        return false;
    }
    return tev::guarda_imagen(
        ruta, con_curva_en_uso(dibujo_del_estiramiento(figura_, lienzo->size())), error);
}

void VentanaEstiramiento::contextMenuEvent(QContextMenuEvent* e)
{
    guardar_imagen->ofrece(e->globalPos());
}

VentanaEstiramiento* muestra_estiramiento(QPointer<VentanaEstiramiento>& ventana, const Store& s)
{
    if (!ventana) ventana = new VentanaEstiramiento();
    ventana->actualiza(s);
    ventana->show();
    ventana->raise();
    return ventana;
}

} // namespace tev
