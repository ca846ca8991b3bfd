#include "bed_dialog/form2.h"

#include "bed_dialog/panel_de_estado.h"
#include "compute/nivel_mar.h"
#include "drawing/unidades.h"
#include "model/bancos_sin_roca.h"
#include "model/densidad.h"
#include "model/litologias.h"
#include "model/store.h"
#include "text_forms/formas_numericas.h"
#include "window_helpers/linea_de_avisos.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <cmath>
#include <iterator>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

namespace tev {

namespace {

std::string texto(const QLineEdit* e)
{
    return e->text().toStdString();
}

// Writes a box only when its text changes: the capture runs on every pointer
// movement and most runs change nothing.
void pon_texto(QLineEdit* e, const QString& t)
{
    if (e->text() != t) e->setText(t);
}
void pon_texto(QLineEdit* e, const std::string& t)
{
    pon_texto(e, QString::fromStdString(t));
}

void pon_texto(QComboBox* c, const QString& t)
{
    if (c->currentText() != t) c->setEditText(t);
}

// Sketch of a bed between the depth boxes and the lithology box.
const int kBoceto[6][4] = {
    {2760, 840, 2760, 1800},  // vertical stroke
    {2760, 960, 3360, 960},   // top tick
    {2760, 1680, 3480, 1680}, // bottom tick
    {3360, 960, 3480, 1200},  // zigzag right edge
    {3480, 1200, 3360, 1320}, {3360, 1320, 3480, 1680},
};

// The layout was drawn for a narrower face than most desktops have: a caption
// that does not fit its label is narrowed until it does, never cut short.
void ajusta_al_ancho(QLabel* l)
{
    QFont f = l->font();
    for (int estiramiento = 100; estiramiento >= 60; estiramiento -= 4) {
        f.setStretch(estiramiento);
        if (QFontMetrics(f).horizontalAdvance(l->text()) <= l->width()) break;
    }
    l->setFont(f);
}

// The same for a combo box: every item of its list fits the edit field.
void ajusta_al_ancho(QComboBox* c)
{
    QStyleOptionComboBox opcion;
    opcion.initFrom(c);
    opcion.editable = c->isEditable();
    const int ancho =
        c->style()
            ->subControlRect(QStyle::CC_ComboBox, &opcion, QStyle::SC_ComboBoxEditField, c)
            .width() -
        4; // the edit's own margins
    QFont f = c->font();
    for (int estiramiento = 100; estiramiento >= 60; estiramiento -= 4) {
        f.setStretch(estiramiento);
        const QFontMetrics m(f);
        bool cabe = true;
        for (int i = 0; i < c->count(); ++i)
            cabe = cabe && m.horizontalAdvance(c->itemText(i)) <= ancho;
        if (cabe) break;
    }
    c->setFont(f);
}

// One control of the layout, in the order the layout was drawn (later ones lie
// over earlier ones). Its kind is that of the member that keeps it.
struct Control {
    void (*crea)(Form2& f, const Control& c);
    const char* nombre;
    const char* texto;                  // caption, title or first text; nullptr: none
    int izquierda, arriba, ancho, alto; // twips of the dialog or of its frame
    QGroupBox* Form2::*marco = nullptr; // the frame holding it; none: the dialog
};

// Makes the control kept in member m of the dialog as row c describes it.
template <auto m> void crea(Form2& f, const Control& c)
{
    using Tipo = std::remove_pointer_t<std::remove_reference_t<decltype(f.*m)>>;
    QWidget* padre = c.marco ? static_cast<QWidget*>(f.*c.marco) : &f;
    Tipo* w = nullptr;
    // A control that shows a text takes it on creation.
    if constexpr (std::is_constructible_v<Tipo, QString, QWidget*>)
        w = new Tipo(QString::fromUtf8(c.texto), padre);
    else
        w = new Tipo(padre);
    w->setObjectName(c.nombre);
    if constexpr (std::is_same_v<Tipo, QComboBox>) {
        // An editable list whose typed text stays as typed: nothing typed
        // joins the list and nothing is completed from it.
        w->setEditable(true);
        w->setInsertPolicy(QComboBox::NoInsert);
        w->setCompleter(nullptr);
    }
    w->setGeometry(twips(c.izquierda, c.arriba, c.ancho, c.alto));
    if constexpr (std::is_same_v<Tipo, QLabel>) ajusta_al_ancho(w);
    f.*m = w;
}

constexpr Control kControles[] = {
    {crea<&Form2::Label10>, "Label10", "Nombre", 240, 120, 735, 255},
    {crea<&Form2::Text7>, "Text7", "", 1680, 120, 3255, 285},
    {crea<&Form2::HScroll1>, "HScroll1", nullptr, 5400, 135, 1095, 255},
    {crea<&Form2::Label11>, "Label11", "", 6720, 135, 615, 255},
    {crea<&Form2::Label2>, "Label2", "Techo en metros", 240, 840, 1215, 255},
    {crea<&Form2::Text1>, "Text1", "", 1680, 825, 735, 285},
    {crea<&Form2::Label3>, "Label3", "Litología", 3720, 840, 735, 255},
    {crea<&Form2::Combo1>, "Combo1", nullptr, 3720, 1080, 1215, 315},
    {crea<&Form2::Label6>, "Label6", "Edad del techo", 5280, 855, 1215, 255},
    {crea<&Form2::Text6>, "Text6", "", 6720, 840, 735, 285},
    {crea<&Form2::Label8>, "Label8", "Ma", 7560, 855, 375, 255},
    {crea<&Form2::Label1>, "Label1", "Base en metros", 240, 1560, 1215, 255},
    {crea<&Form2::Text2>, "Text2", "", 1680, 1545, 735, 285},
    {crea<&Form2::Label7>, "Label7", "Edad de la base", 5280, 1575, 1215, 255},
    {crea<&Form2::Text5>, "Text5", "", 6720, 1560, 735, 285},
    {crea<&Form2::Label9>, "Label9", "Ma", 7560, 1575, 375, 255},

    {crea<&Form2::Frame2>, "Frame2", "Litologías porcentuales", 360, 2400, 4575, 1095},
    {crea<&Form2::Label15>, "Label15", "Arenisca", 480, 360, 855, 255, &Form2::Frame2},
    {crea<&Form2::Text9>, "Text9", "100", 480, 600, 615, 285, &Form2::Frame2},
    {crea<&Form2::Label16>, "Label16", "Pelita", 1560, 360, 615, 255, &Form2::Frame2},
    {crea<&Form2::Text10>, "Text10", "0", 1560, 600, 615, 285, &Form2::Frame2},
    {crea<&Form2::Label17>, "Label17", "Caliza", 2640, 360, 615, 255, &Form2::Frame2},
    {crea<&Form2::Text11>, "Text11", "0", 2640, 600, 615, 285, &Form2::Frame2},
    {crea<&Form2::Label18>, "Label18", "Evaporita", 3720, 360, 735, 255, &Form2::Frame2},
    {crea<&Form2::Text12>, "Text12", "0", 3720, 600, 615, 285, &Form2::Frame2},

    {crea<&Form2::Label13>, "Label13", "Paleobatimetría", 5280, 2415, 1215, 255},
    {crea<&Form2::Text8>, "Text8", "100", 6720, 2400, 735, 285},
    {crea<&Form2::Label14>, "Label14", "m", 7560, 2415, 375, 255},
    {crea<&Form2::Label19>, "Label19", "ERROR DE PORCENTAJES", 5280, 3240, 2175, 255},
    {crea<&Form2::Label12>, "Label12", "Color", 5280, 3600, 735, 255},
    {crea<&Form2::Combo2>, "Combo2", nullptr, 5280, 3840, 1095, 315},
    {crea<&Form2::Shape1>, "Shape1", nullptr, 6720, 3870, 255, 255},

    {crea<&Form2::Frame1>, "Frame1", "Variables", 240, 3720, 4695, 1215},
    {crea<&Form2::Label4>, "Label4", "Porosidad en superficie", 120, 375, 1815, 255,
     &Form2::Frame1},
    {crea<&Form2::Text3>, "Text3", "0.63", 3240, 360, 855, 285, &Form2::Frame1},
    {crea<&Form2::Label5>, "Label5", "Coeficiente porosidad-profundidad", 120, 735, 2535, 255,
     &Form2::Frame1},
    {crea<&Form2::Text4>, "Text4", "0.51", 3240, 720, 855, 285, &Form2::Frame1},

    {crea<&Form2::Command2>, "Command2", "Terminar", 6720, 4560, 855, 375},
    {crea<&Form2::StatusBar1>, "StatusBar1", nullptr, 0, 5310, 8145, 255},
};

// An opaque background of colour c.
void pon_fondo(QWidget* w, const QColor& c)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, c);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

const char* const kMarcaCasilla = "QLineEdit { background-color: #ffd6d6; }";
// A bed computed without a rock: orange, apart from the red of a refused text.
const char* const kFondoSinRoca = "background-color: #ffe0b0;";

// Colours w (its own style-sheet rule, by selector) and gives it tip as its
// tool tip; an empty tip takes both away.
void pinta_sin_roca(QWidget* w, const char* selector, const QString& tip)
{
    const QString estilo =
        tip.isEmpty() ? QString() : QString("%1 { %2 }").arg(selector, kFondoSinRoca);
    if (w->styleSheet() != estilo) w->setStyleSheet(estilo);
    if (w->toolTip() != tip) w->setToolTip(tip);
}

} // namespace

