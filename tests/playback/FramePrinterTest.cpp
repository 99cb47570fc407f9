#include "playback/FramePrinter.h"

#include "common/Log.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace zentrova {
namespace {

// A print service with one printer, "office", whose answers each case sets.
class FakePrintSystem : public PrintSystem {
public:
    int findError = 0;
    std::optional<std::vector<std::string>> formats = std::vector<std::string>{"application/pdf", "image/jpeg"};
    int printError = 0;

    struct Job {
        std::string printer;
        std::string path;
        std::string format;
        Options options;
    };
    std::vector<Job> jobs;

    int findPrinter(const std::string& name) override { return name == "office" ? findError : 1030; }
    std::optional<std::vector<std::string>> acceptedFormats(const std::string&) override { return formats; }
    int printFile(const std::string& name, const std::string& path, const std::string& format,
                  const Options& options) override {
        jobs.push_back({name, path, format, options});
        return printError;
    }
};

class FramePrinterTest : public ::testing::Test {
protected:
    void SetUp() override {
        setLogSink([this](std::string_view line) { log.emplace_back(line); });
    }
    void TearDown() override { setLogSink({}); }

    static FramePrinter::Request toOffice() {
        FramePrinter::Request request;
        request.destination = FramePrinter::Destination::Printer;
        request.printerName = "office";
        request.framePath = "/run/user/1000/zentrova_capture_a1b2c3.jpg";
        return request;
    }

    FakePrintSystem system;
    std::vector<std::string> log;
};

TEST_F(FramePrinterTest, EachRefusalLogsItsLineAndPrintsNothing) {
    using Destination = FramePrinter::Destination;
    using Outcome = FramePrinter::Outcome;
    const std::string notAPrinter =
        "Either got an error from PMSessionGetDestinationType or the print destination wasn't kPMDestinationPrinter";
    struct Case {
        const char* name;
        void (*setUp)(FakePrintSystem&, FramePrinter::Request&);
        Outcome outcome;
        std::vector<std::string> log;
        std::size_t jobs;
    } cases[] = {
        {"a file destination", [](FakePrintSystem&, FramePrinter::Request& r) { r.destination = Destination::File; },
         Outcome::NotAPrinter, {notAPrinter}, 0},
        {"a preview", [](FakePrintSystem&, FramePrinter::Request& r) { r.destination = Destination::Preview; },
         Outcome::NotAPrinter, {notAPrinter}, 0},
        {"a destination nobody could tell",
         [](FakePrintSystem&, FramePrinter::Request& r) { r.destination = Destination::Unknown; },
         Outcome::NotAPrinter, {notAPrinter}, 0},
        {"a printer without a name", [](FakePrintSystem&, FramePrinter::Request& r) { r.printerName.clear(); },
         Outcome::NotAPrinter, {notAPrinter}, 0},
        {"a printer the service does not know", [](FakePrintSystem&, FramePrinter::Request& r) { r.printerName = "gone"; },
         Outcome::NoPrinter, {"Got an error from PMSessionGetCurrentPrinter (1030)"}, 0},
        {"a printer the service cannot reach", [](FakePrintSystem& s, FramePrinter::Request&) { s.findError = 1282; },
         Outcome::NoPrinter, {"Got an error from PMSessionGetCurrentPrinter (1282)"}, 0},
        {"a printer that tells no formats", [](FakePrintSystem& s, FramePrinter::Request&) { s.formats.reset(); },
         Outcome::NoFormats, {}, 0},
        {"a printer without JPEG",
         [](FakePrintSystem& s, FramePrinter::Request&) { s.formats = std::vector<std::string>{"application/pdf", "image/pwg-raster"}; },
         Outcome::FormatRefused, {"MIME type image/jpeg isn't supported by the printer"}, 0},
        {"a printer with an empty list", [](FakePrintSystem& s, FramePrinter::Request&) { s.formats = std::vector<std::string>{}; },
         Outcome::FormatRefused, {"MIME type image/jpeg isn't supported by the printer"}, 0},
        {"a job the printer refuses", [](FakePrintSystem& s, FramePrinter::Request&) { s.printError = 1025; },
         Outcome::PrintFailed, {"PMPrinterPrintWithFile returned error 1025"}, 1},
        {"a printer that takes it", [](FakePrintSystem&, FramePrinter::Request&) {}, Outcome::Printed, {}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        system = FakePrintSystem();
        log.clear();
        FramePrinter::Request request = toOffice();
        c.setUp(system, request);
        FramePrinter printer(system);
        EXPECT_EQ(printer.print(request), c.outcome);
        EXPECT_EQ(log, c.log);
        EXPECT_EQ(system.jobs.size(), c.jobs);
    }
}

TEST_F(FramePrinterTest, TheFileGoesAsJpegFittedToThePageWithTheDialogsChoices) {
    FramePrinter::Request request = toOffice();
    request.options = {{"copies", "2"}, {"fit-to-page", "false"}, {"orientation-requested", "4"}};
    FramePrinter printer(system);
    ASSERT_EQ(printer.print(request), FramePrinter::Outcome::Printed);
    ASSERT_EQ(system.jobs.size(), 1u);
    const FakePrintSystem::Job& job = system.jobs[0];
    EXPECT_EQ(job.printer, "office");
    EXPECT_EQ(job.path, request.framePath);
    EXPECT_EQ(job.format, "image/jpeg");
    const PrintSystem::Options expected{{"fit-to-page", "true"}, {"copies", "2"}, {"orientation-requested", "4"}};
    EXPECT_EQ(job.options, expected) << "fitting to the page is not the dialog's to turn off";
}

}  // namespace
}  // namespace zentrova
