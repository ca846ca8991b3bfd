#include "window_helpers/preferencias.h"

namespace tev {

QSettings preferencias()
{
    return {QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("tevarro"),
            QStringLiteral("tevarro")};
}

} // namespace tev
