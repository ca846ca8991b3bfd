// The manual's window: its contents are the manual's headings, a link of the
// page clicked with the mouse is followed, and "Atrás" comes back.

#include "help_window/ventana_ayuda.h"

#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QTreeWidget>

#include <memory>

namespace tev {
namespace {

// Where the link to href lies in the page, in the browser's viewport.
QPoint enlace(QTextBrowser* b, const QString& href)
{
    for (QTextBlock bl = b->document()->begin(); bl.isValid(); bl = bl.next())
        for (auto f = bl.begin(); !f.atEnd(); ++f)
            if (f.fragment().charFormat().anchorHref() == href) {
                QTextCursor c(b->document());
                c.setPosition(f.fragment().position() + 1);
                return b->cursorRect(c).center();
            }
    return {-1, -1};
}

struct Abierta {
    std::unique_ptr<VentanaAyuda> w = std::make_unique<VentanaAyuda>();
    Abierta()
    {
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    }
};

TEST(VentanaAyuda, ElContenidoSonLosTitulosDelManual)
{
    Abierta a;
    QStringList secciones;
    for (int i = 0; i < a.w->Contenido->topLevelItemCount(); ++i)
        secciones << a.w->Contenido->topLevelItem(i)->text(0);
    // Every subject the manual must cover has its section.
    for (const char* t : {"Las ventanas", "Las herramientas de la vista", "Los archivos",
                          "El cálculo", "La historia de enterramiento",
                          "Donde TEVARRO se aparta a propósito del comportamiento simple"})
        EXPECT_TRUE(secciones.contains(QString::fromUtf8(t))) << t;

    // An entry of the contents takes the page to its heading.
    QTreeWidgetItem* calculo =
        a.w->Contenido->findItems(QString::fromUtf8("El cálculo"), Qt::MatchExactly).value(0);
    ASSERT_NE(calculo, nullptr);
    const QRect r = a.w->Contenido->visualItemRect(calculo);
    QTest::mouseClick(a.w->Contenido->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(a.w->Manual->source().fragment(), "calculo");
    EXPECT_GT(a.w->Manual->verticalScrollBar()->value(), 0);
}

TEST(VentanaAyuda, UnEnlaceSeSigueYAtrasVuelve)
{
    Abierta a;
    EXPECT_EQ(a.w->Manual->source(), VentanaAyuda::kInicio);
    EXPECT_EQ(a.w->Manual->verticalScrollBar()->value(), 0);
    EXPECT_FALSE(a.w->Atras->isEnabled());

    const QPoint p = enlace(a.w->Manual, "#historia");
    ASSERT_GE(p.y(), 0) << "el índice no enlaza la historia de enterramiento";
    QTest::mouseClick(a.w->Manual->viewport(), Qt::LeftButton, {}, p);
    EXPECT_EQ(a.w->Manual->source().fragment(), "historia");
    const int abajo = a.w->Manual->verticalScrollBar()->value();
    EXPECT_GT(abajo, 0);
    // The heading the link names is at the top of the view.
    QTextBlock titulo = a.w->Manual->document()->begin();
    while (titulo.isValid() &&
           !(titulo.blockFormat().headingLevel() == 2 &&
             titulo.text().trimmed() == QString::fromUtf8("La historia de enterramiento")))
        titulo = titulo.next();
    ASSERT_TRUE(titulo.isValid());
    const QRect r = a.w->Manual->cursorRect(QTextCursor(titulo));
    EXPECT_GE(r.top(), 0);
    EXPECT_LT(r.top(), a.w->Manual->viewport()->height() / 4);

    ASSERT_TRUE(a.w->Atras->isEnabled());
    QTest::mouseClick(a.w->Atras, Qt::LeftButton);
    EXPECT_EQ(a.w->Manual->source(), VentanaAyuda::kInicio);
    EXPECT_EQ(a.w->Manual->verticalScrollBar()->value(), 0);
    EXPECT_TRUE(a.w->Adelante->isEnabled());
}

} // namespace
} // namespace tev
