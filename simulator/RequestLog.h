#pragma once

// The request log: one JSON object per line and per request received, so that
// tests can check exactly what a manager sent and what it was answered.

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <cstdio>
#include <string>

// A varbind list as a JSON array of {"oid","type","value"[,"hex"]}.
std::string VarbindsJson(const netsnmp_variable_list* vars);
std::string JsonString(const std::string& text);
const char* ErrorStatusName(long status);
// Error status by name ("noAccess") or number; -1 when unknown.
int ErrorStatusFromText(const std::string& text);

// The reason of a v3 report to a named user ("wrongDigest",
// "unknownUserName", ...), from the usmStats counter it carries. Empty for
// any other PDU, and for a report to no user (an engine-ID discovery).
std::string UsmReportName(const netsnmp_pdu* pdu);

class RequestLog
{
public:
    ~RequestLog();
    bool open(const std::string& path);
    void clear();
    void write(const std::string& jsonLine);
    // The line written last, and a way to complete it once the answer to
    // its request is known.
    const std::string& lastLine() const { return m_last; }
    void replaceLast(const std::string& jsonLine);

private:
    std::string m_path;
    FILE* m_file = nullptr;
    std::string m_last;
    long m_lastOffset = 0;
};
