#include "CSNMPConfig.h"

#include "CSnmp.h"
#include "CUtils.h"
#include "MessageSink.h"
#include "SnmpRequests.h"
#include "StatusText.h"

#include <QLoggingCategory>

#include <memory>

Q_LOGGING_CATEGORY(lcSnmpAgent, "velmarc.snmpagent")

namespace {

QString Map(const QString& code, std::initializer_list<std::pair<const char*, const char*>> table)
{
    for (const auto& [from, to] : table)
        if (code == QLatin1String(from))
            return QString::fromLatin1(to);
    return code;   // a code the switch added later is shown as it is
}

QString Utf8(const SnmpRow& row, int column)
{
    return row.Has(column) ? QString::fromUtf8(row.cells[column]) : QString();
}

const char* const kTrapTails[] = {".8.1.0", ".8.2.0", ".8.3.0", ".8.4.0", ".8.5.0", ".8.9.0",
                                  ".8.6.0", ".8.7.0", ".8.8.0"};
// SNMP_TRAP_ROW field of each object above.
const int kTrapFields[] = {0, 1, 2, 3, 4, 5, 7, 8, 9};

} // namespace

CSNMPConfig::CSNMPConfig()
    : m_cCommonSNMP(m_cSnmpGet)
    , m_cCommonSNMPSet(m_cSnmpSet)
    , m_cCommonSNMPTable(m_cSnmpVlanTable)
    , m_cCommonSNMPGetUse(m_cSnmpTrunkTable)
    , m_pUserWalk(std::make_unique<CSnmpRowWalk>(m_cCommonSNMPGetUse))
    , m_pTableWalk(std::make_unique<CSnmpRowWalk>(m_cCommonSNMPTable))
{
}

CSNMPConfig::~CSNMPConfig()
{
    CloseAll();
}

void CSNMPConfig::CloseAll()
{
    m_pUserWalk->Abandon();
    m_pTableWalk->Abandon();
    CloseSessions();
}

// --- Encodings ----------------------------------------------------------------

QString CSNMPConfig::MakeModelIndex(const QString& name, const QString& version)
{
    QString index = CUtils::StringToIndex(name);
    if (version == QLatin1String("v1") || version == QLatin1String("V1"))
        index += QLatin1String(".1");
    else if (version == QLatin1String("v2c") || version == QLatin1String("V2c"))
        index += QLatin1String(".2");
    else if (version == QLatin1String("v3") || version == QLatin1String("V3"))
        index += QLatin1String(".3");
    return index;
}

QString CSNMPConfig::LevelSuffix(const QString& level)
{
    if (level == QLatin1String("NoAuthNoPriv"))
        return QStringLiteral(".1");
    if (level == QLatin1String("AuthNoPriv"))
        return QStringLiteral(".2");
    return QStringLiteral(".3");
}

QString CSNMPConfig::GroupIndex(const QString& name, const QString& model, const QString& level)
{
    return MakeModelIndex(name, model) + LevelSuffix(level);
}

QString CSNMPConfig::ViewIndex(const QString& name, const QString& subtree)
{
    return CUtils::StringToIndex(name) + QStringLiteral(".%1.").arg(subtree.count(u'.') + 1) + subtree;
}

QString CSNMPConfig::HostIndex(const QByteArray& octets)
{
    QString index = QStringLiteral(".%1").arg(octets.size());
    for (char c : octets)
        index += QStringLiteral(".%1").arg(static_cast<unsigned char>(c));
    return index + (octets.size() == 16 ? QStringLiteral(".2") : QStringLiteral(".1"));
}

bool CSNMPConfig::ParseViewIndex(const QString& index, QString& name, QString& subtree)
{
    const QStringList parts = index.split(u'.');
    std::vector<quint64> ids;
    for (const QString& part : parts) {
        bool ok = false;
        const quint64 id = part.toULongLong(&ok);
        if (!ok || id > 4294967295ULL)
            return false;
        ids.push_back(id);
    }
    if (ids.empty() || ids[0] > 255 || 1 + ids[0] >= ids.size())
        return false;
    const size_t nameLength = size_t(ids[0]);
    QByteArray octets;
    for (size_t i = 1; i <= nameLength; ++i) {
        if (ids[i] > 255)
            return false;
        octets.append(char(ids[i]));
    }
    const size_t at = 1 + nameLength;
    if (ids[at] == 0 || at + 1 + ids[at] != ids.size())
        return false;
    QStringList sub;
    for (size_t i = at + 1; i < ids.size(); ++i)
        sub.append(QString::number(ids[i]));
    name = QString::fromUtf8(octets);
    subtree = sub.join(u'.');
    return true;
}

