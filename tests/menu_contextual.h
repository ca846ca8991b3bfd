#pragma once
// A context menu driven as the user drives it: a right press on the window
// (the platform turns it into a context-menu event), then the keyboard in the
// menu that opens, from inside the menu's own event loop (a menu closed
// before that loop runs would leave it running for ever).

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWindow>

namespace tev::prueba {

// Right-clicks w at pos and, if a menu opens, picks `entrada` with the arrow
// keys and Return (Escape if it cannot be chosen). Returns the menu's
// entries, none when no menu opened.
inline QStringList elige_en_menu_contextual(QWidget* w, QPoint pos, const QString& entrada)
{
    QStringList vistas;
    QTimer reloj;
    reloj.setInterval(5);
    QObject::connect(&reloj, &QTimer::timeout, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu || QThread::currentThread()->loopLevel() == 0) return;
        reloj.stop();
        for (QAction* a : menu->actions())
            vistas << a->text();
        for (QAction* a : menu->actions()) {
            if (a->isSeparator()) continue; // the arrow keys pass over it
            QTest::keyClick(menu, Qt::Key_Down);
            if (a->text() == entrada) break;
        }
        QTest::keyClick(menu, Qt::Key_Return);
        if (menu->isVisible()) QTest::keyClick(menu, Qt::Key_Escape);
    });
    reloj.start();
    const QPoint en_ventana = w->mapTo(w->window(), pos);
    QTest::mousePress(w->window()->windowHandle(), Qt::RightButton, Qt::NoModifier, en_ventana);
    reloj.stop();
    QTest::mouseRelease(w->window()->windowHandle(), Qt::RightButton, Qt::NoModifier, en_ventana);
    return vistas;
}

} // namespace tev::prueba
