#include "compare_window/ventana_pozos.h"

#include "compute/nivel_mar.h"
#include "drawing/exporta_imagen.h"
#include "model/store.h"
#include "project_file/archivos.h"
#include "project_file/forma_exportacion.h"
#include "window_helpers/ajustes_estiramiento.h"
#include "window_helpers/ajustes_incertidumbre.h"
#include "window_helpers/calculo_de_fondo.h"
#include "window_helpers/curva_en_uso.h"
#include "window_helpers/dialogo_de_archivos.h"
#include "window_helpers/guardar_imagen.h"
#include "window_helpers/imprimir.h"
#include "window_helpers/preferencias.h"

#include <QAction>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>
#include <QSignalBlocker>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace tev {

namespace {

const char* const kCaption = "Comparar pozos";
const char* const kGrupo = "comparar_pozos";
const char* const kSinTitulo = "Sin título";

// The figure at the widget's size, painted by the drawing's one painter code.
class LienzoPozos : public QWidget {
  public:
    LienzoPozos(const FiguraPozos& f, QWidget* padre) : QWidget(padre), f_(f)
    {
        setObjectName("lienzo");
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMinimumSize(480, 320);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }

  protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        pinta_pozos(f_, p, size());
    }

  private:
    const FiguraPozos& f_;
};

// The local files among what is dropped.
QStringList archivos_soltados(const QMimeData* datos)
{
    QStringList rutas;
    if (!datos || !datos->hasUrls()) return rutas;
    for (const QUrl& u : datos->urls())
        if (u.isLocalFile()) rutas << u.toLocalFile();
    return rutas;
}

// The inputs of a column's history and of its draws, beds 1..n_bancos: a
// field either reads must be compared here, or an edit of it would leave the
// well drawn as it was.
bool misma_columna(const Store& a, const Store& b)
{
    if (a.n_bancos != b.n_bancos) return false;
    const auto igual = [&a](const auto& x, const auto& y) {
        return std::equal(x.begin() + 1, x.begin() + 1 + a.n_bancos, y.begin() + 1);
    };
    return igual(a.techo, b.techo) && igual(a.base, b.base) && igual(a.edad_techo, b.edad_techo) &&
           igual(a.edad_base, b.edad_base) && igual(a.porosidad, b.porosidad) &&
           igual(a.coef_porosidad, b.coef_porosidad) && igual(a.densidad, b.densidad) &&
           igual(a.densidad_grano, b.densidad_grano) && igual(a.nivel_mar, b.nivel_mar) &&
           igual(a.paleobatimetria, b.paleobatimetria) && igual(a.litologia, b.litologia) &&
           igual(a.pct_arenisca, b.pct_arenisca) && igual(a.pct_pelita, b.pct_pelita) &&
           igual(a.pct_caliza, b.pct_caliza) && igual(a.pct_evaporita, b.pct_evaporita) &&
           igual(a.rangos, b.rangos);
}

// The line under the list: the fit's settings in force, and where they are
// changed.
QString texto_de_ajuste(const PeticionAjuste& peticion)
{
    const ModeloEstiramiento& m = peticion.modelo;
    return QString::fromUtf8("Ajuste: %1, constantes %2%3. Se cambia en «Subsidencia y "
                             "estiramiento» (Ctrl+E).")
        .arg(m.modo == ModoEstiramiento::total ? QString::fromUtf8("subsidencia total")
                                               : QString::fromUtf8("sólo térmica"),
             QString::fromUtf8(m.constantes.nombre),
             peticion.edad_rift ? QString::fromUtf8(", edad del rift fija") : QString());
}

// A small square of the well's colour for its entry in the list.
QIcon icono_de_pozo(int indice)
{
    QPixmap p(12, 12);
    p.fill(color_de_pozo(indice));
    return {p};
}

} // namespace

