#include "main_window/form1.h"
#include "model/store.h"

#include <QApplication>

#include <memory>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    auto store = std::make_unique<tev::Store>();
    tev::Form1 ventana(*store);
    ventana.show();
    return app.exec();
}
