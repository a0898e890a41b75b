#pragma once

// The one line at the bottom left of every configuration dialog that says
// what the dialog is doing or why it stopped (texts of StatusText.h).
// Progress never goes through a modal box.

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
};
