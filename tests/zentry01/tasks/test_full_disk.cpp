// A disk that fills up during a trial: the program folder is a small file
// system of its own that the test fills. The card being saved is refused with a
// message and kept on the screen, the input-value file keeps whole lines only,
// and nothing of the trial is lost once there is room again.
#include "TaskScreenFixture.h"

#include "DenpyoDlg.h"
#include "IKCRitchEditCtrl.h"
#include "SmallMount.h"

using namespace taskscreens;

namespace {

class FullDisk : public TaskScreenTest {
protected:
    void SetUp() override {
        const QByteArray tmpl = readBytes(folder.file(QStringLiteral("UserData.org")));
        mount = std::make_unique<SmallMount>(folder.path(), 2048);
        if (!mount->mounted())
            GTEST_SKIP() << mount->why();
        QFile org(folder.file(QStringLiteral("UserData.org")));
        ASSERT_TRUE(org.open(QIODevice::WriteOnly));
        org.write(tmpl);
        org.close();
        TaskScreenTest::SetUp();
        prepareTrial(2, 1);
        dlg = std::make_unique<CDenpyoDlg>(kaiseki);
        ASSERT_TRUE(dlg->OpenTrial());
        dlg->show();
    }
    void TearDown() override {
        dlg.reset();
        kaiseki.Close();
        TaskScreenTest::TearDown();
        mount.reset();
    }
    void saveCard(const QString& customerCode) {
        auto* field =
            static_cast<CIKCRitchEditCtrl*>(dlg->findChild<QWidget*>(QStringLiteral("customerCode")));
        field->SetText(customerCode);
        clock.advance(10);
        QTest::mouseClick(dlg->findChild<QPushButton*>(QStringLiteral("next")), Qt::LeftButton);
    }
    // The card lines of the input-value file; fails the test unless every line is whole.
    QStringList cardLines() {
        const QByteArray bytes = readBytes(dlg->InputFilePath());
        EXPECT_TRUE(bytes.endsWith("\r\n")) << "a line was cut short";
        QStringList lines = cp932::decode(bytes).split(QStringLiteral("\r\n"));
        lines.removeLast();
        for (const QString& line : lines)
            EXPECT_EQ(line.count(u','), 8) << line.left(80).toStdString();
        return lines.mid(1);
    }

    std::unique_ptr<SmallMount> mount;
    std::unique_ptr<CDenpyoDlg> dlg;
};

TEST_F(FullDisk, TheCardIsRefusedWholeAndSavedOnceThereIsRoom) {
    saveCard(QStringLiteral("A1234"));
    mount->fill();
    // A line longer than the room left in the file's last block: part of it fits.
    const QString longCode(6000, u'9');
    saveCard(longCode);
    ASSERT_FALSE(folder.notifier.entries.isEmpty());
    EXPECT_EQ(folder.notifier.entries.last().icon, MsgIcon::Stop);
    EXPECT_TRUE(folder.notifier.entries.last().text.contains(QStringLiteral("に書き込めません")));
    EXPECT_EQ(dlg->Position(), 1) << "the card stays on the screen";
    EXPECT_EQ(cardLines().size(), 1);

    mount->release();
    saveCard(longCode);
    EXPECT_EQ(dlg->Position(), 2);
    const QStringList lines = cardLines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[1].section(u',', 5, 5), longCode);
}

TEST_F(FullDisk, ATrialEndedOnAFullDiskIsClosedFromItsFileAtTheNextStart) {
    saveCard(QStringLiteral("A1234"));
    saveCard(QStringLiteral("B2001"));
    mount->fill();
    folder.notifier.answers = {true};
    QTest::mouseClick(dlg->findChild<QPushButton*>(QStringLiteral("abort")), Qt::LeftButton);
    EXPECT_EQ(dlg->result(), CDenpyoDlg::kTrialClosed);
    // The result file and the history row could not be written, and said so.
    const QString shown = folder.notifier.texts().join(u'|');
    EXPECT_TRUE(shown.contains(QStringLiteral("解析結果ファイル"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("ディスクの空き容量が足りないため"))) << shown.toStdString();
    EXPECT_EQ(history(1, QStringLiteral("end_flg")).toString(), QString());
    EXPECT_EQ(cardLines().size(), 2);

    mount->release();
    clock.advance(600);
    folder.notifier.entries.clear();
    app->CloseUnfinishedTrials();
    EXPECT_EQ(history(1, QStringLiteral("end_flg")).toString(), QStringLiteral("1"));
    EXPECT_EQ(history(1, QStringLiteral("answer_number")).toInt(), 2);
}

} // namespace
