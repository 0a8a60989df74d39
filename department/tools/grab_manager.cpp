// Grabs the department manager on the sample data into a PNG file, with a
// department opened, or one of its dialogs:
//   grab_department OUT.png [w_right_department_add | w_right_employee_add | w_right_employee_batchadd]
// Run under a display (xvfb-run) or offscreen.
#include "department/register_windows.h"
#include "department/w_right_department_manage.h"
#include "department/w_right_employee_batchadd.h"
#include "host/window_registry.h"
#include "tools/screenshot.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>
#include <cstdio>
#include <memory>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: grab_department OUT.png [dialog]\n");
        return 2;
    }
    // As the administrator: every button that changes data is enabled.
    tools::SampleSession session;
    if (!session.ok())
        return 1;
    department::registerWindows();
    auto* manager = qobject_cast<department::w_right_department_manage*>(
        host::WindowRegistry::open(QStringLiteral("w_right_department_manage")));
    if (!manager)
        return 1;
    QTest::qWait(300);
    // The employees of the first department, one of them clicked.
    manager->selectTreeItem(manager->rootItem()->child(0));
    QTest::qWait(100);
    common::ListView* list = manager->lv_1();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->itemAt(2)).center());
    QTest::qWait(300);
    QWidget* shown = manager;
    std::unique_ptr<department::w_right_employee_batchadd> batch;
    if (argc > 2) {
        const QString dialog = QString::fromLocal8Bit(argv[2]);
        if (dialog == QStringLiteral("w_right_employee_batchadd")) {
            // A modal dialog: shown here instead of waiting in exec().
            batch = std::make_unique<department::w_right_employee_batchadd>();
            batch->openEvent(QStringLiteral("D01"));
            batch->em_3()->setText(QStringLiteral("A"));
            batch->em_1()->setText(QStringLiteral("1"));
            batch->em_2()->setText(QStringLiteral("20"));
            batch->show();
            shown = batch.get();
        } else {
            if (dialog == QStringLiteral("w_right_department_add"))
                manager->selectTreeItem(manager->rootItem());
            shown = host::WindowRegistry::open(dialog);
        }
        if (!shown)
            return 1;
        QTest::qWait(300);
    }
    return tools::saveGrab(shown, QString::fromLocal8Bit(argv[1]));
}
