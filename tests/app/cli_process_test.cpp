// The built wms-rights binary run as a script would run it.
#include "host/transaction.h"
#include "schema/database.h"
#include "tests/support/printers.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Result {
    int code = -1;
    QString out;
    QString err;
};

Result runBinary(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(WMS_RIGHTS_BINARY), arguments);
    Result result;
    if (!process.waitForFinished(30000)) {
        process.kill();
        return result;
    }
    result.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    result.err = QString::fromLocal8Bit(process.readAllStandardError());
    return result;
}

class CliProcess : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        db_ = dir_.filePath("sample.db");
        host::Transaction trans;
        ASSERT_TRUE(trans.connect(db_)) << trans.sqlerrtext.toStdString();
        ASSERT_TRUE(schema::createTables(trans) && schema::loadSampleData(trans)) << trans.sqlerrtext.toStdString();
    }
    QTemporaryDir dir_;
    QString db_;
};

}  // namespace

TEST_F(CliProcess, CheckAndLevelOnTheSampleDatabase)
{
    Result r = runBinary({"check", "--db", db_, "--operator", "E001", "--item", "w201", "--level", "2"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed(), "yes");

    r = runBinary({"check", "--db", db_, "--operator", "E001", "--item", "w302", "--level", "1"});
    EXPECT_EQ(r.code, 1) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed(), "no");

    r = runBinary({"level", "--db", db_, "--operator", "E001", "--item", "w203"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed(), "1");
}

TEST_F(CliProcess, AnUnopenableDatabaseIsAClearErrorWithExitCodeTwo)
{
    QFile junk(dir_.filePath("junk.db"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    for (const QString& url : {junk.fileName(), dir_.filePath("none/missing.db"),
                               QStringLiteral("postgresql://nobody@127.0.0.1:1/none")}) {
        const Result r = runBinary({"check", "--db", url, "--operator", "E001", "--item", "w201", "--level", "1"});
        EXPECT_EQ(r.code, 2) << url.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
        EXPECT_TRUE(r.err.contains("无法打开数据库")) << r.err.toStdString();
    }
}
