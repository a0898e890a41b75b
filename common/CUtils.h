#pragma once

// Static conversions and checks shared by every dialog: port bitmaps, hex
// port maps and port lists; MAC, IPv4 and IPv6 texts; day lists; the
// default browser; splitting of configuration lists. Port helpers read the
// port count g_nDevicePortNum; nothing here keeps state.
//
// Port encodings:
//   port bitmap  octets from the switch, port p = bit (7 - (p-1)%8) of byte (p-1)/8
//   member text  "1,3,5" / range text "1-4,7,9-12"
//   hex port map "8000001" (4 ports per lower-case digit), padded to the
//                switch's width (8 digits up to 28 ports, 16 for 48 and 52)
//   port list    typed text "1-3,5"

#include <QByteArray>
#include <QString>
#include <QStringList>

class QComboBox;

class CUtils
{
public:
    virtual ~CUtils() = default;

    // ---- Port encodings ----

    // Member text of the set bits of the first ceil(g_nDevicePortNum/8)
    // bytes; bytes missing from the received value read as zero. count gets
    // the number of set bits. Bits past the port count are listed as such.
    static QString PortBitmapToList(const QByteArray& bitmap, int& count);
    static QString PortBitmapToList(const unsigned char* octets, int octetCount, int& count);

    // Appends the range text of the set ports within lo..hi to text; returns
    // how many set ports lie within lo..hi.
    static int PortBitmapToRangeList(const unsigned char* bitmap, int byteCount, int lo, int hi, QString& text);

    // Appends the hex port map of a per-port array (any non-zero entry is a
    // member) to a zero-terminated buffer of bufferSize bytes, never past it.
    static void PortArrayToHexText(const int* portArray, char* buffer, int bufferSize = 500);

    // Appends the zero digits that bring a hex port map to the switch's
    // width for g_nDevicePortNum; unknown counts get none. Returns 1.
    static int PortMapZeroPad(QString& text);

    // Stores the value of each pair of hex digits (an odd text gets a "0"
    // appended) into bytes, at most maxBytes of them. Returns 1.
    static int HexTextToBytes(QString text, unsigned char* bytes, int maxBytes);

    // The octets that a SET of a port map carries: hex text of the array,
    // padded, turned into octets (an odd digit count keeps its last digit).
    static QByteArray PortArrayToOctets(const int* portArray);
    // The same at the width some tables of the switch take whatever the
    // port map needs: 12 octets on 52 ports and 8 on 28 ports (VLAN port
    // maps, IGMP router ports, surveillance VLAN tagged ports); other port
    // counts as PortArrayToOctets.
    static QByteArray PortArrayToModelOctets(const int* portArray);

    // Sets portArray[n-1] = value for every listed n in 1..g_nDevicePortNum.
    static void PortListToArray(const QString& list, int* portArray, int value);

    // Sets flags[p-1] = 1 for every port of a typed list "1-3,5". Each
    // number is decimal digits (a "+" may lead), blanks allowed around it.
    // On a malformed item, a reversed run or a port outside
    // 1..g_nDevicePortNum it shows "Invalid Portlist" and returns 0 (flags
    // set before stay set).
    static int ParsePortList(const QString& text, int* flags);

    // TRUE when none of ~`!@#$%^&*{}[]|\:;"'<>,.?/ occurs (name fields).
    static bool HasNoSpecialChars(const QString& text);
    // The same set without the comma, plus the letters (port lists, numbers).
    static bool HasNoSpecialCharsOrLetters(const QString& text);

    // "%02X" per octet.
    static QString BytesToHexText(const unsigned char* octets, int count);
    static QString BytesToHexText(const QByteArray& octets)
    {
        return BytesToHexText(reinterpret_cast<const unsigned char*>(octets.constData()), int(octets.size()));
    }

    // ---- Address texts ----

    // What is wrong with a MAC text, in the order the checks run.
    enum MacFault { MacOk = 0, MacBadFormat, MacBroadcast, MacMulticast };
    // The check behind ValidateMacText without its message, for dialogs
    // that word the faults their own way.
    static MacFault CheckMacText(const QString& text, int allowMulticast);
    // 1 for xx-xx-xx-xx-xx-xx (not all zero, not broadcast, not multicast
    // unless allowed); else shows its message and returns 0.
    static int ValidateMacText(const QString& text, int allowMulticast);
    // ".d.d.d.d.d.d": the hex pairs as decimal sub-identifiers.
    static QString MacTextToOidIndex(const QString& text);
    // "XX-XX-XX-XX-XX-XX" (upper case) of six octets; empty for another length.
    static QString OctetsToMacText(const QByteArray& octets);

    // 1 for a dotted-quad unicast host address, 0 otherwise.
    static int ValidateIPv4(QString text);
    static quint32 IPv4TextToUInt(const QString& text);
    // "C0A80101" for 192.168.1.1; an expanded IPv6 text without its colons.
    static QString DottedIPv4ToHex(const QString& text);
    static QString HexToDottedIPv4(const QString& hex);
    // Type 2: the full IPv6 form of 16 octets; otherwise 4 octets as hex.
    static QString InetOctetsToHex(const unsigned char* octets, int addressType);

    // 1 valid, 0 invalid, -1 interface name over 20 octets (as UTF-8, the
    // form it is sent in), -2 link-local address without interface name.
    static int ValidateIPv6(const QString& text, const QString& interfaceName, int allowLinkLocal, int checkScope);
    static constexpr int kMaxInterfaceNameLength = 20;
    // The expanded text begins fe8, fe9, fea or feb (fe80::/10).
    static bool IsLinkLocalIPv6(const QString& text);
    // Eight groups of four lower-case digits. Blanks around the text and a
    // "%interface" are dropped; an embedded dotted quad becomes two groups.
    static QString ExpandIPv6(const QString& text);
    static QString PadTo4(const QString& group);
    static QString CompressIPv6(const QString& text);
    static QString StripLeadingZeros(const QString& group);

    // ---- Other conversions ----

    // A text as a table index: ".N.c1.c2..." over its UTF-8 octets (the
    // switch keeps names as UTF-8 in the index as in the value):
    // "all" -> ".3.97.108.108".
    static QString StringToIndex(const QString& text);

    static QString DaysInMonthText(const QString& year, const QString& month);
    static bool IsLeapYearSimple(int year);
    // Defined with the widgets (widgets/CUtilsDayCombo.cpp), so that the
    // conversions build without them.
    static void FillDayCombo(QComboBox* year, QComboBox* month, QComboBox* day);
    // The desktop's default web browser program, or "" when there is none.
    static QString GetDefaultBrowserPath();
    static int SplitToArray(const QString& text, const QString& delimiter, QStringList& parts);
};
