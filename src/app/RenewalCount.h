#pragma once

#include "storage/IssuePeriod.h"
#include "storage/PolicyDatabase.h"

#include <QObject>
#include <QThreadPool>

namespace osago {

// The count of the policies coming up for renewal, read off the window's thread over a reader of its own, so the
// window never waits for it. Only the last count started is told; a failure is told as nothing at all.
class RenewalCount : public QObject
{
    Q_OBJECT

public:
    explicit RenewalCount(QObject* parent = nullptr);
    // Waits for a count still running: its reader closes on the thread that opened it.
    ~RenewalCount() override;

    // Counts in `period` over a reader `openReader` opens; where the register lacks the renewals' indexes nothing is
    // counted, so the whole table is never read for it.
    void start(PolicyDatabase::ReaderOpener openReader, const IssuePeriod& period);
    // Forgets the count running: it is never told.
    void forget() { ++m_started; }

signals:
    void counted(int due);

private:
    void tell(quint64 started, int due);

    quint64 m_started = 0;
    QThreadPool m_pool;
};

} // namespace osago
