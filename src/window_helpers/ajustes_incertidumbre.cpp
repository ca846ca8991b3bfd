#include "window_helpers/ajustes_incertidumbre.h"

#include "window_helpers/preferencias.h"

#include <QSettings>

#include <algorithm>
#include <cmath>
#include <thread>

namespace tev {

namespace {

// A range read back: a finite number not below 0, else the default.
double rango(const QSettings& q, const char* clave, double defecto)
{
    bool ok = false;
    const double v = q.value(clave).toDouble(&ok);
    return ok && std::isfinite(v) && v >= 0 ? v : defecto;
}

} // namespace

AjustesIncertidumbre lee_ajustes_incertidumbre()
{
    const AjustesIncertidumbre defecto;
    AjustesIncertidumbre a;
    QSettings q = preferencias();
    q.beginGroup("incertidumbre");
    a.activa = q.value("activa", defecto.activa).toBool();
    bool ok = false;
    const int tiradas = q.value("tiradas").toInt(&ok);
    a.tiradas = ok && tiradas >= 1 && tiradas <= kMaxTiradas ? tiradas : defecto.tiradas;
    const qulonglong semilla = q.value("semilla").toULongLong(&ok);
    a.semilla = ok ? semilla : defecto.semilla;
    a.rangos.porosidad = rango(q, "porosidad", defecto.rangos.porosidad);
    a.rangos.coef_porosidad = rango(q, "coef_porosidad", defecto.rangos.coef_porosidad);
    a.rangos.paleobatimetria = rango(q, "paleobatimetria", defecto.rangos.paleobatimetria);
    a.rangos.edad = rango(q, "edad", defecto.rangos.edad);
    a.rangos.nivel_mar = rango(q, "nivel_mar", defecto.rangos.nivel_mar);
    q.endGroup();
    return a;
}

void guarda_ajustes_incertidumbre(const AjustesIncertidumbre& a)
{
    QSettings q = preferencias();
    q.beginGroup("incertidumbre");
    q.setValue("activa", a.activa);
    q.setValue("tiradas", a.tiradas);
    q.setValue("semilla", QString::number(static_cast<qulonglong>(a.semilla)));
    q.setValue("porosidad", a.rangos.porosidad);
    q.setValue("coef_porosidad", a.rangos.coef_porosidad);
    q.setValue("paleobatimetria", a.rangos.paleobatimetria);
    q.setValue("edad", a.rangos.edad);
    q.setValue("nivel_mar", a.rangos.nivel_mar);
    q.endGroup();
}

int hilos_de_calculo()
{
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

} // namespace tev
