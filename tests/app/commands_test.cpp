// The console commands check and level, called as functions, on both databases.
#include "app/commands.h"
#include "app/database_setup.h"
#include "app/options.h"
#include "host/csv.h"
#include "host/transaction.h"
#include "rights/review.h"
#include "rightsetup/matrix_csv.h"
#include "tests/support/hostile_csv.h"
#include "tests/support/test_db.h"

using app::runConsole;

namespace {

struct Outcome {
    int code;
    QString out;
    QString err;
};

Outcome run(const QStringList& arguments)
{
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    const int code = runConsole(arguments, outStream, errStream);
    return {code, out, err};
}

}  // namespace

class CommandsTest : public testing_support::SampleDbTest {
protected:
    Outcome check(const QString& op, const QString& item, const QString& level)
    {
        return run({"check", "--db", url(), "--operator", op, "--item", item, "--level", level});
    }
    Outcome level(const QString& op, const QString& item)
    {
        return run({"level", "--db", url(), "--operator", op, "--item", item});
    }
};

TEST_P(CommandsTest, CheckAnswersYesOrNoWithItsExitCode)
{
    Outcome r = check("E001", "w201", "2");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "yes\n");
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();

    r = check("E001", "w205", "1");  // level "0" only
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "no\n");
    EXPECT_EQ(check("E001", "w205", "0").code, 0);
    EXPECT_EQ(check("E001", "m102", "0").code, 1);   // no row
    EXPECT_EQ(check("nobody", "w201", "0").code, 1);
    EXPECT_EQ(check("ADMIN", "nosuch", "2").code, 0);
}

TEST_P(CommandsTest, LevelPrintsTheMappedLevel)
{
    EXPECT_EQ(level("E002", "w201").out, "2\n");  // groups with "2" and "0"
    EXPECT_EQ(level("E004", "m101").out, "1\n");
    EXPECT_EQ(level("E001", "w205").out, "0\n");
    EXPECT_EQ(level("E001", "nosuch").out, "0\n");
    const Outcome admin = level("Admin", "nosuch");
    EXPECT_EQ(admin.out, "2\n");
    EXPECT_EQ(admin.code, 0);
}

TEST_P(CommandsTest, AFailedLookupIsAnErrorNotANo)
{
    // The tables are there, but the lookup cannot run.
    exec("drop table s_group_power");
    exec("create table s_group_power (group_id varchar(3), m_item_code varchar(40))");
    const Outcome r = check("E001", "w201", "0");
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.contains("group_right")) << r.err.toStdString();
    EXPECT_EQ(level("E001", "w201").code, 2);
    EXPECT_EQ(level("admin", "w201").code, 0);  // no lookup for admin
}

TEST_P(CommandsTest, RightsWhoAndMatrixPrintCsvWithAHeaderLine)
{
    Outcome rights = run({"rights", "--db", url(), "--operator", "E002"});
    EXPECT_EQ(rights.code, 0) << rights.err.toStdString();
    QStringList lines = rights.out.split("\r\n", Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.first(), "item_code,item_name,level,groups");
    // E002 is in 仓库管理员 (002: w203 "1") and 查询员 (003: w203 "1"): both grant it.
    EXPECT_TRUE(lines.contains("w203,库存查询,1,002 003")) << rights.out.toStdString();
    EXPECT_TRUE(lines.contains("w201,入库登记,2,002")) << rights.out.toStdString();

    Outcome who = run({"who", "--db", url(), "--item", "w201", "--level", "2"});
    EXPECT_EQ(who.code, 0) << who.err.toStdString();
    EXPECT_EQ(who.out.split("\r\n", Qt::SkipEmptyParts),
              QStringList({"operator_id,name,level,groups", "E001,张伟,2,002", "E002,王芳,2,002", "E006,杨磊,2,001",
                           "admin,系统管理员,2,001"}));

    Outcome matrix = run({"matrix", "--db", url()});
    EXPECT_EQ(matrix.code, 0) << matrix.err.toStdString();
    lines = matrix.out.split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_TRUE(lines.at(0).startsWith("group_id,group_name,003,m101,m102,w201"));
    EXPECT_TRUE(lines.at(3).startsWith("003,查询员,,,,0,")) << lines.at(3).toStdString();

    // Wrong arguments are errors.
    EXPECT_EQ(run({"who", "--db", url()}).code, 2);
    EXPECT_EQ(run({"rights", "--db", url(), "--operator", "E001", "--level", "1"}).code, 2);
    EXPECT_EQ(run({"who", "--db", url(), "--item", "w201", "--level", "9"}).code, 2);
}

