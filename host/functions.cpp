#include "host/functions.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTextStream>

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
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        switch (u) {
        case u'\\': escaped += QLatin1String("\\\\"); break;
        case u'\n': escaped += QLatin1String("\\n"); break;
        case u'\r': escaped += QLatin1String("\\r"); break;
        case u'\t': escaped += QLatin1String("\\t"); break;
        default:
            if (u < 0x20 || u == 0x7f)
                escaped += QStringLiteral("\\x%1").arg(uint(u), 2, 16, QLatin1Char('0'));
            else if ((u >= 0x80 && u < 0xa0) || u == 0x2028 || u == 0x2029)
                escaped += QStringLiteral("\\u%1").arg(uint(u), 4, 16, QLatin1Char('0'));
            else
                escaped += c;
        }
    }
    return escaped;
}

void f_log(const QString& text)
{
    QFile file(logPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return;
    QTextStream out(&file);
    out << QDateTime::currentDateTime().toString(Qt::ISODateWithMs) << ' ' << escapeForLog(gs_user_id) << ' '
        << escapeForLog(text) << '\n';
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
