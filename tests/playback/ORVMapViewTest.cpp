#include "playback/ORVMapView.h"

#include "MapTestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QWebEngineProfile>

#include <unistd.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <memory>

namespace zentrova {
namespace {
using test::evaluate;
using test::OfflineInterceptor;

constexpr int kLoadTimeoutMs = 20000;

// The command lines of this process's children, arguments joined by blanks.
QStringList childCommandLines() {
    QStringList lines;
    const QString parent = QString::number(::getpid());
    for (const QString& entry : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile stat("/proc/" + entry + "/stat");
        if (!stat.open(QIODevice::ReadOnly)) continue;
        const QByteArray text = stat.readAll();
        // The parent follows the state, after the name in parentheses.
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        if (fields.size() < 2 || fields[1] != parent.toLatin1()) continue;
        QFile cmdline("/proc/" + entry + "/cmdline");
        if (cmdline.open(QIODevice::ReadOnly)) lines << QString::fromLocal8Bit(cmdline.readAll().replace('\0', ' '));
    }
    return lines;
}

class ORVMapViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        view = std::make_unique<ORVMapView>();
        view->resize(400, 300);
    }
    void TearDown() override { view.reset(); }

    bool loadAndWait(const QString& pageName = QString::fromLatin1(ORVMapView::englishPageName)) {
        QSignalSpy ready(view.get(), &ORVMapView::pageReady);
        if (!view->loadMapPage(pageName)) return false;
        if (!ready.wait(kLoadTimeoutMs)) return false;
        return ready.first().first().toBool();
    }

    QString pageText(const QString& script) { return evaluate(view->page(), script).toString(); }
    // The script calls of the view are not answered; a read-back behind them
    // runs after them, since the page runs scripts in order.
    QString markerAfterCalls() { return pageText("markerLatLng()"); }

    QApplication& app = test::webApplication();
    OfflineInterceptor offline;
    std::unique_ptr<ORVMapView> view;
};

TEST(ORVMapViewScriptTest, PositionCallWritesLongitudeFirstWithSixDecimals) {
    EXPECT_EQ(ORVMapView::setLatLagScript(-122.4, 37.75), "setLatLag('-122.400000','37.750000')");
    EXPECT_EQ(ORVMapView::setLatLagScript(0, -0.0000004), "setLatLag('0.000000','-0.000000')");
}

TEST(ORVMapViewScriptTest, PositionCallKeepsTheDecimalPointInACommaLocale) {
    const char* german = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    if (german == nullptr) german = std::setlocale(LC_NUMERIC, "de_DE");
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString script = ORVMapView::setLatLagScript(13.377704, 52.516275);
    QLocale::setDefault(QLocale::c());
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(script, "setLatLag('13.377704','52.516275')");
}

TEST(ORVMapViewScriptTest, RouteLeavesOutPointsWithoutANumber) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(ORVMapView::routeScript({{37.5, 127.0}, {nan, 1.0}, {37.6, 127.1}}),
              "setRoute([[37.500000,127.000000],[37.600000,127.100000]])");
    EXPECT_EQ(ORVMapView::routeScript({}), "setRoute([])");
}

TEST(ORVMapViewScriptTest, PageNameFollowsTheLanguage) {
    const struct {
        const char* language;
        const char* page;
    } cases[] = {{"", "map2_eng"}, {"en", "map2_eng"}, {"en-GB", "map2_eng"}, {"ko", "map2"}, {"de", "map2"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language);
        EXPECT_EQ(ORVMapView::pageNameForLanguage(QString::fromLatin1(c.language)), QString::fromLatin1(c.page));
    }
}

TEST(ORVMapViewScriptTest, OnlyTheResourcePagesExist) {
    test::webApplication();
    EXPECT_TRUE(ORVMapView::pageExists("map2_eng"));
    EXPECT_TRUE(ORVMapView::pageExists("map2"));
    EXPECT_FALSE(ORVMapView::pageExists("map3"));
    EXPECT_FALSE(ORVMapView::pageExists("../images/zentrova"));
    ORVMapView view;
    EXPECT_FALSE(view.loadMapPage("map3"));
}

