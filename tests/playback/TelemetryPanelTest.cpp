#include "playback/TelemetryPanel.h"

#include "playback/GraphView.h"
#include "support/GpsBlock.h"
#include "support/WidgetTestApplication.h"
#include "telemetry/ORVBlackBoxData.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLayout>

#include <memory>

namespace zentrova {
namespace {
using test::gpsBlock;

class TelemetryPanelTest : public test::WidgetTest {
protected:
    void SetUp() override {
        panel.resize(566, TelemetryPanel::kHeight);
        panel.show();
    }
    QString text(const char* field) const { return panel.findChild<QLabel*>(field)->text(); }
    QStringList readouts() const {
        QStringList texts;
        for (const char* field : {"gsensorXField", "gsensorYField", "gsensorZField", "speedField", "hdopField",
                                  "sateliteField"}) {
            texts << text(field);
        }
        return texts;
    }
    double marker() const { return panel.findChild<GraphView*>()->timePosition(); }

    TelemetryPanel panel;
};

TEST_F(TelemetryPanelTest, TheReadoutsFollowThePlayPositionAndTheMarkerThePlayer) {
    auto telemetry = std::make_shared<ORVBlackBoxData>();
    telemetry->m_GSensors = {ORVGSensor(0.5f, -0.25f, 1.0f), ORVGSensor(-1.0f, 0.0f, 0.75f)};
    ORVGpsData fix;
    fix.SpeedOverGround = 10.0;
    fix.HDOP = 0.9;
    fix.SatelliteUsedCount = 7;
    telemetry->m_NMEAs = {fix};
    telemetry->m_vGpsData = {gpsBlock('9')};
    panel.showTelemetry(telemetry);

    struct Step {
        double playPosition;
        double markerPosition;
        QStringList shown;
    } steps[] = {
        {0.1, 0.3, {"X=+0.50", "Y=-0.25", "Z=+1.00", "18 km/h", "0.9", "7"}},
        {0.9, 0.95, {"X=-1.00", "Y=0.00", "Z=+0.75", "18 km/h", "0.9", "7"}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.playPosition);
        panel.showPlayPosition(step.playPosition, step.markerPosition);
        EXPECT_EQ(readouts(), step.shown);
        EXPECT_DOUBLE_EQ(marker(), step.markerPosition);
    }
}

TEST_F(TelemetryPanelTest, ReadoutsOfNoValidFixAreGreyedWithANote) {
    struct Case {
        const char* what;
        bool withFix;
        std::uint8_t gpsValid;
        double latitude;
        bool withBlocks;
        QStringList shown;
        const char* note;  // none: real readings
    } cases[] = {
        {"a valid fix with a place", true, 1, 3745.0, true, {"18 km/h", "0.9", "7"}, nullptr},
        {"a fix marked not valid", true, 0, 3745.0, true, {"18 km/h", "0.9", "7"}, "No GPS fix"},
        {"a valid fix without a place", true, 1, 0.0, true, {"18 km/h", "0.9", "7"}, "No GPS fix"},
        {"blocks without any fix", false, 0, 0.0, true, {"- km/h", "-.-", "-"}, "No GPS fix"},
        {"no GPS data at all", false, 0, 0.0, false, {"- km/h", "-.-", "-"}, "No GPS data"},
    };
    auto* note = panel.findChild<QLabel*>("gpsStateLabel");
    ASSERT_NE(note, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto telemetry = std::make_shared<ORVBlackBoxData>();
        if (c.withFix) {
            ORVGpsData fix;
            fix.gpsValid = c.gpsValid;
            fix.Latitude = c.latitude;
            fix.Longitude = c.latitude == 0.0 ? 0.0 : 12230.0;
            fix.SpeedOverGround = 10.0;
            fix.HDOP = 0.9;
            fix.SatelliteUsedCount = 7;
            telemetry->m_NMEAs = {fix};
        }
        if (c.withBlocks) telemetry->m_vGpsData = {gpsBlock('9')};
        panel.reset();
        panel.showTelemetry(telemetry);
        panel.showPlayPosition(0.5, 0.5);
        EXPECT_EQ(readouts().mid(3), c.shown) << "the readouts keep their texts";
        for (const char* field : {"speedField", "hdopField", "sateliteField"}) {
            EXPECT_EQ(panel.findChild<QLabel*>(field)->property("noFix").toBool(), c.note != nullptr) << field;
        }
        EXPECT_EQ(note->isVisible(), c.note != nullptr);
        if (c.note) {
            EXPECT_EQ(note->text(), c.note);
        }
    }
    panel.reset();
    EXPECT_FALSE(note->isVisible()) << "a new recording starts without the note";
    EXPECT_FALSE(panel.findChild<QLabel*>("speedField")->property("noFix").toBool());
}

TEST_F(TelemetryPanelTest, AResetShowsTheStartTextsAndARecordingWithoutTelemetryMovesOnlyTheMarker) {
    auto telemetry = std::make_shared<ORVBlackBoxData>();
    telemetry->m_GSensors = {ORVGSensor(0.5f, -0.25f, 1.0f)};
    panel.showTelemetry(telemetry);
    panel.showPlayPosition(0.5, 0.5);
    panel.reset();
    const QStringList start{"X=+0.00", "Y=+0.00", "Z=+0.00", "", "", ""};
    EXPECT_EQ(readouts(), start);

    panel.showTelemetry(nullptr);
    panel.showPlayPosition(0.7, 0.6);
    EXPECT_EQ(readouts(), start);
    EXPECT_DOUBLE_EQ(marker(), 0.6);
}

TEST_F(TelemetryPanelTest, GraphKeepsItsPlaceWhateverTheReadoutsShow) {
    auto* graph = panel.findChild<GraphView*>();
    ASSERT_NE(graph, nullptr);
    auto show = [&](const char* x, const char* speed, const char* hdop, const char* satellites) {
        panel.findChild<QLabel*>("gsensorXField")->setText(x);
        panel.findChild<QLabel*>("speedField")->setText(speed);
        panel.findChild<QLabel*>("hdopField")->setText(hdop);
        panel.findChild<QLabel*>("sateliteField")->setText(satellites);
        graph->parentWidget()->layout()->activate();
        return graph->geometry();
    };
    const QRect idle = show("X=+0.00", "", "", "");
    EXPECT_EQ(show("X=0.00", "- km/h", "-.-", "-"), idle);
    EXPECT_EQ(show("X=-12.25", "118 km/h", "10.5", "12"), idle);
    EXPECT_EQ(show("X=+0.50", "18 mph", "0.9", "7"), idle);
    // The note of no fix comes and goes without moving the graph.
    panel.showTelemetry(std::make_shared<ORVBlackBoxData>());
    panel.showPlayPosition(0.5, 0.5);
    ASSERT_TRUE(panel.findChild<QLabel*>("gpsStateLabel")->isVisible());
    graph->parentWidget()->layout()->activate();
    EXPECT_EQ(graph->geometry(), idle);
}

}  // namespace
}  // namespace zentrova
