#pragma once
// The built wms-rights binary run as a script would run it.

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace app_tests {

struct Result {
    int code = -1;  // -1: did not end normally within 30 s
    QString out;
    QString err;
};

Result runBinary(const QStringList& arguments,
                 const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());

// Every file under `folder` (relative path and a hash of its bytes).
QStringList tree(const QString& folder);

// An environment whose home is `home` (made if missing), so that the sample
// database, if made, is made there; offscreen, without WMS_PASSWORD.
QProcessEnvironment sandboxEnvironment(const QString& home);

}  // namespace app_tests
