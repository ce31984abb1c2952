#include "session/flap.h"
#include "printers.h"

#include <gtest/gtest.h>

TEST(Flap, WordsAreBigEndianAndMissingBytesCountAsZero)
{
    EXPECT_EQ(Flap::EncodeWord(0x1234), QByteArray("\x12\x34", 2));
    EXPECT_EQ(Flap::DecodeWord(QByteArray("\x12\x34", 2)), 0x1234);
    EXPECT_EQ(Flap::DecodeWord(QByteArray("\xff", 1)), 0xff00);
    EXPECT_EQ(Flap::DecodeWord(QByteArray()), 0);
}
