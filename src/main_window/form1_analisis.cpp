// The main window's "Análisis" menu and the column table it opens.

#include "main_window/form1.h"

#include "compute/tevarro.h"
#include "model/densidad.h"
#include "model/store.h"
#include "model_dialog/dialogo_modelo.h"
#include "project_file/archivos.h"
#include "project_file/litologias_csv.h"
#include "window_helpers/curva_en_uso.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QStandardPaths>
#include <QStatusBar>

namespace tev {

void Form1::crea_menu_analisis()
{
    // Right after "Dibuja", the last command of the bar before it.
    QMenu* analisis_mnu = menuBar()->addMenu(QString::fromUtf8("Análisis"));
    analisis_mnu->setObjectName("analisis_mnu");
    auto accion = [this, analisis_mnu](const char* texto, const char* nombre,
                                       const QKeySequence& tecla, auto slot) {
        auto* a = new QAction(QString::fromUtf8(texto), this);
        a->setObjectName(nombre);
        a->setShortcut(tecla);
        // From every window of the program, as the file commands' keys.
        a->setShortcutContext(Qt::ApplicationShortcut);
        connect(a, &QAction::triggered, this, slot);
        analisis_mnu->addAction(a);
        return a;
    };
    accion("Tabla de la columna", "tabla_mnu", QKeySequence(Qt::CTRL | Qt::Key_T),
           &Form1::tabla_mnu_Click);
    accion("Historia de enterramiento", "historia_mnu", QKeySequence(Qt::CTRL | Qt::Key_H),
           &Form1::historia_mnu_Click);
    accion("Subsidencia y estiramiento", "estiramiento_mnu", QKeySequence(Qt::CTRL | Qt::Key_E),
           &Form1::estiramiento_mnu_Click);
    accion("Incertidumbre…", "incertidumbre_mnu", QKeySequence(Qt::CTRL | Qt::Key_I),
           &Form1::incertidumbre_mnu_Click);
    accion("Comparar pozos…", "pozos_mnu", QKeySequence(), &Form1::pozos_mnu_Click);
    accion("Litologías…", "litologias_mnu", QKeySequence(), &Form1::litologias_mnu_Click);
    accion("Modelo…", "modelo_mnu", QKeySequence(), &Form1::modelo_mnu_Click);
    carga_litologias_usuario();
}

void Form1::pozos_mnu_Click()
{
    captura_dialogo();
    const bool nueva = !pozos_;
    muestra_pozos(pozos_, s_, archivo_columna_);
    if (!nueva) return;
    const auto sigue = [this] { pozos_->sigue_la_columna(s_, archivo_columna_); };
    connect(this, &Form1::columna_cambiada, pozos_, sigue);
    connect(this, &Form1::guardada, pozos_, sigue);
}

void Form1::incertidumbre_mnu_Click()
{
    if (!incertidumbre_) {
        incertidumbre_ = new DialogoIncertidumbre(this);
        incertidumbre_->setAttribute(Qt::WA_DeleteOnClose);
        connect(incertidumbre_, &DialogoIncertidumbre::ajustes_cambiados, this, [this] {
            if (form5_) form5_->actualiza(s_);
            if (estiramiento_) estiramiento_->actualiza(s_);
            if (pozos_) pozos_->calcula_bandas_de_nuevo();
        });
    }
    incertidumbre_->show();
    incertidumbre_->raise();
    incertidumbre_->activateWindow();
}

void Form1::modelo_mnu_Click()
{
    if (!modelo_) modelo_ = new DialogoModelo(this);
    modelo_->muestra_eleccion();
    modelo_->show();
    modelo_->raise();
    modelo_->activateWindow();
}

void Form1::pon_linea_de_curva()
{
    // A file that cannot be read is named on the line, with the table in force.
    lee_curva_de_preferencias();
    StatusBar1->addPermanentWidget(etiqueta_de_curva(StatusBar1));
    connect(&aviso_de_curva(), &AvisoDeCurva::cambiada, this, &Form1::sigue_la_curva);
}

void Form1::sigue_la_curva()
{
    captura_dialogo();
    // Every bed, the program's table too: the beds hold the curve left before.
    pon_nivel_mar(s_, curva_en_uso());
    calcula_tras_la_tabla();
}

QString Form1::archivo_de_litologias()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/litologias.csv";
}

