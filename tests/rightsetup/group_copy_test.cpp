// Copying one group's rights onto another (替换 and 合并) and comparing two
// groups: the preview lists exactly what the apply writes, and a preview that
// no longer matches the database is shown again instead of being applied.
#include "tests/rightsetup/matrix_fixture.h"

#include "host/transaction.h"
#include "host/window_registry.h"
#include "rightsetup/matrix_model.h"
#include "rightsetup/w_right_group_copy.h"
#include "tests/support/frame_driver.h"
#include "tests/support/modal_responder.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTabBar>
#include <QTableWidget>
#include <QTest>

using namespace rightsetup_test;
using rightsetup::CopyMode;
using rightsetup::RightChange;

namespace {

class GroupCopyTest : public MatrixTest {
protected:
    // The copy dialog opened from the matrix (a cell of 003 current, which
    // the dialog does not take as a choice).
    void withCopyDialog(const std::function<void(rightsetup::w_right_group_copy*)>& handler)
    {
        ASSERT_NE(openMatrix(), nullptr);
        matrix->dw_matrix->setCurrentIndex(cell("003", "w201"));
        bool seen = false;
        testing_support::ModalResponder responder([&](QWidget* widget) {
            auto* dialog = qobject_cast<rightsetup::w_right_group_copy*>(widget);
            ASSERT_NE(dialog, nullptr) << "the modal window is not the copy dialog";
            seen = true;
            handler(dialog);
        });
        matrix->cb_copy->click();
        testing_support::pumpEvents();
        EXPECT_TRUE(seen);
    }
    static void choose(rightsetup::w_right_group_copy* dialog, const QString& source, const QString& target)
    {
        dialog->setSource(source);
        dialog->setTarget(target);
    }
    // Chooses `group` in `list` by typing its id, as the operator does.
    static void typeGroup(QComboBox* list, const QString& group)
    {
        list->setFocus();
        QTest::keyClicks(list, group);
        testing_support::pumpEvents();
    }
    // An Alt+letter click lands about 100 ms after the key (the button's
    // animation): give it time.
    static void settle() { QTest::qWait(300); }
    // The group's rows in `cells` (as dbCells gives them), item → level.
    static QMap<QString, QString> groupOf(const QMap<QString, QString>& cells, const QString& group)
    {
        QMap<QString, QString> rows;
        for (auto it = cells.cbegin(); it != cells.cend(); ++it)
            if (it.key().startsWith(group + "/"))
                rows.insert(it.key().mid(group.size() + 1), it.value());
        return rows;
    }
    // `cells` with `changes` applied.
    static QMap<QString, QString> applied(QMap<QString, QString> cells, const QList<RightChange>& changes)
    {
        for (const RightChange& change : changes) {
            const QString key = change.group + "/" + change.item;
            EXPECT_EQ(cells.contains(key), change.before.has_value()) << key.toStdString();
            if (change.after)
                cells[key] = *change.after;
            else
                cells.remove(key);
        }
        return cells;
    }
};

}  // namespace

TEST_P(GroupCopyTest, MergePreviewIsExactlyWhatIsAppliedAndTheGreaterLevelWins)
{
    const QMap<QString, QString> before = dbCells();
    QList<RightChange> previewed;
    withCopyDialog([&](rightsetup::w_right_group_copy* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "复制与比较操作组权限");
        choose(dialog, "003", "004");
        dialog->setMode(CopyMode::Merge);
        previewed = dialog->preview();
        // 003: w203 1, w301 1, w201 0; 004: w302 2, w301 1, m101 1.
        EXPECT_EQ(previewed, QList<RightChange>({{"004", "w201", std::nullopt, QString("0")},
                                                 {"004", "w203", std::nullopt, QString("1")}}));
        EXPECT_EQ(dialog->dw_preview->rowCount(), 2);
        EXPECT_EQ(dialog->dw_preview->item(0, 0)->text(), "w201");
        EXPECT_EQ(dialog->dw_preview->item(0, 2)->text(), "无");
        EXPECT_EQ(dialog->dw_preview->item(0, 3)->text(), "禁止");
        messages.answer(host::Answer::Yes);
        EXPECT_TRUE(dialog->apply());
        EXPECT_TRUE(dialog->preview().isEmpty());  // nothing left to merge
        dialog->cb_close->click();
    });
    EXPECT_EQ(messages.texts(), QStringList({"确定将 003 查询员 的权限复制到 004 财务组 吗?\n合并, 共 2 处修改.", "保存成功."}));
    EXPECT_EQ(dbCells(), applied(before, previewed));
    EXPECT_EQ(shown("004", "w203"), "查询");  // the matrix read it again
}

