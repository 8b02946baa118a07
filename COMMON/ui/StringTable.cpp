#include "StringTable.h"

#include "Codec.h"
#include "ICException.h"
#include "MessageBoxNotifier.h"

namespace {
QHash<int, QString>& table() {
    static QHash<int, QString> t;
    return t;
}
QString& productTitleText() {
    static QString t;
    return t;
}

// %1 and %2 are replaced in one pass, so an argument that itself holds "%2" stays as typed.
QString fillPlaceholders(const QString& pattern, const QString& arg1, const QString* arg2) {
    QString out;
    out.reserve(pattern.size() + arg1.size());
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size()) {
            if (pattern[i + 1] == '1') {
                out += arg1;
                ++i;
                continue;
            }
            if (pattern[i + 1] == '2' && arg2) {
                out += *arg2;
                ++i;
                continue;
            }
        }
        out += pattern[i];
    }
    return out;
}

// The longest prefix that fits a buffer of bytes, without splitting a character.
QString truncateToBytes(const QString& text, int maxBytes) {
    if (cp932::byteLength(text) <= maxBytes)
        return text;
    QString out;
    int used = 0;
    for (const QString& ch : cp932::characters(text)) {
        const int n = cp932::byteLength(ch);
        if (used + n > maxBytes)
            break;
        out += ch;
        used += n;
    }
    return out;
}
constexpr int kExceptionTextBytes = 511; // a 512-byte buffer with its terminator
} // namespace

namespace StringTable {
void add(int id, const QString& text) { table().insert(id, text); }
void add(std::initializer_list<std::pair<int, QString>> entries) {
    for (const auto& [id, text] : entries)
        table().insert(id, text);
}
QString text(int id) { return table().value(id); }
bool contains(int id) { return table().contains(id); }
void clear() {
    table().clear();
    productTitleText().clear();
}
} // namespace StringTable

void SetProductTitle(int stringId) { productTitleText() = StringTable::text(stringId); }
QString ProductTitle() { return productTitleText(); }

bool AppMessageBox(const QString& text, MsgIcon icon, MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::Ok:
        notifier().message(text, icon);
        return true;
    case MsgButtons::YesNo:
        return notifier().askYesNo(text, icon);
    case MsgButtons::YesNoDefaultNo:
        if (auto* boxes = dynamic_cast<MessageBoxNotifier*>(&notifier()))
            return boxes->askYesNo(text, icon, QMessageBox::No);
        return notifier().askYesNo(text, icon);
    }
    return false;
}

bool AppMessageBox(int stringId, MsgIcon icon, MsgButtons buttons) {
    return AppMessageBox(StringTable::text(stringId), icon, buttons);
}

QString FormatString(int stringId, const QString& arg1) {
    return fillPlaceholders(StringTable::text(stringId), arg1, nullptr);
}

QString FormatString(int stringId, const QString& arg1, const QString& arg2) {
    return fillPlaceholders(StringTable::text(stringId), arg1, &arg2);
}

bool AppMessageBox(int stringId, const QString& arg1, MsgIcon icon, MsgButtons buttons) {
    return AppMessageBox(FormatString(stringId, arg1), icon, buttons);
}

bool AppMessageBox(int stringId, int arg1, MsgIcon icon, MsgButtons buttons) {
    return AppMessageBox(FormatString(stringId, QString::number(arg1)), icon, buttons);
}

bool AppMessageBox(int stringId, const QString& arg1, const QString& arg2, MsgIcon icon, MsgButtons buttons) {
    return AppMessageBox(FormatString(stringId, arg1, arg2), icon, buttons);
}

void ShowException(const CICException& e, MsgIcon icon) {
    AppMessageBox(truncateToBytes(e.GetErrorMessage(), kExceptionTextBytes), icon);
}

void ShowException(const CDBException& e, MsgIcon icon) {
    AppMessageBox(truncateToBytes(e.text(), kExceptionTextBytes), icon);
}

void ShowException(const std::exception& e, MsgIcon icon) {
    if (auto* ic = dynamic_cast<const CICException*>(&e))
        return ShowException(*ic, icon);
    if (auto* db = dynamic_cast<const CDBException*>(&e))
        return ShowException(*db, icon);
    AppMessageBox(truncateToBytes(QString::fromUtf8(e.what()), kExceptionTextBytes), icon);
}
