#include "host/journal.h"

#include "host/functions.h"
#include "host/journal_rows.h"
#include "host/transaction.h"

#include <QDateTime>
#include <QHash>
#include <QJsonDocument>
#include <QJsonValue>
#include <QRegularExpression>
#include <QSqlRecord>
#include <algorithm>

namespace host {

using namespace journal_rows;

namespace {

constexpr qsizetype kKeysPerRead = 100;
constexpr qsizetype kEntriesPerInsert = 50;

// Marks the characters of `text` that lie outside quotes and parentheses.
QList<bool> topLevel(const QString& text)
{
    QList<bool> top(text.size(), false);
    int depth = 0;
    QChar quote;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();  // a doubled quote closes and opens again
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
            continue;
        }
        if (c == QLatin1Char('(')) {
            ++depth;
            continue;
        }
        if (c == QLatin1Char(')')) {
            --depth;
            continue;
        }
        top[i] = depth == 0;
    }
    return top;
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// The position of `word` as a keyword outside quotes and parentheses, or -1.
qsizetype findKeyword(const QString& text, const QList<bool>& top, const QString& word, qsizetype from = 0)
{
    for (qsizetype i = text.indexOf(word, from, Qt::CaseInsensitive); i >= 0;
         i = text.indexOf(word, i + 1, Qt::CaseInsensitive)) {
        const qsizetype end = i + word.size();
        if (!top.value(i))
            continue;
        if (i > 0 && isWordChar(text.at(i - 1)))
            continue;
        if (end < text.size() && isWordChar(text.at(end)))
            continue;
        return i;
    }
    return -1;
}

// Splits at the commas outside quotes and parentheses; each part trimmed.
QStringList splitTopLevel(const QString& text)
{
    const QList<bool> top = topLevel(text);
    QStringList parts;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (top.at(i) && text.at(i) == QLatin1Char(',')) {
            parts << text.mid(start, i - start).trimmed();
            start = i + 1;
        }
    }
    parts << text.mid(start).trimmed();
    return parts;
}

int countPlaceholders(const QString& text)
{
    int count = 0;
    QChar quote;
    for (const QChar c : text) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else if (c == QLatin1Char('?')) {
            ++count;
        }
    }
    return count;
}

// The closing parenthesis of the one at `open`, or -1.
qsizetype matchingParen(const QString& text, qsizetype open)
{
    int depth = 0;
    QChar quote;
    for (qsizetype i = open; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else if (c == QLatin1Char('(')) {
            ++depth;
        } else if (c == QLatin1Char(')') && --depth == 0) {
            return i;
        }
    }
    return -1;
}

QString bareName(QString name)
{
    name = name.trimmed();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0)
        name = name.mid(dot + 1);
    if (name.size() >= 2 && name.startsWith(QLatin1Char('"')) && name.endsWith(QLatin1Char('"')))
        name = name.mid(1, name.size() - 2);
    return name.toLower();
}

// The value an assignment's expression stands for: a bound value, a quoted
// literal, a number or null. False when it is anything else.
bool constantValue(const QString& expression, const QVariantList& params, int paramIndex, QVariant* value)
{
    const QString e = expression.trimmed();
    if (e == QLatin1String("?")) {
        if (paramIndex < 0 || paramIndex >= params.size())
            return false;
        const QVariant& v = params.at(paramIndex);
        *value = v.isNull() ? QVariant() : QVariant(v.toString());
        return true;
    }
    if (e.size() >= 2 && e.startsWith(QLatin1Char('\'')) && e.endsWith(QLatin1Char('\''))) {
        QString inner = e.mid(1, e.size() - 2);
        *value = inner.replace(QLatin1String("''"), QLatin1String("'"));
        return true;
    }
    static const QRegularExpression number(QStringLiteral("^-?\\d+(\\.\\d+)?$"));
    if (number.match(e).hasMatch()) {
        *value = e;
        return true;
    }
    if (e.compare(QLatin1String("null"), Qt::CaseInsensitive) == 0) {
        *value = QVariant();
        return true;
    }
    return false;
}

