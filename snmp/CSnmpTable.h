#pragma once

#include "CSnmp.h"

// A table walker over a request object. The request's varbinds name the
// walked columns. A request prepared as get-next walks: the first step sends
// it as prepared, each further step a get-next from the last answer's OIDs.
// A request prepared as get or set is sent as prepared at every step, and
// its answer is delivered like a walk step (status 0, never the end).
//
// A walk ends (SNMP_END_OF_WALK) when an answer leaves its column, on v1
// noSuchName, on endOfMibView, and when the OIDs stop increasing. Any other
// error status in a walk step's answer gives SNMP_ERROR_STATUS.
// Changing the request (setType, clearVarBindList, addValue) restarts it.
class CSnmpTable
{
public:
    explicit CSnmpTable(CSnmp* request);
    virtual ~CSnmpTable();   // cancels a pending asynchronous step

    CSnmpTable(const CSnmpTable&) = delete;
    CSnmpTable& operator=(const CSnmpTable&) = delete;

    void setSnmp(CSnmp* request);
    CSnmp* getSnmp() const;

    // One synchronous step; results as CSnmp::send, plus SNMP_END_OF_WALK
    // and SNMP_ERROR_STATUS (walk steps).
    int getNext(const char* address, CSnmp*& response, unsigned long timeout);

    // One asynchronous step: returns 0 when the request is under way (its id
    // is then the request object's getRequestId()), else a SnmpResult code
    // and no callback follows. The callback gets 0 with the response, or a
    // non-zero status without one.
    int getNextAsync(const char* address, SNMPCALLBACK cb, void* user, unsigned long timeout);

    // Drops the pending asynchronous step: its callback will not run.
    void cancel();

    // The instance suffix of varbind i of `response` after its walked
    // column, with its leading "."; owned by the response. 0, or -1 when
    // the varbind is not under its column.
    int getIndex(int i, CSnmp* response, char** index);

    struct Impl;

private:
    std::unique_ptr<Impl> d;
};
