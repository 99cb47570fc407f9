#include "settings/ORVValidator.h"

#include "common/Localization.h"
#include "settings/NumberScanner.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace zentrova {
namespace {

const std::string kOutOfRange = fillNumberFormat(localized("msg.gsensor_outofrange_fmt"), {0.05, 1.5});

TEST(ORVValidatorTest, OutOfRangeMessageCarriesTheBounds) {
    EXPECT_EQ(kOutOfRange, "Please enter a value from 0.05 to 1.50.");
}

TEST(ORVValidatorTest, GsensorThreshold) {
    const std::string invalid = localized("msg.input_value_invalid_format");
    ASSERT_FALSE(invalid.empty());
    struct Case {
        std::optional<std::string_view> text;
        std::optional<std::string> message;
    } cases[] = {
        {"0.05", std::nullopt},  {"1.5", std::nullopt},    {"0.04", kOutOfRange}, {"1.51", kOutOfRange},
        {"abc", invalid},        {"0.5abc", std::nullopt}, {"", std::nullopt},    {std::nullopt, std::nullopt},
        {"  0.7", std::nullopt}, {"-0.5", kOutOfRange},    {".5", std::nullopt},  {"2e", kOutOfRange},
        {"1e-1", std::nullopt},  {" ", invalid},           {"-", invalid},        {".", invalid},
        {"0", kOutOfRange},      {"1e999", kOutOfRange},   {"+1.0", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text ? std::string(*c.text) : "(none)");
        EXPECT_EQ(ORVValidator::validateGsensorThreshold(c.text), c.message);
    }
}

TEST(ORVValidatorTest, SDCardSizeRatio) {
    const std::string tooLow = localized("msg.sdcard_ratio_too_low");
    ASSERT_FALSE(tooLow.empty());
    EXPECT_EQ(ORVValidator::validateSDCardSizeRatio(10), std::nullopt);
    EXPECT_EQ(ORVValidator::validateSDCardSizeRatio(100), std::nullopt);
    EXPECT_EQ(ORVValidator::validateSDCardSizeRatio(9), tooLow);
    EXPECT_EQ(ORVValidator::validateSDCardSizeRatio(0), tooLow);
    EXPECT_EQ(ORVValidator::validateSDCardSizeRatio(-20), tooLow);
}

TEST(NumberScannerTest, ReadsTheLeadingNumber) {
    struct Case {
        std::string_view text;
        std::optional<double> number;
    } cases[] = {
        {"0.5abc", 0.5},  {"\t\n 12", 12.0}, {"5.", 5.0},     {"-.25x", -0.25}, {"1e3", 1000.0},
        {"1E+2", 100.0},  {"1e", 1.0},       {"1e+", 1.0},    {"0x10", 0.0},    {"1,5", 1.0},
        {"abc", std::nullopt}, {"", std::nullopt}, {"+", std::nullopt}, {"e5", std::nullopt}, {"inf", std::nullopt},
        {"1e-999", 0.0},  {"0.0001e-400", 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text));
        EXPECT_EQ(scanLeadingNumber(c.text), c.number);
    }
    std::optional<double> huge = scanLeadingNumber("-1e999");
    ASSERT_TRUE(huge);
    EXPECT_TRUE(std::isinf(*huge) && *huge < 0);
}

// Out of double's range, only the position of the first significant digit
// and the exponent decide between infinity and zero, whatever their size.
TEST(NumberScannerTest, ExponentsOfAnySizeGiveInfinityOrZero) {
    const std::string manyDigits = "1" + std::string(200000, '0');
    const std::string manyZeros = "0." + std::string(200000, '0') + "1";
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* name;
        std::string text;
        double number;
    } cases[] = {
        {"largest_long_exponent", "5e09223372036854775807", inf},
        {"smallest_long_exponent_below_the_point", "0.05e-9223372036854775808", 0.0},
        {"exponent_beyond_long", "5e99999999999999999999999", inf},
        {"negative_exponent_beyond_long", "5e-99999999999999999999999", 0.0},
        {"many_digits_against_a_negative_exponent_beyond_long", manyDigits + "e-99999999999999999999", 0.0},
        {"many_zeros_against_an_exponent_beyond_long", manyZeros + "e99999999999999999999", inf},
        {"many_zeros_outweigh_a_large_exponent", manyZeros + "e150000", 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(scanLeadingNumber(c.text), c.number);
        EXPECT_EQ(scanLeadingNumber("-" + c.text), -c.number);
    }
}

}  // namespace
}  // namespace zentrova
