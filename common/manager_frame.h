#pragma once
// The tree-and-list manager window: a tree with one root and one item per
// entity (group, department), a list of the entities or of the selected
// entity's members, picture buttons, a status text and the splitter between
// tree and list. A manager window is this frame with its FrameParameters and
// the few events that only it has.
//
// Buttons post their events (queued), popup menus trigger them (direct call).

#include "common/export.h"

#include "common/frame_parameters.h"
#include "common/list_view.h"
#include "common/popup_menu.h"
#include "host/w_father.h"

#include <QString>
#include <functional>
#include <memory>

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace host {
class Operation;
class uo_dialogbar;
}
namespace platform {
class DataWindow;
}

namespace common {

class WMS_COMMON_EXPORT ManagerFrame : public host::w_father {
    Q_OBJECT
public:
    explicit ManagerFrame(FrameParameters parameters, QWidget* parent = nullptr);
    ~ManagerFrame() override;

    const FrameParameters& parameters() const { return params_; }

    // Controls that dialogs reach into.
    QTreeWidget* tv_1() const { return tv_1_; }
    ListView* lv_1() const { return lv_1_; }
    QPushButton* pb_add() const { return pb_add_; }
    QPushButton* pb_edit() const { return pb_edit_; }
    QPushButton* pb_delete() const { return pb_delete_; }
    QPushButton* button4() const { return button4_; }
    QPushButton* button5() const { return button5_; }
    QPushButton* pb_close() const { return pb_close_; }
    QLabel* st_1() const { return st_1_; }
    QPushButton* cb_tree() const { return cb_tree_; }
    platform::DataWindow* entityView() const { return entityView_; }
    platform::DataWindow* memberView() const { return memberView_; }

    // The current tree item (the selected one), its level (1 root, 2 entity,
    // 0 none) and its data.
    QTreeWidgetItem* currentTreeItem() const;
    static int level(const QTreeWidgetItem* item);
    static QString itemData(const QTreeWidgetItem* item);
    QTreeWidgetItem* rootItem() const;
    // Selects a tree item (raises selectionchanged when it changes).
    void selectTreeItem(QTreeWidgetItem* item);

    // Window functions and events.
    void openEvent(const QString& parameter) override;
    void resizeWindow(int newWidth, int newHeight) override;
    void keyEvent(int key, Qt::KeyboardModifiers modifiers) override;
    QTreeWidgetItem* wf_insert_tvi(const QString& as_label, const QString& as_data);
    virtual void ue_rename();
    virtual void ue_delete_lvi();

    // Events of the controls, public so that the host and tests can raise them.
    void buildTree();  // cb_tree clicked
    void tv1SelectionChanged(QTreeWidgetItem* oldItem, QTreeWidgetItem* newItem);
    void lv1Clicked(int index);
    void lv1RightClicked(int index);
    void lv1DoubleClicked(int index);
    void lv1EndLabelEdit(int index, const QString& newLabel);
    void lv1ItemChanged(int index);
    void lv1LoseFocus();

    // 刷新 (F5, the popup command): builds the tree and fills the list again
    // from the database, keeping the tree's and the list's selection where
    // the items still exist. While a label is being edited it waits for the
    // edit to end. A change another module window announces (DataChanges)
    // makes the frame read again by itself.
    void refresh();

    // The popup menu for a right click at `index`, with its commands shown
    // and enabled as the current tree item and the hit decide (not shown).
    std::unique_ptr<PopupMenu> popupMenuFor(int index);

