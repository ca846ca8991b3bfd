#pragma once
// A context menu driven as the user drives it: a right press on the window
// (the platform turns it into a context-menu event), then the keyboard in
// the menu that opens.

#include <QApplication>
#include <QMenu>
#include <QStringList>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace tev::prueba {

// Right-clicks w at pos (w's pixels) and, if a menu opens, picks the entry
// named entrada with the arrow keys and Return. Returns the entries of the
// menu that opened, empty when none did.
inline QStringList elige_en_menu_contextual(QWidget* w, QPoint pos, const QString& entrada)
{
    QStringList vistas;
    // Answered from inside the menu's own event loop: a menu closed before
    // that loop runs would leave it running for ever.
    QTimer reloj;
    reloj.setInterval(5);
    QObject::connect(&reloj, &QTimer::timeout, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu || QThread::currentThread()->loopLevel() == 0) return;
        reloj.stop();
        for (QAction* a : menu->actions())
            vistas << a->text();
        for (QAction* a : menu->actions()) {
            QTest::keyClick(menu, Qt::Key_Down);
            if (a->text() == entrada) break;
        }
        QTest::keyClick(menu, Qt::Key_Return);
        // A disabled entry cannot be chosen: the menu is closed instead.
        if (menu->isVisible()) QTest::keyClick(menu, Qt::Key_Escape);
    });
    reloj.start();
    QWidget* ventana = w->window();
    QWindow* handle = ventana->windowHandle();
    const QPoint en_ventana = w->mapTo(ventana, pos);
    // A menu that opens runs its loop inside the press.
    QTest::mousePress(handle, Qt::RightButton, Qt::NoModifier, en_ventana);
    reloj.stop();
    QTest::mouseRelease(handle, Qt::RightButton, Qt::NoModifier, en_ventana);
    return vistas;
}

} // namespace tev::prueba
