// The trial-condition screen and the master data selection: what they show,
// the enabling rules, the checks, and what lands in Quillon01.ini.
#include "AppSub.h"
#include "FileDialogs.h"
#include "InputMethodSettings.h"
#include "MstDataDlg.h"
#include "NumberSpinField.h"
#include "Recordsets.h"
#include "SettingDlg.h"
#include "UserSelectDlg.h"
#include "UtilityFixture.h"

#include <QCheckBox>
#include <QFile>
#include <QRadioButton>

using namespace utility;

namespace {

const QStringList kKeys{"order_flg",        "start_flg", "specifie_start_no", "display_flg",
                        "display_position", "zip_flg",   "sound_flg"};

class Settings : public UtilityTest {
protected:
    void SetUp() override {
        UtilityTest::SetUp();
        CRsMst01 rs(&app->MasterDb());
        rs.Open(CRecordset::dbOpenSnapshot, QStringLiteral("select * from [Mst01] order by [Mst01].[Col01]"));
        first = rs.m_Col01;
        rs.MoveLast();
        last = rs.m_Col01;
    }
    QString iniText() {
        QFile f(folder.file(QStringLiteral("Quillon01.ini")));
        return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
    }
    QStringList stored() {
        QStringList out;
        for (const QString& key : kKeys)
            out << AppSub::GetProfileString(key, QStringLiteral("-"));
        return out;
    }
    static CNumberSpinField* field(CSettingDlg& dlg) { return Child<CNumberSpinField>(&dlg, "startNoField"); }
    // Types the start number and presses OK, answering the confirmation.
    void confirm(CSettingDlg& dlg, const QString& startNo, bool yes = true) {
        if (!startNo.isNull()) {
            field(dlg)->setFieldText(QString());
            QTest::keyClicks(field(dlg), startNo);
        }
        folder.notifier.answers = {yes};
        Click(&dlg, "okButton");
    }
    int first = 0, last = 0;
};

TEST_F(Settings, StartNumbersRangeOverTheQuestionnaireDeckWhileTheScreenIsOpen) {
    {
        CSettingDlg dlg(*app);
        EXPECT_EQ(dlg.LowestStart(), first);
        EXPECT_EQ(dlg.HighestStart(), last);
        EXPECT_GT(last, first);
        ASSERT_NE(app->CurrentDeck(), nullptr);
        EXPECT_NE(dynamic_cast<CArrHagaki*>(app->CurrentDeck()), nullptr);
    }
    EXPECT_EQ(app->CurrentDeck(), nullptr) << "the deck goes with the screen";
}

TEST_F(Settings, DefaultsAreShownAndWrittenInOrder) {
    CSettingDlg dlg(*app);
    EXPECT_TRUE(Child<QRadioButton>(&dlg, "numberOrderRadio")->isChecked());
    EXPECT_TRUE(Child<QRadioButton>(&dlg, "continueRadio")->isChecked());
    EXPECT_FALSE(field(dlg)->isEnabled());
    EXPECT_FALSE(Child<QCheckBox>(&dlg, "displayCheck")->isChecked());
    EXPECT_FALSE(Child<QRadioButton>(&dlg, "leftRadio")->isEnabled());
    confirm(dlg, QString());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(messages(), QStringList{QStringLiteral("試行条件を変更してよろしいですか？")});
    EXPECT_EQ(iniText(), QStringLiteral("[Settings]\r\norder_flg=1\r\nstart_flg=1\r\nspecifie_start_no=1\r\n"
                                        "display_flg=0\r\ndisplay_position=1\r\nzip_flg=1\r\nsound_flg=1\r\n"));
}

TEST_F(Settings, EnablingFollowsEveryClick) {
    CSettingDlg dlg(*app);
    dlg.show();
    auto* display = Child<QCheckBox>(&dlg, "displayCheck");
    const struct {
        const char* click;
        bool startRadios, field, displayChecked, displayEnabled, position;
    } steps[] = {
        {"specifiedRadio", true, true, false, true, false},  {"displayCheck", true, true, true, true, true},
        {"shuffleRadio", false, false, true, false, true},   {"numberOrderRadio", true, true, true, true, true},
        {"displayCheck", true, true, false, true, false},    {"continueRadio", true, false, false, true, false},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.click);
        Click(&dlg, s.click);
        EXPECT_EQ(Child<QRadioButton>(&dlg, "continueRadio")->isEnabled(), s.startRadios);
        EXPECT_EQ(Child<QRadioButton>(&dlg, "specifiedRadio")->isEnabled(), s.startRadios);
        EXPECT_EQ(field(dlg)->isEnabled(), s.field);
        EXPECT_EQ(display->isChecked(), s.displayChecked);
        EXPECT_EQ(display->isEnabled(), s.displayEnabled);
        EXPECT_EQ(Child<QRadioButton>(&dlg, "rightRadio")->isEnabled(), s.position);
    }
}