TEST_P(GroupCopyTest, MergeKeepsAHigherTargetLevelAndRaisesALowerOne)
{
    exec("update s_group_power set group_right = ? where group_id = ? and m_item_code = ?", {"2", "004", "w301"});
    exec("update s_group_power set group_right = ? where group_id = ? and m_item_code = ?", {"0", "004", "w302"});
    exec("insert into s_group_power (group_id, m_item_code, group_right) values (?, ?, ?)", {"003", "w302", "1"});
    ASSERT_EQ(host::sqlca.commit(), 0);
    const QMap<QString, QString> before = dbCells();
    QList<RightChange> previewed;
    withCopyDialog([&](rightsetup::w_right_group_copy* dialog) {
        choose(dialog, "003", "004");
        previewed = dialog->preview();
        EXPECT_EQ(previewed, QList<RightChange>({{"004", "w201", std::nullopt, QString("0")},
                                                 {"004", "w203", std::nullopt, QString("1")},
                                                 {"004", "w302", QString("0"), QString("1")}}));
        messages.answer(host::Answer::Yes);
        EXPECT_TRUE(dialog->apply());
    });
    const QMap<QString, QString> after = dbCells();
    EXPECT_EQ(after, applied(before, previewed));
    EXPECT_EQ(after.value("004/w301"), "2");
    EXPECT_EQ(after.value("004/m101"), "1");  // the target's own rows stay
}

TEST_P(GroupCopyTest, ReplaceLeavesTheTargetWithExactlyTheSourcesRows)
{
    const QMap<QString, QString> before = dbCells();
    QList<RightChange> previewed;
    withCopyDialog([&](rightsetup::w_right_group_copy* dialog) {
        choose(dialog, "002", "004");
        dialog->setMode(CopyMode::Replace);
        previewed = dialog->preview();
        EXPECT_EQ(previewed.size(), 5 + 2);  // five added, m101 and w302 taken away; w301 is equal
        EXPECT_EQ(dialog->dw_preview->rowCount(), previewed.size());
        messages.answer(host::Answer::Yes);
        EXPECT_TRUE(dialog->apply());
    });
    const QMap<QString, QString> after = dbCells();
    EXPECT_EQ(after, applied(before, previewed));
    EXPECT_EQ(groupOf(after, "004"), groupOf(before, "002"));
    EXPECT_EQ(groupOf(after, "002"), groupOf(before, "002"));
}

TEST_P(GroupCopyTest, APreviewTheDatabaseNoLongerMatchesIsShownAgainNotApplied)
{
    QMap<QString, QString> before;
    withCopyDialog([&](rightsetup::w_right_group_copy* dialog) {
        choose(dialog, "003", "004");
        dialog->setMode(CopyMode::Replace);
        const QList<RightChange> first = dialog->preview();
        host::Transaction other;
        ASSERT_TRUE(other.connect(url()));
        ASSERT_EQ(other.execute("insert into s_group_power (group_id, m_item_code, group_right) values (?, ?, ?)",
                                {"004", "w205", "2"}),
                  0);
        ASSERT_EQ(other.commit(), 0);
        before = dbCells();
        messages.answer(host::Answer::Yes);  // the question
        messages.answer(host::Answer::Yes);  // read again
        EXPECT_FALSE(dialog->apply());
        EXPECT_EQ(dbCells(), before);
        EXPECT_EQ(dialog->preview().size(), first.size() + 1);  // the new row is to go as well
        EXPECT_TRUE(messages.texts().value(1).contains("已被其他用户修改"));
    });
}

TEST_P(GroupCopyTest, ARefusedCopyWritesNothing)
{
    const QMap<QString, QString> before = dbCells();
    withCopyDialog([&](rightsetup::w_right_group_copy* dialog) {
        choose(dialog, "002", "004");
        dialog->setMode(CopyMode::Replace);
        refuse("delete", "s_group_power");
        messages.answer(host::Answer::Yes);
        EXPECT_FALSE(dialog->apply());
        EXPECT_FALSE(dialog->applied());
        EXPECT_FALSE(dialog->preview().isEmpty());
    });
    ASSERT_EQ(messages.shown().size(), 2);
    EXPECT_EQ(messages.shown().last().title, "数据库错误");
    EXPECT_EQ(dbCells(), before);
}