Form2::Form2(Store& s) : QWidget(nullptr), s_(s)
{
    setObjectName("Form2");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle("Nuevo");
    setFixedSize(8145 / kTwipsPorPixel, 5565 / kTwipsPorPixel);
    // A bare movement of the pointer over the dialog surface is a capture;
    // the controls keep their own movements.
    setMouseTracking(true);
    // The small type the layout was drawn for.
    QFont letra = font();
    letra.setPointSize(8);
    setFont(letra);
    crea_controles();
    muestra_banco(); // Form_Load
    // Escape closes the dialog as its frame's close button does, so what was
    // typed reaches the bed (closeEvent).
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setObjectName("escape_cierra");
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

void Form2::crea_controles()
{
    for (const Control& c : kControles)
        c.crea(*this, c);

    // The scroll bar steps one bed at a time, on its arrows and its keys.
    HScroll1->setOrientation(Qt::Horizontal);
    HScroll1->setRange(1, 100);
    HScroll1->setSingleStep(1);
    HScroll1->setPageStep(1);
    HScroll1->setValue(1);
    // A drag of the thumb changes the bed when it ends.
    HScroll1->setTracking(false);
    HScroll1->setFocusPolicy(Qt::StrongFocus);
    // The arrow keys step from bed to bed while the scroll bar has the focus.
    HScroll1->installEventFilter(this);

    for (const Litologia& l : tabla_litologias)
        Combo1->addItem(l.nombre);
    Combo1->addItem(kPorcentual);
    // The type fits the six of the program; the user's names may be longer.
    ajusta_al_ancho(Combo1);
    pon_litologias_usuario();
    Combo1->setEditText("Pelitas");
    for (const FilaColor& c : tabla_colores)
        Combo2->addItem(c.nombre);
    ajusta_al_ancho(Combo2);
    Combo2->setEditText("Blanco");

    // The percentage check stands out in yellow, hidden until a sum is wrong.
    pon_fondo(Label19, color_de(0x00FFFF));
    Label19->hide();

    // The swatch takes no pointer events: over it the pointer is on the
    // dialog surface.
    Shape1->setAttribute(Qt::WA_TransparentForMouseEvents);
    pon_fondo(Shape1, palette().color(QPalette::Window));

    // Enter presses it while it has the focus, as in a dialog.
    Command2->setAutoDefault(true);

    StatusBar1->setSizeGripEnabled(false);
    const int anchos[3] = {1440, 1440, 2000};
    // The bed's name may widen its panel into the room the other two leave
    // in the bar (less the bar's spacing); the others keep their widths.
    const int sitio = StatusBar1->width() - (anchos[0] + anchos[2]) / kTwipsPorPixel - 40;
    for (int i = 0; i < 3; ++i) {
        const int ancho = anchos[i] / kTwipsPorPixel;
        paneles_[i] = new PanelDeEstado(StatusBar1, ancho, i == 1 ? sitio : ancho);
        paneles_[i]->setObjectName(QString("Panel%1").arg(i + 1));
        StatusBar1->addWidget(paneles_[i]);
    }
    avisos_sin_roca = new LineaDeAvisos(StatusBar1);
    avisos_sin_roca->setObjectName("avisos_sin_roca");
    StatusBar1->addWidget(avisos_sin_roca, 1);

    // Every control keeps the pointer movements over it for itself.
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w != Shape1) w->setAttribute(Qt::WA_NoMousePropagation);

    QWidget* orden[] = {Command2, Text1,    Text2,  Combo1, Text3, Text4,  Text5,  Text6,
                        Text7,    HScroll1, Combo2, Text8,  Text9, Text10, Text11, Text12};
    for (size_t i = 0; i + 1 < std::size(orden); ++i)
        setTabOrder(orden[i], orden[i + 1]);
    Command2->setFocus();

    connect(HScroll1, &QScrollBar::valueChanged, this, &Form2::HScroll1_valor_cambiado);
    connect(Command2, &QPushButton::clicked, this, &Form2::Command2_Click);

    // Whatever the user types or chooses is pending until a capture takes it.
    const auto pendiente = [this] { pendiente_ = true; };
    for (QLineEdit* e : {Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8, Text9, Text10,
                         Text11, Text12, Combo1->lineEdit(), Combo2->lineEdit()})
        connect(e, &QLineEdit::textEdited, this, pendiente);
    for (QComboBox* c : {Combo1, Combo2})
        connect(c, &QComboBox::activated, this, pendiente);
    connect(Combo1, &QComboBox::editTextChanged, this, &Form2::habilita_porcentajes);
}

