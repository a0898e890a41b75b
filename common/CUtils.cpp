#include "CUtils.h"

#include "CValidationPatterns.h"
#include "GlobalSettings.h"
#include "MessageSink.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

const QString kInvalidPortlist = QStringLiteral("Invalid Portlist");
const QString kMacFormat = QStringLiteral("Please enter correct MAC format(ex:00-00-00-00-00-01)");

int PortCount()
{
    return g_nDevicePortNum > 0 ? g_nDevicePortNum : 0;
}

// The standard base-16 rule on a short text: leading blanks and a sign
// allowed, digits up to the first non-hex character, 0 when none.
int HexValueOf(const QString& text)
{
    const QByteArray bytes = text.toLatin1();
    return int(std::strtol(bytes.constData(), nullptr, 16));
}

// Strict decimal number with blanks around it and, as the decimal rule
// allows, one "+" right before the digits; -1 when malformed. Values beyond
// INT_MAX clamp (they are out of every port range anyway).
int StrictNumber(const QString& item)
{
    // The blanks the standard decimal rule skips, and only those.
    auto blank = [](QChar c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); };
    qsizetype from = 0, to = item.size();
    while (from < to && blank(item[from]))
        ++from;
    while (to > from && blank(item[to - 1]))
        --to;
    if (from < to && item[from] == u'+')
        ++from;
    if (from == to)
        return -1;
    long long value = 0;
    for (QChar c : QStringView(item).mid(from, to - from)) {
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c.unicode() - '0');
        if (value > INT_MAX)
            value = INT_MAX;
    }
    return int(value);
}

// The address part of an IPv6 text: blanks the pattern allows around it
// and any "%interface" dropped, so it can never reach the octets.
QString IPv6AddressPart(const QString& text)
{
    QString t = text;
    const qsizetype percent = t.indexOf(u'%');
    if (percent >= 0)
        t.truncate(percent);
    auto blank = [](QChar c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; };
    qsizetype from = 0, to = t.size();
    while (from < to && blank(t[from]))
        ++from;
    while (to > from && blank(t[to - 1]))
        --to;
    return t.mid(from, to - from);
}

// Runs a desktop helper and returns the first line it prints, or "" when
// it is missing, fails or does not answer within the time-out.
QString RunTool(const QString& program, const QStringList& arguments)
{
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty())
        return {};
    constexpr int kTimeoutMs = 3000;
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(path, arguments, QIODevice::ReadOnly);
    if (!process.waitForStarted(kTimeoutMs))
        return {};
    if (!process.waitForFinished(kTimeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        qWarning("%s did not answer; default browser lookup goes on without it", qPrintable(program));
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    const QString out = QString::fromLocal8Bit(process.readAllStandardOutput());
    return out.section(u'\n', 0, 0).trimmed();
}

// Splits a desktop-entry Exec value into arguments (quotes and backslash
// escapes as the desktop-entry rules have them).
QStringList SplitExec(const QString& exec)
{
    QStringList args;
    QString current;
    bool quoted = false, any = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (quoted) {
            if (c == u'\\' && i + 1 < exec.size()) {
                current += exec[++i];
            } else if (c == u'"') {
                quoted = false;
            } else {
                current += c;
            }
        } else if (c == u'"') {
            quoted = true;
            any = true;
        } else if (c == u' ' || c == u'\t') {
            if (any || !current.isEmpty())
                args << current;
            current.clear();
            any = false;
        } else {
            current += c;
        }
    }
    if (any || !current.isEmpty())
        args << current;
    return args;
}

