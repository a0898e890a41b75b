#pragma once

// Helpers of the SNMP layer's tests: a silent UDP peer and small wrappers.

#include "CSnmp.h"
#include "CSnmp4w.h"
#include "CSnmpV1.h"
#include "CSnmpV3.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

// A bound UDP socket that never answers: an agent that is down.
class SilentAgent
{
public:
    SilentAgent()
    {
        m_fd = socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof(addr);
        bind(m_fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr));
        getsockname(m_fd, reinterpret_cast<sockaddr*>(&addr), &len);
        m_port = ntohs(addr.sin_port);
    }
    ~SilentAgent() { close(m_fd); }
    std::string address() const { return "127.0.0.1:" + std::to_string(m_port); }
    // True once a request has arrived (it stays unread), false after `ms`.
    bool WaitForRequest(int ms)
    {
        pollfd p{m_fd, POLLIN, 0};
        return poll(&p, 1, ms) > 0;
    }

private:
    int m_fd = -1;
    int m_port = 0;
};

inline long long ElapsedMs(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - since).count();
}

struct V3Credentials {
    const char* user;
    char flags;
    int authArith;
    const char* authPwd;
    const char* privPwd;
};

inline void ApplyV3(CSnmpV3& req, const V3Credentials& c)
{
    req.setMsgMaxSize(1024);
    req.setMsgSecurityModel(3);
    req.setUserName(c.user);
    req.setMsgFlags(c.flags);
    if (c.flags & 1) {
        req.setAuthArith(c.authArith);
        req.setAuthPwd(reinterpret_cast<const unsigned char*>(c.authPwd), int(strlen(c.authPwd)));
    }
    if (c.flags & 2) {
        req.setPriArith(0);
        req.setPriPwd(reinterpret_cast<const unsigned char*>(c.privPwd), int(strlen(c.privPwd)));
    }
}

inline bool IsDecimal(const std::string& text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The value text of varbind i, or "<null>" for no text.
inline std::string ValueText(CSnmp* response, int i)
{
    char* oid = nullptr;
    char* value = nullptr;
    if (response->getValueText(i, &oid, &value) != 0)
        return "<bad index>";
    return value ? std::string(value) : std::string("<null>");
}

inline const char* kSysDescr = "1.3.6.1.2.1.1.1.0";
inline const char* kSysObjectId = "1.3.6.1.2.1.1.2.0";
inline const char* kSysUpTime = "1.3.6.1.2.1.1.3.0";
inline const char* kSysContact = "1.3.6.1.2.1.1.4.0";
inline const char* kSysName = "1.3.6.1.2.1.1.5.0";
inline const char* kSysLocation = "1.3.6.1.2.1.1.6.0";
inline const char* kIfNumber = "1.3.6.1.2.1.2.1.0";
inline const char* kIfIndexColumn = "1.3.6.1.2.1.2.2.1.1";
inline const char* kIfDescrColumn = "1.3.6.1.2.1.2.2.1.2";

// One-shot asynchronous v1 gets of sysDescr, each through a sender of its
// own; the statuses their callbacks got, in order of arrival (callbacks run
// where SnmpProcessCallbacks is called).
class AsyncGets
{
public:
    explicit AsyncGets(const char* community = "public")
    {
        m_request.setCommunity(community);
        m_request.addValue(kSysDescr, SNMP_TYPE_NULL, nullptr);
    }
    int send(const std::string& address, int timeoutMs)
    {
        m_senders.push_back(std::make_unique<CSnmp4w>(&m_request));
        return m_senders.back()->sendAsync(address.c_str(), &AsyncGets::Callback, &m_statuses, nullptr, unsigned(timeoutMs));
    }
    const std::vector<int>& statuses() const { return m_statuses; }

private:
    static int Callback(CSnmp* response, int, void* user, int status)
    {
        delete response;
        static_cast<std::vector<int>*>(user)->push_back(status);
        return 0;
    }

    CSnmpV1 m_request{SNMP_PDU_GET};
    std::vector<std::unique_ptr<CSnmp4w>> m_senders;
    std::vector<int> m_statuses;
};
