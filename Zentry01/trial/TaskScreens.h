#pragma once
// Where the trial launcher meets the task screens (questionnaire input,
// voucher correction, voucher miss-check). Each task screen runs one whole
// trial modally: it creates the history row, logs the cards, and scores the
// trial into the analysis-result object before it closes.
#include <QString>

#include <memory>

class CDenpyoDlg;
class CKaisekiFile;
class QWidget;

namespace TaskScreens {
// The task screen ended the trial normally (time up or ended by the trainee).
constexpr int kTrialClosed = 1007;
// The program has no screen for the task.
constexpr int kNoScreen = -1;

// Why no trial can run on a course whose deck holds no card.
QString NoCardsText();

// The task screen of problemCode (1, 2 or 3), or null when the program has none.
std::unique_ptr<CDenpyoDlg> Create(int problemCode, CKaisekiFile& result, QWidget* parent = nullptr);

// Runs the task screen of problemCode (1, 2 or 3) for one trial and returns its
// result: kTrialClosed, QDialog::Rejected when no history row could be created,
// or kNoScreen.
int Run(int problemCode, CKaisekiFile& result, QWidget* menu);
} // namespace TaskScreens
