#pragma once
// The trial history of one user ("試行履歴"): the trials that pass the four
// drop-down filters, leading on to the result output screens. In selection
// mode the rows carry check boxes, the checked trials go to the basic result
// screen, and a trial can be deleted.
#include "HistoryList.h"
#include "OutScreen.h"

class CICListCtrl;
class QComboBox;
class QGridLayout;
class QLabel;
class QPushButton;

class CRirekiDlg : public COutScreen {
    Q_OBJECT
public:
    CRirekiDlg(CDB& userDb, CDB& masterDb, const QString& title, int userCode, bool selectionMode,
               QWidget* parent = nullptr);

    // The four filter choices as the list was last filled.
    const HistoryFilter& Filter() const { return m_filter; }
    const CHistoryMaxMin& Extremes() const { return m_list.Extremes(); }
    CICListCtrl* List() const { return m_rows; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QComboBox* addFilter(QGridLayout* grid, int column, const QString& caption, const char* name,
                         const QStringList& entries, int selected);
    void refill();
    void deleteTrial();
    void showResults();
    void showCardList();

    CDB& m_userDb;
    CDB& m_masterDb;
    int m_userCode;
    bool m_selectionMode;
    HistoryFilter m_filter;
    CHistoryList m_list;
    QComboBox *m_task, *m_trialTime, *m_course, *m_data;
    CICListCtrl* m_rows;
    QLabel* m_count;
    QPushButton* m_cardList;
};
