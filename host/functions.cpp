#include "host/functions.h"

#include "host/messages.h"

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

void f_box(const QString& text)
{
    MessageBox(QStringLiteral("提示"), text, Icon::Information, Buttons::Ok);
}

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

void f_log(const QString& text)
{
    QFile file(logPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return;
    QTextStream out(&file);
    out << QDateTime::currentDateTime().toString(Qt::ISODateWithMs) << ' ' << gs_user_id << ' '
        << text << '\n';
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