    // Opens the window's help topic (the title followed by ".mht").
    void showHelp();

protected:
    // A new instance of the window's popup menu class.
    virtual std::unique_ptr<PopupMenu> createPopupMenu() = 0;
    // The filter of the member view for an entity.
    virtual QString memberFilter(const QString& entityKey) const;
    // Called once before the members of an entity are read row by row (a
    // window may read what it needs for all of them in one statement).
    virtual void beforeReadMembers(const QString& entityKey);
    // Key and name of member `row` of the filtered member view.
    virtual void readMember(long row, QString* key, QString* name);
    // The question asked before the list item `key` (labelled `label`) is
    // deleted while the tree item of `treeLevel` is current: the frame's
    // question followed by the item's code and name.
    virtual QString deleteQuestion(int treeLevel, const QString& key, const QString& label);
    // The second question before an entity `key` is deleted; empty: none.
    virtual QString deleteEntityQuestion(const QString& key);
    // Asked inside the transaction of the delete of entity `key`, before its
    // statements: false stops the delete (rolled back, nothing deleted), the
    // window having told the operator why.
    virtual bool entityDeleteAllowed(host::Operation& operation, const QString& key);
    // The tree has been built (the root and its entities), before the root is
    // selected: a window may add items of its own under `root`.
    virtual void treeBuilt(QTreeWidgetItem* root);
    // Button 2 (posted): rename unless the window says otherwise.
    virtual void button2Event();
    virtual void button4Clicked() {}
    virtual void button5Clicked() {}

    // Posts a call: it runs after the current event handler has returned.
    void post(std::function<void()> event);
    // Adds an entity item under the root, as its last child.
    QTreeWidgetItem* addTreeChild(const QString& label, const QString& key);

private:
    QPushButton* makeButton(const PictureButton& spec, bool enabled);
    void setListButtons(bool hit, int index);
    // After a delete: the list's selection cleared, the tree's item current.
    void selectionBackToTree();
    // Whether a picture button is enabled for the operator (`modify`: level 2).
    bool buttonAllowed(const QPushButton* button, bool modify) const;
    void refillList(QTreeWidgetItem* item);
    // How an operation of runOperation ended.
    enum class Outcome {
        Done,
        Failed,        // refused (rolled back), the reason shown
        ChangedRead,   // a row changed meanwhile: the operator chose to read again
        ChangedKept,   // a row changed meanwhile: the operator chose not to
    };
    // Runs the statements as one operation; Failed (rolled back, the reason
    // shown) when one fails or the COMMIT is refused; `guarded`: or when it
    // would leave nobody able to administer rights; `allowed`, asked before
    // the first statement: or when it says no. A statement that must find a
    // row and finds none (changed or deleted meanwhile, compared with `shown`,
    // the label the operator saw) rolls everything back and asks whether to
    // read again, naming `what`.
    Outcome runOperation(const QList<Statement>& statements, const QString& name, const QString& key,
                         const QString& entityKey, const QString& shown, const QString& what, bool guarded = false,
                         const std::function<bool(host::Operation&)>& allowed = {});
    // After a rename refused because its row changed meanwhile and the
    // operator chose not to read again: the item's label (and the tree's)
    // shows the name the database holds, nothing else is read.
    void showStoredName(int index, bool entity, const QString& key);
    void onTreeSelection();
    // Tells the operator that the tree or the list could not be read.
    void reportReadFailure();
    void pbAddClicked();
    // F5 and the announced changes of other windows.
    void listenForChanges();
    // A refresh once the current event has been handled (one for many notices).
    void scheduleRefresh();

    FrameParameters params_;
    QTreeWidget* tv_1_ = nullptr;
    ListView* lv_1_ = nullptr;
    QPushButton* pb_add_ = nullptr;
    QPushButton* pb_edit_ = nullptr;
    QPushButton* pb_delete_ = nullptr;
    QPushButton* button4_ = nullptr;
    QPushButton* button5_ = nullptr;
    QPushButton* pb_close_ = nullptr;
    QLabel* st_1_ = nullptr;
    QLabel* p_1_ = nullptr;
    host::uo_dialogbar* uo_1_ = nullptr;
    QPushButton* cb_tree_ = nullptr;
    platform::DataWindow* entityView_ = nullptr;
    platform::DataWindow* memberView_ = nullptr;
    QTreeWidgetItem* selected_ = nullptr;
    bool refreshQueued_ = false;
    bool refreshAfterEdit_ = false;
};

}  // namespace common
