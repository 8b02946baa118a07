// The postal search list: the rows of one code, the typed text as typed, the
// count, OK only with a selection, double click, and no list for no rows.
#include "DB.h"
#include "Schema.h"
#include "StringTable.h"
#include "TestFolder.h"
#include "ZipDlg.h"
#include "Zentry01Strings.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// A master file with three rows for 123-4567 and one for 765-4321.
void writeSmallMaster(const QString& path) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("zip_master"));
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        Schema::create(db, Schema::masterDatabase());
        QSqlQuery q(db);
        q.prepare(QStringLiteral("insert into KEN_ALL (ID, ZipCode7, TodofukenKanji, City1Kanji, City2Kanji) "
                                 "values (?, ?, ?, ?, ?)"));
        const struct {
            int id;
            const char* zip;
            const char* pref;
            const char* city;
            const char* town;
        } rows[] = {
            {1, "1234567", "東京都", "港区", "芝公園"},
            {2, "7654321", "大阪府", "大阪市北区", "梅田"},
            {3, "1234567", "東京都", "港区", "芝大門"},
            {4, "1234567", "東京都", "港区", "浜松町"},
        };
        for (const auto& r : rows) {
            q.addBindValue(r.id);
            q.addBindValue(QString::fromUtf8(r.zip));
            q.addBindValue(QString::fromUtf8(r.pref));
            q.addBindValue(QString::fromUtf8(r.city));
            q.addBindValue(QString::fromUtf8(r.town));
            ASSERT_TRUE(q.exec());
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("zip_master"));
}

class ZipDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        Zentry01Strings::Register();
        writeSmallMaster(folder.file(QStringLiteral("Quillon01.mst")));
        master.OpenMaster();
    }
    QStringList entries(const CZipDlg& dlg) {
        QStringList out;
        for (int i = 0; i < dlg.list()->count(); ++i)
            out << dlg.list()->item(i)->text();
        return out;
    }
    TestFolder folder;
    CDB master;
};

TEST_F(ZipDlgTest, ListsEveryRowOfTheCodeInQueryOrderWithTheFirstSelected) {
    CZipDlg dlg(master, QStringLiteral("123-4567"));
    EXPECT_EQ(dlg.rowCount(), 3);
    EXPECT_EQ(entries(dlg), QStringList({QStringLiteral("東京都港区芝公園"), QStringLiteral("東京都港区芝大門"),
                                         QStringLiteral("東京都港区浜松町")}));
    EXPECT_EQ(dlg.list()->currentRow(), 0);
    EXPECT_TRUE(dlg.okButton()->isEnabled());
    EXPECT_EQ(dlg.findChild<QLabel*>(QStringLiteral("countText"))->text(), QStringLiteral("3 件"));
    // The code is shown as typed, hyphen included.
    EXPECT_EQ(dlg.findChild<QLabel*>(QStringLiteral("zipCode"))->text(), QStringLiteral("郵便番号：123-4567"));
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("郵便番号検索"));
}

TEST_F(ZipDlgTest, OkTakesTheSelectedAddress) {
    CZipDlg dlg(master, QStringLiteral("1234567"));
    QTimer::singleShot(0, &dlg, [&] {
        dlg.list()->setCurrentRow(2);
        QTest::mouseClick(dlg.okButton(), Qt::LeftButton);
    });
    EXPECT_EQ(dlg.exec(), QDialog::Accepted);
    EXPECT_EQ(dlg.address(), QStringLiteral("東京都港区浜松町"));
    EXPECT_TRUE(folder.notifier.entries.isEmpty());
}

TEST_F(ZipDlgTest, DoubleClickActsAsOk) {
    CZipDlg dlg(master, QStringLiteral("1234567"));
    QTimer::singleShot(0, &dlg, [&] {
        QListWidget* list = dlg.list();
        const QRect r = list->visualItemRect(list->item(1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
    });
    EXPECT_EQ(dlg.exec(), QDialog::Accepted);
    EXPECT_EQ(dlg.address(), QStringLiteral("東京都港区芝大門"));
}

TEST_F(ZipDlgTest, WithoutASelectionOkIsDisabledAndAcceptAsksForOne) {
    CZipDlg dlg(master, QStringLiteral("1234567"));
    bool stillOpen = false;
    QTimer::singleShot(0, &dlg, [&] {
        dlg.list()->clearSelection();
        EXPECT_FALSE(dlg.okButton()->isEnabled());
        // Enter reaches the default action even so: it asks and stays open.
        dlg.accept();
        stillOpen = dlg.isVisible();
        dlg.list()->item(0)->setSelected(true);
        EXPECT_TRUE(dlg.okButton()->isEnabled());
        dlg.reject();
    });
    EXPECT_EQ(dlg.exec(), QDialog::Rejected);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(folder.notifier.texts(), QStringList{QStringLiteral("リストを選択してください。")});
    EXPECT_EQ(folder.notifier.entries.first().icon, MsgIcon::Exclamation);
    EXPECT_TRUE(dlg.address().isEmpty());
}

TEST_F(ZipDlgTest, EscapeAndCancelLeaveNoAddress) {
    CZipDlg dlg(master, QStringLiteral("1234567"));
    QTimer::singleShot(0, &dlg, [&] { QTest::keyClick(dlg.list(), Qt::Key_Escape); });
    EXPECT_EQ(dlg.exec(), QDialog::Rejected);
    EXPECT_TRUE(dlg.address().isEmpty());

    CZipDlg again(master, QStringLiteral("1234567"));
    QTimer::singleShot(0, &again, [&] {
        QTest::mouseClick(again.findChild<QPushButton*>(QStringLiteral("cancel")), Qt::LeftButton);
    });
    EXPECT_EQ(again.exec(), QDialog::Rejected);
    EXPECT_TRUE(again.address().isEmpty());
}

TEST_F(ZipDlgTest, ACodeWithoutRowsOrOfTheWrongFormClosesAtOnce) {
    for (const QString& typed : {QStringLiteral("9999999"), QStringLiteral("1234-567"), QStringLiteral("123456")}) {
        CZipDlg dlg(master, typed);
        EXPECT_LE(dlg.rowCount(), 0) << typed.toStdString();
        EXPECT_EQ(dlg.exec(), QDialog::Rejected); // returns without showing anything
        EXPECT_EQ(dlg.list()->count(), 0);
    }
}

} // namespace
