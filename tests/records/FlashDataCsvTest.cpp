#include "records/FlashDataCsv.h"
#include "support/FileText.h"

#include "common/Log.h"
#include "common/linux/PosixAtomicFileWriter.h"
#include "records/FlashDataTable.h"
#include "support/AsUnprivilegedUser.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include <sys/stat.h>

namespace zentrova {
namespace {
namespace fs = std::filesystem;
using test::TempDir;

const std::string kHeader =
    "No.,Seq.,Date,Time,Day,Latitude,Longitude,Distance,Speed,Max Speed,Status,X,Y,Z,Battery (V)\n";

FlashDataTable twoRecordTable() {
    FLASH_SAVE_VALUE_STRUCT first;
    first.seq = 17;
    first.yoil = 1;
    first.value = 2;
    first.year = 126;
    first.month = 12;
    first.day = 5;
    first.hour = 7;
    first.minute = 3;
    first.second = 9;
    first.lat_ddmm = 3731;
    first.lat_mmmm = 512;
    first.lon_dddmm = 12658;
    first.lon_mmmm = 7;
    first.driving_distance = 15;
    first.cur_speed = 42;
    first.max_speed = 99;
    first.x = -64;
    first.y = 256;
    first.battery = 95;
    FLASH_SAVE_VALUE_STRUCT second;
    second.yoil = 7;
    FlashDataTable table;
    table.setRecords({first, second});
    return table;
}

const std::string kTwoRecordCsv =
    kHeader +
    "1,17,2026/12/05,07:03:09,MON,3731.0512,12658.0007,1.5,42,99,F,-0.25,+1.00,+0.00, 9.5\n"
    "2,0,1900/00/00,00:00:00,-,0000.0000,00000.0000,0.0,0,0,V,+0.00,+0.00,+0.00, 0.0\n";

TEST(FlashDataCsvTest, TitlesThenOneLinePerRecord) {
    EXPECT_EQ(FlashDataCsv::csvText(twoRecordTable()), kTwoRecordCsv);
    EXPECT_EQ(FlashDataCsv::csvText(FlashDataTable{}), kHeader);
}

TEST(FlashDataCsvTest, QuotesOnlyFieldsThatNeedIt) {
    struct Case {
        const char* text;
        const char* field;
    } cases[] = {
        {"Max Speed", "Max Speed"},
        {" 9.5", " 9.5"},
        {"", ""},
        {"Speed, km/h", "\"Speed, km/h\""},
        {"5\" screen", "\"5\"\" screen\""},
        {"two\nlines", "\"two\nlines\""},
        {"cr\r", "\"cr\r\""},
        {"\"", "\"\"\"\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FlashDataCsv::csvField(c.text), c.field);
    }
}

TEST(FlashDataCsvTest, ReplacesALongerFileWhole) {
    TempDir dir;
    fs::path file = dir.touch("zentrova_000.csv", std::string(10000, 'o'));
    PosixAtomicFileWriter writer;
    EXPECT_EQ(FlashDataCsv::doWriteCSVFile(twoRecordTable(), file.string(), writer).errorKey, std::nullopt);
    EXPECT_EQ(test::fileText(file), kTwoRecordCsv);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(FlashDataCsvTest, AnUnwritableFolderIsReportedAndLogged) {
    TempDir dir;
    fs::path folder = dir.mkdir("locked");
    fs::path file = dir.touch("locked/zentrova_000.csv", "old");
    ::chmod(dir.str().c_str(), 0755);
    ::chmod(folder.c_str(), 0555);
    std::string outcome = test::runAsUnprivilegedUser([&] {
        std::vector<std::string> log;
        setLogSink([&](std::string_view line) { log.emplace_back(line); });
        PosixAtomicFileWriter writer;
        auto error = FlashDataCsv::doWriteCSVFile(twoRecordTable(), file.string(), writer).errorKey;
        setLogSink({});
        return error.value_or("none") + "|" + std::to_string(log.size());
    });
    ::chmod(folder.c_str(), 0755);
    EXPECT_EQ(outcome, "msg.file_open_fail|1");
    EXPECT_EQ(test::fileText(file), "old");
}

}  // namespace
}  // namespace zentrova
