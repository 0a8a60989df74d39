#include "app/commands.h"

#include "app/database_setup.h"
#include "host/transaction.h"
#include "rights/f_check_right.h"

namespace app {

int runCommand(const Options& options, QTextStream& out, QTextStream& err)
{
    // Only the sample is ever created; any database is read without a write.
    const bool useSample = !options.db;
    const QString url = useSample ? defaultDatabasePath() : *options.db;
    const OpenResult opened = openDatabase(url, useSample, true);
    if (!opened.ok) {
        err << "wms-rights: " << opened.error << Qt::endl;
        return kExitError;
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
