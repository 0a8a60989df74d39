#pragma once
// Drives a manager frame in tests: runs posted events, reads its tree and
// list, clicks and renames list items, and makes table changes fail.

#include "tests/support/test_db.h"

#include <QPoint>
#include <QString>
#include <QStringList>

class QTreeWidgetItem;

namespace common {
class ListView;
class ManagerFrame;
}  // namespace common

namespace testing_support {

// Runs posted events a few rounds, so that queued work settles.
void pumpEvents();

// The tree item carrying `data` under the root, the root itself for "000".
QTreeWidgetItem* treeItem(const common::ManagerFrame* frame, const QString& data);
// Labels and data of the root's children, in order.
QStringList treeLabels(const common::ManagerFrame* frame);
QStringList treeData(const common::ManagerFrame* frame);
// Labels and data of the list's items, in order.
QStringList listLabels(const common::ListView* list);
QStringList listData(const common::ListView* list);

// Where item `index` lies in the list's viewport, or a point beside every item for 0.
QPoint listPoint(const common::ListView* list, int index);
void clickItem(common::ListView* list, int index);
void doubleClickItem(common::ListView* list, int index);
// Types `text` into the open label editor of the list and presses Return.
void typeLabel(common::ListView* list, const QString& text);

// Makes every `operation` ("delete", "insert", "update") on `table` fail.
void refuse(Backend backend, const QString& operation, const QString& table);
// Lets every `operation` on `table` run, and makes the COMMIT of a transaction
// that did one fail (a deferred constraint, checked only at COMMIT).
void refuseAtCommit(Backend backend, const QString& operation, const QString& table);

}  // namespace testing_support
