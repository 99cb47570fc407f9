#include "card/TimeSetFile.h"
#include "support/FileText.h"

#include "common/Log.h"
#include "common/linux/PosixAtomicFileWriter.h"
#include "support/AsUnprivilegedUser.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <sys/stat.h>

namespace zentrova {
namespace {
namespace fs = std::filesystem;
using test::TempDir;

TEST(TimeSetFileTest, NineteenBytesOfDateAndTime) {
    struct Case {
        LocalDate date;
        LocalTime time;
        std::optional<std::string> text;
    } cases[] = {
        {{2026, 12, 5}, {7, 3, 9}, "2026/12/05 07:03:09"},
        {{2024, 2, 29}, {23, 59, 59}, "2024/02/29 23:59:59"},
        // The years the camera's clock and drive log hold, and no others.
        {{1970, 1, 1}, {0, 0, 0}, "1970/01/01 00:00:00"},
        {{2155, 12, 31}, {23, 59, 59}, "2155/12/31 23:59:59"},
        {{1969, 12, 31}, {23, 59, 59}, std::nullopt},
        {{2156, 1, 1}, {0, 0, 0}, std::nullopt},
        {{0, 1, 1}, {0, 0, 0}, std::nullopt},
        {{9999, 12, 31}, {0, 0, 0}, std::nullopt},
        {{2025, 2, 29}, {0, 0, 0}, std::nullopt},
        {{2026, 4, 31}, {0, 0, 0}, std::nullopt},
        {{2026, 13, 1}, {0, 0, 0}, std::nullopt},
        {{2026, 0, 1}, {0, 0, 0}, std::nullopt},
        {{2026, 1, 0}, {0, 0, 0}, std::nullopt},
        {{10000, 1, 1}, {0, 0, 0}, std::nullopt},
        {{-1, 1, 1}, {0, 0, 0}, std::nullopt},
        {{2026, 1, 1}, {24, 0, 0}, std::nullopt},
        {{2026, 1, 1}, {0, 60, 0}, std::nullopt},
        {{2026, 1, 1}, {0, 0, 60}, std::nullopt},
        {{2026, 1, 1}, {0, 0, -1}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.date.year) + "-" + std::to_string(c.date.month) + "-" + std::to_string(c.date.day) +
                     " " + std::to_string(c.time.hour) + ":" + std::to_string(c.time.minute) + ":" +
                     std::to_string(c.time.second));
        EXPECT_EQ(TimeSetFile::timeSetText(c.date, c.time), c.text);
    }
}

TEST(TimeSetFileTest, LocalDateAndTimeFollowTheTimeZone) {
    const char* saved = std::getenv("TZ");
    const std::string old = saved ? saved : "";
    ::setenv("TZ", "UTC-9", 1);  // nine hours east of UTC
    ::tzset();
    // 2026-12-04 22:03:09 UTC
    const auto instant = std::chrono::system_clock::from_time_t(1796421789);
    const LocalDate date = TimeSetFile::localDateOf(instant);
    const LocalTime time = TimeSetFile::localTimeOf(instant);
    if (saved) {
        ::setenv("TZ", old.c_str(), 1);
    } else {
        ::unsetenv("TZ");
    }
    ::tzset();
    EXPECT_EQ(TimeSetFile::timeSetText(date, time), "2026/12/05 07:03:09");
}

TEST(TimeSetFileTest, WriteCreatesOrCutsTheFile) {
    TempDir dir;
    PosixAtomicFileWriter writer;
    for (std::string old : {"", "1999/01/01 00:00:00", "1999/01/01 00:00:00 and more bytes"}) {
        SCOPED_TRACE(old);
        const fs::path file = dir.path() / "timeset.cfg";
        fs::remove(file);
        if (!old.empty()) dir.touch("timeset.cfg", old);
        EXPECT_EQ(TimeSetFile::doWriteConfigFile(file.string(), "2026/12/05 07:03:09", writer).errorKey, std::nullopt);
        EXPECT_EQ(test::fileText(file), "2026/12/05 07:03:09");
    }
}

TEST(TimeSetFileTest, AFailedWriteIsReported) {
    TempDir dir;
    fs::path folder = dir.mkdir("card");
    ::chmod(dir.str().c_str(), 0755);
    ::chmod(folder.c_str(), 0555);
    const std::string path = (folder / "timeset.cfg").string();
    std::string outcome = test::runAsUnprivilegedUser([&] {
        std::vector<std::string> log;
        setLogSink([&](std::string_view line) { log.emplace_back(line); });
        PosixAtomicFileWriter writer;
        auto error = TimeSetFile::doWriteConfigFile(path, "2026/12/05 07:03:09", writer).errorKey;
        setLogSink({});
        return error.value_or("none") + "|" + std::to_string(log.size());
    });
    ::chmod(folder.c_str(), 0755);
    EXPECT_EQ(outcome, "msg.file_open_fail|1");
    EXPECT_FALSE(fs::exists(path));
}

}  // namespace
}  // namespace zentrova
