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

    // Column walk, for a request prepared as get-next (changing the request
    // or setSnmp turns it off): every step asks for all columns that have
    // not ended in one request, get-next over v1 and get-bulk over v3 (as
    // many rows as fit one datagram; fewer after a tooBig), and each column
    // moves on from its own last OID. An answer (status 0) holds only the
    // bindings that lie in their columns, in increasing order; getColumn
    // tells whose each is, and an answer may hold none (a step to be
    // repeated). A column ends when its answer leaves it, is an exception or,
    // over v1, is noSuchName; once all have ended the next step ends the walk
    // with SNMP_END_OF_WALK. A column whose OIDs do not increase fails the
    // walk with SNMP_BAD_ANSWER, an error status with SNMP_ERROR_STATUS.
    void setColumnWalk(bool on);
    bool isColumnWalk() const;
    // The column (position in the request) of binding i of a column walk's
    // answer, or -1.
    int getColumn(int i, CSnmp* response) const;
    // The column a column walk failed in, else the first that has not
    // ended; -1 when none.
    int walkColumn() const;

    // Drops the pending asynchronous step: its callback will not run.
    void cancel();

    // The instance suffix of varbind i of `response` after its walked
    // column (a column walk's: the binding's own column), with its leading "."; owned by the response. 0, or -1 when
    // the varbind is not under its column.
    int getIndex(int i, CSnmp* response, char** index);

    struct Impl;

private:
    std::unique_ptr<Impl> d;
};
