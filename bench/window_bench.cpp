// The module's windows on the large database, each against its floor:
//   group_members: selecting the 5,000-operator group in the user and group
//   manager until its list lv_1 is filled, against the members-with-names
//   query through the C API filling a bare QListWidget with the same items;
//   rights_editor: opening the group rights editor on the 2,000-item group
//   until its grid is filled, against that group's rows through the C API.
#include "bench/bench_common.h"
#include "bench/bench_database.h"
#include "bench/pg_client.h"
#include "common/list_view.h"
#include "host/functions.h"
#include "host/messages.h"
#include "host/transaction.h"
#include "host/window_registry.h"
#include "platform/datawindow.h"
#include "rightsetup/register_windows.h"
#include "rightsetup/w_right_right_setup.h"
#include "dataviews/dataviews.h"
#include "usergroup/register_windows.h"
#include "usergroup/w_right_setup.h"
#include "usergroup/window_names.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QTreeWidget>
#include <sqlite3.h>

namespace bench {

namespace {

const char kMembersQuery[] =
    "select s_user_group.user_code, s_employee.name from s_user_group "
    "left join s_employee on s_employee.id = s_user_group.user_code "
    "where s_user_group.group_code = ? order by s_user_group.user_code";
const char kGroupRowsQuery[] =
    "select group_id, m_item_code, group_right from s_group_power where group_id = ? "
    "order by group_id, m_item_code";

// A box shown while a benchmark runs is counted and answered with its
// default button: nobody is there to answer it.
class CountingMessages : public host::MessageService {
public:
    host::Answer show(const host::MessageBoxRequest& request) override
    {
        ++shown;
        last = request.title + QStringLiteral(": ") + request.text;
        return request.defaultButton;
    }
    int shown = 0;
    QString last;
};

CountingMessages& messages()
{
    static CountingMessages service;
    return service;
}

std::string name(const char* family, Backend backend, bool floor = false)
{
    return std::string(family) + "_" + suffix(backend) + (floor ? "_floor" : "");
}

void pump()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Runs events until `filled` holds, for at most 10 s; whether it does. A
// window that fills itself at once returns without running any.
template <class Filled>
bool waitUntil(Filled filled)
{
    if (filled())
        return true;
    QElapsedTimer timer;
    timer.start();
    while (!filled() && timer.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return filled();
}

void closeWindows()
{
    host::WindowRegistry::closeAll();
    pump();
}

// False (and the benchmark failed) when a box was shown since `before`.
bool noBoxSince(benchmark::State& state, int before)
{
    if (messages().shown == before)
        return true;
    state.SkipWithError(qPrintable(QStringLiteral("a message box was shown: ") + messages().last));
    return false;
}

usergroup::w_right_setup* openManager()
{
    auto* manager = qobject_cast<usergroup::w_right_setup*>(host::WindowRegistry::open(usergroup::kSetup));
    pump();
    return manager;
}

QTreeWidgetItem* groupTreeItem(usergroup::w_right_setup* manager, const QString& group)
{
    QTreeWidgetItem* root = manager->rootItem();
    for (int i = 0; root && i < root->childCount(); ++i) {
        if (common::ManagerFrame::itemData(root->child(i)) == group)
            return root->child(i);
    }
    return nullptr;
}

// The rows of a select through the C API, the columns read as text.
class SqliteRows {
public:
    SqliteRows(const QString& path, const char* sql)
    {
        ok_ = !path.isEmpty()
              && sqlite3_open_v2(path.toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK
              && sqlite3_prepare_v2(db_, sql, -1, &stmt_, nullptr) == SQLITE_OK;
        sqlite3_busy_timeout(db_, 5000);
    }
    ~SqliteRows()
    {
        sqlite3_finalize(stmt_);
        sqlite3_close(db_);
    }
    SqliteRows(const SqliteRows&) = delete;
    SqliteRows& operator=(const SqliteRows&) = delete;
    bool ok() const { return ok_; }
    // Runs the select for `key`, calling row(stmt) for each row; the row count or -1.
    template <class Row>
    long run(const std::string& key, Row row)
    {
        sqlite3_bind_text(stmt_, 1, key.data(), int(key.size()), SQLITE_STATIC);
        long n = 0;
        int rc;
        while ((rc = sqlite3_step(stmt_)) == SQLITE_ROW) {
            row(stmt_);
            ++n;
        }
        sqlite3_reset(stmt_);
        return rc == SQLITE_DONE ? n : -1;
    }

private:
    sqlite3* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
    bool ok_ = false;
};

QString columnText(sqlite3_stmt* stmt, int column)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)),
                             sqlite3_column_bytes(stmt, column));
}

