#include "tools/screenshot.h"

#include "dataviews/dataviews.h"
#include "host/functions.h"
#include "host/transaction.h"
#include "host/window_registry.h"
#include "schema/database.h"

#include <QPixmap>
#include <QWidget>
#include <cstdio>

namespace tools {

SampleSession::SampleSession(const QString& operatorId)
{
    ok_ = dir_.isValid() && host::sqlca.connect(dir_.filePath(QStringLiteral("sample.db"))) &&
          schema::createTables(host::sqlca) && schema::loadSampleData(host::sqlca);
    if (!ok_) {
        std::fprintf(stderr, "database: %s\n", qPrintable(host::sqlca.sqlerrtext));
        return;
    }
    dataviews::registerDataViews();
    host::gs_user_id = operatorId;
}

SampleSession::~SampleSession()
{
    host::WindowRegistry::closeAll();
    host::sqlca.disconnect();
}

int saveGrab(QWidget* widget, const QString& path)
{
    if (widget && widget->grab().save(path))
        return 0;
    std::fprintf(stderr, "could not grab into %s\n", qPrintable(path));
    return 1;
}

}  // namespace tools
