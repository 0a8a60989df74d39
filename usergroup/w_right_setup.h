#pragma once
// The user and group manager: the tree-and-list frame with the groups as
// entities and the operators of a group as members. Besides the frame it
// opens the group and operator dialogs and the group rights editor, and moves
// every operator of one group into another (ue_changegroup).

#include "usergroup/export.h"

#include "common/manager_frame.h"

#include <QString>
#include <unordered_map>

namespace usergroup {

class WMS_USERGROUP_EXPORT w_right_setup : public common::ManagerFrame {
    Q_OBJECT
public:
    explicit w_right_setup(QWidget* parent = nullptr);

    static common::FrameParameters frameParameters();

    QPushButton* pb_right() const { return button4(); }
    QPushButton* pb_change() const { return button5(); }

    // Moves every operator of the group selected in the list to a group
    // chosen in w_right_select_group.
    void ue_changegroup();
    // Opens w_right_set_password for the operator selected in a group's list.
    void ue_set_password();
    // Opens 权限查询, on the selected operator when there is one.
    void ue_query();

    void helpEvent(int xpos, int ypos) override;

protected:
    QString deleteEntityQuestion(const QString& key) override;
    std::unique_ptr<common::PopupMenu> createPopupMenu() override;
    void beforeReadMembers(const QString& entityKey) override;
    void readMember(long row, QString* key, QString* name) override;
    void button4Clicked() override;
    void button5Clicked() override;

private:
    // The names of the members being listed, read in one statement (Qt's
    // unseeded string hash: thousands of members are looked up at once).
    std::unordered_map<QString, QString> memberNames_;
};

}  // namespace usergroup