VentanaPozos::VentanaPozos() : QWidget(nullptr, Qt::Window)
{
    setObjectName("VentanaPozos");
    setWindowTitle(QString::fromUtf8(kCaption));
    setAttribute(Qt::WA_DeleteOnClose);
    setAcceptDrops(true);
    entradas_.push_back(Entrada{});
    entradas_.front().columna = std::make_shared<const Store>();
    peticion_ = peticion_de(lee_ajustes_estiramiento());
    guardar_imagen = new GuardarImagen(
        this, QString::fromUtf8(kCaption),
        [this](const QString& ruta, QString* error) { return guarda_imagen(ruta, error); });
    crea_controles();
    lee_preferencias();
    resize(1240, 680);

    pide_archivos = [this] {
        QFileDialog dialogo(this, QString::fromUtf8("Añadir pozos"), QString(),
                            QString::fromUtf8("Columnas (*.tev *.csv);;Todos los archivos (*)"));
        dialogo.setFileMode(QFileDialog::ExistingFiles);
        dialogo.setSupportedSchemes({"file"});
        lista_en_castellano(dialogo);
        if (dialogo.exec() != QDialog::Accepted) return QStringList();
        return dialogo.selectedFiles();
    };
    pide_exportacion = [this](Exportacion* que) {
        const QString historias = QString::fromUtf8("Historias de enterramiento (*.csv)");
        QFileDialog dialogo(this, QString::fromUtf8("Exportar"), QString(),
                            historias + ";;" +
                                QString::fromUtf8("Ajustes del estiramiento (*.csv)"));
        dialogo.setFileMode(QFileDialog::AnyFile);
        dialogo.setAcceptMode(QFileDialog::AcceptSave);
        QString ruta = elige_archivo(dialogo);
        if (!ruta.isEmpty() && QFileInfo(ruta).suffix().isEmpty()) ruta += ".csv";
        *que = dialogo.selectedNameFilter() == historias ? Exportacion::historias
                                                         : Exportacion::ajustes;
        return ruta;
    };
    pide_impresora = [this](QPrinter& impresora) { return dialogo_de_impresion(impresora, this); };
    avisa = [this](const QString& texto) {
        QMessageBox::warning(this, QString::fromUtf8(kCaption), texto);
    };

    connect(guardar_btn, &QPushButton::clicked, guardar_imagen,
            &GuardarImagen::guardar_imagen_Click);
    // Other fit settings: the same histories, fitted again.
    connect(&aviso_de_estiramiento(), &AvisoDeEstiramiento::cambiados, this, [this] {
        peticion_ = peticion_de(lee_ajustes_estiramiento());
        for (Pozo& w : pozos_)
            reajusta_pozo(w, peticion_);
        ajuste_lbl->setText(texto_de_ajuste(peticion_));
        rehace_figura();
    });
    // The files take the new curve's sea level; the main column comes with
    // the main window's computation.
    connect(&aviso_de_curva(), &AvisoDeCurva::cambiada, this, [this] {
        relee_archivos();
        recalcula();
        calcula_bandas();
    });
    recalcula();
}

VentanaPozos::~VentanaPozos() = default;

