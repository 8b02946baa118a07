#pragma once
// Support for the tests of the instructor utility's screens: a temporary
// program folder with the built master data file, the application object with
// both databases connected, a clock the test sets, a recording notifier that
// answers the message boxes, and the helpers that drive modal screens.
#include "FakeClock.h"
#include "ModalScript.h"
#include "StringTable.h"
#include "TestFolder.h"
#include "TestRows.h"
#include "Zentry01ManApp.h"

#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <memory>

namespace utility {

// Replaces a field's text the way an input method delivers Japanese: a commit
// string over the selected old text.
inline void TypeInto(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    if (text.isEmpty())
        return;
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(field, &commit);
}

class UtilityTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder.copyBuiltMaster();
        app = std::make_unique<CZentry01ManApp>();
        app->OpenDatabases();
    }
    void TearDown() override {
        app.reset();
        StringTable::clear();
    }
    QStringList messages() const { return folder.notifier.texts(); }
    // Adds a user through the programs' recordset; returns the code.
    int addUser(int code, const QString& kana1, const QString& kana2, const QString& name1, const QString& name2,
                int deleted = 0) {
        AddTestUser(app->UserDb(), TestUser{code, kana1, kana2, name1, name2, {0, 0, 0}, deleted, clock.now()});
        return code;
    }

    TestFolder folder;
    FakeClock clock{naiveDateTime(QDate(2026, 6, 1), QTime(9, 30, 0))};
    std::unique_ptr<CZentry01ManApp> app;
};

} // namespace utility
