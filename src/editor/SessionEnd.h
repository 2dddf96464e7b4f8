#pragma once

#include <QSessionManager>

namespace osago {

// What the desktop's session manager allows the program while the session ends: the session manager itself in
// the program, an answering object in tests.
class SessionEndRequest
{
public:
    virtual ~SessionEndRequest() = default;

    // True when the program may put a question to the agent before the session goes on ending.
    virtual bool mayAsk() = 0;
    // Asks the session manager to stop ending the session; only after mayAsk() said true.
    virtual void cancel() = 0;
};

class SessionManagerRequest final : public SessionEndRequest
{
public:
    explicit SessionManagerRequest(QSessionManager& manager)
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
