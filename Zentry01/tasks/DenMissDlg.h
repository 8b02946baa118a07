#pragma once
// "顧客伝票ミスチェック": the voucher miss-check task screen. The four items
// are shown read-only with the values printed on the voucher, and the trainee
// marks in red the characters that differ from the voucher image; each item is
// logged as a mark string, "C" for a marked character and "N" for any other.
#include "DenpyoDlg.h"

class CDenMissDlg : public CDenpyoDlg {
    Q_OBJECT
public:
    explicit CDenMissDlg(CKaisekiFile& kaiseki, QWidget* parent = nullptr);

    // Marks (or unmarks) the selected characters of every field that has a selection.
    void MarkSelections();
    void UnmarkSelections();

protected:
    int TaskCode() const override { return 3; }
    void CreateItems() override;
    int LayoutItems(int x, int y, int fieldRight) override;
    void ShowItems(const CArrBaseInfo& card, bool answers) override;
    void StoreItems(CArrBaseInfo& card) override;
    bool ItemRight(int deckIndex, int item) const override;
    void EnableItems() override;
    int ImageComparison(bool answers) const override;
    int StartNumberAfterWholeDeck() const override { return 1; }
    bool TaskKey(QKeyEvent* event) override;

private:
    QPushButton* m_mark = nullptr;
    QPushButton* m_unmark = nullptr;
    // The shown card's correct values, trimmed, for the pre-marking of the answer switch.
    QStringList m_answerTexts;
};
