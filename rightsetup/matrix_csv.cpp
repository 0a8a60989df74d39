#include "rightsetup/matrix_csv.h"

#include "rights/review.h"

#include <QSet>
#include <QStringDecoder>

namespace rightsetup {

bool parseCsv(const QString& text, QList<QStringList>* records, QString* error)
{
    records->clear();
    QStringList record;
    QString field;
    bool quoted = false;       // inside a quoted field
    bool afterQuote = false;   // a quoted field was closed: only , or a line end may follow
    bool fieldStarted = false; // the record has a field (so that an empty line is no record)
    int line = 1;
    const auto endField = [&] {
        record << field;
        field.clear();
        afterQuote = false;
        fieldStarted = true;
    };
    const auto endRecord = [&] {
        if (fieldStarted || !field.isEmpty()) {
            endField();
            records->append(record);
        }
        record.clear();
        fieldStarted = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                    field += c;
                    ++i;
                } else {
                    quoted = false;
                    afterQuote = true;
                }
            } else {
                if (c == QLatin1Char('\n'))
                    ++line;
                field += c;
            }
            continue;
        }
        if (c == QLatin1Char(',')) {
            endField();
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            endRecord();
            ++line;
        } else if (afterQuote) {
            *error = QStringLiteral("第%1行: 引号括起的字段之后只能是逗号或换行.").arg(line);
            return false;
        } else if (c == QLatin1Char('"')) {
            if (!field.isEmpty()) {
                *error = QStringLiteral("第%1行: 未用引号括起的字段中有引号.").arg(line);
                return false;
            }
            quoted = true;
            fieldStarted = true;
        } else {
            field += c;
        }
    }
    if (quoted) {
        *error = QStringLiteral("第%1行: 引号没有结束.").arg(line);
        return false;
    }
    endRecord();
    return true;
}

bool readMatrixFile(const QByteArray& bytes, MatrixFile* file, QString* error)
{
    *file = {};
    QByteArray data = bytes;
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);
    QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decode(data);
    if (decode.hasError()) {
        *error = QStringLiteral("文件不是 UTF-8 编码的文本.");
        return false;
    }
    QList<QStringList> records;
    if (!parseCsv(text, &records, error))
        return false;
    if (records.isEmpty()) {
        *error = QStringLiteral("文件是空的.");
        return false;
    }
    const QStringList header = records.first();
    if (header.size() < 2 || header.at(0) != QLatin1String("group_id") || header.at(1) != QLatin1String("group_name")) {
        *error = QStringLiteral("第1行应为表头: group_id,group_name, 然后是各模块项编号.");
        return false;
    }
    QSet<QString> items;
    for (qsizetype c = 2; c < header.size(); ++c) {
        const QString item = header.at(c);
        if (item.isEmpty()) {
            *error = QStringLiteral("第1行第%1列: 模块项编号为空.").arg(c + 1);
            return false;
        }
        if (items.contains(item)) {
            *error = QStringLiteral("第1行: 模块项 %1 出现了两次.").arg(item);
            return false;
        }
        items.insert(item);
        file->items << item;
    }
    QSet<QString> groups;
    for (qsizetype r = 1; r < records.size(); ++r) {
        const QStringList& record = records.at(r);
        // Records are counted as lines; a name holding a line break makes them differ.
        const qsizetype number = r + 1;
        if (record.size() != header.size()) {
            *error = QStringLiteral("第%1条记录有 %2 个字段, 表头有 %3 个.").arg(number).arg(record.size()).arg(header.size());
            return false;
        }
        const QString group = record.at(0);
        if (group.isEmpty()) {
            *error = QStringLiteral("第%1条记录: 组编号为空.").arg(number);
            return false;
        }
        if (groups.contains(group)) {
            *error = QStringLiteral("第%1条记录: 操作组 %2 出现了两次.").arg(number).arg(group);
            return false;
        }
        groups.insert(group);
        file->groups << group;
        for (qsizetype c = 2; c < record.size(); ++c)
            file->cells.insert({group, header.at(c)}, record.at(c));
    }
    return true;
}

bool importChanges(const MatrixFile& file, const rights::Matrix& current, MatrixImport* result, QString* error)
{
    *result = {};
    QStringList groups, items;
    for (const QString& group : file.groups)
        (current.groupNames.contains(group) ? groups : result->unknownGroups) << group;
    for (const QString& item : file.items)
        (current.itemNames.contains(item) ? items : result->unknownItems) << item;

    static const QStringList levels = {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2")};
    RightCells after;
    for (const QString& group : std::as_const(groups)) {
        for (const QString& item : std::as_const(items)) {
            const QPair<QString, QString> key{group, item};
            const QString value = file.cells.value(key);
            const auto stored = current.cells.constFind(key);
            const bool isStored = stored != current.cells.cend();
            if (value.isEmpty()) {
                if (isStored && stored.value().isEmpty())
                    after.insert(key, QString());  // an empty level: left alone
                continue;
            }
            if (!levels.contains(value) && !(isStored && stored.value() == value)) {
                *error = QStringLiteral("操作组 %1, 模块项 %2: 级别 \"%3\" 无效 (只能为空, 0, 1 或 2).")
                             .arg(group, item, value);
                return false;
            }
            after.insert(key, value);
        }
    }
    result->changes = cellChanges(current.cells, after, groups, items);
    return true;
}

}  // namespace rightsetup
