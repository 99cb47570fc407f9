#include "playback/ORVMapView.h"

#include "common/Log.h"
#include "playback/ORVTelemetryReadout.h"

#include <QFile>
#include <QWebEnginePage>
#include <QWebEngineSettings>

#include <algorithm>
#include <cmath>
#include <cstdio>

// The map resources live in a static library; nothing refers to their
// registration unless we ask for it, so the linker would drop them.
static void registerMapResources() { Q_INIT_RESOURCE(map); }

namespace zentrova {

namespace {
void ensureMapRegistered() {
    static const bool registered = (registerMapResources(), true);
    (void)registered;
}

// "%.6f" in the C locale: snprintf would follow LC_NUMERIC and could write a
// decimal comma, which the page cannot read.
QString sixDecimals(double value) {
    if (!std::isfinite(value)) return QStringLiteral("nan");
    return QString::number(value, 'f', 6);
}
}  // namespace

ORVMapView::ORVMapView(QWidget* parent) : QWebEngineView(parent) {
    setObjectName("mapWebView");
    // Tiles come from the network although the page itself is a resource.
    settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    connect(this, &QWebEngineView::loadStarted, this, &ORVMapView::onLoadStarted);
    connect(this, &QWebEngineView::loadFinished, this, &ORVMapView::onLoadFinished);
}

QString ORVMapView::pageNameForLanguage(const QString& languageCode) {
    if (languageCode.isEmpty() || languageCode.startsWith(QLatin1String("en"), Qt::CaseInsensitive)) {
        return QString::fromLatin1(englishPageName);
    }
    return QString::fromLatin1(otherLanguagePageName);
}

QUrl ORVMapView::pageUrl(const QString& pageName) { return QUrl(QStringLiteral("qrc:/map/%1.htm").arg(pageName)); }

bool ORVMapView::pageExists(const QString& pageName) {
    ensureMapRegistered();
    if (pageName.isEmpty() || pageName.contains('/')) return false;
    return QFile::exists(QStringLiteral(":/map/%1.htm").arg(pageName));
}

bool ORVMapView::loadMapPage(const QString& pageName) {
    if (!pageExists(pageName)) {
        logLine("map page not found: " + pageName.toStdString());
        return false;
    }
    m_pageReady = false;
    load(pageUrl(pageName));
    return true;
}

void ORVMapView::setLatLag(double lon, double lat) { runOrQueue(QStringLiteral("setLatLag"), setLatLagScript(lon, lat)); }

void ORVMapView::debug(const QString& text) { runOrQueue(QStringLiteral("ORVDebug"), debugScript(text)); }

void ORVMapView::setRoute(const std::vector<LatLon>& points) {
    runOrQueue(QStringLiteral("route"), routeScript(points));
}

void ORVMapView::clearRoute() { runOrQueue(QStringLiteral("route"), QStringLiteral("clearRoute()")); }

QString ORVMapView::setLatLagScript(double lon, double lat) {
    // One formatter for the call, shared with the readouts.
    return QString::fromStdString(ORVTelemetryReadout::setLatLagScript({lat, lon}));
}

QString ORVMapView::debugScript(const QString& text) {
    return QStringLiteral("ORVDebug(%1)").arg(javaScriptString(text));
}

QString ORVMapView::routeScript(const std::vector<LatLon>& points) {
    QString array;
    array.reserve(static_cast<qsizetype>(points.size()) * 24 + 2);
    array += '[';
    bool first = true;
    for (const LatLon& point : points) {
        // JSON has no text for NaN or infinity; such a point is no position.
        if (!std::isfinite(point.latitude) || !std::isfinite(point.longitude)) continue;
        if (!first) array += ',';
        first = false;
        array += '[' + sixDecimals(point.latitude) + ',' + sixDecimals(point.longitude) + ']';
    }
    array += ']';
    return QStringLiteral("setRoute(%1)").arg(array);
}

QString ORVMapView::javaScriptString(const QString& text) {
    QString quoted;
    quoted.reserve(text.size() + 2);
    quoted += '\'';
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        switch (u) {
        case '\\': quoted += QLatin1String("\\\\"); break;
        case '\'': quoted += QLatin1String("\\'"); break;
        case '"': quoted += QLatin1String("\\\""); break;
        case '\n': quoted += QLatin1String("\\n"); break;
        case '\r': quoted += QLatin1String("\\r"); break;
        case '\t': quoted += QLatin1String("\\t"); break;
        default:
            // Control characters, the two line separators JavaScript ends a
            // string at, and "<" (so "</script>" cannot close anything) are
            // written as escapes.
            if (u < 0x20 || u == 0x2028 || u == 0x2029 || u == '<' || u == 0x7f) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(u));
                quoted += QLatin1String(escape);
            } else {
                quoted += c;
            }
        }
    }
    quoted += '\'';
    return quoted;
}

void ORVMapView::runOrQueue(const QString& kind, const QString& script) {
    if (m_pageReady) {
        page()->runJavaScript(script);
        return;
    }
    if (!kind.isEmpty()) {
        // Only the latest position, notice or route matters once the page is up.
        m_pending.erase(std::remove_if(m_pending.begin(), m_pending.end(),
                                       [&](const PendingCall& call) { return call.kind == kind; }),
                        m_pending.end());
    }
    m_pending.push_back({kind, script});
}

void ORVMapView::onLoadStarted() { m_pageReady = false; }

void ORVMapView::onLoadFinished(bool ok) {
    if (!ok) {
        // The calls keep waiting for a page that loads.
        logLine("map page failed to load: " + url().toString().toStdString());
        emit pageReady(false);
        return;
    }
    m_pageReady = true;
    std::vector<PendingCall> calls;
    calls.swap(m_pending);
    for (const PendingCall& call : calls) page()->runJavaScript(call.script);
    emit pageReady(true);
}

}  // namespace zentrova
