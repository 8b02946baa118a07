#pragma once
// Helpers for the deck, order, environment and input-value file tests: a clock
// the test sets, a small master data file written row by row, and user rows.
#include "ArrDenpyo.h"
#include "Clock.h"
#include "FakeClock.h"
#include "TestRows.h"
#include "DB.h"
#include "Recordsets.h"
#include "Schema.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVariantList>

#include <gtest/gtest.h>

namespace fixtures {

using ::FakeClock;

// Writes a master data file with the schema's tables; rows are added with run().
class MasterWriter {
public:
    explicit MasterWriter(const QString& path) : m_name(QStringLiteral("fixture_master")) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        EXPECT_TRUE(db.open());
        Schema::create(db, Schema::masterDatabase());
    }
    ~MasterWriter() {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    // A questionnaire card (Mst01 or Mst03): number, nine items, exclusion flag.
    void card(const QString& table, int number, const QStringList& items, int jogai = 0) {
        QVariantList values{number};
        for (int i = 0; i < 9; ++i)
            values << (i < items.size() ? items.at(i) : QString());
        values << jogai;
        insert(table, values);
    }
    // A voucher row (Mst02, Mst04 or their error tables): number, four items, flag.
    void voucher(const QString& table, int number, const QStringList& items, int jogai = 0) {
        QVariantList values{number};
        for (int i = 0; i < 4; ++i)
            values << (i < items.size() ? items.at(i) : QString());
        values << jogai;
        insert(table, values);
    }
    void run(const QString& sql) {
        QSqlQuery q(QSqlDatabase::database(m_name, false));
        EXPECT_TRUE(q.exec(sql)) << sql.toStdString();
    }

private:
    void insert(const QString& table, const QVariantList& values) {
        QStringList marks;
        for (int i = 0; i < values.size(); ++i)
            marks << QStringLiteral("?");
        QSqlQuery q(QSqlDatabase::database(m_name, false));
        q.prepare(QStringLiteral("insert into [%1] values (%2)").arg(table, marks.join(',')));
        for (int i = 0; i < values.size(); ++i)
            q.bindValue(i, values.at(i));
        EXPECT_TRUE(q.exec()) << table.toStdString();
    }
    QString m_name;
};

// Adds a live user with the given start numbers.
inline void addUser(CDB& userDb, int code, const QString& name1, const QString& name2, int start1 = 0,
                    int start2 = 0, int start3 = 0, int deleted = 0) {
    TestUser u;
    u.code = code;
    u.name1 = name1;
    u.name2 = name2;
    u.start[0] = start1;
    u.start[1] = start2;
    u.start[2] = start3;
    u.deleted = deleted;
    AddTestUser(userDb, u);
}

// A deck built by hand: card numbers with their correct (and printed) values.
template <typename Deck> struct HandDeck : Deck {
    void Load(CDB&, int) override {}
    CArrBaseInfo& add(int number, const QStringList& correct, const QStringList& erroneous = {}) {
        auto card = std::make_unique<CArrBaseInfo>();
        card->number = number;
        for (int i = 0; i < correct.size(); ++i)
            card->correct[i] = correct.at(i);
        for (int i = 0; i < erroneous.size(); ++i)
            card->erroneous[i] = erroneous.at(i);
        return this->Append(std::move(card));
    }
};

} // namespace fixtures
