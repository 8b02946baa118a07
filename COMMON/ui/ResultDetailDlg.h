#pragma once
// One card's answers beside the trainee's inputs, with the differing
// characters marked in red. The task program shows it after a trial under its
// banner; the instructor utility as one of its resizable result screens.
#include <QDialog>
#include <QList>

class CArrBase;
class CIKCRitchEditCtrl;
class QPushButton;
class QScrollArea;

class CResultDetailDlg : public QDialog {
    Q_OBJECT
public:
    enum Frame { TaskProgram, Utility };

    CResultDetailDlg(const CArrBase& deck, int deckIndex, int problemCode, QWidget* parent = nullptr)
        : CResultDetailDlg(deck, deckIndex, problemCode, TaskProgram, parent) {}
    CResultDetailDlg(const CArrBase& deck, int deckIndex, int problemCode, Frame frame, QWidget* parent);

    // One item group's boxes: 正解, 入力前, 入力後. Questionnaire cards have no
    // printed values: the task program shows the input in the 入力前 box
    // (labelled 入力) and has no 入力後, the utility hides 入力前.
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
    void keyPressEvent(QKeyEvent* event) override;

private:
    CIKCRitchEditCtrl* makeBox(const QString& name);
    void fillQuestionnaire(const CArrBase& deck, int index);
    void fillVoucher(const CArrBase& deck, int index, bool missCheck);
    void back();

    Frame m_frame;
    QList<ItemBoxes> m_items;
    QPushButton* m_ok = nullptr;
    QScrollArea* m_scroll = nullptr;
    bool m_opened = false;
};
