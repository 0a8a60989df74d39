// Grabs the group rights editor on the sample data into a PNG file, with two
// module items added through the module list, or the module list itself:
//   grab_editor OUT.png [w_right_module_list]
// Run under a display (xvfb-run) or offscreen.
#include "host/window_registry.h"
#include "platform/datawindow.h"
#include "rightsetup/register_windows.h"
#include "rightsetup/w_right_module_list.h"
#include "rightsetup/w_right_right_setup.h"
#include "tools/screenshot.h"
#include "usergroup/register_windows.h"
#include "usergroup/w_right_setup.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: grab_editor OUT.png [w_right_module_list]\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const bool grabList = argc > 2 && QString::fromLocal8Bit(argv[2]) == QStringLiteral("w_right_module_list");
    // As the administrator: every button that changes data is enabled.
    tools::SampleSession session;
    if (!session.ok())
        return 1;
    usergroup::registerWindows();
    rightsetup::registerWindows();
    auto* manager = qobject_cast<usergroup::w_right_setup*>(host::WindowRegistry::open(QStringLiteral("w_right_setup")));
    if (!manager)
        return 1;
    QTest::qWait(200);
    manager->lv_1()->selectItem(3);  // group 003
    auto* editor = qobject_cast<rightsetup::w_right_right_setup*>(
        host::WindowRegistry::open(QStringLiteral("w_right_right_setup")));
    if (!editor)
        return 1;
    QTest::qWait(200);

    bool saved = false;
    // The module list is modal: tick two entries once it shows, then confirm.
    auto answer = [&] {
        auto* list = qobject_cast<rightsetup::w_right_module_list*>(QApplication::activeModalWidget());
        if (!list) {
            QTimer::singleShot(20, [&] { QApplication::exit(1); });
            return;
        }
        list->lv_1->item(0)->setCheckState(Qt::Checked);
        list->lv_1->item(3)->setCheckState(Qt::Checked);
        QTest::qWait(200);
        if (grabList)
            saved = tools::saveGrab(list, out) == 0;
        list->cb_ok->click();
    };
    QTimer::singleShot(300, answer);
    editor->cb_add_clicked();
    QTest::qWait(200);
    if (!grabList) {
        editor->dw_1->setRow(editor->dw_1->rowCount());
        QTest::qWait(100);
        saved = tools::saveGrab(editor, out) == 0;
    }
    return saved ? 0 : 1;
}
