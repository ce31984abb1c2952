// Keeps history lines as fast as it can and prints the number of each line as
// soon as the store has reported it written; the crash tests kill it or let it
// run out of room. Usage: historywriter FOLDER FIRST [MAX_FILE_BYTES]

#include "store/historystore.h"
#include "store/remembered.h"

#include <QCoreApplication>
#include <csignal>
#include <cstdio>
#include <sys/resource.h>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return 2;
    if (argc > 3) {
        // No file may grow past this: a disk that fills up, for this process only.
        const rlim_t limit = std::strtoull(argv[3], nullptr, 10);
        const rlimit size{limit, limit};
        std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &size);
    }
    Remembered remembered;
    remembered.setKeepsHistory(true);
    HistoryStore store(remembered, QString::fromLocal8Bit(argv[1]));
    for (long long n = std::atoll(argv[2]);; ++n) {
        const HistoryStore::Line line{QDateTime::currentDateTime(), HistoryStore::Speaker::Other, false,
                                      QStringLiteral("Friend"), QStringLiteral("line %1 of a long evening").arg(n)};
        if (!store.append(HistoryStore::Place::Conversation, "Friend", line)) {
            std::printf("stopped: %s\n", qPrintable(store.problem()));
            return 0;
        }
        std::printf("%lld\n", n);
        std::fflush(stdout);
    }
}