// "col = col": the column keeps its value.
bool keepsValue(const QString& column, const QString& expression)
{
    return bareName(expression) == column;
}

// The bound value index of each assignment ("?" expressions), -1 for others.
QList<int> paramIndexes(const QList<std::pair<QString, QString>>& assignments)
{
    QList<int> indexes;
    int next = 0;
    for (const auto& [column, expression] : assignments) {
        indexes << (expression.trimmed() == QLatin1String("?") ? next : -1);
        next += countPlaceholders(expression);
    }
    return indexes;
}

QString nowText()
{
    return QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss.zzz'Z'"));
}

// Sets a flag for as long as it lives.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag), saved_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = saved_; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
    bool saved_;
};

}  // namespace

const QList<JournaledTable>& journaledTables()
{
    static const QList<JournaledTable> tables = {
        {QStringLiteral("s_dept"), {QStringLiteral("dept_id")}},
        {QStringLiteral("s_employee"), {QStringLiteral("id")}},
        {QStringLiteral("s_user"), {QStringLiteral("id")}},
        {QStringLiteral("s_group"), {QStringLiteral("group_id")}},
        {QStringLiteral("s_user_group"), {QStringLiteral("user_code"), QStringLiteral("group_code")}},
        {QStringLiteral("s_group_power"), {QStringLiteral("group_id"), QStringLiteral("m_item_code")}},
    };
    return tables;
}

const JournaledTable* journaledTable(const QString& name)
{
    const QString bare = bareName(name);
    for (const JournaledTable& table : journaledTables())
        if (table.name == bare)
            return &table;
    return nullptr;
}

bool isSecretColumn(const QString& column)
{
    return column.contains(QLatin1String("password"), Qt::CaseInsensitive);
}

QString actionName(JournalPlan::Action action)
{
    switch (action) {
    case JournalPlan::Action::Insert:
        return QStringLiteral("insert");
    case JournalPlan::Action::Update:
        return QStringLiteral("update");
    case JournalPlan::Action::Delete:
        break;
    }
    return QStringLiteral("delete");
}

