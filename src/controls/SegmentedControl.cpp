#include "controls/SegmentedControl.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QStyle>
#include <QToolButton>

#include <algorithm>

namespace zentrova {

SegmentedControl::SegmentedControl(QWidget* parent)
    : QWidget(parent), m_layout(new QHBoxLayout(this)), m_group(new QButtonGroup(this)) {
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    m_group->setExclusive(true);
    connect(m_group, &QButtonGroup::idClicked, this, [this](int segment) {
        applySelection(segment);
        emit segmentClicked(segment);
    });
}

void SegmentedControl::setSegmentCount(int count) {
    count = std::max(count, 0);
    while (segmentCount() > count) {
        QToolButton* last = m_segments.takeLast();
        if (m_selected == segmentCount()) applySelection(kNoSelection);
        m_group->removeButton(last);
        delete last;
    }
    while (segmentCount() < count) {
        auto* button = new QToolButton(this);
        const int segment = segmentCount();
        button->setObjectName(QStringLiteral("segment%1").arg(segment));
        button->setCheckable(true);
        button->setProperty("segment", true);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        m_group->addButton(button, segment);
        m_layout->addWidget(button);
        m_segments.push_back(button);
    }
    markEnds();
}

// The style sheet rounds only the outer corners of the row.
void SegmentedControl::markEnds() {
    for (int segment = 0; segment < segmentCount(); ++segment) {
        const bool first = segment == 0;
        const bool last = segment == segmentCount() - 1;
        const char* place = first && last ? "only" : first ? "first" : last ? "last" : "middle";
        QToolButton* button = m_segments[segment];
        button->setProperty("place", QString::fromLatin1(place));
        button->style()->unpolish(button);
        button->style()->polish(button);
    }
}

void SegmentedControl::setLabel(const QString& label, int segment) {
    if (isSegment(segment)) m_segments[segment]->setText(label);
}

QString SegmentedControl::labelForSegment(int segment) const {
    return isSegment(segment) ? m_segments[segment]->text() : QString();
}

void SegmentedControl::setSegmentEnabled(bool enabled, int segment) {
    if (isSegment(segment)) m_segments[segment]->setEnabled(enabled);
}

bool SegmentedControl::isSegmentEnabled(int segment) const {
    return isSegment(segment) && m_segments[segment]->isEnabled();
}

void SegmentedControl::setSelectedSegment(int segment) { applySelection(isSegment(segment) ? segment : kNoSelection); }

void SegmentedControl::applySelection(int segment) {
    if (segment == kNoSelection) {
        // An exclusive group keeps one button checked: let go of it for a moment.
        m_group->setExclusive(false);
        for (QToolButton* button : m_segments) button->setChecked(false);
        m_group->setExclusive(true);
    } else {
        m_segments[segment]->setChecked(true);
    }
    if (segment == m_selected) return;
    m_selected = segment;
    emit selectedSegmentChanged(segment);
}

QToolButton* SegmentedControl::segmentButton(int segment) const {
    return isSegment(segment) ? m_segments[segment] : nullptr;
}

}  // namespace zentrova