TEST(ORVMapViewScriptTest, WebEngineFlagsAddTheirsOnceAfterTheUsers) {
    const struct {
        const char* alreadySet;
        const char* expected;
    } cases[] = {
        {"", "--no-unsandboxed-zygote"},
        {"  ", "--no-unsandboxed-zygote"},
        {"--disable-gpu", "--disable-gpu --no-unsandboxed-zygote"},
        {"--no-unsandboxed-zygote --disable-gpu", "--no-unsandboxed-zygote --disable-gpu"},
        {"--no-unsandboxed-zygote-x", "--no-unsandboxed-zygote-x --no-unsandboxed-zygote"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(webEngineFlags(c.alreadySet), QByteArray(c.expected)) << c.alreadySet;
    }
}

TEST_F(ORVMapViewTest, MapStartsNoHelperStarterForUnsandboxedHelpers) {
    ASSERT_TRUE(loadAndWait());
    const QStringList children = childCommandLines();
    ASSERT_FALSE(children.isEmpty()) << "the web engine started no helper process";
    for (const QString& line : children) {
        EXPECT_FALSE(line.contains("--no-zygote-sandbox")) << line.toStdString();
    }
}

// The program's main fails when these threads outlive the application; the
// check would pass vacuously if it did not see them while a page runs.
TEST_F(ORVMapViewTest, ExitCheckSeesTheThreadsOfTheRunningWebEngine) {
    ASSERT_TRUE(loadAndWait());
    const QStringList running = test::runningWebEngineThreads();
    EXPECT_TRUE(running.contains("Chrome_IOThread")) << running.join(' ').toStdString();
    EXPECT_TRUE(running.contains("ThreadPoolServi")) << running.join(' ').toStdString();
}

TEST_F(ORVMapViewTest, PageLoadsWithNoNetworkAndSaysTilesAreUnavailable) {
    ASSERT_TRUE(loadAndWait());
    EXPECT_EQ(pageText("typeof L"), "object") << "Leaflet did not load from the resources";
    for (const char* function : {"setLatLag", "ORVDebug", "setRoute", "clearRoute"}) {
        EXPECT_EQ(pageText(QStringLiteral("typeof %1").arg(function)), "function") << function;
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return evaluate(view->page(), "tilesUnavailable()").toBool(); }, 15000));
    EXPECT_FALSE(pageText("document.getElementById('tiles').textContent").isEmpty());
    // Nothing but map tiles is asked of the network.
    for (const QString& url : offline.blocked) {
        EXPECT_TRUE(url.startsWith("https://tile.openstreetmap.org/")) << url.toStdString();
    }
}

TEST_F(ORVMapViewTest, PositionMovesTheMarkerAndTheView) {
    ASSERT_TRUE(loadAndWait());
    EXPECT_EQ(markerAfterCalls(), "") << "no marker before the first position";
    view->setLatLag(-122.4, 37.75);
    EXPECT_EQ(markerAfterCalls(), "37.750000,-122.400000");
    EXPECT_EQ(pageText("viewCenter()"), "37.750000,-122.400000");
    EXPECT_EQ(pageText("coordinatesText()"), "Lat 37.750000  Lon -122.400000");
    view->setLatLag(151.209296, -33.86882);
    EXPECT_EQ(markerAfterCalls(), "-33.868820,151.209296");
}

