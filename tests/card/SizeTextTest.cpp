#include "card/SizeText.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace zentrova {
namespace {

struct SizeCase {
    std::uint64_t bytes;
    const char* text;
};

class SizeTextTest : public ::testing::TestWithParam<SizeCase> {};

TEST_P(SizeTextTest, GivesTheShortText) {
    EXPECT_EQ(sizeText(GetParam().bytes), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SizeTextTest,
    ::testing::Values(SizeCase{0, "0 B"}, SizeCase{1023, "1023 B"}, SizeCase{1024, "1.0 kB"},
                      SizeCase{1536, "1.5 kB"}, SizeCase{10752, "10 kB"}, SizeCase{11776, "12 kB"},
                      SizeCase{1048575, "1.0 MB"}, SizeCase{7948206080ULL, "7.4 GB"},
                      SizeCase{15931539456ULL, "15 GB"}, SizeCase{18446744073709551615ULL, "16 EB"}));

// A remainder of 950 or more rounds up to the next whole number: below 10 the
// text keeps its decimal, as the exact value of that number would show.
INSTANTIATE_TEST_SUITE_P(
    RoundingUpToTheNextWholeNumber, SizeTextTest,
    ::testing::Values(SizeCase{3 * 1024 + 950, "4.0 kB"}, SizeCase{4 * 1024, "4.0 kB"},
                      SizeCase{1 * 1024 + 1023, "2.0 kB"}, SizeCase{9 * 1024 + 950, "10 kB"},
                      SizeCase{9 * 1024 + 949, "9.9 kB"}, SizeCase{(9ULL << 30) + (960ULL << 20), "10 GB"}));

// Tenths are rounded half to even, unless something below was lost.
INSTANTIATE_TEST_SUITE_P(
    HalfwayTenths, SizeTextTest,
    ::testing::Values(SizeCase{1024 + 250, "1.2 kB"}, SizeCase{1024 + 350, "1.4 kB"},
                      SizeCase{(1ULL << 20) * 1 + (250ULL << 10) + 1, "1.3 MB"},
                      SizeCase{(1023ULL << 10) + 512, "1.0 MB"}, SizeCase{(1022ULL << 10) + 512, "1022 kB"}));

TEST(SizeTextLength, NeverLongerThanSixCharacters) {
    for (std::uint64_t bytes = 1; bytes != 0 && bytes < (1ULL << 63); bytes = bytes * 3 + 7) {
        EXPECT_LE(sizeText(bytes).size(), 6U) << bytes;
    }
}

}  // namespace
}  // namespace zentrova
