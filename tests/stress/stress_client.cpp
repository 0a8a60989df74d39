// One stress client: its own connection and operator (S<n>), random
// administration operations on the shared pool for --seconds, every one
// recorded as a JSON line in --out (see stress_record.h).
//
//   stress_client --url URL --client N --seconds S --seed X --out FILE

#include "host/functions.h"
#include "journal_core/journal.h"
#include "host/messages.h"
#include "host/operation.h"
#include "host/transaction.h"
#include "common/administration_guard.h"
#include "journal/revert.h"
#include "rights/administrators.h"
#include "rightsetup/rights_writer.h"
#include "tests/stress/stress_data.h"
#include "tests/stress/stress_record.h"
#include "tests/stress/window_operations.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <cstdio>

namespace {

using host::Transaction;
using stress::OperationRecord;
using stress::RowChange;

// Answers every question with 否 (取消 where there is no 否) and keeps the
// texts shown during the current operation.
class CountingMessages : public host::MessageService {
public:
    host::Answer show(const host::MessageBoxRequest& request) override
    {
        texts << request.text;
        switch (request.buttons) {
        case host::Buttons::Ok: return host::Answer::Ok;
        case host::Buttons::YesNo: return host::Answer::No;
        case host::Buttons::YesNoCancel: return host::Answer::No;
        case host::Buttons::OkCancel:
        case host::Buttons::RetryCancel: return host::Answer::Cancel;
        }
        return host::Answer::Cancel;
    }
    QStringList texts;
};

QJsonObject powerRow(const QString& group, const QString& item, const QString& level)
{
    return {{"group_id", group}, {"m_item_code", item}, {"group_right", level}};
}

QJsonObject memberRow(const QString& user, const QString& group)
{
    return {{"user_code", user}, {"group_code", group}};
}

class Client {
public:
    Client(int number, quint64 seed) : number_(number), random_(seed) {}

    OperationRecord run(int sequence)
    {
        OperationRecord record;
        record.client = number_;
        record.sequence = sequence;
        messages_.texts.clear();
        record.startNs = stress::nowNs();
        const int pick = int(random_.bounded(100));
        if (pick < 25)
            rightsSave(record, false);
        else if (pick < 33)
            rightsSave(record, true);
        else if (pick < 43)
            rename(record);
        else if (pick < 58)
            membership(record, Membership::Add);
        else if (pick < 72)
            membership(record, Membership::Delete);
        else if (pick < 84)
            membership(record, Membership::Move);
        else
            revert(record);
        record.endNs = stress::nowNs();
        record.boxes = int(messages_.texts.size());
        if (!record.committed && !record.skipped) {
            if (record.reason.isEmpty() && !messages_.texts.isEmpty())
                record.reason = messages_.texts.join(QLatin1Char('\n'));
            record.refusal = stress::classify(record.reason);
        }
        return record;
    }

    CountingMessages& messages() { return messages_; }

private:
    template <typename T>
    const T& any(const QList<T>& list) { return list.at(qsizetype(random_.bounded(quint32(list.size())))); }

    bool failedRead(OperationRecord& record)
    {
        record.reason = host::sqlca.sqlerrtext;
        return true;
    }

    void done(OperationRecord& record, const stress::WriteOutcome& outcome)
    {
        record.committed = outcome.committed;
        record.reason = outcome.reason;
    }

