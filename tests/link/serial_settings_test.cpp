// The settings text of the serial control: what is read from it, and what is refused.
#include "link/serial_settings.h"

#include <gtest/gtest.h>

#include <tuple>

namespace corvane {
namespace {

TEST(SerialSettings, ReadsEveryParityAndStopBitsInEitherCase) {
    using Fields = std::tuple<int, Parity, int, StopBits>;
    const std::pair<const char*, Fields> cases[] = {
        {"38400,n,8,1", {38400, Parity::None, 8, StopBits::One}},  // the controller's line
        {"9600,E,7,2", {9600, Parity::Even, 7, StopBits::Two}},
        {"1200,o,5,1.5", {1200, Parity::Odd, 5, StopBits::OneAndHalf}},
        {"1200,m,8,1", {1200, Parity::Mark, 8, StopBits::One}},
        {"1200,S,8,1", {1200, Parity::Space, 8, StopBits::One}},
    };
    for (const auto& [text, fields] : cases) {
        const auto s = ParseSerialSettings(text);
        ASSERT_TRUE(s.has_value()) << text;
        EXPECT_EQ(Fields(s->baud, s->parity, s->dataBits, s->stopBits), fields) << text;
    }
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
