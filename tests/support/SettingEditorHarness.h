#pragma once

#include "controls/SegmentedControl.h"
#include "settings/ORVSettingController.h"
#include "support/FakeCard.h"
#include "support/ManualDelayedSteps.h"
#include "support/WidgetTestApplication.h"

#include <QApplication>
#include <QToolButton>

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace zentrova::test {

// A settings editor on a FakeCard, for offscreen tests: the loading sheet's
// ticks run on a clock the test moves, and background reads wait until the
// test lets them finish.
//
//     test::FakeCard card;
//     test::SettingEditorHarness harness(card);
//     harness.open();                 // shown, read, sheet gone: ready to edit
//     harness.clickTab(1);            // as the user clicks the tab
//     harness.clickSegment("alwaysModeTimeoutSeg", 3);
//     harness.editor().onSave();      // alerts: see AnsweredAlerts
//
// The system dialogs are replaced: saveDialogAnswer and openDialogAnswer are
// what the user picks (none: cancelled); each call is counted.
class SettingEditorHarness {
public:
    using Adjust = std::function<void(ORVSettingController::Parts&)>;

    explicit SettingEditorHarness(FakeCard& card, const Adjust& adjust = {}) {
        widgetTestApplication();
        ORVSettingController::Parts parts;
        parts.volumes = &card.volumes();
        parts.renamer = &card.renamer();
        parts.writer = &card.writer();
        parts.delayedSteps = m_clock;
        parts.runInBackground = [this](std::function<ORVSettingController::ReadOutcome()> work,
                                       std::function<void(ORVSettingController::ReadOutcome)> done) {
            m_reads.emplace_back(std::move(work), std::move(done));
        };
        parts.saveDialog = [this](QWidget*) {
            ++saveDialogs;
            return saveDialogAnswer;
        };
        parts.openDialog = [this](QWidget*, const QString& startFolder) {
            openDialogStarts.push_back(startFolder);
            return openDialogAnswer;
        };
        if (adjust) adjust(parts);
        m_editor = std::make_unique<ORVSettingController>(std::move(parts));
    }

    ORVSettingController& editor() { return *m_editor; }
    ManualDelayedSteps& clock() { return *m_clock; }

    // Shows the window; its read waits.
    void show() {
        m_editor->show();
        QApplication::processEvents();
    }
    // Shows the window and lets the read and the sheet finish.
    void open() {
        show();
        finishReads();
        m_clock->advance(500);
    }

    std::size_t pendingReads() const { return m_reads.size(); }
    // Runs every waiting read and hands its result back.
    void finishReads() {
        auto reads = std::move(m_reads);
        m_reads.clear();
        for (auto& [work, done] : reads) done(work());
        QApplication::processEvents();
    }

    template <typename Widget>
    Widget* find(const char* name) const {
        return m_editor->findChild<Widget*>(QString::fromLatin1(name));
    }
    // A click on segment i of the named segmented control.
    void clickSegment(const char* control, int segment) {
        SegmentedControl* found = find<SegmentedControl>(control);
        if (found && found->segmentButton(segment)) found->segmentButton(segment)->click();
        QApplication::processEvents();
    }
    void clickTab(int index) { clickSegment("functionSegmentedControl", index); }

    int saveDialogs = 0;
    std::optional<QString> saveDialogAnswer;
    std::vector<QString> openDialogStarts;
    std::optional<QString> openDialogAnswer;

private:
    using Read = std::pair<std::function<ORVSettingController::ReadOutcome()>,
                           std::function<void(ORVSettingController::ReadOutcome)>>;

    std::shared_ptr<ManualDelayedSteps> m_clock = std::make_shared<ManualDelayedSteps>();
    std::vector<Read> m_reads;
    std::unique_ptr<ORVSettingController> m_editor;
};

}  // namespace zentrova::test
