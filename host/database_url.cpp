#include "host/database_url.h"

#include <QList>
#include <QRegularExpression>
#include <QUrl>
#include <algorithm>

namespace host {

namespace {

struct Range {
    qsizetype start = 0;
    qsizetype end = 0;  // one past the last hidden character
};

// The parts of a URL that are never shown, in order, not overlapping.
QList<Range> secretRanges(const QString& url)
{
    QList<Range> ranges;
    // libpq also takes the password as a parameter. Its value runs to the
    // next parameter; an @ in it is not the end of a user part.
    static const QRegularExpression parameter(QStringLiteral("(?:^|[?&;\\s])password=([^&#]*)"),
                                              QRegularExpression::CaseInsensitiveOption);
    QString masked = url;
    for (auto it = parameter.globalMatch(url); it.hasNext();) {
        const auto match = it.next();
        if (match.capturedLength(1) == 0)
            continue;
        ranges.append({match.capturedStart(1), match.capturedEnd(1)});
        masked.replace(match.capturedStart(1), match.capturedLength(1),
                       QString(match.capturedLength(1), QLatin1Char('*')));
    }

    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.\\-]*:"));
    const auto match = scheme.match(url);
    const qsizetype at = masked.lastIndexOf(QLatin1Char('@'));
    if (match.hasMatch() && at > match.capturedEnd()) {
        qsizetype start = match.capturedEnd();
        const bool authority = url.mid(start, 2) == QLatin1String("//");
        while (start < at && url.at(start) == QLatin1Char('/'))
            ++start;
        const qsizetype colon = masked.indexOf(QLatin1Char(':'), start);
        if (colon >= 0 && colon < at)
            start = colon + 1;  // the user name stays
        else if (authority)
            start = at;  // a user name without a password
        if (start < at)
            ranges.append({start, at});
    }

    std::sort(ranges.begin(), ranges.end(), [](const Range& a, const Range& b) { return a.start < b.start; });
    QList<Range> merged;
    for (const Range& range : std::as_const(ranges)) {
        if (!merged.isEmpty() && range.start <= merged.last().end)
            merged.last().end = std::max(merged.last().end, range.end);
        else
            merged.append(range);
    }
    return merged;
}

}  // namespace

bool isPostgresUrl(const QString& url)
{
    return url.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive)
           || url.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

QString redactedUrl(const QString& url)
{
    QString shown;
    qsizetype from = 0;
    for (const Range& range : secretRanges(url)) {
        shown += QStringView(url).mid(from, range.start - from);
        shown += QLatin1String("***");
        from = range.end;
    }
    shown += QStringView(url).mid(from);
    return shown;
}

QString withoutUrlSecrets(QString text, const QString& url)
{
    QStringList secrets;
    for (const Range& range : secretRanges(url)) {
        const QString written = url.mid(range.start, range.end - range.start);
        secrets << written << QUrl::fromPercentEncoding(written.toUtf8());
    }
    // The longest first, so that a secret holding another is replaced whole.
    std::sort(secrets.begin(), secrets.end(), [](const QString& a, const QString& b) { return a.size() > b.size(); });
    for (const QString& secret : std::as_const(secrets)) {
        if (!secret.isEmpty())
            text.replace(secret, QStringLiteral("***"));
    }
    return text;
}

}  // namespace host
