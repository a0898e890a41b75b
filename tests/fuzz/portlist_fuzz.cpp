// Typed port lists and the other port encodings on arbitrary input: no
// crash, no overrun, and a list that is accepted holds only valid ports.
#include "CUtils.h"
#include "GlobalSettings.h"
#include "MessageSink.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    SetMessageSink([](const MessageRequest&) { return int(IDOK); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    g_nDevicePortNum = data[0] % 66 - 1;  // -1 .. 64, odd counts included
    const QByteArray rest(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const QString text = QString::fromLatin1(rest);

    std::vector<int> flags(64, 0);
    if (CUtils::ParsePortList(text, flags.data())) {
        for (QChar c : text) {
            if (!(c.isDigit() || c == u',' || c == u'-' || c == u'+' || c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'
                  || c == u'\v' || c == u'\f'))
                std::abort();  // accepted a character no port list has
        }
    }
    for (int p = g_nDevicePortNum > 0 ? g_nDevicePortNum : 0; p < 64; ++p) {
        if (flags[size_t(p)])
            std::abort();  // a port beyond the count was set
    }

    std::vector<int> ports(64, 0);
    CUtils::PortListToArray(text, ports.data(), 1);
    int count = 0;
    CUtils::PortBitmapToList(rest, count);
    QString ranges;
    CUtils::PortBitmapToRangeList(data, int(size), 1, 64, ranges);
    unsigned char octets[8];
    CUtils::HexTextToBytes(text, octets, int(sizeof octets));
    const QByteArray map = CUtils::PortArrayToOctets(ports.data());
    if (g_nDevicePortNum > 0 && map.size() < (g_nDevicePortNum + 7) / 8)
        std::abort();
    return 0;
}