TEST_F(ORVMapViewTest, PageRefusesTextsThatAreNoPlainDecimalDegrees) {
    ASSERT_TRUE(loadAndWait());
    view->setLatLag(127.0, 37.5);
    ASSERT_EQ(markerAfterCalls(), "37.500000,127.000000");
    // A decimal comma would otherwise be read as a whole degree.
    for (const char* call : {"setLatLag('126,500000','37,250000')", "setLatLag('','')", "setLatLag('nan','nan')",
                             "setLatLag('37.5','127.0')", "setLatLag('200.0','10.0')"}) {
        SCOPED_TRACE(call);
        EXPECT_FALSE(evaluate(view->page(), call).toBool());
        EXPECT_EQ(markerAfterCalls(), "37.500000,127.000000");
    }
}

TEST_F(ORVMapViewTest, NoticeShowsItsTextAsItStands) {
    ASSERT_TRUE(loadAndWait());
    const QString texts[] = {"GPS Data Count=Zero", "it's \"quoted\" \\ back", "two\nlines\r\tand tab",
                             "</script><b>bold</b>", QString::fromUtf8("line\u2028separator \u00e9\u4e2d")};
    for (const QString& text : texts) {
        SCOPED_TRACE(text.toStdString());
        view->debug(text);
        EXPECT_EQ(pageText("debugText()"), text);
    }
    EXPECT_EQ(pageText("document.getElementById('debug').children.length"), "0") << "markup was not taken as text";
}

TEST_F(ORVMapViewTest, PositionClearsAnEarlierNotice) {
    ASSERT_TRUE(loadAndWait());
    view->debug("GPS Data Count=Zero");
    view->setLatLag(10.0, 20.0);
    EXPECT_EQ(markerAfterCalls(), "20.000000,10.000000");
    EXPECT_EQ(pageText("debugText()"), "");
}

TEST_F(ORVMapViewTest, RouteDrawsEveryPointAndClears) {
    ASSERT_TRUE(loadAndWait());
    std::vector<ORVMapView::LatLon> route;
    for (int i = 0; i < 25; ++i) route.push_back({37.5 + i * 0.001, 127.0 + i * 0.002});
    view->setRoute(route);
    EXPECT_EQ(pageText("routePointCount()"), "25");
    view->setRoute({{37.5, 127.0}, {37.6, 127.1}, {37.7, 127.2}});
    EXPECT_EQ(pageText("routePointCount()"), "3") << "a new route replaces the old one";
    view->clearRoute();
    EXPECT_EQ(pageText("routePointCount()"), "0");
    EXPECT_EQ(evaluate(view->page(), "setRoute([[91,0],[0,181],'x',[10,20]])").toInt(), 1);
}

TEST_F(ORVMapViewTest, CallsMadeBeforeTheLoadRunAfterIt) {
    view->setLatLag(1.0, 2.0);
    view->setRoute({{2.0, 1.0}, {2.1, 1.1}});
    view->debug("first notice");
    view->setLatLag(-3.5, 4.25);
    view->debug("GPS Data Count=Zero");
    EXPECT_EQ(view->pendingCallCount(), 3) << "a later position or notice replaces the waiting one";
    ASSERT_TRUE(loadAndWait());
    EXPECT_EQ(view->pendingCallCount(), 0);
    EXPECT_EQ(markerAfterCalls(), "4.250000,-3.500000");
    EXPECT_EQ(pageText("routePointCount()"), "2");
    EXPECT_EQ(pageText("debugText()"), "GPS Data Count=Zero");
}

TEST_F(ORVMapViewTest, CallsDuringAReloadWaitForTheNewPage) {
    ASSERT_TRUE(loadAndWait());
    QSignalSpy ready(view.get(), &ORVMapView::pageReady);
    ASSERT_TRUE(view->loadMapPage(QString::fromLatin1(ORVMapView::otherLanguagePageName)));
    EXPECT_FALSE(view->isPageReady());
    view->setLatLag(8.5, 47.25);
    ASSERT_TRUE(ready.wait(kLoadTimeoutMs));
    EXPECT_EQ(view->url().toString(), "qrc:/map/map2.htm");
    EXPECT_EQ(markerAfterCalls(), "47.250000,8.500000");
}

}  // namespace
}  // namespace zentrova
