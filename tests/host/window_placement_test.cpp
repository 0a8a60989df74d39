// Where the window registry puts windows, whom they belong to and where the
// focus goes when they close.
#include "host/w_main.h"
#include "host/window_registry.h"
#include "tests/support/modal_responder.h"

#include <QApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class PlainWindow : public host::Window {
public:
    explicit PlainWindow(QSize size) { resize(size); }
};

// The platform window of a child window is not always activated when it is
// first shown offscreen: activated as the operator's click would.
bool activate(QWidget* window)
{
    window->activateWindow();
    return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }, 1000);
}

void pump()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

class WindowPlacementTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host::WindowRegistry::registerClass("t_manager_a", [] { return new PlainWindow(QSize(400, 300)); });
        host::WindowRegistry::registerClass("t_manager_b", [] { return new PlainWindow(QSize(400, 300)); });
        host::WindowRegistry::registerClass("t_dialog", [] { return new PlainWindow(QSize(200, 100)); });
        host::WindowRegistry::registerClass("t_editor", [] { return new PlainWindow(QSize(200, 100)); });
        frame.setGeometry(20, 20, 700, 500);
        frame.show();
        ASSERT_TRUE(activate(&frame));
    }
    void TearDown() override
    {
        host::WindowRegistry::closeAll();
        pump();
    }
    host::w_main frame;
};

TEST_F(WindowPlacementTest, WindowsOpenedFromTheFrameAreCentredOverItAndCascaded)
{
    host::Window* a = host::WindowRegistry::open("t_manager_a");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->parentWidget(), &frame);
    EXPECT_LE((a->frameGeometry().center() - frame.frameGeometry().center()).manhattanLength(), 2);

    ASSERT_TRUE(activate(&frame));
    host::Window* b = host::WindowRegistry::open("t_manager_b");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->parentWidget(), &frame);
    EXPECT_EQ(b->pos(), a->pos() + QPoint(24, 24));
}

TEST_F(WindowPlacementTest, AWindowNeverOpensOffTheScreen)
{
    const QRect area = frame.screen()->availableGeometry();
    frame.move(area.right() - 100, area.bottom() - 100);
    host::Window* a = host::WindowRegistry::open("t_manager_a");
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(area.contains(a->frameGeometry())) << a->frameGeometry().x() << "," << a->frameGeometry().y();
}

TEST_F(WindowPlacementTest, ADialogBelongsToTheWindowThatOpenedItAndGivesTheFocusBack)
{
    host::Window* manager = host::WindowRegistry::open("t_manager_a");
    ASSERT_TRUE(activate(manager));

    QWidget* parent = nullptr;
    QPoint centre;
    testing_support::ModalResponder responder([&](QWidget* modal) {
        parent = modal->parentWidget();
        centre = modal->geometry().center();
        static_cast<host::Window*>(modal)->closeWithReturn("x");
    });
    EXPECT_EQ(host::WindowRegistry::openWithReturn("t_dialog"), "x");
    EXPECT_TRUE(responder.handled());
    EXPECT_EQ(parent, manager);
    EXPECT_LE((centre - manager->geometry().center()).manhattanLength(), 2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == manager; }, 1000));

    // A non-modal one as well: its owner gets the focus back when it closes.
    host::Window* dialog = host::WindowRegistry::open("t_dialog");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->parentWidget(), manager);
    ASSERT_TRUE(activate(dialog));
    dialog->close();
    pump();
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == manager; }, 1000));
}

TEST_F(WindowPlacementTest, TheWindowsOfAClosedWindowStayOpenAndPassToItsOwner)
{
    host::Window* manager = host::WindowRegistry::open("t_manager_a");
    ASSERT_TRUE(activate(manager));
    host::Window* editor = host::WindowRegistry::open("t_editor");
    ASSERT_EQ(editor->parentWidget(), manager);
    const QPoint where = editor->pos();

    EXPECT_TRUE(manager->close());
    pump();
    ASSERT_EQ(host::WindowRegistry::instance("t_editor"), editor);
    EXPECT_EQ(editor->parentWidget(), &frame);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->pos(), where);
}

}  // namespace
