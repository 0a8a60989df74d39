#pragma once
// Registers 权限变更记录 (w_right_journal) with the host's window registry.

#include "journal/export.h"

#include <QString>

namespace journal {

inline const QString kJournalWindow = QStringLiteral("w_right_journal");

WMS_JOURNAL_EXPORT void registerWindows();

}  // namespace journal
