#include "help_window/ventana_ayuda.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include <algorithm>

// Outside the namespace, as Qt requires.
static void carga_manual()
{
    Q_INIT_RESOURCE(manual);
}

namespace tev {

const QUrl VentanaAyuda::kInicio("qrc:/manual/index.html");

VentanaAyuda::VentanaAyuda() : QWidget(nullptr, Qt::Window)
{
    carga_manual();
    setObjectName("VentanaAyuda");
    setWindowTitle("Manual de TEVARRO");
    setAttribute(Qt::WA_DeleteOnClose);
    resize(1040, 700);

    auto boton = [this](const char* nombre, const char* texto, const char* consejo) {
        auto* b = new QToolButton(this);
        b->setObjectName(nombre);
        b->setText(QString::fromUtf8(texto));
        b->setToolTip(QString::fromUtf8(consejo));
        b->setAutoRaise(true);
        return b;
    };
    Atras = boton("Atras", "◀ Atrás", "Vuelve a lo leído antes (Alt+Izquierda)");
    Adelante = boton("Adelante", "Adelante ▶", "Vuelve adelante (Alt+Derecha)");
    Inicio = boton("Inicio", "Inicio", "El principio del manual");
    Atras->setEnabled(false);
    Adelante->setEnabled(false);

    Contenido = new QTreeWidget(this);
    Contenido->setObjectName("Contenido");
    Contenido->setHeaderLabel("Contenido");
    Contenido->header()->setStretchLastSection(true);
    Manual = new QTextBrowser(this);
    Manual->setObjectName("Manual");
    Manual->setOpenExternalLinks(true);

    division_ = new QSplitter(this);
    division_->setObjectName("division");
    division_->addWidget(Contenido);
    division_->addWidget(Manual);
    division_->setStretchFactor(1, 1);

    auto* botones = new QHBoxLayout;
    botones->addWidget(Atras);
    botones->addWidget(Adelante);
    botones->addWidget(Inicio);
    botones->addStretch();
    auto* todo = new QVBoxLayout(this);
    todo->addLayout(botones);
    todo->addWidget(division_, 1);

    connect(Atras, &QToolButton::clicked, Manual, &QTextBrowser::backward);
    connect(Adelante, &QToolButton::clicked, Manual, &QTextBrowser::forward);
    connect(Inicio, &QToolButton::clicked, Manual, [this] { Manual->setSource(kInicio); });
    connect(Manual, &QTextBrowser::backwardAvailable, Atras, &QWidget::setEnabled);
    connect(Manual, &QTextBrowser::forwardAvailable, Adelante, &QWidget::setEnabled);
    connect(Manual, &QTextBrowser::sourceChanged, this, &VentanaAyuda::rellena_contenido);
    connect(Contenido, &QTreeWidget::itemActivated, this, &VentanaAyuda::ve_a);
    connect(Contenido, &QTreeWidget::itemClicked, this, &VentanaAyuda::ve_a);

    Manual->setSource(kInicio);
    rellena_contenido();
}

void VentanaAyuda::rellena_contenido()
{
    // Built once per page: moving to an anchor of the same page keeps it.
    const QUrl pagina = Manual->source().adjusted(QUrl::RemoveFragment);
    if (Contenido->property("pagina").toUrl() == pagina && Contenido->topLevelItemCount() > 0)
        return;
    Contenido->setProperty("pagina", pagina);
    Contenido->clear();
    QTreeWidgetItem* seccion = nullptr;
    for (QTextBlock b = Manual->document()->begin(); b.isValid(); b = b.next()) {
        const int nivel = b.blockFormat().headingLevel();
        if (nivel != 2 && nivel != 3) continue;
        QString ancla;
        for (auto f = b.begin(); !f.atEnd() && ancla.isEmpty(); ++f)
            ancla = f.fragment().charFormat().anchorNames().value(0);
        if (ancla.isEmpty()) continue;
        QTreeWidgetItem* entrada =
            nivel == 2 || !seccion ? new QTreeWidgetItem(Contenido) : new QTreeWidgetItem(seccion);
        if (nivel == 2) seccion = entrada;
        entrada->setText(0, b.text().trimmed());
        entrada->setToolTip(0, entrada->text(0));
        entrada->setData(0, Qt::UserRole, ancla);
    }
    Contenido->expandAll();
    // Wide enough for every heading, unless that would leave the page too
    // narrow (the tool tips then give the whole text).
    int texto = 0;
    for (QTreeWidgetItemIterator i(Contenido); *i; ++i) {
        const int nivel = (*i)->parent() ? 2 : 1;
        texto = std::max(texto, Contenido->fontMetrics().horizontalAdvance((*i)->text(0)) +
                                    nivel * Contenido->indentation());
    }
    const int ancho = texto + Contenido->frameWidth() * 2 + 16;
    const int total = width();
    division_->setSizes({std::min(ancho, total / 2), std::max(total - ancho, total / 2)});
}

void VentanaAyuda::ve_a(QTreeWidgetItem* entrada)
{
    if (!entrada) return;
    QUrl destino = Manual->source();
    destino.setFragment(entrada->data(0, Qt::UserRole).toString());
    Manual->setSource(destino);
}

} // namespace tev
