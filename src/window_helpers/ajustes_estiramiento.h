#pragma once
// The stretching settings of the window "Subsidencia y estiramiento", kept in
// the preferences (preferencias.h) under the group "estiramiento", and shared
// with every window that fits the same model (the comparison of wells). The
// stretching window writes them; a notice tells the others.

#include "compute/estiramiento.h"

#include <QObject>
#include <QString>

namespace tev {

struct AjustesEstiramiento {
    QString modo = "total"; // "total" or "termica"
    QString constantes = kJuegosDeConstantes[0].nombre;
    int terminos = 0; // 0: the whole series; 1: its first term only
    bool edad_rift_fija = false;
    double edad_rift = 0;                    // Ma
    double corteza = kCortezaPredeterminada; // m
    bool desde_fija = false;
    double desde = 0; // Ma
    bool hasta_fija = false;
    double hasta = 0; // Ma
};

// The settings as last written; the defaults above for a missing entry.
AjustesEstiramiento lee_ajustes_estiramiento();
// Writes them and tells every window through aviso_de_estiramiento.
void guarda_ajustes_estiramiento(const AjustesEstiramiento& a);

// The fit's request: an unknown mode is "total", unknown constants the first
// set of kJuegosDeConstantes.
PeticionAjuste peticion_de(const AjustesEstiramiento& a);

// Tells every window that the stretching settings changed.
class AvisoDeEstiramiento : public QObject {
    Q_OBJECT
  signals:
    void cambiados();
};
AvisoDeEstiramiento& aviso_de_estiramiento();

} // namespace tev
