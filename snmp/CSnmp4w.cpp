#include "CSnmp4w.h"
#include "CSnmpEngine.h"
#include "CSnmpImpl.h"

struct CSnmp4w::Impl {
    SnmpRequestRef ref;
    SnmpLivenessSlot live;
};

CSnmp4w::CSnmp4w(CSnmp* request)
    : d(std::make_unique<Impl>())
{
    SnmpBindRequest(&d->ref, request);
}

CSnmp4w::~CSnmp4w()
{
    cancel();
    SnmpBindRequest(&d->ref, nullptr);
}

void CSnmp4w::setSnmp(CSnmp* request)
{
    SnmpBindRequest(&d->ref, request);
}

int CSnmp4w::sendAsync(const char* address, SNMPCALLBACK cb, void* user, void*, unsigned long timeout)
{
    CSnmp* req = SnmpBoundRequest(&d->ref);
    if (!req)
        return SNMP_BAD_REQUEST;
    auto job = std::make_unique<SnmpJob>();
    int rc = SnmpMakeJob(*req, address, timeout, *job);
    if (rc != SNMP_OK)
        return rc;
    const int id = job->requestId = req->impl()->requestId = SnmpNextRequestId();
    std::shared_ptr<SnmpLiveness> live = d->live.current();
    job->done = [live, cb, user, id](int status, std::unique_ptr<CSnmp> response) {
        auto holder = std::make_shared<std::unique_ptr<CSnmp>>(std::move(response));
        SnmpPost([live, cb, user, id, status, holder]() {
            std::lock_guard<std::recursive_mutex> lock(live->mutex);
            if (!live->alive)
                return;
            CSnmp* answer = holder->release();
            if (cb)
                cb(answer, id, user, answer ? status : (status == SNMP_OK ? SNMP_SEND_FAILED : status));
            else
                delete answer;
        });
    };
    CSnmpEngine::instance().submit(std::move(job));
    return SNMP_OK;
}

void CSnmp4w::cancel()
{
    d->live.renew();
}
