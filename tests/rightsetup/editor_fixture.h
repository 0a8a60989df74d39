#pragma once
// The group rights editor on the sample database, opened the way the
// administrator opens it: the user and group manager shows the groups, one is
// selected in its list, and the editor is opened through the window registry.
// Message boxes are scripted; the module list is answered as a modal dialog.

#include "rightsetup/w_right_module_list.h"
#include "rightsetup/w_right_right_setup.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/test_db.h"

#include <QMap>
#include <QPointer>
#include <QStringList>
#include <functional>

namespace usergroup {
class w_right_setup;
}

namespace rightsetup_test {

class EditorTest : public testing_support::DbTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens the user and group manager (its list shows the groups).
    usergroup::w_right_setup* openManager();
    // Selects the group `id` in the manager's list.
    void selectListGroup(const QString& id);
    // Opens the editor for group `id`; null when it closed itself.
    rightsetup::w_right_right_setup* openEditor(const QString& id);

    // Clicks cb_add and answers the module list: ticks the entries whose
    // codes are given, then clicks cb_ok (or cb_cancel when `confirm` is
    // false). Returns the codes the list showed, in its order.
    QStringList addModules(const QStringList& codes, bool confirm = true);
    // Runs `handler` on the module list that cb_add opens.
    void withModuleList(const std::function<void(rightsetup::w_right_module_list*)>& handler);

    // The grid's column `column`, row by row.
    QStringList gridColumn(const QString& column) const;
    // Chooses a level in the grid as the operator does (drop-down of the cell).
    void pickLevel(long row, const QString& text);

    // The rights of a group in the database, read through a second client.
    QMap<QString, QString> dbRights(const QString& group);
    // Runs a statement on a second client and commits it.
    void otherClient(const QString& sql, const QVariantList& params = {});
    // Makes every `operation` ("insert", "update", "delete") on `table` fail.
    void refuse(const QString& operation, const QString& table);

    static void pump();

    testing_support::ScriptedMessages messages;
    QPointer<rightsetup::w_right_right_setup> editor;

private:
    usergroup::w_right_setup* manager_ = nullptr;
};

}  // namespace rightsetup_test
