#pragma once

// The time, in milliseconds since the epoch, for whatever counts minutes.
// Tests hand in a clock they move by hand instead of waiting.

#include <QDateTime>
#include <functional>

using Clock = std::function<qint64()>;

inline Clock systemClock()
{
    return [] { return QDateTime::currentMSecsSinceEpoch(); };
}
