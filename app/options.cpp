#include "app/options.h"

#include "host/database_url.h"
#include "journal_core/journal.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace app {

namespace {

const QStringList kValueOptions = {QStringLiteral("--db"), QStringLiteral("--operator"),
                                   QStringLiteral("--password"), QStringLiteral("--item"),
                                   QStringLiteral("--level"), QStringLiteral("--open"),
                                   QStringLiteral("--show-menu"), QStringLiteral("--since")};

}  // namespace

QString usage()
{
    return QStringLiteral(
        "用法:\n"
        "  wms-rights [--db URL] [--operator ID [--password PW]]\n"
        "      打开演示宿主 (默认数据库: ~/.local/share/wms-rights/sample.db, 首次运行时创建;\n"
        "      其他数据库必须已经存在).\n"
        "      给出 --operator 和密码时不显示登录窗口. 密码可放在环境变量 WMS_PASSWORD 中;\n"
        "      --password 仅用于演示 (命令行参数本机其他用户可见), 两者都给出时以 --password 为准.\n"
        "      --open w_stock_in 登录后打开一个窗口, --show-menu m_warehouse 展开一个菜单 (用于演示和截图).\n"
        "  wms-rights check --db URL --operator ID --item CODE --level L\n"
        "      操作员在模块项上至少拥有级别 L (0, 1 或 2) 时输出 yes 并以 0 退出, 否则输出 no 并以 1 退出.\n"
        "  wms-rights level --db URL --operator ID --item CODE\n"
        "      输出操作员在模块项上的权限级别 0, 1 或 2.\n"
        "  wms-rights rights --db URL --operator ID\n"
        "      CSV: 操作员所在组有权限行的每个模块项: 编号, 名称, 有效级别, 授予该级别的组.\n"
        "  wms-rights who --db URL --item CODE [--level L]\n"
        "      CSV: 所在组对该模块项有权限行的每个操作员 (有效级别至少为 L): 编号, 姓名, 有效级别, 授予该级别的组.\n"
        "  wms-rights matrix --db URL\n"
        "      CSV: 每个组一行: 组编号, 组名称, 然后每个模块项一列 (空: 没有权限行).\n"
        "  wms-rights journal --db URL [--since ISO-TIME]\n"
        "      CSV: 变更记录 s_right_journal 的每一条 (从 ISO 时间起, 如 2026-12-08T09:00+08:00), 按时间顺序.\n"
        "      这些命令以只读方式打开已有的数据库, 不作任何修改; 不给 --db 时使用示例数据库.\n"
        "  wms-rights upgrade --db URL\n"
        "      为已有的数据库添加变更记录 (表 s_right_journal 和六个权限表上的触发器), 只添加缺少的部分,\n"
        "      并列出做了什么; 再次运行不作任何修改. 唯一会修改数据库的命令.\n"
        "URL: SQLite 文件路径 (不接受 file: URI), :memory: 或 postgresql://user@host:port/db\n"
        "     (密码请用 PGPASSWORD 或 ~/.pgpass, 不要写在 URL 中).\n"
        "参数顺序不限, 每个参数只能给出一次. 无法打开数据库或参数错误时以 2 退出.\n");
}

namespace {

bool isHelp(const QString& argument)
{
    return argument == QLatin1String("-h") || argument == QLatin1String("--help");
}

// The command word: the first argument that is neither an option nor an
// option's value; -1 when there is none.
qsizetype commandIndex(const QStringList& arguments)
{
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (!argument.startsWith(QLatin1Char('-')))
            return i;
        if (kValueOptions.contains(argument))
            ++i;  // its value
    }
    return -1;
}

// An argument as an error message may repeat it: a database URL given in
// the wrong place, or as the value of a misspelt option, without its password.
QString shownArgument(const QString& argument)
{
    const qsizetype eq = argument.indexOf(QLatin1Char('='));
    if (argument.startsWith(QLatin1Char('-')) && eq > 0)
        return argument.left(eq + 1) + host::redactedUrl(argument.mid(eq + 1));
    return host::redactedUrl(argument);
}

}  // namespace

bool isConsoleCommand(const QStringList& arguments)
{
    if (std::any_of(arguments.begin(), arguments.end(), isHelp))
        return true;
    const qsizetype command = commandIndex(arguments);
    static const QStringList commands = {QStringLiteral("check"), QStringLiteral("level"), QStringLiteral("rights"),
                                         QStringLiteral("who"), QStringLiteral("matrix"),
                                         QStringLiteral("journal"), QStringLiteral("upgrade")};
    return command >= 0 && commands.contains(arguments.at(command));
}

std::optional<QString> loginPassword(const Options& options)
{
    if (options.password)
        return options.password;
    if (qEnvironmentVariableIsSet(kPasswordVariable))
        return qEnvironmentVariable(kPasswordVariable);
    return std::nullopt;
}

void forgetPasswordVariable()
{
    // unsetenv only takes the entry out of the list: the bytes stay where the
    // process's environment block holds them, readable in /proc/PID/environ.
    if (char* value = std::getenv(kPasswordVariable))
        explicit_bzero(value, std::strlen(value));
    qunsetenv(kPasswordVariable);
}

