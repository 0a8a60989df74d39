#pragma once
// Writes the changes of a data view's rows to its update table: deletes, then
// updates, then inserts, each one statement with bound values, through the
// transaction (which opens its write transaction before the first). Stops at
// the first failed statement; the transaction's status then describes it.
// Nothing is committed or rolled back here, and the rows are not touched.
//
// An update or delete names the values read of the columns it writes; when it
// matches no row, another client changed or deleted the row since it was
// read, and the transaction's changedMeanwhile() says so.

#include "platform/export.h"

#include "platform/definition.h"
#include "platform/row_buffer.h"

namespace host {
class Transaction;
}

namespace platform {

class WMS_PLATFORM_EXPORT UpdateWriter {
public:
    UpdateWriter(const Definition& definition, host::Transaction& trans);

    // 1 when every statement succeeded, -1 otherwise (error() and the
    // transaction's sqlerrtext tell why).
    int write(const QList<const Row*>& deletes, const QList<const Row*>& updates,
              const QList<const Row*>& inserts);
    QString error() const { return error_; }

private:
    bool deleteRow(const Row& row);
    bool updateRow(const Row& row);
    bool insertRow(const Row& row);
    // "k1 = ? and c2 is null ..." over the original values of the key and of
    // the `compared` columns.
    bool condition(const Row& row, const QList<int>& compared, QString* where, QVariantList* params);
    // An update or delete must affect a row (else the row was changed or
    // deleted meanwhile); an insert may not be checked that way.
    bool run(const QString& sql, const QVariantList& params, bool mustAffectRow = true);

    const Definition& def_;
    host::Transaction& trans_;
    QString table_;
    bool begun_ = false;
    QString error_;
};

}  // namespace platform
