#pragma once
// The conditions screen: time limit, what the task screen shows, targets and
// feedback. Which choices are open depends on the course.
#include <QDialog>
#include <array>

class CExecEnv;
class CColourSwatch;
class CNumberSpinField;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QRadioButton;

class CMokuhyDlg : public QDialog {
    Q_OBJECT
public:
    // deckSize: cards in the deck just loaded for this course (the targets' upper bound).
    // parent: the menu, hidden while this screen is open.
    CMokuhyDlg(CExecEnv& env, int deckSize, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void loadFromEnvironment();
    void applyFeedbackRule();
    void next();
    // The field check of one target; false after showing what is wrong.
    bool checkField(CNumberSpinField* field, const QString& label);

    CExecEnv& m_env;
    int m_deckSize;

    QButtonGroup* m_endTime;
    QCheckBox* m_progress;
    QCheckBox* m_timer;
    QCheckBox* m_remainder;
    QCheckBox* m_enlarge;
    QLabel* m_workLabel;
    CNumberSpinField* m_work;
    QLabel* m_workUnit;
    QLabel* m_correctLabel;
    CNumberSpinField* m_correct;
    QLabel* m_correctUnit;
    QCheckBox* m_graph;
    QCheckBox* m_errorFeedback;
    QCheckBox* m_finalFeedback;
    QLabel* m_methodLabel;
    QButtonGroup* m_method;
    QLabel* m_colourLabel;
    QButtonGroup* m_colour;
    std::array<CColourSwatch*, 6> m_swatches{};
};
