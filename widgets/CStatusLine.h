#pragma once

// The one line at the bottom of every configuration dialog that says what
// the dialog is doing, what its last write did, or why it stopped (texts of
// StatusText.h). Progress never goes through a modal box.
//
// The line always has the height of one line of text, whatever the layout
// around it offers. A text wider than the line is cut with "…"; the whole
// text is the tooltip and "Copy" in the context menu copies it (an engineer
// may need the OID of a refusal).

#include <QLabel>

struct SnmpSetFailure;

class CStatusLine : public QLabel
{
    Q_OBJECT
public:
    explicit CStatusLine(QWidget* parent = nullptr);

    void ShowReading();
    void ShowWriting(int nStep, int nTotal);
    void ShowWriteFailure(const SnmpSetFailure& failure);
    void ShowReadFailures(const QStringList& failures);
    void ShowText(const QString& text);
    void Clear();

    // The text as drawn in the current width (text() is the whole text).
    QString DisplayedText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};
