#pragma once
// One card's answers beside the trainee's inputs, with the differing
// characters marked in red.
#include "ResultScreen.h"
#include <QList>

class CArrBase;
class CIKCRitchEditCtrl;
class QPushButton;

class CResultDetailDlg : public CResultScreen {
    Q_OBJECT
public:
    CResultDetailDlg(const CArrBase& deck, int deckIndex, int problemCode, QWidget* parent = nullptr);

    // One item group's boxes: 正解, 入力前 (relabelled 入力 for questionnaire
    // cards), 入力後 (none for questionnaire cards).
    struct ItemBoxes {
        QString title;
        CIKCRitchEditCtrl* correct = nullptr;
        CIKCRitchEditCtrl* before = nullptr;
        CIKCRitchEditCtrl* after = nullptr;
    };
    const QList<ItemBoxes>& Items() const { return m_items; }

    // Spaces made visible: a full-width space as "＿", a half-width one as "_".
    static QString VisibleSpaces(const QString& text);
    // "C" where the character of text differs from the reference at the same
    // position (also beyond the reference's end), else "N".
    static QString DifferenceMarks(const QString& text, const QString& reference);

protected:
    void showEvent(QShowEvent* event) override;

private:
    CIKCRitchEditCtrl* makeBox(const QString& name);
    void fillQuestionnaire(const CArrBase& deck, int index);
    void fillVoucher(const CArrBase& deck, int index, bool missCheck);
    void back();

    QList<ItemBoxes> m_items;
    QPushButton* m_ok = nullptr;
    bool m_opened = false;
};