void addMember(QListWidget& list, const QString& key, const QString& name)
{
    auto* item = new QListWidgetItem(name, &list);
    item->setData(Qt::UserRole, key);
}

void groupMembersFloor(benchmark::State& state, Backend backend)
{
    const std::string group = groupCode(kMembersGroup);
    QListWidget list;
    list.show();
    long filled = 0;
    auto clear = [&] {
        state.PauseTiming();
        list.clear();
        pump();
        state.ResumeTiming();
    };
    if (backend == Backend::Sqlite) {
        SqliteRows rows(sqliteDatabase(), kMembersQuery);
        if (!rows.ok()) {
            state.SkipWithError("cannot prepare the members query with the sqlite3 API");
            return;
        }
        for (auto _ : state) {
            clear();
            rows.run(group, [&](sqlite3_stmt* stmt) { addMember(list, columnText(stmt, 0), columnText(stmt, 1)); });
            filled = list.count();
        }
    } else {
        const PgDatabase& db = postgresDatabase();
        PgClient client;
        if (!db.ok || !client.connect(db.serverUrl, db.schema) || !client.prepare("members", kMembersQuery, 1)) {
            state.SkipWithError(db.ok ? client.error().c_str() : db.reason.c_str());
            return;
        }
        for (auto _ : state) {
            clear();
            const PgResult result = client.execPrepared("members", {group.c_str()});
            for (int r = 0; r < result.rows(); ++r)
                addMember(list, QString::fromUtf8(result.value(r, 0), result.length(r, 0)),
                          QString::fromUtf8(result.value(r, 1), result.length(r, 1)));
            filled = list.count();
        }
    }
    if (filled != kMembersOfMembersGroup)
        state.SkipWithError(qPrintable(QStringLiteral("the list holds %1 members instead of %2")
                                           .arg(filled)
                                           .arg(kMembersOfMembersGroup)));
}

void groupMembers(benchmark::State& state, Backend backend)
{
    if (!connectSqlca(state, backend))
        return;
    const int boxes = messages().shown;
    usergroup::w_right_setup* manager = openManager();
    QTreeWidgetItem* big = manager ? groupTreeItem(manager, groupId(kMembersGroup)) : nullptr;
    QTreeWidgetItem* other = manager ? groupTreeItem(manager, groupId(kMembersGroup + 1)) : nullptr;
    if (!big || !other) {
        state.SkipWithError("the manager did not open with the groups in its tree");
        closeWindows();
        return;
    }
    long filled = 0;
    bool refilled = true;
    for (auto _ : state) {
        // Another group first, so that the big one is read afresh.
        state.PauseTiming();
        manager->selectTreeItem(other);
        pump();
        // Still the big list: the big group would not be read again.
        refilled = manager->lv_1()->totalItems() != kMembersOfMembersGroup;
        state.ResumeTiming();
        if (!refilled) {
            state.SkipWithError("selecting another group left the big group's list in lv_1");
            break;
        }
        manager->selectTreeItem(big);
        common::ListView* list = manager->lv_1();
        waitUntil([&] { return list->totalItems() >= kMembersOfMembersGroup; });
        filled = list->totalItems();
    }
    if (refilled && noBoxSince(state, boxes) && filled != kMembersOfMembersGroup)
        state.SkipWithError(qPrintable(QStringLiteral("lv_1 holds %1 members instead of %2")
                                           .arg(filled)
                                           .arg(kMembersOfMembersGroup)));
    closeWindows();
}

