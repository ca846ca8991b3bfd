#include "window_helpers/ajustes_estiramiento.h"

#include "window_helpers/preferencias.h"

#include <QSettings>

namespace tev {

AjustesEstiramiento lee_ajustes_estiramiento()
{
    const AjustesEstiramiento d;
    AjustesEstiramiento a;
    QSettings q = preferencias();
    q.beginGroup("estiramiento");
    a.modo = q.value("modo", d.modo).toString();
    a.constantes = q.value("constantes", d.constantes).toString();
    a.terminos = q.value("terminos", 0).toInt() == 1 ? 1 : 0;
    a.edad_rift_fija = q.value("edad_rift_fija", d.edad_rift_fija).toBool();
    a.edad_rift = q.value("edad_rift", d.edad_rift).toDouble();
    a.corteza = q.value("corteza", d.corteza).toDouble();
    a.desde_fija = q.value("desde_fija", d.desde_fija).toBool();
    a.desde = q.value("desde", d.desde).toDouble();
    a.hasta_fija = q.value("hasta_fija", d.hasta_fija).toBool();
    a.hasta = q.value("hasta", d.hasta).toDouble();
    return a;
}

void guarda_ajustes_estiramiento(const AjustesEstiramiento& a)
{
    {
        QSettings q = preferencias();
        q.beginGroup("estiramiento");
        q.setValue("modo", a.modo);
        q.setValue("constantes", a.constantes);
        q.setValue("terminos", a.terminos);
        q.setValue("edad_rift_fija", a.edad_rift_fija);
        q.setValue("edad_rift", a.edad_rift);
        q.setValue("corteza", a.corteza);
        q.setValue("desde_fija", a.desde_fija);
        q.setValue("desde", a.desde);
        q.setValue("hasta_fija", a.hasta_fija);
        q.setValue("hasta", a.hasta);
    }
    emit aviso_de_estiramiento().cambiados();
}

PeticionAjuste peticion_de(const AjustesEstiramiento& a)
{
    PeticionAjuste p;
    p.modelo.modo = a.modo == "termica" ? ModoEstiramiento::termica : ModoEstiramiento::total;
    if (const ConstantesEstiramiento* c = busca_constantes(a.constantes.toStdString()))
        p.modelo.constantes = *c;
    p.modelo.corteza = a.corteza;
    p.modelo.terminos = a.terminos;
    if (a.edad_rift_fija) p.edad_rift = a.edad_rift;
    if (a.desde_fija) p.desde = a.desde;
    if (a.hasta_fija) p.hasta = a.hasta;
    return p;
}

AvisoDeEstiramiento& aviso_de_estiramiento()
{
    static AvisoDeEstiramiento aviso;
    return aviso;
}

} // namespace tev
