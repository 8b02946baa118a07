#pragma once
// A selection of history rows: an ordered list of numbers (AutoNumber values
// or the trial numbers to give them) with a lookup of a value's position.
#include <QList>
#include <initializer_list>

class CArrRirekiNum {
public:
    CArrRirekiNum() = default;
    CArrRirekiNum(std::initializer_list<qint32> values) : m_values(values) {}

    int Add(qint32 value); // returns the new element's index
    int GetSize() const { return static_cast<int>(m_values.size()); }
    qint32 GetAt(int index) const { return m_values.at(index); }
    void SetAt(int index, qint32 value) { m_values[index] = value; }
    void RemoveAll() { m_values.clear(); }
    // Index of the first element equal to value, -1 when absent.
    int Find(qint32 value) const;

    const QList<qint32>& values() const { return m_values; }

private:
    QList<qint32> m_values;
};
