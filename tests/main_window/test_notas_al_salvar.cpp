// "Salvar" of a column with remarks: a project file has no place for them, so
// the window asks first; a CSV file keeps them, and the file's form, whatever
// the bed dialog did in between.

#include "main_window/notas_al_salvar.h"

#include "bed_dialog/form2.h"
#include "main_window/ventana_de_prueba.h"
#include "project_file/csv_columna.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>

namespace tev {
namespace {

using prueba::bytes_de;
using prueba::Ventana;

const QString kHoja = QString(TEVARRO_SOURCE_DIR) + "/examples/neuquen.csv";
const QString kProyecto = QString(TEVARRO_SOURCE_DIR) + "/examples/neuquen.tev";

// Answers each message box that comes up, in turn, by clicking the button
// with the next text of the list; what each box said is kept.
class Respondedor : public QObject {
  public:
    explicit Respondedor(QStringList respuestas) : respuestas_(std::move(respuestas))
    {
        connect(&reloj_, &QTimer::timeout, this, &Respondedor::mira);
        reloj_.start(5);
    }
    QStringList textos;  // each box's text and informative text, one line apart
    QStringList botones; // each box's buttons, left to right, joined by "|"

  private:
    void mira()
    {
        auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!caja || caja == ultima_ || respuestas_.isEmpty()) return;
        ultima_ = caja;
        textos << caja->text() + "\n" + caja->informativeText();
        QList<QAbstractButton*> lista = caja->buttons();
        std::sort(lista.begin(), lista.end(), [](QAbstractButton* a, QAbstractButton* b) {
            return a->geometry().x() < b->geometry().x();
        });
        QStringList nombres;
        QAbstractButton* elegido = nullptr;
        const QString respuesta = respuestas_.takeFirst();
        for (QAbstractButton* b : lista) {
            nombres << b->text();
            if (b->text() == respuesta) elegido = b;
        }
        botones << nombres.join("|");
        if (elegido)
            QTest::mouseClick(elegido, Qt::LeftButton);
        else
            caja->reject(); // a test that names a wrong button fails on what it sees
    }
    QStringList respuestas_;
    QPointer<QMessageBox> ultima_;
    QTimer reloj_;
};

struct Caso {
    QTemporaryDir dir;
    Ventana v;
    QString tev = dir.filePath("pozo.tev");
    QString csv = dir.filePath("pozo.csv");

