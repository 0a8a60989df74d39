#pragma once
// A write that finds its row changed or deleted by another client since the
// window read it is refused as a whole: the operation is rolled back and the
// operator's edits stay pending. This is the module's reason for it.

#include "host_database/export.h"

#include <QString>

namespace host {

// "<what>已被其他用户修改, 本次修改全部未保存.", e.g. for what = "操作组 002 的权限".
WMS_HOST_DATABASE_EXPORT QString changedMeanwhileText(const QString& what);

}  // namespace host
