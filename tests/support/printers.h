#pragma once
// Readable failure output for Qt values.
#include <QString>
#include <QStringList>
#include <QVariant>
#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& value, std::ostream* out)
{
    if (value.isNull())
        *out << "<null QString>";
    else
        *out << '"' << value.toStdString() << '"';
}
inline void PrintTo(const QStringList& values, std::ostream* out)
{
    *out << '[' << values.join(QStringLiteral(", ")).toStdString() << ']';
}
inline void PrintTo(const QVariant& value, std::ostream* out)
{
    if (value.isNull())
        *out << "<null>";
    else
        *out << value.toString().toStdString();
}
QT_END_NAMESPACE
