#include "model_dialog/dialogo_modelo.h"

#include "compute/nivel_mar.h"
#include "project_file/curva_nivel_mar.h"
#include "window_helpers/curva_en_uso.h"
#include "window_helpers/dialogo_de_archivos.h"
#include "window_helpers/preferencias.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tev {

DialogoModelo::DialogoModelo(QWidget* padre) : QDialog(padre)
{
    setObjectName("DialogoModelo");
    setWindowTitle("Modelo");

    auto* titulo = new QLabel("Curva del nivel del mar:", this);
    tabla_opt = new QRadioButton("Tabla del programa", this);
    tabla_opt->setObjectName("tabla_opt");
    ninguno_opt = new QRadioButton("Ninguna (0 m a toda edad)", this);
    ninguno_opt->setObjectName("ninguno_opt");
    archivo_opt = new QRadioButton("Archivo CSV (edad,nivel_mar):", this);
    archivo_opt->setObjectName("archivo_opt");
    // One of the three: radio buttons of one parent exclude one another.

    archivo_txt = new QLineEdit(this);
    archivo_txt->setObjectName("archivo_txt");
    archivo_txt->setMinimumWidth(320);
    elegir_btn = new QPushButton("Elegir…", this);
    elegir_btn->setObjectName("elegir_btn");
    error_lbl = new QLabel(this);
    error_lbl->setObjectName("error_lbl");
    error_lbl->setWordWrap(true);
    error_lbl->setStyleSheet("color: #b00000");
    error_lbl->hide();

    aceptar_btn = new QPushButton("Aceptar", this);
    aceptar_btn->setObjectName("aceptar_btn");
    aceptar_btn->setDefault(true);
    cancelar_btn = new QPushButton("Cancelar", this);
    cancelar_btn->setObjectName("cancelar_btn");

    auto* fila_archivo = new QHBoxLayout;
    fila_archivo->addSpacing(20);
    fila_archivo->addWidget(archivo_txt, 1);
    fila_archivo->addWidget(elegir_btn);
    auto* botones = new QHBoxLayout;
    botones->addStretch(1);
    botones->addWidget(aceptar_btn);
    botones->addWidget(cancelar_btn);
    auto* todo = new QVBoxLayout(this);
    todo->addWidget(titulo);
    todo->addWidget(tabla_opt);
    todo->addWidget(ninguno_opt);
    todo->addWidget(archivo_opt);
    todo->addLayout(fila_archivo);
    todo->addWidget(error_lbl);
    todo->addStretch(1);
    todo->addLayout(botones);

    pide_archivo = [this] {
        QFileDialog dialogo(this, "Curva del nivel del mar");
        dialogo.setOption(QFileDialog::DontUseNativeDialog);
        dialogo.setFileMode(QFileDialog::ExistingFile);
        dialogo.setNameFilters({"Curvas CSV (*.csv)", "Todos los archivos (*)"});
        return elige_archivo(dialogo);
    };
    connect(elegir_btn, &QPushButton::clicked, this, &DialogoModelo::elige);
    // Typing a file's name chooses the file.
    connect(archivo_txt, &QLineEdit::textEdited, this, [this] { archivo_opt->setChecked(true); });
    connect(aceptar_btn, &QPushButton::clicked, this, &DialogoModelo::acepta);
    connect(cancelar_btn, &QPushButton::clicked, this, &QDialog::reject);
    muestra_eleccion();
}

void DialogoModelo::muestra_eleccion()
{
    const CurvaNivelMar& c = curva_en_uso();
    tabla_opt->setChecked(c.tipo == CurvaNivelMar::Tipo::tabla);
    ninguno_opt->setChecked(c.tipo == CurvaNivelMar::Tipo::ninguna);
    archivo_opt->setChecked(c.tipo == CurvaNivelMar::Tipo::usuario);
    archivo_txt->setText(QFile::decodeName(c.archivo.c_str()));
    // A file that could not be read at start is offered again.
    if (c.tipo == CurvaNivelMar::Tipo::tabla && !nota_de_curva().isEmpty()) {
        QSettings p = preferencias();
        archivo_txt->setText(p.value("modelo/archivo").toString());
    }
    error_lbl->clear();
    error_lbl->hide();
}

void DialogoModelo::elige()
{
    const QString ruta = pide_archivo ? pide_archivo() : QString();
    if (ruta.isEmpty()) return;
    archivo_txt->setText(ruta);
    archivo_opt->setChecked(true);
}

void DialogoModelo::acepta()
{
    CurvaNivelMar curva;
    if (ninguno_opt->isChecked()) {
        curva.tipo = CurvaNivelMar::Tipo::ninguna;
    } else if (archivo_opt->isChecked()) {
        const QString texto = archivo_txt->text().trimmed();
        if (texto.isEmpty()) {
            error_lbl->setText("Falta el nombre del archivo de la curva.");
            error_lbl->show();
            return;
        }
        // Whole, so that the next start finds it from any folder.
        const QString ruta = QFileInfo(texto).absoluteFilePath();
        const LecturaCurva l = lee_archivo_curva(QFile::encodeName(ruta).toStdString());
        if (!l.ok) {
            // Refused: the curve in force stays.
            error_lbl->setText(QString::fromStdString(l.error));
            error_lbl->show();
            return;
        }
        curva = l.curva;
    }
    guarda_curva_en_preferencias(curva);
    pon_curva_en_uso(curva);
    accept();
}

} // namespace tev