bool CSNMPConfig::MaskToOctets(const QString& mask, QByteArray& octets)
{
    octets.clear();
    if (mask.isEmpty())
        return true;
    for (const QString& part : mask.split(u'.')) {
        if (part == QLatin1String("0") || part == QLatin1String("00"))
            octets.append('\0');
        else if (part == QLatin1String("1") || part == QLatin1String("01"))
            octets.append('\1');
        else
            return false;
    }
    return true;
}

QString CSNMPConfig::OctetsToMask(const QByteArray& octets, int count)
{
    QStringList parts;
    for (qsizetype i = 0; i < octets.size() && i < count; ++i)
        parts.append(QString::number(static_cast<unsigned char>(octets[i])));
    return parts.join(u'.');
}

bool CSNMPConfig::EngineIdOctets(const QString& id, QByteArray& octets)
{
    QString text = id;
    if (text.size() % 2)
        text.prepend(u'0');
    octets = QByteArray::fromHex(text.toLatin1());
    for (QChar c : text)
        if (!c.isDigit() && !(c >= u'a' && c <= u'f') && !(c >= u'A' && c <= u'F'))
            return false;
    return !octets.isEmpty();
}

QString CSNMPConfig::DefaultEngineId(const QString& model)
{
    // The 28-port model carries the 20-port model's factory value.
    if (model == QLatin1String("PQS-4400-20") || model == QLatin1String("PQS-4400-28"))
        return QStringLiteral("5051532d343430302d3230000102030405");
    if (model == QLatin1String("PQS-4400-52"))
        return QStringLiteral("5051532d343430302d3532001500062052");
    return {};
}

bool CSNMPConfig::CheckName(const QString& name)
{
    return CUtils::HasNoSpecialChars(name);
}

bool CSNMPConfig::IsRowStatusText(const QString& status)
{
    return status == QLatin1String("1") || status == QLatin1String("5") || status == QLatin1String("6");
}

QStringList CSNMPConfig::TrapOids(bool withPoe)
{
    QStringList oids;
    for (int i = 0; i < (withPoe ? 9 : 6); ++i)
        oids.append(kAgentArc + QLatin1String(kTrapTails[i]));
    return oids;
}

// --- Walks ----------------------------------------------------------------------

bool CSNMPConfig::GetUserTable()
{
    return StartWalk(Users);
}

bool CSNMPConfig::GetGroupTable()
{
    return StartWalk(Groups);
}

bool CSNMPConfig::GetViewTable()
{
    return StartWalk(Views);
}

bool CSNMPConfig::GetCommunityTable()
{
    return StartWalk(Communities);
}

bool CSNMPConfig::GetHostTable()
{
    return StartWalk(Hosts);
}

bool CSNMPConfig::StartWalk(Table table)
{
    QStringList columns;
    auto add = [&columns](QString (*column)(int), std::initializer_list<int> numbers) {
        for (int n : numbers)
            columns.append(column(n));
    };
    switch (table) {
    case Users: add(&UserColumn, {1, 2, 3, 4, 5, 6, 7, 8}); break;
    case Groups: add(&GroupColumn, {1, 2, 3, 4, 5, 6, 7}); break;
    case Views: add(&ViewColumn, {1, 3, 4, 5}); break;
    case Communities: add(&CommunityColumn, {1, 2, 3}); break;
    case Hosts: add(&HostColumn, {3, 2, 1, 4, 6, 5}); break;
    }
    CSnmpRowWalk& walk = table == Users ? *m_pUserWalk : *m_pTableWalk;
    if (table != Users)
        m_bChainUserWalk = table == Communities;
    // The walk reports its end exactly once, also when nothing could be sent.
    return walk.Start(columns, [this, table](const WalkOutcome& outcome) { OnWalkEnd(table, outcome); });
}

