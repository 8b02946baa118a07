#pragma once
// The benchmarks' user-database template in their temporary program folder,
// from which CDB::OpenUser makes the working copy; fill writes rows first.
#include "Schema.h"

#include <QDir>
#include <QSqlDatabase>

#include <functional>

inline void CreateUserTemplate(const QString& folder, const std::function<void(QSqlDatabase&)>& fill = {}) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench_user"));
        db.setDatabaseName(QDir(folder).filePath(QStringLiteral("UserData.org")));
        db.open();
        Schema::create(db, Schema::userDatabase());
        if (fill)
            fill(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench_user"));
}
