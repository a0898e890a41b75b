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

class RequestLog
{
public:
    ~RequestLog();
    bool open(const std::string& path);
    void clear();
    void write(const std::string& jsonLine);

private:
    std::string m_path;
    FILE* m_file = nullptr;
};
