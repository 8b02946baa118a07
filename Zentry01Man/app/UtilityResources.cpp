#include "UtilityResources.h"

// The resource file lives in a static library; nothing registers it by itself.
static void initUtilityResources() { Q_INIT_RESOURCE(zentry01man); }

QIcon UtilityIcon() {
    static const bool loaded = (initUtilityResources(), true);
    Q_UNUSED(loaded);
    return QIcon(QStringLiteral(":/zentry01man/icon.svg"));
}