void CSNMPConfig::OnWalkEnd(Table table, const WalkOutcome& outcome)
{
    if (outcome.nResult == WalkOutcome::Cancelled)
        return;   // a newer walk of the same session reports instead
    // A table read only in part is not offered as the switch's table.
    const CSnmpRowWalk& walk = table == Users ? *m_pUserWalk : *m_pTableWalk;
    if (outcome.Ok())
        for (const SnmpRow& row : walk.Rows())
            ReportRow(table, row);
    if (table == Communities && m_bChainUserWalk) {
        // The user walk's end is the one end report of this refresh; a
        // failed community walk still reports through it.
        m_bChainUserWalk = false;
        if (!outcome.Ok()) {
            SendOwnerMessage(WM_MODULE_NOTIFY, MN_WALK_END, &outcome);
            return;
        }
        StartWalk(Users);
        return;
    }
    SendOwnerMessage(WM_MODULE_NOTIFY, MN_WALK_END, &outcome);
}

void CSNMPConfig::ReportRow(Table table, const SnmpRow& row)
{
    switch (table) {
    case Users: {
        SNMP_USER_ROW r;
        r.strName = Utf8(row, 0);
        r.strVersion = Map(row.Text(1), {{"1", "V1"}, {"2", "V2c"}, {"3", "V3"}});
        r.strGroup = Utf8(row, 2);
        r.strAuthProtocol = Map(row.Text(3), {{"1", "None"}, {"2", "MD5"}, {"3", "SHA"}});
        r.strAuthPassword = Utf8(row, 4);
        r.strPrivProtocol = Map(row.Text(5), {{"1", "None"}, {"2", "DES_CBC"}});
        r.strPrivPassword = Utf8(row, 6);
        r.strRowStatus = row.Text(7);
        SendOwnerMessage(WM_MODULE_NOTIFY, MN_USER_ROW, &r);
        break;
    }
    case Groups: {
        SNMP_GROUP_ROW r;
        r.strName = Utf8(row, 0);
        r.strModel = Map(row.Text(1), {{"1", "v1"}, {"2", "v2c"}, {"3", "v3"}});
        r.strLevel = Map(row.Text(2), {{"1", "NoAuthNoPriv"}, {"2", "AuthNoPriv"}, {"3", "AuthPriv"}});
        r.strReadView = Utf8(row, 3);
        r.strWriteView = Utf8(row, 4);
        r.strNotifyView = Utf8(row, 5);
        r.strRowStatus = row.Text(6);
        SendOwnerMessage(WM_MODULE_NOTIFY, MN_ROW, &r);
        break;
    }
    case Views: {
        SNMP_VIEW_ROW r;
        QString name;
        if (!ParseViewIndex(row.strIndex, name, r.strSubtree)) {
            qCWarning(lcSnmpAgent) << "view row with a malformed index skipped:" << row.strIndex;
            return;
        }
        r.strName = row.Has(0) ? Utf8(row, 0) : name;
        const int count = int(r.strSubtree.count(u'.')) + 1;
        r.strMask = row.Has(1) ? OctetsToMask(row.cells[1], count) : QString();
        r.strType = Map(row.Text(2), {{"1", "Included"}, {"2", "Excluded"}});
        r.strRowStatus = row.Text(3);
        SendOwnerMessage(WM_MODULE_NOTIFY, MN_ROW, &r);
        break;
    }
    case Communities: {
        SNMP_COMMUNITY_ROW r;
        r.strName = Utf8(row, 0);
        r.strViewPolicy = Utf8(row, 1);
        r.strRowStatus = row.Text(2);
        SendOwnerMessage(WM_MODULE_NOTIFY, MN_COMMUNITY_ROW, &r);
        break;
    }
    case Hosts: {
        // Columns asked: 3 name, 2 type, 1 address, 4 version, 6 status, 5 interface.
        SNMP_HOST_ROW r;
        r.strAddressType = row.Text(1);
        const QByteArray address = row.Has(2) ? row.cells[2] : QByteArray();
        if (r.strAddressType == QLatin1String("1") && address.size() == 4) {
            r.strAddress = QStringLiteral("%1.%2.%3.%4")
                               .arg(uchar(address[0]))
                               .arg(uchar(address[1]))
                               .arg(uchar(address[2]))
                               .arg(uchar(address[3]));
        } else if (r.strAddressType == QLatin1String("2") && address.size() == 16) {
            r.strAddress = CUtils::CompressIPv6(
                CUtils::InetOctetsToHex(reinterpret_cast<const unsigned char*>(address.constData()), 2));
        } else {
            qCWarning(lcSnmpAgent) << "host row whose address does not fit its type skipped:" << row.strIndex;
            return;
        }
        r.strName = Utf8(row, 0);
        r.strVersion = Map(row.Text(3), {{"1", "V1"}, {"2", "V2c"}, {"3", "V3-NoAuthNoPriv"},
                                         {"4", "V3-AuthNoPriv"}, {"5", "V3-AuthPriv"}});
        r.strRowStatus = row.Text(4);
        r.strInterface = Utf8(row, 5);
        SendOwnerMessage(WM_MODULE_NOTIFY, MN_ROW, &r);
        break;
    }
    }
}