// The program of a desktop entry found by its id, resolved to a path.
QString ProgramOfDesktopEntry(const QString& desktopId)
{
    if (desktopId.isEmpty() || desktopId.contains(u'/'))
        return {};
    QStringList names{desktopId};
    if (desktopId.contains(u'-'))
        names << QString(desktopId).replace(desktopId.indexOf(u'-'), 1, u'/');
    for (const QString& dir : QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation)) {
        for (const QString& name : names) {
            QFile file(QDir(dir).filePath(name));
            if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
                continue;
            QTextStream in(&file);
            bool inEntry = false;
            QString exec;
            while (!in.atEnd()) {
                const QString line = in.readLine().trimmed();
                if (line.startsWith(u'[')) {
                    inEntry = line == QLatin1String("[Desktop Entry]");
                } else if (inEntry && line.startsWith(QLatin1String("Exec="))) {
                    exec = line.mid(5);
                    break;
                }
            }
            QStringList args = SplitExec(exec);
            if (!args.isEmpty() && args.first() == QLatin1String("env")) {
                args.removeFirst();
                while (!args.isEmpty() && args.first().contains(u'='))
                    args.removeFirst();
            }
            if (args.isEmpty())
                continue;
            const QString program = args.first();
            if (QDir::isAbsolutePath(program)) {
                const QFileInfo info(program);
                if (info.isFile() && info.isExecutable())
                    return program;
                continue;
            }
            const QString found = QStandardPaths::findExecutable(program);
            if (!found.isEmpty())
                return found;
        }
    }
    return {};
}

// The http handler named in the mimeapps.list files, in their XDG order.
QString DefaultHandlerFromMimeApps()
{
    QStringList files;
    for (const QString& dir : QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation))
        files << QDir(dir).filePath(QStringLiteral("mimeapps.list"));
    for (const QString& dir : QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation))
        files << QDir(dir).filePath(QStringLiteral("mimeapps.list"));
    for (const QString& path : files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            continue;
        QTextStream in(&file);
        bool inDefaults = false;
        while (!in.atEnd()) {
            const QString line = in.readLine().trimmed();
            if (line.startsWith(u'[')) {
                inDefaults = line == QLatin1String("[Default Applications]");
            } else if (inDefaults && line.startsWith(QLatin1String("x-scheme-handler/http="))) {
                const QString first = line.mid(22).section(u';', 0, 0).trimmed();
                if (!first.isEmpty())
                    return first;
            }
        }
    }
    return {};
}

} // namespace

// ---------------------------------------------------------------- ports

QString CUtils::PortBitmapToList(const QByteArray& bitmap, int& count)
{
    return PortBitmapToList(reinterpret_cast<const unsigned char*>(bitmap.constData()), int(bitmap.size()), count);
}

QString CUtils::PortBitmapToList(const unsigned char* octets, int octetCount, int& count)
{
    count = 0;
    QString result;
    const int byteCount = (PortCount() + 7) / 8;
    for (int i = 0; i < byteCount; ++i) {
        const unsigned char byte = (octets && i < octetCount) ? octets[i] : 0;
        for (int bit = 0; bit < 8; ++bit) {
            if (byte & (0x80 >> bit)) {
                result += QString::number(i * 8 + bit + 1) + u',';
                ++count;
            }
        }
    }
    if (count >= 1)
        result.chop(1);
    return result;
}

int CUtils::PortBitmapToRangeList(const unsigned char* bitmap, int byteCount, int lo, int hi, QString& text)
{
    if (!bitmap || byteCount <= 0)
        return 0;
    std::vector<int> ports;
    ports.reserve(size_t(byteCount) * 8);
    for (int i = 0; i < byteCount; ++i) {
        for (int bit = 0; bit < 8; ++bit) {
            if (bitmap[i] & (0x80 >> bit))
                ports.push_back(i * 8 + bit + 1);
        }
    }
    bool first = true, inRun = false;
    int count = 0, lastSeen = 0;
    for (size_t k = 0; k < ports.size(); ++k) {
        const int port = ports[k];
        if (port < lo || port > hi)
            continue;
        ++count;
        lastSeen = port;
        if (first) {
            text += QString::number(port);
            first = false;
        } else if (port == ports[k - 1] + 1) {
            inRun = true;
        } else {
            if (inRun)
                text += u'-' + QString::number(ports[k - 1]);
            text += u',' + QString::number(port);
            inRun = false;
        }
    }
    if (inRun)
        text += u'-' + QString::number(lastSeen);
    return count;
}

