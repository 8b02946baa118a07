#pragma once
// Ranking of the user comparison: one entry per user with a sort key, sorted,
// then given dense ranks (equal keys share a rank; the next key gets the next
// number, so 100, 100, 90 rank 1, 1, 2).
#include <QString>

#include <vector>

struct CHikakuSortInfo {
    double key = 0;
    int userIndex = 0; // position of the user in the comparison
    QString name;
};

class CHikakuSort {
public:
    enum Order { Descending, Ascending };

    void Add(double key, int userIndex, const QString& name);
    // Sorts the entries by key and returns each user's dense rank, indexed by
    // userIndex (users without an entry get 0). Entries with equal keys keep
    // the order they were added in.
    std::vector<int> Rank(Order order);
    const std::vector<CHikakuSortInfo>& Entries() const { return m_entries; }

private:
    std::vector<CHikakuSortInfo> m_entries;
};
