#pragma once
// Who can do what, and why: an operator's effective level on every module item
// and the groups that grant it, every operator holding a row for an item, and
// the matrix of groups × items. One statement per question; the effective
// level is the rule of the right checks: the greatest group_right (compared
// as strings) over the operator's groups, as stored ("0" and the empty level
// included; null when no group's row holds one).

#include "rights/export.h"

#include <QList>
#include <QHash>
#include <QMap>
#include <QString>
#include <QStringList>

namespace host {
class Transaction;
}

namespace rights {

struct Grant {
    QString subject;      // item code (rightsOf) or operator id (holdersOf)
    QString name;         // item name or employee name (null when none)
    QString level;        // the effective level
    QStringList groups;   // the groups that grant it, by code
};

// Every item for which a group of `operatorId` holds a row, by item code.
// False when the read failed (the transaction holds the error).
WMS_RIGHTS_EXPORT bool rightsOf(host::Transaction& trans, const QString& operatorId, QList<Grant>* grants);

// Every operator whose groups hold a row for `item`, by operator id; with
// `minimumLevel` only those whose effective level is at least that.
WMS_RIGHTS_EXPORT bool holdersOf(host::Transaction& trans, const QString& item, const QString& minimumLevel, QList<Grant>* grants);

struct Matrix {
    QStringList groups;                           // group ids, in order
    QMap<QString, QString> groupNames;            // id → name
    QStringList items;                            // item codes, in order
    QMap<QString, QString> itemNames;             // code → name
    QHash<QPair<QString, QString>, QString> cells; // (group, item) → stored level; no entry: no row
};

WMS_RIGHTS_EXPORT bool readMatrix(host::Transaction& trans, Matrix* matrix);

// The matrix as CSV with a header line (the console's `matrix` and the
// matrix window's export): group_id, group_name, then one column per item
// code; a cell holds the stored level, empty where the group has no row.
WMS_RIGHTS_EXPORT QString matrixCsv(const Matrix& matrix);

// The words of a level: 禁止, 查询, 修改; "无" for no row; other stored text as it is.
WMS_RIGHTS_EXPORT QString levelWord(const QString& level, bool hasRow = true);

}  // namespace rights
