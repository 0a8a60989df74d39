// The Qt message box: wide enough for its title.
#include "host/messages.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMessageBox>
#include <QTest>
#include <gtest/gtest.h>

TEST(MessageBoxWidth, AShortNoticeLeavesItsTitleRoomBesideTheTitleBarsButtons)
{
    const QFontMetrics metrics(QApplication::font("QMdiSubWindowTitleBar"));
    for (const QString& title : {QStringLiteral("提示"), QStringLiteral("数据库错误")}) {
        QMessageBox box(QMessageBox::Information, title, QStringLiteral("好."), QMessageBox::Ok);
        host::widenForTitle(box);
        box.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
        // The title, a window icon and three title bar buttons of about 30 pixels.
        EXPECT_GE(box.width(), metrics.horizontalAdvance(title) + 4 * 30) << title.toStdString();
        box.close();
    }
}
