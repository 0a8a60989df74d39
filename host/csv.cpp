#include "host/csv.h"

namespace host {

namespace {

bool startsFormula(QChar c)
{
    return c == QLatin1Char('=') || c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char('@') ||
           c == QLatin1Char('\t') || c == QLatin1Char('\r');
}

// True when `text` is apostrophes (any number, none included) and then a
// character a spreadsheet takes for the start of a formula.
bool formulaAfterApostrophes(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == QLatin1Char('\''))
        ++i;
    return i < text.size() && startsFormula(text.at(i));
}

}  // namespace

QString csvInert(const QString& value)
{
    return formulaAfterApostrophes(value) ? QLatin1Char('\'') + value : value;
}

QString csvRestored(const QString& cell)
{
    if (cell.startsWith(QLatin1Char('\'')) && formulaAfterApostrophes(QStringView(cell).mid(1)))
        return cell.mid(1);
    return cell;
}

QString csvField(const QString& value)
{
    const QString inert = csvInert(value);
    if (!inert.contains(QLatin1Char(',')) && !inert.contains(QLatin1Char('"')) && !inert.contains(QLatin1Char('\n')) &&
        !inert.contains(QLatin1Char('\r')))
        return inert;
    QString quoted = inert;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString csvLine(const QStringList& fields)
{
    QStringList out;
    out.reserve(fields.size());
    for (const QString& field : fields)
        out << csvField(field);
    return out.join(QLatin1Char(',')) + QLatin1String("\r\n");
}

}  // namespace host
