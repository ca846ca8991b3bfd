#include "table_window/tabla_columna.h"

#include "compute/celdas_rangos.h"
#include "compute/historia.h"
#include "compute/tevarro.h"
#include "model/colores.h"
#include "model/litologias.h"
#include "model/store.h"
#include "project_file/archivos.h"
#include "project_file/resultados_csv.h"
#include "table_window/modelo_columna.h"
#include "text_forms/formas_numericas.h"
#include "window_helpers/curva_en_uso.h"
#include "window_helpers/dialogo_de_archivos.h"
#include "window_helpers/linea_de_avisos.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QUndoCommand>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <set>

namespace tev {

namespace {

const char* const kTitulo = "Tabla de la columna";

// The lithology and colour cells edit in a list that takes any text; the
// others in a line whose text is selected, so that typing replaces it.
class DelegadoColumna : public QStyledItemDelegate {
  public:
    DelegadoColumna(const Store& s, QObject* padre) : QStyledItemDelegate(padre), s_(s) {}

    // A cell is one line of plain text: drawn straight, without the text
    // layout and elision of the style's item painting, which took most of a
    // repaint of the table.
    void paint(QPainter* p, const QStyleOptionViewItem& o, const QModelIndex& i) const override
    {
        const bool elegida = (o.state & QStyle::State_Selected) != 0;
        const QVariant fondo = i.data(Qt::BackgroundRole);
        if (elegida)
            p->fillRect(o.rect, o.palette.brush(QPalette::Highlight));
        else if (fondo.isValid())
            p->fillRect(o.rect, fondo.value<QBrush>());
        QRect r = o.rect.adjusted(kMargen, 0, -kMargen, 0);
        const QVariant muestra = i.data(Qt::DecorationRole);
        if (muestra.isValid()) {
            const QRect cuadro(r.left(), r.center().y() - kMuestra / 2, kMuestra, kMuestra);
            p->fillRect(cuadro, muestra.value<QColor>());
            p->setPen(Qt::gray); // a white swatch on a white cell
            p->drawRect(cuadro.adjusted(0, 0, -1, -1));
            r.setLeft(cuadro.right() + 1 + kMargen);
        }
        const QVariant color = i.data(Qt::ForegroundRole);
        p->setPen(elegida           ? o.palette.color(QPalette::HighlightedText)
                  : color.isValid() ? color.value<QBrush>().color()
                                    : o.palette.color(QPalette::Text));
        const auto alineacion = static_cast<Qt::Alignment>(i.data(Qt::TextAlignmentRole).toInt());
        const QString texto = i.data(Qt::DisplayRole).toString();
        // A text wider than its cell is cut with an ellipsis, as the style does.
        p->drawText(r, static_cast<int>(alineacion),
                    o.fontMetrics.horizontalAdvance(texto) <= r.width()
                        ? texto
                        : o.fontMetrics.elidedText(texto, Qt::ElideRight, r.width()));
        if (o.state & QStyle::State_HasFocus) {
            p->setPen(QPen(o.palette.color(QPalette::Highlight).darker(), 1));
            p->drawRect(o.rect.adjusted(0, 0, -1, -1));
        }
    }

    // The room paint needs: what "fit the columns to their contents" measures.
    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem& o, const QModelIndex& i) const override
    {
        int ancho =
            o.fontMetrics.horizontalAdvance(i.data(Qt::DisplayRole).toString()) + 2 * kMargen;
        if (i.data(Qt::DecorationRole).isValid()) ancho += kMuestra + kMargen;
        return {ancho, o.fontMetrics.height() + 2 * kMargen};
    }

  private:
    static constexpr int kMargen = 4;   // pixels between a cell's edge and its text
    static constexpr int kMuestra = 12; // side of a colour's swatch, pixels
    const Store& s_;

    QWidget* createEditor(QWidget* padre, const QStyleOptionViewItem& o,
                          const QModelIndex& i) const override
    {
        if (i.column() != kColLitologia && i.column() != kColColor)
            return QStyledItemDelegate::createEditor(padre, o, i);
        auto* c = new QComboBox(padre);
        c->setObjectName(i.column() == kColLitologia ? "editor_litologia" : "editor_color");
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
        c->setCompleter(nullptr);
        if (i.column() == kColLitologia) {
            for (const Litologia& l : tabla_litologias)
                c->addItem(l.nombre);
            c->addItem(kPorcentual);
            // Then the user's rocks the store knows.
            if (!s_.litologias_usuario.empty()) c->insertSeparator(c->count());
            for (const LitologiaUsuario& u : s_.litologias_usuario)
                c->addItem(QString::fromStdString(u.nombre));
        } else {
            for (const FilaColor& f : tabla_colores)
                c->addItem(f.nombre);
        }
        return c;
    }

