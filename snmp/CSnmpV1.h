#pragma once

#include "CSnmp.h"

// A version-1 request: community-based.
class CSnmpV1 : public CSnmp
{
public:
    explicit CSnmpV1(int pduType = SNMP_PDU_GET);
    ~CSnmpV1() override;

    void setCommunity(const char* community);
};
