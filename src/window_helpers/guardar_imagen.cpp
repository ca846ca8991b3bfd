#include "window_helpers/guardar_imagen.h"
#include "window_helpers/dialogo_de_archivos.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>

#include <utility>

namespace tev {

QString pide_ruta_de_imagen(QWidget* padre)
{
    QFileDialog dialogo(padre, "Guardar imagen", QString(),
                        "Imagen PNG (*.png);;Imagen SVG (*.svg);;Documento PDF (*.pdf)");
    dialogo.setFileMode(QFileDialog::AnyFile);
    dialogo.setAcceptMode(QFileDialog::AcceptSave);
    QString ruta = elige_archivo(dialogo);
    const QString filtro = dialogo.selectedNameFilter();
    if (!ruta.isEmpty() && QFileInfo(ruta).suffix().isEmpty()) {
        ruta += filtro.contains("svg") ? ".svg" : filtro.contains("pdf") ? ".pdf" : ".png";
    }
    return ruta;
}

GuardarImagen::GuardarImagen(QWidget* ventana, const QString& titulo, Guarda guarda)
    : QObject(ventana), guarda_(std::move(guarda))
{
    pide_ruta = [ventana]() { return pide_ruta_de_imagen(ventana); };
    avisa = [ventana, titulo](const QString& texto) {
        QMessageBox::warning(ventana, titulo, texto);
    };
    menu_ = new QMenu(ventana);
    accion_ = menu_->addAction(QString::fromUtf8("Guardar imagen…"));
    accion_->setObjectName("guardar_imagen_act");
    connect(accion_, &QAction::triggered, this, &GuardarImagen::guardar_imagen_Click);
}

void GuardarImagen::ofrece(const QPoint& en_pantalla)
{
    menu_->exec(en_pantalla);
}

void GuardarImagen::guardar_imagen_Click()
{
    const QString ruta = pide_ruta ? pide_ruta() : QString();
    if (ruta.isEmpty()) return;
    QString error;
    if (!guarda_(ruta, &error)) avisa(error);
}

} // namespace tev
