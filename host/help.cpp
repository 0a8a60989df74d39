#include "host/help.h"

#include "host/functions.h"

namespace host {

namespace {

class LoggingHelpService : public HelpService {
public:
    void showTopic(QWidget*, const QString& file, const QString& topic) override
    {
        f_log(QStringLiteral("help: %1 :: %2").arg(file, topic));
    }
};

HelpService* installed = nullptr;

}  // namespace

HelpService& helpService()
{
    static LoggingHelpService fallback;
    return installed ? *installed : fallback;
}

void setHelpService(HelpService* service)
{
    installed = service;
}

int htmlhelpa(QWidget* window, const QString& file, int command, const QString& data)
{
    if (command != 0)
        return 0;
    helpService().showTopic(window, file, data);
    return 1;
}

}  // namespace host
