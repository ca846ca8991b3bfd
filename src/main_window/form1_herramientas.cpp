// Form1's view tools: the pictures of the tool buttons and the mouse handlers
// of the column view (pan, zoom window, pencil).

#include "main_window/form1.h"

#include "drawing/unidades.h"
#include "main_window/herramientas.h"
#include "main_window/vista_columna.h"
#include "model/store.h"

#include <QAction>
#include <QIcon>
#include <QPushButton>

// The pictures live in a static library: their resource must be registered
// by name, from outside any namespace.
static void registra_iconos()
{
    Q_INIT_RESOURCE(herramientas);
}

namespace tev {

void Form1::pon_herramientas()
{
    registra_iconos();
    // The program's own picture, the same file that is installed as its icon.
    setWindowIcon(QIcon(":/iconos/tevarro.svg"));
    const struct {
        QPushButton* boton;
        const char* dibujo;
    } botones[] = {
        {Command1, ":/iconos/flecha.svg"},     {Command2, ":/iconos/lupa_mas.svg"},
        {Command3, ":/iconos/lupa_menos.svg"}, {Command6, ":/iconos/mano.svg"},
        {Command7, ":/iconos/lapiz.svg"},
    };
    for (const auto& b : botones) {
        b.boton->setIcon(QIcon(b.dibujo));
        b.boton->setIconSize(QSize(32, 32));
    }
    // Under the five tools, on the same 480-twip pitch.
    ver_toda_btn = new QPushButton(Command7->parentWidget());
    ver_toda_btn->setObjectName("ver_toda_btn");
    ver_toda_btn->setGeometry(twips(0, 2400, 495, 495));
    ver_toda_btn->setIcon(QIcon(":/iconos/ver_toda.svg"));
    ver_toda_btn->setIconSize(QSize(32, 32));
    ver_toda_btn->setToolTip("Ver toda la columna (Inicio)");
    connect(ver_toda_btn, &QPushButton::clicked, Picture1->ver_toda, &QAction::trigger);

    connect(Picture1, &VistaColumna::MouseDown, this, &Form1::Picture1_MouseDown);
    connect(Picture1, &VistaColumna::MouseMove, this, &Form1::Picture1_MouseMove);
    connect(Picture1, &VistaColumna::MouseUp, this, &Form1::Picture1_MouseUp);
}

void Form1::Picture1_MouseDown(int Button, int Shift, float X, float Y)
{
    Q_UNUSED(Button);
    Q_UNUSED(Shift);
    s_.x_inicio = X;
    s_.y_inicio = Y;
    if (s_.modo_mover) Picture1->muestra_guia(true);
    if (s_.modo_zoom) Picture1->muestra_ventana_de_zoom(true);
}

void Form1::Picture1_MouseMove(int Button, int Shift, float X, float Y)
{
    Q_UNUSED(Shift);
    const float x0 = s_.x_inicio;
    const float y0 = s_.y_inicio;
    if (s_.modo_mover) Picture1->situa_guia(x0, y0, X, Y);
    if (s_.modo_zoom) Picture1->situa_ventana_de_zoom(x0, y0, X, Y);
    if (Button == kBotonIzquierdo && s_.modo_lapiz) {
        Picture1->linea(s_.x_anterior, s_.y_anterior, X, Y, QColor(0, 0, 255));
    }
    s_.x_anterior = X;
    s_.y_anterior = Y;
}

void Form1::Picture1_MouseUp(int Button, int Shift, float X, float Y)
{
    Q_UNUSED(Button);
    Q_UNUSED(Shift);
    if (s_.modo_mover) {
        Picture1->desplaza(s_.x_inicio, s_.y_inicio, X, Y);
        Picture1->muestra_guia(false);
        draw();
    }
    if (s_.modo_zoom) {
        Picture1->muestra_ventana_de_zoom(false);
        if (Picture1->zoom_a_ventana(s_.factor_zoom, s_.x_inicio, s_.y_inicio, X, Y)) draw();
    }
    // The pencil does nothing on release.
}

} // namespace tev
