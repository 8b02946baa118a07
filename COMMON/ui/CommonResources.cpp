#include "CommonResources.h"

#include <QtGlobal>

static void registerCommonResources() { Q_INIT_RESOURCE(common); }

void LoadCommonResources() {
    static const bool registered = (registerCommonResources(), true);
    Q_UNUSED(registered);
}
