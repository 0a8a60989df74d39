#pragma once
// One operation of a window, written as one transaction.
//
//   host::Operation op;
//   if (op.execute(insertGroup, {id, name}) != 0) { op.rollback(); report(op.error()); return; }
//   if (op.commit() != 0) { report(op.error()); return; }    // refused COMMIT: undone
//
// The transaction begins at the operation's first write (as every write on
// sqlca does). commit() returns the status of the COMMIT; a COMMIT the
// database refuses is rolled back at once. Whatever was not committed when
// the guard goes out of scope is rolled back, so an early return can never
// leave half an operation pending on the connection. rollback() and the
// destructor keep sqlca's error text of the failure that led there, so the
// window can still show the database's reason afterwards.

#include "host_database/export.h"

#include "host/transaction.h"

namespace host {

class WMS_HOST_DATABASE_EXPORT Operation {
public:
    explicit Operation(Transaction& trans = sqlca) : trans_(trans) {}
    ~Operation();
    Operation(const Operation&) = delete;
    Operation& operator=(const Operation&) = delete;

    // Opens the operation's write transaction now, so that the reads which
    // decide its writes (does the key exist, what does the row hold) see the
    // state its writes will change. False when the database refused (error()).
    [[nodiscard]] bool begin() { return trans_.beginWrite(); }
    // A statement of the operation, run on the transaction (status as sqlca's).
    [[nodiscard]] int execute(const QString& sql, const QVariantList& params = {});
    // COMMIT: 0 when the database took every change, -1 when it refused them
    // (everything is rolled back; the reason is in error()).
    [[nodiscard]] int commit();
    // Undoes every write of the operation, keeping the error of the failure.
    void rollback();
    // The database's text for the last failure (empty when none).
    QString error() const { return trans_.sqlerrtext; }
    Transaction& transaction() const { return trans_; }

private:
    Transaction& trans_;
    bool finished_ = false;
};

}  // namespace host
