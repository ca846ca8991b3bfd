#pragma once
// VentanaAyuda: "Manual de TEVARRO", the manual in Spanish inside the
// program. Its pages (docs/manual) are compiled into the program as the Qt
// resource :/manual, so the window needs no installed file. On the left,
// the contents: the manual's headings, each taking the page to itself; on
// the right, the page, whose links are followed in the window. Atrás,
// Adelante and Inicio move through what was read.

#include <QUrl>
#include <QWidget>

class QSplitter;
class QTextBrowser;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace tev {

class VentanaAyuda : public QWidget {
    Q_OBJECT
  public:
    // The first page of the manual.
    static const QUrl kInicio;

    // A top-level window without owner; closing it destroys it.
    VentanaAyuda();

    QTextBrowser* Manual = nullptr;
    QTreeWidget* Contenido = nullptr;
    QToolButton* Atras = nullptr;
    QToolButton* Adelante = nullptr;
    QToolButton* Inicio = nullptr;

  private:
    // The contents of the page shown: its headings of level 2 and 3 with
    // their anchors.
    void rellena_contenido();
    void ve_a(QTreeWidgetItem* entrada);

    QSplitter* division_ = nullptr;
};

} // namespace tev
