#include "main_window/acerca_de.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

#include <cmath>

namespace tev {

namespace {

const char* const kVersionDelPrograma = TEVARRO_VERSION;
const QColor kAmarilloTitulo(255, 255, 0);
const QColor kTextoClaro(244, 239, 225);
constexpr int kAncho = 460;
constexpr int kAlto = 330;
// Where the sea floor lies, as a share of the height.
constexpr double kFondoDelMar = 0.27;

QLabel* etiqueta(QWidget* padre, const char* nombre, const QString& texto, const QRect& donde)
{
    auto* l = new QLabel(texto, padre);
    l->setObjectName(nombre);
    l->setGeometry(donde);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette paleta = l->palette();
    paleta.setColor(QPalette::WindowText, kTextoClaro);
    l->setPalette(paleta);
    return l;
}

// The top of a layer: a gentle wave at depth y (pixels), the same for
// every layer but fading with depth, as beds flatten under their load.
QPainterPath techo_de_capa(const QRectF& r, double y, double fase, double amplitud)
{
    QPainterPath camino;
    const int pasos = 48;
    for (int k = 0; k <= pasos; ++k) {
        const double x = r.left() + r.width() * k / pasos;
        const double yy = y + amplitud * std::sin(x / r.width() * 2.0 * M_PI * 1.5 + fase);
        if (k == 0)
            camino.moveTo(x, yy);
        else
            camino.lineTo(x, yy);
    }
    return camino;
}

} // namespace

void pinta_fondo_acerca_de(QPainter& p, const QRect& r)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF area(r);
    const double fondo_mar = area.top() + area.height() * kFondoDelMar;

    // The sea.
    QLinearGradient mar(area.topLeft(), QPointF(area.left(), fondo_mar));
    mar.setColorAt(0.0, QColor(8, 28, 56));
    mar.setColorAt(1.0, QColor(22, 72, 102));
    p.fillRect(QRectF(area.topLeft(), QPointF(area.right() + 1, fondo_mar + 8)), mar);

    // Layers of sediment, thinner with depth, each a shade of rock.
    const QColor rocas[] = {{96, 74, 44}, {58, 66, 84}, {82, 88, 46}, {112, 56, 38}, {70, 58, 50},
                            {48, 56, 70}, {92, 76, 52}, {60, 44, 40}, {44, 50, 58}};
    double y = fondo_mar;
    double espesor = area.height() * 0.16;
    double amplitud = 5.0;
    for (std::size_t k = 0; k < std::size(rocas); ++k) {
        QPainterPath capa = techo_de_capa(area, y, 0.7 * static_cast<double>(k), amplitud);
        capa.lineTo(area.right() + 1, area.bottom() + 1);
        capa.lineTo(area.left(), area.bottom() + 1);
        capa.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(rocas[k]);
        p.drawPath(capa);
        // A thin darker line where one bed rests on the other.
        p.setPen(QPen(QColor(20, 18, 16, 150), 1.2));
        p.setBrush(Qt::NoBrush);
        p.drawPath(techo_de_capa(area, y, 0.7 * static_cast<double>(k), amplitud));
        y += espesor;
        espesor *= 0.82;
        amplitud *= 0.8;
    }

    // A column of beds on the left, as the program draws one: coloured boxes
    // with black outlines, their left edges stepped by lithology, hanging
    // from the datum line.
    const double izquierda = area.left() + 18;
    const double derecha = area.left() + 62;
    const double sangrias[] = {0, 9, 4, 14, -5, 6};
    const QColor colores[] = {{255, 255, 0}, {0, 200, 0},   {255, 0, 0},
                              {0, 255, 255}, {255, 0, 255}, {255, 255, 255}};
    const double espesores[] = {34, 28, 40, 22, 30, 26};
    double techo = fondo_mar + 14;
    p.setRenderHint(QPainter::Antialiasing, false);
    for (std::size_t k = 0; k < std::size(colores); ++k) {
        const QRectF caja(QPointF(izquierda + sangrias[k], techo),
                          QPointF(derecha, techo + espesores[k]));
        p.fillRect(caja, colores[k]);
        p.setPen(QPen(Qt::black, 1));
        p.drawRect(caja);
        techo += espesores[k];
    }
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(QPointF(izquierda - 10, fondo_mar + 14), QPointF(derecha + 10, fondo_mar + 14));

    // A dark veil under the texts.
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 120));
    p.drawRoundedRect(QRectF(area.left() + 78, fondo_mar + 10, area.width() - 92, 160), 6, 6);
    p.restore();
}

AcercaDe::AcercaDe(QWidget* parent) : QDialog(parent)
{
    setObjectName("AcercaDe");
    setWindowTitle(QString("Tevarro %1").arg(kVersionDelPrograma));
    setFixedSize(kAncho, kAlto);

    Titulo = new QLabel(QString("TEVARRO  %1").arg(kVersionDelPrograma), this);
    Titulo->setObjectName("Titulo");
    Titulo->setGeometry(16, 14, kAncho - 32, 56);
    Titulo->setAlignment(Qt::AlignCenter);
    QFont grande = Titulo->font();
    grande.setBold(true);
    grande.setPointSizeF(grande.pointSizeF() * 2.4);
    Titulo->setFont(grande);
    QPalette amarillo = Titulo->palette();
    amarillo.setColor(QPalette::WindowText, kAmarilloTitulo);
    Titulo->setPalette(amarillo);

    const int x = 90;
    const int ancho = kAncho - x - 24;
    const int arriba = static_cast<int>(kAlto * kFondoDelMar) + 18;
    Label1 = etiqueta(this, "Label1",
                      QString::fromUtf8("Análisis de cuencas en una dimensión por backstripping: "
                                        "descompacta cada banco de la columna estratigráfica, "
                                        "corrige la carga de los sedimentos y calcula la "
                                        "subsidencia tectónica."),
                      QRect(x, arriba, ancho, 76));
    Label2 = etiqueta(this, "Label2", QString::fromUtf8("Versión %1").arg(kVersionDelPrograma),
                      QRect(x, arriba + 82, ancho, 20));
    Label3 = etiqueta(this, "Label3",
                      QString::fromUtf8("Escrito en C++17 sobre las bibliotecas Qt %1 "
                                        "(Qt Widgets y Qt SVG) y la biblioteca estándar de C++.")
                          .arg(QT_VERSION_STR),
                      QRect(x, arriba + 106, ancho, 44));

    Command1 = new QPushButton("OK", this);
    Command1->setObjectName("Command1");
    Command1->setGeometry(kAncho - 24 - 88, kAlto - 16 - 30, 88, 30);
    Command1->setDefault(true);
    Command1->setAutoDefault(true);
    connect(Command1, &QPushButton::clicked, this, &AcercaDe::Command1_Click);
}

void AcercaDe::Command1_Click()
{
    accept();
    if (QWidget* principal = parentWidget()) {
        principal->show();
        principal->raise();
        principal->activateWindow();
    }
}

void AcercaDe::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    pinta_fondo_acerca_de(p, rect());
}

} // namespace tev
