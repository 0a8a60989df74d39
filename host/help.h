#pragma once
// Help for F1: the manager windows open the help file at the topic named after
// their title. The host decides how a topic is shown; tests replace the service.

#include "host/export.h"

#include <QString>

class QWidget;

namespace host {

class WMS_HOST_EXPORT HelpService {
public:
    virtual ~HelpService() = default;
    virtual void showTopic(QWidget* owner, const QString& file, const QString& topic) = 0;
};

WMS_HOST_EXPORT HelpService& helpService();
// Installs `service` (not owned); nullptr restores the default, which only logs.
WMS_HOST_EXPORT void setHelpService(HelpService* service);

// The help call of the manager windows: command 0 displays `data` as a topic
// of `file`. Returns 1 when a topic was shown.
WMS_HOST_EXPORT int htmlhelpa(QWidget* window, const QString& file, int command, const QString& data);

inline const QString kHelpFile = QStringLiteral("..\\qdex-kpta.chm");

}  // namespace host
