#pragma once
// Loads a list of CSV files in order for a caller who takes them in that
// order, with a second thread reading a few files ahead: a long analysis reads
// and decodes the next input-value files while it judges the current one.
//
// The caller never waits for that thread. A file it has not finished (the
// thread may be off the processor on a busy machine) the caller reads itself,
// and the thread's copy is dropped: at worst, the files are read as they were
// without the thread. The readers go round between the caller and the thread,
// so their memory serves file after file.
#include "TCLoadCSVFile.h"

#include <QStringList>

#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

class CCsvReadAhead {
public:
    // Without readAhead (and when no thread can be started) every file is
    // read by TakeNext itself.
    explicit CCsvReadAhead(const QStringList& paths, bool readAhead = true);
    // Stops reading ahead and waits for the thread.
    ~CCsvReadAhead();
    CCsvReadAhead(const CCsvReadAhead&) = delete;
    CCsvReadAhead& operator=(const CCsvReadAhead&) = delete;

    // Loads the next file of the list into `file`, as file.Load(path) would,
    // throwing what it threw. False, and `file` untouched, when every file
    // has been taken.
    bool TakeNext(CTCLoadCSVFile& file);

    // The thread reads at most this many files ahead of the caller: enough to
    // ride out a file that is slow to read, few enough that a long list does
    // not sit in memory.
    static constexpr int kAhead = 8;
    // Files the thread has read and the caller not taken yet.
    int ReadAhead();

private:
    // The place of the files i, i + kAhead, i + 2 * kAhead, ... as the thread
    // reads them.
    struct Slot {
        CTCLoadCSVFile file;
        CTCLoadCSVFile::ReadStatus status;
        std::exception_ptr error; // anything else that went wrong
        int index = -1;           // the file it holds, read; -1 when none
    };
    void readAhead();

    const QStringList m_paths;
    std::mutex m_mutex;
    std::condition_variable m_room; // the caller took files, or reading stops
    // Guarded by m_mutex, except a slot's content while the thread reads into it:
    std::vector<Slot> m_slots;
    int m_taken = 0;            // files taken (or being read) by the caller
    int m_next = 0;             // the next file for the thread to read
    bool m_threadWaits = false; // the thread waits for room
    bool m_stop = false;
    std::thread m_thread;
};
