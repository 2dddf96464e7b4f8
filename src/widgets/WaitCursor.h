#pragma once

#include <QCursor>
#include <QGuiApplication>

namespace osago {

// The wait cursor over every window of the program while a handler blocks them (reading or writing the
// register), back to the cursor before when it ends.
class WaitCursor
{
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace osago
