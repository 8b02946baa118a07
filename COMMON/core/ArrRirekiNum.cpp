#include "ArrRirekiNum.h"

int CArrRirekiNum::Add(qint32 value) {
    m_values.append(value);
    return GetSize() - 1;
}

int CArrRirekiNum::Find(qint32 value) const {
    return static_cast<int>(m_values.indexOf(value));
}