void VentanaPozos::crea_controles()
{
    lienzo = new LienzoPozos(figura_, this);
    calculo = new CalculoDeFondo(lienzo);

    auto* pozos_box = new QGroupBox(QString::fromUtf8("Pozos"));
    pozos_box->setObjectName("pozos_box");
    auto* columna_pozos = new QVBoxLayout(pozos_box);
    lista_pozos = new QListWidget(pozos_box);
    lista_pozos->setObjectName("lista_pozos");
    lista_pozos->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lista_pozos->setToolTip(
        QString::fromUtf8("Espacio: mostrar u ocultar el pozo; Supr: quitarlo de la lista"));
    columna_pozos->addWidget(lista_pozos);
    anadir_btn = new QPushButton(QString::fromUtf8("&Añadir…"), pozos_box);
    anadir_btn->setObjectName("anadir_btn");
    quitar_btn = new QPushButton(QString::fromUtf8("&Quitar"), pozos_box);
    quitar_btn->setObjectName("quitar_btn");
    quitar_btn->setEnabled(false);
    auto* fila = new QHBoxLayout;
    fila->addWidget(anadir_btn);
    fila->addWidget(quitar_btn);
    columna_pozos->addLayout(fila);
    total_chk = new QCheckBox(QString::fromUtf8("Subsidencia &total"), pozos_box);
    total_chk->setObjectName("total_chk");
    columna_pozos->addWidget(total_chk);

    ajuste_lbl = new QLabel(this);
    ajuste_lbl->setObjectName("ajuste_lbl");
    ajuste_lbl->setWordWrap(true);
    estado_lbl = new QLabel(this);
    estado_lbl->setObjectName("estado_lbl");
    estado_lbl->setWordWrap(true);
    estado_lbl->setTextInteractionFlags(Qt::TextSelectableByMouse);

    guardar_btn = new QPushButton(QString::fromUtf8("&Guardar imagen…"));
    guardar_btn->setObjectName("guardar_btn");
    imprimir_btn = new QPushButton(QString::fromUtf8("&Imprimir…"));
    imprimir_btn->setObjectName("imprimir_btn");
    exportar_btn = new QPushButton(QString::fromUtf8("&Exportar…"));
    exportar_btn->setObjectName("exportar_btn");
    auto* botones = new QHBoxLayout;
    botones->addWidget(guardar_btn);
    botones->addWidget(imprimir_btn);
    botones->addWidget(exportar_btn);

    auto* panel = new QWidget(this);
    panel->setObjectName("panel");
    panel->setMaximumWidth(380);
    auto* lado = new QVBoxLayout(panel);
    lado->setContentsMargins(0, 0, 0, 0);
    lado->addWidget(pozos_box, 1);
    lado->addWidget(ajuste_lbl);
    QLabel* curva = etiqueta_de_curva(panel);
    curva->setWordWrap(true);
    lado->addWidget(curva);
    lado->addWidget(estado_lbl);
    lado->addLayout(botones);
    auto* todo = new QHBoxLayout(this);
    todo->addWidget(lienzo, 1);
    todo->addWidget(panel, 0);

    connect(anadir_btn, &QPushButton::clicked, this, &VentanaPozos::anadir_Click);
    connect(quitar_btn, &QPushButton::clicked, this, &VentanaPozos::quita_seleccionados);
    connect(exportar_btn, &QPushButton::clicked, this, &VentanaPozos::exportar_Click);
    connect(imprimir_btn, &QPushButton::clicked, this, &VentanaPozos::imprimir_Click);
    connect(lista_pozos, &QListWidget::itemSelectionChanged, this, [this] {
        bool alguno = false;
        for (const QListWidgetItem* item : lista_pozos->selectedItems())
            alguno = alguno || lista_pozos->row(item) > 0;
        quitar_btn->setEnabled(alguno);
    });
    connect(lista_pozos, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (rehaciendo_lista_) return;
        const int k = lista_pozos->row(item);
        if (k < 0 || k >= static_cast<int>(entradas_.size())) return;
        entradas_[static_cast<std::size_t>(k)].visible = item->checkState() == Qt::Checked;
        guarda_preferencias();
        rehace_figura();
    });
    connect(total_chk, &QCheckBox::toggled, this, [this] {
        guarda_preferencias();
        rehace_figura();
    });
    auto* supr =
        new QShortcut(QKeySequence::Delete, lista_pozos, nullptr, nullptr, Qt::WidgetShortcut);
    connect(supr, &QShortcut::activated, this, &VentanaPozos::quita_seleccionados);
}

void VentanaPozos::lee_preferencias()
{
    QSettings q = preferencias();
    q.beginGroup(kGrupo);
    const QStringList rutas = q.value("archivos").toStringList();
    const QStringList ocultos = q.value("ocultos").toStringList();
    entradas_.front().visible = q.value("columna_visible", true).toBool();
    {
        const QSignalBlocker sin_avisos(total_chk);
        total_chk->setChecked(q.value("total", false).toBool());
    }
    for (const QString& r : rutas) {
        Entrada e;
        e.ruta = r;
        e.visible = !ocultos.contains(r);
        entradas_.push_back(std::move(e));
        if (!QFileInfo::exists(r)) faltaban_ << r;
    }
}

void VentanaPozos::guarda_preferencias() const
{
    QStringList rutas, ocultos;
    for (std::size_t k = 1; k < entradas_.size(); ++k) {
        rutas << entradas_[k].ruta;
        if (!entradas_[k].visible) ocultos << entradas_[k].ruta;
    }
    QSettings q = preferencias();
    q.beginGroup(kGrupo);
    q.setValue("archivos", rutas);
    q.setValue("ocultos", ocultos);
    q.setValue("columna_visible", entradas_.front().visible);
    q.setValue("total", total_chk->isChecked());
}

QStringList VentanaPozos::archivos() const
{
    QStringList rutas;
    for (std::size_t k = 1; k < entradas_.size(); ++k)
        rutas << entradas_[k].ruta;
    return rutas;
}

void VentanaPozos::lee(Entrada& e) const
{
    auto s = std::make_shared<Store>();
    e.error_lectura =
        carga_pozo(*s, QFile::encodeName(e.ruta).toStdString(), &curva_en_uso(), rocas_);
    e.columna = e.error_lectura.empty() ? std::move(s) : nullptr;
    e.olvida_bandas();
}