    void setEditorData(QWidget* editor, const QModelIndex& i) const override
    {
        const QString t = i.data(Qt::EditRole).toString();
        if (auto* c = qobject_cast<QComboBox*>(editor)) {
            c->setEditText(t);
            c->lineEdit()->selectAll();
            return;
        }
        QStyledItemDelegate::setEditorData(editor, i);
        if (auto* l = qobject_cast<QLineEdit*>(editor)) l->selectAll();
    }

    void setModelData(QWidget* editor, QAbstractItemModel* m, const QModelIndex& i) const override
    {
        if (auto* c = qobject_cast<QComboBox*>(editor)) {
            m->setData(i, c->currentText(), Qt::EditRole);
            return;
        }
        QStyledItemDelegate::setModelData(editor, m, i);
    }
};

// A history number: rounded to 6 decimals, with the table's decimal mark.
QString numero_de_historia(double v, char decimal)
{
    double r = std::round(v * 1e6) / 1e6;
    if (r == 0) r = 0; // no "-0"
    QString t = QString::number(r, 'g', 15);
    t.replace('.', QChar(decimal));
    return t;
}

const char* const kComaYPunto = "Coma y punto decimal (*.csv)";
const char* const kPuntoYComa = "Punto y coma y coma decimal (*.csv)";

std::optional<TablaColumna::Exportacion> pide_exportacion_con_dialogo(QWidget* padre)
{
    QFileDialog dialogo(padre, QString::fromUtf8("Exportar resultados"), QString(),
                        QString::fromUtf8(kComaYPunto) + ";;" + QString::fromUtf8(kPuntoYComa));
    dialogo.setAcceptMode(QFileDialog::AcceptSave);
    dialogo.setFileMode(QFileDialog::AnyFile);
    dialogo.setDefaultSuffix("csv");
    const QString ruta = elige_archivo(dialogo);
    if (ruta.isEmpty()) return std::nullopt;
    TablaColumna::Exportacion e{ruta, {}};
    if (dialogo.selectedNameFilter() == QString::fromUtf8(kPuntoYComa)) e.forma = {';', ','};
    return e;
}

} // namespace

// One change of the table: the beds before and after it.
class CambioDeColumna : public QUndoCommand {
  public:
    CambioDeColumna(TablaColumna& t, const QString& que, std::vector<FilaBanco> antes,
                    std::vector<FilaBanco> despues)
        : QUndoCommand(que), t_(t), antes_(std::move(antes)), despues_(std::move(despues))
    {
    }
    void undo() override { t_.pon_bancos(antes_); }
    void redo() override
    {
        // Pushed once the store already holds it.
        if (hecho_) {
            hecho_ = false;
            return;
        }
        t_.pon_bancos(despues_);
    }

  private:
    TablaColumna& t_;
    std::vector<FilaBanco> antes_;
    std::vector<FilaBanco> despues_;
    bool hecho_ = true;
};

void VistaTabla::keyPressEvent(QKeyEvent* e)
{
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && state() != EditingState &&
        e->modifiers() == Qt::NoModifier) {
        baja_una_fila();
        return;
    }
    QTableView::keyPressEvent(e);
}

void VistaTabla::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint pista)
{
    // Enter commits the edit and goes to the cell below, as in a spreadsheet.
    const bool bajar = pista == QAbstractItemDelegate::SubmitModelCache;
    QTableView::closeEditor(editor, bajar ? QAbstractItemDelegate::NoHint : pista);
    if (bajar) baja_una_fila();
}

void VistaTabla::baja_una_fila()
{
    const QModelIndex i = currentIndex();
    if (!i.isValid()) return;
    const QModelIndex abajo = model()->index(i.row() + 1, i.column());
    if (abajo.isValid()) setCurrentIndex(abajo);
}

