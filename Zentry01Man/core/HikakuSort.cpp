#include "HikakuSort.h"

#include <algorithm>

void CHikakuSort::Add(double key, int userIndex, const QString& name) { m_entries.push_back({key, userIndex, name}); }

std::vector<int> CHikakuSort::Rank(Order order) {
    std::stable_sort(m_entries.begin(), m_entries.end(), [order](const CHikakuSortInfo& a, const CHikakuSortInfo& b) {
        return order == Descending ? a.key > b.key : a.key < b.key;
    });
    int size = 0;
    for (const CHikakuSortInfo& e : m_entries)
        size = std::max(size, e.userIndex + 1);
    std::vector<int> ranks(size, 0);
    int rank = 0;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (i == 0 || m_entries[i].key != m_entries[i - 1].key)
            ++rank;
        ranks[m_entries[i].userIndex] = rank;
    }
    return ranks;
}
