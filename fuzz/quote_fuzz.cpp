// Fuzz target: the quoting of command-line arguments in both directions.
// Any word escaped and quoted must come back unchanged from the splitter, and
// any line the splitter accepts must split the same after being re-quoted.

#include "fuzzinput.h"
#include "session/tocquote.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const QByteArray bytes = input.rest();

    // The whole input as one argument (NUL and all: quoting does not care).
    const QByteArray escaped = TocQuote::EscapeArg(bytes);
    FUZZ_CHECK(escaped.size() >= bytes.size() && escaped.size() <= 2 * bytes.size());
    const auto words = TocQuote::splitCommandLine("toc_send_im " + TocQuote::quoted(bytes));
    FUZZ_CHECK(words.has_value());
    FUZZ_CHECK(words->size() == 2);
    FUZZ_CHECK(words->at(0) == "toc_send_im");
    FUZZ_CHECK(words->at(1) == bytes);

    // The input as a command line.
    if (const auto split = TocQuote::splitCommandLine(bytes)) {
        QByteArray requoted;
        for (const QByteArray &word : *split)
            requoted += TocQuote::quoted(word) + ' ';
        const auto again = TocQuote::splitCommandLine(requoted);
        FUZZ_CHECK(again.has_value());
        FUZZ_CHECK(*again == *split);
    }
    return 0;
}
