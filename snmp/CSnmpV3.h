#pragma once

#include "CSnmp.h"

// A version-3 request: user-based security (USM). Keys are derived from the
// passwords once per object and re-derived only when a password, protocol or
// user changes, so that a changed password takes effect at once.
class CSnmpV3 : public CSnmp
{
public:
    explicit CSnmpV3(int pduType = SNMP_PDU_GET);
    ~CSnmpV3() override;

    void setMsgMaxSize(int size);
    void setMsgSecurityModel(int model);       // 3 = USM
    void setUserName(const char* user);
    void setMsgFlags(char flags);              // 0 none, 1 auth, 3 auth+priv
    void setAuthArith(int arith);              // 0 MD5, 1 SHA
    void setAuthPwd(const unsigned char* pwd, int length);
    void setPriArith(int arith);               // 0 DES
    void setPriPwd(const unsigned char* pwd, int length);
};
