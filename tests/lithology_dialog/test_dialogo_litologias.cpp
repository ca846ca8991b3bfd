// "Litologías…" driven headless with real clicks and keys: a rock added there
// is in the bed dialog's list, fills its porosity and coefficient and gives
// its grain density to the bed; the program's five stay as they are; a name
// that clashes is refused; import and export go through the same CSV form.

#define QTEST_QPA_MOUSE_HANDLING

#include "lithology_dialog/dialogo_litologias.h"

#include "compute/celdas_columna.h"
#include "main_window/ventana_de_prueba.h"
#include "model/store.h"
#include "project_file/litologias_csv.h"
#include "table_window/modelo_columna.h"
#include "table_window/tabla_columna.h"
#include "teclas.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

namespace tev {
namespace {

// The user's data and preferences in folders of the test's own.
struct Carpetas {
    QTemporaryDir datos;
    QByteArray antes = qgetenv("XDG_DATA_HOME");
    Carpetas() { qputenv("XDG_DATA_HOME", datos.path().toUtf8()); }
    ~Carpetas() { qputenv("XDG_DATA_HOME", antes); }
};

void pulsa(QPushButton* b)
{
    QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, b->rect().center());
}

// Opens the editor of cell (f, c) with a double click, types texto and
// commits it with Enter.
void escribe_celda(QTableWidget* t, int f, int c, const QString& texto)
{
    const QRect r = t->visualItemRect(t->item(f, c));
    QTest::mouseDClick(t->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr) << "no editor on row " << f << ", column " << c;
    ASSERT_TRUE(t->isAncestorOf(editor)) << "an editor elsewhere";
    ASSERT_EQ(t->currentRow(), f);
    editor->selectAll();
    prueba::teclea(editor, texto);
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents(); // the delegate commits from the event loop
}

// A row added with "Añadir" and filled by typing.
void anade(DialogoLitologias* d, const QString& nombre, const QString& grano, const QString& phi,
           const QString& coef)
{
    pulsa(d->anadir);
    QApplication::processEvents();
    // "Añadir" opened the name's editor: close it to type every cell alike.
    if (auto* e = qobject_cast<QLineEdit*>(QApplication::focusWidget()))
        QTest::keyClick(e, Qt::Key_Escape);
    const int f = d->tabla->rowCount() - 1;
    const QString textos[] = {nombre, grano, phi, coef};
    for (int c = 0; c < 4; ++c)
        escribe_celda(d->tabla, f, c, textos[c]);
}

struct Principal : prueba::Ventana {
    DialogoLitologias* abre_litologias()
    {
        menu("litologias_mnu");
        DialogoLitologias* d = f->litologias_ventana();
        EXPECT_NE(d, nullptr);
        if (d) {
            d->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(d));
        }
        return d;
    }
};

