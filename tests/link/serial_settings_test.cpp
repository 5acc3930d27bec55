// The settings text of the serial control: what is read from it, and what is refused.
#include "link/serial_settings.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(SerialSettings, ReadsTheLineSettingsOfTheController) {
    const auto s = ParseSerialSettings("38400,n,8,1");
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(s->baud, 38400);
    EXPECT_EQ(s->parity, Parity::None);
    EXPECT_EQ(s->dataBits, 8);
    EXPECT_EQ(s->stopBits, StopBits::One);
}

TEST(SerialSettings, ReadsEveryParityAndStopBitsInEitherCase) {
    const auto s = ParseSerialSettings("9600,E,7,2");
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(s->baud, 9600);
    EXPECT_EQ(s->parity, Parity::Even);
    EXPECT_EQ(s->dataBits, 7);
    EXPECT_EQ(s->stopBits, StopBits::Two);
    EXPECT_EQ(ParseSerialSettings("1200,o,5,1.5")->parity, Parity::Odd);
    EXPECT_EQ(ParseSerialSettings("1200,o,5,1.5")->stopBits, StopBits::OneAndHalf);
    EXPECT_EQ(ParseSerialSettings("1200,m,8,1")->parity, Parity::Mark);
    EXPECT_EQ(ParseSerialSettings("1200,S,8,1")->parity, Parity::Space);
}

class MalformedSettings : public ::testing::TestWithParam<const char*> {};

TEST_P(MalformedSettings, AreRefused) {
    EXPECT_FALSE(ParseSerialSettings(GetParam()).has_value());
}

INSTANTIATE_TEST_SUITE_P(Texts, MalformedSettings,
                         ::testing::Values("", "38400", "38400,n,8", "38400,n,8,1,",
                                           "38400,n,8,1,x", ",n,8,1", "0,n,8,1", "-9600,n,8,1",
                                           "38k4,n,8,1", "99999999,n,8,1", "4000001,n,8,1",
                                           "38400,x,8,1", "38400,,8,1", "38400,no,8,1",
                                           "38400,n,9,1", "38400,n,4,1", "38400,n,88,1",
                                           "38400,n,8,3", "38400,n,8,0", "38400,n,8,",
                                           "38400, n,8,1", "38400;n;8;1", "38400,n,8,1\n"));

}  // namespace
}  // namespace corvane