TablaColumna::TablaColumna(Store& s) : QWidget(nullptr, Qt::Window), s_(s)
{
    setObjectName("TablaColumna");
    setWindowTitle(QString::fromUtf8(kTitulo));
    setAttribute(Qt::WA_DeleteOnClose);
    const QString marca = QLocale::system().decimalPoint();
    decimal_ = marca == QLatin1String(",") ? ',' : '.';
    avisa = [this](const QString& texto) {
        QMessageBox::warning(this, QString::fromUtf8(kTitulo), texto);
    };

    modelo = new ModeloColumna(s_, this);
    modelo->decimal = decimal_;
    modelo->edita = [this](int f, int c, const QString& t) { edita(f, c, t); };

    pestanas = new QTabWidget(this);
    pestanas->setObjectName("pestanas");
    tabla = new VistaTabla(pestanas);
    tabla->setObjectName("tabla");
    tabla->setModel(modelo);
    tabla->setItemDelegate(new DelegadoColumna(s_, tabla));
    tabla->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tabla->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::DoubleClicked);
    // One line a cell: laying out wrapped text took most of a repaint.
    tabla->setWordWrap(false);
    tabla->verticalHeader()->hide(); // the bed's number is a column of its own
    tabla->verticalHeader()->setDefaultSectionSize(tabla->fontMetrics().height() + 8);
    tabla->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tabla, &QWidget::customContextMenuRequested, this, &TablaColumna::menu_contextual);
    pestanas->addTab(tabla, "Bancos");

    auto* pagina = new QWidget(pestanas);
    pagina->setObjectName("pagina_historia");
    auto* capas = new QVBoxLayout(pagina);
    historia_error = new QLabel(pagina);
    historia_error->setObjectName("historia_error");
    historia_error->setWordWrap(true);
    historia = new QTableWidget(pagina);
    historia->setObjectName("historia");
    historia->setEditTriggers(QAbstractItemView::NoEditTriggers);
    historia->verticalHeader()->hide();
    capas->addWidget(historia_error);
    capas->addWidget(historia);
    pestanas->addTab(pagina, "Historia");

    barra = new QStatusBar(this);
    barra->setObjectName("barra");
    barra->setSizeGripEnabled(false);
    avisos_sin_roca = new LineaDeAvisos(barra);
    avisos_sin_roca->setObjectName("avisos_sin_roca");
    barra->addWidget(avisos_sin_roca, 1);
    // The ranges are for the uncertainty only: hidden unless asked for, the
    // usual table stays as narrow as it was.
    mostrar_rangos = new QCheckBox(QString::fromUtf8("Mostrar rangos"), barra);
    mostrar_rangos->setObjectName("mostrar_rangos");
    mostrar_rangos->setFocusPolicy(Qt::NoFocus); // the keys stay in the table
    barra->addPermanentWidget(mostrar_rangos);
    connect(mostrar_rangos, &QCheckBox::toggled, this, [this](bool si) {
        modelo->muestra_rangos(si);
        if (si)
            for (int c = kColumnasTabla; c < modelo->columnCount(); ++c)
                tabla->resizeColumnToContents(c);
    });
    exportar = new QPushButton(QString::fromUtf8("Exportar resultados…"), barra);
    exportar->setObjectName("exportar");
    exportar->setFocusPolicy(Qt::NoFocus); // the keys stay in the table
    barra->addPermanentWidget(etiqueta_de_curva(barra));
    barra->addPermanentWidget(exportar);
    connect(exportar, &QPushButton::clicked, this, &TablaColumna::exporta_resultados);
    pide_exportacion = [this] { return pide_exportacion_con_dialogo(this); };
    auto* todo = new QVBoxLayout(this);
    todo->setContentsMargins(0, 0, 0, 0);
    todo->addWidget(pestanas);
    todo->addWidget(barra);

    deshacer = new QUndoStack(this);
    crea_acciones();
    vistos_ = lee_bancos(s_);
    muestra();
    tabla->resizeColumnsToContents();
    // Wide enough for every column where the screen allows it.
    int ancho = 2 * tabla->frameWidth() + 24;
    for (int c = 0; c < kColumnasTabla; ++c)
        ancho += tabla->columnWidth(c);
    if (const QScreen* pantalla = screen())
        ancho = std::min(ancho, pantalla->availableGeometry().width() * 9 / 10);
    resize(std::max(ancho, 800), 560);
    tabla->setCurrentIndex(modelo->index(0, kColNombre));
    // The keys go to the cells from the start; Ctrl+Tab changes the tab.
    pestanas->tabBar()->setFocusPolicy(Qt::NoFocus);
    setFocusProxy(tabla);
    tabla->setFocus();
}

