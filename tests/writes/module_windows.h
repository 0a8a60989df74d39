#pragma once
// The module's windows on the sample database, opened through the window
// registry as the host opens them, with scripted message boxes: the managers,
// their dialogs and the rights editor, and the whole database read back
// through a second client.

#include "tests/support/scripted_messages.h"
#include "tests/support/test_db.h"

#include <QStringList>

namespace common {
class ManagerFrame;
}
namespace department {
class w_right_department_manage;
}
namespace host {
class Window;
}
namespace rightsetup {
class w_right_right_setup;
}
namespace usergroup {
class w_right_setup;
}

namespace writes_test {

class ModuleWindowsTest : public testing_support::DbFixture {
public:
    void SetUp() override;
    void TearDown() override;

    // Every row of the seven tables, read through a second client.
    QStringList snapshot();

    // The managers, opened when they are not open yet.
    usergroup::w_right_setup* users();
    department::w_right_department_manage* departments();
    // Opens a registered window with a parameter and runs posted events.
    template <class W>
    W* open(const char* className, const QString& parameter = {})
    {
        return qobject_cast<W*>(openWindow(className, parameter));
    }
    host::Window* openWindow(const char* className, const QString& parameter = {});
    // The rights editor for a group selected in the user and group manager.
    rightsetup::w_right_right_setup* editorOf(const QString& group);

    static void selectTree(common::ManagerFrame* frame, const QString& data);
    static int listIndex(common::ManagerFrame* frame, const QString& data);
    static void select(common::ManagerFrame* frame, const QString& data);
    static void rename(common::ManagerFrame* frame, const QString& data, const QString& label);
    static QString label(common::ManagerFrame* frame, const QString& data);
    static QString treeLabel(common::ManagerFrame* frame, const QString& data);

    testing_support::ScriptedMessages messages;
};

}  // namespace writes_test
