#include "common/manager_frame.h"

#include "common/journal_notice.h"

#include "common/fonts.h"
#include "common/levels.h"
#include "common/pictures.h"
#include "host/filter.h"
#include "host/functions.h"
#include "host/help.h"
#include "host/messages.h"
#include "host/transaction.h"
#include "host/units.h"
#include "host/uo_dialogbar.h"
#include "host/w_main.h"
#include "host/window_registry.h"
#include "platform/datawindow.h"
#include "platform/expression.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>

namespace common {

namespace {

constexpr int kDataRole = Qt::UserRole;
const QString kRootData = QStringLiteral("000");

// The resize handler keeps the tree and list this far above the bottom, and
// the list this far from the right edge (layout units).
constexpr int kBottomMargin = 150;
constexpr int kRightMargin = 40;

}  // namespace

ManagerFrame::ManagerFrame(FrameParameters parameters, QWidget* parent)
    : host::w_father(parent), params_(std::move(parameters))
{
    setWindowTitle(params_.title);
    setTag(params_.tag);
    resize(host::unitsSize(params_.width, params_.height));
    if (params_.minMaxResizable)
        setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setFont(songti(9));

    pb_add_ = makeButton(params_.add, true);
    pb_edit_ = makeButton(params_.edit, false);
    pb_delete_ = makeButton(params_.remove, false);
    button4_ = makeButton(params_.button4, false);
    button5_ = makeButton(params_.button5, false);
    pb_close_ = makeButton(params_.close, true);

    st_1_ = new QLabel(this);
    st_1_->setObjectName(QStringLiteral("st_1"));
    st_1_->setTextFormat(Qt::PlainText);  // codes and names from the database
    st_1_->setFocusPolicy(Qt::NoFocus);
    st_1_->setAutoFillBackground(true);
    st_1_->setBackgroundRole(QPalette::Button);
    st_1_->setForegroundRole(QPalette::WindowText);
    host::placeUnits(st_1_, params_.st_1.x, params_.st_1.y, params_.st_1.width, params_.st_1.height);

    p_1_ = new QLabel(this);
    p_1_->setObjectName(QStringLiteral("p_1"));
    p_1_->setFocusPolicy(Qt::NoFocus);
    p_1_->setPixmap(picture(params_.p_1Picture));
    p_1_->setScaledContents(true);
    host::placeUnits(p_1_, params_.p_1.x, params_.p_1.y, params_.p_1.width, params_.p_1.height);

    tv_1_ = new QTreeWidget(this);
    tv_1_->setObjectName(QStringLiteral("tv_1"));
    tv_1_->setHeaderHidden(true);
    tv_1_->setColumnCount(1);
    tv_1_->setRootIsDecorated(true);
    tv_1_->setSelectionMode(QAbstractItemView::SingleSelection);
    tv_1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tv_1_->setFrameShadow(QFrame::Sunken);
    tv_1_->setIconSize(QSize(16, 16));
    host::placeUnits(tv_1_, params_.tv_1.x, params_.tv_1.y, params_.tv_1.width, params_.tv_1.height);
    connect(tv_1_, &QTreeWidget::itemSelectionChanged, this, &ManagerFrame::onTreeSelection);

    lv_1_ = new ListView(this);
    lv_1_->setObjectName(QStringLiteral("lv_1"));
    QList<QIcon> listIcons;
    for (const QString& name : params_.listPictures)
        listIcons << QIcon(picture(name));
    lv_1_->setPictures(listIcons);
    host::placeUnits(lv_1_, params_.lv_1.x, params_.lv_1.y, params_.lv_1.width, params_.lv_1.height);
    connect(lv_1_, &ListView::clickedAt, this, &ManagerFrame::lv1Clicked);
    connect(lv_1_, &ListView::rightClickedAt, this, &ManagerFrame::lv1RightClicked);
    connect(lv_1_, &ListView::doubleClickedAt, this, &ManagerFrame::lv1DoubleClicked);
    connect(lv_1_, &ListView::endLabelEdit, this, &ManagerFrame::lv1EndLabelEdit);
    connect(lv_1_, &ListView::itemChangedAt, this, &ManagerFrame::lv1ItemChanged);
    connect(lv_1_, &ListView::loseFocus, this, &ManagerFrame::lv1LoseFocus);
    connect(lv_1_, &ListView::deleteKeyPressed, this, [this] { post([this] { ue_delete_lvi(); }); });
    connect(lv_1_, &ListView::renameKeyPressed, this, [this] { post([this] { ue_rename(); }); });

    uo_1_ = new host::uo_dialogbar(this);
    uo_1_->setObjectName(QStringLiteral("uo_1"));
    uo_1_->move(host::unitsToPixelsX(params_.uo_1.x), host::unitsToPixelsY(params_.uo_1.y));

    cb_tree_ = new QPushButton(QStringLiteral("none"), this);
    cb_tree_->setObjectName(QStringLiteral("cb_tree"));
    cb_tree_->setFont(arial(10));
    host::placeUnits(cb_tree_, params_.cb_tree.x, params_.cb_tree.y, params_.cb_tree.width,
                     params_.cb_tree.height);
    cb_tree_->setVisible(false);
    connect(cb_tree_, &QPushButton::clicked, this, &ManagerFrame::buildTree);

    entityView_ = new platform::DataWindow(this);
    entityView_->setObjectName(params_.entityView);
    entityView_->setDataObject(params_.entityDataObject);
    host::placeUnits(entityView_, params_.entityViewPlace.x, params_.entityViewPlace.y,
                     params_.entityViewPlace.width, params_.entityViewPlace.height);
    entityView_->setVisible(false);

    memberView_ = new platform::DataWindow(this);
    memberView_->setObjectName(params_.memberView);
    memberView_->setDataObject(params_.memberDataObject);
    host::placeUnits(memberView_, params_.memberViewPlace.x, params_.memberViewPlace.y,
                     params_.memberViewPlace.width, params_.memberViewPlace.height);
    memberView_->setVisible(false);

    connect(pb_add_, &QPushButton::clicked, this, &ManagerFrame::pbAddClicked);
    connect(pb_edit_, &QPushButton::clicked, this, [this] { post([this] { button2Event(); }); });
    connect(pb_delete_, &QPushButton::clicked, this, [this] { post([this] { ue_delete_lvi(); }); });
    connect(button4_, &QPushButton::clicked, this, [this] { button4Clicked(); });
    connect(button5_, &QPushButton::clicked, this, [this] { button5Clicked(); });
    connect(pb_close_, &QPushButton::clicked, this, &QWidget::close);
    listenForChanges();
}

ManagerFrame::~ManagerFrame() = default;

QPushButton* ManagerFrame::makeButton(const PictureButton& spec, bool enabled)
{
    auto* button = new QPushButton(this);
    button->setObjectName(spec.name);
    button->setToolTip(spec.tooltip);
    const QPixmap pixmap = picture(spec.picture);
    button->setIcon(QIcon(pixmap));
    button->setIconSize(pixmap.size());
    button->setFlat(true);
    button->setAutoDefault(false);
    button->setEnabled(enabled);
    host::placeUnits(button, spec.place.x, spec.place.y, spec.place.width, spec.place.height);
    return button;
}

// --- tree ------------------------------------------------------------------

QTreeWidgetItem* ManagerFrame::currentTreeItem() const
{
    const QList<QTreeWidgetItem*> selected = tv_1_->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

int ManagerFrame::level(const QTreeWidgetItem* item)
{
    if (!item)
        return 0;
    int depth = 1;
    for (const QTreeWidgetItem* up = item->parent(); up; up = up->parent())
        ++depth;
    return depth;
}

QString ManagerFrame::itemData(const QTreeWidgetItem* item)
{
    return item ? item->data(0, kDataRole).toString() : QString();
}

QTreeWidgetItem* ManagerFrame::rootItem() const
{
    return tv_1_->topLevelItemCount() > 0 ? tv_1_->topLevelItem(0) : nullptr;
}

void ManagerFrame::selectTreeItem(QTreeWidgetItem* item)
{
    tv_1_->setCurrentItem(item);
    item->setSelected(true);
}

QTreeWidgetItem* ManagerFrame::addTreeChild(const QString& label, const QString& key)
{
    QTreeWidgetItem* root = rootItem();
    if (!root)
        return nullptr;
    auto* child = new QTreeWidgetItem(QStringList{label});
    child->setData(0, kDataRole, key);
    child->setIcon(0, treeIcon(params_.treePictures.value(1), params_.treePictures.value(2)));
    child->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
    root->addChild(child);
    return child;
}

void ManagerFrame::buildTree()
{
    {
        const QSignalBlocker blocker(tv_1_);
        while (tv_1_->topLevelItemCount() > 0)
            delete tv_1_->takeTopLevelItem(0);
        selected_ = nullptr;
    }
    auto* root = new QTreeWidgetItem(QStringList{params_.rootLabel});
    root->setData(0, kDataRole, kRootData);
    root->setIcon(0, treeIcon(params_.treePictures.value(0), params_.treePictures.value(2)));
    root->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    tv_1_->addTopLevelItem(root);

    entityView_->setTransObject(host::sqlca);
    if (entityView_->retrieve() < 0)
        reportReadFailure();
    QString previous;
    const long rows = entityView_->rowCount();
    for (long row = 1; row <= rows; ++row) {
        const QString key = host::trimBlanks(entityView_->getItemString(row, params_.entityKeyColumn));
        if (key == previous)
            continue;
        previous = key;
        addTreeChild(host::trimBlanks(entityView_->getItemString(row, params_.entityNameColumn)), key);
    }
    treeBuilt(root);
    root->setExpanded(true);
    selectTreeItem(root);
}

void ManagerFrame::treeBuilt(QTreeWidgetItem*) {}

void ManagerFrame::onTreeSelection()
{
    QTreeWidgetItem* now = currentTreeItem();
    // A rename ended by this click belongs to the list shown so far.
    lv_1_->deliverPendingEdits();
    QTreeWidgetItem* before = selected_;
    selected_ = now;
    tv1SelectionChanged(before, now);
}

void ManagerFrame::tv1SelectionChanged(QTreeWidgetItem* oldItem, QTreeWidgetItem* newItem)
{
    if (oldItem == newItem)
        return;
    pb_edit_->setEnabled(false);
    pb_delete_->setEnabled(false);
    button4_->setEnabled(false);
    button5_->setEnabled(false);
    lv_1_->deleteItems();
    refillList(newItem);
}

void ManagerFrame::refillList(QTreeWidgetItem* item)
{
    switch (level(item)) {
    case 1: {
        button4_->setVisible(true);
        button5_->setVisible(true);
        if (entityView_->retrieve() < 0)
            reportReadFailure();
        const long rows = entityView_->rowCount();
        QList<ListView::Entry> entries;
        entries.reserve(rows);
        for (long row = 1; row <= rows; ++row) {
            const QString key = host::trimBlanks(entityView_->getItemString(row, params_.entityKeyColumn));
            const QString name = host::trimBlanks(entityView_->getItemString(row, params_.entityNameColumn));
            entries.append({name, key, 1});
        }
        lv_1_->addItems(entries);
        break;
    }
    case 2: {
        button4_->setVisible(false);
        button5_->setVisible(false);
        if (host::f_filter(*memberView_, memberFilter(itemData(item))) < 0)
            reportReadFailure();
        beforeReadMembers(itemData(item));
        const long rows = memberView_->rowCount();
        QList<ListView::Entry> entries;
        entries.reserve(rows);
        for (long row = 1; row <= rows; ++row) {
            QString key;
            QString name;
            readMember(row, &key, &name);
            entries.append({name, key, 2});
        }
        lv_1_->addItems(entries);
        break;
    }
    default:
        break;
    }
}

void ManagerFrame::reportReadFailure()
{
    // An empty list must never stand for a read that failed.
    host::databaseErrorBox(host::sqlca.sqlerrtext);
}

QString ManagerFrame::memberFilter(const QString& entityKey) const
{
    return params_.memberFilterColumn + QStringLiteral(" = ") + platform::quoteLiteral(entityKey);
}

void ManagerFrame::beforeReadMembers(const QString&) {}

void ManagerFrame::readMember(long row, QString* key, QString* name)
{
    *key = host::trimBlanks(memberView_->getItemString(row, params_.memberKeyColumn));
    *name = host::trimBlanks(memberView_->getItemString(row, params_.memberNameColumn));
}

QTreeWidgetItem* ManagerFrame::wf_insert_tvi(const QString& as_label, const QString& as_data)
{
    QTreeWidgetItem* root = rootItem();
    if (!root)
        return nullptr;
    addTreeChild(as_label, as_data);
    lv_1_->addItem(as_label, as_data, 1);
    return root->child(root->childCount() - 1);
}

// --- list ------------------------------------------------------------------

bool ManagerFrame::buttonAllowed(const QPushButton* button, bool modify) const
{
    return modify || params_.viewButtons.contains(button->objectName());
}

void ManagerFrame::setListButtons(bool hit, int index)
{
    const bool modify = canModify(this);
    pb_add_->setEnabled(buttonAllowed(pb_add_, modify));
    pb_edit_->setEnabled(hit && buttonAllowed(pb_edit_, modify));
    pb_delete_->setEnabled(hit && buttonAllowed(pb_delete_, modify));
    button4_->setEnabled(hit && buttonAllowed(button4_, modify));
    button5_->setEnabled(hit && buttonAllowed(button5_, modify));
    if (hit)
        lv1ItemChanged(index);
    else
        st_1_->setText(QString());
}

void ManagerFrame::lv1Clicked(int index)
{
    setListButtons(lv_1_->totalItems() > 0 && index >= 1, index);
}

void ManagerFrame::lv1ItemChanged(int index)
{
    if (index < 1 || index > lv_1_->totalItems())
        return;
    st_1_->setText(QStringLiteral("编号：") + lv_1_->data(index) + QStringLiteral(", 名称：") +
                   lv_1_->label(index));
}

void ManagerFrame::lv1LoseFocus()
{
    st_1_->setText(QString());
}

std::unique_ptr<PopupMenu> ManagerFrame::popupMenuFor(int index)
{
    std::unique_ptr<PopupMenu> menu = createPopupMenu();
    const bool hit = lv_1_->totalItems() > 0 && index >= 1;
    menu->applyRoles(params_.menuRoles, level(currentTreeItem()) == 1, hit);
    if (!canModify(this)) {
        // An operator who may only look keeps the commands that show data.
        for (QAction* command : menu->commands())
            if (!params_.menuRoles.viewCommands.contains(command->objectName()))
                command->setEnabled(false);
    }
    return menu;
}

void ManagerFrame::lv1RightClicked(int index)
{
    std::unique_ptr<PopupMenu> menu = popupMenuFor(index);
    setListButtons(lv_1_->totalItems() > 0 && index >= 1, index);
    menu->topItem()->exec(host::popupPosition());
}

void ManagerFrame::lv1DoubleClicked(int index)
{
    if (index < 1)
        return;
    QTreeWidgetItem* current = currentTreeItem();
    if (!current || (params_.doubleClickOnlyAtRoot && level(current) != 1))
        return;
    const QString key = lv_1_->data(index);
    for (int i = 0; i < current->childCount(); ++i) {
        QTreeWidgetItem* child = current->child(i);
        if (itemData(child) == key) {
            selectTreeItem(child);
            return;
        }
    }
}

// --- window ----------------------------------------------------------------

void ManagerFrame::openEvent(const QString& parameter)
{
    host::w_father::openEvent(parameter);
    uo_1_->init(tv_1_, lv_1_, true);
    cb_tree_->click();
    pb_add_->setEnabled(buttonAllowed(pb_add_, canModify(this)));
    tellIfJournalOff();
}

void ManagerFrame::resizeWindow(int newWidth, int newHeight)
{
    host::w_father::resizeWindow(newWidth, newHeight);
    if (!tv_1_)
        return;
    const int treeHeight = heightUnits() - host::pixelsToUnitsY(tv_1_->y()) - kBottomMargin;
    const int listWidth = widthUnits() - host::pixelsToUnitsX(lv_1_->x()) - kRightMargin;
    tv_1_->resize(tv_1_->width(), std::max(0, host::unitsToPixelsY(treeHeight)));
    lv_1_->resize(std::max(0, host::unitsToPixelsX(listWidth)), tv_1_->height());
    p_1_->setGeometry(host::unitsToPixelsX(1), p_1_->y(), width(), p_1_->height());
    uo_1_->moveBorder(uo_1_->x());
}

void ManagerFrame::keyEvent(int key, Qt::KeyboardModifiers modifiers)
{
    host::w_father::keyEvent(key, modifiers);
    if (key == Qt::Key_F1)
        showHelp();
}

void ManagerFrame::showHelp()
{
    host::htmlhelpa(this, host::kHelpFile, 0, windowTitle() + QStringLiteral(".mht"));
}

void ManagerFrame::pbAddClicked()
{
    if (!ensureCanModify(this))
        return;
    if (level(currentTreeItem()) == 1)
        host::WindowRegistry::open(params_.entityAddWindow);
    else
        host::WindowRegistry::open(params_.memberAddWindow);
}

void ManagerFrame::post(std::function<void()> event)
{
    QMetaObject::invokeMethod(this, std::move(event), Qt::QueuedConnection);
}

}  // namespace common
