#include "CStatusLine.h"

#include "CSetSequence.h"
#include "StatusText.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace {
// Room left and right of the text inside the frame.
constexpr int kPadding = 3;
}

CStatusLine::CStatusLine(QWidget* parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    // Any width (the text is cut to fit), never less than one line high.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    setObjectName(QStringLiteral("statusLine"));

    auto* copy = new QAction(tr("Copy"), this);
    connect(copy, &QAction::triggered, this, [this] {
        if (!text().isEmpty())
            QApplication::clipboard()->setText(text());
    });
    addAction(copy);
    setContextMenuPolicy(Qt::ActionsContextMenu);
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
    setToolTip(text);   // the whole text, also when the line shows it cut
}

void CStatusLine::Clear()
{
    ShowText(QString());
}

QString CStatusLine::DisplayedText() const
{
    // One line: a text with line breaks shows them as blanks.
    QString line = text();
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    const int room = contentsRect().width() - 2 * kPadding;
    return fontMetrics().elidedText(line, Qt::ElideRight, qMax(0, room));
}

QSize CStatusLine::sizeHint() const
{
    const int frame = 2 * frameWidth();
    return {fontMetrics().averageCharWidth() * 40 + frame + 2 * kPadding,
            fontMetrics().height() + frame + 2 * kPadding};
}

QSize CStatusLine::minimumSizeHint() const
{
    const QSize hint = sizeHint();
    return {frameWidth() * 2 + 2 * kPadding, hint.height()};
}

void CStatusLine::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawFrame(&painter);
    const QRect area = contentsRect().adjusted(kPadding, 0, -kPadding, 0);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, DisplayedText());
}
