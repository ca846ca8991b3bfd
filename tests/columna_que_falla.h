#pragma once
// A column whose uncertainty draws can fail: its top bed lies 250 to 300 m
// above the surface, where a porosity of 0.5 at the surface is
// 0.5 e^(0.5 * 0.3) = 0.58 at its top, but a draw above 1/e^0.15 (about
// 0.86) of a range of ±95 % (up to 0.975) would pass 1: that draw has no
// history. The column itself has one.

#include <gtest/gtest.h>

#include <QFile>
#include <QString>
#include <QTemporaryDir>

namespace tev::prueba {

// Written as "cima_alta.csv" in dir; its path.
inline QString columna_que_falla(const QTemporaryDir& dir)
{
    const QString ruta = dir.filePath("cima_alta.csv");
    QFile f(ruta);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("nombre;techo;base;edad_techo;edad_base;litologia;color;porosidad;coef_porosidad;"
            "paleobatimetria;pct_arenisca;pct_pelita;pct_caliza;pct_evaporita;notas\n"
            "Base;-250;1500;50;100;Areniscas;255;0,5;0,5;10;0;0;0;0;\n"
            "Cima;-300;-250;0;50;Areniscas;65280;0,5;0,5;10;0;0;0;0;\n");
    return ruta;
}

} // namespace tev::prueba
