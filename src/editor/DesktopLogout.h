#pragma once

#include <QSessionManager>

namespace osago {

// What the desktop allows the program while the agent logs out: Qt's QSessionManager in the program, an answering
// object in tests.
class LogoutRequest
{
public:
    virtual ~LogoutRequest() = default;

    // True when the program may put a question to the agent before the log-out goes on.
    virtual bool mayAsk() = 0;
    // Asks the desktop to stop the log-out; only after mayAsk() said true.
    virtual void cancel() = 0;
};

class LogoutManagerRequest final : public LogoutRequest
{
public:
    explicit LogoutManagerRequest(QSessionManager& manager)
        : m_manager(manager)
    {
    }

    // A record about to be lost warrants a question even where ordinary questions are not allowed.
    bool mayAsk() override { return m_manager.allowsInteraction() || m_manager.allowsErrorInteraction(); }
    void cancel() override { m_manager.cancel(); }

private:
    QSessionManager& m_manager;
};

} // namespace osago
