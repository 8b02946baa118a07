#include "CsvReadAhead.h"

#include <system_error>

namespace {
// How far the caller has to catch up before the thread reads on: waking it
// for every file taken would cost more than it saves.
constexpr int kResumeAt = 4;
} // namespace

CCsvReadAhead::CCsvReadAhead(const QStringList& paths, bool readAhead)
    : m_paths(paths), m_loaded(paths.size()) {
    if (!readAhead || m_paths.size() < 2)
        return;
    try {
        m_thread = std::thread([this] { this->readAhead(); });
    } catch (const std::system_error&) {
        // No thread to be had: TakeNext reads every file itself.
    }
}

CCsvReadAhead::~CCsvReadAhead() {
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_room.notify_one();
    m_thread.join();
}

CCsvReadAhead::Loaded CCsvReadAhead::load(const QString& path) {
    // Throws nothing, on either thread: a file that cannot be read is reported
    // by TakeNext, on the caller's thread, as Load would report it.
    Loaded loaded;
    try {
        loaded.read = CTCLoadCSVFile::TryReadAll(path);
        if (loaded.read.ok())
            loaded.file.LoadBytes(loaded.read.bytes);
        loaded.read.bytes = QByteArray();
    } catch (...) {
        loaded.error = std::current_exception(); // out of memory, say
    }
    return loaded;
}

void CCsvReadAhead::readAhead() {
    for (;;) {
        int index;
        {
            std::unique_lock lock(m_mutex);
            if (m_next >= m_taken + kAhead) {
                m_threadWaits = true;
                m_room.wait(lock, [this] { return m_stop || m_next <= m_taken + kResumeAt; });
                m_threadWaits = false;
            }
            if (m_stop || m_next >= m_paths.size())
                return;
            index = m_next++;
        }
        Loaded loaded = load(m_paths.at(index)); // unlocked: the caller goes on meanwhile
        std::lock_guard lock(m_mutex);
        if (index >= m_taken) // else the caller has read this file itself
            m_loaded[index] = std::move(loaded);
    }
}

bool CCsvReadAhead::TakeNext(CTCLoadCSVFile& file) {
    if (m_taken == m_paths.size())
        return false;
    const int index = m_taken;
    std::optional<Loaded> next;
    bool wake = false;
    {
        std::lock_guard lock(m_mutex);
        ++m_taken; // the file is the caller's now, read or not
        m_next = std::max(m_next, m_taken);
        next.swap(m_loaded[index]);
        wake = m_threadWaits && m_next <= m_taken + kResumeAt;
    }
    if (wake)
        m_room.notify_one();
    if (!next)
        next = load(m_paths.at(index));
    if (next->error)
        std::rethrow_exception(next->error);
    CTCLoadCSVFile::ThrowIfFailed(next->read, m_paths.at(index));
    file = std::move(next->file);
    return true;
}

int CCsvReadAhead::ReadAhead() {
    std::lock_guard lock(m_mutex);
    int n = 0;
    for (int i = m_taken; i < m_next; ++i)
        n += m_loaded[i].has_value();
    return n;
}
