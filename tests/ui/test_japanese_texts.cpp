// The programs' start-up makes Qt's own texts Japanese whatever the machine's
// locale: the file dialogs' captions, the kind of each entry and its date.
#include "FileDialogs.h"
#include "ProgramStart.h"
#include "TestFolder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLocale>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

#include <memory>

namespace {
// The text of column of the entry named name in the dialog's detail list.
QString listText(QFileDialog& dialog, const QString& name, int column) {
    auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!view)
        return QStringLiteral("(no list)");
    const QAbstractItemModel* model = view->model();
    const QModelIndex root = view->rootIndex();
    for (int r = 0; r < model->rowCount(root); ++r)
        if (model->index(r, 0, root).data().toString() == name)
            return model->index(r, column, root).data().toString();
    return QStringLiteral("(no entry)");
}
} // namespace

TEST(JapaneseTexts, FileDialogUnderAnEnglishLocaleIsJapanese) {
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    UseJapaneseTexts(*qApp);
    EXPECT_EQ(QLocale().language(), QLocale::Japanese);

    TestFolder folder;
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("sub")));
    QFile file(folder.file(QStringLiteral("a.csv")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("x");
    file.flush(); // a later write would set the time again
    // Local time in and out: the same text in every time zone.
    ASSERT_TRUE(
        file.setFileTime(QDateTime(QDate(2024, 3, 5), QTime(9, 7)), QFileDevice::FileModificationTime));
    file.close();

    std::unique_ptr<QFileDialog> dialog(
        FileDialogs::createDialog(nullptr, QString(), folder.path(), QStringLiteral("CSVﾌｧｲﾙ (*.csv)")));
    dialog->setViewMode(QFileDialog::Detail);
    dialog->show();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return listText(*dialog, QStringLiteral("a.csv"), 3) != "(no entry)"; }));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !listText(*dialog, QStringLiteral("sub"), 2).isEmpty(); }));

    struct Case {
        const char* entry;
        int column;
        QString expected;
    };
    const Case cases[] = {
        {"sub", 2, QStringLiteral("フォルダー")},
        {"a.csv", 3, QStringLiteral("2024/03/05 9:07")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(listText(*dialog, QString::fromLatin1(c.entry), c.column).toStdString(),
                  c.expected.toStdString())
            << c.entry;
    auto* nameLabel = dialog->findChild<QLabel*>(QStringLiteral("fileNameLabel"));
    ASSERT_NE(nameLabel, nullptr);
    EXPECT_EQ(nameLabel->text(), QStringLiteral("ファイル名(&N):"));
    dialog.reset();
    QLocale::setDefault(previous);
}
