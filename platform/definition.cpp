#include "platform/definition.h"

#include <QHash>

namespace platform {

namespace {

QHash<QString, std::shared_ptr<const Definition>>& registry()
{
    static QHash<QString, std::shared_ptr<const Definition>> definitions;
    return definitions;
}

}  // namespace

int Definition::columnIndex(const QString& column) const
{
    for (int i = 0; i < columns.size(); ++i)
        if (columns.at(i).name == column)
            return i;
    // Names are not case sensitive, and a qualified name ("s_user.id") finds
    // its column by the part after the table.
    for (int i = 0; i < columns.size(); ++i)
        if (columns.at(i).name.compare(column, Qt::CaseInsensitive) == 0)
            return i;
    const int dot = column.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0) {
        for (int i = 0; i < columns.size(); ++i)
            if (columns.at(i).selectName.compare(column, Qt::CaseInsensitive) == 0)
                return i;
        return columnIndex(column.mid(dot + 1));
    }
    return -1;
}

void registerDefinition(const Definition& definition)
{
    registry().insert(definition.name, std::make_shared<const Definition>(definition));
}

const Definition* findDefinition(const QString& name)
{
    return registry().value(name).get();
}

std::shared_ptr<const Definition> sharedDefinition(const QString& name)
{
    return registry().value(name);
}

}  // namespace platform
