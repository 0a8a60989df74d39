#include "host/changed_meanwhile.h"

namespace host {

QString changedMeanwhileText(const QString& what)
{
    return what + QStringLiteral("已被其他用户修改, 本次修改全部未保存.");
}

}  // namespace host
