#include "telemetry/NmeaFields.h"
#include "telemetry/ORVNMEASentenceParser.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <vector>

namespace zentrova {
namespace {

struct SplitCase {
    std::string_view text;
    std::vector<std::string_view> fields;
};

std::vector<std::string_view> fieldsOf(const NmeaFieldList& list) {
    const std::span<const std::string_view> fields = list.fields();
    return {fields.begin(), fields.end()};
}

// The fields the sentence splitter gives for text and a '*' after it; the
// views point into storage.
std::vector<std::string_view> fieldsBeforeStar(std::string& storage, std::string_view text, NmeaFieldList& list) {
    storage.assign(text);
    storage += '*';
    EXPECT_TRUE(splitNmeaSentence(storage, list));
    return fieldsOf(list);
}

TEST(NmeaFieldsSplitTest, EveryCommaEndsAFieldEmptyOnesIncluded) {
    const SplitCase cases[] = {
        {"", {""}},
        {",", {"", ""}},
        {",,", {"", "", ""}},
        {"$GPGGA", {"$GPGGA"}},
        {"$GPGGA,", {"$GPGGA", ""}},
        {"$GPGGA,1,,N", {"$GPGGA", "1", "", "N"}},
        {",a", {"", "a"}},
        {std::string_view("a\0b,c", 5), {std::string_view("a\0b", 3), "c"}},
    };
    std::string storage;
    NmeaFieldList fields;
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(std::string(c.text));
        EXPECT_EQ(fieldsBeforeStar(storage, c.text, fields), c.fields);
    }
}

TEST(NmeaFieldsSplitTest, AReusedListHoldsOnlyTheLatestSentence) {
    NmeaFieldList fields;
    ASSERT_TRUE(splitNmeaSentence("a,b,c,d,e*", fields));
    ASSERT_TRUE(splitNmeaSentence("x*", fields));
    EXPECT_EQ(fieldsOf(fields), std::vector<std::string_view>{"x"});
}

TEST(NmeaFieldsSplitTest, VeryLongSentencesKeepEveryField) {
    std::string text = "$GNGSA";
    for (int k = 0; k < 10000; ++k) text += "," + std::to_string(k % 100);
    std::string storage;
    NmeaFieldList list;
    const std::vector<std::string_view> fields = fieldsBeforeStar(storage, text, list);
    ASSERT_EQ(fields.size(), 10001u);
    EXPECT_EQ(fields[1], "0");
    EXPECT_EQ(fields[10000], "99");

    ORVNMEASentenceParser parser;
    EXPECT_TRUE(parser.parse(text + "*00"));
    EXPECT_EQ(parser.m_Current.SatelliteUsed[11], 13) << "field 14";
    EXPECT_FALSE(parser.parse(text)) << "no checksum part";
}

// The plain split at every separator, n separators giving n + 1 fields.
std::vector<std::string_view> splitAtEvery(std::string_view text, char separator) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != separator) continue;
        fields.push_back(text.substr(start, i - start));
        start = i + 1;
    }
    fields.push_back(text.substr(start));
    return fields;
}

// What the one-pass splitter must give, worked out one step at a time:
// valid UTF-8, exactly one '*', the fields before it.
std::optional<std::vector<std::string_view>> splitStepByStep(std::string_view sentence) {
    const std::size_t star = sentence.find('*');
    if (!isValidUtf8(sentence) || star == std::string_view::npos ||
        sentence.find('*', star + 1) != std::string_view::npos) {
        return std::nullopt;
    }
    return splitAtEvery(sentence.substr(0, star), ',');
}

TEST(NmeaFieldsSentenceTest, OnePassGivesWhatTheStepsGive) {
    // Stars, commas and other bytes at every place of a run, first and last runs short and whole.
    const std::string_view cases[] = {
        "", "*", "**", ",*", "*,", "$GPGGA*", "$GPGGA,*00", "$GPGGA,1,,N*4F", "$GPGGA,1234567,*",
        "$GPGGA,12345678*", "$GPGGA,123456789,*", "1234567*", "12345678*", "123456789*", ",,,,,,,,*,,,,",
        "$GPRMC,080000.000,A,4807.038,N,01131.000,E,027.0,000.0,120324,,*00", "$GPGGA,1,2*3*4",
        "$GPGGA,1234567*", "$GPGGA,1,2,3*,,,,*,", "$GPGGA,1,2", "no star, commas, here",
        "$GPGGA,1,4807.038,\xC3\x9C,01131.000,E*00", "$GPGGA,\xC3*", "$GPGGA,\xC3\x9C*\xFF",
        "$GPGGA,\xED\xA0\x80,*", std::string_view("$GP\0GA,\0,*\0", 13), "*\x80", "\x80*",
    };
    NmeaFieldList fields;
    for (const std::string_view sentence : cases) {
        SCOPED_TRACE(std::string(sentence));
        const auto expected = splitStepByStep(sentence);
        ASSERT_EQ(splitNmeaSentence(sentence, fields), expected.has_value());
        if (!expected) continue;
        const std::span<const std::string_view> got = fields.fields();
        EXPECT_EQ(std::vector<std::string_view>(got.begin(), got.end()), *expected);
    }
}

