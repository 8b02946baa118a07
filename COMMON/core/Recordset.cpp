#include "Recordset.h"

#include "Clock.h"
#include "DB.h"
#include "DbEngine.h"
#include "ICException.h"
#include "Notifier.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

QString dateToDb(const QDateTime& dt) {
    return dt.isValid() ? dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : QString();
}

namespace {
// "YYYY-MM-DD HH:MM:SS" as the programs write it, read without a regular
// expression: lists read thousands of rows with three dates each.
bool parseWrittenForm(QStringView s, QDateTime& out) {
    if (s.size() != 19 || s[4] != u'-' || s[7] != u'-' || s[10] != u' ' || s[13] != u':' || s[16] != u':')
        return false;
    auto number = [&](int from, int len, int& value) {
        value = 0;
        for (int i = from; i < from + len; ++i) {
            if (s[i] < u'0' || s[i] > u'9')
                return false;
            value = value * 10 + (s[i].unicode() - u'0');
        }
        return true;
    };
    int y, mo, d, h, mi, sec;
    if (!number(0, 4, y) || !number(5, 2, mo) || !number(8, 2, d) || !number(11, 2, h) || !number(14, 2, mi) ||
        !number(17, 2, sec))
        return false;
    const QDate date(y, mo, d);
    const QTime time(h, mi, sec);
    out = date.isValid() && time.isValid() ? naiveDateTime(date, time) : QDateTime();
    return true;
}
} // namespace