TablaColumna::~TablaColumna() = default;

void TablaColumna::pon_decimal(char marca)
{
    decimal_ = marca;
    modelo->decimal = marca;
    mostrados_.reset();
    muestra();
}

void TablaColumna::crea_acciones()
{
    auto accion = [this](const char* texto, const char* nombre,
                         std::initializer_list<QKeySequence> teclas, auto slot) {
        auto* a = new QAction(QString::fromUtf8(texto), this);
        a->setObjectName(nombre);
        a->setShortcuts(QList<QKeySequence>(teclas));
        a->setShortcutContext(Qt::WindowShortcut);
        a->setShortcutVisibleInContextMenu(true);
        connect(a, &QAction::triggered, this, slot);
        addAction(a);
        return a;
    };
    copiar_ = accion("Copiar", "copiar", {QKeySequence::Copy}, &TablaColumna::copia);
    pegar_ = accion("Pegar", "pegar", {QKeySequence::Paste}, &TablaColumna::pega);
    insertar_encima_ =
        accion("Insertar un banco encima", "insertar_encima",
               {QKeySequence(Qt::CTRL | Qt::Key_Plus)}, &TablaColumna::inserta_encima);
    insertar_debajo_ =
        accion("Insertar un banco debajo", "insertar_debajo", {}, &TablaColumna::inserta_debajo);
    borrar_ = accion("Borrar los bancos seleccionados", "borrar_bancos",
                     {QKeySequence(Qt::CTRL | Qt::Key_Minus)}, &TablaColumna::borra_seleccionados);
    deshacer_accion_ = deshacer->createUndoAction(this, "Deshacer");
    deshacer_accion_->setObjectName("deshacer");
    deshacer_accion_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    rehacer_accion_ = deshacer->createRedoAction(this, "Rehacer");
    rehacer_accion_->setObjectName("rehacer");
    rehacer_accion_->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    exportar_accion_ = accion("Exportar resultados…", "exportar_resultados", {},
                              &TablaColumna::exporta_resultados);
    for (QAction* a : {deshacer_accion_, rehacer_accion_}) {
        a->setShortcutVisibleInContextMenu(true);
        addAction(a);
    }
}

void TablaColumna::menu_contextual(const QPoint& p)
{
    QMenu menu(this);
    menu.setObjectName("menu_tabla");
    menu.addAction(insertar_encima_);
    menu.addAction(insertar_debajo_);
    menu.addAction(borrar_);
    menu.addSeparator();
    menu.addAction(copiar_);
    menu.addAction(pegar_);
    menu.addSeparator();
    menu.addAction(deshacer_accion_);
    menu.addAction(rehacer_accion_);
    menu.addSeparator();
    menu.addAction(exportar_accion_);
    menu.exec(tabla->viewport()->mapToGlobal(p));
}

void TablaColumna::exporta_resultados()
{
    emit antes_de_cambiar(); // what the bed dialog holds goes in first
    const std::optional<Exportacion> e = pide_exportacion ? pide_exportacion() : std::nullopt;
    if (!e) return;
    // The results of the column as it stands, computed apart: what "Abrir"
    // of its file would show.
    auto calculada = std::make_unique<Store>(s_);
    pon_nivel_mar_en_uso(*calculada);
    const ResultadoCalculo r = tevarro(*calculada);
    if (!r.ok()) {
        avisa(QString::fromUtf8("No se exportó «%1»: %2")
                  .arg(e->ruta, QString::fromStdString(r.mensaje())));
        return;
    }
    const std::string texto =
        resultados_csv(*calculada, archivo_.toStdString(), e->forma, curva_en_uso());
    const std::string fallo = guarda_archivo(QFile::encodeName(e->ruta).toStdString(), texto);
    if (!fallo.empty()) avisa(QString::fromStdString(fallo));
}

