#include "uncertainty_dialog/dialogo_incertidumbre.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace tev {

namespace {

// A number as the user types it: a point or a comma before the decimals.
bool lee_numero(const QLineEdit* campo, double* v)
{
    QString t = campo->text().trimmed();
    t.replace(',', '.');
    bool ok = false;
    *v = t.toDouble(&ok);
    return ok && std::isfinite(*v);
}

QString texto(double v)
{
    return QString::number(v, 'g', 15);
}

} // namespace

DialogoIncertidumbre::DialogoIncertidumbre(QWidget* padre) : QDialog(padre)
{
    setObjectName("DialogoIncertidumbre");
    setWindowTitle(QString::fromUtf8("Incertidumbre"));
    auto* todo = new QVBoxLayout(this);
    activa_chk =
        new QCheckBox(QString::fromUtf8("Calcular y mostrar las bandas de incertidumbre"), this);
    activa_chk->setObjectName("activa_chk");
    todo->addWidget(activa_chk);

    auto* campos = new QFormLayout();
    auto campo = [this, campos](const char* nombre, const char* etiqueta) {
        auto* c = new QLineEdit(this);
        c->setObjectName(nombre);
        campos->addRow(QString::fromUtf8(etiqueta), c);
        return c;
    };
    tiradas_txt = campo("tiradas_txt", "Número de tiradas:");
    semilla_txt = campo("semilla_txt", "Semilla:");
    porosidad_txt = campo("porosidad_txt", "Porosidad ± (fracción de su valor):");
    coef_txt = campo("coef_txt", "Coeficiente de porosidad ± (fracción de su valor):");
    paleobatimetria_txt = campo("paleobatimetria_txt", "Paleobatimetría ± (m):");
    edad_txt = campo("edad_txt", "Edad de techo ± (Ma):");
    nivel_mar_txt = campo("nivel_mar_txt", "Nivel del mar ± (m):");
    todo->addLayout(campos);
    auto* nota = new QLabel(
        QString::fromUtf8("Los rangos valen para los bancos que no tienen el suyo propio."), this);
    nota->setObjectName("nota_lbl");
    nota->setWordWrap(true);
    todo->addWidget(nota);
    mensaje_lbl = new QLabel(this);
    mensaje_lbl->setObjectName("mensaje_lbl");
    mensaje_lbl->setWordWrap(true);
    mensaje_lbl->setStyleSheet("color: #b00000");
    todo->addWidget(mensaje_lbl);

    auto* botones = new QDialogButtonBox(this);
    botones->setObjectName("botones");
    aceptar_btn = botones->addButton(QString::fromUtf8("Aceptar"), QDialogButtonBox::AcceptRole);
    aceptar_btn->setObjectName("aceptar_btn");
    aceptar_btn->setDefault(true);
    cancelar_btn = botones->addButton(QString::fromUtf8("Cancelar"), QDialogButtonBox::RejectRole);
    cancelar_btn->setObjectName("cancelar_btn");
    connect(botones, &QDialogButtonBox::accepted, this, &DialogoIncertidumbre::accept);
    connect(botones, &QDialogButtonBox::rejected, this, &DialogoIncertidumbre::reject);
    todo->addWidget(botones);
    pon_ajustes(lee_ajustes_incertidumbre());
}

void DialogoIncertidumbre::pon_ajustes(const AjustesIncertidumbre& a)
{
    activa_chk->setChecked(a.activa);
    tiradas_txt->setText(QString::number(a.tiradas));
    semilla_txt->setText(QString::number(static_cast<qulonglong>(a.semilla)));
    porosidad_txt->setText(texto(a.rangos.porosidad));
    coef_txt->setText(texto(a.rangos.coef_porosidad));
    paleobatimetria_txt->setText(texto(a.rangos.paleobatimetria));
    edad_txt->setText(texto(a.rangos.edad));
    nivel_mar_txt->setText(texto(a.rangos.nivel_mar));
    mensaje_lbl->clear();
}

bool DialogoIncertidumbre::lee_campos(AjustesIncertidumbre* a, QString* error) const
{
    AjustesIncertidumbre r;
    r.activa = activa_chk->isChecked();
    bool ok = false;
    r.tiradas = tiradas_txt->text().trimmed().toInt(&ok);
    if (!ok || r.tiradas < 1 || r.tiradas > kMaxTiradas) {
        *error = QString::fromUtf8("Número de tiradas: «%1» no vale; escriba un número entero "
                                   "entre 1 y %2.")
                     .arg(tiradas_txt->text())
                     .arg(kMaxTiradas);
        return false;
    }
    r.semilla = semilla_txt->text().trimmed().toULongLong(&ok);
    if (!ok) {
        *error = QString::fromUtf8("Semilla: «%1» no vale; escriba un número entero de 0 "
                                   "en adelante.")
                     .arg(semilla_txt->text());
        return false;
    }
    struct Rango {
        const QLineEdit* campo;
        const char* nombre;
        const char* unidad;
        double* valor;
    };
    const Rango rangos[] = {
        {porosidad_txt, "Porosidad ±", "una fracción de la porosidad, 0,1 es ±10 %",
         &r.rangos.porosidad},
        {coef_txt, "Coeficiente de porosidad ±", "una fracción del coeficiente",
         &r.rangos.coef_porosidad},
        {paleobatimetria_txt, "Paleobatimetría ±", "metros", &r.rangos.paleobatimetria},
        {edad_txt, "Edad de techo ±", "Ma", &r.rangos.edad},
        {nivel_mar_txt, "Nivel del mar ±", "metros", &r.rangos.nivel_mar},
    };
    for (const Rango& c : rangos) {
        if (!lee_numero(c.campo, c.valor) || *c.valor < 0) {
            *error =
                QString::fromUtf8("%1: «%2» no vale; escriba un número no negativo (%3).")
                    .arg(QString::fromUtf8(c.nombre), c.campo->text(), QString::fromUtf8(c.unidad));
            return false;
        }
    }
    *a = r;
    return true;
}

void DialogoIncertidumbre::accept()
{
    AjustesIncertidumbre a;
    QString error;
    if (!lee_campos(&a, &error)) {
        mensaje_lbl->setText(error);
        return;
    }
    guarda_ajustes_incertidumbre(a);
    mensaje_lbl->clear();
    QDialog::accept();
    emit ajustes_cambiados();
}

} // namespace tev
