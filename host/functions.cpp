#include "host/functions.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTextStream>
#include <algorithm>
#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace host {

QString gs_user_id;

namespace {
QString& logPath()
{
    static QString path = QDir::temp().filePath(QStringLiteral("wms-rights.log"));
    return path;
}
}  // namespace

bool f_isnull(const QString& value)
{
    return value.isEmpty();
}

void setLogFile(const QString& path)
{
    logPath() = path;
}

QString logFile()
{
    return logPath();
}

QString escapeForLog(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        switch (u) {
        case u'\\': escaped += QLatin1String("\\\\"); continue;
        case u'\n': escaped += QLatin1String("\\n"); continue;
        case u'\r': escaped += QLatin1String("\\r"); continue;
        case u'\t': escaped += QLatin1String("\\t"); continue;
        default: break;
        }
        if (u < 0x20 || u == 0x7f) {
            escaped += QStringLiteral("\\x%1").arg(uint(u), 2, 16, QLatin1Char('0'));
            continue;
        }
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            const char32_t code = QChar::surrogateToUcs4(c, text.at(i + 1));
            if (QChar::category(code) == QChar::Other_Format)
                escaped += QStringLiteral("\\U%1").arg(uint(code), 8, 16, QLatin1Char('0'));
            else
                escaped += QStringView(text).mid(i, 2);
            ++i;
            continue;
        }
        switch (c.category()) {
        case QChar::Other_Control:     // U+0080..U+009F
        case QChar::Other_Format:      // U+200E, U+202E, U+2066, U+FEFF, …
        case QChar::Other_Surrogate:   // a surrogate without its pair
        case QChar::Separator_Line:    // U+2028
        case QChar::Separator_Paragraph:  // U+2029
            escaped += QStringLiteral("\\u%1").arg(uint(u), 4, 16, QLatin1Char('0'));
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

QString shortenForLog(const QString& value)
{
    const qsizetype characters = value.size() - std::count_if(value.begin(), value.end(), [](QChar c) {
                                     return c.isLowSurrogate();
                                 });
    if (characters <= kLogValueLength)
        return value;
    // The first kLogValueLength characters, a pair of surrogates counting once.
    qsizetype end = 0;
    for (qsizetype kept = 0; kept < kLogValueLength; ++kept)
        end += value.at(end).isHighSurrogate() && end + 1 < value.size() && value.at(end + 1).isLowSurrogate() ? 2 : 1;
    return value.left(end) + QStringLiteral("…(共%1字符)").arg(characters);
}

namespace {

// The log file opened for appending, or -1. A symbolic link in its place is
// not followed (O_NOFOLLOW), and what was opened must be a plain file with no
// other name: otherwise a link planted beside the database would have the
// log's lines appended to a file of someone else's choosing.
int openLog(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC,
                          S_IRUSR | S_IWUSR);
    QString refusal;
    if (fd < 0) {
        if (errno == ELOOP)
            refusal = QStringLiteral("是符号链接");
        else
            return -1;  // no folder, no right to write: no log, as before
    } else {
        struct stat info {};
        if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
            refusal = QStringLiteral("不是普通文件");
        else if (info.st_nlink != 1)
            refusal = QStringLiteral("有其他硬链接");
        if (refusal.isEmpty())
            return fd;
        ::close(fd);
    }
    // Said once per file and reason, not at every line.
    static QStringList refused;
    if (const QString said = path + QLatin1Char('\n') + refusal; !refused.contains(said)) {
        refused << said;
        const QByteArray text = QStringLiteral("wms-rights: 日志文件 %1 %2, 不写日志 (refused to write the log)\n")
                                    .arg(path, refusal)
                                    .toLocal8Bit();
        std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
        std::fflush(stderr);
    }
    return -1;
}

void writeLog(const QString& text)
{
    const int fd = openLog(logPath());
    if (fd < 0)
        return;
    QFile file;
    if (!file.open(fd, QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return;
    }
    QTextStream out(&file);
    out << QDateTime::currentDateTime().toString(Qt::ISODateWithMs) << ' '
        << escapeForLog(shortenForLog(gs_user_id)) << ' ' << escapeForLog(text) << '\n';
}

}  // namespace

void f_log(const QString& text)
{
    writeLog(shortenForLog(text));
}

void logLine(const QString& text)
{
    writeLog(text);
}

QString trimBlanks(const QString& value)
{
    if (value.isNull())
        return value;
    qsizetype begin = 0;
    qsizetype end = value.size();
    while (begin < end && value.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && value.at(end - 1) == QLatin1Char(' '))
        --end;
    return value.mid(begin, end - begin);
}

}  // namespace host
