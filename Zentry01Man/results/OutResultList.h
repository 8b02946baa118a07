#pragma once
// "解析結果の出力 [試行結果一覧]": the cards of one trial in the order worked,
// with "×" under each item answered wrongly, the time from the trial's start,
// and for the basic-training course the number of checks; each card leads to
// its answers beside the inputs.
#include "OutResultScreen.h"

class CArrBase;
class CICListCtrl;
class CNumberSpinField;
class QLabel;

class COutResultList : public COutResultScreen {
    Q_OBJECT
public:
    // selection: the one trial to list.
    COutResultList(CDB& userDb, CDB& masterDb, const COutSelection& selection, QWidget* parent = nullptr);

    // Without the trial's input-value file the screen says so (string 126) and
    // does not open.
    int exec() override;
    bool Loaded() const { return m_deck != nullptr; }
    CICListCtrl* List() const { return m_list; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void load();
    void selectByCount();
    void compare();

    CArrBase* m_deck = nullptr; // the trial's deck, restored from its input-value file
    int m_problemCode = 0;
    CNumberSpinField* m_count;
    CICListCtrl* m_list;
    QLabel* m_rows;
};
