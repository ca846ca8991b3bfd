#pragma once
// The curve plot without widgets: the layout of the curve window in twips,
// the captions of its axes, the three curves and the whole picture as the
// window shows it (for saving it to a file, with or without a screen).
//
// Coordinates are twips of the window's client area (15 twips per
// device-independent pixel), origin at the top-left corner, y downwards.

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

#include <array>

class QPainter;

namespace tev {

struct Dibujo;
struct Store;

// Client area of the curve window.
inline constexpr int kCurvasTwipsPorPixel = 15;
inline constexpr int kCurvasAnchoTwips = 10575;
inline constexpr int kCurvasAltoTwips = 6210;
// Scales of a freshly opened window: 100 twips per Ma, 100 twips per 100 m.
inline constexpr float kEscalaTiempoInicial = 100.0f;
inline constexpr float kEscalaProfundidadInicial = 1.0f;

// A rectangle given in twips, as device-independent pixels (rounded).
QRect rect_twips(int izquierda, int arriba, int ancho, int alto);
// Client size of the curve window in pixels (705 x 414).
QSize tamano_ventana_curvas();

// The labels of the window, in the order of the table below. Captions of the
// ticks start as "0" and are set by the plot.
struct EtiquetaCurvas {
    const char* nombre;
    int izquierda, arriba, ancho, alto; // twips
    bool a_la_derecha;
    const char* texto;
};
inline constexpr std::array<EtiquetaCurvas, 16> kEtiquetasCurvas{{
    {"Label1", 600, 600, 255, 255, true, "0"},
    {"Label16", 840, 360, 495, 255, false, "0"},
    {"Label2", 1965, 360, 495, 255, false, "0"},
    {"Label3", 2960, 360, 495, 255, false, "0"},
    {"Label4", 3960, 360, 495, 255, false, "0"},
    {"Label5", 4960, 360, 495, 255, false, "0"},
    {"Label6", 5960, 360, 495, 255, false, "0"},
    {"Label12", 7080, 480, 255, 255, false, "ma"},
    {"Label7", 480, 1600, 450, 255, true, "0"},
    {"Label8", 480, 2600, 450, 255, true, "0"},
    {"Label9", 480, 3600, 450, 255, true, "0"},
    {"Label10", 480, 4600, 450, 255, true, "0"},
    {"Label11", 840, 5400, 255, 255, false, "km"},
    {"Label13", 8280, 2400, 2055, 255, false, "Curva de descompactación"},
    {"Label14", 8280, 3000, 2055, 255, false, "Corrección por carga"},
    {"Label15", 8280, 3600, 2055, 255, false, "Tevarro tectónica"},
}};

// Names of the labels that carry the axis captions, in the order of
// textos_ejes: time ticks 1 to 5, the time origin, depth ticks 1 to 4.
inline constexpr std::array<const char*, 10> kEtiquetasEjes{"Label2", "Label3",  "Label4", "Label5",
                                                            "Label6", "Label16", "Label7", "Label8",
                                                            "Label9", "Label10"};

// The axis captions for the given scales (twips per Ma, twips per metre),
// in the order of kEtiquetasEjes. Time tick k shows 1000 k / escala_tiempo
// Ma with one decimal, the origin 0, depth tick k shows k / escala_profundidad
// (which is kilometres, the scale being per metre and ticks 1000 twips apart)
// with two; the decimal separator is the user's. Both scales must be
// non-zero.
std::array<QString, 10> textos_ejes(float escala_tiempo, float escala_profundidad);

// The largest whole values of the scroll bars (1 to 1000) at which every
// curve of s lies on the axes as dibuja_curvas plots it: the oldest age
// within the time axis (6000 twips long), the deepest point of the three
// curves within the depth axis (4680 twips). tiempo is twips per Ma (the
// time box), profundidad twips per 100 m (the depth box).
struct EscalasDeBarra {
    int tiempo = 1;
    int profundidad = 1;
};
EscalasDeBarra escalas_que_caben(const Store& s);

// The age (Ma) and depth (m) at a point of the plot given in twips, at the
// given scales; false outside the axes' rectangle.
bool edad_y_profundidad_en(float x, float y, float escala_tiempo, float escala_profundidad,
                           double& edad, double& profundidad);

// The three curves, one segment per bed from bed n_bancos down to 1:
// decompaction in RGB(250, 0, 0), load correction in RGB(0, 0, 255), both
// one pixel wide, tectonic subsidence in black two pixels wide. The painter
// must draw in twips (its transform maps twips to pixels).
void dibuja_curvas(const Store& s, float escala_tiempo, float escala_profundidad, QPainter& p);

// The fixed lines of the window: both axes, the legend frame and its three
// samples. The painter draws in twips.
void dibuja_lineas_fijas(QPainter& p);

// Font and colours of the window, shared with the saved pictures.
QFont fuente_curvas();
inline const QColor kFondoCurvas{255, 255, 255};
inline const QColor kTextoCurvas{0, 0, 0};

// base, narrowed (then made smaller) until texto fits ancho pixels.
QFont fuente_que_cabe(const QFont& base, const QString& texto, int ancho);

// The whole client area as the window shows it at the given scales:
// background, fixed lines, curves, labels with their captions and both scale
// texts. The painter draws in pixels of the window (705 x 414).
void pinta_grafico_completo(const Store& s, float escala_tiempo, float escala_profundidad,
                            QPainter& p);

// The whole picture at the given scales, to be written by guarda_imagen; s
// must outlive it.
Dibujo dibujo_del_grafico(const Store& s, float escala_tiempo, float escala_profundidad);

// Writes the picture to ruta, PNG, SVG or PDF by its extension. On failure returns
// false and, when error is given, says why in Spanish; an existing file is
// left whole.
bool guarda_grafico(const Store& s, float escala_tiempo, float escala_profundidad,
                    const QString& ruta, QString* error);
// The same at the scales of a freshly opened window.
bool guarda_grafico(const Store& s, const QString& ruta, QString* error);

} // namespace tev