std::optional<JournalPlan> journalPlan(const QString& sql)
{
    static const QRegularExpression head(
        QStringLiteral("^\\s*(insert\\s+into|update|delete\\s+from)\\s+((?:\"[^\"]+\"|\\w+)(?:\\.(?:\"[^\"]+\"|\\w+))?)"),
        QRegularExpression::CaseInsensitiveOption);
    const auto match = head.match(sql);
    if (!match.hasMatch()) {
        // A write behind a WITH clause cannot be followed: refused, not let
        // through unrecorded.
        static const QRegularExpression with(QStringLiteral("^\\s*with\\b"), QRegularExpression::CaseInsensitiveOption);
        static const QRegularExpression write(
            QStringLiteral("\\b(?:insert\\s+into|update|delete\\s+from)\\s+(?:\\w+\\.)?\"?(\\w+)"),
            QRegularExpression::CaseInsensitiveOption);
        if (!with.match(sql).hasMatch())
            return std::nullopt;
        for (auto it = write.globalMatch(sql); it.hasNext();) {
            if (const JournaledTable* table = journaledTable(it.next().captured(1))) {
                JournalPlan plan;
                plan.table = table->name;
                plan.tableText = table->name;
                plan.error = QStringLiteral("变更记录无法跟踪该语句, 未执行: %1").arg(sql.simplified());
                return plan;
            }
        }
        return std::nullopt;
    }
    const JournaledTable* table = journaledTable(match.captured(2));
    if (!table)
        return std::nullopt;
    JournalPlan plan;
    plan.table = table->name;
    plan.tableText = match.captured(2);
    const QString verb = match.captured(1).toLower();
    QString rest = sql.mid(match.capturedEnd(0)).trimmed();
    if (rest.endsWith(QLatin1Char(';')))
        rest.chop(1);
    const auto unsupported = [&plan, &sql] {
        plan.error = QStringLiteral("变更记录无法跟踪该语句, 未执行: %1").arg(sql.simplified());
        return plan;
    };

    if (verb.startsWith(QLatin1String("insert"))) {
        plan.action = JournalPlan::Action::Insert;
        if (!rest.startsWith(QLatin1Char('(')))
            return unsupported();
        const qsizetype closeNames = matchingParen(rest, 0);
        if (closeNames < 0)
            return unsupported();
        const QString names = rest.mid(1, closeNames - 1);
        QString tail = rest.mid(closeNames + 1).trimmed();
        static const QRegularExpression values(QStringLiteral("^values\\s*\\("),
                                               QRegularExpression::CaseInsensitiveOption);
        const auto valuesMatch = values.match(tail);
        if (!valuesMatch.hasMatch())
            return unsupported();
        const qsizetype open = valuesMatch.capturedEnd(0) - 1;
        const qsizetype close = matchingParen(tail, open);
        if (close < 0 || !tail.mid(close + 1).trimmed().isEmpty())
            return unsupported();
        const QStringList columns = splitTopLevel(names);
        const QStringList exprs = splitTopLevel(tail.mid(open + 1, close - open - 1));
        if (columns.size() != exprs.size())
            return unsupported();
        for (int i = 0; i < columns.size(); ++i)
            plan.assignments.append({bareName(columns.at(i)), exprs.at(i)});
        for (const QString& key : table->keys) {
            const auto found = std::find_if(plan.assignments.cbegin(), plan.assignments.cend(),
                                            [&key](const auto& a) { return a.first == key; });
            QVariant ignored;
            if (found == plan.assignments.cend() || !constantValue(found->second, {QVariant()}, 0, &ignored))
                return unsupported();
        }
        return plan;
    }

    const QList<bool> top = topLevel(rest);
    for (const QString& word : {QStringLiteral("from"), QStringLiteral("using"), QStringLiteral("returning"),
                                QStringLiteral("order"), QStringLiteral("limit")}) {
        if (findKeyword(rest, top, word) >= 0)
            return unsupported();
    }
    const qsizetype where = findKeyword(rest, top, QStringLiteral("where"));
    if (verb == QLatin1String("update")) {
        plan.action = JournalPlan::Action::Update;
        const qsizetype set = findKeyword(rest, top, QStringLiteral("set"));
        if (set != 0)
            return unsupported();
        const QString sets = rest.mid(3, where < 0 ? -1 : where - 3);
        for (const QString& assignment : splitTopLevel(sets)) {
            const qsizetype eq = assignment.indexOf(QLatin1Char('='));
            if (eq <= 0)
                return unsupported();
            plan.assignments.append({bareName(assignment.left(eq)), assignment.mid(eq + 1).trimmed()});
        }
        plan.whereFirstParam = countPlaceholders(sets);
        for (const auto& [column, expression] : plan.assignments) {
            QVariant ignored;
            if (table->keys.contains(column) && !keepsValue(column, expression)
                && !constantValue(expression, {QVariant()}, 0, &ignored))
                return unsupported();
        }
    } else {
        plan.action = JournalPlan::Action::Delete;
        if (where != 0 && !rest.isEmpty())
            return unsupported();
    }
    if (where >= 0)
        plan.where = rest.mid(where + 5).trimmed();
    return plan;
}

