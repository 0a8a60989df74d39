// Grabs the rights matrix on the sample data into a PNG file, with a few
// unsaved edits marked, or the copy and compare dialog (003 → 004, 比较):
//   grab_matrix OUT.png [w_right_group_copy]
// Run under a display (xvfb-run) or offscreen.
#include "dataviews/dataviews.h"
#include "host/functions.h"
#include "host/transaction.h"
#include "host/window_registry.h"
#include "rightsetup/matrix_model.h"
#include "rightsetup/register_windows.h"
#include "rightsetup/w_right_group_copy.h"
#include "rightsetup/w_right_matrix.h"
#include "schema/database.h"

#include <QApplication>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: grab_matrix OUT.png [w_right_group_copy]\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const bool grabCopy = argc > 2 && QString::fromLocal8Bit(argv[2]) == QStringLiteral("w_right_group_copy");
    QTemporaryDir dir;
    if (!host::sqlca.connect(dir.filePath(QStringLiteral("sample.db"))) || !schema::createTables(host::sqlca) ||
        !schema::loadSampleData(host::sqlca)) {
        std::fprintf(stderr, "database: %s\n", qPrintable(host::sqlca.sqlerrtext));
        return 1;
    }
    dataviews::registerDataViews();
    host::gs_user_id = QStringLiteral("admin");
    rightsetup::registerWindows();
    auto* matrix = qobject_cast<rightsetup::w_right_matrix*>(host::WindowRegistry::open(QStringLiteral("w_right_matrix")));
    if (!matrix)
        return 1;
    matrix->resize(1080, 330);
    QTest::qWait(200);
    bool saved = false;
    rightsetup::MatrixModel* model = matrix->model();
    const int group = model->rowOfGroup(QStringLiteral("003"));
    if (grabCopy) {
        QTimer::singleShot(300, [&] {
            auto* copy = qobject_cast<rightsetup::w_right_group_copy*>(QApplication::activeModalWidget());
            if (copy) {
                copy->setTarget(QStringLiteral("002"));
                copy->tab_pages->setCurrentWidget(copy->dw_compare);
                copy->dw_compare->resizeColumnsToContents();
                QTest::qWait(200);
                saved = copy->grab().save(out);
                copy->close();
            }
        });
        matrix->dw_matrix->setCurrentIndex(model->index(group, 0));
        matrix->openCopy();
    } else {
        model->setLevel(group, model->columnOfItem(QStringLiteral("w202")), QStringLiteral("1"));
        model->setLevel(group, model->columnOfItem(QStringLiteral("w204")), QStringLiteral("1"));
        model->setLevel(group, model->columnOfItem(QStringLiteral("w201")), std::nullopt);
        matrix->dw_matrix->setCurrentIndex(model->index(group, model->columnOfItem(QStringLiteral("w203"))));
        QTest::qWait(200);
        saved = matrix->grab().save(out);
    }
    host::WindowRegistry::closeAll();
    host::sqlca.disconnect();
    if (!saved) {
        std::fprintf(stderr, "could not grab into %s\n", qPrintable(out));
        return 1;
    }
    return 0;
}
