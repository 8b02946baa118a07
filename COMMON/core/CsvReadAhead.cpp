#include "CsvReadAhead.h"

#include <system_error>
#include <utility>

namespace {
// How far the caller has to catch up before the thread reads on: waking it
// for every file taken would cost more than it saves.
constexpr int kResumeAt = 4;
} // namespace

CCsvReadAhead::CCsvReadAhead(const QStringList& paths, bool readAhead) : m_paths(paths) {
    if (!readAhead || m_paths.size() < 2)
        return;
    m_slots.resize(kAhead);
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
        // Unlocked: the caller goes on meanwhile. The slot is free, since the
        // file kAhead before this one has been taken. TryLoad throws nothing a
        // caller would see (see TryLoad); anything else is passed on.
        Slot& slot = m_slots[index % kAhead];
        slot.error = nullptr;
        try {
            slot.status = slot.file.TryLoad(m_paths.at(index));
        } catch (...) {
            slot.error = std::current_exception(); // out of memory, say
        }
        std::lock_guard lock(m_mutex);
        slot.index = index >= m_taken ? index : -1; // else the caller has read it itself
    }
}

bool CCsvReadAhead::TakeNext(CTCLoadCSVFile& file) {
    if (m_taken == m_paths.size())
        return false;
    const int index = m_taken;
    bool read = false;
    CTCLoadCSVFile::ReadStatus status;
    std::exception_ptr error;
    bool wake = false;
    {
        std::lock_guard lock(m_mutex);
        ++m_taken; // the file is the caller's now, read or not
        m_next = std::max(m_next, m_taken);
        if (!m_slots.empty() && m_slots[index % kAhead].index == index) {
            // The caller's last file goes into the slot, for its memory.
            Slot& slot = m_slots[index % kAhead];
            std::swap(file, slot.file);
            status = slot.status;
            error = std::exchange(slot.error, nullptr);
            slot.index = -1;
            read = true;
        }
        wake = m_threadWaits && m_next <= m_taken + kResumeAt;
    }
    if (wake)
        m_room.notify_one();
    if (!read) {
        file.Load(m_paths.at(index));
        return true;
    }
    if (error)
        std::rethrow_exception(error);
    CTCLoadCSVFile::ThrowIfFailed(status, m_paths.at(index));
    return true;
}

int CCsvReadAhead::ReadAhead() {
    std::lock_guard lock(m_mutex);
    int n = 0;
    for (const Slot& slot : m_slots)
        n += slot.index >= m_taken && slot.index < m_next;
    return n;
}