TEST(DialogoLitologias, UnaRocaNuevaLlegaAlDialogoDeBancosYDaSuDensidad)
{
    Carpetas carpetas;
    Principal p;
    DialogoLitologias* d = p.abre_litologias();
    ASSERT_NE(d, nullptr);
    anade(d, QString::fromUtf8("Carbón"), "1400", "0,35", "0.65");
    const QPointer<DialogoLitologias> abierto(d);
    pulsa(d->aceptar);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // Accepted, the dialog closes and goes; refused, it would stay with its message.
    ASSERT_TRUE(abierto.isNull()) << abierto->mensaje->text().toStdString();
    ASSERT_EQ(p.s->litologias_usuario.size(), 1u);
    EXPECT_EQ(p.s->litologias_usuario[0].nombre, "Carbón");

    // Kept in the user's data, in the CSV form.
    const LecturaLitologias guardadas =
        lee_archivo_litologias(Form1::archivo_de_litologias().toStdString());
    ASSERT_TRUE(guardadas.ok) << guardadas.error;
    ASSERT_EQ(guardadas.rocas.size(), 1u);
    EXPECT_EQ(guardadas.rocas[0].porosidad, 0.35f);
    EXPECT_TRUE(Form1::archivo_de_litologias().startsWith(carpetas.datos.path()));

    // The bed dialog lists it after the program's six.
    p.menu("modificar_mnu");
    Form2* f2 = p.f->dialogo_bancos();
    ASSERT_NE(f2, nullptr);
    ASSERT_EQ(f2->Combo1->count(), 8);
    EXPECT_EQ(f2->Combo1->itemText(5), "PORCENTUAL");
    EXPECT_EQ(f2->Combo1->itemText(7), QString::fromUtf8("Carbón"));
    // Chosen from the list with the pointer: it fills the boxes as the five do.
    f2->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(f2));
    f2->Combo1->showPopup();
    QAbstractItemView* lista = f2->Combo1->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(lista->window()));
    const QRect r = lista->visualRect(lista->model()->index(7, 0));
    QTest::mouseClick(lista->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    QTest::mouseMove(f2, QPoint(100, 85));
    QTest::mouseMove(f2, QPoint(100, 86));
    EXPECT_EQ(f2->Combo1->currentText(), QString::fromUtf8("Carbón"));
    EXPECT_EQ(f2->Text3->text(), "0.35");
    EXPECT_EQ(f2->Text4->text(), "0.65");
    const int b = p.s->banco_actual;
    EXPECT_EQ(p.s->porosidad[b], 0.35f);
    EXPECT_EQ(p.s->coef_porosidad[b], 0.65f);
    // Water-saturated grains: (1 - phi) 1400 + phi 1000, phi = 0.35.
    EXPECT_NEAR(p.s->densidad[b], 0.65 * 1400 + 0.35 * 1000, 1e-3);
    // The bed keeps only the name: no grain density of its own.
    EXPECT_EQ(p.s->densidad_grano[b], 0.0f);
}

