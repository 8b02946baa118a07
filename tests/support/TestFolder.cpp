#include "TestFolder.h"

#include "Codec.h"
#include "ProgramFolder.h"
#include "Schema.h"

#include <QFile>
#include <QSqlDatabase>

TestFolder::TestFolder() {
    m_previous = setNotifier(&notifier);
    setProgramFolder(m_dir.path());
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("test_template"));
        db.setDatabaseName(file(QStringLiteral("UserData.org")));
        db.open();
        Schema::create(db, Schema::userDatabase());
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("test_template"));
}

TestFolder::~TestFolder() {
    setProgramFolder(QString());
    setNotifier(m_previous);
}

QString TestFolder::path() const { return m_dir.path() + '/'; }

void TestFolder::writeIni(const QString& content) {
    QFile f(file(QStringLiteral("Quillon01.ini")));
    f.open(QIODevice::WriteOnly);
    QString text = content;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace('\n', QLatin1String("\r\n"));
    f.write(cp932::encode(text));
}

void TestFolder::copyBuiltMaster() {
    QFile::copy(QStringLiteral(ZENTRY_PROGRAM_DIR "/Quillon01.mst"), file(QStringLiteral("Quillon01.mst")));
}