void rightsEditorFloor(benchmark::State& state, Backend backend)
{
    const std::string group = groupCode(kFullRightsGroup);
    long rows = 0;
    long levels = 0;
    if (backend == Backend::Sqlite) {
        SqliteRows query(sqliteDatabase(), kGroupRowsQuery);
        if (!query.ok()) {
            state.SkipWithError("cannot prepare the group's rows with the sqlite3 API");
            return;
        }
        for (auto _ : state) {
            rows = query.run(group, [&](sqlite3_stmt* stmt) {
                levels += sqlite3_column_bytes(stmt, 0) + sqlite3_column_bytes(stmt, 1)
                          + sqlite3_column_bytes(stmt, 2);
            });
        }
    } else {
        const PgDatabase& db = postgresDatabase();
        PgClient client;
        if (!db.ok || !client.connect(db.serverUrl, db.schema) || !client.prepare("rows", kGroupRowsQuery, 1)) {
            state.SkipWithError(db.ok ? client.error().c_str() : db.reason.c_str());
            return;
        }
        for (auto _ : state) {
            const PgResult result = client.execPrepared("rows", {group.c_str()});
            rows = result.ok() ? result.rows() : -1;
            for (int r = 0; r < result.rows(); ++r)
                levels += result.length(r, 0) + result.length(r, 1) + result.length(r, 2);
        }
    }
    benchmark::DoNotOptimize(levels);
    if (rows != kItems)
        state.SkipWithError(qPrintable(QStringLiteral("%1 rows instead of %2").arg(rows).arg(kItems)));
}

void rightsEditor(benchmark::State& state, Backend backend)
{
    if (!connectSqlca(state, backend))
        return;
    const int boxes = messages().shown;
    // The editor takes its group from the manager's list: the root is
    // selected, so the list shows the groups; the big one is selected there.
    usergroup::w_right_setup* manager = openManager();
    common::ListView* list = manager ? manager->lv_1() : nullptr;
    int index = 0;
    for (int i = 1; list && i <= list->totalItems() && !index; ++i) {
        if (list->data(i) == groupId(kFullRightsGroup))
            index = i;
    }
    if (!index || list->selectItem(index) != 1) {
        state.SkipWithError("the full-rights group is not in the manager's list");
        closeWindows();
        return;
    }
    pump();
    long rows = 0;
    bool opened = true;
    bool closed = true;
    for (auto _ : state) {
        auto* editor =
            qobject_cast<rightsetup::w_right_right_setup*>(host::WindowRegistry::open("w_right_right_setup"));
        if (editor)
            waitUntil([&] { return editor->dw_1->rowCount() >= kItems; });
        state.PauseTiming();
        opened = editor != nullptr;
        if (!opened) {
            state.ResumeTiming();
            state.SkipWithError("the editor did not open");
            break;
        }
        rows = editor->dw_1->rowCount();
        // An editor left open would only be brought to the front next time.
        closed = editor->close() && host::WindowRegistry::instance("w_right_right_setup") == nullptr;
        pump();
        state.ResumeTiming();
        if (!closed) {
            state.SkipWithError("the editor did not close");
            break;
        }
    }
    if (opened && closed && noBoxSince(state, boxes) && rows != kItems)
        state.SkipWithError(qPrintable(QStringLiteral("dw_1 holds %1 rows instead of %2").arg(rows).arg(kItems)));
    closeWindows();
}

}  // namespace

void prepareWindows()
{
    host::setMessageService(&messages());
    dataviews::registerDataViews();
    usergroup::registerWindows();
    rightsetup::registerWindows();
    host::gs_user_id = QStringLiteral("admin");
}

void registerWindowBenchmarks(Backend backend)
{
    benchmark::RegisterBenchmark(name("group_members", backend, true).c_str(), groupMembersFloor, backend)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(name("group_members", backend).c_str(), groupMembers, backend)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(name("rights_editor", backend, true).c_str(), rightsEditorFloor, backend)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(name("rights_editor", backend).c_str(), rightsEditor, backend)
        ->Unit(benchmark::kMillisecond);
}

}  // namespace bench
