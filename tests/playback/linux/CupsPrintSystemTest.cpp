#include "playback/linux/CupsPrintSystem.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace zentrova {
namespace {

// No scheduler runs on a build machine, and no printer has this name where
// one runs: every question about it must come back as a failure, never as
// a printer found or a job queued.
TEST(CupsPrintSystemTest, APrinterThatIsNotThereIsNeverFoundAskedOrPrintedOn) {
    CupsPrintSystem system;
    const std::string name = "zentrova-test-no-such-printer";
    EXPECT_NE(system.findPrinter(name), 0);
    EXPECT_FALSE(system.acceptedFormats(name).has_value());
    EXPECT_NE(system.printFile(name, "/dev/null", "image/jpeg", {{"fit-to-page", "true"}}), 0);
}

}  // namespace
}  // namespace zentrova
