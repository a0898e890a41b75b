#include "CSnmpV1.h"
#include "CSnmpImpl.h"

CSnmpV1::CSnmpV1(int pduType)
    : CSnmp(1, pduType)
{
}

CSnmpV1::~CSnmpV1() = default;

void CSnmpV1::setCommunity(const char* community)
{
    impl()->community = community ? community : "";
}
