#include "Guarded.h"

#include "ICException.h"
#include "StringTable.h"

#include <QString>

void ShowCurrentException() {
    try {
        throw;
    } catch (const CICException& e) {
        ShowException(e);
    } catch (const CDBException& e) {
        ShowException(e);
    } catch (const std::exception& e) {
        ShowException(e);
    } catch (...) {
        AppMessageBox(QStringLiteral("予期しないエラーが発生しました。"), MsgIcon::Stop);
    }
}
