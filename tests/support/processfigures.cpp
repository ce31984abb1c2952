#include "processfigures.h"

#include <QDir>
#include <QFile>

#include <malloc.h>
#include <time.h>

namespace ProcessFigures {

qint64 residentKb()
{
    // A file of /proc has no size, so it is read whole rather than to its end.
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

qint64 heapInUseKb()
{
    const struct mallinfo2 heap = mallinfo2();
    return qint64((heap.uordblks + heap.hblkhd) / 1024);
}

int openFiles()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size());
}

qint64 cpuUs()
{
    timespec spent{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &spent);
    return qint64(spent.tv_sec) * 1000000 + spent.tv_nsec / 1000;
}

bool memoryIsMeaningful()
{
#if defined(__SANITIZE_ADDRESS__)
    return false;
#else
    return true;
#endif
}

} // namespace ProcessFigures
