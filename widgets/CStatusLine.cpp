#include "CStatusLine.h"

#include "CSetSequence.h"
#include "StatusText.h"

CStatusLine::CStatusLine(QWidget* parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setTextInteractionFlags(Qt::TextSelectableByMouse);   // an engineer may copy an OID
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setObjectName(QStringLiteral("statusLine"));
}

void CStatusLine::ShowReading()
{
    ShowText(StatusText::Reading());
}

void CStatusLine::ShowWriting(int nStep, int nTotal)
{
    ShowText(StatusText::Writing(nStep, nTotal));
}

void CStatusLine::ShowWriteFailure(const SnmpSetFailure& failure)
{
    ShowText(failure.nResult == SnmpSetFailure::ErrorStatus ? StatusText::Refused(failure.Text()) : failure.Text());
}

void CStatusLine::ShowReadFailures(const QStringList& failures)
{
    ShowText(failures.isEmpty() ? QString() : StatusText::ReadFailed(failures.join(QStringLiteral("; "))));
}

void CStatusLine::ShowText(const QString& text)
{
    setText(text);
    setToolTip(text);   // the line may be cut in a narrow dialog
}

void CStatusLine::Clear()
{
    ShowText(QString());
}
