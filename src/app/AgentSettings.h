#pragma once

#include <QString>

namespace osago {

// Who issues the policies, kept between runs in the program's settings.
struct AgentSettings
{
    QString agent;   // written into ФИО_агента of every record saved
    QString insurer; // the insurer the agent works for, printed on the documents

    static AgentSettings load();
    void save() const;
};

} // namespace osago
