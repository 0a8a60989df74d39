#pragma once
// The rights matrix on the sample database, opened through the window
// registry as the host opens it, with scripted message boxes; cells driven by
// clicks and keys, and the database read back through a second client.

#include "rightsetup/w_right_matrix.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/test_db.h"

#include <QMap>
#include <QPointer>

namespace rightsetup_test {

class MatrixTest : public testing_support::DbTest {
protected:
    void SetUp() override;
    void TearDown() override;

    rightsetup::w_right_matrix* openMatrix();
    // The text the cell of `group` × `item` shows; empty when it is not shown.
    QString shown(const QString& group, const QString& item) const;
    bool marked(const QString& group, const QString& item) const;
    QModelIndex cell(const QString& group, const QString& item) const;
    void click(const QString& group, const QString& item);
    // Makes the cell current and alone selected, then presses `key` on the grid.
    void press(const QString& group, const QString& item, int key);

    // Every s_group_power row, "group/item=level", read through a second client.
    QMap<QString, QString> dbCells();
    // Gives `group` `level` on the item and logs `operatorId` in.
    void loginWithLevel(const QString& operatorId, const QString& group, const QString& level,
                        const QString& item = QStringLiteral("003"));
    void refuse(const QString& operation, const QString& table);
    void refuseAtCommit(const QString& operation, const QString& table);

    testing_support::ScriptedMessages messages;
    QPointer<rightsetup::w_right_matrix> matrix;
};

}  // namespace rightsetup_test