void TablaColumna::sigue_la_columna()
{
    std::vector<FilaBanco> ahora = lee_bancos(s_);
    if (ahora != vistos_) {
        // Changed elsewhere: nothing of this table's history applies to it.
        deshacer->clear();
        modelo->quita_marcas();
        vistos_ = std::move(ahora);
    }
    muestra();
}

void TablaColumna::muestra_de_nuevo()
{
    mostrados_.reset();
    sigue_la_columna();
}

void TablaColumna::muestra()
{
    // Every capture of the bed dialog (each pointer movement over it) comes
    // here: a column that shows as it stands is not shown again.
    std::vector<std::uint32_t> resultados;
    resultados.reserve(static_cast<size_t>(std::max<int>(s_.n_bancos, 0)) * 4);
    for (int i = 1; i <= s_.n_bancos; ++i) {
        for (const float v : {s_.techo_descomp[i], s_.base_descomp[i], s_.correccion_carga[i],
                              s_.tevarro_tectonica[i]}) {
            std::uint32_t bits = 0;
            std::memcpy(&bits, &v, sizeof bits);
            resultados.push_back(bits);
        }
    }
    if (mostrados_ && vistos_ == *mostrados_ && resultados == resultados_mostrados_) return;
    mostrados_ = vistos_;
    resultados_mostrados_ = std::move(resultados);
    modelo->refresca();
    avisos_sin_roca->pon_avisos(modelo->avisos());
    muestra_historia();
}

void TablaColumna::muestra_fallo_de_calculo(const QString& mensaje)
{
    if (mensaje.isEmpty())
        barra->clearMessage();
    else
        barra->showMessage(mensaje);
}

void TablaColumna::muestra_historia()
{
    const ResultadoHistoria r = calcula_historia(s_, curva_en_uso());
    historia_error->setText(QString::fromStdString(r.error));
    historia_error->setVisible(!r.ok());
    static const char* const titulos[] = {"Edad (Ma)",
                                          "Banco superior",
                                          "Espesor de sedimentos (m)",
                                          "Densidad media (kg/m³)",
                                          "Paleobatimetría (m)",
                                          "Nivel del mar (m)",
                                          "Subsidencia total (m)",
                                          "Subsidencia tectónica (m)",
                                          "Tasa tectónica (m/Ma)"};
    const int columnas = static_cast<int>(std::size(titulos));
    const auto& pasos = r.historia.pasos;
    if (historia->columnCount() != columnas) {
        historia->setColumnCount(columnas);
        for (int c = 0; c < columnas; ++c)
            historia->setHorizontalHeaderItem(c,
                                              new QTableWidgetItem(QString::fromUtf8(titulos[c])));
    }
    // Widths are measured again only when the steps come or go: measuring
    // every text of 100 steps would take most of an edit's time.
    const bool medir = historia->rowCount() != static_cast<int>(pasos.size());
    historia->setRowCount(static_cast<int>(pasos.size()));
    for (int f = 0; f < static_cast<int>(pasos.size()); ++f) {
        const PasoHistoria& p = pasos[static_cast<size_t>(f)];
        const QString textos[] = {
            numero_de_historia(p.edad, decimal_),
            QString::number(p.banco_superior),
            numero_de_historia(p.espesor_sedimentos, decimal_),
            numero_de_historia(p.densidad_media, decimal_),
            numero_de_historia(p.paleobatimetria, decimal_),
            numero_de_historia(p.nivel_mar, decimal_),
            numero_de_historia(p.subsidencia_total, decimal_),
            numero_de_historia(p.subsidencia_tectonica, decimal_),
            p.tasa_tectonica ? numero_de_historia(*p.tasa_tectonica, decimal_) : QString(),
        };
        for (int c = 0; c < columnas; ++c) {
            QTableWidgetItem* item = historia->item(f, c);
            if (!item) {
                item = new QTableWidgetItem;
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                historia->setItem(f, c, item);
            }
            item->setText(textos[c]);
        }
    }
    if (medir) historia->resizeColumnsToContents();
}

void TablaColumna::cambia(const QString& que, const std::function<bool(Store&)>& cambio)
{
    emit antes_de_cambiar();
    // What another window put in just now is not this table's to undo.
    if (lee_bancos(s_) != vistos_) sigue_la_columna();
    std::vector<FilaBanco> antes = vistos_;
    if (!cambio(s_)) return;
    std::vector<FilaBanco> despues = lee_bancos(s_);
    if (despues == antes) return;
    vistos_ = despues;
    deshacer->push(new CambioDeColumna(*this, que, std::move(antes), std::move(despues)));
    emit cambiada(); // computed, and every window redrawn, this one among them
    muestra();
}