void CUtils::PortArrayToHexText(const int* portArray, char* buffer, int bufferSize)
{
    if (!portArray || !buffer || bufferSize <= 0)
        return;
    const int n = PortCount();
    size_t used = strnlen(buffer, size_t(bufferSize));
    if (used >= size_t(bufferSize))
        return;  // not terminated within its size: leave it alone
    static const char digits[] = "0123456789abcdef";
    for (int p = 0; p < n; p += 4) {
        int value = 0;
        for (int k = 0; k < 4; ++k) {
            // The last group is filled up with non-members.
            const bool member = p + k < n && portArray[p + k] != 0;
            value = value * 2 + (member ? 1 : 0);
        }
        if (used + 1 >= size_t(bufferSize))
            break;
        buffer[used++] = digits[value];
        buffer[used] = '\0';
    }
}

int CUtils::PortMapZeroPad(QString& text)
{
    switch (g_nDevicePortNum) {
    case 8: text += QLatin1String("000000"); break;
    case 10: text += QLatin1String("00000"); break;
    case 16: text += QLatin1String("0000"); break;
    case 20: text += QLatin1String("000"); break;
    case 24: text += QLatin1String("00"); break;
    case 28: text += QLatin1String("0"); break;
    case 48: text += QLatin1String("0000"); break;
    case 52: text += QLatin1String("000"); break;
    default: break;
    }
    return 1;
}

int CUtils::HexTextToBytes(QString text, unsigned char* bytes, int maxBytes)
{
    if (text.size() % 2)
        text += u'0';
    int stored = 0;
    for (qsizetype i = 0; i + 1 < text.size(); i += 2) {
        const int value = HexValueOf(text.mid(i, 2));
        if (bytes && stored < maxBytes)
            bytes[stored++] = static_cast<unsigned char>(value);
    }
    return 1;
}

QByteArray CUtils::PortArrayToOctets(const int* portArray)
{
    char buffer[500] = {};
    PortArrayToHexText(portArray, buffer, sizeof buffer);
    QString hex = QString::fromLatin1(buffer);
    PortMapZeroPad(hex);
    QByteArray octets(int((hex.size() + 1) / 2), '\0');
    HexTextToBytes(hex, reinterpret_cast<unsigned char*>(octets.data()), int(octets.size()));
    return octets;
}

QByteArray CUtils::PortArrayToModelOctets(const int* portArray)
{
    QByteArray octets = PortArrayToOctets(portArray);
    if (g_nDevicePortNum == 52)
        octets = octets.leftJustified(12, '\0', true);
    else if (g_nDevicePortNum == 28)
        octets = octets.leftJustified(8, '\0', true);
    return octets;
}

void CUtils::PortListToArray(const QString& list, int* portArray, int value)
{
    if (!portArray)
        return;
    const int n = PortCount();
    QString rest = list;
    while (!rest.isEmpty()) {
        const qsizetype comma = rest.indexOf(u',');
        const QString item = comma < 0 ? rest : rest.left(comma);
        rest = comma < 0 ? QString() : rest.mid(comma + 1);
        const int port = SettingToInt(item);
        if (port >= 1 && port <= n)
            portArray[port - 1] = value;
    }
}

int CUtils::ParsePortList(const QString& text, int* flags)
{
    if (!flags)
        return 0;
    const int n = PortCount();
    auto refuse = [] {
        AfxMessageBox(kInvalidPortlist, MB_OK);
        return 0;
    };
    QString rest = text;
    while (!rest.isEmpty()) {
        const qsizetype comma = rest.indexOf(u',');
        const QString item = comma < 0 ? rest : rest.left(comma);
        rest = comma < 0 ? QString() : rest.mid(comma + 1);
        const qsizetype dash = item.indexOf(u'-');
        if (dash >= 0) {
            const int a = StrictNumber(item.left(dash));
            const int b = StrictNumber(item.mid(dash + 1));
            if (a < 0 || b < 0 || a > b)
                return refuse();
            for (int p = a; p <= b; ++p) {
                if (p < 1 || p > n)
                    return refuse();
                flags[p - 1] = 1;
            }
        } else {
            const int p = StrictNumber(item);
            if (p < 1 || p > n)
                return refuse();
            flags[p - 1] = 1;
        }
    }
    return 1;
}

bool CUtils::HasNoSpecialChars(const QString& text)
{
    static const QString refused = QStringLiteral("~`!@#$%^&*{}[]|\\:;\"'<>,.?/");
    for (QChar c : text) {
        if (refused.contains(c))
            return false;
    }
    return true;
}

