#pragma once

#include "CSnmp.h"

// Sends a bound request once, asynchronously. Destroying the sender or
// calling cancel() guarantees that its callback does not run afterwards.
class CSnmp4w
{
public:
    explicit CSnmp4w(CSnmp* request = nullptr);
    virtual ~CSnmp4w();

    CSnmp4w(const CSnmp4w&) = delete;
    CSnmp4w& operator=(const CSnmp4w&) = delete;

    void setSnmp(CSnmp* request);
    // 0 when under way, else a SnmpResult code and no callback follows.
    int sendAsync(const char* address, SNMPCALLBACK cb, void* user, void* window, unsigned long timeout);
    void cancel();

    struct Impl;

private:
    std::unique_ptr<Impl> d;
};
