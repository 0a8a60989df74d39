#pragma once
// Both manager windows on both databases, driven with real key and mouse
// events: in-place renames (F2 or a click on the selected item, typing, Enter,
// Esc, a click elsewhere) and 刷新. A real message box can stand in for the
// scripted one, so that a box shown while Qt closes an editor is caught.

#include "host/messages.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/test_db.h"

#include <QStringList>
#include <tuple>

class QLineEdit;

namespace common {
class ManagerFrame;
}

namespace frame_test {

// One manager window and the rows its tests use.
struct ManagerCase {
    const char* name;
    const char* managerClass;
    void (*registerWindows)();
    // An entity of the root's list, the table its rename writes and the
    // longest name the column takes; the add dialog's message for no name.
    const char* entityKey;
    const char* entityLabel;
    const char* entityTable;
    const char* entityKeyColumn;
    const char* entityNameColumn;
    int entityNameLength;
    const char* blankEntity;
    // A member of `memberEntity`, renamed in s_employee (name, 20 characters).
    const char* memberEntity;
    const char* memberKey;
    const char* memberLabel;
    const char* blankMember;
    // Makes E004 (刘洋) a member of `memberEntity`, as another client would.
    const char* addMemberSql;
    // What the messages call an entity and a member.
    const char* entityNoun;
    const char* memberNoun;
};

extern const ManagerCase kUserGroups;
extern const ManagerCase kDepartments;

// Shows every box as a real QMessageBox (modal, with its own event loop) and
// closes it a moment later, recording its text.
class RealBoxes : public host::MessageService {
public:
    RealBoxes();
    ~RealBoxes() override;
    host::Answer show(const host::MessageBoxRequest& request) override;
    QStringList texts;

private:
    host::MessageService* before_;
    host::QtMessageService qt_;
};

class FrameEditTest : public testing_support::DbFixture,
                      public ::testing::WithParamInterface<std::tuple<ManagerCase, testing_support::Backend>> {
public:
    testing_support::Backend backend() const override { return std::get<1>(GetParam()); }
    static std::string caseName(const ::testing::TestParamInfo<ParamType>& info);

protected:
    void SetUp() override;
    void TearDown() override;

    const ManagerCase& mc() const { return std::get<0>(GetParam()); }
    common::ManagerFrame* openManager();
    common::ManagerFrame* w() const { return frame_; }

    // Selects the tree item with this data ("000": the root) with a click.
    void selectTree(const QString& data);
    int listIndex(const QString& data) const;
    QStringList listLabels() const;
    QString treeLabel(const QString& data) const;

    // Starts a rename of list item `index`: F2 on the list, or a click on the
    // item when it is already selected.
    void startWithF2(int index);
    void startWithSecondClick(int index);
    QLineEdit* editor() const;
    // Types into the open editor: ASCII as key clicks, other text as an input method's commit.
    void type(const QString& text);
    // Ends the edit and waits until the editor is gone and posted events ran.
    void finishWith(Qt::Key key);
    void finishWithClickElsewhere();

    QString stored(const QString& table, const QString& column, const QString& keyColumn, const QString& key);
    // Another client's statement, committed.
    void otherClient(const QString& sql, const QVariantList& params = {});

    testing_support::ScriptedMessages messages;

private:
    common::ManagerFrame* frame_ = nullptr;
};

}  // namespace frame_test