// --- Scalars --------------------------------------------------------------------

bool CSNMPConfig::GetGlobalState()
{
    return GetScalar(m_cCommonSNMP, GlobalStateOid(), SCALAR_GLOBAL_STATE);
}

bool CSNMPConfig::GetEngineID()
{
    return GetScalar(m_cCommonSNMPTable, EngineIdOid(), SCALAR_ENGINE_ID);
}

bool CSNMPConfig::GetScalar(CCommonSNMP& session, const QString& oid, int code)
{
    SNMP_SCALAR_RESULT r;
    CSnmp* pResponse = nullptr;
    int result = -1;
    if (session.Prepare(SNMP_PDU_GET) && session.AddValue(oid, SNMP_TYPE_NULL, nullptr) == 0)
        result = session.SendSync(pResponse);
    std::unique_ptr<CSnmp> response(pResponse);
    int errorStatus = 0;
    int errorIndex = 0;
    if (result == 0 && response)
        response->getErrorStatus(&errorStatus, &errorIndex);
    char* pszOid = nullptr;
    unsigned char* pData = nullptr;
    int nLen = 0;
    if (result != 0 || !response) {
        r.strWhy = StatusText::SessionFailure(session);
    } else if (errorStatus != 0) {
        r.strWhy = CSetSequence::ErrorStatusName(errorStatus);
    } else if (response->getVarBindCount() < 1 || response->getValueType(0) == 0
               || response->getValueBytes(0, &pszOid, &pData, &nLen) != 0 || !pData) {
        r.strWhy = QStringLiteral("no value");
    } else {
        r.bOk = true;
        const QByteArray value(reinterpret_cast<const char*>(pData), nLen);
        // The engine ID is shown as lower-case hex of its octets.
        r.strValue = code == SCALAR_ENGINE_ID ? QString::fromLatin1(value.toHex()) : QString::fromLatin1(value);
    }
    SendOwnerMessage(WM_SNMP_SCALAR, code, &r);
    return r.bOk;
}

bool CSNMPConfig::GetTrapSettings(bool withPoe, QString* pWhy)
{
    const QStringList oids = TrapOids(withPoe);
    QList<std::optional<QByteArray>> values;
    const int result = SnmpGetValues(m_cCommonSNMP, oids, values);
    QString why;
    if (result != 0)
        why = result > 0 ? CSetSequence::ErrorStatusName(result) : StatusText::SessionFailure(m_cCommonSNMP);
    else
        for (qsizetype i = 0; i < oids.size() && why.isEmpty(); ++i)
            if (i >= values.size() || !values[i])
                why = QStringLiteral("no value for %1").arg(oids[i]);
    if (!why.isEmpty()) {
        if (pWhy)
            *pWhy = why;
        return false;
    }
    SNMP_TRAP_ROW row;
    for (qsizetype i = 0; i < oids.size(); ++i)
        row.field[kTrapFields[i]] = QString::fromLatin1(*values[i]);
    SendOwnerMessage(WM_MODULE_NOTIFY, MN_ROW, &row);
    return true;
}

// --- Writes ---------------------------------------------------------------------

bool CSNMPConfig::AddRowStatusStep(CSetSequence& sequence, const QString& oid, const QString& status,
                                   const QString& what)
{
    if (!IsRowStatusText(status)) {
        AfxMessageBox(QStringLiteral("error istatus value!"));
        return false;
    }
    sequence.Add(what, {SnmpSetValue::Integer(oid, status.toInt())});
    return true;
}

bool CSNMPConfig::AddCreateSteps(CSetSequence& sequence, const QString& statusOid,
                                 const QList<QList<SnmpSetValue>>& requests, const QString& what)
{
    if (!AddRowStatusStep(sequence, statusOid, QStringLiteral("5"), what + QStringLiteral(": create")))
        return false;
    for (const QList<SnmpSetValue>& values : requests)
        if (!values.isEmpty())   // never a request without varbinds
            sequence.Add(what + QStringLiteral(": settings"), values);
    return AddRowStatusStep(sequence, statusOid, QStringLiteral("1"), what + QStringLiteral(": activate"));
}

