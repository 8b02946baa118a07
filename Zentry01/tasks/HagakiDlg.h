#pragma once
// "アンケート入力": the questionnaire input task screen. The trainee types the
// nine answers of a reader's postcard into a form: six text fields, a list for
// 問１, radio buttons for 問２ and check boxes for 問３, and may fill the
// address from the postal code.
#include "DenpyoDlg.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QRadioButton;

class CHagakiDlg : public CDenpyoDlg {
    Q_OBJECT
public:
    explicit CHagakiDlg(CKaisekiFile& kaiseki, QWidget* parent = nullptr);

    // The postal search of the 〒 field (▽検索, or Enter on it).
    void SearchAddress();

protected:
    int TaskCode() const override { return 1; }
    CArrBase* TaskDeck() const override;
    void CreateItems() override;
    int LayoutItems(int x, int y, int fieldRight) override;
    void ClearItems() override;
    void ShowItems(const CArrBaseInfo& card, bool answers) override;
    void StoreItems(CArrBaseInfo& card) override;
    void EnableItems() override;
    void DisableItems() override;
    QSize ImageSize(bool enlarged) const override;
    int PanelWidth(bool enlarged) const override;
    QPoint InputShift(int placement) const override;
    QPoint BaseOrigin() const override;
    int FieldOffset() const override { return 150; }
    bool TaskKey(QKeyEvent* event) override;
    bool DeferredFocus() const override { return false; }
    QWidget* ItemFocusTarget(int item) const override;

private:
    void fillQuestion1();
    void putAddress(const QString& address);
    QVector<QWidget*> choiceControls() const;

    QPushButton* m_zipSearch = nullptr;
    QComboBox* m_question1 = nullptr;
    QButtonGroup* m_question2 = nullptr;
    QVector<QRadioButton*> m_question2Buttons; // 1, 2, 3, 回答なし
    QCheckBox* m_wish = nullptr;               // 希望する
    QCheckBox* m_noWish = nullptr;             // 希望しない
};
