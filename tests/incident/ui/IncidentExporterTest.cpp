#include "incident/ui/IncidentExporter.h"

#include "controls/ProgressSheet.h"
#include "support/AnsweredAlerts.h"
#include "support/FailingFolders.h"
#include "support/FileText.h"
#include "support/GeneratedCard.h"
#include "support/ShellStatus.h"
#include "support/WidgetTestApplication.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QWidget>

#include <filesystem>
#include <set>

namespace zentrova {
namespace {

namespace fs = std::filesystem;
using test::GeneratedCard;

std::set<std::string> entriesOf(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

QImage picture() {
    QImage image(64, 36, QImage::Format_RGB32);
    image.fill(QColor(200, 30, 40));
    return image;
}

class IncidentExporterTest : public test::WidgetTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(card.result.card) << card.result.error;
        fs::create_directories(out);
        window.show();
    }

    IncidentExporter::Parts partsInto(const fs::path& folder) {
        IncidentExporter::Parts parts;
        parts.chooseFolder = [folder](QWidget*) { return QString::fromStdString(folder.string()); };
        parts.nowUtcMilliseconds = [] { return std::int64_t{1718350200000}; };
        return parts;
    }

    // Exports and waits; the package's path, empty when none was written.
    static QString exportAndWait(IncidentExporter& exporter, const std::string& recording, const QImage& capture,
                                 QString* error = nullptr) {
        QSignalSpy finished(&exporter, &IncidentExporter::exportFinished);
        if (!exporter.exportRecording(QString::fromStdString(recording), capture)) return {};
        EXPECT_TRUE(exporter.isExporting());
        EXPECT_NE(exporter.progressSheet(), nullptr);
        if (exporter.progressSheet()) {
            EXPECT_TRUE(exporter.progressSheet()->isVisible()) << "progress is shown";
        }
        if (!finished.wait(60000)) return {};
        if (error) *error = finished.at(0).at(1).toString();
        return finished.at(0).at(0).toString();
    }

    const GeneratedCard card;
    const fs::path out = card.dir.path() / "out";
    QWidget window;
};

TEST_F(IncidentExporterTest, APackageWithBothSidesAndThePictureVerifiesAndIsNeverReplacedExpected) {
    test::AnsweredAlerts alerts;
    IncidentExporter exporter(&window, partsInto(out));
    const auto& recording = card.card().recordings.at(0);
    const QString first = exportAndWait(exporter, recording.rearPath, picture());
    const fs::path package = out / (recording.groupName + "-incident");
    ASSERT_EQ(first.toStdString(), package.string()) << "chosen by its rear file, named after the recording";
    EXPECT_FALSE(exporter.isExporting());

    const std::string front = fs::path(recording.frontPath).filename().string();
    const std::string rear = fs::path(recording.rearPath).filename().string();
    EXPECT_EQ(entriesOf(package), (std::set<std::string>{front, rear, "route.gpx", "route.kml", "telemetry.csv",
                                                          "capture.png", "summary.html", "summary.json",
                                                          "SHA256SUMS"}));
    EXPECT_EQ(test::fileText(package / front), test::fileText(recording.frontPath)) << "copied byte for byte";
    EXPECT_EQ(test::fileText(package / rear), test::fileText(recording.rearPath));
    QImage captured;
    ASSERT_TRUE(captured.load(QString::fromStdString((package / "capture.png").string())));
    EXPECT_EQ(captured.size(), QSize(64, 36));
    EXPECT_EQ(captured.pixelColor(10, 10), QColor(200, 30, 40));
    EXPECT_EQ(test::shellStatus("cd '" + package.string() + "' && sha256sum --quiet -c SHA256SUMS"), 0);
    EXPECT_NE(test::fileText(package / "SHA256SUMS").find("  capture.png\n"), std::string::npos);
    EXPECT_NE(test::fileText(package / "summary.json").find("\"capture\""), std::string::npos);
    if (test::shellStatus("command -v gpsbabel >/dev/null") == 0) {
        EXPECT_EQ(test::shellStatus("gpsbabel -i gpx -f '" + (package / "route.gpx").string() + "' -o csv -F /dev/null"), 0);
    }
    ASSERT_EQ(alerts.seen.size(), 1u);
    EXPECT_EQ(alerts.seen[0].title, "Incident Package Written");
    EXPECT_TRUE(alerts.seen[0].message.contains(first));

    const std::string sums = test::fileText(package / "SHA256SUMS");
    const QString second = exportAndWait(exporter, recording.frontPath, QImage());
    EXPECT_EQ(second.toStdString(), package.string() + "-2") << "a package already there is kept";
    EXPECT_EQ(test::fileText(package / "SHA256SUMS"), sums);
    EXPECT_FALSE(fs::exists(fs::path(second.toStdString()) / "capture.png")) << "no picture, no capture file";
    EXPECT_EQ(test::shellStatus("cd '" + second.toStdString() + "' && sha256sum --quiet -c SHA256SUMS"), 0);
}

TEST_F(IncidentExporterTest, AWriteFailingMidwayLeavesNothingAndSaysWhyExpected) {
    using Step = test::FailingFolders::Step;
    const struct {
        const char* name;
        Step step;
        std::size_t file;
    } cases[] = {
        {"the first copy stops when the card is full", Step::Write, 0},
        {"the last file cannot be made", Step::CreateFile, 6},
        {"the folder cannot be put in place", Step::Publish, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::AnsweredAlerts alerts;
        auto folders = std::make_shared<test::FailingFolders>();
        folders->failAt = c.step;
        folders->fileIndex = c.file;
        folders->writtenBefore = 1000;
        IncidentExporter::Parts parts = partsInto(out);
        parts.folders = folders;
        IncidentExporter exporter(&window, std::move(parts));
        QString error;
        const QString path = exportAndWait(exporter, card.card().recordings.at(1).frontPath, picture(), &error);
        EXPECT_TRUE(path.isEmpty());
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(entriesOf(out), std::set<std::string>{}) << "no package, and no hidden half of one";
        ASSERT_EQ(alerts.seen.size(), 1u);
        EXPECT_EQ(alerts.seen[0].title, "No Incident Package Written");
        EXPECT_TRUE(alerts.seen[0].message.contains(error));
    }
}

TEST_F(IncidentExporterTest, NoFolderChosenStartsNothingExpected) {
    test::AnsweredAlerts alerts;
    IncidentExporter exporter(&window, partsInto({}));
    exporter.setFolderChooser([](QWidget*) { return QString(); });
    EXPECT_FALSE(exporter.exportRecording(QString::fromStdString(card.card().recordings.at(0).frontPath)));
    EXPECT_FALSE(exporter.isExporting());
    EXPECT_EQ(exporter.progressSheet(), nullptr);
    EXPECT_TRUE(alerts.seen.empty());
}

}  // namespace
}  // namespace zentrova
