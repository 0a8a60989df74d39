// Names from the database are shown as they are: markup in a group's or an
// employee's name is text, never rendered (no font change, no picture
// loaded), in the tree, the list, st_1, the message boxes and 权限矩阵's
// headers.
#include "department/w_right_department_manage.h"
#include "host/messages.h"
#include "host/window_registry.h"
#include "rightsetup/matrix_model.h"
#include "rightsetup/w_right_matrix.h"
#include "tests/support/frame_driver.h"
#include "tests/support/modal_responder.h"
#include "tests/writes/module_windows.h"
#include "usergroup/w_right_setup.h"

#include <QLabel>
#include <QMessageBox>
#include <QTextDocumentFragment>
#include <QTreeWidgetItem>

namespace {

using testing_support::Backend;

// As long as the columns allow: group names hold 30 characters, employee names 20.
const QString kMarkup = QStringLiteral("<h1>X</h1><img src=/tmp/x.png>");
const QString kShortMarkup = QStringLiteral("<b>Z</b><img src=x>");

class PlainTextTest : public writes_test::ModuleWindowsTest, public ::testing::WithParamInterface<Backend> {
public:
    Backend backend() const override { return GetParam(); }
};

TEST_P(PlainTextTest, MarkupInNamesIsShownLiterally)
{
    exec("insert into s_group (group_id, group_name) values (?, ?)", {"009", kMarkup});
    exec("update s_employee set name = ? where id = ?", {kShortMarkup, "E001"});
    ASSERT_EQ(host::sqlca.commit(), 0);

    usergroup::w_right_setup* users = this->users();
    EXPECT_EQ(treeLabel(users, "009"), kMarkup);
    EXPECT_EQ(label(users, "009"), kMarkup);
    select(users, "009");
    EXPECT_EQ(users->st_1()->textFormat(), Qt::PlainText);
    EXPECT_TRUE(users->st_1()->text().contains(kMarkup)) << users->st_1()->text().toStdString();

    // 权限矩阵's headers and their tool tips (a tool tip that looks like
    // markup would be drawn as markup).
    auto* matrix = qobject_cast<rightsetup::w_right_matrix*>(host::WindowRegistry::open("w_right_matrix"));
    ASSERT_NE(matrix, nullptr);
    const int row = matrix->model()->rowOfGroup("009");
    ASSERT_GE(row, 0);
    EXPECT_EQ(matrix->model()->headerData(row, Qt::Vertical).toString(), "009  " + kMarkup);
    const QString tip = matrix->model()->headerData(row, Qt::Vertical, Qt::ToolTipRole).toString();
    EXPECT_TRUE(QTextDocumentFragment::fromHtml(tip).toPlainText().endsWith(kMarkup)) << tip.toStdString();

    department::w_right_department_manage* departments = this->departments();
    selectTree(departments, "D01");
    EXPECT_EQ(label(departments, "E001"), kShortMarkup);
    select(departments, "E001");
    EXPECT_EQ(departments->st_1()->textFormat(), Qt::PlainText);
    EXPECT_TRUE(departments->st_1()->text().contains(kShortMarkup));
}

TEST(PlainTextBoxes, TheMessageBoxShowsItsTextAsPlainText)
{
    // The real service (no scripted one installed): a box showing a name.
    QString shown;
    Qt::TextFormat format = Qt::AutoText;
    testing_support::ModalResponder responder([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        shown = box->text();
        format = box->textFormat();
        box->accept();
    });
    host::MessageBox(QStringLiteral("提示"), kMarkup);
    EXPECT_TRUE(responder.handled());
    EXPECT_EQ(shown, kMarkup);
    EXPECT_EQ(format, Qt::PlainText);
}

WMS_INSTANTIATE_DB_TESTS(PlainTextTest);

}  // namespace