const JournalPlan* Transaction::journalPlanOf(const QString& sql)
{
    if (journaling_ || !journalChanges || sql.isEmpty())
        return nullptr;
    // Only insert, update and delete (maybe behind WITH) can be journaled: a
    // select costs one character comparison.
    qsizetype i = 0;
    while (i < sql.size() && sql.at(i).isSpace())
        ++i;
    const QChar first = i < sql.size() ? sql.at(i).toLower() : QChar();
    if (first != QLatin1Char('i') && first != QLatin1Char('u') && first != QLatin1Char('d') && first != QLatin1Char('w'))
        return nullptr;
    auto found = journalPlans_.constFind(sql);
    if (found == journalPlans_.constEnd()) {
        const std::optional<JournalPlan> plan = journalPlan(sql);
        found = journalPlans_.insert(sql, plan ? std::make_shared<const JournalPlan>(*plan) : nullptr);
    }
    return found->get();
}

bool Transaction::journalAvailable()
{
    if (journalState_ == JournalState::Unknown) {
        if (!isConnected())
            return false;
        QSqlQuery probe(database());
        const bool prepared =
            probe.prepare(dialect_ == Dialect::Postgres
                              ? QStringLiteral("select to_regclass(?) is not null")
                              : QStringLiteral("select count(*) from sqlite_master where type = 'table' and name = ?"));
        probe.addBindValue(kJournalTable);
        if (!prepared || !probe.exec() || !probe.next())
            return false;  // asked again next time
        const QVariant answer = probe.value(0);
        probe.finish();
        journalState_ = (dialect_ == Dialect::Postgres ? answer.toBool() : answer.toLongLong() > 0)
                            ? JournalState::On
                            : JournalState::Off;
    }
    return journalState_ == JournalState::On;
}

