#include "ICString.h"

#include "Codec.h"

CICString::CICString(const QString& text) : m_text(text), m_bytes(cp932::encode(text)) {}

int CICString::CharCount() const { return int(cp932::characters(m_text).size()); }