TEST(NmeaFieldsSentenceTest, ShorterSentencesAfterLongerOnesHoldOnlyTheirOwnFields) {
    NmeaFieldList fields;
    std::string longSentence = "$GNGSA";
    for (int k = 0; k < 300; ++k) longSentence += ",7";
    ASSERT_TRUE(splitNmeaSentence(longSentence + "*00", fields));
    EXPECT_EQ(fields.size(), 301u);
    ASSERT_TRUE(splitNmeaSentence("$GPGGA,1*", fields));
    EXPECT_EQ(fields.size(), 2u);
    EXPECT_EQ(fields.fields()[1], "1");
}

// The reference: the general conversion in single precision.
float fromChars(const std::string& number) {
    float value = 0.0f;
    const std::string text = number.front() == '.' ? "0" + number : number;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    EXPECT_EQ(result.ec, std::errc()) << number;
    return value;
}

void expectSameAsFromChars(const std::string& number) {
    const double read = nmeaReal(number);
    const double reference = static_cast<double>(fromChars(number));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(read), std::bit_cast<std::uint64_t>(reference)) << number;
}

struct ExactRealCase {
    const char* field;
    double value;
};

TEST(NmeaFieldsRealTest, RoundsExactlyAsTheGeneralConversion) {
    const ExactRealCase cases[] = {
        {"4807.0380", 4807.0380859375},
        {"022.4", 22.399999618530273},
        {"0000000000000000000000000.5", 0.5},
        {"16777216", 16777216.0},                    // 2^24: divided in float
        {"1677721.5", 1677721.5},
        {"1677721.7", 1677721.75},                   // 2^24 + 1 digits: in double
        {"0.1234567891", 0.12345679104328156},       // 10 fraction digits: in float
        {"0.0000000001", 1.000000013351432e-10},
        {"0.00000000001", 9.999999960041972e-12},    // 11: in double
        {"16777217", 16777216.0},                    // halfway: to even
        {"16777219", 16777220.0},                    // halfway: to even
        {"16777217.000000001", 16777218.0},          // just above halfway
        {"16777216.999999999", 16777216.0},          // just below halfway
        {"9007199254740992", 9007199254740992.0},    // 2^53
        {"9007199254740993", 9007199254740992.0},    // beyond the exact integers
        {"1.000000059604645", 1.0000001192092896},   // above 1 + 2^-24
        {"1.000000059604644", 1.0},                  // below it
        {"1.000000059604644775390625", 1.0},         // exactly halfway: to even
        // Reads as a double exactly halfway between two floats, though the
        // decimal lies above: rounding through the double would go down.
        {"1.90711909532547", 1.9071191549301147},
        {"0.0000000000000000000001", 1.000000031374395e-22},  // 22 fraction digits
        {"0.00000000000000000000001", 9.999999998199587e-24},  // 23
        {"1234567890123456789", 1.2345679395506094e18},        // 19 digits
        {"12345678901234567890", 1.2345679395506094e19},      // 20
        {"340282346638528859811704183484516925440", 3.4028234663852886e38},
    };
    for (const ExactRealCase& c : cases) {
        SCOPED_TRACE(c.field);
        EXPECT_EQ(nmeaReal(c.field), c.value);
        expectSameAsFromChars(c.field);
    }
}

TEST(NmeaFieldsRealTest, RandomDecimalsAndNearHalfwayValuesMatchTheGeneralConversion) {
    std::mt19937_64 random(20240312);
    std::uniform_int_distribution<int> digit(0, 9);
    std::uniform_int_distribution<int> length(0, 12);
    for (int n = 0; n < 100000; ++n) {
        std::string number;
        for (int k = length(random); k >= 0; --k) number += static_cast<char>('0' + digit(random));
        number += '.';
        for (int k = length(random); k > 0; --k) number += static_cast<char>('0' + digit(random));
        expectSameAsFromChars(number);
    }

    // Decimals printed from points halfway between neighbouring floats and
    // from the doubles either side of them.
    std::uniform_int_distribution<std::uint32_t> floatBits(0x358637BDu, 0x5A0E1BC9u);  // 1e-6 .. 1e16
    char text[64];
    for (int n = 0; n < 50000; ++n) {
        const float low = std::bit_cast<float>(floatBits(random));
        const float high = std::nextafter(low, INFINITY);
        const double halfway = (static_cast<double>(low) + static_cast<double>(high)) / 2;
        for (const double value : {std::nextafter(halfway, 0.0), halfway, std::nextafter(halfway, INFINITY)}) {
            for (const int precision : {15, 16, 17}) {
                std::snprintf(text, sizeof text, "%.*g", precision, value);
                if (std::string_view(text).find('e') == std::string_view::npos) expectSameAsFromChars(text);
            }
        }
    }
}

}  // namespace
}  // namespace zentrova