TEST(DialogoLitologias, LasCincoDelProgramaNoSeCambian)
{
    Carpetas carpetas;
    DialogoLitologias d({{"Basalto", 2900, 0.1f, 0.3f}});
    d.show();
    d.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    ASSERT_EQ(d.tabla->rowCount(), 6);
    EXPECT_EQ(d.tabla->item(1, 0)->text(), "Areniscas");
    EXPECT_EQ(d.tabla->item(1, 1)->text(), "2650");
    EXPECT_EQ(d.tabla->item(1, 2)->text(), "0.49");
    // Neither typing nor "Quitar" touches them.
    const QRect r = d.tabla->visualItemRect(d.tabla->item(1, 0));
    QTest::mouseDClick(d.tabla->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    QTest::keyClick(d.tabla, Qt::Key_F2);
    QTest::keyClicks(QApplication::focusWidget(), "Cuarcita");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(d.tabla->item(1, 0)->text(), "Areniscas");
    pulsa(d.quitar);
    EXPECT_EQ(d.tabla->rowCount(), 6);
    // A row of the user's is edited and removed.
    escribe_celda(d.tabla, 5, 0, "Basalto gris");
    EXPECT_EQ(d.tabla->item(5, 0)->text(), "Basalto gris");
    QTest::mouseClick(d.tabla->viewport(), Qt::LeftButton, Qt::NoModifier,
                      d.tabla->visualItemRect(d.tabla->item(5, 1)).center());
    pulsa(d.quitar);
    EXPECT_EQ(d.tabla->rowCount(), 5);
}

TEST(DialogoLitologias, UnNombreQueChocaSeRechaza)
{
    Carpetas carpetas;
    Principal p;
    QPointer<DialogoLitologias> d = p.abre_litologias();
    ASSERT_NE(d, nullptr);
    anade(d, "areniscas", "2600", "0.4", "0.3");
    pulsa(d->aceptar);
    QApplication::processEvents();
    ASSERT_TRUE(d); // refused: still open
    EXPECT_TRUE(d->isVisible());
    EXPECT_TRUE(d->mensaje->text().contains(QString::fromUtf8(
        "Fila 6, el nombre: «areniscas» es una de las litologías del programa («Areniscas»)")))
        << d->mensaje->text().toStdString();
    EXPECT_TRUE(p.s->litologias_usuario.empty());
    // Two of the user's that differ only by accents, and a porosity of 1.
    escribe_celda(d->tabla, 5, 0, QString::fromUtf8("Carbón"));
    anade(d, "CARBON", "1300", "0.3", "0.5");
    pulsa(d->aceptar);
    EXPECT_TRUE(d->mensaje->text().contains(QString::fromUtf8("Fila 7, el nombre: «CARBON» ya es "
                                                              "el nombre de otra litología")))
        << d->mensaje->text().toStdString();
    escribe_celda(d->tabla, 6, 0, "Lignito");
    escribe_celda(d->tabla, 6, 2, "1");
    pulsa(d->aceptar);
    EXPECT_TRUE(d->mensaje->text().contains(
        QString::fromUtf8("Fila 7 («Lignito»), la porosidad: la porosidad en superficie es 1")))
        << d->mensaje->text().toStdString();
    EXPECT_TRUE(p.s->litologias_usuario.empty());
}

TEST(DialogoLitologias, ExportaEImporta)
{
    Carpetas carpetas;
    const QString ruta = carpetas.datos.path() + "/mias.csv";
    {
        DialogoLitologias d({{"Basalto", 2900, 0.1f, 0.3f}, {"Marga, gris", 2700, 0.5f, 0.45f}});
        d.pide_exportacion = [&] { return ruta; };
        d.show();
        pulsa(d.exportar);
        EXPECT_TRUE(d.mensaje->text().startsWith(QString::fromUtf8("Exportadas 2 litologías")))
            << d.mensaje->text().toStdString();
    }
    DialogoLitologias d({{"Carbón", 1400, 0.3f, 0.5f}});
    d.pide_importacion = [&] { return ruta; };
    d.show();
    pulsa(d.importar);
    ASSERT_EQ(d.tabla->rowCount(), 8);
    EXPECT_EQ(d.tabla->item(7, 0)->text(), "Marga, gris");
    std::vector<LitologiaUsuario> rocas;
    QString error;
    ASSERT_TRUE(d.lee_rocas(rocas, error)) << error.toStdString();
    ASSERT_EQ(rocas.size(), 3u);
    EXPECT_EQ(rocas[1].densidad_grano, 2900.0f);
    EXPECT_EQ(rocas[2].coef_porosidad, 0.45f);
    // Imported again, every name clashes: nothing is added, the file is named.
    pulsa(d.importar);
    EXPECT_EQ(d.tabla->rowCount(), 8);
    EXPECT_TRUE(d.mensaje->text().contains(ruta)) << d.mensaje->text().toStdString();
    EXPECT_TRUE(d.mensaje->text().contains(QString::fromUtf8("«Basalto»")));
}

TEST(DialogoLitologias, LaTablaLasOfreceYUnaQueFaltaSeAvisa)
{
    Carpetas carpetas;
    Principal p;
    limpia_bancos(*p.s);
    p.s->litologias_usuario = {{"Basalto", 2900, 0.1f, 0.3f}};
    p.s->litologia[1] = "Basalto";
    p.s->porosidad[1] = 0.1f;
    p.s->coef_porosidad[1] = 0.3f;
    p.menu("tabla_mnu");
    TablaColumna* t = p.f->tabla_ventana();
    ASSERT_NE(t, nullptr);
    EXPECT_TRUE(t->modelo->avisos().isEmpty());
    const int fila = p.s->n_bancos - 1;
    const QModelIndex i = t->modelo->index(fila, kColLitologia);
    t->tabla->setCurrentIndex(i);
    t->tabla->edit(i);
    auto* editor = t->tabla->findChild<QComboBox*>("editor_litologia");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->itemText(editor->count() - 1), "Basalto");
    QTest::keyClick(editor, Qt::Key_Escape);
    // Removed from the user's rocks: the bed's lithology is unknown now.
    DialogoLitologias* d = p.abre_litologias();
    ASSERT_NE(d, nullptr);
    QTest::mouseClick(d->tabla->viewport(), Qt::LeftButton, Qt::NoModifier,
                      d->tabla->visualItemRect(d->tabla->item(5, 0)).center());
    pulsa(d->quitar);
    pulsa(d->aceptar);
    EXPECT_TRUE(p.s->litologias_usuario.empty());
    ASSERT_EQ(t->modelo->avisos().size(), 1);
    EXPECT_TRUE(t->modelo->avisos()[0].contains(QString::fromUtf8("«Basalto»")));
}

} // namespace
} // namespace tev
