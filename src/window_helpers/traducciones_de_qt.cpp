#include "window_helpers/traducciones_de_qt.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstring>
#include <memory>

namespace tev {

namespace {

// Qt's Spanish translations, with the type names of QAbstractFileIconProvider
// ("Folder", "Shortcut", "Unknown", "Drive") that they lack taken from the
// words Qt 5 translated under QFileDialog.
class TraduccionesDeQt : public QTranslator {
  public:
    bool carga()
    {
        return qt_.load(QLocale(QLocale::Spanish), "qtbase", "_",
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    }

    [[nodiscard]] QString translate(const char* contexto, const char* texto,
                                    const char* desambiguacion, int n) const override
    {
        QString traduccion = qt_.translate(contexto, texto, desambiguacion, n);
        if (traduccion.isEmpty() && std::strcmp(contexto, "QAbstractFileIconProvider") == 0)
            traduccion = qt_.translate("QFileDialog", texto, nullptr, n);
        return traduccion;
    }

    [[nodiscard]] bool isEmpty() const override { return qt_.isEmpty(); }

  private:
    QTranslator qt_;
};

} // namespace

bool instala_traducciones_de_qt()
{
    auto traducciones = std::make_unique<TraduccionesDeQt>();
    if (!traducciones->carga()) return false;
    // The application owns it from here on.
    traducciones->setParent(QCoreApplication::instance());
    QCoreApplication::installTranslator(traducciones.release());
    return true;
}

} // namespace tev
