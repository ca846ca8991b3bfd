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
    ultimo_guardado_ = accion_;
    connect(accion_, &QAction::triggered, this, &GuardarImagen::guardar_imagen_Click);
}

void GuardarImagen::ofrece(const QPoint& en_pantalla)
{
    menu_->exec(en_pantalla);
}

void GuardarImagen::guardar_imagen_Click()
{
    guarda_con(guarda_);
}

QAction* GuardarImagen::anade_guardado(const QString& texto, const char* nombre, Guarda guarda)
{
    auto* a = new QAction(texto, menu_);
    a->setObjectName(nombre);
    const QList<QAction*> entradas = menu_->actions();
    const auto tras = entradas.indexOf(ultimo_guardado_);
    menu_->insertAction(tras + 1 < entradas.size() ? entradas[tras + 1] : nullptr, a);
    ultimo_guardado_ = a;
    connect(a, &QAction::triggered, this,
            [this, guarda = std::move(guarda)] { guarda_con(guarda); });
    return a;
}

void GuardarImagen::guarda_con(const Guarda& guarda)
{
    const QString ruta = pide_ruta ? pide_ruta() : QString();
    if (ruta.isEmpty()) return;
    QString error;
    if (!guarda(ruta, &error)) avisa(error);
}

} // namespace tev
