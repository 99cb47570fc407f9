#pragma once

#include <QString>
#include <QUrl>
#include <QWebEngineView>

#include <vector>

namespace zentrova {

// The web view holding the map page. Script calls made before the page has
// finished loading wait and run, in order, once it has: the first position of
// a recording often arrives while the page is still loading.
class ORVMapView : public QWebEngineView {
    Q_OBJECT
public:
    struct LatLon {
        double latitude = 0;
        double longitude = 0;
    };

    static constexpr const char* englishPageName = "map2_eng";
    static constexpr const char* otherLanguagePageName = "map2";

    explicit ORVMapView(QWidget* parent = nullptr);

    // "map2_eng" for English (or no language), "map2" for any other.
    static QString pageNameForLanguage(const QString& languageCode);
    // The resource of a page name, e.g. qrc:/map/map2_eng.htm.
    static QUrl pageUrl(const QString& pageName);
    static bool pageExists(const QString& pageName);

    // Loads the page; answers false, loading nothing, for an unknown name.
    bool loadMapPage(const QString& pageName = englishPageName);
    bool isPageReady() const { return m_pageReady; }

    // The page's position call, longitude first.
    void setLatLag(double lon, double lat);
    // The page's quiet notice.
    void debug(const QString& text);
    void setRoute(const std::vector<LatLon>& points);
    void clearRoute();

    // The script texts of the calls above. Numbers are written with six
    // decimals and a decimal point whatever the locale.
    static QString setLatLagScript(double lon, double lat);
    static QString debugScript(const QString& text);
    static QString routeScript(const std::vector<LatLon>& points);
    // A single-quoted JavaScript string literal of any text.
    static QString javaScriptString(const QString& text);

    // How many calls wait for the page.
    int pendingCallCount() const { return static_cast<int>(m_pending.size()); }

signals:
    // The page finished loading (ok) and the waiting calls have run.
    void pageReady(bool ok);

private:
    struct PendingCall {
        QString kind;  // a later call of the same kind replaces it; empty: never
        QString script;
    };

    void runOrQueue(const QString& kind, const QString& script);
    void onLoadStarted();
    void onLoadFinished(bool ok);

    bool m_pageReady = false;
    std::vector<PendingCall> m_pending;
};

}  // namespace zentrova