bool CUtils::HasNoSpecialCharsOrLetters(const QString& text)
{
    static const QString refused = QStringLiteral("~`!@#$%^&*{}[]|\\:;\"'<>.?/");
    for (QChar c : text) {
        if (refused.contains(c) || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'))
            return false;
    }
    return true;
}

QString CUtils::BytesToHexText(const unsigned char* octets, int count)
{
    QString text;
    for (int i = 0; octets && i < count; ++i)
        text += QStringLiteral("%1").arg(octets[i], 2, 16, QLatin1Char('0')).toUpper();
    return text;
}

// ---------------------------------------------------------------- addresses

CUtils::MacFault CUtils::CheckMacText(const QString& text, int allowMulticast)
{
    if (text.size() != 17)
        return MacBadFormat;
    for (int at : {2, 5, 8, 11, 14}) {
        if (text[at] != u'-')
            return MacBadFormat;
    }
    QString digits = text;
    digits.remove(u'-');
    if (digits == QLatin1String("000000000000") || digits.size() < 12)
        return MacBadFormat;
    for (QChar c : digits) {
        const bool hex = (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
        if (!hex)
            return MacBadFormat;
    }
    if (digits.compare(QLatin1String("ffffffffffff"), Qt::CaseInsensitive) == 0)
        return MacBroadcast;
    if (!allowMulticast && (HexValueOf(digits.left(2)) & 1))
        return MacMulticast;
    return MacOk;
}

int CUtils::ValidateMacText(const QString& text, int allowMulticast)
{
    switch (CheckMacText(text, allowMulticast)) {
    case MacOk: return 1;
    case MacBadFormat: AfxMessageBox(kMacFormat, MB_OK); break;
    case MacBroadcast: AfxMessageBox(QStringLiteral("Broadcast MAC is not allowed."), MB_OK); break;
    case MacMulticast: AfxMessageBox(QStringLiteral("Multicast MAC is not allowed."), MB_OK); break;
    }
    return 0;
}

QString CUtils::MacTextToOidIndex(const QString& text)
{
    QString digits = text;
    digits.remove(u'-');
    QString index;
    for (qsizetype i = 0; i < digits.size(); i += 2)
        index += u'.' + QString::number(HexValueOf(digits.mid(i, 2)));
    return index;
}

QString CUtils::OctetsToMacText(const QByteArray& octets)
{
    if (octets.size() != 6)
        return {};
    QStringList pairs;
    for (char octet : octets)
        pairs << BytesToHexText(reinterpret_cast<const unsigned char*>(&octet), 1);
    return pairs.join(u'-');
}

int CUtils::ValidateIPv4(QString text)
{
    if (!CValidationPatterns::MatchesIPv4(text))
        return 0;
    if (text == QLatin1String("0.0.0.0") || text == QLatin1String("255.255.255.255"))
        return 0;
    const QString firstField = text.section(u'.', 0, 0);
    const QString lastField = text.section(u'.', -1);
    if (firstField == QLatin1String("0") || firstField == QLatin1String("255") || lastField == QLatin1String("0"))
        return 0;
    const quint32 v = IPv4TextToUInt(text);
    if ((v & 0x80000000u) == 0) {
        const quint32 net = v & 0x7F000000u, host = v & 0x00FFFFFFu;
        return net != 0 && net != 0x7F000000u && host != 0 && host != 0x00FFFFFFu;
    }
    if ((v & 0xC0000000u) == 0x80000000u) {
        const quint32 host = v & 0xFFFFu;
        return host != 0 && host != 0xFFFFu;
    }
    if ((v & 0xE0000000u) == 0xC0000000u) {
        const quint32 host = v & 0xFFu;
        return host != 0 && host != 0xFFu;
    }
    return 0;  // class D and E
}

quint32 CUtils::IPv4TextToUInt(const QString& text)
{
    QString rest = text;
    quint32 v = 0;
    for (int i = 0; i < 3; ++i) {
        const qsizetype dot = rest.indexOf(u'.');
        const QString field = dot < 0 ? rest : rest.left(dot);
        rest = dot < 0 ? QString() : rest.mid(dot + 1);
        v = v * 256 + quint32(SettingToInt(field));
    }
    return v * 256 + quint32(SettingToInt(rest));
}

QString CUtils::DottedIPv4ToHex(const QString& text)
{
    if (text.contains(u'.')) {
        const QStringList fields = text.split(u'.');
        QString hex;
        for (int i = 0; i < 4; ++i) {
            const int value = i < fields.size() ? SettingToInt(fields[i]) : 0;
            hex += QStringLiteral("%1").arg(value & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
        }
        return hex;
    }
    if (text.contains(u':'))
        return QString(text).remove(u':');
    return {};
}

QString CUtils::HexToDottedIPv4(const QString& hex)
{
    QString text;
    for (qsizetype i = 0; i < hex.size(); i += 2)
        text += QString::number(HexValueOf(hex.mid(i, 2))) + u'.';
    text.chop(1);
    return text;
}

QString CUtils::InetOctetsToHex(const unsigned char* octets, int addressType)
{
    if (!octets)
        return {};
    auto hex2 = [](unsigned char o) { return QStringLiteral("%1").arg(o, 2, 16, QLatin1Char('0')); };
    QString text;
    if (addressType == 2) {
        for (int i = 0; i < 16; i += 2) {
            if (i)
                text += u':';
            text += hex2(octets[i]) + hex2(octets[i + 1]);
        }
        return text.toLower();
    }
    for (int i = 0; i < 4; ++i)
        text += hex2(octets[i]);
    return text.toUpper();
}

int CUtils::ValidateIPv6(const QString& text, const QString& interfaceName, int allowLinkLocal, int checkScope)
{
    if (!CValidationPatterns::MatchesIPv6(text))
        return 0;
    // The rules below look at the address itself, without the blanks and
    // interface name the pattern lets through around it.
    const QString address = IPv6AddressPart(text);
    if (!address.contains(u':'))
        return 0;  // a bare dotted quad is no IPv6 address
    if (address.startsWith(u':') && (address.size() < 2 || address[1] != u':'))
        return 0;
    if (address.endsWith(u':') && (address.size() < 2 || address[address.size() - 2] != u':'))
        return 0;
    const QString e = ExpandIPv6(address);
    bool significant = false;
    for (QChar c : e) {
        if (QStringLiteral("23456789abcdef").contains(c))
            significant = true;
    }
    if (!significant) {
        if (!e.contains(u'1'))
            return 0;  // ::
        if (e.endsWith(u'1'))
            return 0;  // ::1 and the like
    }
    if (e.startsWith(QLatin1String("ff")) || e.startsWith(u'0'))
        return 0;
    if (!checkScope)
        return 1;
    if (IsLinkLocalIPv6(e)) {
        if (!allowLinkLocal)
            return 0;
        if (interfaceName.isEmpty())
            return -2;
        // The switch counts the octets it receives, and the name goes out
        // as UTF-8: a short name of non-ASCII letters can still be too long.
        if (interfaceName.toUtf8().size() > kMaxInterfaceNameLength)
            return -1;
    }
    return 1;
}

bool CUtils::IsLinkLocalIPv6(const QString& text)
{
    const QString e = ExpandIPv6(text);
    return e.startsWith(QLatin1String("fe8")) || e.startsWith(QLatin1String("fe9"))
           || e.startsWith(QLatin1String("fea")) || e.startsWith(QLatin1String("feb"));
}

QString CUtils::ExpandIPv6(const QString& text)
{
    QString t = IPv6AddressPart(text);
    // An embedded dotted quad (::ffff:1.2.3.4) becomes its two groups, so
    // the full form always carries the right octets.
    const qsizetype lastColon = t.lastIndexOf(u':');
    if (lastColon >= 0 && t.indexOf(u'.', lastColon) >= 0) {
        const QStringList q = t.mid(lastColon + 1).split(u'.');
        int v[4] = {0, 0, 0, 0};
        for (int i = 0; i < 4 && i < q.size(); ++i)
            v[i] = SettingToInt(q[i]) & 0xFF;
        t = t.left(lastColon + 1) + QStringLiteral("%1:%2")
                .arg(v[0] * 256 + v[1], 4, 16, QLatin1Char('0'))
                .arg(v[2] * 256 + v[3], 4, 16, QLatin1Char('0'));
    }
    const qsizetype gap = t.indexOf(QLatin1String("::"));
    if (gap >= 0) {
        const int colons = int(t.count(u':'));
        QString filler;
        for (int i = 0; i < 8 - colons; ++i)
            filler += QLatin1String(":0000");
        filler += u':';
        t.replace(gap, 2, filler);
        if (t.startsWith(u':'))
            t.prepend(QLatin1String("0000"));
        if (t.endsWith(u':'))
            t.append(QLatin1String("0000"));
    }
    QStringList groups = t.split(u':');
    for (QString& g : groups)
        g = PadTo4(g);
    return groups.join(u':').toLower();
}

QString CUtils::PadTo4(const QString& group)
{
    QString g = group;
    while (g.size() < 4)
        g.prepend(u'0');
    return g;
}

QString CUtils::CompressIPv6(const QString& text)
{
    QStringList groups = ExpandIPv6(text).split(u':');
    for (QString& g : groups)
        g = StripLeadingZeros(g);
    const int n = int(groups.size());
    int bestStart = -1, bestLen = 0;
    for (int i = 0; i < n;) {
        if (groups[i] != QLatin1String("0")) {
            ++i;
            continue;
        }
        int j = i;
        while (j < n && groups[j] == QLatin1String("0"))
            ++j;
        const int len = j - i;
        // A lone zero group is compressed only between two other groups.
        const bool eligible = len > 1 || (i > 0 && j < n);
        if (eligible && len > bestLen) {
            bestStart = i;
            bestLen = len;
        }
        i = j;
    }
    if (bestStart < 0)
        return groups.join(u':').toLower();
    const QString before = groups.mid(0, bestStart).join(u':');
    const QString after = groups.mid(bestStart + bestLen).join(u':');
    return (before + QLatin1String("::") + after).toLower();
}

QString CUtils::StripLeadingZeros(const QString& group)
{
    qsizetype i = 0;
    while (i < group.size() && group[i] == u'0')
        ++i;
    const QString stripped = group.mid(i);
    return stripped.isEmpty() ? QStringLiteral("0") : stripped;
}

// ---------------------------------------------------------------- other

QString CUtils::DaysInMonthText(const QString& year, const QString& month)
{
    static const QStringList longMonths = {"1", "3", "5", "7", "8", "10", "12"};
    static const QStringList shortMonths = {"4", "6", "9", "11"};
    if (longMonths.contains(month))
        return QStringLiteral("31");
    if (shortMonths.contains(month))
        return QStringLiteral("30");
    if (month == QLatin1String("2"))
        return IsLeapYearSimple(SettingToInt(year)) ? QStringLiteral("29") : QStringLiteral("28");
    return {};
}

bool CUtils::IsLeapYearSimple(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

QString CUtils::GetDefaultBrowserPath()
{
    QStringList candidates;
    candidates << RunTool(QStringLiteral("xdg-settings"), {QStringLiteral("get"), QStringLiteral("default-web-browser")});
    candidates << RunTool(QStringLiteral("xdg-mime"),
                          {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("x-scheme-handler/http")});
    candidates << DefaultHandlerFromMimeApps();
    for (const QString& id : candidates) {
        const QString program = ProgramOfDesktopEntry(id);
        if (!program.isEmpty())
            return program;
    }
    return {};
}

int CUtils::SplitToArray(const QString& text, const QString& delimiter, QStringList& parts)
{
    parts.clear();
    if (delimiter.isEmpty()) {
        parts << text;
        return 1;
    }
    if (text.isEmpty())
        return 0;
    QString rest = text;
    qsizetype at;
    while ((at = rest.indexOf(delimiter)) >= 0) {
        parts << rest.left(at).trimmed();
        rest = rest.mid(at + delimiter.size()).trimmed();
    }
    parts << rest;
    return int(parts.size());
}

QString CUtils::StringToIndex(const QString& text)
{
    const QByteArray octets = text.toUtf8();
    QString index = QStringLiteral(".%1").arg(octets.size());
    for (char c : octets)
        index += QStringLiteral(".%1").arg(static_cast<unsigned char>(c));
    return index;
}