void Form2::pon_litologias_usuario()
{
    const QString texto = Combo1->currentText();
    while (Combo1->count() > kEntradasDelPrograma)
        Combo1->removeItem(Combo1->count() - 1);
    if (!s_.litologias_usuario.empty()) {
        Combo1->insertSeparator(kEntradasDelPrograma);
        for (const LitologiaUsuario& u : s_.litologias_usuario)
            Combo1->addItem(QString::fromStdString(u.nombre));
    }
    // The list is as wide as its longest name, the box keeps its size.
    Combo1->view()->setMinimumWidth(
        s_.litologias_usuario.empty() ? 0 : Combo1->view()->sizeHintForColumn(0) + 8);
    pon_texto(Combo1, texto);
}

void Form2::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(QPen(Qt::black, 1));
    for (const auto& l : kBoceto)
        p.drawLine(l[0] / kTwipsPorPixel, l[1] / kTwipsPorPixel, l[2] / kTwipsPorPixel,
                   l[3] / kTwipsPorPixel);
}

void Form2::mouseMoveEvent(QMouseEvent*)
{
    Form_MouseMove();
}

void Form2::closeEvent(QCloseEvent* e)
{
    // Closed by its frame: what was typed still reaches the bed.
    captura_pendiente();
    QWidget::closeEvent(e);
}

