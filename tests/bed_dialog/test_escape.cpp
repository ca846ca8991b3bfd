// Escape closes the bed dialog as its frame's close button does: what was
// typed stays in the bed.

#include "bed_dialog/form2.h"

#include "main_window/ventana_de_prueba.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

namespace tev {
namespace {

TEST(Form2Escape, CierraYGuardaLoEscrito)
{
    prueba::Ventana v;
    v.menu("nuevo_mnu");
    QPointer<Form2> d = v.f->dialogo_bancos();
    ASSERT_NE(d, nullptr);
    d->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(d));
    // The name, and the base over the "0" it shows.
    d->Text7->setFocus();
    QTest::keyClicks(d->Text7, "Margas");
    d->Text2->setFocus();
    d->Text2->selectAll();
    QTest::keyClicks(d->Text2, "250");
    QTest::keyClick(d->Text2, Qt::Key_Escape);
    // Closed as by its frame: hidden, then destroyed.
    ASSERT_FALSE(d.isNull());
    EXPECT_FALSE(d->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(d.isNull());
    EXPECT_EQ(v.s->nombre[1], "Margas");
    EXPECT_EQ(v.s->base[1], 250.0f);
    EXPECT_TRUE(v.f->columna_modificada());
}

} // namespace
} // namespace tev
