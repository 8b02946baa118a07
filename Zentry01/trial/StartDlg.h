#pragma once
// The start screen: what the trial is going to be, and "スタート", which builds
// the presentation order of the deck.
#include <QDialog>
#include <QStringList>
#include <array>

class CArrBase;
class CArrShowSeq;
class CDB;
class CExecEnv;
class QLabel;

class CStartDlg : public QDialog {
    Q_OBJECT
public:
    // Loads the instructor's conditions into env and shows the summary.
    // parent: the menu, hidden while this screen is open.
    CStartDlg(CExecEnv& env, CDB& userDb, CArrBase& deck, CArrShowSeq& order, QWidget* parent = nullptr);

    // The six summary lines, in screen order.
    QStringList Lines() const;
    // The six lines for the environment's task, course and conditions.
    static QStringList SummaryLines(const CExecEnv& env, CDB& userDb);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void start();

    CExecEnv& m_env;
    CDB& m_userDb;
    CArrBase& m_deck;
    CArrShowSeq& m_order;
    std::array<QLabel*, 6> m_lines{};
};
