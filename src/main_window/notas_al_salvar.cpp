#include "main_window/notas_al_salvar.h"

#include "model/store.h"
#include "project_file/formatos.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QString>
#include <QStringList>

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
                                const QString& ruta, const QString& ruta_csv, int densidades,
                                int rangos)
{
    const auto en = [](int n) { return n == 1 ? QString("1 banco") : QString("%1 bancos").arg(n); };
    QString texto = QString("La columna tiene notas en %1, y un archivo de proyecto no guarda "
                            "notas.")
                        .arg(en(bancos));
    QString con = "con sus notas";
    QString sin = "Guardar sin notas";
    if (densidades > 0) {
        // The remarks' question as it was, the grain densities named too.
        const QString propias = QString("densidades de grano propias en %1").arg(en(densidades));
        texto = bancos > 0 ? QString("La columna tiene notas en %1 y %2, y un archivo de proyecto "
                                     "no guarda notas ni densidades de grano propias.")
                                 .arg(en(bancos), propias)
                           : QString("La columna tiene %1, y un archivo de proyecto no las "
                                     "guarda.")
                                 .arg(propias);
        con = bancos > 0 ? "con sus notas y densidades" : "con sus densidades";
        sin = "Guardar sin ellas";
    }
    if (rangos > 0) {
        // Everything the project file leaves out, named in one sentence.
        QStringList partes;
        if (bancos > 0) partes << QString("notas en %1").arg(en(bancos));
        if (densidades > 0)
            partes << QString("densidades de grano propias en %1").arg(en(densidades));
        partes << QString("rangos de incertidumbre propios en %1").arg(en(rangos));
        const QString ultima = partes.takeLast();
        const QString lista = partes.isEmpty() ? ultima : partes.join(", ") + " y " + ultima;
        texto = QString("La columna tiene %1, y un archivo de proyecto no los guarda.").arg(lista);
        con = "con todo ello";
        sin = "Guardar sin ellos";
    }
    QMessageBox caja(QMessageBox::Warning, titulo, texto, QMessageBox::NoButton, padre);
    caja.setInformativeText(QString("¿Guardarla como CSV en «%1», %2, o guardar «%3» %4?")
                                .arg(QFileInfo(ruta_csv).fileName(), con,
                                     QFileInfo(ruta).fileName(),
                                     rangos > 0 ? "sin ellos" : "sin ellas"));
    QPushButton* csv = caja.addButton("Guardar como CSV", QMessageBox::AcceptRole);
    QPushButton* sin_notas = caja.addButton(sin, QMessageBox::DestructiveRole);
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
    const int densidades = densidades_que_no_caben(s, ruta.toStdString());
    const int rangos = rangos_que_no_caben(s, ruta.toStdString());
    if (bancos == 0 && densidades == 0 && rangos == 0) return true;
    const QString csv = ruta_csv_al_lado(ruta);
    switch (pregunta_por_notas(padre, titulo, bancos, ruta, csv, densidades, rangos)) {
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
