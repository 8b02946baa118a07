#pragma once
// Recordsets over the SQL of the query set: snapshot reads into memory,
// dynaset edits and inserts. An edit writes back only the columns it changed,
// to the row with its primary key that still matches the opening statement's
// condition. Each subclass binds its columns, in table order, in DoFieldExchange.
#include <QDateTime>
#include <QString>
#include <QVariant>
#include <vector>

class CDB;

class CFieldExchange {
public:
    enum Mode { Load, Store, Clear };
    void Long(const char* name, qint32& v);
    void Short(const char* name, qint16& v);
    void Double(const char* name, double& v);
    void Text(const char* name, QString& v);
    void Date(const char* name, QDateTime& v);

private:
    friend class CRecordset;
    int columnIndex(const char* name);
    void exchange(const char* name, QVariant& value);
    template <typename T, typename Conv> void field(const char* name, T& v, Conv conv);

    Mode m_mode = Load;
    const std::vector<QVariant>* m_row = nullptr;
    std::vector<int>* m_indexCache = nullptr;
    const QStringList* m_columns = nullptr;
    int m_fieldNo = 0;
    QStringList m_storeNames;
    QVariantList m_storeValues;
};

class CRecordset {
public:
    enum OpenType { dbOpenDynaset = 2, dbOpenSnapshot = 4 };
    enum Option { none = 0, readOnly = 4 };

    explicit CRecordset(CDB* db);
    virtual ~CRecordset();
    CRecordset(const CRecordset&) = delete;
    CRecordset& operator=(const CRecordset&) = delete;

    // sql: a bracketed table name ("[History_tbl]") or a statement as written,
    // with %d filled from an integer argument and '%s' bound from a text one.
    void Open(int type, const QString& sql, const QVariantList& args = {}, int options = none);
    void Close();
    bool IsOpen() const { return m_isOpen; }

    bool IsEOF() const { return m_pos >= static_cast<int>(m_rows.size()); }
    bool IsBOF() const { return m_pos < 0 || m_rows.empty(); }
    void MoveNext();
    void MovePrev();
    void MoveFirst();
    void MoveLast();
    int GetRecordCount() const { return static_cast<int>(m_rows.size()); }

    bool CanUpdate() const;
    // CanUpdate, reporting "cannot be updated" (with the table name) when not.
    bool CheckCanUpdate() const;
    void AddNew();
    void Edit();
    // Writes the new row, or the columns changed since Edit. Throws
    // CDBNotUpdatable when the edited row no longer matches the opening
    // statement, CDBException on engine failures.
    void Update();
    void CancelUpdate() { m_editMode = NoEdit; }

    // The table the statement reads, bracketed as the messages show it.
    QString tableNameBracketed() const { return '[' + m_table + ']'; }
    const QString& sql() const { return m_sql; }

    // The statement with %d filled and '%s' turned into bound placeholders.
    static QString prepareSql(const QString& sql, const QVariantList& args, QVariantList* binds);

protected:
    virtual void DoFieldExchange(CFieldExchange& fx) = 0;
    virtual QString keyColumn() const { return {}; } // empty: not updatable
    virtual QString defaultTable() const = 0;

private:
    enum EditMode { NoEdit, Editing, Adding };
    void load();
    void storeFields(QStringList* names, QVariantList* values);
    void keepCondition(const QString& statement, const QVariantList& binds);

    CDB* m_db;
    bool m_isOpen = false;
    int m_type = dbOpenDynaset;
    int m_options = none;
    QString m_sql;
    QString m_table;
    QStringList m_columns;
    std::vector<std::vector<QVariant>> m_rows;
    std::vector<int> m_indexCache;
    int m_pos = 0;
    EditMode m_editMode = NoEdit;
    // The opening statement's condition (after "where", before "order by"),
    // with its bound values; every edit's update repeats it.
    QString m_condition;
    QVariantList m_conditionBinds;
    QVariantList m_valuesAtEdit; // the row's stored values when Edit began
};

// Date columns are stored as "YYYY-MM-DD HH:MM:SS" local time, NULL when unset.
QString dateToDb(const QDateTime& dt);
QDateTime dateFromDb(const QVariant& v);
