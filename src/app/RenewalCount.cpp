#include "app/RenewalCount.h"

namespace osago {

RenewalCount::RenewalCount(QObject* parent)
    : QObject(parent)
{
    m_pool.setMaxThreadCount(1);
}

RenewalCount::~RenewalCount()
{
    m_pool.clear();
    m_pool.waitForDone();
}

void RenewalCount::start(PolicyDatabase::ReaderOpener openReader, const IssuePeriod& period)
{
    const quint64 started = ++m_started;
    m_pool.start([this, openReader = std::move(openReader), period, started] {
        const StorageResult<std::unique_ptr<PolicyDatabase>> reader = openReader();
        if (!reader.ok || !reader.value->hasRenewalIndexes())
            return;
        const StorageResult<int> due = reader.value->countRenewalsDue(period);
        // Queued to this object's thread; the destructor waits for this task, so the object is still there.
        if (due.ok)
            QMetaObject::invokeMethod(this, [this, started, due = due.value] { tell(started, due); }, Qt::QueuedConnection);
    });
}

void RenewalCount::tell(quint64 started, int due)
{
    if (started == m_started)
        emit counted(due);
}

} // namespace osago
