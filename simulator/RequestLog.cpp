#include "RequestLog.h"

#include <unistd.h>

#include <arpa/inet.h>

#include <cstdlib>

static const char* const kErrorNames[] = {
    "noError", "tooBig", "noSuchName", "badValue", "readOnly", "genErr",
    "noAccess", "wrongType", "wrongLength", "wrongEncoding", "wrongValue",
    "noCreation", "inconsistentValue", "resourceUnavailable", "commitFailed",
    "undoFailed", "authorizationError", "notWritable", "inconsistentName",
};

const char* ErrorStatusName(long status)
{
    if (status >= 0 && status < static_cast<long>(std::size(kErrorNames)))
        return kErrorNames[status];
    return "unknown";
}

int ErrorStatusFromText(const std::string& text)
{
    for (size_t i = 0; i < std::size(kErrorNames); ++i)
        if (text == kErrorNames[i])
            return static_cast<int>(i);
    if (!text.empty() && text.find_first_not_of("0123456789") == std::string::npos) {
        long n = std::strtol(text.c_str(), nullptr, 10);
        if (n >= 0 && n < static_cast<long>(std::size(kErrorNames)))
            return static_cast<int>(n);
    }
    return -1;
}

std::string JsonString(const std::string& text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20 || c >= 0x7f) {
                char buf[8];
                snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

static std::string Hex(const u_char* data, size_t len)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (size_t i = 0; i < len; ++i) {
        out += digits[data[i] >> 4];
        out += digits[data[i] & 15];
    }
    return out;
}

static std::string OidString(const oid* name, size_t len)
{
    std::string s;
    for (size_t i = 0; i < len; ++i) {
        if (i)
            s += '.';
        s += std::to_string(name[i]);
    }
    return s;
}

// Type name and value text of one varbind. Octet strings are given as text
// when every octet is printable ASCII, else as hex; "hex" always follows.
static std::string VarbindJson(const netsnmp_variable_list* vb)
{
    std::string type;
    std::string value;
    std::string hex;
    bool hasValue = true;
    switch (vb->type) {
    case ASN_INTEGER:
        type = "INTEGER";
        value = std::to_string(*vb->val.integer);
        break;
    case ASN_COUNTER:
    case ASN_GAUGE:
    case ASN_TIMETICKS:
        type = vb->type == ASN_COUNTER ? "Counter32" : vb->type == ASN_GAUGE ? "Gauge32" : "TimeTicks";
        value = std::to_string(static_cast<unsigned long>(*vb->val.integer) & 0xFFFFFFFFUL);
        break;
    case ASN_COUNTER64:
        type = "Counter64";
        value = std::to_string((static_cast<unsigned long long>(vb->val.counter64->high) << 32)
                               | (vb->val.counter64->low & 0xFFFFFFFFUL));
        break;
    case ASN_OCTET_STR: {
        type = "OCTET STRING";
        hex = Hex(vb->val.string, vb->val_len);
        bool printable = true;
        for (size_t i = 0; i < vb->val_len; ++i)
            if (vb->val.string[i] < 0x20 || vb->val.string[i] > 0x7e)
                printable = false;
        value = printable ? std::string(reinterpret_cast<const char*>(vb->val.string), vb->val_len) : hex;
        break;
    }
    case ASN_IPADDRESS: {
        type = "IpAddress";
        char buf[INET_ADDRSTRLEN] = "";
        if (vb->val_len == 4)
            inet_ntop(AF_INET, vb->val.string, buf, sizeof buf);
        value = buf;
        hex = Hex(vb->val.string, vb->val_len);
        break;
    }
    case ASN_OBJECT_ID:
        type = "OID";
        value = OidString(vb->val.objid, vb->val_len / sizeof(oid));
        break;
    case ASN_NULL:
        type = "NULL";
        hasValue = false;
        break;
    case SNMP_NOSUCHOBJECT:
        type = "noSuchObject";
        hasValue = false;
        break;
    case SNMP_NOSUCHINSTANCE:
        type = "noSuchInstance";
        hasValue = false;
        break;
    case SNMP_ENDOFMIBVIEW:
        type = "endOfMibView";
        hasValue = false;
        break;
    default:
        type = "type-" + std::to_string(vb->type);
        hex = Hex(vb->val.string, vb->val_len);
        value = hex;
    }
    std::string out = "{\"oid\":\"" + OidString(vb->name, vb->name_length) + "\",\"type\":\"" + type + "\"";
    if (hasValue)
        out += ",\"value\":" + JsonString(value);
    if (!hex.empty() || vb->type == ASN_OCTET_STR)
        out += ",\"hex\":\"" + hex + "\"";
    return out + "}";
}

std::string VarbindsJson(const netsnmp_variable_list* vars)
{
    std::string out = "[";
    for (const netsnmp_variable_list* vb = vars; vb; vb = vb->next_variable) {
        if (out.size() > 1)
            out += ',';
        out += VarbindJson(vb);
    }
    return out + "]";
}

std::string UsmReportName(const netsnmp_pdu* pdu)
{
    if (pdu->command != SNMP_MSG_REPORT || pdu->version != SNMP_VERSION_3 || !pdu->securityName || pdu->securityNameLen == 0)
        return {};
    // usmStats counters (RFC 3414) name the reason of the report.
    static const char* const names[] = {nullptr, "unsupportedSecLevel", "notInTimeWindow", "unknownUserName",
                                        "unknownEngineID", "wrongDigest", "decryptionError"};
    static const oid usmStats[] = {1, 3, 6, 1, 6, 3, 15, 1, 1};
    const netsnmp_variable_list* vb = pdu->variables;
    if (vb && vb->name_length == OID_LENGTH(usmStats) + 2
        && snmp_oidtree_compare(vb->name, vb->name_length, usmStats, OID_LENGTH(usmStats)) == 0) {
        const oid which = vb->name[OID_LENGTH(usmStats)];
        if (which >= 1 && which <= 6)
            return names[which];
    }
    return "unknown";
}

RequestLog::~RequestLog()
{
    if (m_file)
        fclose(m_file);
}

bool RequestLog::open(const std::string& path)
{
    m_path = path;
    m_file = fopen(path.c_str(), "w");
    return m_file != nullptr;
}

void RequestLog::clear()
{
    if (!m_file)
        return;
    m_file = freopen(m_path.c_str(), "w", m_file);
    m_last.clear();
    m_lastOffset = 0;
}

void RequestLog::write(const std::string& jsonLine)
{
    if (!m_file)
        return;
    m_lastOffset = ftell(m_file);
    m_last = jsonLine;
    fputs(jsonLine.c_str(), m_file);
    fputc('\n', m_file);
    fflush(m_file);
}

void RequestLog::replaceLast(const std::string& jsonLine)
{
    if (!m_file || m_last.empty())
        return;
    fseek(m_file, m_lastOffset, SEEK_SET);
    m_last = jsonLine;
    fputs(jsonLine.c_str(), m_file);
    fputc('\n', m_file);
    fflush(m_file);
    [[maybe_unused]] int rc = ftruncate(fileno(m_file), ftell(m_file));
}
