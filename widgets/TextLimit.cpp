#include "TextLimit.h"

#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

namespace {

// Watches one edit. QLineEdit's maximum length cannot serve (it cuts what
// is set), and a validator cannot tell a text set by the program from one
// typed, so a user's edit that makes the text longer than both the limit
// and the text before it is taken back at once.
class CTextLimiter : public QObject
{
public:
    CTextLimiter(QLineEdit* edit, int nLimit)
        : QObject(edit)
        , m_pEdit(edit)
        , m_nLimit(nLimit)
        , m_strBefore(edit->text())
    {
        connect(edit, &QLineEdit::textEdited, this, &CTextLimiter::OnEdited);
        // The text as it is now, whoever changed it (the signal's text may
        // be stale when an edit was taken back meanwhile).
        connect(edit, &QLineEdit::textChanged, this, [this] { m_strBefore = m_pEdit->text(); });
    }

    int Limit() const { return m_nLimit; }

private:
    void OnEdited(const QString& text)
    {
        if (text.size() <= m_nLimit || text.size() <= m_strBefore.size())
            return;
        const int grown = int(text.size() - m_strBefore.size());
        const int cursor = qBound(0, m_pEdit->cursorPosition() - grown, int(m_strBefore.size()));
        m_pEdit->setText(m_strBefore);
        m_pEdit->setCursorPosition(cursor);
    }

    QLineEdit* m_pEdit;
    int m_nLimit;
    QString m_strBefore;
};

const CTextLimiter* LimiterOf(const QLineEdit* edit)
{
    for (const QObject* child : edit->children())
        if (const auto* limiter = dynamic_cast<const CTextLimiter*>(child))
            return limiter;
    return nullptr;
}

} // namespace

void SetTextLimit(QLineEdit* edit, int nLimit, const QString& strPattern)
{
    edit->setMaxLength(32767);   // Qt's default: never cuts a text that is set
    if (!strPattern.isEmpty())
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(strPattern), edit));
    new CTextLimiter(edit, nLimit);
}

int TextLimit(const QLineEdit* edit)
{
    const CTextLimiter* limiter = LimiterOf(edit);
    return limiter ? limiter->Limit() : 0;
}

QString TextLimitMessage(const QLineEdit* edit, const QString& strField)
{
    const int limit = TextLimit(edit);
    if (limit <= 0 || edit->text().size() <= limit)
        return QString();
    return QObject::tr("%1 may have at most %2 characters.").arg(strField).arg(limit);
}
