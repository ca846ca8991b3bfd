#include "help_window/ventana_ayuda.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

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
    resize(960, 680);

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

    auto* division = new QSplitter(this);
    division->addWidget(Contenido);
    division->addWidget(Manual);
    division->setStretchFactor(1, 1);
    division->setSizes({250, 710});

    auto* botones = new QHBoxLayout;
    botones->addWidget(Atras);
    botones->addWidget(Adelante);
    botones->addWidget(Inicio);
    botones->addStretch();
    auto* todo = new QVBoxLayout(this);
    todo->addLayout(botones);
    todo->addWidget(division, 1);

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
        entrada->setData(0, Qt::UserRole, ancla);
    }
    Contenido->expandAll();
}

void VentanaAyuda::ve_a(QTreeWidgetItem* entrada)
{
    if (!entrada) return;
    QUrl destino = Manual->source();
    destino.setFragment(entrada->data(0, Qt::UserRole).toString());
    Manual->setSource(destino);
}

} // namespace tev