void Form2::captura_pendiente()
{
    if (pendiente_) captura(banco_mostrado_);
}

void Form2::habilita_porcentajes()
{
    const bool porcentual = Combo1->currentText() == QLatin1String(kPorcentual);
    for (QLineEdit* e : {Text9, Text10, Text11, Text12})
        if (e->isEnabled() != porcentual) e->setEnabled(porcentual);
}

void Form2::pinta_muestra(int32_t color)
{
    const QColor q = color_de(color);
    if (Shape1->palette().color(QPalette::Window) != q) {
        QPalette p = Shape1->palette();
        p.setColor(QPalette::Window, q);
        Shape1->setPalette(p);
    }
}

void Form2::pinta_marca(QLineEdit* casilla, const QString& motivo)
{
    const QString estilo = motivo.isEmpty() ? QString() : QString(kMarcaCasilla);
    if (casilla->styleSheet() != estilo) casilla->setStyleSheet(estilo);
    if (casilla->toolTip() != motivo) casilla->setToolTip(motivo);
}

void Form2::marca(int b, QLineEdit* casilla, const QString& motivo)
{
    marcas_[b][casilla] = {casilla->text(), motivo};
    pinta_marca(casilla, motivo);
}

void Form2::desmarca(int b, QLineEdit* casilla)
{
    const auto banco = marcas_.find(b);
    if (banco != marcas_.end()) {
        banco->second.erase(casilla);
        if (banco->second.empty()) marcas_.erase(banco);
    }
    pinta_marca(casilla, QString());
}