    // 权限矩阵's save: a group's rows read, one or two cells changed (or
    // only deleted), written by the module's rights writer.
    void rightsSave(OperationRecord& record, bool deletesOnly)
    {
        record.kind = deletesOnly ? "rights delete" : "rights save";
        const QString group = any(stress::poolGroups());
        QList<QVariantList> rows;
        if (host::sqlca.selectRows("select m_item_code , group_right from s_group_power where group_id = ?", {group},
                                   &rows)
            != Transaction::kSuccess) {
            failedRead(record);
            return;
        }
        QMap<QString, QString> levels;
        QJsonObject read;
        for (const QVariantList& row : std::as_const(rows)) {
            levels.insert(row.value(0).toString(), row.value(1).toString());
            read.insert(row.value(0).toString(), row.value(1).toString());
        }
        record.read = {{"group_id", group}, {"levels", read}};
        QStringList items = stress::poolItems();
        if (deletesOnly) {
            QStringList present;
            for (const QString& item : items) {
                if (levels.contains(item))
                    present << item;
            }
            items = present;
        }
        QList<rightsetup::RightChange> changes;
        const int wanted = 1 + int(random_.bounded(2));
        while (!items.isEmpty() && changes.size() < wanted) {
            const QString item = items.takeAt(qsizetype(random_.bounded(quint32(items.size()))));
            rightsetup::RightChange change{group, item, std::nullopt, std::nullopt};
            if (levels.contains(item))
                change.before = levels.value(item);
            if (!deletesOnly && !(change.before && random_.bounded(5) == 0)) {
                QStringList choices{"0", "1", "2"};
                choices.removeAll(change.before.value_or(QString()));
                change.after = any(choices);
            }
            changes << change;
            record.changes << RowChange{"s_group_power",
                                        !change.before ? "insert" : change.after ? "update" : "delete",
                                        change.before ? QJsonValue(powerRow(group, item, *change.before)) : QJsonValue(),
                                        change.after ? QJsonValue(powerRow(group, item, *change.after)) : QJsonValue()};
        }
        if (changes.isEmpty()) {
            record.skipped = true;
            return;
        }
        record.committed = rightsetup::writeChanges(changes) == rightsetup::WriteResult::Written;
    }

    void rename(OperationRecord& record)
    {
        record.kind = "group rename";
        const QString group = any(stress::poolGroups());
        QVariantList row;
        if (host::sqlca.selectInto("select group_name from s_group where group_id = ?", {group}, row)
            != Transaction::kSuccess) {
            failedRead(record);
            return;
        }
        const QString read = row.value(0).toString();
        const QString name = QStringLiteral("组%1-%2").arg(stress::clientOperator(number_)).arg(record.sequence);
        record.read = {{"group_id", group}, {"group_name", read}};
        record.changes << RowChange{"s_group", "update", QJsonObject{{"group_id", group}, {"group_name", read}},
                                    QJsonObject{{"group_id", group}, {"group_name", name}}};
        done(record, stress::renameGroup(group, read, name));
    }

    // The groups of one operator, as the manager's list shows them.
    bool groupsOf(OperationRecord& record, const QString& user, QStringList* groups)
    {
        QList<QVariantList> rows;
        if (host::sqlca.selectRows("select group_code from s_user_group where user_code = ?", {user}, &rows)
            != Transaction::kSuccess)
            return !failedRead(record);
        QJsonArray read;
        for (const QVariantList& row : std::as_const(rows)) {
            *groups << row.value(0).toString();
            read.append(row.value(0).toString());
        }
        record.read = {{"user_code", user}, {"groups", read}};
        return true;
    }

    QStringList poolGroupsWithout(const QStringList& groups)
    {
        QStringList others;
        for (const QString& group : stress::poolGroups()) {
            if (!groups.contains(group))
                others << group;
        }
        return others;
    }

    enum class Membership { Add, Delete, Move };

    // 增加操作员, 删除 of a membership, or one operator moved to another
    // group: chosen from the operator's groups as the manager's list shows them.
    void membership(OperationRecord& record, Membership what)
    {
        record.kind = what == Membership::Add      ? "membership add"
                      : what == Membership::Delete ? "membership delete"
                                                   : "operator move";
        const QString user = any(stress::poolOperators());
        QStringList groups;
        if (!groupsOf(record, user, &groups))
            return;
        const QStringList others = poolGroupsWithout(groups);
        if ((what != Membership::Add && groups.isEmpty()) || (what != Membership::Delete && others.isEmpty())) {
            record.skipped = true;
            return;
        }
        const QString from = what == Membership::Add ? QString() : any(groups);
        const QString to = what == Membership::Delete ? QString() : any(others);
        switch (what) {
        case Membership::Add:
            record.changes << RowChange{"s_user_group", "insert", QJsonValue(), memberRow(user, to)};
            done(record, stress::addMember(user, to));
            break;
        case Membership::Delete:
            record.changes << RowChange{"s_user_group", "delete", memberRow(user, from), QJsonValue()};
            done(record, stress::removeMember(user, from));
            break;
        case Membership::Move:
            record.changes << RowChange{"s_user_group", "update", memberRow(user, from), memberRow(user, to)};
            done(record, stress::moveMember(user, from, to));
            break;
        }
    }