    Caso() { v.abre(kHoja); }
    // "Salvar" as pozo.tev, the boxes answered by a Respondedor made before.
    void salva()
    {
        v.dialogo->respuesta = tev;
        v.menu("salvar_mnu");
        EXPECT_TRUE(v.avisos.isEmpty()) << v.avisos.join("\n").toStdString();
    }
};

const QString kPregunta = "La columna tiene notas en 3 bancos, y un archivo de proyecto no guarda "
                          "notas.\n¿Guardarla como CSV en «pozo.csv», con sus notas, o guardar "
                          "«pozo.tev» sin ellas?";

TEST(NotasAlSalvar, GuardarComoCsvLasConservaJuntoAlArchivoElegido)
{
    Caso c;
    Respondedor r({"Guardar como CSV"});
    c.salva();
    ASSERT_EQ(r.textos, QStringList{kPregunta});
    EXPECT_EQ(r.botones, QStringList{"Guardar como CSV|Guardar sin notas|Cancelar"});
    EXPECT_FALSE(QFile::exists(c.tev));
    // The sheet's own form and remarks: the very bytes it came with.
    EXPECT_EQ(bytes_de(c.csv), bytes_de(kHoja));
    EXPECT_FALSE(c.v.f->columna_modificada());
}

TEST(NotasAlSalvar, GuardarSinNotasEscribeElArchivoDeProyecto)
{
    Caso c;
    Respondedor r({"Guardar sin notas"});
    c.salva();
    ASSERT_EQ(r.textos.size(), 1);
    EXPECT_EQ(bytes_de(c.tev), bytes_de(kProyecto));
    EXPECT_FALSE(QFile::exists(c.csv));
    EXPECT_FALSE(c.v.f->columna_modificada());
}

TEST(NotasAlSalvar, CancelarNoEscribeNada)
{
    Caso c;
    c.v.s->nombre[1] = "Otro nombre";
    Respondedor r({"Cancelar"});
    c.salva();
    ASSERT_EQ(r.textos.size(), 1);
    EXPECT_FALSE(QFile::exists(c.tev));
    EXPECT_FALSE(QFile::exists(c.csv));
    EXPECT_TRUE(c.v.f->columna_modificada());
}

TEST(NotasAlSalvar, UnCsvQueYaExisteSeReemplazaSoloSiSeAcepta)
{
    Caso c;
    {
        QFile viejo(c.csv);
        ASSERT_TRUE(viejo.open(QIODevice::WriteOnly));
        viejo.write("viejo");
    }
    Respondedor no({"Guardar como CSV", "Cancelar"});
    c.salva();
    ASSERT_EQ(no.textos.size(), 2);
    EXPECT_EQ(no.textos[1], "El archivo «pozo.csv» ya existe.\n¿Desea reemplazarlo?\n");
    EXPECT_EQ(no.botones[1], "Reemplazar|Cancelar");
    EXPECT_EQ(bytes_de(c.csv), "viejo");
    EXPECT_FALSE(QFile::exists(c.tev));

    Respondedor si({"Guardar como CSV", "Reemplazar"});
    c.salva();
    ASSERT_EQ(si.textos.size(), 2);
    EXPECT_EQ(bytes_de(c.csv), bytes_de(kHoja));
}

TEST(NotasAlSalvar, SinNotasNoHayPregunta)
{
    QTemporaryDir dir;
    Ventana v;
    v.abre(kProyecto);
    Respondedor r({"Cancelar"});
    v.dialogo->respuesta = dir.filePath("copia.tev");
    v.menu("salvar_mnu");
    EXPECT_TRUE(r.textos.isEmpty());
    EXPECT_EQ(bytes_de(dir.filePath("copia.tev")), bytes_de(kProyecto));
}

TEST(NotasAlSalvar, LasDensidadesDeGranoPropiasTambienSePreguntan)
{
    QTemporaryDir dir;
    Ventana v;
    v.abre(kProyecto);
    v.s->densidad_grano[2] = 2600;
    Respondedor r({"Cancelar"});
    v.dialogo->respuesta = dir.filePath("copia.tev");
    v.menu("salvar_mnu");
    ASSERT_EQ(r.textos, QStringList{"La columna tiene densidades de grano propias en 1 banco, y "
                                    "un archivo de proyecto no las guarda.\n¿Guardarla como CSV "
                                    "en «copia.csv», con sus densidades, o guardar «copia.tev» "
                                    "sin ellas?"});
    EXPECT_EQ(r.botones, QStringList{"Guardar como CSV|Guardar sin ellas|Cancelar"});
    EXPECT_FALSE(QFile::exists(dir.filePath("copia.tev")));

    // With the remarks of the sheet too, both named.
    Caso c;
    c.v.s->densidad_grano[1] = 2600;
    Respondedor ambas({"Guardar como CSV"});
    c.salva();
    ASSERT_EQ(ambas.textos.size(), 1);
    EXPECT_EQ(ambas.textos[0], "La columna tiene notas en 3 bancos y densidades de grano propias "
                               "en 1 banco, y un archivo de proyecto no guarda notas ni "
                               "densidades de grano propias.\n¿Guardarla como CSV en «pozo.csv», "
                               "con sus notas y densidades, o guardar «pozo.tev» sin ellas?");
    const LecturaColumna l = lee_csv(bytes_de(c.csv).toStdString(), "pozo.csv");
    ASSERT_TRUE(l.ok) << l.error;
    EXPECT_EQ(l.bancos[0].densidad_grano, 2600.0f);
}

// A column's own uncertainty ranges are asked about too, with whatever else
// the project file leaves out, and travel in the CSV chosen instead.
TEST(NotasAlSalvar, LosRangosDeIncertidumbreTambienSePreguntan)
{
    QTemporaryDir dir;
    Ventana v;
    v.abre(kProyecto);
    v.s->rangos[3].paleobatimetria = Rango{true, true, 0, 40};
    Respondedor r({"Cancelar"});
    v.dialogo->respuesta = dir.filePath("copia.tev");
    v.menu("salvar_mnu");
    ASSERT_EQ(r.textos, QStringList{"La columna tiene rangos de incertidumbre propios en 1 banco, "
                                    "y un archivo de proyecto no los guarda.\n¿Guardarla como "
                                    "CSV en «copia.csv», con todo ello, o guardar «copia.tev» sin "
                                    "ellos?"});
    EXPECT_EQ(r.botones, QStringList{"Guardar como CSV|Guardar sin ellos|Cancelar"});
    EXPECT_FALSE(QFile::exists(dir.filePath("copia.tev")));

    Caso c;
    c.v.s->densidad_grano[1] = 2600;
    c.v.s->rangos[2].porosidad = Rango{true, false, 0.3f, 0};
    Respondedor todo({"Guardar como CSV"});
    c.salva();
    ASSERT_EQ(todo.textos.size(), 1);
    EXPECT_EQ(todo.textos[0], "La columna tiene notas en 3 bancos, densidades de grano propias en "
                              "1 banco y rangos de incertidumbre propios en 1 banco, y un archivo "
                              "de proyecto no los guarda.\n¿Guardarla como CSV en «pozo.csv», "
                              "con todo ello, o guardar «pozo.tev» sin ellos?");
    const LecturaColumna l = lee_csv(bytes_de(c.csv).toStdString(), "pozo.csv");
    ASSERT_TRUE(l.ok) << l.error;
    EXPECT_TRUE(l.bancos[1].rangos.porosidad.hay_min);
    EXPECT_EQ(l.bancos[1].rangos.porosidad.min, 0.3f);
}

TEST(NotasAlSalvar, ElNombreCsvAlLado)
{
    EXPECT_EQ(ruta_csv_al_lado("/a/b.c/pozo.tev"), "/a/b.c/pozo.csv");
    EXPECT_EQ(ruta_csv_al_lado("/a/b.c/pozo"), "/a/b.c/pozo.csv");
    EXPECT_EQ(ruta_csv_al_lado("/a/pozo.1.txt"), "/a/pozo.1.csv");
}

// Abrir, the bed dialog's moves and typing, a bed added on top, Salvar as CSV:
// every remark where it was.
TEST(NotasAlSalvar, LasNotasSobrevivenAlDialogoDeBancos)
{
    QTemporaryDir dir;
    Ventana v;
    v.abre(kHoja);
    const std::string original = bytes_de(kHoja).toStdString();
    const LecturaColumna antes = lee_csv(original, "neuquen.csv");
    ASSERT_TRUE(antes.ok) << antes.error;

    v.menu("modificar_mnu");
    Form2* d = v.f->dialogo_bancos();
    ASSERT_NE(d, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(d));
    d->HScroll1->setFocus();
    for (int i = 1; i < 3; ++i)
        QTest::keyClick(d->HScroll1, Qt::Key_Right);
    ASSERT_EQ(v.s->banco_actual, 3);
    d->Text7->selectAll();
    QTest::keyClicks(d->Text7, "Vaca Muerta");
    d->HScroll1->setFocus();
    for (int i = 3; i < 13; ++i)
        QTest::keyClick(d->HScroll1, Qt::Key_Right);
    ASSERT_EQ(v.s->n_bancos, 13);
    d->Text7->selectAll();
    QTest::keyClicks(d->Text7, "Suelo");
    QTest::keyClick(d->HScroll1, Qt::Key_Left);

    v.dialogo->respuesta = dir.filePath("salida.csv");
    v.menu("salvar_mnu");
    ASSERT_TRUE(v.avisos.isEmpty()) << v.avisos.join("\n").toStdString();
    const LecturaColumna vuelta = lee_csv(bytes_de(dir.filePath("salida.csv")).toStdString(), "s");
    ASSERT_TRUE(vuelta.ok) << vuelta.error;
    ASSERT_EQ(vuelta.bancos.size(), 13u);
    EXPECT_EQ(vuelta.bancos[2].nombre, "Vaca Muerta");
    EXPECT_EQ(vuelta.bancos[12].nombre, "Suelo");
    for (size_t k = 0; k < 12; ++k)
        EXPECT_EQ(vuelta.bancos[k].notas, antes.bancos[k].notas) << k;
    EXPECT_EQ(vuelta.bancos[12].notas, "");
    EXPECT_EQ(vuelta.forma, antes.forma);
}

} // namespace
} // namespace tev
