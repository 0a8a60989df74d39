// A cursor over a select run on a transaction.
#include "host/transaction.h"

#include <QSqlRecord>
#include <utility>

namespace host {

Cursor::Cursor(Transaction& trans, QString sql) : trans_(trans), sql_(std::move(sql)) {}

Cursor::~Cursor()
{
    if (query_)
        query_->finish();
}

int Cursor::open(const QVariantList& params)
{
    close();
    if (!trans_.reopenIfLost())
        return Transaction::kError;
    if (!trans_.isConnected()) {
        trans_.recordError(QStringLiteral("not connected"));
        return Transaction::kError;
    }
    auto query = std::make_unique<QSqlQuery>(trans_.database());
    query->setForwardOnly(true);
    if (!query->prepare(sql_)) {
        trans_.recordError(*query);
        return Transaction::kError;
    }
    if (!trans_.run(*query, params))
        return Transaction::kError;
    query_ = std::move(query);
    trans_.recordSuccess(0);
    return Transaction::kSuccess;
}

int Cursor::fetch(QVariantList& into)
{
    into.clear();
    if (!query_) {
        trans_.recordError(QStringLiteral("cursor is not open"));
        return Transaction::kError;
    }
    if (query_->next()) {
        const int columns = query_->record().count();
        for (int c = 0; c < columns; ++c)
            into.append(query_->value(c));
        trans_.recordSuccess(1);
        return Transaction::kSuccess;
    }
    if (!trans_.finishSelect(*query_, 0))
        return Transaction::kError;
    return Transaction::kNotFound;
}

int Cursor::close()
{
    if (query_) {
        query_->finish();
        query_.reset();
    }
    trans_.recordSuccess(0);
    return Transaction::kSuccess;
}

}  // namespace host
