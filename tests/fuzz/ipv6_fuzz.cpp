// IPv6 check, expansion and compression on arbitrary texts: no crash, and
// an address the check accepts always expands to the octets it stands for.
#include "CUtils.h"

#include <QHostAddress>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size));
    const int result = CUtils::ValidateIPv6(text, QStringLiteral("eth0"), 1, 1);
    const QString full = CUtils::ExpandIPv6(text);
    const QString shown = CUtils::CompressIPv6(text);
    if (result == 1) {
        QString address = text.section(u'%', 0, 0);
        while (!address.isEmpty() && QStringLiteral(" \t\r\n").contains(address.back()))
            address.chop(1);
        while (!address.isEmpty() && QStringLiteral(" \t\r\n").contains(address.front()))
            address.remove(0, 1);
        // An embedded quad may carry leading zeros ("1.02.3.4", decimal as
        // in every IPv4 field here); Qt refuses those, so hand it the plain
        // numbers.
        const qsizetype lastColon = address.lastIndexOf(u':');
        if (lastColon >= 0 && address.indexOf(u'.', lastColon) >= 0) {
            QStringList fields = address.mid(lastColon + 1).split(u'.');
            for (QString& f : fields)
                f = QString::number(f.toInt());
            address = address.left(lastColon + 1) + fields.join(u'.');
        }
        QHostAddress parsed;
        if (!parsed.setAddress(address) || parsed.protocol() != QAbstractSocket::IPv6Protocol)
            std::abort();  // accepted something that is no IPv6 address
        if (CUtils::InetOctetsToHex(parsed.toIPv6Address().c, 2) != full)
            std::abort();  // wrong octets
        if (CUtils::ExpandIPv6(shown) != full)
            std::abort();  // the display form names another address
    }
    return 0;
}
