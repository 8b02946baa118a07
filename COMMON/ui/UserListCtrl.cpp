#include "UserListCtrl.h"

#include "AppSub.h"

#include <QFontMetrics>
#include <QStyle>

#include <algorithm>
#include <QHeaderView>

CUserListCtrl::CUserListCtrl(bool withCodeColumn, QWidget* parent) : CICListCtrl(parent), m_withCode(withCodeColumn) {
    setObjectName(QStringLiteral("userList"));
    SetUp(false, QString(), 0);
    setRootIsDecorated(false);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    int column = 0;
    if (m_withCode)
        InsertColumn(column++, QStringLiteral("ユーザーNO."), 100);
    InsertColumn(column++, QStringLiteral("氏名"), 100);
    InsertColumn(column, QStringLiteral("フリガナ"), 100);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(false);
    // The list keeps its vertical bar, so the viewport is the width less a bar.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

int CUserListCtrl::Fill(CDB& userDb) {
    DeleteAllItems();
    const QVector<AppSub::UserListRow> users = AppSub::UserList(userDb);
    const int nameColumn = m_withCode ? 1 : 0;
    for (const AppSub::UserListRow& u : users) {
        const int row = m_withCode ? InsertItem(ItemCount(), QString::number(u.code), u.code)
                                   : InsertItem(ItemCount(), u.fullName, u.code);
        if (m_withCode)
            SetItemText(row, nameColumn, u.fullName);
        SetItemText(row, nameColumn + 1, u.fullKana);
    }
    if (ItemCount() > 0)
        SelectRow(0);
    return ItemCount();
}

int CUserListCtrl::SelectedUserCode() const {
    const int row = SingleSelection();
    return row < 0 ? 0 : static_cast<int>(ItemData(row));
}

bool CUserListCtrl::SelectUser(int userCode) {
    for (int row = 0; row < ItemCount(); ++row) {
        if (ItemData(row) == userCode) {
            SelectRow(row);
            return true;
        }
    }
    return false;
}

void CUserListCtrl::resizeEvent(QResizeEvent* event) {
    CICListCtrl::resizeEvent(event);
    fitColumns();
}

void CUserListCtrl::fitColumns() {
    int rest = viewport()->width();
    int column = 0;
    if (m_withCode) {
        // As wide as "■ユーザーNO." in the screen's font.
        const int codeWidth = QFontMetrics(font()).horizontalAdvance(QStringLiteral("■ユーザーNO.")) +
                              style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this) * 2;
        setColumnWidth(column++, codeWidth);
        rest -= codeWidth;
    }
    const int half = std::max(0, rest / 2);
    setColumnWidth(column, half);
    setColumnWidth(column + 1, half);
}