void TablaColumna::pon_bancos(const std::vector<FilaBanco>& bancos)
{
    emit antes_de_cambiar();
    escribe_bancos(s_, bancos);
    vistos_ = bancos;
    modelo->quita_marcas();
    const QModelIndex i = tabla->currentIndex();
    emit cambiada();
    muestra();
    ve_a(i.row(), i.column());
}

void TablaColumna::ve_a(int fila, int columna)
{
    const int n = modelo->rowCount();
    if (n == 0) return;
    fila = std::clamp(fila, 0, n - 1);
    columna = std::clamp(columna, 0, modelo->columnCount() - 1);
    tabla->setCurrentIndex(modelo->index(fila, columna));
}

void TablaColumna::edita(int fila, int columna, const QString& texto)
{
    if (fila < 0 || fila >= s_.n_bancos) return;
    const int b = banco_de_fila(s_, fila);
    if (columna >= kColumnasTabla) {
        edita_extremo(fila, columna - kColumnasTabla, texto);
        return;
    }
    const std::string motivo = motivo_de_rechazo(columna, texto.toStdString());
    if (!motivo.empty()) {
        // The bed keeps its value; the cell says why.
        const std::string valor = texto_de_celda(s_, b, columna, decimal_);
        modelo->marca(fila, columna,
                      valor.empty() && columna == kColDensidadGrano
                          ? QString::fromUtf8("%1: el banco %2 sigue sin densidad de grano propia.")
                                .arg(QString::fromStdString(motivo))
                                .arg(b)
                          : QString::fromUtf8("%1: el banco %2 conserva su valor, %3.")
                                .arg(QString::fromStdString(motivo))
                                .arg(b)
                                .arg(QString::fromStdString(valor)));
        return;
    }
    modelo->desmarca(fila, columna);
    cambia(QString::fromUtf8("Editar «%1» del banco %2")
               .arg(QString::fromUtf8(titulo_de_columna(columna)))
               .arg(b),
           [&](Store& s) {
               return !pon_celdas(s, fila, columna, {{texto.toStdString()}}).has_value();
           });
}

void TablaColumna::edita_extremo(int fila, int e, const QString& texto)
{
    const int b = banco_de_fila(s_, fila);
    const int columna = kColumnasTabla + e;
    Store prueba = s_;
    const std::string motivo = pon_extremo(prueba, b, e, texto.toStdString());
    if (!motivo.empty()) {
        const std::string valor = texto_de_extremo(s_, b, e, decimal_);
        modelo->marca(fila, columna,
                      QString::fromUtf8("Banco %1, columna «%2»: %3; %4.")
                          .arg(b)
                          .arg(QString::fromUtf8(titulo_de_extremo(e)),
                               QString::fromStdString(motivo),
                               valor.empty() ? QString::fromUtf8("el banco sigue sin ese extremo")
                                             : QString::fromUtf8("el banco conserva su valor, %1")
                                                   .arg(QString::fromStdString(valor))));
        return;
    }
    modelo->desmarca(fila, columna);
    cambia(QString::fromUtf8("Editar «%1» del banco %2")
               .arg(QString::fromUtf8(titulo_de_extremo(e)))
               .arg(b),
           [&](Store& s) { return pon_extremo(s, b, e, texto.toStdString()).empty(); });
}

bool TablaColumna::toda_seleccionada() const
{
    const auto n = static_cast<qsizetype>(modelo->rowCount()) * modelo->columnCount();
    return n > 0 && tabla->selectionModel()->selectedIndexes().size() == n;
}