TEST_F(Settings, ShuffleWritesTheImageOnAndTheStartKeysAsLoaded) {
    folder.writeIni(QStringLiteral("[Settings]\norder_flg=2\nstart_flg=2\nspecifie_start_no=9x9\ndisplay_flg=0\n"
                                   "display_position=2\nzip_flg=0\nsound_flg=0\n"));
    CSettingDlg dlg(*app);
    EXPECT_TRUE(Child<QCheckBox>(&dlg, "displayCheck")->isChecked());
    confirm(dlg, QString());
    EXPECT_EQ(stored(), (QStringList{"2", "2", "9x9", "1", "2", "0", "0"}));
}

// Each check box alone switched on: a value read from or written to another
// check box's key shows as a wrong key.
TEST_F(Settings, EachCheckBoxKeepsItsOwnKey) {
    for (const QStringList& boxes : {QStringList{"1", "0", "0"}, QStringList{"0", "1", "0"}, QStringList{"0", "0", "1"}}) {
        SCOPED_TRACE(boxes.join(',').toStdString());
        QFile::remove(folder.file(QStringLiteral("Quillon01.ini")));
        folder.writeIni(QStringLiteral("[Settings]\norder_flg=1\nstart_flg=2\nspecifie_start_no=%1\ndisplay_flg=%2\n"
                                       "display_position=2\nzip_flg=%3\nsound_flg=%4\n")
                            .arg(first + 1)
                            .arg(boxes[0], boxes[1], boxes[2]));
        CSettingDlg dlg(*app);
        EXPECT_EQ(Child<QCheckBox>(&dlg, "displayCheck")->isChecked(), boxes[0] == "1");
        confirm(dlg, QString());
        EXPECT_EQ(stored(), (QStringList{"1", "2", QString::number(first + 1), boxes[0], "2", boxes[1], boxes[2]}));
    }
}

TEST_F(Settings, ADisabledStartNumberIsWrittenUnchecked) {
    folder.writeIni(QStringLiteral("[Settings]\nstart_flg=1\nspecifie_start_no=99999\n"));
    CSettingDlg dlg(*app);
    confirm(dlg, QString());
    EXPECT_EQ(messages().size(), 1) << "only the confirmation";
    EXPECT_EQ(stored()[2], QStringLiteral("99999"));
}