void VentanaPozos::relee_archivos()
{
    for (std::size_t k = 1; k < entradas_.size(); ++k)
        lee(entradas_[k]);
    leidos_ = true;
}

void VentanaPozos::sigue_la_columna(const Store& s, const QString& archivo)
{
    // Called on every capture of the bed dialog: what did not change is not
    // computed again.
    Entrada& principal = entradas_.front();
    const bool otra_columna = !misma_columna(*principal.columna, s);
    if (otra_columna) {
        principal.columna = std::make_shared<const Store>(s);
        principal.olvida_bandas();
    }
    const bool otras_rocas = !leidos_ || rocas_ != s.litologias_usuario;
    if (otras_rocas) {
        rocas_ = s.litologias_usuario;
        relee_archivos();
    }
    if (otras_rocas || archivo != archivo_) {
        archivo_ = archivo; // the names may change with it
        recalcula();
    } else if (otra_columna) {
        Pozo w =
            pozo_de_columna(*principal.columna, pozos_.front().nombre, peticion_, &curva_en_uso());
        pozos_.front() = std::move(w);
        rehace_lista();
        rehace_figura();
    } else {
        return;
    }
    calcula_bandas();
}

void VentanaPozos::anade(const QStringList& rutas)
{
    bool alguno = false;
    for (const QString& r : rutas) {
        const QString ruta = QFileInfo(r).absoluteFilePath();
        const bool ya = std::any_of(entradas_.begin() + 1, entradas_.end(),
                                    [&ruta](const Entrada& e) { return e.ruta == ruta; });
        if (ya) continue;
        Entrada e;
        e.ruta = ruta;
        lee(e);
        entradas_.push_back(std::move(e));
        alguno = true;
    }
    if (!alguno) return;
    guarda_preferencias();
    recalcula();
    calcula_bandas();
}

void VentanaPozos::quita_seleccionados()
{
    std::vector<int> filas;
    for (const QListWidgetItem* item : lista_pozos->selectedItems())
        if (const int k = lista_pozos->row(item); k > 0) filas.push_back(k);
    if (filas.empty()) return;
    std::sort(filas.rbegin(), filas.rend());
    for (const int k : filas)
        entradas_.erase(entradas_.begin() + k);
    // A file that was missing and is removed is no longer said.
    faltaban_.erase(std::remove_if(faltaban_.begin(), faltaban_.end(),
                                   [this](const QString& r) { return !archivos().contains(r); }),
                    faltaban_.end());
    guarda_preferencias();
    recalcula();
    calcula_bandas(); // nor are its bands computed or its failure said
}

void VentanaPozos::recalcula()
{
    std::vector<std::string> rutas;
    rutas.reserve(entradas_.size());
    rutas.push_back(archivo_.isEmpty() ? std::string(kSinTitulo) : archivo_.toStdString());
    for (std::size_t k = 1; k < entradas_.size(); ++k)
        rutas.push_back(entradas_[k].ruta.toStdString());
    const std::vector<std::string> nombres = nombres_de_pozos(rutas);
    const CurvaNivelMar& curva = curva_en_uso();
    pozos_.clear();
    pozos_.reserve(entradas_.size());
    for (std::size_t k = 0; k < entradas_.size(); ++k) {
        const Entrada& e = entradas_[k];
        Pozo w;
        if (e.columna) {
            w = pozo_de_columna(*e.columna, nombres[k], peticion_, &curva);
        } else {
            w.nombre = nombres[k];
            w.error = e.error_lectura.empty() ? "«" + nombres[k] + "» no se ha leído todavía."
                                              : e.error_lectura;
        }
        w.ruta = e.ruta.toStdString();
        pozos_.push_back(std::move(w));
    }
    ajuste_lbl->setText(texto_de_ajuste(peticion_));
    rehace_lista();
    rehace_figura();
    muestra_estado();
}

void VentanaPozos::rehace_lista()
{
    rehaciendo_lista_ = true;
    const int actual = lista_pozos->currentRow();
    lista_pozos->clear();
    for (std::size_t k = 0; k < pozos_.size(); ++k) {
        const Pozo& w = pozos_[k];
        QString texto = QString::fromStdString(w.nombre);
        if (k == 0) texto += QString::fromUtf8(" (ventana principal)");
        if (!w.ok()) texto += QString::fromUtf8(" — sin historia");
        auto* item = new QListWidgetItem(icono_de_pozo(static_cast<int>(k)), texto, lista_pozos);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(entradas_[k].visible ? Qt::Checked : Qt::Unchecked);
        const QString ruta =
            k == 0 ? QString::fromUtf8("La columna de la ventana principal") : entradas_[k].ruta;
        item->setToolTip(w.ok() ? ruta : ruta + "\n" + QString::fromStdString(w.error));
    }
    if (actual >= 0) lista_pozos->setCurrentRow(std::min(actual, lista_pozos->count() - 1));
    rehaciendo_lista_ = false;
}

