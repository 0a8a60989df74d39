// Grabs the rights matrix on the sample data into a PNG file, with a few
// unsaved edits marked, or the copy and compare dialog (003 → 004, 比较):
//   grab_matrix OUT.png [w_right_group_copy]
// Run under a display (xvfb-run) or offscreen.
#include "host/window_registry.h"
#include "rightsetup/matrix_model.h"
#include "rightsetup/register_windows.h"
#include "rightsetup/w_right_group_copy.h"
#include "rightsetup/w_right_matrix.h"
#include "tools/screenshot.h"

#include <QApplication>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
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
    tools::SampleSession session;
    if (!session.ok())
        return 1;
    rightsetup::registerWindows();
    auto* matrix = qobject_cast<rightsetup::w_right_matrix*>(host::WindowRegistry::open(QStringLiteral("w_right_matrix")));
    if (!matrix)
        return 1;
    matrix->resize(1080, 330);
    QTest::qWait(200);
    int saved = 1;
    rightsetup::MatrixModel* model = matrix->model();
    const int group = model->rowOfGroup(QStringLiteral("003"));
    if (grabCopy) {
        QTimer::singleShot(300, [&] {
            auto* copy = qobject_cast<rightsetup::w_right_group_copy*>(QApplication::activeModalWidget());
            if (copy) {
                copy->setSource(QStringLiteral("003"));
                copy->setTarget(QStringLiteral("002"));
                copy->tab_pages->setCurrentWidget(copy->dw_compare);
                copy->dw_compare->resizeColumnsToContents();
                QTest::qWait(200);
                saved = tools::saveGrab(copy, out);
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
        saved = tools::saveGrab(matrix, out);
    }
    return saved;
}
