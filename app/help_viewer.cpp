#include "app/help_viewer.h"

#include "host/functions.h"
#include "host/w_main.h"
#include "host/window_registry.h"

#include <QFile>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

static void initHelpResources()
{
    Q_INIT_RESOURCE(wms_help);
}

namespace app {

QString helpPage(const QString& topic)
{
    static const bool loaded = (initHelpResources(), true);
    Q_UNUSED(loaded);
    const QString path = QStringLiteral(":/help/") + topic;
    return QFile::exists(path) ? path : QString();
}

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("w_help"));
    setAttribute(Qt::WA_DeleteOnClose);
    tb_help = new QTextBrowser(this);
    tb_help->setObjectName(QStringLiteral("tb_help"));
    tb_help->setOpenExternalLinks(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tb_help);
    resize(560, 480);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setObjectName(QStringLiteral("sc_close"));
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

bool HelpViewer::showTopic(const QString& topic)
{
    QString name = topic;
    if (name.endsWith(QLatin1String(".mht")))
        name.chop(4);
    setWindowTitle(QStringLiteral("帮助 - %1").arg(name));
    const QString page = helpPage(topic);
    if (page.isEmpty()) {
        tb_help->setHtml(QStringLiteral("<h3>没有找到帮助主题</h3><p>帮助中没有「%1」这一主题.</p>")
                             .arg(topic.toHtmlEscaped()));
        return false;
    }
    QFile file(page);
    file.open(QIODevice::ReadOnly);
    tb_help->setHtml(QString::fromUtf8(file.readAll()));
    return true;
}

HelpViewerService::~HelpViewerService()
{
    delete viewer_.data();
}

void HelpViewerService::showTopic(QWidget* owner, const QString& file, const QString& topic)
{
    host::f_log(QStringLiteral("帮助: %1 %2").arg(file, topic));
    if (!viewer_) {
        viewer_ = new HelpViewer;
        // Over the window that asked for it, whole on its screen.
        const QWidget* over = owner ? owner->window() : host::mainFrame();
        host::placeOver(viewer_, over, over == host::mainFrame() ? 0 : 1);
    }
    viewer_->showTopic(topic);
    viewer_->show();
    viewer_->raise();
    viewer_->activateWindow();
}

}  // namespace app