void Form2::marca_sin_roca(int b)
{
    QString litologia;
    QString porcentajes;
    QString porosidad;
    QString coeficiente;
    QStringList todos;
    for (const AvisoSinRoca& a : bancos_sin_roca(s_)) {
        if (a.banco != b) continue;
        const QString texto = QString::fromStdString(a.texto);
        todos << texto;
        switch (a.motivo) {
        case MotivoSinRoca::litologia_desconocida:
            litologia = texto;
            break;
        case MotivoSinRoca::porcentajes:
            porcentajes = texto;
            break;
        case MotivoSinRoca::porosidad:
            porosidad = texto;
            break;
        case MotivoSinRoca::coeficiente:
            coeficiente = texto;
            break;
        }
    }
    avisos_sin_roca->pon_avisos(todos);
    pinta_sin_roca(Combo1, "QComboBox", litologia);
    // The frame, not the boxes: theirs are the marks of what they refused.
    pinta_sin_roca(Frame2, "QGroupBox#Frame2", porcentajes);
    const auto banco = marcas_.find(b);
    for (const auto& [casilla, aviso] : {std::pair{Text3, porosidad}, {Text4, coeficiente}}) {
        QString rechazo;
        if (banco != marcas_.end()) {
            const auto it = banco->second.find(casilla);
            if (it != banco->second.end()) rechazo = it->second.motivo;
        }
        if (!aviso.isEmpty() && rechazo.isEmpty())
            pinta_sin_roca(casilla, "QLineEdit", aviso);
        else
            pinta_marca(casilla, aviso.isEmpty() ? rechazo : rechazo + '\n' + aviso);
    }
}

bool Form2::eventFilter(QObject* objeto, QEvent* e)
{
    if (objeto == HScroll1 && e->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent*>(e)->key();
        if (tecla == Qt::Key_Right || tecla == Qt::Key_Down) {
            HScroll1->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            return true;
        }
        if (tecla == Qt::Key_Left || tecla == Qt::Key_Up) {
            HScroll1->triggerAction(QAbstractSlider::SliderSingleStepSub);
            return true;
        }
    }
    return QWidget::eventFilter(objeto, e);
}

QString Form2::panel(int i) const
{
    return paneles_[i - 1]->text();
}

void Form2::muestra_banco()
{
    const int b = s_.banco_actual;
    banco_mostrado_ = b;
    // Moving the scroll bar from here runs the navigation handler, but it is
    // not the user leaving a bed: nothing is captured.
    ++moviendo_barra_;
    HScroll1->setValue(b);
    --moviendo_barra_;
    pon_texto(Combo1, QString::fromStdString(s_.litologia[b]));
    pon_texto(Text1, forma_corta(s_.techo[b]));
    pon_texto(Text2, forma_corta(s_.base[b]));
    pon_texto(Text3, forma_corta(s_.porosidad[b]));
    pon_texto(Text4, forma_corta(s_.coef_porosidad[b]));
    pon_texto(Text6, forma_corta(s_.edad_techo[b]));
    pon_texto(Text5, forma_corta(s_.edad_base[b]));
    pon_texto(Text9, forma_corta(s_.pct_arenisca[b]));
    pon_texto(Text10, forma_corta(s_.pct_pelita[b]));
    pon_texto(Text11, forma_corta(s_.pct_caliza[b]));
    pon_texto(Text12, forma_corta(s_.pct_evaporita[b]));
    pon_texto(Text7, QString::fromStdString(s_.nombre[b]));
    pon_texto(Text8, forma_corta(s_.paleobatimetria[b]));
    // A colour outside the table shows no name, so that no capture can
    // write another colour into the bed; the swatch shows the bed's own.
    QString nombre_color;
    for (const FilaColor& c : tabla_colores)
        if (s_.color[b] == c.valor) nombre_color = QString::fromUtf8(c.nombre);
    pon_texto(Combo2, nombre_color);
    pinta_muestra(s_.color[b]);

    // Boxes this bed could not take show the text again, with its mark.
    QLineEdit* const casillas[] = {Text1, Text2, Text3,  Text4,  Text5, Text6,
                                   Text8, Text9, Text10, Text11, Text12};
    const auto banco = marcas_.find(b);
    for (QLineEdit* e : casillas) {
        const Marca* m = nullptr;
        if (banco != marcas_.end()) {
            const auto it = banco->second.find(e);
            if (it != banco->second.end()) m = &it->second;
        }
        if (m) pon_texto(e, m->texto);
        pinta_marca(e, m ? m->motivo : QString());
    }

    // The percentage boxes and their check are those of this bed.
    habilita_porcentajes();
    if (s_.litologia[b] == kPorcentual) {
        auto lee = [](const QLineEdit* e) { return lee_numero_inicial(texto(e)); };
        Label19->setVisible(
            !mezcla_porcentual(lee(Text9), lee(Text10), lee(Text11), lee(Text12)).suma_cien());
    } else {
        Label19->hide();
    }
    marca_sin_roca(b);
    pendiente_ = false;
}

