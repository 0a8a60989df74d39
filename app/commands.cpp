#include "app/commands.h"

#include "app/database_setup.h"
#include "host/csv.h"
#include "journal_core/journal.h"
#include "journal_core/journal_upgrade.h"
#include "schema/database.h"
#include "host/transaction.h"
#include "rights/review.h"
#include "rights/f_check_right.h"

namespace app {

namespace {

// rights, who and matrix: CSV with a header line on `out`; false when the
// database could not be read (sqlca holds why).
bool writeReview(const Options& options, QTextStream& out)
{
    QString text;
    if (options.command == Command::Rights || options.command == Command::Who) {
        QList<rights::Grant> grants;
        const bool read = options.command == Command::Rights
                              ? rights::rightsOf(host::sqlca, options.operatorId.value_or(QString()), &grants)
                              : rights::holdersOf(host::sqlca, options.item.value_or(QString()),
                                                  options.level.value_or(QString()), &grants);
        if (!read)
            return false;
        text += options.command == Command::Rights
                    ? host::csvLine({QStringLiteral("item_code"), QStringLiteral("item_name"), QStringLiteral("level"),
                                     QStringLiteral("groups")})
                    : host::csvLine({QStringLiteral("operator_id"), QStringLiteral("name"), QStringLiteral("level"),
                                     QStringLiteral("groups")});
        for (const rights::Grant& grant : grants)
            text += host::csvLine({grant.subject, grant.name, grant.level, grant.groups.join(QLatin1Char(' '))});
    } else if (options.command == Command::Matrix) {
        rights::Matrix matrix;
        if (!rights::readMatrix(host::sqlca, &matrix))
            return false;
        text += rights::matrixCsv(matrix);
    } else {
        return false;
    }
    out << text << Qt::flush;
    return true;
}

// journal: every entry of s_right_journal (from --since on), oldest first, as
// CSV; 0, or 2 with the reason on `err`.
int writeJournal(const Options& options, QTextStream& out, QTextStream& err)
{
    if (!schema::hasJournalTable(host::sqlca)) {
        err << "wms-rights: 变更记录表 s_right_journal 不存在 (the journal table does not exist)" << Qt::endl;
        return kExitError;
    }
    journal::JournalFilter filter;
    filter.newestFirst = false;
    if (options.since)
        filter.since = journal::journalTime(*options.since);
    QList<journal::JournalEntry> entries;
    if (journal::readJournal(host::sqlca, filter, &entries) != host::Transaction::kSuccess) {
        err << "wms-rights: 读取变更记录失败: " << host::sqlca.sqlerrtext << Qt::endl;
        return kExitError;
    }
    QString text = host::csvLine({QStringLiteral("id"), QStringLiteral("changed_at"), QStringLiteral("operator_id"),
                                  QStringLiteral("table_name"), QStringLiteral("action"), QStringLiteral("row_key"),
                                  QStringLiteral("before_value"), QStringLiteral("after_value")});
    for (const journal::JournalEntry& e : std::as_const(entries))
        text += host::csvLine({QString::number(e.id), e.changedAt, e.operatorId, e.table, e.action, e.key, e.before,
                               e.after});
    out << text << Qt::flush;
    return kExitYes;
}

// upgrade: adds what is missing of the journal, says what it did; 0, or 2.
int upgrade(const QString& url, QTextStream& out, QTextStream& err)
{
    const OpenResult opened = openDatabase(url, false, false);
    if (!opened.ok) {
        err << "wms-rights: " << opened.error << Qt::endl;
        return kExitError;
    }
    QStringList report;
    const int code = journal::upgradeJournal(host::sqlca, &report);
    if (code != host::Transaction::kSuccess)
        err << "wms-rights: 添加变更记录失败, 没有作任何修改: " << host::sqlca.sqlerrtext << Qt::endl;
    else
        for (const QString& line : std::as_const(report))
            out << line << "\n";
    out << Qt::flush;
    host::sqlca.disconnect();
    return code == host::Transaction::kSuccess ? kExitYes : kExitError;
}

}  // namespace

int runCommand(const Options& options, QTextStream& out, QTextStream& err)
{
    if (options.command == Command::Upgrade)
        return upgrade(*options.db, out, err);
    // Only the sample is ever created; any database is read without a write.
    const bool useSample = !options.db;
    const QString url = useSample ? defaultDatabasePath() : *options.db;
    const OpenResult opened = openDatabase(url, useSample, true);
    if (!opened.ok) {
        err << "wms-rights: " << opened.error << Qt::endl;
        return kExitError;
    }

    if (options.command == Command::Journal) {
        const int code = writeJournal(options, out, err);
        host::sqlca.disconnect();
        return code;
    }

    const QString operatorId = options.operatorId.value_or(QString());
    const QString item = options.item.value_or(QString());
    // The checks answer "no right" when their lookup fails; a script must be
    // able to tell that from a real no, so a failed lookup is an error here.
    host::sqlca.sqlcode = host::Transaction::kSuccess;
    host::sqlca.sqlerrtext.clear();
    int code = kExitError;
    if (options.command == Command::Check) {
        const bool held = rights::f_check_right(item, options.level.value_or(QString()), operatorId);
        if (host::sqlca.sqlcode != host::Transaction::kError) {
            out << (held ? "yes" : "no") << Qt::endl;
            code = held ? kExitYes : kExitNo;
        }
    } else if (options.command == Command::Level) {
        const int level = rights::operatorLevel(item, operatorId);
        if (host::sqlca.sqlcode != host::Transaction::kError) {
            out << level << Qt::endl;
            code = kExitYes;
        }
    } else if (writeReview(options, out)) {
        code = kExitYes;
    }
    if (host::sqlca.sqlcode == host::Transaction::kError)
        err << "wms-rights: 查询权限失败: " << host::sqlca.sqlerrtext << Qt::endl;
    host::sqlca.disconnect();
    return code;
}

int runConsole(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    QString error;
    const auto options = parseOptions(arguments, error);
    if (!options) {
        err << "wms-rights: " << error << "\n\n" << usage() << Qt::flush;
        return kExitError;
    }
    if (options->command == Command::Help) {
        out << usage() << Qt::flush;
        return kExitYes;
    }
    return runCommand(*options, out, err);
}

}  // namespace app
