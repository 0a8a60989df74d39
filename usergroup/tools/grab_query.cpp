// Grabs 权限查询 on the sample data into a PNG file: the effective rights of
// operator E002 (in 仓库管理员 and 查询员), with the groups that grant them.
//   grab_query OUT.png
// Run under a display (xvfb-run) or offscreen.
#include "host/window_registry.h"
#include "tools/screenshot.h"
#include "usergroup/register_windows.h"
#include "usergroup/w_right_query.h"

#include <QApplication>
#include <QTest>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: grab_query OUT.png\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    tools::SampleSession session;
    if (!session.ok())
        return 1;
    usergroup::registerWindows();
    auto* query = qobject_cast<usergroup::w_right_query*>(host::WindowRegistry::open(QStringLiteral("w_right_query")));
    if (!query)
        return 1;
    query->showOperator(QStringLiteral("E002"));
    QTest::qWait(200);
    return tools::saveGrab(query, out);
}
