#include "tests/support/frame_driver.h"

#include "common/list_view.h"
#include "common/manager_frame.h"
#include "host/transaction.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <QTreeWidget>

namespace testing_support {

void pumpEvents()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

QTreeWidgetItem* treeItem(const common::ManagerFrame* frame, const QString& data)
{
    QTreeWidgetItem* root = frame->rootItem();
    if (data == QStringLiteral("000"))
        return root;
    for (int i = 0; root && i < root->childCount(); ++i) {
        if (common::ManagerFrame::itemData(root->child(i)) == data)
            return root->child(i);
    }
    return nullptr;
}

QStringList treeLabels(const common::ManagerFrame* frame)
{
    QStringList labels;
    QTreeWidgetItem* root = frame->rootItem();
    for (int i = 0; root && i < root->childCount(); ++i)
        labels << root->child(i)->text(0);
    return labels;
}

QStringList treeData(const common::ManagerFrame* frame)
{
    QStringList data;
    QTreeWidgetItem* root = frame->rootItem();
    for (int i = 0; root && i < root->childCount(); ++i)
        data << common::ManagerFrame::itemData(root->child(i));
    return data;
}

QStringList listLabels(const common::ListView* list)
{
    QStringList labels;
    for (int i = 1; i <= list->totalItems(); ++i)
        labels << list->label(i);
    return labels;
}

QStringList listData(const common::ListView* list)
{
    QStringList data;
    for (int i = 1; i <= list->totalItems(); ++i)
        data << list->data(i);
    return data;
}

QPoint listPoint(const common::ListView* list, int index)
{
    if (index >= 1)
        return list->visualItemRect(list->itemAt(index)).center();
    return list->viewport()->rect().bottomRight() - QPoint(4, 4);
}

void clickItem(common::ListView* list, int index)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, listPoint(list, index));
    pumpEvents();
}

void doubleClickItem(common::ListView* list, int index)
{
    QWidget* viewport = list->viewport();
    const QPoint at = listPoint(list, index);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
    pumpEvents();
}

void typeLabel(common::ListView* list, const QString& text)
{
    QLineEdit* editor = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (editor = list->viewport()->findChild<QLineEdit*>()) != nullptr; }, 2000))
        << "no label editor";
    editor->setText(text);
    QTest::keyClick(editor, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->viewport()->findChild<QLineEdit*>() == nullptr; }, 2000))
        << "the label editor stayed";
    pumpEvents();
}

void refuse(Backend backend, const QString& operation, const QString& table)
{
    QSqlQuery query(host::sqlca.database());
    const QString name = QStringLiteral("refuse_%1_%2").arg(operation, table);
    if (backend == Backend::Sqlite) {
        ASSERT_TRUE(query.exec(QStringLiteral("create trigger %1 before %2 on %3 begin select raise(abort, "
                                              "'refused by test'); end")
                                   .arg(name, operation, table)))
            << query.lastError().text().toStdString();
    } else {
        ASSERT_TRUE(query.exec(QStringLiteral("create or replace function %1() returns trigger language plpgsql as "
                                              "$$ begin raise exception 'refused by test'; end $$")
                                   .arg(name)))
            << query.lastError().text().toStdString();
        ASSERT_TRUE(query.exec(QStringLiteral("create trigger %1 before %2 on %3 for each row execute function %1()")
                                   .arg(name, operation, table)))
            << query.lastError().text().toStdString();
    }
}

void refuseAtCommit(Backend backend, const QString& operation, const QString& table)
{
    QSqlQuery query(host::sqlca.database());
    const QString name = QStringLiteral("at_commit_%1_%2").arg(operation, table);
    QStringList statements;
    if (backend == Backend::Sqlite) {
        // A row that names no parent, allowed until the COMMIT checks it.
        statements << QStringLiteral("pragma foreign_keys = on")
                   << QStringLiteral("create table if not exists commit_gate_parent (id integer primary key)")
                   << QStringLiteral("create table if not exists commit_gate (id integer references "
                                     "commit_gate_parent (id) deferrable initially deferred)")
                   << QStringLiteral("create trigger %1 after %2 on %3 begin insert into commit_gate values (1); end")
                          .arg(name, operation, table);
    } else {
        statements << QStringLiteral("create or replace function refuse_at_commit() returns trigger language plpgsql "
                                     "as $$ begin raise exception 'refused at commit by test'; end $$")
                   << QStringLiteral("create constraint trigger %1 after %2 on %3 deferrable initially deferred "
                                     "for each row execute function refuse_at_commit()")
                          .arg(name, operation, table);
    }
    for (const QString& sql : statements)
        ASSERT_TRUE(query.exec(sql)) << sql.toStdString() << ": " << query.lastError().text().toStdString();
}

}  // namespace testing_support
