#include "main_window/form1.h"

#include "bed_dialog/form2.h"
#include "compute/tevarro.h"
#include "curve_window/form4.h"
#include "drawing/color_de_ventana.h"
#include "drawing/unidades.h"
#include "main_window/acerca_de.h"
#include "main_window/com_file.h"
#include "main_window/notas_al_salvar.h"
#include "main_window/vista_columna.h"
#include "model/programa.h"
#include "model/store.h"
#include "project_file/archivo_proyecto.h"
#include "project_file/formatos.h"
#include "window_helpers/curva_en_uso.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QSvgRenderer>

namespace tev {

namespace {

const char* const kTitulo = kNombrePrograma;

std::vector<std::string> notas_de(const Store& s)
{
    return {s.notas.begin() + 1, s.notas.begin() + 1 + s.n_bancos};
}

std::vector<float> densidades_de_grano(const Store& s)
{
    return {s.densidad_grano.begin() + 1, s.densidad_grano.begin() + 1 + s.n_bancos};
}

std::vector<RangosBanco> rangos_de(const Store& s)
{
    return {s.rangos.begin() + 1, s.rangos.begin() + 1 + s.n_bancos};
}

} // namespace

Form1::Form1(Store& s, QWidget* parent)
    : QMainWindow(parent), s_(s), com_file_(std::make_unique<ComFile>())
{
    setObjectName("Form1");
    setWindowTitle(kTitulo);
    avisa = [this](const QString& titulo, const QString& texto) {
        QMessageBox::warning(this, titulo, texto);
    };
    pregunta = [this](const QString& texto) {
        QMessageBox caja(QMessageBox::Question, kTitulo, texto, QMessageBox::NoButton, this);
        QPushButton* guardar = caja.addButton("Guardar", QMessageBox::AcceptRole);
        QPushButton* descartar = caja.addButton("Descartar", QMessageBox::DestructiveRole);
        QPushButton* cancelar = caja.addButton("Cancelar", QMessageBox::RejectRole);
        caja.setDefaultButton(guardar);
        caja.setEscapeButton(cancelar);
        caja.exec();
        if (caja.clickedButton() == guardar) return Respuesta::guardar;
        if (caja.clickedButton() == descartar) return Respuesta::descartar;
        return Respuesta::cancelar;
    };
    crea_menus();
    crea_menu_analisis();
    crea_menu_ayuda();
    crea_controles();
    Form_Load();
}

Form1::~Form1()
{
    if (form4_) delete form4_.data();
    if (form2_) delete form2_.data();
    if (form5_) delete form5_.data();
    if (estiramiento_) delete estiramiento_.data();
    if (pozos_) delete pozos_.data();
    if (ayuda_) delete ayuda_.data();
    if (tabla_) delete tabla_.data();
}

void Form1::pon_com_file(std::unique_ptr<ComFile> dialogo)
{
    com_file_ = std::move(dialogo);
}

void Form1::crea_menus()
{
    QMenu* file_mnu = menuBar()->addMenu("Archivo");
    file_mnu->setObjectName("file_mnu");
    auto accion = [this](QWidget* menu, const char* texto, const char* nombre, auto slot) {
        auto* a = new QAction(texto, this);
        a->setObjectName(nombre);
        connect(a, &QAction::triggered, this, slot);
        menu->addAction(a);
        return a;
    };
    con_atajo(accion(file_mnu, "Nuevo", "nuevo_mnu", &Form1::nuevo_mnu_Click), Qt::Key_N);
    con_atajo(accion(file_mnu, "Abrir", "abrir_mnu", &Form1::abrir_mnu_Click), Qt::Key_O);
    con_atajo(accion(file_mnu, "Salvar", "salvar_mnu", &Form1::salvar_mnu_Click), Qt::Key_S);
    // "Archivos recientes" and "Imprimir…", between "Salvar" and "Salir".
    crea_recientes_e_imprimir(file_mnu);
    con_atajo(accion(file_mnu, "Salir", "exit_mnu", &Form1::exit_mnu_Click), Qt::Key_Q);
    QMenu* edit_mnu = menuBar()->addMenu("Editar");
    edit_mnu->setObjectName("edit_mnu");
    accion(edit_mnu, "Pegar", "paste_mnu", &Form1::paste_mnu_Click);
    // Commands directly on the menu bar.
    accion(menuBar(), "Modificar", "modificar_mnu", &Form1::modificar_mnu_Click);
    accion(menuBar(), "Dibuja", "dibuja_mnu", &Form1::dibuja_mnu_Click);

    // The file commands carry the usual Ctrl keys (con_atajo) and "Ayuda" F1;
    // F10 opens the first menu, as on most desktops, and the arrow keys and
    // Enter do the rest.
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(f10, &QShortcut::activated, this, [this] {
        menuBar()->setFocus(Qt::ShortcutFocusReason);
        menuBar()->setActiveAction(menuBar()->actions().value(0));
    });
}

void Form1::estiramiento_mnu_Click()
{
    muestra_estiramiento(estiramiento_, s_);
}

void Form1::crea_menu_ayuda()
{
    // After every other menu of the bar.
    QMenu* ayuda_mnu = menuBar()->addMenu("Ayuda");
    ayuda_mnu->setObjectName("ayuda_mnu");
    crea_entrada_del_manual(ayuda_mnu);
    auto* acerca_mnu = new QAction(QString::fromUtf8("Acerca de TEVARRO…"), this);
    acerca_mnu->setObjectName("acerca_mnu");
    connect(acerca_mnu, &QAction::triggered, this, &Form1::acerca_mnu_Click);
    ayuda_mnu->addAction(acerca_mnu);
}

void Form1::acerca_mnu_Click()
{
    if (!acerca_) acerca_ = new AcercaDe(this);
    // Over the main window until "OK".
    acerca_->open();
    acerca_->raise();
    acerca_->activateWindow();
}

void Form1::crea_controles()
{
    auto* centro = new QWidget(this);
    centro->setObjectName("Form1_cliente");
    centro->setFixedSize(11880 / kTwipsPorPixel, 7650 / kTwipsPorPixel);
    centro->setBackgroundRole(kColorDeVentana);
    centro->setAutoFillBackground(true);
    setCentralWidget(centro);

    auto boton = [centro](const char* nombre, int arriba) {
        auto* b = new QPushButton(centro);
        b->setObjectName(nombre);
        b->setGeometry(twips(0, arriba, 495, 495));
        b->setIconSize(QSize(32, 32));
        return b;
    };
    Command1 = boton("Command1", 0);
    Command2 = boton("Command2", 480);
    Command3 = boton("Command3", 960);
    Command6 = boton("Command6", 1440);
    Command7 = boton("Command7", 1920);
    Command6->setToolTip("Drag");
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(Command6, &QPushButton::clicked, this, &Form1::Command6_Click);
    connect(Command7, &QPushButton::clicked, this, &Form1::Command7_Click);

    Picture1 = new VistaColumna(centro);
    Picture1->setGeometry(twips(480, 0, 11415, 7335));
    Picture1->escala_de_arranque();

    StatusBar1 = new QStatusBar(centro);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    // A bar of its own colour on the window's.
    StatusBar1->setBackgroundRole(QPalette::Window);
    StatusBar1->setAutoFillBackground(true);
    StatusBar1->setGeometry(twips(0, 7395, 11880, 255));
    pon_linea_de_curva();

    pon_herramientas();
}

void Form1::Form_Load()
{
    valores_de_arranque(s_);
    marca_como_guardada();
    draw();
}

void Form1::marca_como_guardada(const QString& ruta)
{
    const EscrituraColumna w = escribe_columna(s_);
    // A column that cannot be written at all is never taken as saved.
    columna_guardada_ = w.ok ? w.bytes : std::string("\0", 1);
    notas_guardadas_ = notas_de(s_);
    densidades_guardadas_ = densidades_de_grano(s_);
    rangos_guardados_ = rangos_de(s_);
    emit guardada(ruta);
}

bool Form1::columna_modificada() const
{
    const EscrituraColumna w = escribe_columna(s_);
    return !w.ok || w.bytes != columna_guardada_ || notas_de(s_) != notas_guardadas_ ||
           densidades_de_grano(s_) != densidades_guardadas_ || rangos_de(s_) != rangos_guardados_;
}

void Form1::captura_dialogo()
{
    if (form2_) form2_->captura_pendiente();
}

bool Form1::puede_dejar_la_columna()
{
    captura_dialogo();
    if (!columna_modificada()) return true;
    switch (pregunta("¿Guardar los cambios de la columna?")) {
    case Respuesta::guardar:
        return salva_con_dialogo();
    case Respuesta::descartar:
        return true;
    case Respuesta::cancelar:
        return false;
    }
    return false;
}

void Form1::draw()
{
    Picture1->draw(s_);
}

void Form1::calcula_y_dibuja_curvas()
{
    pon_nivel_mar_en_uso(s_);
    const ResultadoCalculo r = tevarro(s_);
    if (r.ok()) {
        muestra_curvas(form4_, s_);
    } else {
        avisa(kTitulo, QString("Error en tiempo de ejecución:\n\n%1")
                           .arg(QString::fromStdString(r.mensaje())));
    }
    if (form5_) form5_->actualiza(s_);
    if (estiramiento_) estiramiento_->actualiza(s_);
    emit columna_cambiada();
}

void Form1::nuevo_mnu_Click()
{
    if (!puede_dejar_la_columna()) return;
    limpia_bancos(s_);
    archivo_columna_.clear();
    marca_como_guardada();
    muestra_sin_calcular();
    muestra_dialogo_bancos();
}

void Form1::muestra_sin_calcular()
{
    // The bed dialog's boxes and status panels too.
    if (form2_) form2_->rellena();
    draw();
    if (form4_) form4_->borra_dibujo();
    if (form5_) form5_->actualiza(s_);
    if (estiramiento_) estiramiento_->actualiza(s_);
    emit columna_cambiada();
}

void Form1::muestra_dialogo_bancos()
{
    if (!form2_) {
        // Creation fills it from the store.
        form2_ = new Form2(s_);
        connect(form2_, &Form2::terminado, this, [this] {
            calcula_y_dibuja_curvas();
            draw();
        });
        connect(form2_, &Form2::capturado, this, [this] {
            // A capture writes the table's sea level for its bed.
            pon_nivel_mar_en_uso(s_);
            emit columna_cambiada();
        });
    } else {
        form2_->muestra_banco();
    }
    form2_->show();
    form2_->raise();
    form2_->activateWindow();
}

void Form1::abrir_mnu_Click()
{
    if (!puede_dejar_la_columna()) return;
    // The dialog comes first: a cancel changes nothing.
    com_file_->DialogTitle = "Abrir Archivo";
    com_file_->Flags = 4;
    if (!com_file_->ShowOpen(this)) return;
    abre_archivo(com_file_->FileName);
}

bool Form1::abre_archivo(const QString& ruta)
{
    const LecturaColumna lectura = lee_archivo(ruta.toStdString());
    if (!lectura.ok) {
        // The column on screen and in memory stays as it was.
        avisa(kTitulo, QString::fromStdString(lectura.error));
        return false;
    }
    carga_lectura(s_, lectura);
    archivo_columna_ = ruta;
    marca_como_guardada(ruta);
    muestra_columna_cargada();
    return true;
}

void Form1::recupera_columna(const LecturaColumna& copia, const QString& original)
{
    carga_lectura(s_, copia);
    archivo_columna_ = original;
    // No file holds it: the same mark as a column that cannot be written.
    columna_guardada_ = std::string("\0", 1);
    muestra_columna_cargada();
}

void Form1::muestra_columna_cargada()
{
    // A computation that fails plots nothing: no curve of the column before
    // may stay.
    if (form4_) form4_->borra_dibujo();
    // An open dialog shows the new column, so that it never writes the old
    // one's texts over it.
    if (form2_) form2_->rellena();
    calcula_y_dibuja_curvas();
    // A column whose computation failed is still shown.
    draw();
}

void Form1::salvar_mnu_Click()
{
    salva_con_dialogo();
}

bool Form1::salva_con_dialogo()
{
    captura_dialogo();
    com_file_->DialogTitle = "Salvar Archivo";
    com_file_->Flags = 4;
    com_file_->ArchivoPropuesto = archivo_columna_;
    if (!com_file_->ShowSave(this)) return false;
    QString ruta = com_file_->FileName;
    if (!destino_sin_perder_notas(this, kTitulo, s_, ruta)) return false;
    const std::string fallo = salva_archivo(s_, ruta.toStdString());
    if (!fallo.empty()) {
        avisa(kTitulo, QString::fromStdString(fallo));
        return false;
    }
    archivo_columna_ = com_file_->FileName;
    marca_como_guardada(com_file_->FileName);
    return true;
}

void Form1::exit_mnu_Click()
{
    // Ends at once unless a modified column is still to be saved.
    if (!puede_dejar_la_columna()) return;
    QApplication::exit(0);
}

void Form1::closeEvent(QCloseEvent* e)
{
    if (!puede_dejar_la_columna()) {
        e->ignore();
        return;
    }
    e->accept();
    QApplication::exit(0);
}

void Form1::paste_mnu_Click()
{
    // The bitmap first, then the vector picture, which replaces it.
    const QMimeData* datos = QApplication::clipboard()->mimeData();
    if (!datos) return;
    if (datos->hasImage()) Picture1->fondo = qvariant_cast<QImage>(datos->imageData());
    if (datos->hasFormat("image/svg+xml")) {
        QSvgRenderer svg(datos->data("image/svg+xml"));
        if (svg.isValid()) {
            // At its own size, in the screen's pixels so that it stays sharp.
            const qreal dpr = Picture1->devicePixelRatioF();
            QImage img(svg.defaultSize() * dpr, QImage::Format_ARGB32_Premultiplied);
            img.setDevicePixelRatio(dpr);
            img.fill(Qt::transparent);
            QPainter p(&img);
            svg.render(&p);
            Picture1->fondo = img;
        }
    }
}

void Form1::modificar_mnu_Click()
{
    captura_dialogo();
    s_.banco_actual = 1;
    muestra_dialogo_bancos();
}

void Form1::dibuja_mnu_Click()
{
    captura_dialogo();
    draw();
}

void Form1::historia_mnu_Click()
{
    muestra_historia(form5_, s_);
}

void Form1::Command1_Click()
{
    s_.modo_mover = 0;
    s_.modo_zoom = 0;
    s_.modo_lapiz = 0;
    Picture1->unsetCursor();
}

void Form1::Command2_Click()
{
    s_.modo_mover = 0;
    s_.modo_zoom = kActivo;
    s_.modo_lapiz = 0;
    Picture1->unsetCursor();
}

void Form1::Command3_Click()
{
    s_.modo_lapiz = 0;
    s_.modo_mover = 0;
    s_.modo_zoom = 0;
    Picture1->unsetCursor();
    Picture1->aleja(s_.factor_zoom);
    draw();
}

void Form1::Command6_Click()
{
    s_.modo_mover = kActivo;
    s_.modo_zoom = 0;
    s_.modo_lapiz = 0;
    Picture1->setCursor(Qt::SizeAllCursor);
}

void Form1::Command7_Click()
{
    s_.modo_mover = 0;
    s_.modo_zoom = 0;
    s_.modo_lapiz = kActivo;
    Picture1->unsetCursor();
}

} // namespace tev
