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
        {0.1, 0.3, {"X=+0.50", "Y=-0.25", "Z=+1.00", "18 Km/h", "0.9", "7"}},
        {0.9, 0.95, {"X=-1.00", "Y=0.00", "Z=+0.75", "18 Km/h", "0.9", "7"}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.playPosition);
        panel.showPlayPosition(step.playPosition, step.markerPosition);
        EXPECT_EQ(readouts(), step.shown);
        EXPECT_DOUBLE_EQ(marker(), step.markerPosition);
    }
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
    EXPECT_EQ(show("X=0.00", "- Km/h", "-.-", "-"), idle);
    EXPECT_EQ(show("X=-12.25", "118 Km/h", "10.5", "12"), idle);
    EXPECT_EQ(show("X=+0.50", "18 Mi/h", "0.9", "7"), idle);
}

}  // namespace
}  // namespace zentrova
