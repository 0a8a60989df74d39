#pragma once
// One fixture for both manager windows: the sample database, the manager
// opened through the window registry as the host opens it, shown offscreen
// with scripted message boxes and a help service that records its topics, and
// the helpers that read and drive its tree and list.

#include "host/help.h"
#include "tests/support/modal_responder.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/test_db.h"

#include <QPair>
#include <QPoint>
#include <QStringList>
#include <functional>

class QTreeWidgetItem;

namespace common {
class ManagerFrame;
}

namespace testing_support {

class RecordingHelp : public host::HelpService {
public:
    RecordingHelp() { host::setHelpService(this); }
    ~RecordingHelp() override { host::setHelpService(nullptr); }
    void showTopic(QWidget*, const QString& file, const QString& topic) override { topics << qMakePair(file, topic); }
    QList<QPair<QString, QString>> topics;
};

class ManagerFixture : public DbTest {
protected:
    // registerWindows: the manager's library registers its windows.
    ManagerFixture(QString managerClass, std::function<void()> registerWindows);

    void SetUp() override;
    void TearDown() override;

    // Opens the manager through the window registry and runs posted events.
    common::ManagerFrame* openFrame();
    common::ManagerFrame* frame() const { return frame_; }

    // Runs posted events.
    static void pump();

    // Selects the tree item carrying `data` (the root for "000").
    void selectTree(const QString& data);
    void selectRoot();
    QTreeWidgetItem* treeItem(const QString& data) const;
    QStringList treeLabels() const;
    QStringList treeData() const;
    QStringList listLabels() const;
    QStringList listData() const;
    // The 1-based index of the list item carrying `data`, 0 when none.
    int listIndex(const QString& data) const;

    // Mouse clicks in lv_1 on item `index`, or beside every item for 0.
    QPoint listPoint(int index) const;
    void click(int index);
    void doubleClick(int index);
    // Types `text` into the label editor of the list and presses Return.
    void typeLabel(const QString& text);

    // The first column of the rows a select with one bound key gives, in order.
    QStringList strings(const QString& select, const QString& key);
    // One column of one row, null when there is none.
    QVariant column(const QString& table, const QString& column, const QString& keyColumn, const QString& key);
    // Makes every `operation` ("delete", "insert", "update") on `table` fail.
    void refuse(const QString& operation, const QString& table);

    ScriptedMessages messages;
    RecordingHelp help;

private:
    QString managerClass_;
    std::function<void()> registerWindows_;
    common::ManagerFrame* frame_ = nullptr;
};

}  // namespace testing_support