TEST_P(CommandsTest, JournalPrintsEveryEntryFromATimeOnOldestFirst)
{
    exec("update s_group set group_name = ? where group_id = ?", {"仓库组, \"甲\"", "002"});
    ASSERT_EQ(host::sqlca.commit(), 0);
    exec("delete from s_user_group where user_code = ? and group_code = ?", {"E001", "002"});
    ASSERT_EQ(host::sqlca.commit(), 0);

    Outcome all = run({"journal", "--db", url()});
    EXPECT_EQ(all.code, 0) << all.err.toStdString();
    const QStringList lines = all.out.split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << all.out.toStdString();
    EXPECT_TRUE(lines.at(1).contains(",s_group,update,")) << lines.at(1).toStdString();
    // A value with a comma and quotes is one quoted field (PostgreSQL writes
    // its JSON with " : " between a name and its value).
    EXPECT_TRUE(QString(lines.at(1)).replace(" : ", ":").contains(R"(""group_name"":""仓库组, \""甲\"""")"))
        << lines.at(1).toStdString();
    EXPECT_TRUE(lines.at(2).contains(",s_user_group,delete,")) << lines.at(2).toStdString();

    Outcome later = run({"journal", "--db", url(), "--since", "2999-01-01"});
    EXPECT_EQ(later.code, 0) << later.err.toStdString();
    EXPECT_EQ(later.out.split("\r\n", Qt::SkipEmptyParts).size(), 1);
    Outcome earlier = run({"journal", "--since", "2000-01-01T08:00:00+08:00", "--db", url()});
    EXPECT_EQ(earlier.out, all.out);

    for (const QStringList& wrong : {QStringList{"journal", "--db", url(), "--since", "2026-02-30"},
                                     QStringList{"journal", "--db", url(), "--operator", "E001"},
                                     QStringList{"rights", "--db", url(), "--operator", "E001", "--since", "2026-01-01"}}) {
        const Outcome r = run(wrong);
        EXPECT_EQ(r.code, 2) << wrong.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    host::sqlca.disconnect();
    ASSERT_TRUE(host::sqlca.connect(url()));
    dropJournal();
    ASSERT_EQ(host::sqlca.commit(), 0);
    const Outcome missing = run({"journal", "--db", url()});
    EXPECT_EQ(missing.code, 2);
    EXPECT_TRUE(missing.err.contains("s_right_journal 不存在")) << missing.err.toStdString();
}

TEST_P(CommandsTest, NoCellOfRightsWhoMatrixOrJournalRunsAsAFormulaAndTheMatrixReadsBackExactly)
{
    using namespace testing_support;
    ASSERT_TRUE(seedHostileRights([this](const QString& sql, const QVariantList& params) { exec(sql, params); }));
    exec("update s_employee set name = ? where id = ?", {"=1+1", "E001"});
    ASSERT_EQ(host::sqlca.commit(), 0);
    QString matrixOut;
    for (const QStringList& command : {QStringList{"rights", "--operator", "E001"},
                                       QStringList{"who", "--item", kHostileItemCodes.at(0)},
                                       QStringList{"matrix"}, QStringList{"journal"}}) {
        const Outcome outcome = run(command + QStringList{"--db", url()});
        ASSERT_EQ(outcome.code, 0) << outcome.err.toStdString();
        QList<QStringList> records;
        QString error;
        ASSERT_TRUE(rightsetup::parseCsv(outcome.out, &records, &error)) << error.toStdString();
        EXPECT_GT(records.size(), 1) << command.first().toStdString();
        EXPECT_EQ(formulaCell(records), "") << command.first().toStdString();
        if (command.first() == "matrix")
            matrixOut = outcome.out;
    }
    // Each field, its apostrophe taken away, is the stored code, name or level.
    // The console used the connection for its own.
    host::sqlca.disconnect();
    ASSERT_TRUE(host::sqlca.connect(url()));
    rights::Matrix stored;
    ASSERT_TRUE(rights::readMatrix(host::sqlca, &stored));
    QList<QStringList> expected = {QStringList({"group_id", "group_name"}) + stored.items};
    for (const QString& group : std::as_const(stored.groups)) {
        QStringList row = {group, stored.groupNames.value(group)};
        for (const QString& item : std::as_const(stored.items))
            row << stored.cells.value({group, item});
        expected << row;
    }
    QList<QStringList> records;
    QString error;
    ASSERT_TRUE(rightsetup::parseCsv(matrixOut, &records, &error));
    for (QStringList& record : records)
        for (QString& field : record)
            field = host::csvRestored(field);
    EXPECT_EQ(records, expected);
    EXPECT_TRUE(stored.items.contains("'--01\\'"));
    EXPECT_TRUE(stored.groups.contains("'=x"));
}

WMS_INSTANTIATE_DB_TESTS(CommandsTest);

TEST(CommandsArguments, UsageErrorsExitWithTwoAndSayWhy)
{
    for (const QStringList& arguments :
         {QStringList{"check", "--db", ":memory:", "--operator", "E001", "--item", "w201"},
          QStringList{"check", "--db", ":memory:", "--operator", "E001", "--item", "w201", "--level", "3"},
          QStringList{"level", "--db", ":memory:", "--item", "w201"},
          QStringList{"level", "--db", ":memory:", "--operator"},
          QStringList{"level", "--nonsense", "x"},
          QStringList{"level", "--db", ":memory:", "--operator", "E001", "--item", "w201", "--open", "w_stock_in"}}) {
        const Outcome r = run(arguments);
        EXPECT_EQ(r.code, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.contains("用法")) << r.err.toStdString();
    }
    EXPECT_EQ(run({"--help"}).code, 0);
}

TEST(CommandsArguments, ADatabaseThatCannotBeOpenedExitsWithTwo)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath("missing.db");
    Outcome r = run({"check", "--db", missing, "--operator", "E001", "--item", "w201", "--level", "1"});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.contains(missing)) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(missing));  // never created by a query

    r = run({"level", "--db", ":memory:", "--operator", "E001", "--item", "w201"});  // no tables
    EXPECT_EQ(r.code, 2);
    EXPECT_FALSE(r.err.isEmpty());
}

TEST(CommandsArguments, OptionsComeInAnyOrderButEachOnlyOnce)
{
    QString error;
    const auto shuffled = app::parseOptions({"--item", "w203", "--db", "x.db", "level", "--operator=E001"}, error);
    ASSERT_TRUE(shuffled) << error.toStdString();
    EXPECT_EQ(shuffled->command, app::Command::Level);
    EXPECT_EQ(shuffled->db, "x.db");
    EXPECT_EQ(shuffled->operatorId, "E001");
    EXPECT_EQ(shuffled->item, "w203");
    EXPECT_TRUE(app::isConsoleCommand({"--db", "x.db", "check", "--operator", "E001"}));
    // A value that happens to be a command word is still a value.
    EXPECT_FALSE(app::isConsoleCommand({"--operator", "check"}));

    const QList<std::pair<QStringList, QString>> repeated = {
        {{"level", "--db", "a.db", "--db", "b.db", "--operator", "E001", "--item", "w201"}, "--db"},
        {{"level", "--db=a.db", "--operator", "E001", "--item", "w201", "--db", "a.db"}, "--db"},
        {{"--operator", "E001", "--password", "1", "--operator", "E002"}, "--operator"},
    };
    for (const auto& [arguments, option] : repeated) {
        EXPECT_FALSE(app::parseOptions(arguments, error)) << arguments.join(' ').toStdString();
        EXPECT_EQ(error, QStringLiteral("参数 %1 只能给出一次").arg(option));
    }
    EXPECT_FALSE(app::parseOptions({"level", "check", "--operator", "E001", "--item", "w201"}, error));
    EXPECT_TRUE(error.contains("多余的参数: check")) << error.toStdString();
}

TEST(CommandsArguments, AnEmptyDatabaseIsRefusedNotTakenForTheSample)
{
    QString error;
    for (const QStringList& arguments : {QStringList{"level", "--db", "", "--operator", "E001", "--item", "w201"},
                                         QStringList{"level", "--db=", "--operator", "E001", "--item", "w201"},
                                         QStringList{"--db", " "}}) {
        EXPECT_FALSE(app::parseOptions(arguments, error)) << arguments.join(' ').toStdString();
        EXPECT_TRUE(error.contains("--db 不能为空")) << error.toStdString();
    }
}

TEST(CommandsArguments, ThePasswordComesFromTheOptionOrElseFromTheEnvironment)
{
    QString error;
    const auto withOption = app::parseOptions({"--operator", "E001", "--password", "from-option"}, error);
    const auto without = app::parseOptions({"--operator", "E001"}, error);
    ASSERT_TRUE(withOption && without);

    qunsetenv(app::kPasswordVariable);
    EXPECT_EQ(app::loginPassword(*withOption), "from-option");
    EXPECT_EQ(app::loginPassword(*without), std::nullopt);

    qputenv(app::kPasswordVariable, "from-environment");
    EXPECT_EQ(app::loginPassword(*withOption), "from-option");  // the option wins
    EXPECT_EQ(app::loginPassword(*without), "from-environment");
    qunsetenv(app::kPasswordVariable);
}

TEST(CommandsArguments, TheEnvironmentsPasswordIsOverwrittenWhereTheProcessHoldsIt)
{
    // putenv puts this very buffer in the environment, as the block the
    // process started with is (the one /proc/PID/environ shows).
    static char entry[] = "WMS_PASSWORD=top-secret";
    ASSERT_EQ(putenv(entry), 0);
    QString error;
    const auto options = app::parseOptions({"--operator", "E001"}, error);
    ASSERT_TRUE(options);
    EXPECT_EQ(app::loginPassword(*options), "top-secret");
    app::forgetPasswordVariable();
    EXPECT_FALSE(qEnvironmentVariableIsSet(app::kPasswordVariable));
    EXPECT_EQ(QByteArray(entry, 13), "WMS_PASSWORD=");
    EXPECT_EQ(QByteArray(entry + 13, sizeof entry - 14), QByteArray(sizeof entry - 14, '\0'));
}