void TablaColumna::copia()
{
    const QModelIndexList sel = tabla->selectionModel()->selectedIndexes();
    if (sel.isEmpty()) return;
    std::set<int> filas;
    std::set<int> columnas;
    std::set<std::pair<int, int>> marcadas;
    for (const QModelIndex& i : sel) {
        filas.insert(i.row());
        columnas.insert(i.column());
        marcadas.insert({i.row(), i.column()});
    }
    // Whole rows: every column of every row chosen.
    const bool enteras = static_cast<qsizetype>(filas.size()) * modelo->columnCount() ==
                         static_cast<qsizetype>(sel.size());
    std::vector<bool> celdas;
    for (int f : filas)
        for (int c : columnas)
            celdas.push_back(marcadas.count({f, c}) > 0);
    const std::string t = (modelo->rangos_mostrados() ? copia_celdas_y_rangos : copia_celdas)(
        s_, {filas.begin(), filas.end()}, {columnas.begin(), columnas.end()}, decimal_, enteras,
        celdas);
    QApplication::clipboard()->setText(QString::fromStdString(t));
}

void TablaColumna::pega()
{
    FilasDeTexto filas = lee_tabulado(QApplication::clipboard()->text().toStdString());
    quita_titulos(filas);
    if (filas.empty()) {
        avisa(QString::fromUtf8("El portapapeles no tiene filas que pegar."));
        return;
    }
    const bool toda = toda_seleccionada();
    const QModelIndex actual = tabla->currentIndex();
    const int fila = actual.isValid() ? actual.row() : 0;
    const int columna = actual.isValid() ? actual.column() : kColNombre;
    std::optional<RechazoDeCelda> rechazo;
    cambia("Pegar", [&](Store& s) {
        rechazo = toda                         ? reemplaza_columna(s, filas)
                  : modelo->rangos_mostrados() ? pon_celdas_y_rangos(s, fila, columna, filas)
                                               : pon_celdas(s, fila, columna, filas);
        return !rechazo.has_value();
    });
    if (rechazo) {
        QString donde = QString::fromUtf8("fila %1").arg(rechazo->fila + 1);
        if (rechazo->banco > 0) donde += QString::fromUtf8(" (banco %1)").arg(rechazo->banco);
        avisa(QString::fromUtf8("No se pegó nada: %1, columna «%2»: %3.")
                  .arg(donde,
                       QString::fromUtf8(rechazo->columna >= kColumnasTabla
                                             ? titulo_de_extremo(rechazo->columna - kColumnasTabla)
                                             : titulo_de_columna(rechazo->columna)),
                       QString::fromStdString(rechazo->motivo)));
        return;
    }
    if (toda) ve_a(0, kColNombre);
}

void TablaColumna::inserta_encima()
{
    const int fila = std::max(tabla->currentIndex().row(), 0);
    const int columna = std::max(tabla->currentIndex().column(), 0);
    cambia("Insertar un banco encima", [&](Store& s) {
        if (inserta_banco(s, banco_de_fila(s, fila) + 1)) return true;
        avisa(QString::fromUtf8("La columna ya tiene %1 bancos, los que admite.").arg(kMaxBancos));
        return false;
    });
    ve_a(fila, columna);
}

void TablaColumna::inserta_debajo()
{
    const int fila = std::max(tabla->currentIndex().row(), 0);
    const int columna = std::max(tabla->currentIndex().column(), 0);
    cambia("Insertar un banco debajo", [&](Store& s) {
        if (inserta_banco(s, banco_de_fila(s, fila))) return true;
        avisa(QString::fromUtf8("La columna ya tiene %1 bancos, los que admite.").arg(kMaxBancos));
        return false;
    });
    ve_a(fila + 1, columna);
}

void TablaColumna::borra_seleccionados()
{
    std::set<int> filas;
    for (const QModelIndex& i : tabla->selectionModel()->selectedIndexes())
        filas.insert(i.row());
    if (filas.empty() && tabla->currentIndex().isValid()) filas.insert(tabla->currentIndex().row());
    if (filas.empty()) return;
    const int primera = *filas.begin();
    const int columna = std::max(tabla->currentIndex().column(), 0);
    cambia(QString::fromUtf8("Borrar %1")
               .arg(QString::fromStdString(
                   cantidad(static_cast<long long>(filas.size()), "banco", "bancos"))),
           [&](Store& s) {
               std::vector<int> bancos;
               bancos.reserve(filas.size());
               for (int f : filas)
                   bancos.push_back(banco_de_fila(s, f));
               if (borra_bancos(s, bancos)) return true;
               avisa(QString::fromUtf8("Una columna tiene al menos un banco: no se borró nada."));
               return false;
           });
    tabla->clearSelection();
    ve_a(primera, columna);
}

} // namespace tev
