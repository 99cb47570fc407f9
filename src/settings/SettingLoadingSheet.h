#pragma once

#include "controls/ProgressSheet.h"

#include <QPointer>
#include <QString>

#include <cstdint>
#include <memory>

class QWidget;

namespace zentrova {

class DelayedSteps;

// The sheet on the settings editor while its file is read. It goes at the
// first half-second tick after it was asked to, so it shows for at least
// half a second, and by itself after 15 seconds even if nobody asks.
class SettingLoadingSheet {
public:
    static constexpr int kTickMilliseconds = 500;
    static constexpr double kLongestSeconds = 15.0;

    SettingLoadingSheet(QWidget* window, DelayedSteps& steps);
    ~SettingLoadingSheet();
    SettingLoadingSheet(const SettingLoadingSheet&) = delete;
    SettingLoadingSheet& operator=(const SettingLoadingSheet&) = delete;

    void showLoading(const QString& title);
    // The sheet closes at its next tick.
    void hideLoading();

    bool isShown() const;
    // From 0 to 100 over the longest showing time.
    double progress() const { return m_progress; }
    ProgressSheet* panel() const { return m_progressPanel; }

private:
    void scheduleUpdate(double seconds);
    void updateLoadingWindow(double seconds);
    void closePanel();

    DelayedSteps& m_steps;
    QPointer<ProgressSheet> m_progressPanel;
    double m_progress = 0;
    int m_ticks = 0;
    bool m_stopLoadingWindow = true;
    // Ticks of an earlier showing, or of a sheet that has gone, do nothing.
    std::uint64_t m_showing = 0;
    std::shared_ptr<SettingLoadingSheet*> m_self;
};

}  // namespace zentrova
