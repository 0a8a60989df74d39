#include "rightsetup/matrix_csv.h"

#include "host/csv.h"
#include "rights/review.h"

#include <QIODevice>
#include <QSet>
#include <QStringDecoder>

namespace rightsetup {

namespace {

// The characters that end a run of an unquoted field's text.
bool plainEnds(QChar c)
{
    return c == QLatin1Char(',') || c == QLatin1Char('"') || c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

}  // namespace

void CsvReader::endField()
{
    record_ << field_;
    field_.clear();
    afterQuote_ = false;
    fieldStarted_ = true;
}

bool CsvReader::endRecord(const RecordHandler& onRecord)
{
    bool go = true;
    if (fieldStarted_ || !field_.isEmpty()) {
        endField();
        go = onRecord(record_);
    }
    record_.clear();
    fieldStarted_ = false;
    return go;
}

bool CsvReader::feed(QStringView text, const RecordHandler& onRecord, QString* error)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (skipLf_) {
            skipLf_ = false;
            if (c == QLatin1Char('\n'))
                continue;
        }
        if (quoteInQuoted_) {
            quoteInQuoted_ = false;
            if (c == QLatin1Char('"')) {
                field_ += c;
                continue;
            }
            quoted_ = false;
            afterQuote_ = true;
        }
        if (quoted_) {
            if (c == QLatin1Char('"')) {
                quoteInQuoted_ = true;
            } else {
                // The run up to the next quote, in one append.
                qsizetype end = i;
                while (end < text.size() && text.at(end) != QLatin1Char('"')) {
                    if (text.at(end) == QLatin1Char('\n'))
                        ++line_;
                    ++end;
                }
                field_ += text.sliced(i, end - i);
                i = end - 1;
            }
            continue;
        }
        if (c == QLatin1Char(',')) {
            endField();
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            skipLf_ = c == QLatin1Char('\r');
            if (!endRecord(onRecord))
                return false;
            ++line_;
        } else if (afterQuote_) {
            *error = QStringLiteral("第%1行: 引号括起的字段之后只能是逗号或换行.").arg(line_);
            return false;
        } else if (c == QLatin1Char('"')) {
            if (!field_.isEmpty()) {
                *error = QStringLiteral("第%1行: 未用引号括起的字段中有引号.").arg(line_);
                return false;
            }
            quoted_ = true;
            fieldStarted_ = true;
        } else {
            // The run up to the next comma, quote or line end, in one append.
            qsizetype end = i + 1;
            while (end < text.size() && !plainEnds(text.at(end)))
                ++end;
            field_ += text.sliced(i, end - i);
            i = end - 1;
        }
    }
    return true;
}

bool CsvReader::finish(const RecordHandler& onRecord, QString* error)
{
    if (quoteInQuoted_) {
        quoteInQuoted_ = false;
        quoted_ = false;
    }
    if (quoted_) {
        *error = QStringLiteral("第%1行: 引号没有结束.").arg(line_);
        return false;
    }
    return endRecord(onRecord);
}

bool parseCsv(const QString& text, QList<QStringList>* records, QString* error)
{
    records->clear();
    CsvReader reader;
    const auto keep = [records](const QStringList& record) {
        records->append(record);
        return true;
    };
    return reader.feed(text, keep, error) && reader.finish(keep, error);
}

namespace {

// Turns the records of a matrix file into the changes it makes, one record
// at a time, keeping nothing of a record once it is read.
class MatrixImporter {
public:
    MatrixImporter(const rights::Matrix& current, MatrixImport* result, QString* error)
        : current_(current), result_(result), error_(error)
    {
        for (qsizetype i = 0; i < current.groups.size(); ++i)
            groupIndex_.insert(current.groups.at(i), i);
        for (qsizetype i = 0; i < current.items.size(); ++i)
            itemIndex_.insert(current.items.at(i), i);
    }

    bool record(const QStringList& fields)
    {
        ++number_;
        return number_ == 1 ? header(fields) : row(fields);
    }

    bool finish()
    {
        if (number_ > 0)
            return true;
        *error_ = QStringLiteral("文件是空的.");
        return false;
    }

private:
    bool header(const QStringList& fields)
    {
        if (fields.size() < 2 || host::csvRestored(fields.at(0)) != QLatin1String("group_id") ||
            host::csvRestored(fields.at(1)) != QLatin1String("group_name")) {
            *error_ = QStringLiteral("第1行应为表头: group_id,group_name, 然后是各模块项编号.");
            return false;
        }
        columns_ = fields.size();
        // The header is in memory anyway: its codes are checked for repeats whether known or not.
        QSet<QString> seen;
        for (qsizetype c = 2; c < fields.size(); ++c) {
            const QString item = host::csvRestored(fields.at(c));
            if (item.isEmpty()) {
                *error_ = QStringLiteral("第1行第%1列: 模块项编号为空.").arg(c + 1);
                return false;
            }
            if (seen.contains(item)) {
                *error_ = QStringLiteral("第1行: 模块项 %1 出现了两次.").arg(item);
                return false;
            }
            seen.insert(item);
            const qsizetype index = itemIndex_.value(item, -1);
            columnItem_ << index;
            if (index < 0) {
                if (result_->unknownItems.size() < kUnknownListed)
                    result_->unknownItems << item;
                ++result_->unknownItemCount;
            }
        }
        return true;
    }

