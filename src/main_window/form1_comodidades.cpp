// What the main window offers as most desktop programs do: the Ctrl keys of
// the file commands, "Archivos recientes", "Imprimir…" and the manual on F1.

#include "main_window/form1.h"

#include "compute/historia.h"
#include "drawing/dibujo_curvas.h"
#include "drawing/dibujo_historia.h"
#include "drawing/exporta_imagen.h"
#include "drawing/imagen_columna.h"
#include "help_window/ventana_ayuda.h"
#include "main_window/archivos_recientes.h"
#include "main_window/vista_columna.h"
#include "model/programa.h"
#include "model/store.h"
#include "window_helpers/curva_en_uso.h"
#include "window_helpers/imprimir.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPrinter>

#include <memory>
#include <utility>

namespace tev {

namespace {

const char* const kTitulo = kNombrePrograma;

// The shortcuts work in every window of the program (the bed dialog, the
// curve and history windows, the manual), unless a modal dialog is up.
void de_toda_la_aplicacion(QAction* a, const QKeySequence& teclas)
{
    a->setShortcut(teclas);
    a->setShortcutContext(Qt::ApplicationShortcut);
}

} // namespace

void Form1::con_atajo(QAction* a, Qt::Key tecla)
{
    de_toda_la_aplicacion(a, QKeySequence(Qt::CTRL | tecla));
}

void Form1::crea_recientes_e_imprimir(QMenu* file_mnu)
{
    file_mnu->addSeparator();
    recientes_ = new ArchivosRecientes(this);
    file_mnu->addMenu(recientes_->menu());
    recientes_->avisa = [this](const QString& texto) { avisa(kTitulo, texto); };
    connect(recientes_, &ArchivosRecientes::elegido, this, &Form1::abre_reciente);
    // Every file the column was opened from or saved to.
    connect(this, &Form1::guardada, recientes_, [this](const QString& ruta) {
        if (!ruta.isEmpty()) recientes_->anota_despues(ruta);
    });

    auto* imprimir = new QAction(QString::fromUtf8("Imprimir…"), this);
    imprimir->setObjectName("imprimir_mnu");
    con_atajo(imprimir, Qt::Key_P);
    connect(imprimir, &QAction::triggered, this, &Form1::imprimir_mnu_Click);
    file_mnu->addAction(imprimir);
    file_mnu->addSeparator();
    pide_impresora = [this](QPrinter& impresora) { return dialogo_de_impresion(impresora, this); };
}

void Form1::crea_entrada_del_manual(QMenu* ayuda_mnu)
{
    auto* manual = new QAction("Manual de TEVARRO", this);
    manual->setObjectName("manual_mnu");
    de_toda_la_aplicacion(manual, QKeySequence(Qt::Key_F1));
    connect(manual, &QAction::triggered, this, &Form1::manual_mnu_Click);
    ayuda_mnu->addAction(manual);
    ayuda_mnu->addSeparator();
}

void Form1::abre_reciente(const QString& ruta)
{
    if (!puede_dejar_la_columna()) return;
    abre_archivo(ruta);
}

void Form1::manual_mnu_Click()
{
    if (!ayuda_) ayuda_ = new VentanaAyuda();
    ayuda_->show();
    ayuda_->raise();
    ayuda_->activateWindow();
}

void Form1::imprimir_mnu_Click()
{
    QWidget* activa = QApplication::activeWindow();
    Dibujo dibujo;
    if (form4_ && activa == form4_) {
        // At the scales the window plotted with.
        dibujo = con_curva_en_uso(dibujo_del_grafico(s_, s_.escala_tiempo, s_.escala_profundidad));
    } else if (form5_ && activa == form5_) {
        const ResultadoHistoria& r = form5_->resultado();
        if (!r.ok()) {
            avisa(kTitulo, QString("No hay historia de enterramiento que imprimir: %1")
                               .arg(QString::fromStdString(r.error)));
            return;
        }
        // A copy of what the window shows: the window may go while the print
        // dialog is up.
        struct Copia {
            Historia historia;
            Store columna;
            std::vector<BandaPaso> bandas;
        };
        auto copia =
            std::make_shared<Copia>(Copia{r.historia, form5_->columna(), form5_->bandas()});
        dibujo =
            dibujo_de_la_historia(copia->historia, copia->columna, form5_->size(), copia->bandas);
        dibujo.pinta = [copia, pinta = std::move(dibujo.pinta)](QPainter& p) { pinta(p); };
        dibujo = con_curva_en_uso(std::move(dibujo));
    } else if (pozos_ && activa == pozos_) {
        dibujo = pozos_->dibujo_propio();
    } else {
        // The column view as it shows the column (zoom, pan, pasted picture).
        dibujo = dibujo_de_la_columna(s_, Picture1->area(), Picture1->escala(), Picture1->fondo);
    }
    QPrinter impresora(QPrinter::HighResolution);
    prepara_impresora(impresora, dibujo);
    if (!pide_impresora(impresora)) return;
    QString error;
    if (!imprime(impresora, dibujo, &error)) avisa(kTitulo, error);
}

} // namespace tev
