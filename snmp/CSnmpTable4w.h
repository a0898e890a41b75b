#pragma once

#include "CSnmpTable.h"

// The asynchronous walker of the stand-alone dialogs. The window argument is
// accepted for their calling convention and unused: answers always arrive
// through the dispatcher.
class CSnmpTable4w : public CSnmpTable
{
public:
    explicit CSnmpTable4w(CSnmp* request = nullptr);
    ~CSnmpTable4w() override;

    using CSnmpTable::getNextAsync;
    int getNextAsync(const char* address, SNMPCALLBACK cb, void* user, void* window, unsigned long timeout);
};
