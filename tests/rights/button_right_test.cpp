// f_button_right: the logged-in operator's level on the untrimmed tag of a
// live window; 0 for a window that was closed; "admin" in any letter case 2
// without a lookup.
#include "host/window.h"
#include "rights/f_button_right.h"
#include "rights_fixture.h"

#include <QCoreApplication>
#include <QPointer>

using rights::f_button_right;

namespace {

QPointer<QWidget> taggedWindow(const QString& tag)
{
    auto* window = new host::Window;
    window->setTag(tag);
    return window;
}

}  // namespace

class ButtonRightTest : public RightsTest {
protected:
    void TearDown() override
    {
        for (const QPointer<QWidget>& window : windows_)
            delete window.data();
        RightsTest::TearDown();
    }
    QPointer<QWidget> window(const QString& tag)
    {
        windows_.append(taggedWindow(tag));
        return windows_.last();
    }
    QList<QPointer<QWidget>> windows_;
};

TEST_P(ButtonRightTest, TheLevelOfTheOperatorOnTheWindowsTag)
{
    standardRights();
    const QPointer<QWidget> w = window("w201");
    host::gs_user_id = "E1";
    EXPECT_EQ(f_button_right(w), 2);
    host::gs_user_id = "E2";
    EXPECT_EQ(f_button_right(w), 0);
    host::gs_user_id = "E3";
    EXPECT_EQ(f_button_right(w), 0);
    host::gs_user_id = QString();
    EXPECT_EQ(f_button_right(w), 0);

    exec("insert into s_group_power (group_id, m_item_code, group_right) values (?, ?, ?)", {"004", "w203", "1"});
    exec("insert into s_group_power (group_id, m_item_code, group_right) values (?, ?, ?)", {"004", "w204", "x"});
    commit();
    host::gs_user_id = "E3";
    EXPECT_EQ(f_button_right(window("w203")), 1);
    EXPECT_EQ(f_button_right(window("w204")), 0);  // not a level
    EXPECT_EQ(f_button_right(window(QString())), 0);
}

TEST_P(ButtonRightTest, TheTagIsLookedUpUntrimmed)
{
    standardRights();
    host::gs_user_id = "E1";
    const QPointer<QWidget> padded = window(" w201 ");
    EXPECT_EQ(f_button_right(padded), 0);

    // Found once a module code with those blanks exists.
    exec("insert into s_group_power (group_id, m_item_code, group_right) values (?, ?, ?)", {"001", " w201 ", "1"});
    commit();
    EXPECT_EQ(f_button_right(padded), 1);
}

TEST_P(ButtonRightTest, AdminInAnyLetterCaseGetsTwoWithoutALookupEvenOnAClosedWindow)
{
    const QPointer<QWidget> w = window("nosuch");
    for (const char* id : {"admin", "Admin", "aDMIN"}) {
        host::gs_user_id = id;
        markStatus();
        EXPECT_EQ(f_button_right(w), 2) << id;
        EXPECT_FALSE(statementRanSinceMark()) << id;
    }
    delete w.data();
    EXPECT_EQ(f_button_right(w), 2);
    EXPECT_EQ(f_button_right(static_cast<QWidget*>(nullptr)), 2);
}

TEST_P(ButtonRightTest, AClosedWindowGetsZeroEvenForAnOperatorWithModify)
{
    standardRights();
    host::gs_user_id = "E1";
    const QPointer<QWidget> w = window("w201");
    w->show();
    ASSERT_EQ(f_button_right(w), 2);

    w->close();  // accepted; Qt deletes it later
    ASSERT_FALSE(w.isNull());
    EXPECT_EQ(f_button_right(w), 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(w.isNull());
    EXPECT_EQ(f_button_right(w), 0);

    // A plain widget counts as open until it is deleted.
    QPointer<QWidget> plain = new QWidget;
    plain->setProperty("tag", "w201");
    EXPECT_EQ(f_button_right(plain), 2);
    delete plain.data();
    EXPECT_EQ(f_button_right(plain), 0);
}

TEST_P(ButtonRightTest, ABrokenConnectionGivesZero)
{
    standardRights();
    host::gs_user_id = "E1";
    const QPointer<QWidget> w = window("w201");
    exec("drop table s_group_power");
    EXPECT_EQ(f_button_right(w), 0);
    host::sqlca.disconnect();
    EXPECT_EQ(f_button_right(w), 0);
}

WMS_INSTANTIATE_DB_TESTS(ButtonRightTest);
