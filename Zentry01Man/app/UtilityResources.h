#pragma once
// The instructor utility's own pictures.
#include <QIcon>

QIcon UtilityIcon();