QList<QList<SnmpSetValue>> CSNMPConfig::AddUserRequests(const QString& name, const QString& version,
                                                        const QString& group, const QString& authProtocol,
                                                        const QString& authPassword, const QString& privProtocol,
                                                        const QString& privPassword)
{
    const QString index = MakeModelIndex(name, version);
    QList<QList<SnmpSetValue>> requests;
    requests.append({SnmpSetValue::Text(UserColumn(3) + index, group)});
    if (version != QLatin1String("V3"))
        return requests;
    // "1" is the switch's code for no authentication.
    const int auth = authProtocol == QLatin1String("MD5") ? 2 : authProtocol == QLatin1String("SHA") ? 3 : 1;
    const bool priv = privProtocol != QLatin1String("None") && !privProtocol.isEmpty();
    QList<SnmpSetValue> protocols{SnmpSetValue::Integer(UserColumn(4) + index, auth)};
    if (priv)
        protocols.append(SnmpSetValue::Integer(UserColumn(6) + index, 2));
    requests.append(protocols);
    // Every V3 user gets its authentication password, the empty text when
    // it has none.
    QList<SnmpSetValue> passwords{SnmpSetValue::Text(UserColumn(5) + index, authPassword)};
    if (priv)
        passwords.append(SnmpSetValue::Text(UserColumn(7) + index, privPassword));
    requests.append(passwords);
    return requests;
}

QList<SnmpSetValue> CSNMPConfig::AddGroupValues(const QString& name, const QString& model, const QString& level,
                                                const QString& readView, const QString& writeView,
                                                const QString& notifyView)
{
    const QString index = GroupIndex(name, model, level);
    QList<SnmpSetValue> values;
    if (!readView.isEmpty())
        values.append(SnmpSetValue::Text(GroupColumn(4) + index, readView));
    if (!writeView.isEmpty())
        values.append(SnmpSetValue::Text(GroupColumn(5) + index, writeView));
    if (!notifyView.isEmpty())
        values.append(SnmpSetValue::Text(GroupColumn(6) + index, notifyView));
    return values;
}

QList<SnmpSetValue> CSNMPConfig::AddViewValues(const QString& name, const QString& subtree, const QString& mask,
                                               const QString& type)
{
    QByteArray octets;
    if (!MaskToOctets(mask, octets))
        return {};
    const QString index = ViewIndex(name, subtree);
    return {SnmpSetValue::Octets(ViewColumn(3) + index, octets),
            SnmpSetValue::Integer(ViewColumn(4) + index, type == QLatin1String("Included") ? 1 : 2)};
}

QList<SnmpSetValue> CSNMPConfig::AddCommunityValues(const QString& name, const QString& viewPolicy)
{
    return {SnmpSetValue::Text(CommunityColumn(2) + CUtils::StringToIndex(name), viewPolicy)};
}

QList<SnmpSetValue> CSNMPConfig::AddHostValues(const QByteArray& octets, const QString& name,
                                               const QString& version, const QString& address,
                                               const QString& interfaceName)
{
    const QString index = HostIndex(octets);
    QList<SnmpSetValue> values{SnmpSetValue::Text(HostColumn(3) + index, name),
                               SnmpSetValue::Integer(HostColumn(4) + index, version.toInt())};
    if (octets.size() == 16 && CUtils::IsLinkLocalIPv6(address))
        values.append(SnmpSetValue::Text(HostColumn(5) + index, interfaceName));
    return values;
}

QList<SnmpSetValue> CSNMPConfig::GlobalStateValues(const QString& state)
{
    return {SnmpSetValue::Integer(GlobalStateOid(), state == QLatin1String("1") ? 1 : 2)};
}

QList<SnmpSetValue> CSNMPConfig::EngineIdValues(const QString& id, bool useDefault, const QString& model)
{
    const QString text = useDefault ? DefaultEngineId(model) : id;
    QByteArray octets;
    if (text.isEmpty() || !EngineIdOctets(text, octets))
        return {};
    return {SnmpSetValue::Octets(EngineIdOid(), octets)};
}

QList<SnmpSetValue> CSNMPConfig::TrapValues(const SNMP_TRAP_ROW& row, bool withPoe)
{
    QList<SnmpSetValue> values;
    const QStringList oids = TrapOids(withPoe);
    for (qsizetype i = 0; i < oids.size(); ++i)
        values.append(SnmpSetValue::Integer(oids[i], row.field[kTrapFields[i]] == QLatin1String("1") ? 1 : 2));
    return values;
}