bool Transaction::runJournaled(QSqlQuery& query, const QVariantList& params, const JournalPlan& plan)
{
    if (readOnly_ || !journalAvailable())
        return recordExec(query, query.exec());
    if (!plan.error.isEmpty()) {
        query.finish();
        recordError(plan.error);
        return false;
    }
    if (!beginWrite())
        return false;
    const JournaledTable* table = journaledTable(plan.table);
    const auto fail = [this](const QString& why) {
        recordError(QStringLiteral("变更记录失败: ") + why);
        return false;
    };

    Rows before;
    {
        FlagScope journaling(journaling_);
        if (plan.action != JournalPlan::Action::Insert) {
            QString sql = QStringLiteral("select * from ") + plan.tableText;
            if (!plan.where.isEmpty())
                sql += QStringLiteral(" where ") + plan.where;
            if (dialect_ == Dialect::Postgres)
                sql += QStringLiteral(" for update");
            if (!selectRowsOf(*this, sql, params.mid(plan.whereFirstParam), &before))
                return false;
        }
    }

    // The statement itself, logged as any other.
    if (!recordExec(query, query.exec()))
        return false;
    const long affected = sqlnrows;

    FlagScope journaling(journaling_);
    struct RowChange {
        QVariantList key;  // the key values to read the row after
        const QVariantList* before = nullptr;
    };
    QList<RowChange> changes;
    const QList<int> indexes = paramIndexes(plan.assignments);
    if (plan.action == JournalPlan::Action::Insert) {
        RowChange change;
        for (const QString& key : table->keys) {
            for (int a = 0; a < plan.assignments.size(); ++a) {
                if (plan.assignments.at(a).first != key)
                    continue;
                QVariant value;
                if (!constantValue(plan.assignments.at(a).second, params, indexes.at(a), &value))
                    return fail(QStringLiteral("键值无法确定"));
                change.key << value;
            }
        }
        if (affected > 0)
            changes << change;
    } else {
        // Another client may not add or change rows under the statement
        // between the read and the write (the rows read are locked).
        if (affected != before.values.size())
            return fail(QStringLiteral("语句影响了 %1 行, 读取到 %2 行, 请重试").arg(affected).arg(before.values.size()));
        for (const QVariantList& row : std::as_const(before.values)) {
            RowChange change;
            change.before = &row;
            for (const QString& key : table->keys) {
                QVariant value = row.value(before.columns.indexOf(key));
                if (plan.action == JournalPlan::Action::Update) {
                    for (int a = 0; a < plan.assignments.size(); ++a) {
                        if (plan.assignments.at(a).first == key && !keepsValue(key, plan.assignments.at(a).second)
                            && !constantValue(plan.assignments.at(a).second, params, indexes.at(a), &value))
                            return fail(QStringLiteral("键值无法确定"));
                    }
                }
                change.key << value;
            }
            changes << change;
        }
    }

    // The rows after, read by key in chunks: a statement that changed many
    // rows costs a few reads, not one per row.
    QHash<QStringList, QVariantList> afterRows;
    QStringList afterColumns;
    if (plan.action != JournalPlan::Action::Delete) {
        for (qsizetype start = 0; start < changes.size(); start += kKeysPerRead) {
            const qsizetype n = std::min<qsizetype>(kKeysPerRead, changes.size() - start);
            QStringList conditions;
            QVariantList keys;
            for (qsizetype i = start; i < start + n; ++i) {
                conditions << QLatin1Char('(') + keyCondition(table->keys) + QLatin1Char(')');
                keys << changes.at(i).key;
            }
            QString sql = QStringLiteral("select * from ") + plan.tableText + QStringLiteral(" where ") +
                          conditions.join(QStringLiteral(" or "));
            if (dialect_ == Dialect::Postgres)
                sql += QStringLiteral(" for update");
            Rows read;
            if (!selectRowsOf(*this, sql, keys, &read))
                return false;
            afterColumns = read.columns;
            for (const QVariantList& row : std::as_const(read.values)) {
                QStringList key;
                for (const QString& column : table->keys)
                    key << row.value(read.columns.indexOf(column)).toString();
                afterRows.insert(key, row);
            }
        }
    }

    QVariantList values;  // of the journal rows not yet written
    const QString who = journalOperator.isEmpty() ? gs_user_id : journalOperator;
    const QString now = nowText();
    const auto flush = [this, &values] {
        if (values.isEmpty())
            return true;
        QStringList rows;
        for (qsizetype i = 0; i < values.size(); i += 7)
            rows << QStringLiteral("( ? , ? , ? , ? , ? , ? , ? )");
        QSqlQuery* statement = prepared(QStringLiteral("insert into s_right_journal ( changed_at , operator_id , "
                                                       "table_name , row_key , action , before_value , after_value ) "
                                                       "values ") +
                                        rows.join(QStringLiteral(" , ")));
        const bool written = statement && run(*statement, values);
        values.clear();
        return written;
    };
    for (const RowChange& change : std::as_const(changes)) {
        const QVariantList* afterRow = nullptr;
        if (plan.action != JournalPlan::Action::Delete) {
            QStringList key;
            for (const QVariant& v : change.key)
                key << v.toString();
            const auto found = afterRows.constFind(key);
            if (found == afterRows.constEnd())
                return fail(QStringLiteral("修改后的行未找到 (%1)").arg(plan.table));
            afterRow = &found.value();
        }
        if (change.before && afterRow && *change.before == *afterRow)
            continue;  // nothing of the row changed
        std::optional<QJsonObject> beforeObject, afterObject;
        if (change.before)
            beforeObject = rowObject(before.columns, *change.before);
        if (afterRow)
            afterObject = rowObject(afterColumns, *afterRow, change.before);
        const QJsonObject key = afterRow ? keyObject(*table, afterColumns, *afterRow)
                                         : keyObject(*table, before.columns, *change.before);
        values << now << who << plan.table << jsonText(key) << actionName(plan.action) << jsonText(beforeObject)
               << jsonText(afterObject);
        if (values.size() >= 7 * kEntriesPerInsert && !flush())
            return fail(sqlerrtext);
    }
    if (!flush())
        return fail(sqlerrtext);
    recordSuccess(affected);
    return true;
}

}  // namespace host
