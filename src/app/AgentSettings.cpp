#include "app/AgentSettings.h"

#include <QSettings>

namespace osago {

namespace {

const QString kAgentKey = QStringLiteral("agent/name");
const QString kInsurerKey = QStringLiteral("agent/insurer");

} // namespace

AgentSettings AgentSettings::load()
{
    const QSettings settings;
    return {settings.value(kAgentKey).toString(), settings.value(kInsurerKey).toString()};
}

void AgentSettings::save() const
{
    QSettings settings;
    settings.setValue(kAgentKey, agent);
    settings.setValue(kInsurerKey, insurer);
}

} // namespace osago