QDateTime dateFromDb(const QVariant& v) {
    if (v.isNull())
        return {};
    QString s = v.toString().trimmed();
    QDateTime written;
    if (parseWrittenForm(s, written))
        return written;
    static const QRegularExpression re(
        QStringLiteral("^(\\d{4})[-/](\\d{1,2})[-/](\\d{1,2})(?:[ T](\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?)?"));
    auto m = re.match(s);
    if (!m.hasMatch())
        return {};
    QDate d(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    QTime t(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
    if (!d.isValid() || !t.isValid())
        return {};
    return naiveDateTime(d, t);
}

namespace {
int indexOfColumn(const QStringList& columns, const QString& name) {
    int exact = columns.indexOf(name);
    if (exact >= 0)
        return exact;
    for (int i = 0; i < columns.size(); ++i)
        if (columns.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}
} // namespace

// ---------------------------------------------------------------- field exchange

int CFieldExchange::columnIndex(const char* name) {
    std::vector<int>& cache = *m_indexCache;
    if (m_fieldNo >= static_cast<int>(cache.size()))
        cache.push_back(indexOfColumn(*m_columns, QString::fromLatin1(name)));
    return cache[m_fieldNo];
}

void CFieldExchange::exchange(const char* name, QVariant& value) {
    if (m_mode == Load) {
        int idx = columnIndex(name);
        value = idx >= 0 && idx < static_cast<int>(m_row->size()) ? (*m_row)[idx] : QVariant();
    }
    ++m_fieldNo;
}

template <typename T, typename Conv> void CFieldExchange::field(const char* name, T& v, Conv conv) {
    switch (m_mode) {
    case Load: {
        QVariant value;
        exchange(name, value);
        v = conv(value);
        return;
    }
    case Clear:
        v = T();
        return;
    case Store:
        m_storeNames << QString::fromLatin1(name);
        if constexpr (std::is_same_v<T, QDateTime>)
            m_storeValues << (v.isValid() ? QVariant(dateToDb(v)) : QVariant(QMetaType(QMetaType::QString)));
        else if constexpr (std::is_same_v<T, QString>)
            // Codes and texts are never NULL: 0 and "nothing" are the empty text.
            m_storeValues << QVariant(v.isNull() ? QStringLiteral("") : v);
        else
            m_storeValues << QVariant::fromValue(v);
        return;
    }
}

void CFieldExchange::Long(const char* name, qint32& v) {
    field(name, v, [](const QVariant& x) { return static_cast<qint32>(x.toString().trimmed().toLongLong()); });
}
void CFieldExchange::Short(const char* name, qint16& v) {
    field(name, v, [](const QVariant& x) { return static_cast<qint16>(x.toString().trimmed().toInt()); });
}
void CFieldExchange::Double(const char* name, double& v) {
    field(name, v, [](const QVariant& x) { return x.toDouble(); });
}
void CFieldExchange::Text(const char* name, QString& v) {
    field(name, v, [](const QVariant& x) { return x.isNull() ? QString() : x.toString(); });
}
void CFieldExchange::Date(const char* name, QDateTime& v) {
    field(name, v, [](const QVariant& x) { return dateFromDb(x); });
}

// ---------------------------------------------------------------- recordset

CRecordset::CRecordset(CDB* db) : m_db(db) {}
CRecordset::~CRecordset() { Close(); }

QString CRecordset::prepareSql(const QString& sql, const QVariantList& args, QVariantList* binds) {
    QString out;
    out.reserve(sql.size());
    const QStringView view(sql);
    int arg = 0;
    for (qsizetype i = 0; i < view.size(); ++i) {
        if (view.at(i) == '\'' && view.mid(i, 4) == QLatin1String("'%s'")) {
            out += '?';
            binds->append(arg < args.size() ? args.at(arg).toString() : QString());
            ++arg;
            i += 3;
        } else if (view.at(i) == '%' && view.mid(i, 2) == QLatin1String("%d")) {
            out += QString::number(arg < args.size() ? args.at(arg).toLongLong() : 0);
            ++arg;
            i += 1;
        } else {
            out += view.at(i);
        }
    }
    return out;
}

void CRecordset::Open(int type, const QString& sql, const QVariantList& args, int options) {
    Close();
    m_type = type;
    m_options = options;
    QString statement = sql.trimmed();
    if (statement.startsWith('['))
        statement = QStringLiteral("select * from ") + statement;
    // The table the statement reads: the first "from [name]".
    m_table = defaultTable();
    int from = statement.indexOf(QLatin1String("from ["), 0, Qt::CaseInsensitive);
    if (from >= 0) {
        int close = statement.indexOf(']', from);
        if (close > from + 6)
            m_table = statement.mid(from + 6, close - from - 6);
    }

    QVariantList binds;
    m_sql = prepareSql(statement, args, &binds);
    keepCondition(m_sql, binds);
    if (!m_db || !m_db->IsOpen())
        throw CDBException(QStringLiteral("データベースが開かれていません。"));
    // Statements with bound values are the hot lookups: keep them prepared.
    // A server restarted since the last statement: a read outside any write
    // is simply asked again on a new connection.
    QSqlQuery local;
    QSqlQuery& q = m_db->RunOnceMoreIfLost([&]() -> QSqlQuery& {
        local = QSqlQuery(m_db->database());
        if (binds.isEmpty()) {
            local.setForwardOnly(true);
            if (!local.prepare(DbEngines::nativeSql(*m_db, m_sql)))
                throw CDBException(local.lastError().text());
        }
        QSqlQuery& query = binds.isEmpty() ? local : m_db->cachedQuery(m_sql);
        for (int i = 0; i < binds.size(); ++i)
            query.bindValue(i, binds.at(i));
        if (!query.exec())
            throw CDBException(query.lastError().text());
        return query;
    });
    QSqlRecord rec = q.record();
    m_columns.clear();
    for (int i = 0; i < rec.count(); ++i)
        m_columns << rec.fieldName(i);
    const int n = rec.count();
    while (q.next()) {
        std::vector<QVariant> row(n);
        for (int i = 0; i < n; ++i)
            row[i] = q.value(i);
        m_rows.push_back(std::move(row));
    }
    q.finish();
    m_isOpen = true;
    m_pos = 0;
    load();
}

void CRecordset::keepCondition(const QString& statement, const QVariantList& binds) {
    m_condition.clear();
    m_conditionBinds.clear();
    static const QRegularExpression where(QStringLiteral("\\swhere\\s"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression orderBy(QStringLiteral("\\sorder\\s+by\\s"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch w = where.match(statement);
    if (!w.hasMatch())
        return;
    const qsizetype begin = w.capturedEnd();
    qsizetype end = statement.size();
    QRegularExpressionMatchIterator it = orderBy.globalMatch(statement, begin);
    while (it.hasNext())
        end = it.next().capturedStart();
    m_condition = statement.mid(begin, end - begin).trimmed();
    // Bound values are taken in order; those before "where" belong elsewhere.
    const qsizetype skipped = QStringView(statement).left(begin).count('?');
    const qsizetype used = QStringView(m_condition).count('?');
    m_conditionBinds = binds.mid(skipped, used);
}

void CRecordset::Close() {
    m_rows.clear();
    m_indexCache.clear();
    m_columns.clear();
    m_isOpen = false;
    m_editMode = NoEdit;
    m_valuesAtEdit.clear();
    m_pos = 0;
}

void CRecordset::load() {
    CFieldExchange fx;
    if (IsEOF() || m_pos < 0) {
        fx.m_mode = CFieldExchange::Clear;
    } else {
        fx.m_mode = CFieldExchange::Load;
        fx.m_row = &m_rows[m_pos];
        fx.m_indexCache = &m_indexCache;
        fx.m_columns = &m_columns;
    }
    DoFieldExchange(fx);
}

void CRecordset::MoveNext() {
    if (m_pos < static_cast<int>(m_rows.size()))
        ++m_pos;
    load();
}
void CRecordset::MovePrev() {
    if (m_pos >= 0)
        --m_pos;
    load();
}
void CRecordset::MoveFirst() {
    m_pos = 0;
    load();
}
void CRecordset::MoveLast() {
    m_pos = m_rows.empty() ? 0 : static_cast<int>(m_rows.size()) - 1;
    load();
}

bool CRecordset::CanUpdate() const {
    return m_isOpen && m_type == dbOpenDynaset && !(m_options & readOnly) && !keyColumn().isEmpty() && m_db &&
           m_db->canWrite();
}

bool CRecordset::CheckCanUpdate() const {
    if (CanUpdate())
        return true;
    notifyMessage(DbMessages::notUpdatable(tableNameBracketed()), MsgIcon::Exclamation);
    return false;
}

void CRecordset::AddNew() {
    if (!CanUpdate())
        throw CDBNotUpdatable(DbMessages::notUpdatable(tableNameBracketed()));
    CFieldExchange fx;
    fx.m_mode = CFieldExchange::Clear;
    DoFieldExchange(fx);
    m_editMode = Adding;
}

void CRecordset::Edit() {
    if (!CanUpdate())
        throw CDBNotUpdatable(DbMessages::notUpdatable(tableNameBracketed()));
    if (IsEOF() || m_pos < 0)
        throw CDBException(QStringLiteral("カレント レコードがありません。"));
    QStringList names;
    storeFields(&names, &m_valuesAtEdit);
    m_editMode = Editing;
}

void CRecordset::storeFields(QStringList* names, QVariantList* values) {
    CFieldExchange fx;
    fx.m_mode = CFieldExchange::Store;
    DoFieldExchange(fx);
    *names = fx.m_storeNames;
    *values = fx.m_storeValues;
}

void CRecordset::Update() {
    if (m_editMode == NoEdit)
        throw CDBException(QStringLiteral("AddNew または Edit が実行されていません。"));
    QStringList names;
    QVariantList values;
    storeFields(&names, &values);

    QString sql;
    if (m_editMode == Adding) {
        QStringList columns, marks;
        for (const QString& n : names) {
            columns << '[' + n + ']';
            marks << QStringLiteral("?");
        }
        sql = QStringLiteral("insert into [%1] (%2) values (%3)").arg(m_table, columns.join(','), marks.join(','));
    } else {
        // Only what this edit changed: a column the other program wrote
        // meanwhile keeps its value.
        QStringList changedNames;
        QVariantList changedValues;
        for (int i = 0; i < names.size(); ++i) {
            if (i < m_valuesAtEdit.size() && values.at(i) == m_valuesAtEdit.at(i) &&
                values.at(i).isNull() == m_valuesAtEdit.at(i).isNull())
                continue;
            changedNames << names.at(i);
            changedValues << values.at(i);
        }
        names = changedNames;
        values = changedValues;
        if (names.isEmpty()) {
            m_editMode = NoEdit;
            return;
        }
        QStringList sets;
        for (const QString& n : names)
            sets << '[' + n + "] = ?";
        const int keyIdx = indexOfColumn(m_columns, keyColumn());
        // The row must still be the one the statement read: same key, still
        // matching its condition (for example not deleted meanwhile).
        sql = QStringLiteral("update [%1] set %2 where [%3] = ?").arg(m_table, sets.join(','), keyColumn());
        if (!m_condition.isEmpty())
            sql += QStringLiteral(" and (%1)").arg(m_condition);
        values << (keyIdx >= 0 ? m_rows[m_pos][keyIdx] : QVariant());
        values << m_conditionBinds;
    }
    QSqlQuery q(m_db->database());
    if (!q.prepare(DbEngines::nativeSql(*m_db, sql)))
        throw CDBException(q.lastError().text());
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values.at(i));
    if (!q.exec()) {
        if (DbEngines::isDuplicateKey(q.lastError()))
            throw CDBDuplicateKey(q.lastError().text());
        throw CDBException(q.lastError().text());
    }
    if (m_editMode == Editing && q.numRowsAffected() < 1) {
        m_editMode = NoEdit;
        throw CDBNotUpdatable(DbMessages::notUpdatable(tableNameBracketed()));
    }
    if (m_editMode == Editing) {
        // Keep the in-memory row in step with what was written.
        for (int i = 0; i < names.size(); ++i) {
            const int idx = indexOfColumn(m_columns, names.at(i));
            if (idx >= 0)
                m_rows[m_pos][idx] = values.at(i);
        }
    }
    m_editMode = NoEdit;
}
