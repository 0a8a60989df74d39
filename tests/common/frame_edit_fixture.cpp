#include "tests/common/frame_edit_fixture.h"

#include "common/list_view.h"
#include "common/manager_frame.h"
#include "host/functions.h"
#include "host/transaction.h"
#include "host/window_registry.h"
#include "tests/support/frame_driver.h"
#include "tests/support/modal_responder.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTreeWidget>

namespace frame_test {

using testing_support::pumpEvents;

RealBoxes::RealBoxes() : before_(&host::messageService())
{
    host::setMessageService(this);
}

RealBoxes::~RealBoxes()
{
    host::setMessageService(before_);
}

host::Answer RealBoxes::show(const host::MessageBoxRequest& request)
{
    texts << request.text;
    // Leaves the box up for a few rounds of its event loop, then closes it.
    testing_support::ModalResponder responder([](QWidget* box) {
        QTest::qWait(50);
        if (auto* message = qobject_cast<QMessageBox*>(box))
            message->done(QMessageBox::Ok);
    });
    return qt_.show(request);
}

std::string FrameEditTest::caseName(const ::testing::TestParamInfo<ParamType>& info)
{
    return std::string(std::get<0>(info.param).name) +
           (std::get<1>(info.param) == testing_support::Backend::Sqlite ? "Sqlite" : "Postgres");
}

void FrameEditTest::SetUp()
{
    DbFixture::SetUp();
    if (HasFatalFailure() || IsSkipped())
        return;
    loadSample();
    mc().registerWindows();
}

void FrameEditTest::TearDown()
{
    host::WindowRegistry::closeAll();
    pumpEvents();
    host::gs_user_id = QStringLiteral("admin");
    DbFixture::TearDown();
}

common::ManagerFrame* FrameEditTest::openManager()
{
    frame_ = qobject_cast<common::ManagerFrame*>(host::WindowRegistry::open(QString::fromUtf8(mc().managerClass)));
    pumpEvents();
    frame_->activateWindow();
    return frame_;
}

void FrameEditTest::selectTree(const QString& data)
{
    QTreeWidgetItem* item = testing_support::treeItem(frame_, data);
    ASSERT_NE(item, nullptr) << data.toStdString();
    QTreeWidget* tree = frame_->tv_1();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
    pumpEvents();
}

int FrameEditTest::listIndex(const QString& data) const
{
    return int(testing_support::listData(frame_->lv_1()).indexOf(data)) + 1;
}

QStringList FrameEditTest::listLabels() const
{
    return testing_support::listLabels(frame_->lv_1());
}

QString FrameEditTest::treeLabel(const QString& data) const
{
    QTreeWidgetItem* item = testing_support::treeItem(frame_, data);
    return item ? item->text(0) : QString();
}

void FrameEditTest::startWithF2(int index)
{
    ASSERT_GE(index, 1);
    // A click beside the items first: a click on an item already selected
    // would itself start an edit a moment later.
    testing_support::clickItem(frame_->lv_1(), 0);
    testing_support::clickItem(frame_->lv_1(), index);
    QTest::keyClick(frame_->lv_1(), Qt::Key_F2);
    pumpEvents();  // the rename is posted
    ASSERT_NE(editor(), nullptr) << "F2 opened no editor";
}

void FrameEditTest::startWithSecondClick(int index)
{
    ASSERT_GE(index, 1);
    testing_support::clickItem(frame_->lv_1(), 0);
    testing_support::clickItem(frame_->lv_1(), index);
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    testing_support::clickItem(frame_->lv_1(), index);
    // The view waits a double click's time before it opens the editor.
    ASSERT_TRUE(QTest::qWaitFor([this] { return editor() != nullptr; }, 3000)) << "the click opened no editor";
}

QLineEdit* FrameEditTest::editor() const
{
    return frame_->lv_1()->viewport()->findChild<QLineEdit*>();
}

void FrameEditTest::type(const QString& text)
{
    QLineEdit* line = editor();
    ASSERT_NE(line, nullptr);
    line->selectAll();
    bool ascii = true;
    for (QChar c : text)
        ascii = ascii && c.unicode() < 128;
    if (ascii) {
        if (text.isEmpty())
            QTest::keyClick(line, Qt::Key_Delete);
        else
            QTest::keyClicks(line, text);
        return;
    }
    QInputMethodEvent commit;
    commit.setCommitString(text, -line->text().size(), int(line->text().size()));
    QCoreApplication::sendEvent(line, &commit);
}

void FrameEditTest::finishWith(Qt::Key key)
{
    QLineEdit* line = editor();
    ASSERT_NE(line, nullptr);
    QTest::keyClick(line, key);
    ASSERT_TRUE(QTest::qWaitFor([this] { return editor() == nullptr; }, 3000)) << "the editor stayed";
    pumpEvents();
}

void FrameEditTest::finishWithClickElsewhere()
{
    // A click on the tree item whose list is shown takes the focus away
    // without changing what the list shows.
    ASSERT_NE(editor(), nullptr);
    QTreeWidget* tree = frame_->tv_1();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(frame_->currentTreeItem()).center());
    ASSERT_TRUE(QTest::qWaitFor([this] { return editor() == nullptr; }, 3000)) << "the editor stayed";
    pumpEvents();
}

QString FrameEditTest::stored(const QString& table, const QString& column, const QString& keyColumn,
                              const QString& key)
{
    return value(QStringLiteral("select %1 from %2 where %3 = ?").arg(column, table, keyColumn), {key}).toString();
}

void FrameEditTest::otherClient(const QString& sql, const QVariantList& params)
{
    host::Transaction other;
    ASSERT_TRUE(other.connect(url())) << other.sqlerrtext.toStdString();
    ASSERT_EQ(other.execute(sql, params), 0) << other.sqlerrtext.toStdString();
    ASSERT_EQ(other.commit(), 0) << other.sqlerrtext.toStdString();
}

}  // namespace frame_test
