#include "CEditEXIPV6.h"

#include "MessageSink.h"

#include <QFocusEvent>

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
    m_nStatus = c.nStatus;
    m_strAddress = c.strAddress;
    m_strInterfaceName = c.strInterfaceName;
    if (!c.strAddressType.isEmpty())
        m_strAddressType = c.strAddressType;
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
