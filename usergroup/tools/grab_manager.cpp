// Grabs the user and group manager on the sample data into a PNG file, or
// one of its dialogs opened from it:
//   grab_manager OUT.png [w_right_group_add | w_right_user_add | w_right_set_password | w_right_select_group]
// Run under a display (xvfb-run) or offscreen.
#include "host/window_registry.h"
#include "tools/screenshot.h"
#include "usergroup/register_windows.h"
#include "usergroup/w_right_select_group.h"
#include "usergroup/w_right_setup.h"

#include <QApplication>
#include <QTest>
#include <QTreeWidget>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: grab_manager OUT.png\n");
        return 2;
    }
    // As the administrator: every button that changes data is enabled.
    tools::SampleSession session;
    if (!session.ok())
        return 1;
    usergroup::registerWindows();
    auto* manager = qobject_cast<usergroup::w_right_setup*>(host::WindowRegistry::open(QStringLiteral("w_right_setup")));
    if (!manager)
        return 1;
    QTest::qWait(300);
    // Show a group clicked in the list, as the operator sees it.
    common::ListView* list = manager->lv_1();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->itemAt(2)).center());
    QTest::qWait(300);
    QWidget* shown = manager;
    if (argc > 2) {
        const QString dialog = QString::fromLocal8Bit(argv[2]);
        if (dialog == QStringLiteral("w_right_user_add")) {
            manager->selectTreeItem(manager->rootItem()->child(1));
            QTest::qWait(100);
        }
        if (dialog == QStringLiteral("w_right_select_group")) {
            // A modal dialog: shown here instead of waiting in exec(); the
            // groups a move from 仓库管理员 may go to, none chosen yet.
            auto* select = new usergroup::w_right_select_group;
            select->openEvent(QStringLiteral("002"));
            select->show();
            shown = select;
        } else {
            // The set password dialog is for operator E001.
            shown = host::WindowRegistry::open(
                dialog, dialog == QStringLiteral("w_right_set_password") ? QStringLiteral("E001") : QString());
        }
        if (!shown)
            return 1;
        QTest::qWait(300);
    }
    const int saved = tools::saveGrab(shown, QString::fromLocal8Bit(argv[1]));
    if (shown != manager)
        delete shown;
    delete manager;
    return saved;
}