void Form2::rellena()
{
    muestra_banco();
    muestra_estado();
}

void Form2::Form_MouseMove()
{
    captura(HScroll1->value());
}

void Form2::lee_casilla(int b, QLineEdit* casilla, float& campo)
{
    const std::string t = texto(casilla);
    const std::optional<float> v = lee_numero_completo(t);
    if (v) {
        campo = *v;
        desmarca(b, casilla);
        return;
    }
    // The bed keeps its previous value; the box says why until it is mended.
    const QString anterior = QString::fromStdString(forma_corta(campo));
    const QString motivo =
        t.find_first_not_of(" \t") == std::string::npos
            ? QString::fromUtf8(
                  "La casilla está vacía: el banco %1 conserva su valor anterior, %2.")
                  .arg(b)
                  .arg(anterior)
            : QString::fromUtf8("«%1» no es un número: el banco %2 conserva su valor anterior, %3.")
                  .arg(casilla->text())
                  .arg(b)
                  .arg(anterior);
    marca(b, casilla, motivo);
}

void Form2::lee_inicial(int b, QLineEdit* casilla, float& campo)
{
    const QString t = casilla->text();
    const LecturaInicial l = lee_numero_inicial_con_resto(t.toStdString());
    const auto v = static_cast<float>(l.valor);
    if (!std::isfinite(v)) {
        marca(b, casilla,
              QString::fromUtf8("«%1» no cabe en un número de precisión simple: el banco %2 "
                                "conserva su valor anterior, %3.")
                  .arg(t)
                  .arg(b)
                  .arg(QString::fromStdString(forma_corta(campo))));
        return;
    }
    campo = v;
    const QString leido = QString::fromStdString(forma_corta(v));
    if (l.sin_numero) {
        marca(b, casilla,
              l.resto.empty()
                  ? QString::fromUtf8("La casilla está vacía: se leyó como 0.")
                  : QString::fromUtf8("«%1» no empieza con un número: se leyó como 0.").arg(t));
    } else if (!l.resto.empty()) {
        marca(b, casilla,
              l.resto[0] == ','
                  ? QString::fromUtf8("«%1» se leyó como %2: el separador decimal es el punto.")
                        .arg(t, leido)
                  : QString::fromUtf8("«%1» se leyó como %2: «%3» no se tuvo en cuenta.")
                        .arg(t, leido, QString::fromStdString(l.resto)));
    } else {
        desmarca(b, casilla);
    }
}

