#include "telemetry/export/CsvLine.h"


#include <gtest/gtest.h>

#include <string>

namespace zentrova {
namespace {

TEST(CsvLineTest, QuotesOnlyWhatNeedsIt) {
    struct Case {
        std::string field;
        std::string written;
    } cases[] = {
        {"plain", "plain"},  {"", ""},
        {"a,b", "\"a,b\""},  {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\r\nlines", "\"two\r\nlines\""}, {"lf\n", "\"lf\n\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        std::string out;
        CsvLine().text(c.field).integer(7).appendTo(out);
        EXPECT_EQ(out, c.written + ",7\r\n");
    }
}

}  // namespace
}  // namespace zentrova