void VentanaPozos::rehace_figura()
{
    figura_ = figura_de_pozos(pozos_, peticion_.modelo);
    figura_.total = total_chk->isChecked();
    auto& lista = figura_.pozos;
    lista.erase(std::remove_if(lista.begin(), lista.end(),
                               [this](const PozoEnFigura& e) {
                                   return !entradas_[static_cast<std::size_t>(e.indice)].visible;
                               }),
                lista.end());
    for (PozoEnFigura& e : lista)
        e.bandas = entradas_[static_cast<std::size_t>(e.indice)].bandas;
    const bool hay = !lista.empty();
    guardar_btn->setEnabled(hay);
    imprimir_btn->setEnabled(hay);
    exportar_btn->setEnabled(hay);
    guardar_imagen->accion()->setEnabled(hay);
    lienzo->update();
}

void VentanaPozos::muestra_estado()
{
    QStringList lineas;
    if (!faltaban_.isEmpty()) {
        QStringList nombres;
        for (const QString& r : faltaban_)
            nombres << QString::fromUtf8("«%1»").arg(r);
        lineas << QString::fromUtf8("Al abrir la ventana no se encontraron: %1. Siguen en la "
                                    "lista hasta que los quite.")
                      .arg(nombres.join(", "));
    }
    // A missing file is said once, above.
    for (std::size_t k = 1; k < pozos_.size(); ++k)
        if (!pozos_[k].ok() && !faltaban_.contains(entradas_[k].ruta))
            lineas << QString::fromStdString(pozos_[k].error);
    estado_lbl->setText(lineas.join("\n"));
    estado_lbl->setVisible(!lineas.isEmpty());
}

void VentanaPozos::calcula_bandas_de_nuevo()
{
    for (Entrada& e : entradas_)
        e.olvida_bandas();
    // What runs was asked with the settings of before.
    en_calculo_.reset();
    calculo->cancela();
    calcula_bandas();
    rehace_figura();
}

void VentanaPozos::calcula_bandas()
{
    const AjustesIncertidumbre a = lee_ajustes_incertidumbre();
    if (!a.activa) {
        en_calculo_.reset();
        calculo->cancela();
        for (Entrada& e : entradas_)
            e.olvida_bandas();
        rehace_figura();
        return;
    }
    const auto falta = [this](std::size_t k) {
        return !entradas_[k].bandas_hechas && entradas_[k].columna && pozos_[k].ok();
    };
    // The well under way goes on while some entry still has its column and
    // lacks its bands.
    if (calculo->en_curso() && en_calculo_) {
        for (std::size_t k = 0; k < entradas_.size(); ++k)
            if (falta(k) && entradas_[k].columna == en_calculo_) return;
    }
    // The files first, the main column last: it is the one being edited,
    // whose every change would start its draws again.
    std::size_t siguiente = 1;
    while (siguiente < entradas_.size() && !falta(siguiente))
        ++siguiente;
    if (siguiente == entradas_.size() && falta(0)) siguiente = 0;
    if (siguiente == entradas_.size()) {
        // Nothing left: what may run is for a well no longer listed.
        en_calculo_.reset();
        calculo->cancela();
        muestra_fallos_de_bandas();
        return;
    }
    // The column as it is now: a column replaced meanwhile is another
    // pointer, which does not take this run's bands.
    const std::shared_ptr<const Store> columna = entradas_[siguiente].columna;
    en_calculo_ = columna;
    const CurvaNivelMar& curva = curva_en_uso(); // copied into the draws
    auto resultado = std::make_shared<ResultadoIncertidumbre>();
    calculo->lanza(
        a.tiradas,
        [columna, curva, resultado, a](ControlCalculo& control) {
            *resultado = calcula_incertidumbre(*columna, curva, a.rangos, a.tiradas, a.semilla,
                                               hilos_de_calculo(), &control);
        },
        [this, columna, resultado] {
            for (Entrada& e : entradas_)
                if (e.columna == columna) {
                    e.bandas = resultado->bandas;
                    e.error_bandas = resultado->error;
                    e.bandas_hechas = true;
                }
            en_calculo_.reset();
            rehace_figura();
            calcula_bandas(); // the next well
        });
}

