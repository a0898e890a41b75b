#include "CSnmpTable4w.h"

CSnmpTable4w::CSnmpTable4w(CSnmp* request)
    : CSnmpTable(request)
{
}

CSnmpTable4w::~CSnmpTable4w() = default;

int CSnmpTable4w::getNextAsync(const char* address, SNMPCALLBACK cb, void* user, void*, unsigned long timeout)
{
    return CSnmpTable::getNextAsync(address, cb, user, timeout);
}
