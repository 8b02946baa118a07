#pragma once
// "実施状況": the trials running now and those ended within the last two
// hours, one row each, kept up to date while the screen is open. A running
// trial that has stopped reporting shows 応答なし; a double click on an ended
// trial opens its card list as the history screen does.
#include "LiveTrials.h"
#include "OutScreen.h"

#include <QHash>
#include <QTimer>

#include <memory>
#include <vector>

class CDB;
class ILiveChanges;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

class CLiveDlg : public COutScreen {
    Q_OBJECT
public:
    // Who and how far first, so that a narrow window still shows them.
    enum Column { UserName, Host, State, Cards, Elapsed, Left, Start, Task, Course, Conditions, kColumns };

    CLiveDlg(CDB& userDb, CDB& masterDb, QWidget* parent = nullptr);
    ~CLiveDlg() override;

    QTreeWidget* List() const { return m_list; }
    const std::vector<LiveTrials::Row>& Rows() const { return m_rows; }
    // How many times the rows were read from the database.
    int Reads() const { return m_reads; }
    // One step of the screen's timer: the rows re-read when the database
    // changed (as often as its source of changes allows), else aged to now.
    void Tick();

protected:
    // Opens wide enough for every column, where the screen allows.
    void showEvent(QShowEvent* event) override;

private:
    // Reads and shows the rows when a change may be taken now; true also
    // while the server's connection is lost (the rows stay as last read).
    bool readIfChanged();
    // Opens a lost connection again and listens again; while the server
    // stays away, says so once and tries again every kRetryMs.
    void listenAgain();
    // A change told by the server: read at once, or as soon as allowed.
    void changeTold();
    void read();
    void showRows();
    void openResults(QTreeWidgetItem* item);

    CDB& m_userDb;
    CDB& m_masterDb;
    std::unique_ptr<ILiveChanges> m_changes;
    std::vector<LiveTrials::Row> m_rows;
    QHash<int, QTreeWidgetItem*> m_items; // by AutoNumber
    QTreeWidget* m_list;
    QLabel* m_count;
    QTimer m_timer;
    QTimer m_wake; // a change told too soon after the last read
    QDateTime m_readAt;
    bool m_away = false; // the server's connection lost and not yet back
    qint64 m_triedMs = 0;
    int m_reads = 0;
    int m_fitted = -1; // rows the column widths were fitted to
    bool m_opened = false;
};
