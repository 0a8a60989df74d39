#pragma once
// The demo host's help: F1 in a manager window and the help menu show a topic
// of the host's own help pages (Qt resources under :/help/) in a viewer window.

#include "host/help.h"

#include <QPointer>
#include <QWidget>

class QTextBrowser;

namespace app {

class HelpViewer : public QWidget {
    Q_OBJECT
public:
    explicit HelpViewer(QWidget* parent = nullptr);
    // Shows `topic` ("权限管理.mht"); false, with a page saying so, when there is none.
    bool showTopic(const QString& topic);
    QTextBrowser* browser() const { return tb_help; }

private:
    QTextBrowser* tb_help;
};

class HelpViewerService : public host::HelpService {
public:
    ~HelpViewerService() override;
    void showTopic(QWidget* owner, const QString& file, const QString& topic) override;
    // The viewer, once a topic was shown (null after it was closed).
    HelpViewer* viewer() const { return viewer_; }

private:
    QPointer<HelpViewer> viewer_;
};

// The resource path of a topic's page, or an empty string.
QString helpPage(const QString& topic);

}  // namespace app