void Form1::carga_litologias_usuario()
{
    const QString ruta = archivo_de_litologias();
    if (!QFileInfo::exists(ruta)) return; // none yet
    const LecturaLitologias l = lee_archivo_litologias(QFile::encodeName(ruta).toStdString());
    if (l.ok) {
        s_.litologias_usuario = l.rocas;
        return;
    }
    StatusBar1->showMessage(
        QString::fromUtf8("Sin litologías del usuario: %1").arg(QString::fromStdString(l.error)));
}

void Form1::litologias_mnu_Click()
{
    captura_dialogo();
    if (litologias_) {
        litologias_->raise();
        litologias_->activateWindow();
        return;
    }
    litologias_ = new DialogoLitologias(s_.litologias_usuario, this);
    litologias_->setAttribute(Qt::WA_DeleteOnClose);
    connect(litologias_, &QDialog::accepted, this,
            [this] { pon_litologias_usuario(litologias_->rocas()); });
    litologias_->open();
}

void Form1::pon_litologias_usuario(const std::vector<LitologiaUsuario>& rocas)
{
    // The beds that named a rock before or name one now change their grains.
    auto nombra = [](const std::vector<LitologiaUsuario>& r, const std::string& lit) {
        return busca_litologia_usuario(r, lit) != nullptr;
    };
    std::vector<int> afectados;
    for (int i = 1; i <= s_.n_bancos; ++i)
        if (nombra(s_.litologias_usuario, s_.litologia[i]) || nombra(rocas, s_.litologia[i]))
            afectados.push_back(i);
    s_.litologias_usuario = rocas;

    const QString ruta = archivo_de_litologias();
    QDir().mkpath(QFileInfo(ruta).path());
    const std::string fallo =
        guarda_archivo(QFile::encodeName(ruta).toStdString(), escribe_litologias_csv(rocas));
    if (!fallo.empty())
        avisa(QString::fromUtf8("Litologías"),
              QString::fromStdString(fallo) + QString::fromUtf8(" Las litologías valen "
                                                                "hasta que se cierre "
                                                                "TEVARRO."));

    if (form2_) form2_->pon_litologias_usuario();
    for (const int i : afectados)
        calcula_densidad(s_, i);
    if (!afectados.empty()) {
        calcula_tras_la_tabla();
    } else if (form2_) {
        form2_->rellena(); // its warnings
    }
    if (tabla_) tabla_->muestra_de_nuevo();
}

void Form1::tabla_mnu_Click()
{
    captura_dialogo();
    if (!tabla_) {
        tabla_ = new TablaColumna(s_);
        connect(tabla_, &TablaColumna::antes_de_cambiar, this, &Form1::captura_dialogo);
        connect(tabla_, &TablaColumna::cambiada, this, &Form1::calcula_tras_la_tabla);
        connect(this, &Form1::columna_cambiada, tabla_, &TablaColumna::sigue_la_columna);
        connect(this, &Form1::guardada, tabla_, &TablaColumna::pon_archivo);
        tabla_->pon_archivo(archivo_columna_);
    } else {
        tabla_->sigue_la_columna();
    }
    tabla_->show();
    tabla_->raise();
    tabla_->activateWindow();
}

void Form1::calcula_tras_la_tabla()
{
    pon_nivel_mar_en_uso(s_);
    const ResultadoCalculo r = tevarro(s_);
    if (r.ok()) {
        // Only a window already open is redrawn: an edit opens none.
        if (form4_) muestra_curvas(form4_, s_);
    } else if (form4_) {
        form4_->borra_dibujo();
    }
    if (tabla_)
        tabla_->muestra_fallo_de_calculo(r.ok() ? QString()
                                                : QString("Error en tiempo de ejecución: %1")
                                                      .arg(QString::fromStdString(r.mensaje())));
    if (form5_) form5_->actualiza(s_);
    if (estiramiento_) estiramiento_->actualiza(s_);
    // The dialog shows the column as the table left it.
    if (form2_) form2_->rellena();
    draw();
    emit columna_cambiada();
}

} // namespace tev
