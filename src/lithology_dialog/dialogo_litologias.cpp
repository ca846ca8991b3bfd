#include "lithology_dialog/dialogo_litologias.h"

#include "model/litologias.h"
#include "project_file/archivos.h"
#include "project_file/litologias_csv.h"
#include "text_forms/formas_numericas.h"
#include "window_helpers/dialogo_de_archivos.h"

#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <set>

namespace tev {

namespace {

enum Columna { kNombre, kDensidad, kPorosidad, kCoeficiente, kColumnas };
const char* const kTitulos[kColumnas] = {"Nombre", "Densidad de grano (kg/m³)",
                                         "Porosidad en superficie", "Coeficiente (1/km)"};
const char* const kCampos[kColumnas] = {"el nombre", "la densidad de grano", "la porosidad",
                                        "el coeficiente"};
const char* const kFiltro = "Litologías (*.csv);;Todos los archivos (*)";

QTableWidgetItem* celda(const QString& t, bool fija)
{
    auto* i = new QTableWidgetItem(t);
    if (fija) {
        i->setFlags(Qt::ItemIsEnabled); // neither editable nor selectable
        i->setBackground(QColor(232, 232, 232));
        i->setToolTip(QString::fromUtf8("Una litología del programa: no se puede cambiar."));
    }
    return i;
}

QString texto_de(const QTableWidget* t, int f, int c)
{
    const QTableWidgetItem* i = t->item(f, c);
    return i ? i->text().trimmed() : QString();
}

} // namespace

DialogoLitologias::DialogoLitologias(const std::vector<LitologiaUsuario>& rocas, QWidget* padre)
    : QDialog(padre)
{
    setObjectName("DialogoLitologias");
    setWindowTitle(QString::fromUtf8("Litologías"));
    tabla = new QTableWidget(kFilasDelPrograma, kColumnas, this);
    tabla->setObjectName("tabla_litologias");
    for (int c = 0; c < kColumnas; ++c)
        tabla->setHorizontalHeaderItem(c, new QTableWidgetItem(QString::fromUtf8(kTitulos[c])));
    for (int f = 0; f < kFilasDelPrograma; ++f) {
        const Litologia& l = tabla_litologias[static_cast<size_t>(f)];
        tabla->setItem(f, kNombre, celda(QString::fromUtf8(l.nombre), true));
        tabla->setItem(f, kDensidad,
                       celda(QString::fromStdString(forma_corta(l.densidad_grano)), true));
        tabla->setItem(f, kPorosidad, celda(QString::fromLatin1(l.porosidad), true));
        tabla->setItem(f, kCoeficiente, celda(QString::fromLatin1(l.coeficiente), true));
    }
    for (const LitologiaUsuario& r : rocas) {
        tabla->insertRow(tabla->rowCount());
        pon_fila(tabla->rowCount() - 1, r);
    }
    tabla->setSelectionBehavior(QAbstractItemView::SelectRows);
    tabla->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tabla->horizontalHeader()->setStretchLastSection(true);

    auto boton = [this](const char* texto, const char* nombre) {
        auto* b = new QPushButton(QString::fromUtf8(texto), this);
        b->setObjectName(nombre);
        b->setAutoDefault(false);
        return b;
    };
    anadir = boton("Añadir", "anadir");
    quitar = boton("Quitar", "quitar");
    importar = boton("Importar…", "importar");
    exportar = boton("Exportar…", "exportar");
    aceptar = boton("Aceptar", "aceptar");
    cancelar = boton("Cancelar", "cancelar");
    mensaje = new QLabel(this);
    mensaje->setObjectName("mensaje");
    mensaje->setWordWrap(true);
    mensaje->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* botones = new QHBoxLayout;
    for (QPushButton* b : {anadir, quitar, importar, exportar})
        botones->addWidget(b);
    botones->addStretch(1);
    botones->addWidget(aceptar);
    botones->addWidget(cancelar);
    auto* todo = new QVBoxLayout(this);
    todo->addWidget(tabla, 1);
    todo->addWidget(mensaje);
    todo->addLayout(botones);
    resize(720, 360);

    connect(anadir, &QPushButton::clicked, this, &DialogoLitologias::anade_fila);
    connect(quitar, &QPushButton::clicked, this, &DialogoLitologias::quita_filas);
    connect(importar, &QPushButton::clicked, this, &DialogoLitologias::importa);
    connect(exportar, &QPushButton::clicked, this, &DialogoLitologias::exporta);
    connect(aceptar, &QPushButton::clicked, this, &DialogoLitologias::accept);
    connect(cancelar, &QPushButton::clicked, this, &DialogoLitologias::reject);

    pide_importacion = [this] {
        QFileDialog d(this, QString::fromUtf8("Importar litologías"));
        d.setAcceptMode(QFileDialog::AcceptOpen);
        d.setFileMode(QFileDialog::ExistingFile);
        d.setNameFilter(QString::fromUtf8(kFiltro));
        return elige_archivo(d);
    };
    pide_exportacion = [this] {
        QFileDialog d(this, QString::fromUtf8("Exportar litologías"));
        d.setAcceptMode(QFileDialog::AcceptSave);
        d.setNameFilter(QString::fromUtf8(kFiltro));
        d.setDefaultSuffix("csv");
        return elige_archivo(d);
    };
}

void DialogoLitologias::pon_fila(int f, const LitologiaUsuario& r)
{
    tabla->setItem(f, kNombre, celda(QString::fromStdString(r.nombre), false));
    tabla->setItem(f, kDensidad,
                   celda(QString::fromStdString(numero_corto(r.densidad_grano)), false));
    tabla->setItem(f, kPorosidad, celda(QString::fromStdString(numero_corto(r.porosidad)), false));
    tabla->setItem(f, kCoeficiente,
                   celda(QString::fromStdString(numero_corto(r.coef_porosidad)), false));
}

void DialogoLitologias::di(const QString& texto, bool error)
{
    mensaje->setStyleSheet(error ? "color: #b00000;" : QString());
    mensaje->setText(texto);
}

bool DialogoLitologias::lee_rocas(std::vector<LitologiaUsuario>& rocas, QString& error) const
{
    rocas.clear();
    for (int f = kFilasDelPrograma; f < tabla->rowCount(); ++f) {
        LitologiaUsuario r;
        r.nombre = texto_de(tabla, f, kNombre).toStdString();
        const QString fila = QString::fromUtf8("Fila %1").arg(f + 1);
        const std::string mal = motivo_de_nombre(r.nombre, rocas);
        if (!mal.empty()) {
            error = fila + ", " + QString::fromUtf8(kCampos[kNombre]) + ": " +
                    QString::fromStdString(mal) + ".";
            return false;
        }
        float* const valores[3] = {&r.densidad_grano, &r.porosidad, &r.coef_porosidad};
        for (int c = kDensidad; c < kColumnas; ++c) {
            const QString t = texto_de(tabla, f, c);
            std::string normal = t.toStdString();
            std::replace(normal.begin(), normal.end(), ',', '.');
            float& v = *valores[c - kDensidad];
            const Conversion conv = convierte_real(normal, v);
            std::string fuera;
            if (conv == Conversion::vacio)
                fuera = "falta el número";
            else if (conv != Conversion::ok)
                fuera = "«" + t.toStdString() + "» no es un número";
            else
                fuera = c == kDensidad    ? motivo_de_densidad_grano(v)
                        : c == kPorosidad ? motivo_de_porosidad(v)
                                          : motivo_de_coef_porosidad(v);
            if (!fuera.empty()) {
                error = fila +
                        QString::fromUtf8(" («%1»), %2: ")
                            .arg(QString::fromStdString(r.nombre), QString::fromUtf8(kCampos[c])) +
                        QString::fromStdString(fuera) + ".";
                return false;
            }
        }
        rocas.push_back(std::move(r));
    }
    return true;
}

void DialogoLitologias::anade_fila()
{
    const int f = tabla->rowCount();
    tabla->insertRow(f);
    for (int c = 0; c < kColumnas; ++c)
        tabla->setItem(f, c, celda(QString(), false));
    tabla->setCurrentCell(f, kNombre);
    tabla->editItem(tabla->item(f, kNombre));
}

void DialogoLitologias::quita_filas()
{
    std::set<int> filas;
    for (const QModelIndex& i : tabla->selectionModel()->selectedIndexes())
        if (i.row() >= kFilasDelPrograma) filas.insert(i.row());
    if (filas.empty() && tabla->currentRow() >= kFilasDelPrograma)
        filas.insert(tabla->currentRow());
    for (auto it = filas.rbegin(); it != filas.rend(); ++it)
        tabla->removeRow(*it);
}

void DialogoLitologias::importa()
{
    std::vector<LitologiaUsuario> actuales;
    QString error;
    if (!lee_rocas(actuales, error)) {
        di(QString::fromUtf8("No se puede importar mientras la tabla tenga un error. ") + error,
           true);
        return;
    }
    const QString ruta = pide_importacion ? pide_importacion() : QString();
    if (ruta.isEmpty()) return;
    const LecturaLitologias l = lee_archivo_litologias(QFile::encodeName(ruta).toStdString());
    if (!l.ok) {
        di(QString::fromStdString(l.error), true);
        return;
    }
    // All or nothing: a name that clashes with one already here stops it.
    for (const LitologiaUsuario& r : l.rocas) {
        const std::string mal = motivo_de_nombre(r.nombre, actuales);
        if (!mal.empty()) {
            di(QString::fromUtf8("No se importó «%1»: su litología «%2»: %3.")
                   .arg(ruta, QString::fromStdString(r.nombre), QString::fromStdString(mal)),
               true);
            return;
        }
        actuales.push_back(r);
    }
    for (const LitologiaUsuario& r : l.rocas) {
        tabla->insertRow(tabla->rowCount());
        pon_fila(tabla->rowCount() - 1, r);
    }
    di(QString::fromUtf8("Importadas %1 de «%2».")
           .arg(QString::fromStdString(
                    cantidad(static_cast<long long>(l.rocas.size()), "litología", "litologías")),
                ruta),
       false);
}

void DialogoLitologias::exporta()
{
    std::vector<LitologiaUsuario> rocas;
    QString error;
    if (!lee_rocas(rocas, error)) {
        di(error, true);
        return;
    }
    const QString ruta = pide_exportacion ? pide_exportacion() : QString();
    if (ruta.isEmpty()) return;
    const std::string fallo =
        guarda_archivo(QFile::encodeName(ruta).toStdString(), escribe_litologias_csv(rocas));
    if (!fallo.empty()) {
        di(QString::fromStdString(fallo), true);
        return;
    }
    di(QString::fromUtf8("Exportadas %1 a «%2».")
           .arg(QString::fromStdString(
                    cantidad(static_cast<long long>(rocas.size()), "litología", "litologías")),
                ruta),
       false);
}

void DialogoLitologias::accept()
{
    std::vector<LitologiaUsuario> rocas;
    QString error;
    if (!lee_rocas(rocas, error)) {
        di(error, true);
        return;
    }
    aceptadas_ = std::move(rocas);
    QDialog::accept();
}

} // namespace tev