void Form2::captura(int b)
{
    // 1. The bed being captured.
    s_.banco_actual = static_cast<int16_t>(b);
    double densidad_grano = 0; // unset until a lithology sets it

    // 2. Lithology defaults.
    const QString litologia = Combo1->currentText();
    if (const Litologia* l = busca_litologia(litologia.toStdString())) {
        pon_texto(Text3, QString::fromLatin1(l->porosidad));
        pon_texto(Text4, QString::fromLatin1(l->coeficiente));
        densidad_grano = l->densidad_grano;
    } else if (const LitologiaUsuario* u =
                   busca_litologia_usuario(s_.litologias_usuario, litologia.toStdString())) {
        // One of the user's rocks fills the boxes as the five do.
        pon_texto(Text3, forma_corta(u->porosidad));
        pon_texto(Text4, forma_corta(u->coef_porosidad));
        densidad_grano = u->densidad_grano;
    }

    // 3. Percentage lithology.
    QLineEdit* const porcentajes[4] = {Text9, Text10, Text11, Text12};
    if (litologia != QLatin1String(kPorcentual)) {
        for (QLineEdit* e : porcentajes)
            e->setEnabled(false);
    } else {
        for (QLineEdit* e : porcentajes)
            e->setEnabled(true);
        // The mix is made of what the bed keeps: a box it refuses counts with
        // the bed's own value.
        const float* const guardados[4] = {&s_.pct_arenisca[b], &s_.pct_pelita[b],
                                           &s_.pct_caliza[b], &s_.pct_evaporita[b]};
        auto lee = [&](int k) {
            const std::string t = texto(porcentajes[k]);
            return lee_numero_completo(t) ? lee_numero_inicial(t)
                                          : static_cast<double>(*guardados[k]);
        };
        const MezclaPorcentual m = mezcla_porcentual(lee(0), lee(1), lee(2), lee(3));
        Label19->setVisible(!m.suma_cien());
        pon_texto(Text3, forma_con_signo(m.porosidad));
        pon_texto(Text4, forma_con_signo(m.coeficiente));
        densidad_grano = m.densidad_grano;
    }

    // 4. Store the bed.
    s_.litologia[b] = litologia.toStdString();
    lee_inicial(b, Text1, s_.techo[b]);
    lee_inicial(b, Text2, s_.base[b]);
    lee_inicial(b, Text3, s_.porosidad[b]);
    lee_inicial(b, Text4, s_.coef_porosidad[b]);
    lee_inicial(b, Text6, s_.edad_techo[b]);
    lee_inicial(b, Text5, s_.edad_base[b]);
    lee_casilla(b, Text9, s_.pct_arenisca[b]);
    lee_casilla(b, Text10, s_.pct_pelita[b]);
    lee_casilla(b, Text11, s_.pct_caliza[b]);
    lee_casilla(b, Text12, s_.pct_evaporita[b]);

    // 5. Sea level at the top age.
    buscatiempo(s_, b);

    // 6 and 7. Swatch and colour; a text that names no colour changes neither.
    const QString color = Combo2->currentText();
    for (const FilaColor& c : tabla_colores) {
        if (color == QLatin1String(c.nombre)) {
            pinta_muestra(c.valor);
            s_.color[b] = c.valor;
        }
    }

    // 8 and 9. Name and paleobathymetry.
    s_.nombre[b] = texto(Text7);
    lee_casilla(b, Text8, s_.paleobatimetria[b]);

    // 10. Status panels and bed number.
    muestra_estado();

    // 11. Surface bulk density, with the bed's own grains where it has them.
    if (tiene_densidad_grano(s_, b)) densidad_grano = s_.densidad_grano[b];
    s_.densidad[b] = densidad_de_superficie(s_.porosidad[b], densidad_grano);
    marca_sin_roca(b);
    pendiente_ = false;
    emit capturado();
}

void Form2::muestra_estado()
{
    const int b = s_.banco_actual;
    paneles_[0]->pon_texto(QString::fromStdString("Banco No.  " + forma_con_signo(b)));
    paneles_[1]->pon_texto(QString::fromStdString(s_.nombre[b]));
    paneles_[2]->pon_texto(
        QString::fromStdString("Total de bancos  " + forma_con_signo(int(s_.n_bancos))));
    Label11->setText(QString::fromStdString(forma_con_signo(b)));
}

void Form2::HScroll1_valor_cambiado()
{
    // The user leaves bed banco_mostrado_: what the boxes hold goes into it
    // before they show the next bed.
    if (moviendo_barra_ == 0) captura_pendiente();
    HScroll1_Change();
}

void Form2::HScroll1_Change()
{
    const int p = HScroll1->value();
    const bool nuevo = p > s_.n_bancos;
    if (nuevo) s_.n_bancos = static_cast<int16_t>(s_.n_bancos + 1);
    s_.banco_actual = static_cast<int16_t>(p);
    muestra_banco();
    if (p > 1) {
        pon_texto(Text2, forma_corta(s_.techo[p - 1]));
        pon_texto(Text5, forma_corta(s_.edad_techo[p - 1]));
        for (QLineEdit* e : {Text2, Text5})
            desmarca(p, e);
        // A new bed takes the suggested base as if it had been typed.
        if (nuevo) pendiente_ = true;
    }
    muestra_estado();
    if (nuevo) emit capturado();
}

void Form2::Command2_Click()
{
    // What was typed since the last pointer movement counts.
    captura_pendiente();
    emit terminado();
    hide();
}

} // namespace tev
