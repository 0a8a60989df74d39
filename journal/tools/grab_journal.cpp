// Grabs 权限变更记录 on the sample data, after a few changes, into a PNG file:
//   grab_journal OUT.png
// Run under a display (xvfb-run) or offscreen.
#include "host/functions.h"
#include "host/operation.h"
#include "host/transaction.h"
#include "host/window_registry.h"
#include "journal/register_windows.h"
#include "journal/w_right_journal.h"
#include "tools/screenshot.h"

#include <QApplication>
#include <QTableWidget>
#include <QTest>
#include <cstdio>

namespace {

bool change(const QString& sql, const QVariantList& params)
{
    host::Operation operation;
    return operation.execute(sql, params) == 0 && operation.commit() == 0;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: grab_journal OUT.png\n");
        return 2;
    }
    tools::SampleSession session(QStringLiteral("E006"));
    if (!session.ok())
        return 1;
    const bool made =
        change(QStringLiteral("update s_group set group_name = ? where group_id = ?"),
               {QStringLiteral("仓库组"), QStringLiteral("002")}) &&
        change(QStringLiteral("insert into s_group_power ( group_id , m_item_code , group_right ) values ( ? , ? , ? )"),
               {QStringLiteral("003"), QStringLiteral("w302"), QStringLiteral("1")}) &&
        change(QStringLiteral("update s_group_power set group_right = ? where group_id = ? and m_item_code = ?"),
               {QStringLiteral("1"), QStringLiteral("002"), QStringLiteral("w204")}) &&
        change(QStringLiteral("delete from s_user_group where user_code = ? and group_code = ?"),
               {QStringLiteral("E002"), QStringLiteral("003")});
    if (!made) {
        std::fprintf(stderr, "changes: %s\n", qPrintable(host::sqlca.sqlerrtext));
        return 1;
    }
    host::gs_user_id = QStringLiteral("admin");
    journal::registerWindows();
    auto* window = qobject_cast<journal::w_right_journal*>(host::WindowRegistry::open(journal::kJournalWindow));
    if (!window)
        return 1;
    window->setTag(QStringLiteral("m102"));
    window->dw_journal->selectRow(1);
    QTest::qWait(300);
    return tools::saveGrab(window, QString::fromLocal8Bit(argv[1]));
}
