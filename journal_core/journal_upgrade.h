#pragma once
// Adds the change journal to a database made before the database kept it:
// its table and index, SQLite's operator table, and each rights table's
// trigger(s) (PostgreSQL: with its trigger function), built for the columns
// the table has. Only what is missing is created, in one transaction; run
// again, it changes nothing.

#include "journal_core/export.h"

#include <QStringList>

namespace host {
class Transaction;
}

namespace journal {

// 0 with one line per piece in `report` ("已创建 …" or "… 已存在"), or -1 with
// trans.sqlerrtext (nothing created). Commits on success.
[[nodiscard]] WMS_JOURNAL_CORE_EXPORT int upgradeJournal(host::Transaction& trans, QStringList* report);

}  // namespace journal
