#pragma once

#include <QList>
#include <QString>
#include <QWidget>

class QButtonGroup;
class QHBoxLayout;
class QToolButton;

namespace zentrova {

// A row of exclusive segments, at most one selected; -1 means none. The
// segments are checkable buttons named "segment0", "segment1"... so tests
// find them under the control's own outlet name.
class SegmentedControl : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int selectedSegment READ selectedSegment WRITE setSelectedSegment NOTIFY selectedSegmentChanged)
public:
    static constexpr int kNoSelection = -1;

    explicit SegmentedControl(QWidget* parent = nullptr);

    // Segments added come without a label; segments dropped take their
    // selection with them.
    void setSegmentCount(int count);
    int segmentCount() const { return static_cast<int>(m_segments.size()); }

    void setLabel(const QString& label, int segment);
    QString labelForSegment(int segment) const;
    void setSegmentEnabled(bool enabled, int segment);
    bool isSegmentEnabled(int segment) const;

    int selectedSegment() const { return m_selected; }
    // Any value outside the segments clears the selection.
    void setSelectedSegment(int segment);

    QToolButton* segmentButton(int segment) const;

signals:
    // Every change, made by the program or the user.
    void selectedSegmentChanged(int segment);
    // The user clicked a segment (selected or not before): the control's action.
    void segmentClicked(int segment);

private:
    bool isSegment(int segment) const { return segment >= 0 && segment < segmentCount(); }
    void applySelection(int segment);
    void markEnds();

    QHBoxLayout* m_layout = nullptr;
    QButtonGroup* m_group = nullptr;
    QList<QToolButton*> m_segments;
    int m_selected = kNoSelection;
};

}  // namespace zentrova
