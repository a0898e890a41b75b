#include "CEditEXIPV6.h"

#include "MessageSink.h"

#include <QFocusEvent>

#include <array>
#include <optional>

namespace {

// Four dot-separated decimal fields of one to three digits, each 0..255,
// nothing else (no blanks, no signs).
std::optional<std::array<int, 4>> ParseDottedQuad(const QString& strText, QStringList* pFields = nullptr)
{
    const QStringList fields = strText.split(QLatin1Char('.'));
    if (fields.size() != 4)
        return std::nullopt;
    std::array<int, 4> values{};
    for (int i = 0; i < 4; ++i) {
        const QString& f = fields[i];
        if (f.isEmpty() || f.size() > 3)
            return std::nullopt;
        int v = 0;
        for (QChar c : f) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return std::nullopt;
            v = v * 10 + (c.unicode() - '0');
        }
        if (v > 255)
            return std::nullopt;
        values[i] = v;
    }
    if (pFields)
        *pFields = fields;
    return values;
}

// A unicast host address by the switch's classful rules.
bool IsValidIPv4Host(const QString& strText)
{
    QStringList fields;
    const auto octets = ParseDottedQuad(strText, &fields);
    if (!octets)
        return false;
    if (strText == QLatin1String("0.0.0.0") || strText == QLatin1String("255.255.255.255"))
        return false;
    if (fields[0] == QLatin1String("0") || fields[0] == QLatin1String("255") || fields[3] == QLatin1String("0"))
        return false;
    const quint32 v = (quint32((*octets)[0]) << 24) | (quint32((*octets)[1]) << 16)
                    | (quint32((*octets)[2]) << 8) | quint32((*octets)[3]);
    if ((v & 0x80000000u) == 0) { // class A; networks 0 and 127 refused
        const quint32 net = v & 0x7F000000u;
        const quint32 host = v & 0x00FFFFFFu;
        return net != 0 && net != 0x7F000000u && host != 0 && host != 0x00FFFFFFu;
    }
    if ((v & 0xC0000000u) == 0x80000000u) { // class B
        const quint32 host = v & 0xFFFFu;
        return host != 0 && host != 0xFFFFu;
    }
    if ((v & 0xE0000000u) == 0xC0000000u) { // class C
        const quint32 host = v & 0xFFu;
        return host != 0 && host != 0xFFu;
    }
    return false; // class D and E
}

bool IsLowerHexGroup(const QString& strGroup)
{
    if (strGroup.isEmpty() || strGroup.size() > 4)
        return false;
    for (QChar c : strGroup) {
        const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
        const bool hex = c >= QLatin1Char('a') && c <= QLatin1Char('f');
        if (!digit && !hex)
            return false;
    }
    return true;
}

// Lower-case IPv6 text with at most one "::" to its eight groups. Dotted
// quads never reach here (a text with both "." and ":" is refused first).
std::optional<std::array<quint16, 8>> ParseIPv6(const QString& strText)
{
    const qsizetype gap = strText.indexOf(QLatin1String("::"));
    if (gap >= 0 && strText.indexOf(QLatin1String("::"), gap + 1) >= 0)
        return std::nullopt;
    const QString head = gap >= 0 ? strText.left(gap) : strText;
    const QString tail = gap >= 0 ? strText.mid(gap + 2) : QString();
    const QStringList headGroups = head.isEmpty() ? QStringList() : head.split(QLatin1Char(':'));
    const QStringList tailGroups = tail.isEmpty() ? QStringList() : tail.split(QLatin1Char(':'));
    const qsizetype count = headGroups.size() + tailGroups.size();
    if (gap < 0 ? count != 8 : count > 7)
        return std::nullopt;
    std::array<quint16, 8> groups{};
    for (qsizetype i = 0; i < headGroups.size(); ++i) {
        if (!IsLowerHexGroup(headGroups[i]))
            return std::nullopt;
        groups[size_t(i)] = quint16(headGroups[i].toUInt(nullptr, 16));
    }
    for (qsizetype i = 0; i < tailGroups.size(); ++i) {
        if (!IsLowerHexGroup(tailGroups[i]))
            return std::nullopt;
        groups[size_t(8 - tailGroups.size() + i)] = quint16(tailGroups[i].toUInt(nullptr, 16));
    }
    return groups;
}

QString ExpandedIPv6(const std::array<quint16, 8>& groups)
{
    QStringList parts;
    for (quint16 g : groups)
        parts.append(QStringLiteral("%1").arg(g, 4, 16, QLatin1Char('0')));
    return parts.join(QLatin1Char(':'));
}

bool IsLinkLocalExpanded(const QString& strExpanded)
{
    return strExpanded.startsWith(QLatin1String("fe8")) || strExpanded.startsWith(QLatin1String("fe9"))
        || strExpanded.startsWith(QLatin1String("fea")) || strExpanded.startsWith(QLatin1String("feb"));
}

int ValidateIPv6(const QString& strAddress, const QString& strInterface, bool bCheckScope)
{
    const auto groups = ParseIPv6(strAddress);
    if (!groups)
        return CEditEXIPV6::StatusInvalid;
    const QString expanded = ExpandedIPv6(*groups);
    // Written only with 0 and 1: the unspecified address, the loopback
    // address and their look-alikes ending in 1.
    bool onlyZeroOne = true;
    for (QChar c : expanded) {
        if (c != QLatin1Char('0') && c != QLatin1Char('1') && c != QLatin1Char(':'))
            onlyZeroOne = false;
    }
    if (onlyZeroOne && (!expanded.contains(QLatin1Char('1')) || expanded.endsWith(QLatin1Char('1'))))
        return CEditEXIPV6::StatusInvalid;
    // Multicast, and everything whose first group is below 1000.
    if (expanded.startsWith(QLatin1String("ff")) || expanded.startsWith(QLatin1Char('0')))
        return CEditEXIPV6::StatusInvalid;
    if (!bCheckScope)
        return CEditEXIPV6::StatusValid;
    if (IsLinkLocalExpanded(expanded)) {
        if (strInterface.isEmpty())
            return CEditEXIPV6::StatusLinkLocalWithoutInterface;
        if (strInterface.toUtf8().size() > CEditEXIPV6::kMaxInterfaceNameLength)
            return CEditEXIPV6::StatusInterfaceNameTooLong;
    }
    return CEditEXIPV6::StatusValid;
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
        c.strAddress = addressPart.toLower();
        c.nStatus = ValidateIPv6(c.strAddress, c.strInterfaceName, bCheckScope);
        if (c.nStatus == StatusValid)
            c.strAddressType = QStringLiteral("2");
        return c;
    }

    c.nStatus = IsValidIPv4Host(text) ? StatusValid : StatusInvalid;
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
    const QByteArray octets = GetAddressOctets();
    return octets.size() == 16 && quint8(octets[0]) == 0xfe && (quint8(octets[1]) & 0xc0) == 0x80;
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
    if (!IsValid())
        return {};
    QByteArray octets;
    if (m_strAddressType == QLatin1String("1")) {
        if (const auto quad = ParseDottedQuad(m_strAddress)) {
            for (int v : *quad)
                octets.append(char(v));
        }
    } else if (const auto groups = ParseIPv6(m_strAddress)) {
        for (quint16 g : *groups) {
            octets.append(char(g >> 8));
            octets.append(char(g & 0xff));
        }
    }
    return octets;
}

QString CEditEXIPV6::GetAddressOidIndex() const
{
    QStringList parts;
    for (char c : GetAddressOctets())
        parts.append(QString::number(quint8(c)));
    return parts.join(QLatin1Char('.'));
}