    bool row(const QStringList& fields)
    {
        // Records are counted as lines; a name holding a line break makes them differ.
        if (fields.size() != columns_) {
            *error_ = QStringLiteral("第%1条记录有 %2 个字段, 表头有 %3 个.").arg(number_).arg(fields.size()).arg(columns_);
            return false;
        }
        const QString group = host::csvRestored(fields.at(0));
        if (group.isEmpty()) {
            *error_ = QStringLiteral("第%1条记录: 组编号为空.").arg(number_);
            return false;
        }
        const qsizetype index = groupIndex_.value(group, -1);
        if (index < 0) {
            if (result_->unknownGroups.size() < kUnknownListed)
                result_->unknownGroups << group;
            ++result_->unknownGroupCount;
            return true;
        }
        if (seenGroups_.contains(index)) {
            *error_ = QStringLiteral("第%1条记录: 操作组 %2 出现了两次.").arg(number_).arg(group);
            return false;
        }
        seenGroups_.insert(index);
        for (qsizetype c = 2; c < fields.size(); ++c) {
            const qsizetype item = columnItem_.at(c - 2);
            if (item >= 0 && !cell(index, item, host::csvRestored(fields.at(c))))
                return false;
        }
        return true;
    }

    // The change one cell makes, if any. Group, item and level strings are
    // the database's own (shared), so that a change costs little memory.
    bool cell(qsizetype groupAt, qsizetype itemAt, const QString& value)
    {
        static const QStringList levels = {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2")};
        const QString& group = current_.groups.at(groupAt);
        const QString& item = current_.items.at(itemAt);
        const auto stored = current_.cells.constFind({group, item});
        const bool isStored = stored != current_.cells.cend();
        if (value.isEmpty()) {
            // An empty stored level is left alone: the file cannot tell it from no row.
            if (isStored && !stored.value().isEmpty())
                result_->changes.append({group, item, stored.value(), std::nullopt});
            return true;
        }
        if (isStored && stored.value() == value)
            return true;
        const qsizetype level = levels.indexOf(value);
        if (level < 0) {
            *error_ = QStringLiteral("操作组 %1, 模块项 %2: 级别 \"%3\" 无效 (只能为空, 0, 1 或 2).")
                          .arg(group, item, value);
            return false;
        }
        result_->changes.append({group, item, isStored ? Level(stored.value()) : Level(), levels.at(level)});
        return true;
    }

    const rights::Matrix& current_;
    MatrixImport* result_;
    QString* error_;
    QHash<QString, qsizetype> groupIndex_;
    QHash<QString, qsizetype> itemIndex_;
    QList<qsizetype> columnItem_;  // per item column: the index in current_.items, -1 when unknown
    QSet<qsizetype> seenGroups_;   // known groups read so far
    qsizetype columns_ = 0;
    qsizetype number_ = 0;         // records read, the header included
};

// The bytes at the end of `bytes` that begin a UTF-8 sequence it does not
// finish (a piece cut inside a long line).
qsizetype unfinishedUtf8(const QByteArray& bytes)
{
    for (qsizetype back = 1; back <= 4 && back <= bytes.size(); ++back) {
        const auto byte = static_cast<unsigned char>(bytes.at(bytes.size() - back));
        if ((byte & 0xC0) == 0x80)
            continue;  // a continuation byte: the lead is further back
        const qsizetype length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return length > back ? back : 0;
    }
    return 0;
}

}  // namespace

ImportRead readMatrixImport(QIODevice* device, const rights::Matrix& current, MatrixImport* result, QString* error,
                            const ImportProgress& progress)
{
    *result = {};
    MatrixImporter importer(current, result, error);
    CsvReader reader;
    const auto onRecord = [&importer](const QStringList& record) { return importer.record(record); };
    // Line by line; a line longer than this is read in pieces.
    constexpr qint64 kPiece = qint64(1) << 20;
    QByteArray line(kPiece + 1, Qt::Uninitialized);  // one buffer for every line
    QByteArray carried;
    bool first = true;
    while (!device->atEnd()) {
        const qint64 length = device->readLine(line.data(), line.size());
        if (length < 0) {
            *error = QStringLiteral("无法读取文件: ") + device->errorString();
            return ImportRead::Malformed;
        }
        QByteArray bytes = carried + QByteArrayView(line.constData(), length);
        carried.clear();
        if (first && bytes.startsWith(host::kUtf8Bom))
            bytes.remove(0, 3);
        first = false;
        if (!device->atEnd()) {
            const qsizetype cut = unfinishedUtf8(bytes);
            carried = bytes.right(cut);
            bytes.chop(cut);
        }
        QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = decode(bytes);
        if (decode.hasError()) {
            *error = QStringLiteral("文件不是 UTF-8 编码的文本.");
            return ImportRead::Malformed;
        }
        if (!reader.feed(text, onRecord, error))
            return ImportRead::Malformed;
        if (progress && !progress(device->pos()))
            return ImportRead::Cancelled;
    }
    if (!reader.finish(onRecord, error) || !importer.finish())
        return ImportRead::Malformed;
    return ImportRead::Read;
}

QStringList unknownNotes(const MatrixImport& import)
{
    const auto listed = [](const QStringList& codes, qsizetype count) {
        QString text = codes.join(QStringLiteral(", "));
        if (count > codes.size())
            text += QStringLiteral("…等%1个").arg(count);
        return text;
    };
    QStringList notes;
    if (import.unknownGroupCount > 0)
        notes << QStringLiteral("以下操作组在数据库中不存在, 未导入: ") +
                     listed(import.unknownGroups, import.unknownGroupCount);
    if (import.unknownItemCount > 0)
        notes << QStringLiteral("以下模块项在数据库中不存在, 未导入: ") +
                     listed(import.unknownItems, import.unknownItemCount);
    return notes;
}

}  // namespace rightsetup
