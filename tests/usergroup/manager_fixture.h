#pragma once
// A user and group manager on the sample database, shown offscreen, with
// scripted message boxes and a help service that records what it is asked.

#include "host/help.h"
#include "tests/support/modal_responder.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/test_db.h"
#include "usergroup/w_right_setup.h"

#include <QPair>
#include <QStringList>

class QTreeWidgetItem;

namespace usergroup_test {

class RecordingHelp : public host::HelpService {
public:
    RecordingHelp() { host::setHelpService(this); }
    ~RecordingHelp() override { host::setHelpService(nullptr); }
    void showTopic(QWidget*, const QString& file, const QString& topic) override { topics << qMakePair(file, topic); }
    QList<QPair<QString, QString>> topics;
};

class ManagerTest : public testing_support::DbTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens the manager through the window registry, as the host does.
    usergroup::w_right_setup* openManager();
    usergroup::w_right_setup* manager() const { return manager_; }

    // Runs posted events.
    static void pump();

    // Selects the group with this id in the tree.
    void selectGroup(const QString& id);
    void selectRoot();
    QTreeWidgetItem* treeItem(const QString& data) const;
    QStringList treeLabels() const;
    QStringList treeData() const;
    QStringList listLabels() const;
    QStringList listData() const;
    int listIndex(const QString& data) const;

    // Mouse clicks in lv_1 on item `index`, or beside every item for 0.
    void click(int index);
    void doubleClick(int index);
    QPoint listPoint(int index) const;
    // Types `text` into the label editor of the list and presses Return.
    void typeLabel(const QString& text);
    // The members of a group in the database, sorted.
    QStringList members(const QString& group);
    // Makes every `operation` ("delete", "insert", "update") on `table` fail.
    void refuse(const QString& operation, const QString& table);

    testing_support::ScriptedMessages messages;
    RecordingHelp help;

private:
    usergroup::w_right_setup* manager_ = nullptr;
};

}  // namespace usergroup_test
