#include "host/operation.h"

namespace host {

Operation::~Operation()
{
    if (!finished_)
        rollback();
}

int Operation::execute(const QString& sql, const QVariantList& params)
{
    return trans_.execute(sql, params);
}

int Operation::commit()
{
    finished_ = true;
    return trans_.commit();
}

void Operation::rollback()
{
    finished_ = true;
    if (!trans_.inWriteTransaction())
        return;
    // The status describes the statement that failed, not the ROLLBACK, so
    // that its reason can still be shown.
    const int code = trans_.sqlcode;
    const QString text = trans_.sqlerrtext;
    const long rows = trans_.sqlnrows;
    const bool changedMeanwhile = trans_.changedMeanwhile();
    if (trans_.rollback() != Transaction::kSuccess)
        return;  // sqlca describes the failed ROLLBACK; the connection rolled back anyway
    if (changedMeanwhile)
        trans_.recordChangedMeanwhile(text);
    else if (code == Transaction::kError)
        trans_.recordError(text);
    else
        trans_.recordSuccess(rows, code);
}

}  // namespace host
