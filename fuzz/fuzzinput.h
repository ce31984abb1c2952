#pragma once

// Reads a fuzzer's input as a small script: control bytes first, then payload.
// Reading past the end yields zeros and empty arrays, never an error, so every
// input is a valid script.

#include <QByteArray>
#include <cstddef>
#include <cstdint>

class FuzzInput
{
public:
    FuzzInput(const uint8_t *data, size_t size)
        : m_data(reinterpret_cast<const char *>(data))
        , m_size(size)
    {
    }

    bool atEnd() const { return m_pos >= m_size; }
    size_t remaining() const { return m_size - m_pos; }

    uint8_t byte() { return atEnd() ? 0 : uint8_t(m_data[m_pos++]); }

    QByteArray take(size_t count)
    {
        const size_t n = count < remaining() ? count : remaining();
        QByteArray bytes(m_data + m_pos, qsizetype(n));
        m_pos += n;
        return bytes;
    }

    QByteArray rest() { return take(remaining()); }

    // Up to the next separator (dropped), or the rest.
    QByteArray until(char separator)
    {
        size_t end = m_pos;
        while (end < m_size && m_data[end] != separator)
            ++end;
        QByteArray piece = take(end - m_pos);
        if (!atEnd())
            ++m_pos;
        return piece;
    }

private:
    const char *m_data;
    size_t m_size;
    size_t m_pos = 0;
};

// Stops the run with a message; under libFuzzer the abort is reported with the input.
[[noreturn]] void fuzzFail(const char *what);
#define FUZZ_CHECK(condition)                                                                                          \
    do {                                                                                                               \
        if (!(condition))                                                                                              \
            fuzzFail(#condition);                                                                                      \
    } while (false)
