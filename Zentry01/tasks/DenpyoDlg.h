#pragma once
// "顧客伝票修正", the voucher correction task screen, and the trial that every
// task screen runs: it creates the history row and the input-value file as it
// opens, shows the cards one after the other, logs each completed card, keeps
// the time limit, and at the end scores the trial and completes the history
// row, exactly once. The miss-check and questionnaire screens derive from it
// and replace only the item controls and the rules that differ.
#include "TaskScreens.h"

#include <QDateTime>
#include <QDialog>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QTimer>
#include <QVector>

#include <memory>

class CArrBase;
class CArrBaseInfo;
class CCountTimer;
class CDB;
class CExecEnv;
class CICStatic;
class CIKCRitchEditCtrl;
class CInputLog;
class CKaisekiFile;
class CKCPrintImage;
class CKCStaticShintyoku;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;

class CDenpyoDlg : public QDialog {
    Q_OBJECT
public:
    // The result of a trial that was closed normally (中止, last card, time limit).
    static constexpr int kTrialClosed = TaskScreens::kTrialClosed;

    // kaiseki: the trial's analysis-result object, owned by the launcher.
    // parent: the menu screen, hidden while the trial runs. The environment,
    // databases and deck are the application object's.
    CDenpyoDlg(CKaisekiFile& kaiseki, QWidget* parent = nullptr);
    ~CDenpyoDlg() override;

    // Opens the trial: history row, input-value file, analysis-result file, the
    // first card and the timer. False when the screen ended at once with
    // Rejected (no history row, or no file to record the trial in).
    bool OpenTrial();
    // Opens the trial and runs the screen modally.
    int exec() override;

    int Position() const { return m_position; }
    int HistoryNumber() const { return m_historyNo; }
    bool Finished() const { return m_finished; }
    // The trial has ended (or is ending); the screen takes no more work.
    bool TrialClosed() const { return m_closing; }
    QDateTime OpenedAt() const { return m_openedAt; }
    QString InputFilePath() const;

public slots:
    // Enter and Esc never close the screen.
    void accept() override {}
    void reject() override {}

protected:
    // ---- what each task defines
    virtual int TaskCode() const { return 2; }
    // The application's deck of the task.
    virtual CArrBase* TaskDeck() const;
    // Creates the item labels and controls (parented to this screen).
    virtual void CreateItems();
    // Places the item controls from (x, y) with fields ending at fieldRight; returns the y below them.
    virtual int LayoutItems(int x, int y, int fieldRight);
    virtual void ClearItems();
    // Fills the controls for the card; answers is set when corvane_pass reads 1.
    virtual void ShowItems(const CArrBaseInfo& card, bool answers);
    // Copies the controls into the card's inputs.
    virtual void StoreItems(CArrBaseInfo& card);
    virtual bool ItemRight(int deckIndex, int item) const;
    virtual void EnableItems();
    virtual void DisableItems();
    virtual void FocusFirstItem();
    // Image size, panel width and the shift of the input controls for a placement.
    virtual QSize ImageSize(bool enlarged) const;
    virtual int PanelWidth(bool enlarged) const;
    // How much smaller than ImageSize the card is shown, and its size as shown.
    double ImageShrink() const;
    QSize ShownImageSize() const;
    virtual QPoint InputShift(int placement) const;
    // Where the item controls start with no image; x of the item labels and fields.
    virtual QPoint BaseOrigin() const;
    virtual int FieldOffset() const { return 140; }
    // Drawing of the card image: comparison selector.
    virtual int ImageComparison(bool answers) const;
    // Card number stored as the next start after the whole deck; 0 stores nothing.
    virtual int StartNumberAfterWholeDeck() const { return 0; }
    // A key of the task (before the screen's own key handling); true when used.
    virtual bool TaskKey(QKeyEvent* event);
    // Whether the opening focuses the first field once the screen is up.
    virtual bool DeferredFocus() const { return true; }
    // Where Alt with the item's digit puts the focus (the item's field).
    virtual QWidget* ItemFocusTarget(int item) const;

    // ---- shared by the tasks
    CExecEnv& Env() const { return *m_env; }
    CArrBase& Deck() const { return *m_deck; }
    CDB& MasterDb() const { return *m_masterDb; }
    int CurrentDeckIndex() const;
    // A label of an item: the face of the screen, the mnemonic text.
    CICStatic* AddItemLabel(const QString& text);
    CIKCRitchEditCtrl* AddField(const QString& objectName);
    QPushButton* AddButton(const QString& text, const QString& objectName);
    void PlaceField(CIKCRitchEditCtrl* field, int x, int rowTop, int width, int rowHeight);
    // The top of a row placed at row, moved below the progress box and the
    // dial when it would run into them.
    int ClearOfProgress(const QRect& row) const;
    void ResetLabelColours();

    QVector<CICStatic*> m_labels;             // one per item, in item order
    QVector<CIKCRitchEditCtrl*> m_fields;     // the text fields, in item order
    QPushButton* m_next = nullptr;

    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void setUpScreen();
    void layOut();
    void showCard(int position);
    void saveCard(int position, bool log);
    // The live row after a completed card: the count, the time left and how
    // long the card took, written as soon as the screen is idle again.
    void reportCard(int cardsDone);
    void onNext();
    void onAbort();
    void onCheck();
    void onTick();
    void updateProgress(int done);
    qint64 remainingSeconds() const;
    bool timeIsUp() const;
    void closeTrial(int endFlag);
    void abandonTrial(const QString& reason);

    CKaisekiFile& m_kaiseki;
    CExecEnv* m_env;
    CDB* m_userDb;
    CDB* m_masterDb;
    CArrBase* m_deck = nullptr;
    std::unique_ptr<CInputLog> m_log;

    int m_position = 0;
    QDateTime m_openedAt;
    QDateTime m_lastReport;
    int m_historyNo = 0;
    bool m_finished = false;
    bool m_ending = false;  // the end question is open, or the trial is closing
    bool m_closing = false; // the trial is closing or closed: it ends only once
    bool m_opened = false;
    bool m_focusPending = false;
    int m_placement = 0;
    bool m_enlarged = false;
    QRect m_reserved; // the corner of the progress box and the dial, with a margin

    QWidget* m_header = nullptr;
    QFrame* m_panel = nullptr;
    CKCPrintImage* m_image = nullptr;
    QLabel* m_noCaption = nullptr;
    QLabel* m_noValue = nullptr;
    QLabel* m_message = nullptr;
    QPushButton* m_abort = nullptr;
    QPushButton* m_check = nullptr;
    QPushButton* m_fix = nullptr;
    QPushButton* m_uncheck = nullptr;
    QPushButton* m_print = nullptr;
    QGroupBox* m_progressBox = nullptr;
    CKCStaticShintyoku* m_progress = nullptr;
    CCountTimer* m_countTimer = nullptr;
    QTimer m_tick;
};