std::optional<Options> parseOptions(const QStringList& arguments, QString& error)
{
    Options options;
    const qsizetype commandAt = commandIndex(arguments);
    if (commandAt >= 0) {
        const QString& command = arguments.at(commandAt);
        if (command == QLatin1String("check"))
            options.command = Command::Check;
        else if (command == QLatin1String("level"))
            options.command = Command::Level;
        else if (command == QLatin1String("rights"))
            options.command = Command::Rights;
        else if (command == QLatin1String("who"))
            options.command = Command::Who;
        else if (command == QLatin1String("matrix"))
            options.command = Command::Matrix;
        else if (command == QLatin1String("journal"))
            options.command = Command::Journal;
        else if (command == QLatin1String("upgrade"))
            options.command = Command::Upgrade;
        else {
            error = QStringLiteral("未知的命令: %1").arg(shownArgument(command));
            return std::nullopt;
        }
    }
    QStringList seen;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (i == commandAt)
            continue;
        QString name = arguments.at(i);
        if (isHelp(name)) {
            options.command = Command::Help;
            return options;
        }
        QString value;
        bool inlineValue = false;
        if (const qsizetype eq = name.indexOf(QLatin1Char('=')); name.startsWith(QLatin1String("--")) && eq > 0) {
            value = name.mid(eq + 1);
            name = name.left(eq);
            inlineValue = true;
        }
        if (!kValueOptions.contains(name)) {
            const QString shown = shownArgument(arguments.at(i));
            error = name.startsWith(QLatin1Char('-')) ? QStringLiteral("未知的参数: %1").arg(shown)
                                                      : QStringLiteral("多余的参数: %1").arg(shown);
            return std::nullopt;
        }
        if (seen.contains(name)) {
            error = QStringLiteral("参数 %1 只能给出一次").arg(name);
            return std::nullopt;
        }
        seen << name;
        if (!inlineValue) {
            if (i + 1 >= arguments.size()) {
                error = QStringLiteral("参数 %1 缺少值").arg(name);
                return std::nullopt;
            }
            value = arguments.at(++i);
        }
        if (name == QLatin1String("--db")) {
            if (value.trimmed().isEmpty()) {
                error = QStringLiteral("--db 不能为空 (不给 --db 时使用示例数据库)");
                return std::nullopt;
            }
            options.db = value;
        } else if (name == QLatin1String("--operator"))
            options.operatorId = value;
        else if (name == QLatin1String("--password"))
            options.password = value;
        else if (name == QLatin1String("--item"))
            options.item = value;
        else if (name == QLatin1String("--level"))
            options.level = value;
        else if (name == QLatin1String("--open"))
            options.openWindow = value;
        else if (name == QLatin1String("--show-menu"))
            options.showMenu = value;
        else if (name == QLatin1String("--since"))
            options.since = value;
    }

    if (options.command == Command::Check || options.command == Command::Level) {
        if (!options.operatorId) {
            error = QStringLiteral("缺少 --operator");
            return std::nullopt;
        }
        if (!options.item) {
            error = QStringLiteral("缺少 --item");
            return std::nullopt;
        }
    }
    if (options.command == Command::Rights && !options.operatorId) {
        error = QStringLiteral("缺少 --operator");
        return std::nullopt;
    }
    if (options.command == Command::Who && !options.item) {
        error = QStringLiteral("缺少 --item");
        return std::nullopt;
    }
    if (options.command == Command::Matrix && (options.operatorId || options.item)) {
        error = QStringLiteral("matrix 命令不带 --operator 和 --item");
        return std::nullopt;
    }
    if (options.command == Command::Journal && (options.operatorId || options.item)) {
        error = QStringLiteral("journal 命令不带 --operator 和 --item");
        return std::nullopt;
    }
    if (options.command == Command::Upgrade) {
        if (!options.db) {
            error = QStringLiteral("upgrade 命令需要 --db");
            return std::nullopt;
        }
        if (options.operatorId || options.item) {
            error = QStringLiteral("upgrade 命令不带 --operator 和 --item");
            return std::nullopt;
        }
    }
    if (options.since && journal::journalTime(*options.since).isEmpty()) {
        error = QStringLiteral("--since 不是 ISO 8601 时间 (例如 2026-12-08 或 2026-12-08T09:00:00+08:00): %1")
                    .arg(*options.since);
        return std::nullopt;
    }
    if (options.since && options.command != Command::Journal) {
        error = QStringLiteral("--since 只用于 journal 命令");
        return std::nullopt;
    }
    if (options.command == Command::Check && !options.level) {
        error = QStringLiteral("缺少 --level");
        return std::nullopt;
    }
    if (options.level && options.command != Command::Check && options.command != Command::Who) {
        error = QStringLiteral("--level 只用于 check 和 who 命令");
        return std::nullopt;
    }
    if (options.level && *options.level != QLatin1String("0") && *options.level != QLatin1String("1")
        && *options.level != QLatin1String("2")) {
        error = QStringLiteral("--level 必须是 0, 1 或 2: %1").arg(*options.level);
        return std::nullopt;
    }
    if (options.command != Command::Gui && options.password) {
        error = QStringLiteral("--password 只用于打开窗口");
        return std::nullopt;
    }
    if (options.command != Command::Gui && (options.openWindow || options.showMenu)) {
        error = QStringLiteral("--open 和 --show-menu 只用于打开窗口");
        return std::nullopt;
    }
    if (options.command == Command::Gui && options.item) {
        error = QStringLiteral("--item 只用于 check 和 level 命令");
        return std::nullopt;
    }
    return options;
}

}  // namespace app
