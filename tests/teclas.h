#pragma once
// Typing as the keyboard types: one key event per character, accented
// letters too (QTest's own typing takes ASCII only). A Latin-1 letter comes
// with the key Qt gives it, its upper-case code point (Qt::Key_Oacute for
// "ó").

#include <QString>
#include <QTest>
#include <QWidget>

namespace tev::prueba {

inline void teclea(QWidget* w, const QString& texto)
{
    for (const QChar c : texto) {
        if (c.unicode() < 0x80) {
            QTest::keyClicks(w, QString(c));
        } else {
            const auto tecla = static_cast<Qt::Key>(c.toUpper().unicode());
            QTest::sendKeyEvent(QTest::Click, w, tecla, QString(c), Qt::NoModifier);
        }
    }
}

} // namespace tev::prueba