void VentanaPozos::muestra_fallos_de_bandas()
{
    QStringList fallos;
    for (std::size_t k = 0; k < entradas_.size(); ++k)
        if (!entradas_[k].error_bandas.empty())
            fallos << QString::fromUtf8("«%1»: %2")
                          .arg(QString::fromStdString(pozos_[k].nombre),
                               QString::fromStdString(entradas_[k].error_bandas));
    if (!fallos.isEmpty()) calculo->muestra_fallo(fallo_de_bandas(fallos.join("\n")));
}

std::string VentanaPozos::texto_exportado(Exportacion que) const
{
    std::vector<Pozo> vistos;
    for (std::size_t k = 0; k < pozos_.size(); ++k)
        if (entradas_[k].visible) vistos.push_back(pozos_[k]);
    if (que == Exportacion::ajustes) return ajustes_de_pozos_csv(vistos, peticion_);
    FormaExportacion forma;
    forma.curva_nivel_mar = nombre_de_curva(curva_en_uso());
    return historias_de_pozos_csv(vistos, forma);
}

bool VentanaPozos::exporta(const QString& ruta, Exportacion que, QString* error) const
{
    const std::string fallo =
        guarda_archivo(QFile::encodeName(ruta).toStdString(), texto_exportado(que));
    if (fallo.empty()) return true;
    if (error) *error = QString::fromStdString(fallo);
    return false;
}

void VentanaPozos::anadir_Click()
{
    const QStringList rutas = pide_archivos ? pide_archivos() : QStringList();
    if (!rutas.isEmpty()) anade(rutas);
}

void VentanaPozos::exportar_Click()
{
    Exportacion que = Exportacion::historias;
    const QString ruta = pide_exportacion ? pide_exportacion(&que) : QString();
    if (ruta.isEmpty()) return;
    QString error;
    if (!exporta(ruta, que, &error)) avisa(error);
}

Dibujo VentanaPozos::dibujo_propio() const
{
    struct Copia {
        std::vector<Pozo> pozos;
        FiguraPozos figura;
    };
    auto copia = std::make_shared<Copia>(Copia{pozos_, figura_});
    for (PozoEnFigura& e : copia->figura.pozos)
        e.pozo = &copia->pozos[static_cast<std::size_t>(e.indice)];
    Dibujo d = dibujo_de_pozos(copia->figura, lienzo->size());
    d.pinta = [copia, pinta = std::move(d.pinta)](QPainter& p) { pinta(p); };
    return con_curva_en_uso(std::move(d));
}

void VentanaPozos::imprimir_Click()
{
    if (figura_.pozos.empty()) return;
    const Dibujo dibujo = dibujo_propio();
    QPrinter impresora(QPrinter::HighResolution);
    prepara_impresora(impresora, dibujo);
    if (!pide_impresora || !pide_impresora(impresora)) return;
    QString error;
    if (!imprime(impresora, dibujo, &error)) avisa(error);
}

bool VentanaPozos::guarda_imagen(const QString& ruta, QString* error)
{
    if (figura_.pozos.empty()) {
        if (error)
            *error = QString::fromUtf8("No se guardó «%1»: no se ve ningún pozo con historia de "
                                       "enterramiento.")
                         .arg(ruta);
        return false;
    }
    return tev::guarda_imagen(ruta, con_curva_en_uso(dibujo_de_pozos(figura_, lienzo->size())),
                              error);
}

void VentanaPozos::contextMenuEvent(QContextMenuEvent* e)
{
    guardar_imagen->ofrece(e->globalPos());
}

void VentanaPozos::dragEnterEvent(QDragEnterEvent* e)
{
    if (!archivos_soltados(e->mimeData()).isEmpty()) e->acceptProposedAction();
}

void VentanaPozos::dropEvent(QDropEvent* e)
{
    const QStringList rutas = archivos_soltados(e->mimeData());
    if (rutas.isEmpty()) return;
    e->acceptProposedAction();
    anade(rutas);
}

VentanaPozos* muestra_pozos(QPointer<VentanaPozos>& ventana, const Store& s, const QString& archivo)
{
    if (!ventana) ventana = new VentanaPozos();
    ventana->sigue_la_columna(s, archivo);
    ventana->show();
    ventana->raise();
    ventana->activateWindow();
    return ventana;
}

} // namespace tev
