#pragma once
// The main window as the widget tests drive it: the file dialog replaced by a
// preset answer, the messages recorded, the column view read back pixel by
// pixel in its own scale.

#include "drawing/lienzo.h"
#include "main_window/com_file.h"
#include "main_window/form1.h"
#include "main_window/vista_columna.h"
#include "model/store.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QString>
#include <QStringList>
#include <QTest>

#include <memory>

namespace tev::prueba {

// The file dialog replaced: it answers with a preset path (empty: cancelled)
// and counts its showings.
class DialogoFijo : public ComFile {
  public:
    QString respuesta;
    int veces = 0;

  protected:
    QString pide_abrir(QWidget*) override { return ++veces, respuesta; }
    QString pide_salvar(QWidget*) override { return ++veces, respuesta; }
};

struct Ventana {
    std::unique_ptr<Store> s = std::make_unique<Store>();
    std::unique_ptr<Form1> f = std::make_unique<Form1>(*s);
    DialogoFijo* dialogo = nullptr;
    QStringList avisos;
    // The questions asked, and the answer every one of them gets.
    QStringList preguntas;
    Form1::Respuesta respuesta = Form1::Respuesta::descartar;

    // With grabar, messages are recorded; without, the real message box stays.
    explicit Ventana(bool grabar = true)
    {
        auto d = std::make_unique<DialogoFijo>();
        dialogo = d.get();
        f->pon_com_file(std::move(d));
        if (grabar) {
            f->avisa = [this](const QString&, const QString& texto) { avisos << texto; };
            f->pregunta = [this](const QString& texto) {
                preguntas << texto;
                return respuesta;
            };
        }
        f->show();
    }
    void menu(const char* nombre)
    {
        auto* a = f->findChild<QAction*>(nombre);
        ASSERT_NE(a, nullptr) << nombre;
        a->trigger();
    }
    // An entry of the menu bar, then one of its menu, clicked with the mouse.
    void clic_en_menu(const char* menu, const char* entrada)
    {
        QMenuBar* barra = f->menuBar();
        auto* m = f->findChild<QMenu*>(menu);
        ASSERT_NE(m, nullptr) << menu;
        QTest::mouseClick(barra, Qt::LeftButton, {},
                          barra->actionGeometry(m->menuAction()).center());
        auto* a = f->findChild<QAction*>(entrada);
        ASSERT_NE(a, nullptr) << entrada;
        ASSERT_TRUE(m->isVisible());
        QTest::mouseClick(m, Qt::LeftButton, {}, m->actionGeometry(a).center());
    }
    // "Abrir" through the menu, the dialog answering ruta.
    void abre(const QString& ruta)
    {
        dialogo->respuesta = ruta;
        menu("abrir_mnu");
    }
    // The colour of the column view at a point in its own scale.
    QColor pixel(float x, float y) const
    {
        const Escala& e = f->Picture1->escala();
        const QSize a = f->Picture1->area();
        const int px = static_cast<int>((x - e.ScaleLeft) * a.width() / e.ScaleWidth);
        const int py = static_cast<int>((y - e.ScaleTop) * a.height() / e.ScaleHeight);
        return f->Picture1->imagen().pixelColor(px, py);
    }
};

inline QByteArray bytes_de(const QString& ruta)
{
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

} // namespace tev::prueba
