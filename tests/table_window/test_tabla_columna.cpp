// The column table driven headless with real keys, in the main window of the
// program: opened by Ctrl+T, edited, copied, pasted, undone; and the same
// capture as the bed dialog's, bit for bit.

#include "table_window/tabla_columna.h"

#include "bed_dialog/form2.h"
#include "compute/celdas_columna.h"
#include "compute/tevarro.h"
#include "main_window/form1.h"
#include "main_window/ventana_de_prueba.h"
#include "menu_contextual.h"
#include "model/store.h"
#include "project_file/archivo_proyecto.h"
#include "project_file/formatos.h"
#include "project_file/resultados_csv.h"
#include "table_window/modelo_columna.h"
#include "teclas.h"
#include "text_forms/formas_numericas.h"
#include "window_helpers/linea_de_avisos.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QBrush>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUndoStack>

#include <memory>

namespace tev {
namespace {

const QString kEjemplo = TEVARRO_SOURCE_DIR "/examples/neuquen.tev";

struct Tabla {
    prueba::Ventana v;
    TablaColumna* t = nullptr;
    QStringList avisos;

    // Ctrl+T in the main window; through the menu when another main window
    // of the test holds the same application-wide key.
    void abre(bool con_teclado = true)
    {
        v.f->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(v.f.get()));
        if (con_teclado)
            QTest::keyClick(v.f.get(), Qt::Key_T, Qt::ControlModifier);
        else
            v.menu("tabla_mnu");
        t = v.f->tabla_ventana();
        ASSERT_NE(t, nullptr);
        t->avisa = [this](const QString& texto) { avisos << texto; };
        t->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(t));
    }
    // Keys go where the user's keys go: the widget with the focus.
    QWidget* foco() const
    {
        QWidget* w = QApplication::focusWidget();
        return w ? w : t->tabla;
    }
    void tecla(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        QTest::keyClick(foco(), k, m);
        // The editor commits on Enter through a queued call.
        QApplication::processEvents();
    }
    void teclea(const QString& texto)
    {
        for (const QChar c : texto)
            prueba::teclea(foco(), QString(c));
    }
    // A click on the cell.
    void ve_a(int fila, int columna)
    {
        const QModelIndex i = t->modelo->index(fila, columna);
        t->tabla->scrollTo(i);
        QTest::mouseClick(t->tabla->viewport(), Qt::LeftButton, {},
                          t->tabla->visualRect(i).center());
        ASSERT_EQ(t->tabla->currentIndex(), i);
    }
    [[nodiscard]] QString celda(int fila, int columna, int rol = Qt::DisplayRole) const
    {
        return t->modelo->index(fila, columna).data(rol).toString();
    }
};

// The example as "Abrir" leaves it, read and computed apart from any window.
std::unique_ptr<Store> ejemplo_calculado()
{
    auto s = std::make_unique<Store>();
    valores_de_arranque(*s);
    const LecturaColumna l = lee_archivo(kEjemplo.toStdString());
    EXPECT_TRUE(l.ok);
    carga_lectura(*s, l);
    EXPECT_TRUE(tevarro(*s).ok());
    return s;
}

// A number as the batch tool writes it, with a decimal comma.
std::string con_coma(float v)
{
    std::string t = numero_corto(v);
    for (char& c : t)
        if (c == '.') c = ',';
    return t;
}

// A CSV column of two beds with grain densities of their own: bed 1,
// Areniscas with grains of 2000 kg/m3 (its lithology's are 2650), under bed 2,
// "Carbón" with grains of 1400 kg/m3. Written in dir, its path returned.
QString columna_con_granos_propios(const QTemporaryDir& dir)
{
    const QString ruta = dir.filePath("granos.csv");
    QFile f(ruta);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("nombre,techo,base,edad_techo,edad_base,litologia,color,porosidad,coef_porosidad,"
            "paleobatimetria,pct_arenisca,pct_pelita,pct_caliza,pct_evaporita,densidad_grano\n"
            "Arenas,100,300,10,30,Areniscas,16777215,0.49,0.27,0,0,0,0,0,2000\n"
            "Capa de carb\xc3\xb3n,0,100,0,10,Carb\xc3\xb3n,0,0.5,0.4,0,0,0,0,0,1400\n");
    return ruta;
}

TEST(TablaColumna, AnalisisTraeLaTablaYLaHistoria)
{
    Tabla p;
    QStringList menus;
    for (QAction* a : p.v.f->menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus, (QStringList{"Archivo", "Editar", "Modificar", "Dibuja",
                                  QString::fromUtf8("Análisis"), "Ayuda"}));
    auto* tabla = p.v.f->findChild<QAction*>("tabla_mnu");
    auto* historia = p.v.f->findChild<QAction*>("historia_mnu");
    ASSERT_TRUE(tabla && historia);
    EXPECT_EQ(historia->text(), "Historia de enterramiento");
    EXPECT_EQ(historia->shortcut(), QKeySequence("Ctrl+H"));
    p.v.f->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(p.v.f.get()));
    QTest::keyClick(p.v.f.get(), Qt::Key_H, Qt::ControlModifier);
    EXPECT_NE(p.v.f->historia_ventana(), nullptr);
    p.abre();
    EXPECT_EQ(p.t->windowTitle(), "Tabla de la columna");
}

