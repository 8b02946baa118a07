#pragma once
// The list of the cards done in a trial: right and wrong items per card, time
// taken, and the ways on to a card's answers and inputs and to the graph.
#include <QDialog>
#include <QStringList>

class CArrBase;
class CDB;
class CExecEnv;
class CICListCtrl;
class CKaisekiFile;
class CNumberSpinField;
class QLabel;
class QPushButton;

class CResultListDlg : public QDialog {
    Q_OBJECT
public:
    // Result of the screen when メニューへ戻る was pressed.
    static constexpr int kBackToMenu = 1;

    CResultListDlg(const CKaisekiFile& result, const CExecEnv& env, CDB& userDb, CDB& masterDb, const CArrBase& deck,
                   QWidget* parent = nullptr);

    // Column captions of the list for a task and course.
    static QStringList Captions(int problemCode, int courseCode);
    // Number of listed cards: positions of the presentation order from the
    // first, up to the first card without an end time.
    static int ListedCount(const CArrBase& deck);
    // The cells of the row for presentation position `position`.
    static QStringList RowCells(const CArrBase& deck, int position, int problemCode, int courseCode);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void fill();
    void selectByCount();
    void showDetail();
    void showGraph();
    void backToMenu();

    const CKaisekiFile& m_result;
    const CExecEnv& m_env;
    CDB& m_userDb;
    CDB& m_masterDb;
    const CArrBase& m_deck;

    QLabel* m_taskName;
    QLabel* m_userName;
    CNumberSpinField* m_count;
    QLabel* m_rows;
    CICListCtrl* m_list;
    QPushButton* m_graph;
    QPushButton* m_back;
    bool m_opened = false;
};