TEST_F(Settings, SpecifiedStartNumbersMustLieOnTheDeck) {
    const QString refused = QStringLiteral("開始Noの指定に誤りがあります。\n開始Noは、%1～%2までの間で指定してください。")
                                .arg(first)
                                .arg(last);
    const struct {
        QString typed;
        bool accepted;
    } cases[] = {{QString::number(first), true},      {QString::number(last), true},
                 {QString::number(first - 1), false}, {QString::number(last + 1), false},
                 {QStringLiteral("abc"), first <= 0}, {QStringLiteral(" %1").arg(last), true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        folder.writeIni(QStringLiteral("[Settings]\nstart_flg=2\n"));
        folder.notifier.entries.clear();
        CSettingDlg dlg(*app);
        dlg.show();
        confirm(dlg, c.typed);
        EXPECT_EQ(dlg.result() == QDialog::Accepted, c.accepted);
        if (c.accepted) {
            EXPECT_EQ(stored()[2], c.typed.trimmed()) << "the ini file keeps no outer blanks";
        } else {
            EXPECT_EQ(messages(), QStringList{refused});
            EXPECT_EQ(dlg.focusWidget(), field(dlg)) << "focus on the field";
            EXPECT_EQ(stored()[2], QStringLiteral("-")) << "nothing written";
        }
    }
}

TEST_F(Settings, DecliningChangesNothing) {
    folder.writeIni(QStringLiteral("[Settings]\norder_flg=1\n"));
    const QString before = iniText();
    CSettingDlg dlg(*app);
    Click(&dlg, "shuffleRadio");
    confirm(dlg, QString(), false);
    EXPECT_EQ(iniText(), before);
    EXPECT_NE(dlg.result(), QDialog::Accepted);
}

TEST_F(Settings, HistoryReferenceOpensTheUserSelectionForTheList) {
    CSettingDlg dlg(*app);
    dlg.show();
    ModalScript script;
    QString title;
    script.on<CUserSelectDlg>([&](CUserSelectDlg* s) {
        title = s->windowTitle();
        Click(s, "closeButton");
    });
    Click(&dlg, "historyButton");
    EXPECT_TRUE(script.done());
    EXPECT_EQ(title, QStringLiteral("解析結果の出力 [ユーザー名選択]"));
}

class InputMethod : public Settings {
protected:
    void TearDown() override {
        CInputMethodSettings::SetFinder({});
        CInputMethodSettings::SetStarter({});
        Settings::TearDown();
    }
    // Finds the named programs at the given paths.
    void installed(const QMap<QString, QString>& paths) {
        CInputMethodSettings::SetFinder([paths](const QString& name) { return paths.value(name); });
    }
};

TEST_F(InputMethod, TheFirstInstalledSettingsProgramStarts) {
    QStringList started;
    CInputMethodSettings::SetStarter([&](const QString& path) {
        started << path;
        return true;
    });
    installed({{"ibus-setup", "/usr/bin/ibus-setup"}});
    EXPECT_TRUE(CInputMethodSettings::Open());
    installed({{"ibus-setup", "/usr/bin/ibus-setup"}, {"fcitx5-configtool", "/usr/bin/fcitx5-configtool"}});
    EXPECT_TRUE(CInputMethodSettings::Open());
    EXPECT_EQ(started, (QStringList{"/usr/bin/ibus-setup", "/usr/bin/fcitx5-configtool"}));
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(InputMethod, NoProgramOrOneThatWillNotStartIsSaid) {
    const QString notExecutable = folder.file(QStringLiteral("ibus-setup"));
    QFile(notExecutable).open(QIODevice::WriteOnly);
    const struct {
        QMap<QString, QString> paths;
        QString message;
    } cases[] = {
        {{}, QStringLiteral("日本語入力の設定プログラム（fcitx5-configtool、ibus-setup）が見つかりません。")},
        {{{"fcitx5-configtool", folder.file(QStringLiteral("gone/fcitx5-configtool"))}},
         QStringLiteral("指定されたファイルが見つかりません。")},
        {{{"ibus-setup", notExecutable}}, QStringLiteral("指定された .EXE ファイルが無効です。")},
    };
    CSettingDlg dlg(*app);
    for (const auto& c : cases) {
        folder.notifier.entries.clear();
        installed(c.paths);
        Click(&dlg, "imeButton");
        EXPECT_EQ(messages(), QStringList{c.message});
    }
}

class MasterData : public UtilityTest {
protected:
    void TearDown() override {
        FileDialogs::clearNextFileNames();
        UtilityTest::TearDown();
    }
    static QLineEdit* path(CMstDataDlg& dlg) { return Child<QLineEdit>(&dlg, "pathEdit"); }
};

TEST_F(MasterData, AnEmptyOrMissingPathIsRefused) {
    CMstDataDlg dlg(*app);
    EXPECT_EQ(path(dlg)->text(), folder.file(QStringLiteral("Quillon01.mst")));
    for (const QString& typed : {QString(), folder.file(QStringLiteral("none.mst")), folder.path()}) {
        folder.notifier.entries.clear();
        path(dlg)->setText(typed);
        Click(&dlg, "okButton");
        EXPECT_EQ(messages(), QStringList{QStringLiteral("指定されたファイルは見つかりません。\n\nファイル名：") + typed});
        EXPECT_NE(dlg.result(), QDialog::Accepted);
    }
    EXPECT_EQ(AppSub::GetProfileString(QStringLiteral("mst_path"), QStringLiteral("-")), QStringLiteral("-"));
}

TEST_F(MasterData, AChosenFileIsWrittenAndConnectedAtOnce) {
    const QString other = folder.file(QStringLiteral("other.mst"));
    ASSERT_TRUE(QFile::copy(folder.file(QStringLiteral("Quillon01.mst")), other));
    app->LoadDeck(1, 1);
    CMstDataDlg dlg(*app);
    FileDialogs::setNextFileName(other);
    Click(&dlg, "browseButton");
    EXPECT_EQ(path(dlg)->text(), other);
    Click(&dlg, "okButton");
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_TRUE(messages().isEmpty()) << messages().join('|').toStdString();
    EXPECT_EQ(AppSub::GetProfileString(QStringLiteral("mst_path"), QString()), other);
    EXPECT_EQ(app->CurrentDeck(), nullptr);
    EXPECT_TRUE(app->MasterDb().IsOpen());
    EXPECT_EQ(app->MasterDb().path(), other);
}

TEST_F(MasterData, AFileThatIsNoMasterIsWrittenAndItsFailureShown) {
    const QString text = folder.file(QStringLiteral("notes.mst"));
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a database\n");
    f.close();
    CMstDataDlg dlg(*app);
    path(dlg)->setText(text);
    Click(&dlg, "okButton");
    EXPECT_EQ(AppSub::GetProfileString(QStringLiteral("mst_path"), QString()), text);
    ASSERT_FALSE(messages().isEmpty());
    EXPECT_FALSE(app->MasterDb().IsOpen() && app->MasterDb().path() == text);
}

} // namespace
