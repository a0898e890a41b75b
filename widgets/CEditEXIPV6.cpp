#include "CEditEXIPV6.h"

#include "MessageSink.h"

#include <QAction>
#include <QFocusEvent>
#include <QStyle>

namespace {

// The address as hex digits, two per octet: the expanded IPv6 text or the
// dotted quad converted field by field (so "010" is octet 10).
QString AddressHex(const QString& strAddressType, const QString& strAddress)
{
    if (strAddressType == QLatin1String("2"))
        return CUtils::ExpandIPv6(strAddress).remove(QLatin1Char(':'));
    if (strAddressType == QLatin1String("1"))
        return CUtils::DottedIPv4ToHex(strAddress);
    return {};
}

} // namespace

CEditEXIPV6::CEditEXIPV6(QWidget* parent)
    : QLineEdit(parent)
{
    m_pMark = addAction(style()->standardIcon(QStyle::SP_MessageBoxWarning), QLineEdit::TrailingPosition);
    m_pMark->setVisible(false);
    setSizePolicy(QSizePolicy::Fixed, sizePolicy().verticalPolicy());
    connect(this, &QLineEdit::textChanged, this, &CEditEXIPV6::Update);
    Update(text());
}

CEditEXIPV6::Classification CEditEXIPV6::Classify(const QString& strText, bool bCheckScope)
{
    Classification c;
    const QString text = strText.trimmed();
    c.strAddress = text;
    // Only the part before the interface name tells the family, so an
    // interface name may hold a dot (eth0.100).
    const qsizetype percent = text.indexOf(QLatin1Char('%'));
    const QString addressPart = percent >= 0 ? text.left(percent) : text;
    const bool hasDot = addressPart.contains(QLatin1Char('.'));
    const bool hasColon = addressPart.contains(QLatin1Char(':'));
    if (hasDot == hasColon) // neither, or an IPv6 text with a dotted quad
        return c;

    if (hasColon) {
        if (percent >= 0) {
            if (!bCheckScope) {
                c.strAddress = text.toLower();
                return c;
            }
            c.strInterfaceName = text.mid(percent + 1);
        }
        // Blanks before the "%" belong to neither the address nor the name.
        c.strAddress = addressPart.trimmed().toLower();
        c.nStatus = CUtils::ValidateIPv6(c.strAddress, c.strInterfaceName, 1, bCheckScope ? 1 : 0);
        if (c.nStatus == StatusValid)
            c.strAddressType = QStringLiteral("2");
        return c;
    }

    c.nStatus = CUtils::ValidateIPv4(text) == 1 ? StatusValid : StatusInvalid;
    if (c.nStatus == StatusValid)
        c.strAddressType = QStringLiteral("1");
    return c;
}

void CEditEXIPV6::Update(const QString& strText)
{
    const Classification c = Classify(strText, m_bCheckScope);
    const bool bMarked = !strText.trimmed().isEmpty() && c.nStatus != StatusValid;
    const bool bChanged = c.nStatus != m_nStatus || bMarked != m_bMarked;
    m_nStatus = c.nStatus;
    m_bMarked = bMarked;
    m_strAddress = c.strAddress;
    m_strInterfaceName = c.strInterfaceName;
    if (!c.strAddressType.isEmpty())
        m_strAddressType = c.strAddressType;
    ShowMark();
    if (bChanged)
        emit statusChanged(m_nStatus);
}

void CEditEXIPV6::ShowMark()
{
    // A disabled field is not in play: no mark.
    const bool bShow = m_bMarked && isEnabled();
    m_pMark->setVisible(bShow);
    m_pMark->setToolTip(bShow ? AddressErrorText(m_nStatus) : QString());
    QPalette colours = palette();
    colours.setColor(QPalette::Active, QPalette::Text, bShow ? QColor(0xc0, 0, 0) : QPalette().color(QPalette::Active, QPalette::Text));
    colours.setColor(QPalette::Inactive, QPalette::Text,
                     bShow ? QColor(0xc0, 0, 0) : QPalette().color(QPalette::Inactive, QPalette::Text));
    setPalette(colours);
}

void CEditEXIPV6::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        ShowMark();
}

QSize CEditEXIPV6::sizeHint() const
{
    // The longest address with an interface name, and room for the mark.
    QSize hint = QLineEdit::sizeHint();
    const int text = fontMetrics().horizontalAdvance(QStringLiteral("ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff%vlan4094"));
    hint.setWidth(text + hint.height() + 16);
    return hint;
}

QSize CEditEXIPV6::minimumSizeHint() const
{
    return {sizeHint().width(), QLineEdit::minimumSizeHint().height()};
}

int CEditEXIPV6::OnKillFocus()
{
    Update(text());
    return m_nStatus;
}

void CEditEXIPV6::SetCheckScope(bool bCheckScope)
{
    m_bCheckScope = bCheckScope;
    Update(text());
}

void CEditEXIPV6::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    OnKillFocus();
}

int CEditEXIPV6::GetAddressLength() const
{
    if (!IsValid())
        return 0;
    return m_strAddressType == QLatin1String("2") ? 16 : 4;
}

bool CEditEXIPV6::IsLinkLocal() const
{
    return IsValid() && m_strAddressType == QLatin1String("2") && CUtils::IsLinkLocalIPv6(m_strAddress);
}

QString CEditEXIPV6::AddressErrorText(int nStatus)
{
    switch (nStatus) {
    case StatusLinkLocalWithoutInterface:
        return QStringLiteral("Link local address must specify interface name!ex: feXX::XXXX%InterfaceName");
    case StatusInterfaceNameTooLong:
        return QStringLiteral("Interface name too long.");
    case StatusInvalid:
        return QStringLiteral("Invalid Sever IP address.");
    default:
        return {};
    }
}

void CEditEXIPV6::ShowAddressError()
{
    const QString text = AddressErrorText(OnKillFocus());
    if (!text.isEmpty())
        AfxMessageBox(text, MB_OK, window());
}

QByteArray CEditEXIPV6::GetAddressOctets() const
{
    const int length = GetAddressLength();
    if (length == 0)
        return {};
    QByteArray octets(length, '\0');
    CUtils::HexTextToBytes(AddressHex(m_strAddressType, m_strAddress), reinterpret_cast<unsigned char*>(octets.data()),
                           length);
    return octets;
}

QString CEditEXIPV6::GetAddressOidIndex() const
{
    if (!IsValid())
        return {};
    // The index text starts with a "."; the owner puts its own in front.
    return CUtils::MacTextToOidIndex(AddressHex(m_strAddressType, m_strAddress)).mid(1);
}