    // 撤销 of one of the latest journal entries, any client's, as
    // 权限变更记录 does it.
    void revert(OperationRecord& record)
    {
        record.kind = "journal revert";
        QList<QVariantList> rows;
        if (host::sqlca.selectRows("select id , table_name , action , before_value , after_value from "
                                   "s_right_journal order by id desc limit 20",
                                   {}, &rows)
            != Transaction::kSuccess) {
            failedRead(record);
            return;
        }
        if (rows.isEmpty()) {
            record.skipped = true;
            return;
        }
        const QVariantList entry = any(rows);
        const qint64 id = entry.value(0).toLongLong();
        const QString action = entry.value(2).toString();
        const auto parse = [](const QVariant& text) -> QJsonValue {
            if (text.isNull() || text.toString().isEmpty())
                return QJsonValue();
            return QJsonDocument::fromJson(text.toString().toUtf8()).object();
        };
        record.read = {{"entry", QString::number(id)}, {"table", entry.value(1).toString()},
                       {"action", action}, {"after", parse(entry.value(4))}};
        const QString undo = action == "insert" ? "delete" : action == "delete" ? "insert" : "update";
        record.changes << RowChange{entry.value(1).toString(), undo, parse(entry.value(4)), parse(entry.value(3))};

        common::AdministrationGuard guard;
        host::Operation operation;
        journal::RevertOutcome outcome;
        if (journal::revertChanges(host::sqlca, {id}, &outcome) != Transaction::kSuccess) {
            operation.rollback();
            record.reason = outcome.reason.isEmpty() ? operation.error() : outcome.reason;
            return;
        }
        if (!guard.allows(false)) {
            operation.rollback();
            record.reason = guard.reason();
            return;
        }
        if (operation.commit() != Transaction::kSuccess) {
            record.reason = operation.error();
            return;
        }
        record.committed = true;
    }

    int number_;
    QRandomGenerator random_;
    CountingMessages messages_;
};

// The next operation starts in a later millisecond than this one ended, so
// that the journal's times (milliseconds) attribute every entry to one.
void nextMillisecond(qint64 endNs)
{
    while (stress::nowNs() / 1000000 <= endNs / 1000000) {
    }
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption urlOption("url", "database", "URL");
    const QCommandLineOption clientOption("client", "client number (1-based)", "N");
    const QCommandLineOption secondsOption("seconds", "run time", "S", "60");
    const QCommandLineOption seedOption("seed", "random seed", "X", "1");
    const QCommandLineOption outOption("out", "record file", "FILE");
    parser.addOptions({urlOption, clientOption, secondsOption, seedOption, outOption});
    parser.process(app);
    const int number = parser.value(clientOption).toInt();
    const double seconds = parser.value(secondsOption).toDouble();

    QFile out(parser.value(outOption));
    if (number < 1 || !out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "stress_client: needs --client N and a writable --out file\n");
        return 2;
    }
    host::setLogFile(parser.value(outOption) + QStringLiteral(".log"));
    if (!host::sqlca.connect(parser.value(urlOption))) {
        std::fprintf(stderr, "stress_client %d: %s\n", number, qPrintable(host::sqlca.sqlerrtext));
        return 2;
    }
    host::sqlca.logChanges = false;
    host::gs_user_id = stress::clientOperator(number);
    rights::setAdministrationItems(stress::administrationItems());

    Client client(number, parser.value(seedOption).toULongLong() * 1000003ULL + quint64(number));
    host::setMessageService(&client.messages());
    const qint64 stopNs = stress::nowNs() + qint64(seconds * 1e9);
    int sequence = 0;
    while (stress::nowNs() < stopNs) {
        const OperationRecord record = client.run(++sequence);
        out.write(QJsonDocument(record.toJson()).toJson(QJsonDocument::Compact) + '\n');
        out.flush();
        nextMillisecond(record.endNs);
    }
    host::setMessageService(nullptr);
    host::sqlca.disconnect();
    return 0;
}
