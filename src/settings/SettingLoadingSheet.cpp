#include "settings/SettingLoadingSheet.h"

#include "controls/ProgressSheet.h"
#include "playback/DelayedSteps.h"

#include <cmath>

namespace zentrova {

SettingLoadingSheet::SettingLoadingSheet(QWidget* window, DelayedSteps& steps)
    : m_steps(steps), m_progressPanel(new ProgressSheet(window)), m_self(std::make_shared<SettingLoadingSheet*>(this)) {
    m_progressPanel->setObjectName(QStringLiteral("progressPanel"));
}

SettingLoadingSheet::~SettingLoadingSheet() { delete m_progressPanel.data(); }

void SettingLoadingSheet::showLoading(const QString& title) {
    ++m_showing;
    m_stopLoadingWindow = false;
    m_progress = 0;
    m_ticks = 0;
    m_progressPanel->setBusy();
    m_progressPanel->setMessage(title);
    scheduleUpdate(kLongestSeconds);
    m_progressPanel->showSheet();
}

void SettingLoadingSheet::hideLoading() { m_stopLoadingWindow = true; }

bool SettingLoadingSheet::isShown() const { return m_progressPanel && m_progressPanel->isVisible(); }

void SettingLoadingSheet::scheduleUpdate(double seconds) {
    std::weak_ptr<SettingLoadingSheet*> self = m_self;
    const std::uint64_t showing = m_showing;
    m_steps.after(kTickMilliseconds, [self, showing, seconds] {
        const auto sheet = self.lock();
        if (sheet && (*sheet)->m_showing == showing) (*sheet)->updateLoadingWindow(seconds);
    });
}

// Counted in whole ticks, so that the longest showing is exactly two ticks a
// second, whatever the rounding of the steps.
void SettingLoadingSheet::updateLoadingWindow(double seconds) {
    const int lastTick = static_cast<int>(std::lround(2 * seconds));
    ++m_ticks;
    m_progress = 100.0 * m_ticks / lastTick;
    if (m_ticks < lastTick && !m_stopLoadingWindow) {
        scheduleUpdate(seconds);
        return;
    }
    closePanel();
}

void SettingLoadingSheet::closePanel() {
    if (m_progressPanel) m_progressPanel->closeSheet();
    m_stopLoadingWindow = true;
}

}  // namespace zentrova
