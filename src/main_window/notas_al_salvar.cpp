#include "main_window/notas_al_salvar.h"

#include "model/store.h"
#include "project_file/formatos.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QString>

namespace tev {

namespace {

// True when the user lets the file at ruta be replaced.
bool puede_reemplazar(QWidget* padre, const QString& titulo, const QString& ruta)
{
    QMessageBox caja(
        QMessageBox::Warning, titulo,
        QString("El archivo «%1» ya existe.\n¿Desea reemplazarlo?").arg(QFileInfo(ruta).fileName()),
        QMessageBox::NoButton, padre);
    QPushButton* reemplazar = caja.addButton("Reemplazar", QMessageBox::AcceptRole);
    QPushButton* cancelar = caja.addButton("Cancelar", QMessageBox::RejectRole);
    caja.setDefaultButton(cancelar);
    caja.setEscapeButton(cancelar);
    caja.exec();
    return caja.clickedButton() == reemplazar;
}

} // namespace

DestinoNotas pregunta_por_notas(QWidget* padre, const QString& titulo, int bancos,
                                const QString& ruta, const QString& ruta_csv)
{
    const QString en = bancos == 1 ? QString("1 banco") : QString("%1 bancos").arg(bancos);
    QMessageBox caja(QMessageBox::Warning, titulo,
                     QString("La columna tiene notas en %1, y un archivo de proyecto no guarda "
                             "notas.")
                         .arg(en),
                     QMessageBox::NoButton, padre);
    caja.setInformativeText(QString("¿Guardarla como CSV en «%1», con sus notas, o guardar «%2» "
                                    "sin ellas?")
                                .arg(QFileInfo(ruta_csv).fileName(), QFileInfo(ruta).fileName()));
    QPushButton* csv = caja.addButton("Guardar como CSV", QMessageBox::AcceptRole);
    QPushButton* sin_notas = caja.addButton("Guardar sin notas", QMessageBox::DestructiveRole);
    QPushButton* cancelar = caja.addButton("Cancelar", QMessageBox::RejectRole);
    caja.setDefaultButton(csv);
    caja.setEscapeButton(cancelar);
    caja.exec();
    if (caja.clickedButton() == csv) return DestinoNotas::csv;
    if (caja.clickedButton() == sin_notas) return DestinoNotas::sin_notas;
    return DestinoNotas::cancelar;
}

QString ruta_csv_al_lado(const QString& ruta)
{
    const QFileInfo f(ruta);
    const QString nombre = f.suffix().isEmpty() ? f.fileName() : f.completeBaseName();
    return f.dir().filePath(nombre + ".csv");
}

bool destino_sin_perder_notas(QWidget* padre, const QString& titulo, const Store& s, QString& ruta)
{
    const int bancos = notas_que_no_caben(s, ruta.toStdString());
    if (bancos == 0) return true;
    const QString csv = ruta_csv_al_lado(ruta);
    switch (pregunta_por_notas(padre, titulo, bancos, ruta, csv)) {
    case DestinoNotas::csv:
        // The file dialog asked only about ruta.
        if (QFileInfo::exists(csv) && !puede_reemplazar(padre, titulo, csv)) return false;
        ruta = csv;
        return true;
    case DestinoNotas::sin_notas:
        return true;
    case DestinoNotas::cancelar:
        return false;
    }
    return false;
}

} // namespace tev
