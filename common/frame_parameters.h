#pragma once
// The values that make one manager window out of the tree-and-list frame:
// captions, sizes, the data views and columns it reads, its pictures, its
// root-only buttons, the roles of its popup menu commands and the statements
// of its renames and deletions.

#include "common/export.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace common {

// A position and size in layout units.
struct WMS_COMMON_EXPORT Place {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// A picture button: objectName, picture name ("..\pic\x.bmp"), tooltip, place.
struct WMS_COMMON_EXPORT PictureButton {
    QString name;
    QString picture;
    QString tooltip;
    Place place;
};

// What a statement binds to its `?` placeholders, in order.
enum class Arg {
    Name,       // the label typed in the list
    Key,        // the data of the list item
    EntityKey,  // the data of the current tree item
};

// A statement of a rename or delete. The statement on the entity or member
// itself must change a row: when it finds none (another client changed or
// deleted the row meanwhile) the whole operation is undone and the operator
// is asked whether to read again. Statements that only remove rows that hang
// on it (memberships, rights) may find nothing.
//
// `shownColumn`: the column the list's label shows. The statement's condition
// (which must come last in `sql`) is extended with it, compared with the label
// the operator saw ("and trim(col) = ?", "col is null" for an empty label),
// so that a name another client changed meanwhile is neither replaced nor
// deleted unseen.
struct WMS_COMMON_EXPORT Statement {
    QString sql;
    QList<Arg> args;
    bool mayMatchNothing = false;
    QString shownColumn = {};
};

// Which popup menu command plays which part (by the action's objectName).
// A command in no role (a separator) is hidden whatever the list shows.
struct WMS_COMMON_EXPORT MenuRoles {
    QString entityAdd;
    QStringList entityCommands;
    QString memberAdd;
    QStringList memberCommands;
    QStringList rootOnly;
    // Shown and enabled whatever the list shows and whether an item was hit.
    QStringList anywhere;
    // Commands that only show data: they stay enabled for an operator who
    // may only look (level 1); every other command changes data.
    QStringList viewCommands;
};

struct WMS_COMMON_EXPORT FrameParameters {
    QString title;
    QString tag;
    int width = 0;   // layout units
    int height = 0;
    bool minMaxResizable = false;  // false: as w_father has it

    QString rootLabel;

    // The hidden data views.
    QString entityView;        // "dw_group"
    QString entityDataObject;  // "d_right_group"
    QString entityKeyColumn;
    QString entityNameColumn;
    Place entityViewPlace;
    QString memberView;
    QString memberDataObject;
    Place memberViewPlace;
    // The member filter is memberFilterColumn = 'entity key'; members are read
    // from memberKeyColumn and memberNameColumn (both trimmed) unless the
    // window reads them itself.
    QString memberFilterColumn;
    QString memberKeyColumn;
    QString memberNameColumn;
    // What an entity and a member are called in messages ("操作组", "员工").
    QString entityNoun;
    QString memberNoun;
    // The name an entity's and a member's label shows, read by key (the
    // single parameter), e.g. "select group_name from s_group where group_id = ?".
    QString entityNameQuery;
    QString memberNameQuery;

    // Tree pictures: root, entity, selected item. List pictures: entity, member.
    QStringList treePictures;
    QStringList listPictures;

    PictureButton add;
    PictureButton edit;
    PictureButton remove;
    PictureButton button4;
    PictureButton button5;
    PictureButton close;
    // Picture buttons (by objectName) that only show data; the others change
    // data and need level 2 (close is always enabled).
    QStringList viewButtons;

    Place st_1;
    Place p_1;
    QString p_1Picture;
    Place tv_1;
    Place uo_1;
    Place lv_1;
    Place cb_tree;

    MenuRoles menuRoles;

    // Dialogs opened by pb_add: at the root, and under an entity.
    QString entityAddWindow;
    QString memberAddWindow;

    Statement renameEntity;
    Statement renameMember;
    // Shown (f_box) when a rename would leave an entity or a member without
    // a name; the add dialogs' words.
    QString blankEntityName;
    QString blankMemberName;
    // Run in order, in one transaction.
    QList<Statement> deleteMember;
    QList<Statement> deleteEntity;
    // Asked before an entity is deleted, after the common question; empty: none.
    QString deleteEntityQuestion;

    // A double click opens an entity only while the root is current.
    bool doubleClickOnlyAtRoot = false;
};

}  // namespace common
