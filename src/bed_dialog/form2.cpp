#include "bed_dialog/form2.h"

#include "compute/nivel_mar.h"
#include "drawing/unidades.h"
#include "model/litologias.h"
#include "model/store.h"
#include "text_forms/formas_numericas.h"

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
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <cmath>
#include <iterator>
#include <optional>
#include <string>

namespace tev {

const FilaColor tabla_colores[8] = {
    {"Blanco", 0xFFFFFF}, {"Negro", 0x000000},   {"Azul", 0xFF0000}, {"Cian", 0xFFFF00},
    {"Verde", 0x00FF00},  {"Magenta", 0xFF00FF}, {"Rojo", 0x0000FF}, {"Amarillo", 0x00FFFF},
};

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

const char* const kMarcaCasilla = "QLineEdit { background-color: #ffd6d6; }";

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
}

void Form2::crea_controles()
{
    auto etiqueta = [](QWidget* padre, const char* nombre, const char* t, QRect r) {
        auto* l = new QLabel(QString::fromUtf8(t), padre);
        l->setObjectName(nombre);
        l->setGeometry(r);
        ajusta_al_ancho(l);
        return l;
    };
    auto casilla = [](QWidget* padre, const char* nombre, const char* t, QRect r) {
        auto* e = new QLineEdit(QString::fromUtf8(t), padre);
        e->setObjectName(nombre);
        e->setGeometry(r);
        return e;
    };

    Label10 = etiqueta(this, "Label10", "Nombre", twips(240, 120, 735, 255));
    Text7 = casilla(this, "Text7", "", twips(1680, 120, 3255, 285));
    HScroll1 = new QScrollBar(Qt::Horizontal, this);
    HScroll1->setObjectName("HScroll1");
    HScroll1->setGeometry(twips(5400, 135, 1095, 255));
    HScroll1->setRange(1, 100);
    HScroll1->setSingleStep(1);
    HScroll1->setPageStep(1);
    HScroll1->setValue(1);
    // A drag of the thumb changes the bed when it ends.
    HScroll1->setTracking(false);
    HScroll1->setFocusPolicy(Qt::StrongFocus);
    // The arrow keys step from bed to bed while the scroll bar has the focus.
    HScroll1->installEventFilter(this);
    Label11 = etiqueta(this, "Label11", "", twips(6720, 135, 615, 255));
    Label2 = etiqueta(this, "Label2", "Techo en metros", twips(240, 840, 1215, 255));
    Text1 = casilla(this, "Text1", "", twips(1680, 825, 735, 285));
    Label3 = etiqueta(this, "Label3", "Litología", twips(3720, 840, 735, 255));
    Combo1 = new QComboBox(this);
    Combo1->setObjectName("Combo1");
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    // What is typed stays as typed: no completion from the list.
    Combo1->setCompleter(nullptr);
    for (const Litologia& l : tabla_litologias)
        Combo1->addItem(l.nombre);
    Combo1->addItem(kPorcentual);
    Combo1->setGeometry(twips(3720, 1080, 1215, 315));
    ajusta_al_ancho(Combo1);
    Combo1->setEditText("Pelitas");
    Label6 = etiqueta(this, "Label6", "Edad del techo", twips(5280, 855, 1215, 255));
    Text6 = casilla(this, "Text6", "", twips(6720, 840, 735, 285));
    Label8 = etiqueta(this, "Label8", "Ma", twips(7560, 855, 375, 255));
    Label1 = etiqueta(this, "Label1", "Base en metros", twips(240, 1560, 1215, 255));
    Text2 = casilla(this, "Text2", "", twips(1680, 1545, 735, 285));
    Label7 = etiqueta(this, "Label7", "Edad de la base", twips(5280, 1575, 1215, 255));
    Text5 = casilla(this, "Text5", "", twips(6720, 1560, 735, 285));
    Label9 = etiqueta(this, "Label9", "Ma", twips(7560, 1575, 375, 255));

    Frame2 = new QGroupBox(QString::fromUtf8("Litologías porcentuales"), this);
    Frame2->setObjectName("Frame2");
    Frame2->setGeometry(twips(360, 2400, 4575, 1095));
    Label15 = etiqueta(Frame2, "Label15", "Arenisca", twips(480, 360, 855, 255));
    Text9 = casilla(Frame2, "Text9", "100", twips(480, 600, 615, 285));
    Label16 = etiqueta(Frame2, "Label16", "Pelita", twips(1560, 360, 615, 255));
    Text10 = casilla(Frame2, "Text10", "0", twips(1560, 600, 615, 285));
    Label17 = etiqueta(Frame2, "Label17", "Caliza", twips(2640, 360, 615, 255));
    Text11 = casilla(Frame2, "Text11", "0", twips(2640, 600, 615, 285));
    Label18 = etiqueta(Frame2, "Label18", "Evaporita", twips(3720, 360, 735, 255));
    Text12 = casilla(Frame2, "Text12", "0", twips(3720, 600, 615, 285));

    Label13 = etiqueta(this, "Label13", "Paleobatimetría", twips(5280, 2415, 1215, 255));
    Text8 = casilla(this, "Text8", "100", twips(6720, 2400, 735, 285));
    Label14 = etiqueta(this, "Label14", "m", twips(7560, 2415, 375, 255));
    Label19 = etiqueta(this, "Label19", "ERROR DE PORCENTAJES", twips(5280, 3240, 2175, 255));
    {
        QPalette p = Label19->palette();
        p.setColor(QPalette::Window, color_de(0x00FFFF));
        Label19->setPalette(p);
        Label19->setAutoFillBackground(true);
        Label19->hide();
    }
    Label12 = etiqueta(this, "Label12", "Color", twips(5280, 3600, 735, 255));
    Combo2 = new QComboBox(this);
    Combo2->setObjectName("Combo2");
    Combo2->setEditable(true);
    Combo2->setInsertPolicy(QComboBox::NoInsert);
    Combo2->setCompleter(nullptr);
    for (const FilaColor& c : tabla_colores)
        Combo2->addItem(c.nombre);
    Combo2->setGeometry(twips(5280, 3840, 1095, 315));
    ajusta_al_ancho(Combo2);
    Combo2->setEditText("Blanco");

    // The swatch takes no pointer events: over it the pointer is on the
    // dialog surface.
    Shape1 = new QWidget(this);
    Shape1->setObjectName("Shape1");
    Shape1->setGeometry(twips(6720, 3870, 255, 255));
    Shape1->setAttribute(Qt::WA_TransparentForMouseEvents);
    Shape1->setAutoFillBackground(true);
    {
        QPalette p = Shape1->palette();
        p.setColor(QPalette::Window, palette().color(QPalette::Window));
        Shape1->setPalette(p);
    }

    Frame1 = new QGroupBox("Variables", this);
    Frame1->setObjectName("Frame1");
    Frame1->setGeometry(twips(240, 3720, 4695, 1215));
    Label4 = etiqueta(Frame1, "Label4", "Porosidad en superficie", twips(120, 375, 1815, 255));
    Text3 = casilla(Frame1, "Text3", "0.63", twips(3240, 360, 855, 285));
    Label5 =
        etiqueta(Frame1, "Label5", "Coeficiente porosidad-profundidad", twips(120, 735, 2535, 255));
    Text4 = casilla(Frame1, "Text4", "0.51", twips(3240, 720, 855, 285));

    Command2 = new QPushButton("Terminar", this);
    Command2->setObjectName("Command2");
    // Enter presses it while it has the focus, as in a dialog.
    Command2->setAutoDefault(true);
    Command2->setGeometry(twips(6720, 4560, 855, 375));

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setGeometry(twips(0, 5310, 8145, 255));
    const int anchos[3] = {1440, 1440, 2000};
    for (int i = 0; i < 3; ++i) {
        paneles_[i] = new QLabel(StatusBar1);
        paneles_[i]->setObjectName(QString("Panel%1").arg(i + 1));
        paneles_[i]->setFixedWidth(anchos[i] / kTwipsPorPixel);
        paneles_[i]->setFrameShape(QFrame::Panel);
        paneles_[i]->setFrameShadow(QFrame::Sunken);
        StatusBar1->addWidget(paneles_[i]);
    }

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

    // 11. Surface bulk density.
    s_.densidad[b] = densidad_de_superficie(s_.porosidad[b], densidad_grano);
    pendiente_ = false;
}

void Form2::muestra_estado()
{
    const int b = s_.banco_actual;
    paneles_[0]->setText(QString::fromStdString("Banco No.  " + forma_con_signo(b)));
    paneles_[1]->setText(QString::fromStdString(s_.nombre[b]));
    paneles_[2]->setText(
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
}

void Form2::Command2_Click()
{
    // What was typed since the last pointer movement counts.
    captura_pendiente();
    emit terminado();
    hide();
}

} // namespace tev
