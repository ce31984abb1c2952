#include "fuzzinput.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>

[[noreturn]] void fuzzFail(const char *what)
{
    std::fprintf(stderr, "fuzz invariant broken: %s\n", what);
    std::fflush(stderr);
    std::abort();
}

// Every target needs an application object for signals, timers and posted events.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    static int argc = 1;
    static char name[] = "qiv-fuzz";
    static char *argv[] = {name, nullptr};
    qputenv("QT_FATAL_WARNINGS", "0");
    static QCoreApplication app(argc, argv);
    return 0;
}