TEST(TablaColumna, UnaCeldaEditadaConTeclasSeCalculaYSeDeshace)
{
    Tabla p;
    p.v.abre(kEjemplo);
    const std::string original = escribe_columna(*p.v.s).bytes;
    p.abre();
    EXPECT_EQ(p.t->modelo->rowCount(), 12);
    EXPECT_EQ(p.celda(0, kColNumero), "12");

    // Bed 12, "Arenas del Pampeano": its base from 85 to 100 m, typed with a
    // decimal comma, Enter.
    p.ve_a(0, kColNombre);
    p.tecla(Qt::Key_Right);
    p.tecla(Qt::Key_Right);
    p.teclea("100,0");
    p.tecla(Qt::Key_Return);
    EXPECT_EQ(p.v.s->base[12], 100.0f);
    EXPECT_EQ(p.t->tabla->currentIndex().row(), 1); // Enter went down
    EXPECT_TRUE(p.v.f->columna_modificada());
    // Computed: the results shown are those of the column computed apart.
    auto aparte = ejemplo_calculado();
    aparte->base[12] = 100;
    ASSERT_TRUE(tevarro(*aparte).ok());
    EXPECT_EQ(p.celda(0, kColEspesorDescomp).toStdString(), numero_corto(aparte->base_descomp[12]));
    EXPECT_EQ(p.celda(0, kColSubsidencia).toStdString(),
              numero_corto(aparte->tevarro_tectonica[12]));
    EXPECT_EQ(p.v.s->tevarro_tectonica[1], aparte->tevarro_tectonica[1]);

    // Escape leaves an edit without a trace.
    p.teclea("7");
    p.tecla(Qt::Key_Escape);
    EXPECT_EQ(p.v.s->base[11], 240.0f);

    p.tecla(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(escribe_columna(*p.v.s).bytes, original);
    EXPECT_FALSE(p.v.f->columna_modificada());
    EXPECT_EQ(p.celda(0, kColBase), "85");
    p.tecla(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(p.v.s->base[12], 100.0f);
    p.tecla(Qt::Key_Z, Qt::ControlModifier);
    p.tecla(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(p.v.s->base[12], 100.0f);
}

// A column with its own grain densities, touched in the table: the bulk
// density is (1 - phi) g + phi 1000 with the bed's grains.
TEST(TablaColumna, UnaEdicionCuentaConLaDensidadDeGranoPropia)
{
    QTemporaryDir dir;
    Tabla p;
    p.v.abre(columna_con_granos_propios(dir));
    ASSERT_EQ(p.v.s->n_bancos, 2);
    ASSERT_EQ(p.v.s->densidad_grano[1], 2000.0f);
    p.abre();
    p.ve_a(1, kColNombre); // bed 1
    p.teclea("Arenas finas");
    p.tecla(Qt::Key_Return);
    EXPECT_EQ(p.v.s->porosidad[1], 0.49f);
    EXPECT_NEAR(p.v.s->densidad[1], 0.51 * 2000 + 490, 1e-3); // not 0.51 x 2650 + 490
    p.ve_a(0, kColPorosidad);                                 // bed 2, "Carbón"
    p.teclea("0,25");
    p.tecla(Qt::Key_Return);
    EXPECT_EQ(p.v.s->porosidad[2], 0.25f);
    EXPECT_EQ(p.v.s->densidad[2], 1300.0f); // 0.75 x 1400 + 0.25 x 1000
}

// The grain density column: typed, refused, emptied, undone, copied and
// pasted, with the keys.
TEST(TablaColumna, LaDensidadDeGranoSeEditaSeCopiaYSeDeshace)
{
    Tabla p;
    p.v.abre(kEjemplo);
    const std::string original = escribe_columna(*p.v.s).bytes;
    const float densidad_12 = p.v.s->densidad[12]; // Areniscas, 0.49
    p.abre();
    EXPECT_EQ(p.t->modelo->headerData(kColDensidadGrano, Qt::Horizontal, Qt::DisplayRole),
              QString::fromUtf8("Densidad de grano\n(kg/m³)"));
    EXPECT_EQ(kColDensidadGrano, kColEvaporita + 1);
    EXPECT_EQ(kColNotas, kColDensidadGrano + 1);
    EXPECT_EQ(p.celda(0, kColDensidadGrano), ""); // none

    p.ve_a(0, kColDensidadGrano); // bed 12
    p.teclea("2000");
    p.tecla(Qt::Key_Return);
    EXPECT_EQ(p.v.s->densidad_grano[12], 2000.0f);
    EXPECT_NEAR(p.v.s->densidad[12], 0.51 * 2000 + 490, 1e-3);
    EXPECT_EQ(p.celda(0, kColDensidadGrano), "2000");
    EXPECT_TRUE(p.v.f->columna_modificada());

    // Refused: 0 and a text; the bed keeps none, the cell says why.
    for (const char* malo : {"0", "densa"}) {
        p.ve_a(1, kColDensidadGrano); // bed 11
        p.teclea(malo);
        p.tecla(Qt::Key_Return);
        EXPECT_EQ(p.v.s->densidad_grano[11], 0.0f) << malo;
        EXPECT_EQ(p.celda(1, kColDensidadGrano), "");
        EXPECT_EQ(p.t->modelo->index(1, kColDensidadGrano).data(Qt::BackgroundRole),
                  QVariant(QBrush(QColor(0xff, 0xd6, 0xd6))));
    }
    EXPECT_EQ(p.celda(1, kColDensidadGrano, Qt::ToolTipRole),
              QString::fromUtf8("«densa» no es un número: el banco 11 sigue sin densidad de "
                                "grano propia."));
    EXPECT_EQ(p.t->deshacer->count(), 1);

    // Copied from bed 12, pasted on bed 11.
    p.ve_a(0, kColDensidadGrano);
    p.tecla(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "2000\n");
    p.ve_a(1, kColDensidadGrano);
    p.tecla(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(p.v.s->densidad_grano[11], 2000.0f);

    // Emptied: the lithology's grains again.
    p.ve_a(0, kColDensidadGrano);
    p.tecla(Qt::Key_F2);
    p.tecla(Qt::Key_Backspace);
    p.tecla(Qt::Key_Return);
    EXPECT_EQ(p.v.s->densidad_grano[12], 0.0f);
    EXPECT_EQ(p.v.s->densidad[12], densidad_12);

    // The whole table copied and pasted back over itself keeps bed 11's.
    p.tecla(Qt::Key_A, Qt::ControlModifier);
    p.tecla(Qt::Key_C, Qt::ControlModifier);
    p.tecla(Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(p.avisos.isEmpty()) << p.avisos.join('\n').toStdString();
    EXPECT_EQ(p.v.s->densidad_grano[11], 2000.0f);
    EXPECT_EQ(p.v.s->densidad_grano[12], 0.0f);

    // Undone step by step: the emptying, the paste, the first edit.
    p.tecla(Qt::Key_Z, Qt::ControlModifier); // the whole paste changed nothing: not kept
    EXPECT_EQ(p.v.s->densidad_grano[12], 2000.0f);
    p.tecla(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(p.v.s->densidad_grano[11], 0.0f);
    p.tecla(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(p.v.s->densidad_grano[12], 0.0f);
    EXPECT_EQ(escribe_columna(*p.v.s).bytes, original);
    EXPECT_EQ(p.v.s->densidad[12], densidad_12);
    p.tecla(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(p.v.s->densidad_grano[12], 2000.0f);
}

// A lithology the program does not know, typed in the table: the cell is
// marked with the text naming the bed, the table's and the dialog's status
// bars say it; a grain density given in the table takes every mark away.
TEST(TablaColumna, UnBancoSinRocaSeMarcaYSuDensidadDeGranoQuitaLaMarca)
{
    Tabla p;
    p.v.abre(kEjemplo);
    p.v.menu("modificar_mnu"); // the dialog on bed 1
    Form2* d = p.v.f->dialogo_bancos();
    ASSERT_NE(d, nullptr);
    p.abre();
    EXPECT_TRUE(p.t->avisos_sin_roca->texto().isEmpty());
    p.ve_a(11, kColLitologia); // bed 1, "Arcosas de Lotena"
    p.teclea(QString::fromUtf8("Carbón"));
    p.tecla(Qt::Key_Return);
    ASSERT_EQ(p.v.s->litologia[1], "Carbón");
    const QString tip = p.celda(11, kColLitologia, Qt::ToolTipRole);
    EXPECT_TRUE(tip.startsWith(
        QString::fromUtf8("El banco 1 («Arcosas de Lotena»): la litología «Carbón» no es ninguna")))
        << tip.toStdString();
    EXPECT_TRUE(tip.contains(QString::fromUtf8("densidad de grano de 0 kg/m³")));
    const QModelIndex litologia = p.t->modelo->index(11, kColLitologia);
    EXPECT_EQ(litologia.data(Qt::BackgroundRole), QVariant(QBrush(QColor(0xff, 0xe0, 0xb0))));
    EXPECT_EQ(p.t->avisos_sin_roca->texto(), tip);
    EXPECT_EQ(d->Combo1->toolTip(), tip);
    EXPECT_EQ(d->avisos_sin_roca->texto(), tip);
    EXPECT_TRUE(p.celda(11, kColPorosidad, Qt::ToolTipRole).isEmpty());

    p.ve_a(11, kColDensidadGrano);
    p.teclea("1400");
    p.tecla(Qt::Key_Return);
    EXPECT_TRUE(p.celda(11, kColLitologia, Qt::ToolTipRole).isEmpty());
    EXPECT_FALSE(litologia.data(Qt::BackgroundRole).isValid());
    EXPECT_TRUE(p.t->avisos_sin_roca->texto().isEmpty());
    EXPECT_TRUE(d->Combo1->toolTip().isEmpty());
    EXPECT_TRUE(d->avisos_sin_roca->texto().isEmpty());

    p.tecla(Qt::Key_Z, Qt::ControlModifier); // the mark comes back with the undo
    EXPECT_EQ(p.celda(11, kColLitologia, Qt::ToolTipRole), tip);
    EXPECT_EQ(p.t->avisos_sin_roca->texto(), tip);
}

TEST(TablaColumna, UnTextoIlegibleQuedaMarcadoYElBancoConservaSuValor)
{
    Tabla p;
    p.v.abre(kEjemplo);
    p.abre();
    p.ve_a(1, kColTecho); // bed 11, 85 m
    p.tecla(Qt::Key_F2);
    p.teclea("8O"); // a letter O
    p.tecla(Qt::Key_Return);
    EXPECT_EQ(p.v.s->techo[11], 85.0f);
    EXPECT_EQ(p.celda(1, kColTecho), "85");
    EXPECT_EQ(p.celda(1, kColTecho, Qt::ToolTipRole),
              QString::fromUtf8("«8O» no es un número: el banco 11 conserva su valor, 85."));
    EXPECT_EQ(p.t->deshacer->count(), 0);
    EXPECT_FALSE(p.v.f->columna_modificada());
}

TEST(TablaColumna, UnaNotaCambiadaEsUnCambioDeLaColumna)
{
    Tabla p;
    p.v.abre(kEjemplo);
    p.abre();
    p.ve_a(0, kColNotas);
    p.teclea("muestra 7");
    p.tecla(Qt::Key_Tab);
    EXPECT_EQ(p.v.s->notas[12], "muestra 7");
    EXPECT_EQ(p.t->tabla->currentIndex().column(), kColNotas + 1); // Tab went right
    EXPECT_TRUE(p.v.f->columna_modificada());
    p.tecla(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(p.v.f->columna_modificada());
}

TEST(TablaColumna, CopiarTodaLaTablaDaLosResultadosDeCadaBanco)
{
    Tabla p;
    p.v.abre(kEjemplo);
    p.abre();
    p.t->pon_decimal(',');
    p.tecla(Qt::Key_A, Qt::ControlModifier);
    p.tecla(Qt::Key_C, Qt::ControlModifier);
    const QStringList lineas = QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lineas.size(), 13);
    EXPECT_TRUE(lineas[0].startsWith(QString::fromUtf8("Banco\tNombre\tTecho (m)\tBase (m)")));
    EXPECT_TRUE(lineas[0].endsWith(QString::fromUtf8("Subsidencia tectónica (m)")));
    auto s = ejemplo_calculado();
    for (int b = 12; b >= 1; --b) {
        const QStringList c = lineas[13 - b].split('\t');
        ASSERT_EQ(c.size(), kColumnasTabla);
        EXPECT_EQ(c[0].toInt(), b);
        EXPECT_EQ(c[1].toStdString(), s->nombre[b]);
        EXPECT_EQ(c[2].toStdString(), con_coma(s->techo[b]));
        EXPECT_EQ(c[8].toStdString(), con_coma(s->porosidad[b]));
        EXPECT_EQ(c[kColDensidad].toStdString(), con_coma(s->densidad[b])) << b;
        EXPECT_EQ(c[kColNivelMar].toStdString(), con_coma(s->nivel_mar[b])) << b;
        EXPECT_EQ(c[kColEspesorDescomp].toStdString(), con_coma(s->base_descomp[b])) << b;
        EXPECT_EQ(c[kColCorreccionCarga].toStdString(), con_coma(s->correccion_carga[b])) << b;
        EXPECT_EQ(c[kColSubsidencia].toStdString(), con_coma(s->tevarro_tectonica[b])) << b;
    }
    // Part of a row: no captions, only the cells chosen.
    p.ve_a(3, kColTecho);
    p.tecla(Qt::Key_Right, Qt::ShiftModifier);
    p.tecla(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "410\t530\n");
}

TEST(TablaColumna, PegarSobreTodaLaTablaReemplazaLaColumnaYSalvarLaEscribe)
{
    QTemporaryDir dir;
    Tabla p;
    p.v.abre(kEjemplo);
    const std::string original = escribe_columna(*p.v.s).bytes;
    p.abre();
    QApplication::clipboard()->setText(
        QString::fromUtf8("Nombre\tTecho (m)\tBase (m)\n"
                          "Margas\t0\t120,5\t0\t12\tPORCENTUAL\tAzul\t0\t0\t50\t0\t40\t60\t0\r\n"
                          "Arenas\t120,5\t300\t12\t30\tAreniscas\t65535\t0\t0\t5\t0\t0\t0\t0\r\n"));
    p.tecla(Qt::Key_A, Qt::ControlModifier);
    p.tecla(Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(p.avisos.isEmpty()) << p.avisos.join('\n').toStdString();
    ASSERT_EQ(p.v.s->n_bancos, 2);
    EXPECT_EQ(p.t->modelo->rowCount(), 2);

    const QString ruta = dir.filePath("pegada.tev");
    p.v.dialogo->respuesta = ruta;
    p.v.menu("salvar_mnu");
    // Bed 1 first; the mix (0.63 40 + 0.56 60) / 100 = 0.588, (0.51 40 +
    // 0.39 60) / 100 = 0.438; Areniscas 0.49 and 0.27.
    EXPECT_EQ(prueba::bytes_de(ruta).toStdString(),
              "Arenas, 120.5 , 300 , 12 , 30 ,Areniscas, 65535 , .49 , .27 , 5 , 0 , 0 , 0 , 0 \r\n"
              "Margas, 0 , 120.5 , 0 , 12 ,PORCENTUAL, 16711680 , .588 , .438 , 50 , 0 , 40 , "
              "60 , 0 \r\n");

    p.tecla(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(escribe_columna(*p.v.s).bytes, original);
    EXPECT_EQ(p.t->modelo->rowCount(), 12);
}

TEST(TablaColumna, UnaCeldaMalaRechazaTodoElPegado)
{
    Tabla p;
    p.v.abre(kEjemplo);
    const std::string original = escribe_columna(*p.v.s).bytes;
    p.abre();
    p.ve_a(10, kColTecho); // bed 2; the second row would be bed 1
    QApplication::clipboard()->setText("1800\t2000\n2000\tdos mil\n");
    p.tecla(Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(p.avisos.size(), 1);
    EXPECT_EQ(p.avisos[0], QString::fromUtf8("No se pegó nada: fila 12 (banco 1), columna «Base "
                                             "(m)»: «dos mil» no es un número."));
    EXPECT_EQ(escribe_columna(*p.v.s).bytes, original);
    EXPECT_EQ(p.t->deshacer->count(), 0);

    // Past the last row the paste adds beds at the bottom.
    QApplication::clipboard()->setText("1800\t2000\n2400\t2500\n");
    p.ve_a(11, kColTecho);
    p.tecla(Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(p.v.s->n_bancos, 13);
    EXPECT_EQ(p.v.s->techo[1], 2400.0f);
    EXPECT_EQ(p.v.s->nombre[2], "Arcosas de Lotena");
    EXPECT_EQ(p.v.s->base[2], 2000.0f);
}

TEST(TablaColumna, InsertarYBorrarConSusTeclas)
{
    Tabla p;
    p.v.abre(kEjemplo);
    p.abre();
    p.ve_a(2, kColNombre); // bed 10, 240..410 m, 8..15 Ma
    p.tecla(Qt::Key_Plus, Qt::ControlModifier);
    ASSERT_EQ(p.v.s->n_bancos, 13);
    // The new bed 11 rests on bed 10.
    EXPECT_EQ(p.v.s->base[11], 240.0f);
    EXPECT_EQ(p.v.s->edad_base[11], 8.0f);
    EXPECT_EQ(p.v.s->nombre[12], "Limos de Río Negro");
    EXPECT_EQ(p.celda(2, kColNumero), "11");
    EXPECT_EQ(p.celda(3, kColNombre), QString::fromUtf8("Arcosas del Collón Curá"));

    // Rows 1 and 2 (beds 12 and 11) chosen and removed.
    p.ve_a(1, kColNombre);
    p.tecla(Qt::Key_Down, Qt::ShiftModifier);
    p.tecla(Qt::Key_Minus, Qt::ControlModifier);
    ASSERT_EQ(p.v.s->n_bancos, 11);
    EXPECT_EQ(p.v.s->nombre[11], "Arenas del Pampeano");
    EXPECT_EQ(p.v.s->nombre[10], QString::fromUtf8("Arcosas del Collón Curá").toStdString());
    p.tecla(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(p.v.s->n_bancos, 13);
}

TEST(TablaColumna, ElMenuContextualInsertaDebajo)
{
    Tabla p;
    p.v.abre(kEjemplo);
    p.abre();
    p.ve_a(11, kColNombre); // bed 1, 2050..2400 m, 150..163 Ma
    const QRect celda = p.t->tabla->visualRect(p.t->modelo->index(11, kColNombre));
    const QStringList entradas = prueba::elige_en_menu_contextual(
        p.t->tabla->viewport(), celda.center(), "Insertar un banco debajo");
    EXPECT_TRUE(entradas.contains(QString::fromUtf8("Exportar resultados…")));
    ASSERT_EQ(p.v.s->n_bancos, 13);
    // The new bed 1 has no bed below: it lies where bed 1 ended.
    EXPECT_EQ(p.v.s->techo[1], 2400.0f);
    EXPECT_EQ(p.v.s->edad_techo[1], 163.0f);
    EXPECT_EQ(p.v.s->nombre[2], "Arcosas de Lotena");
    EXPECT_EQ(p.t->tabla->currentIndex().row(), 12);
}

TEST(TablaColumna, ElDialogoYLaTablaMuestranLaMismaColumna)
{
    Tabla p;
    p.v.abre(kEjemplo);
    p.v.menu("modificar_mnu"); // the dialog on bed 1
    Form2* d = p.v.f->dialogo_bancos();
    ASSERT_NE(d, nullptr);
    p.abre();
    p.ve_a(11, kColNombre); // bed 1
    p.teclea("Lotena");
    p.tecla(Qt::Key_Return);
    EXPECT_EQ(d->Text7->text(), "Lotena");

    // A change in the dialog reaches the table and ends its undo history.
    ASSERT_EQ(p.t->deshacer->count(), 1);
    d->Text1->selectAll();
    QTest::keyClicks(d->Text1, "2000");
    d->Command2_Click(); // "Terminar"
    EXPECT_EQ(p.celda(11, kColTecho), "2000");
    EXPECT_EQ(p.t->deshacer->count(), 0);
    // "Nuevo" too.
    p.v.menu("nuevo_mnu");
    EXPECT_EQ(p.t->modelo->rowCount(), 1);
}

TEST(TablaColumna, ExportarResultadosEscribeLaColumnaCalculadaEnLaFormaElegida)
{
    QTemporaryDir dir;
    Tabla p;
    p.v.abre(kEjemplo);
    p.abre();
    // Bed 12's base from 85 to 100 m, not saved: the export has it.
    p.ve_a(0, kColBase);
    p.teclea("100");
    p.tecla(Qt::Key_Return);
    const QString ruta = dir.filePath("resultados");
    // The real dialog: the semicolon form chosen, a name without extension.
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->nameFilters(), (QStringList{"Coma y punto decimal (*.csv)",
                                                 "Punto y coma y coma decimal (*.csv)"}));
        d->selectNameFilter("Punto y coma y coma decimal (*.csv)");
        d->selectFile(ruta);
        QTest::keyClick(d, Qt::Key_Return); // "Guardar"
    });
    QTest::mouseClick(p.t->exportar, Qt::LeftButton);
    auto s = ejemplo_calculado();
    s->base[12] = 100;
    ASSERT_TRUE(tevarro(*s).ok());
    const std::string escrito = prueba::bytes_de(ruta + ".csv").toStdString();
    EXPECT_EQ(escrito, resultados_csv(*s, kEjemplo.toStdString(), {';', ','}));
    // Bed 12's line: its name, its base and its decompacted base as typed and
    // computed, in the semicolon form.
    EXPECT_NE(escrito.find(";12;Arenas del Pampeano;Areniscas;0;100;0;2;1841,5;0;0;" +
                           con_coma(s->base_descomp[12]) + ";"),
              std::string::npos);

    // A folder that does not exist: told, nothing written.
    p.t->pide_exportacion = [&] {
        return TablaColumna::Exportacion{dir.filePath("no/hay.csv"), {}};
    };
    QTest::mouseClick(p.t->exportar, Qt::LeftButton);
    ASSERT_EQ(p.avisos.size(), 1);
    EXPECT_TRUE(p.avisos[0].startsWith(QString::fromUtf8("No se pudo guardar «")))
        << p.avisos[0].toStdString();
}

// The same typing through the dialog and through the table leaves the same
// bits in the store. The dialog mixes the four percentage boxes as typed; the
// table takes the four at once from a pasted row (one edited cell mixes the
// others as the bed shows them, as the dialog does once it shows the bed
// again).
class CapturaCompartida : public ::testing::TestWithParam<std::vector<const char*>> {};

int columna_de_caja(const std::string& caja)
{
    return caja == "Combo1"   ? kColLitologia
           : caja == "Text1"  ? kColTecho
           : caja == "Text6"  ? kColEdadTecho
           : caja == "Text3"  ? kColPorosidad
           : caja == "Text9"  ? kColArenisca
           : caja == "Text10" ? kColPelita
           : caja == "Text11" ? kColCaliza
                              : kColEvaporita;
}

TEST_P(CapturaCompartida, ElDialogoYLaTablaGuardanLosMismosBits)
{
    // Field by field: the dialog's box, then the text.
    const std::vector<const char*> pasos = GetParam();
    Tabla dialogo;
    dialogo.v.abre(kEjemplo);
    dialogo.v.menu("modificar_mnu");
    Form2* d = dialogo.v.f->dialogo_bancos();
    Tabla tabla;
    tabla.v.abre(kEjemplo);
    tabla.abre(false);
    QStringList porcentajes;
    for (size_t i = 0; i + 1 < pasos.size(); i += 2) {
        const std::string caja = pasos[i];
        const QString texto = QString::fromUtf8(pasos[i + 1]);
        QLineEdit* e =
            caja == "Combo1" ? d->Combo1->lineEdit() : d->findChild<QLineEdit*>(caja.c_str());
        ASSERT_NE(e, nullptr) << caja;
        e->selectAll();
        QTest::keyClicks(e, texto);
        const int columna = columna_de_caja(caja);
        if (columna >= kColArenisca) {
            porcentajes << texto;
            continue;
        }
        tabla.ve_a(11, columna); // bed 1
        tabla.teclea(texto);
        tabla.tecla(Qt::Key_Return);
    }
    if (!porcentajes.isEmpty()) {
        QApplication::clipboard()->setText(porcentajes.join('\t') + '\n');
        tabla.ve_a(11, kColArenisca);
        tabla.tecla(Qt::Key_V, Qt::ControlModifier);
    }
    d->captura_pendiente();
    const std::vector<FilaBanco> a = lee_bancos(*dialogo.v.s);
    const std::vector<FilaBanco> b = lee_bancos(*tabla.v.s);
    ASSERT_EQ(a.size(), b.size());
    EXPECT_TRUE(a[0] == b[0]);
    EXPECT_EQ(a[0].porosidad, b[0].porosidad);
    EXPECT_EQ(a[0].densidad, b[0].densidad);
    EXPECT_EQ(a[0].nivel_mar, b[0].nivel_mar);
    EXPECT_EQ(escribe_columna(*dialogo.v.s).bytes, escribe_columna(*tabla.v.s).bytes);
}

INSTANTIATE_TEST_SUITE_P(
    TablaColumna, CapturaCompartida,
    ::testing::Values(std::vector<const char*>{"Combo1", "Evaporitas", "Text6", "45"},
                      std::vector<const char*>{"Combo1", "PORCENTUAL", "Text9", "33.3", "Text10",
                                               "66.7", "Text11", "0", "Text12", "0"},
                      std::vector<const char*>{"Combo1", "PORCENTUAL", "Text9", "10.000617285",
                                               "Text10", "40", "Text11", "20"},
                      std::vector<const char*>{"Combo1", "Basalto", "Text3", "0.123456789"},
                      std::vector<const char*>{"Text1", "2049.5", "Text6", "149.99"}));

} // namespace
} // namespace tev

namespace tev {
namespace {

// The range columns behind "Mostrar rangos": bed 11, "Limos de Río Negro",
// 10 m of water, given a water-depth range of its own, refused one that
// leaves out its 10 m, cleared by an empty cell, undone, and saved as CSV.
TEST(TablaColumna, LosRangosSeEditanSeRechazanSeDeshacenYSeSalvan)
{
    QTemporaryDir dir;
    Tabla p;
    p.v.abre(kEjemplo);
    p.abre();
    ASSERT_EQ(p.v.s->paleobatimetria[11], 10.0f);
    // Hidden at first: the usual table as it was.
    EXPECT_EQ(p.t->modelo->columnCount(), kColumnasTabla);
    QTest::mouseClick(p.t->mostrar_rangos, Qt::LeftButton);
    ASSERT_EQ(p.t->modelo->columnCount(), kColumnasTabla + 8);
    EXPECT_EQ(p.t->modelo->headerData(kColumnasTabla + 1, Qt::Horizontal, Qt::DisplayRole),
              QString::fromUtf8("Paleobatimetría máx.\n(m)"));
    EXPECT_EQ(p.t->modelo->headerData(kColumnasTabla + 6, Qt::Horizontal, Qt::DisplayRole),
              QString::fromUtf8("Coeficiente mín.\n(1/km)"));
    const int col_min = kColumnasTabla;
    const int col_max = kColumnasTabla + 1;

    p.ve_a(1, col_min);
    p.teclea("5");
    p.tecla(Qt::Key_Return);
    p.ve_a(1, col_max);
    p.teclea("40,5");
    p.tecla(Qt::Key_Return);
    const Rango puesto{true, true, 5.0f, 40.5f};
    EXPECT_EQ(p.v.s->rangos[11].paleobatimetria, puesto);
    EXPECT_FALSE(p.v.s->rangos[11].edad_techo.hay());
    EXPECT_FALSE(p.v.s->rangos[12].alguno());
    EXPECT_TRUE(p.v.f->columna_modificada());
    EXPECT_EQ(p.celda(1, col_max), "40.5");

    // A maximum of 8 m leaves out the bed's 10 m; a minimum of 50 m is above
    // the maximum: refused, the cell says why, naming the bed and column.
    p.ve_a(1, col_max);
    p.teclea("8");
    p.tecla(Qt::Key_Return);
    EXPECT_EQ(p.v.s->rangos[11].paleobatimetria, puesto);
    const QString por_que = p.celda(1, col_max, Qt::ToolTipRole);
    EXPECT_TRUE(por_que.startsWith(QString::fromUtf8("Banco 11, columna «Paleobatimetría máx. "
                                                     "(m)»: el máximo 8 deja fuera el valor del "
                                                     "banco, 10")))
        << por_que.toStdString();
    EXPECT_TRUE(por_que.contains("40.5")) << por_que.toStdString(); // what it keeps
    p.ve_a(1, col_min);
    p.teclea("50");
    p.tecla(Qt::Key_Return);
    EXPECT_EQ(p.v.s->rangos[11].paleobatimetria, puesto);
    EXPECT_TRUE(p.celda(1, col_min, Qt::ToolTipRole)
                    .contains(QString::fromUtf8("el mínimo 50 es mayor que el máximo 40.5")));

    // Saved as CSV, the range goes with the column and reads back.
    const QString ruta = dir.filePath("con_rangos.csv");
    p.v.dialogo->respuesta = ruta;
    p.v.menu("salvar_mnu");
    const LecturaColumna l = lee_archivo(ruta.toStdString());
    ASSERT_TRUE(l.ok) << l.error;
    Store leido;
    valores_de_arranque(leido);
    carga_lectura(leido, l);
    EXPECT_EQ(leido.rangos[11].paleobatimetria, puesto);
    EXPECT_FALSE(leido.rangos[12].alguno());

    // An empty cell: no minimum of its own any more.
    p.ve_a(1, col_min);
    p.tecla(Qt::Key_F2);
    p.tecla(Qt::Key_A, Qt::ControlModifier);
    p.tecla(Qt::Key_Backspace);
    p.tecla(Qt::Key_Return);
    EXPECT_EQ(p.v.s->rangos[11].paleobatimetria, (Rango{false, true, 0, 40.5f}));
    EXPECT_EQ(p.celda(1, col_min), "");

    // Undone one edit at a time.
    p.tecla(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(p.v.s->rangos[11].paleobatimetria, puesto);
    p.tecla(Qt::Key_Z, Qt::ControlModifier);
    p.tecla(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(p.v.s->rangos[11].alguno());
    EXPECT_EQ(p.celda(1, col_min), "");
}

// Pasted from a spreadsheet into the range columns, both ends of a row
// together; a row whose range leaves out the bed's value refuses the paste
// and says where; copied back as the spreadsheet had it.
TEST(TablaColumna, LosRangosSePeganYSeCopian)
{
    Tabla p;
    p.v.abre(kEjemplo);
    p.abre();
    QTest::mouseClick(p.t->mostrar_rangos, Qt::LeftButton);
    const int col_min = kColumnasTabla;
    // Beds 12 and 11: 0 and 10 m of water; ages of their tops 0 and 2 Ma.
    QApplication::clipboard()->setText("-5\t20\t0\t1\n5\t40,5\t1,5\t\n");
    p.ve_a(0, col_min);
    p.tecla(Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(p.avisos.isEmpty()) << p.avisos.join('\n').toStdString();
    EXPECT_EQ(p.v.s->rangos[12].paleobatimetria, (Rango{true, true, -5.0f, 20.0f}));
    EXPECT_EQ(p.v.s->rangos[12].edad_techo, (Rango{true, true, 0.0f, 1.0f}));
    EXPECT_EQ(p.v.s->rangos[11].paleobatimetria, (Rango{true, true, 5.0f, 40.5f}));
    EXPECT_EQ(p.v.s->rangos[11].edad_techo, (Rango{true, false, 1.5f, 0.0f}));
    EXPECT_TRUE(p.v.f->columna_modificada());

    // Bed 11's top is 2 Ma old: a maximum of 1 Ma leaves it out.
    QApplication::clipboard()->setText("0\t1\n");
    p.ve_a(1, col_min + 2);
    p.tecla(Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(p.avisos.size(), 1);
    EXPECT_EQ(p.avisos[0],
              QString::fromUtf8("No se pegó nada: fila 2 (banco 11), columna «Edad "
                                "del techo máx. (Ma)»: el máximo 1 deja fuera el "
                                "valor del banco, 2 (columna «Edad del techo (Ma)»)."));
    EXPECT_EQ(p.v.s->rangos[11].edad_techo, (Rango{true, false, 1.5f, 0.0f}));

    p.ve_a(1, col_min);
    QTest::mouseClick(p.t->tabla->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      p.t->tabla->visualRect(p.t->modelo->index(1, col_min + 3)).center());
    p.tecla(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "5\t40.5\t1.5\t\n");
}

} // namespace
} // namespace tev
