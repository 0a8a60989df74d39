#pragma once
// Another client of the test's database, on a connection of its own: what it
// commits is there for the window's next statement, as it would be for a
// second administrator's.

#include <QString>
#include <QVariantList>

namespace rightsetup_test {

// Runs `sql` on a second connection and commits it.
void commitOnOtherClient(const QString& url, const QString& sql, const QVariantList& params = {});
// The number of change journal entries, read on a second connection.
long long journalEntries(const QString& url);

}  // namespace rightsetup_test
