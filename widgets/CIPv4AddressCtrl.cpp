#include "CIPv4AddressCtrl.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace {

// 0 to 255, at most three digits (leading zeros allowed while typing).
const QRegularExpression kOctet(QStringLiteral("^(?:[0-9]{1,2}|[01][0-9]{2}|2[0-4][0-9]|25[0-5])$"));

} // namespace

CIPv4AddressCtrl::CIPv4AddressCtrl(QWidget* parent)
    : QFrame(parent)
{
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 1, 2, 1);
    layout->setSpacing(0);
    const int fieldWidth = fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 4;
    auto* validator = new QRegularExpressionValidator(kOctet, this);
    for (int i = 0; i < 4; ++i) {
        if (i > 0)
            layout->addWidget(new QLabel(QStringLiteral("."), this));
        auto* field = new QLineEdit(this);
        field->setObjectName(QStringLiteral("octet%1").arg(i + 1));
        field->setFrame(false);
        field->setAlignment(Qt::AlignCenter);
        field->setMaxLength(3);
        field->setValidator(validator);
        field->setFixedWidth(fieldWidth);
        field->installEventFilter(this);
        connect(field, &QLineEdit::textEdited, this, [this, i] { OnFieldEdited(i); });
        connect(field, &QLineEdit::textChanged, this, [this] {
            UpdateLook();
            emit addressChanged();
        });
        layout->addWidget(field);
        m_pFields[i] = field;
    }
    setFocusProxy(m_pFields[0]);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

int CIPv4AddressCtrl::FilledCount() const
{
    int n = 0;
    for (QLineEdit* field : m_pFields)
        n += kOctet.match(field->text()).hasMatch() ? 1 : 0;
    return n;
}

QString CIPv4AddressCtrl::GetAddress() const
{
    QStringList parts;
    const bool complete = IsComplete();
    for (QLineEdit* field : m_pFields)
        parts << (complete ? QString::number(field->text().toInt()) : field->text());
    return parts.join(u'.');
}

bool CIPv4AddressCtrl::SetAddress(const QString& text)
{
    const QStringList parts = text.split(u'.');
    bool ok = parts.size() == 4;
    for (int i = 0; ok && i < 4; ++i)
        ok = kOctet.match(parts[i]).hasMatch();
    for (int i = 0; i < 4; ++i)
        m_pFields[i]->setText(ok ? QString::number(parts[i].toInt()) : QString());
    return ok;
}

void CIPv4AddressCtrl::ClearAddress()
{
    for (QLineEdit* field : m_pFields)
        field->clear();
}

void CIPv4AddressCtrl::OnFieldEdited(int i)
{
    // A third digit completes the field.
    if (i < 3 && m_pFields[i]->text().size() == 3 && m_pFields[i]->cursorPosition() == 3) {
        m_pFields[i + 1]->setFocus();
        m_pFields[i + 1]->selectAll();
    }
}

bool CIPv4AddressCtrl::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        for (int i = 0; i < 4; ++i) {
            if (watched != m_pFields[i])
                continue;
            const auto* key = static_cast<QKeyEvent*>(event);
            if ((key->key() == Qt::Key_Period || key->key() == Qt::Key_Space) && i < 3) {
                if (!m_pFields[i]->text().isEmpty()) {
                    m_pFields[i + 1]->setFocus();
                    m_pFields[i + 1]->selectAll();
                }
                return true;
            }
            if (key->key() == Qt::Key_Backspace && i > 0 && m_pFields[i]->text().isEmpty()) {
                m_pFields[i - 1]->setFocus();
                m_pFields[i - 1]->end(false);
                return true;
            }
        }
    }
    return QFrame::eventFilter(watched, event);
}

void CIPv4AddressCtrl::UpdateLook()
{
    const bool invalid = IsInvalid();
    if (property("invalid").toBool() == invalid)
        return;
    setProperty("invalid", invalid);
    setStyleSheet(invalid ? QStringLiteral("CIPv4AddressCtrl { border: 1px solid #d00000; }") : QString());
    setToolTip(invalid ? tr("Fill in all four numbers of the address.") : QString());
}