TEST_P(GroupCopyTest, CompareShowsBothGroupsSideBySideWithTheDifferencesMarked)
{
    withCopyDialog([&](rightsetup::w_right_group_copy* dialog) {
        choose(dialog, "002", "003");
        dialog->tab_pages->setCurrentWidget(dialog->dw_compare);
        // 002: w201 2, w202 2, w203 1, w204 2, w205 0, w301 1; 003: w201 0, w203 1, w301 1.
        QTableWidget* table = dialog->dw_compare;
        ASSERT_EQ(table->rowCount(), 6);
        QStringList differing;
        for (int r = 0; r < table->rowCount(); ++r) {
            const bool marked = table->item(r, 4)->text() == "≠";
            EXPECT_EQ(marked, table->item(r, 0)->background().style() != Qt::NoBrush) << r;
            if (marked)
                differing << table->item(r, 0)->text() + ":" + table->item(r, 2)->text() + "/" +
                                 table->item(r, 3)->text();
        }
        EXPECT_EQ(differing, QStringList({"w201:修改/禁止", "w202:修改/无", "w204:修改/无", "w205:禁止/无"}));
        EXPECT_EQ(dialog->st_summary->text(), "两组有 4 项权限不同 (已标出).");
    });
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_P(GroupCopyTest, CopyWaitsWhileTheMatrixHoldsUnsavedEdits)
{
    ASSERT_NE(openMatrix(), nullptr);
    press("003", "w202", Qt::Key_2);
    matrix->cb_copy->click();
    EXPECT_EQ(messages.texts(), QStringList({"矩阵中有未保存的修改, 请先保存或重新读取."}));
    EXPECT_EQ(host::WindowRegistry::instance("w_right_group_copy"), nullptr);
}

TEST_P(GroupCopyTest, AtLevelOneGroupsAreComparedButNothingIsCopied)
{
    loginWithLevel("E001", "002", "1");
    const QMap<QString, QString> before = dbCells();
    withCopyDialog([&](rightsetup::w_right_group_copy* dialog) {
        choose(dialog, "002", "004");
        EXPECT_FALSE(dialog->preview().isEmpty());
        EXPECT_FALSE(dialog->cb_apply->isEnabled());
        EXPECT_GT(dialog->dw_compare->rowCount(), 0);
        EXPECT_FALSE(dialog->apply());
    });
    EXPECT_EQ(messages.texts(), QStringList({"当前操作员没有修改权限, 不能进行此操作."}));
    EXPECT_EQ(dbCells(), before);
}

TEST_P(GroupCopyTest, NothingIsChosenUntilTheOperatorChoosesAndOneGroupIsNotCopiedOntoItself)
{
    const QMap<QString, QString> before = dbCells();
    withCopyDialog([&](rightsetup::w_right_group_copy* dialog) {
        EXPECT_EQ(dialog->ddlb_source->currentIndex(), -1);
        EXPECT_EQ(dialog->ddlb_target->currentIndex(), -1);
        EXPECT_TRUE(dialog->preview().isEmpty());
        EXPECT_EQ(dialog->dw_preview->rowCount(), 0);
        EXPECT_EQ(dialog->dw_compare->rowCount(), 0);
        EXPECT_FALSE(dialog->cb_apply->isEnabled());
        EXPECT_EQ(dialog->st_summary->text(), "请选择源组和目标组.");

        typeGroup(dialog->ddlb_source, "003");
        EXPECT_EQ(dialog->ddlb_source->currentData().toString(), "003");
        EXPECT_EQ(dialog->ddlb_target->currentIndex(), -1);
        EXPECT_FALSE(dialog->cb_apply->isEnabled());

        typeGroup(dialog->ddlb_target, "003");
        EXPECT_EQ(dialog->st_summary->text(), "源组和目标组是同一个操作组, 请选择另一个目标组.");
        EXPECT_TRUE(dialog->preview().isEmpty());
        EXPECT_FALSE(dialog->cb_apply->isEnabled());
        EXPECT_FALSE(dialog->apply());
        EXPECT_EQ(messages.texts(), QStringList({"源组和目标组是同一个操作组, 请选择另一个目标组."}));

        QTest::qWait(500);  // a new keyboard search, not "003004"
        typeGroup(dialog->ddlb_target, "004");
        EXPECT_EQ(dialog->ddlb_target->currentData().toString(), "004");
        EXPECT_EQ(dialog->preview().size(), 2);
        EXPECT_TRUE(dialog->cb_apply->isEnabled());
        EXPECT_EQ(dialog->st_summary->text(), "合并到目标组将进行 2 项修改.");
    });
    EXPECT_EQ(dbCells(), before);
}

TEST_P(GroupCopyTest, TheComparePageNeverAppliesAndTheCopyPageAsksFirst)
{
    const QMap<QString, QString> before = dbCells();
    withCopyDialog([&](rightsetup::w_right_group_copy* dialog) {
        choose(dialog, "002", "004");
        dialog->setMode(CopyMode::Replace);
        ASSERT_FALSE(dialog->preview().isEmpty());
        QTabBar* tabs = dialog->tab_pages->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
        testing_support::pumpEvents();
        ASSERT_EQ(dialog->tab_pages->currentWidget(), dialog->dw_compare);
        EXPECT_FALSE(dialog->cb_apply->isVisible());
        EXPECT_FALSE(dialog->cb_apply->isEnabled());
        dialog->dw_compare->setFocus();
        QTest::keyClick(dialog->dw_compare, Qt::Key_Return);
        QTest::keyClick(dialog->dw_compare, Qt::Key_Enter);
        QTest::keyClick(dialog, Qt::Key_Return);
        QTest::keyClick(dialog->dw_compare, Qt::Key_A, Qt::AltModifier);
        settle();
        EXPECT_TRUE(messages.shown().isEmpty()) << messages.texts().join("|").toStdString();
        EXPECT_FALSE(dialog->apply());
        EXPECT_FALSE(dialog->applied());
        EXPECT_EQ(dbCells(), before);

        // The same keys on the 复制 page reach 应用, which asks; 否 (also the
        // default) writes nothing.
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
        testing_support::pumpEvents();
        ASSERT_TRUE(dialog->cb_apply->isVisible());
        ASSERT_TRUE(dialog->cb_apply->isEnabled());
        messages.answer(host::Answer::No);
        QTest::keyClick(dialog->dw_preview, Qt::Key_A, Qt::AltModifier);
        settle();
        ASSERT_EQ(messages.shown().size(), 1);
        const testing_support::ShownBox& box = messages.shown().first();
        EXPECT_EQ(box.title, "提示");
        EXPECT_EQ(box.text, QString("确定将 002 仓库管理员 的权限复制到 004 财务组 吗?\n替换, 共 %1 处修改.")
                                .arg(dialog->preview().size()));
        EXPECT_EQ(box.icon, host::Icon::Question);
        EXPECT_EQ(box.buttons, host::Buttons::YesNo);
        EXPECT_EQ(box.defaultButton, host::Answer::No);
        EXPECT_FALSE(dialog->applied());
        EXPECT_EQ(dbCells(), before);
        EXPECT_TRUE(dialog->cb_apply->isEnabled());  // the list stays, to be applied later
    });
    EXPECT_EQ(dbCells(), before);
}

TEST_P(GroupCopyTest, AfterYesTheDatabaseHoldsExactlyTheListedChanges)
{
    const QMap<QString, QString> before = dbCells();
    QList<RightChange> previewed;
    QStringList listed;
    withCopyDialog([&](rightsetup::w_right_group_copy* dialog) {
        typeGroup(dialog->ddlb_source, "002");
        typeGroup(dialog->ddlb_target, "003");
        QTest::mouseClick(dialog->rb_replace, Qt::LeftButton);
        previewed = dialog->preview();
        for (int r = 0; r < dialog->dw_preview->rowCount(); ++r)
            listed << dialog->dw_preview->item(r, 0)->text() + ":" + dialog->dw_preview->item(r, 3)->text();
        messages.answer(host::Answer::Yes);
        QTest::mouseClick(dialog->cb_apply, Qt::LeftButton);
        testing_support::pumpEvents();
        EXPECT_TRUE(dialog->applied());
        EXPECT_TRUE(dialog->preview().isEmpty());
        EXPECT_FALSE(dialog->cb_apply->isEnabled());
    });
    // 002: w201 2, w202 2, w203 1, w204 2, w205 0, w301 1; 003: w201 0, w203 1, w301 1.
    EXPECT_EQ(listed, QStringList({"w201:修改", "w202:修改", "w204:修改", "w205:禁止"}));
    EXPECT_EQ(messages.texts(), QStringList({"确定将 002 仓库管理员 的权限复制到 003 查询员 吗?\n替换, 共 4 处修改.",
                                             "保存成功."}));
    const QMap<QString, QString> after = dbCells();
    EXPECT_EQ(after, applied(before, previewed));
    EXPECT_EQ(groupOf(after, "003"), groupOf(before, "002"));
}

WMS_INSTANTIATE_DB_TESTS(GroupCopyTest);
