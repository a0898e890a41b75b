#include "CSurveillanceOui.h"

#include "CSetSequence.h"
#include "CSnmpRowWalk.h"
#include "CUtils.h"

#include <QCoreApplication>

namespace {

const QString kEntry = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.26.2.1.1");
constexpr int kCreateAndGo = 4;
constexpr int kDestroy = 6;

// Entries beginning with these digits are the default row's.
const QLatin1String kDefaultPrefix("0A3C5E0");

QString Tr(const char* text)
{
    return QCoreApplication::translate("CSurveillanceOui", text);
}

QString Digits(const QString& mac)
{
    QString digits = mac;
    digits.remove(u'-');
    return digits;
}

bool IsHex(const QString& digits)
{
    for (QChar c : digits)
        if (!((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f')))
            return false;
    return true;
}

// A whole-OUI entry's address: hyphens optional, at least 12 hex digits
// (only the OUI is used), not all zero; its first octet even.
CSurveillanceOui::Fault CheckOuiText(const QString& strMac)
{
    const QString digits = Digits(strMac);
    if (digits.size() < 12 || !IsHex(digits) || digits == QLatin1String("000000000000"))
        return CSurveillanceOui::BadFormat;
    if (digits.left(2).toInt(nullptr, 16) & 1)
        return CSurveillanceOui::Multicast;
    return CSurveillanceOui::Ok;
}

} // namespace

const QString CSurveillanceOui::kDefaultMac = QStringLiteral("0A-3C-5E-00-00-00");

QString CSurveillanceOui::Column(int nColumn)
{
    return kEntry + u'.' + QString::number(nColumn);
}

CSurveillanceOui::Fault CSurveillanceOui::Check(const QString& strDescription, const QString& strMac, bool bWholeOui,
                                                const QStringList& listed, const QStringList& voiceOuis)
{
    if (!CUtils::HasNoSpecialChars(strDescription))
        return BadDescription;
    if (bWholeOui) {
        if (const Fault fault = CheckOuiText(strMac); fault != Ok)
            return fault;
    } else {
        switch (CUtils::CheckMacText(strMac, 0)) {
        case CUtils::MacOk: break;
        case CUtils::MacBadFormat: return BadFormat;
        case CUtils::MacBroadcast: return Broadcast;
        case CUtils::MacMulticast: return Multicast;
        }
    }
    const QString digits = Digits(bWholeOui ? OuiOf(strMac) : strMac);
    for (const QString& oui : voiceOuis)
        if (digits.left(6).compare(oui, Qt::CaseInsensitive) == 0)
            return VoiceOui;
    if (digits.startsWith(kDefaultPrefix, Qt::CaseInsensitive))
        return DefaultOui;
    int userRows = 0;
    for (const QString& row : listed) {
        const QString rowDigits = Digits(row);
        // A whole-OUI entry covers every address of its OUI.
        const qsizetype compared = bWholeOui ? 6 : rowDigits.size();
        if (rowDigits.size() == digits.size() && rowDigits.left(compared).compare(digits.left(compared), Qt::CaseInsensitive) == 0)
            return Duplicate;
        if (!rowDigits.startsWith(kDefaultPrefix, Qt::CaseInsensitive))
            ++userRows;
    }
    // More than the limit can only come from elsewhere: still full.
    if (userRows >= kMaxUserRows)
        return TableFull;
    return Ok;
}

QString CSurveillanceOui::FaultText(Fault fault, bool bOuiDialog)
{
    switch (fault) {
    case Ok: break;
    case BadDescription: return Tr("Invalid Description.");
    case BadFormat: return Tr("Please enter correct MAC format(ex:00-00-00-00-00-01)");
    case Broadcast:
        if (!bOuiDialog)
            return Tr("Broadcast MAC is not allowed.");
        [[fallthrough]];   // that dialog calls a broadcast address a multicast one
    case Multicast: return bOuiDialog ? Tr("Multicast MAC  is not allowed.") : Tr("Multicast MAC is not allowed.");
    case VoiceOui: return Tr("The OUI is already exist at Voice Vlan OUI Table!");
    case DefaultOui: return Tr("This OUI is default, please select the default mode!");
    case Duplicate: return Tr("The OUI is already exist!");
    case TableFull: return Tr("OUI Table is full,Maximum user defined OUI is 5.");
    }
    return {};
}

QString CSurveillanceOui::RowMac(const SnmpRow& row, int nColumn)
{
    const QString mac = CUtils::OctetsToMacText(row.cells.value(nColumn));
    return mac.isEmpty() ? MacTextOfIndex(row.strIndex) : mac;
}

QString CSurveillanceOui::OuiOf(const QString& strMac)
{
    const QString digits = Digits(strMac);
    return digits.mid(0, 2) + u'-' + digits.mid(2, 2) + u'-' + digits.mid(4, 2) + QStringLiteral("-00-00-00");
}

QString CSurveillanceOui::IndexOf(const QString& strMac)
{
    return CUtils::MacTextToOidIndex(strMac);
}

QString CSurveillanceOui::MacTextOfIndex(const QString& strIndex)
{
    const QStringList parts = strIndex.split(u'.');
    if (parts.size() != 6)
        return {};
    QByteArray octets;
    for (const QString& part : parts) {
        bool ok = false;
        const uint value = part.toUInt(&ok);
        if (!ok || value > 255 || part.isEmpty() || !part[0].isDigit())
            return {};
        octets.append(char(value));
    }
    return CUtils::OctetsToMacText(octets);
}

QString CSurveillanceOui::TypeText(const QString& strCode)
{
    const QStringList texts = ChoosableTypes() << Tr("Velmarc Surveillance Device");
    bool ok = false;
    const int code = strCode.toInt(&ok);
    return ok && code >= 0 && code < texts.size() && strCode == QString::number(code) ? texts[code] : strCode;
}

QStringList CSurveillanceOui::ChoosableTypes()
{
    return {Tr("Video Management Server"), Tr("VMS client/Remote viewer"), Tr("Video Encoder"), Tr("Network Storage"),
            Tr("Other IP Surveillance Devices")};
}

void CSurveillanceOui::AddSteps(CSetSequence& writes, CSetSequence& undo, const QString& strMac,
                                const QString& strDescription, int nType, bool bWholeOui)
{
    const QString index = IndexOf(strMac);
    const QString mac = strMac.toUpper();
    writes.Clear();
    writes.Add(Tr("create the entry %1").arg(mac), {SnmpSetValue::Integer(Column(ColStatus) + index, kCreateAndGo)});
    QList<SnmpSetValue> columns = {SnmpSetValue::Text(Column(ColDescription) + index, strDescription),
                                   SnmpSetValue::Integer(Column(ColType) + index, nType)};
    if (bWholeOui)
        columns << SnmpSetValue::Octets(Column(ColMask) + index, QByteArray::fromHex("ffffff000000"));
    // The switch takes the columns of a new row a moment after creating it.
    writes.Add(Tr("description and type of %1").arg(mac), columns, 50);
    undo.Clear();
    undo.Add(Tr("remove the entry %1 again").arg(mac), {SnmpSetValue::Integer(Column(ColStatus) + index, kDestroy)});
}

QString CSurveillanceOui::DeleteRow(CSetSequence& writes, int nRow, const QStringList& indexes, const QString& strMac)
{
    if (nRow < 0 || nRow >= indexes.size())
        return Tr("Please Selecte the OUI Entry you would to delete");
    if (strMac == kDefaultMac)
        return Tr("The default Surveillance OUI can not be deleted.");
    writes.Clear();
    writes.Add(Tr("delete the entry %1").arg(strMac),
               {SnmpSetValue::Integer(Column(ColStatus) + u'.' + indexes[nRow], kDestroy)});
    return {};
}
