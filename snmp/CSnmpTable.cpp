#include "CSnmpTable.h"
#include "CSnmpEngine.h"
#include "CSnmpImpl.h"

namespace {

bool isUnder(const SnmpOid& column, const SnmpOid& oid)
{
    return oid.size() > column.size() && std::equal(column.begin(), column.end(), oid.begin());
}

// Where one step stood when it was sent: its answer is judged against it
// even if the walk has been restarted meanwhile.
struct Step {
    bool walking = false;
    unsigned epoch = 0;
    std::vector<SnmpOid> columns;
    std::vector<SnmpOid> last;
};

} // namespace

struct CSnmpTable::Impl {
    SnmpRequestRef ref;
    SnmpLivenessSlot live;

    // Position of the walk.
    bool started = false;
    unsigned epoch = 0;
    CSnmp* walkRequest = nullptr;
    unsigned walkGeneration = 0;
    std::vector<SnmpOid> columns;
    std::vector<SnmpOid> last;

    void restart()
    {
        started = false;
        ++epoch;
        columns.clear();
        last.clear();
    }

    int prepare(const char* address, unsigned long timeout, SnmpJob& job, Step& step)
    {
        CSnmp* req = SnmpBoundRequest(&ref);
        if (!req)
            return SNMP_BAD_REQUEST;
        int rc = SnmpMakeJob(*req, address, timeout, job);
        if (rc != SNMP_OK)
            return rc;
        const CSnmp::Impl& r = *req->impl();
        step.walking = r.pduType == SNMP_PDU_GETNEXT;
        if (step.walking) {
            if (!started || walkRequest != req || walkGeneration != r.generation) {
                restart();
                started = true;
                walkRequest = req;
                walkGeneration = r.generation;
                for (const SnmpVarBind& vb : r.vbs)
                    columns.push_back(vb.oid);
            }
            if (!last.empty()) {
                job.vbs.clear();
                for (const SnmpOid& oid : last) {
                    SnmpVarBind vb;
                    vb.oid = oid;
                    job.vbs.push_back(std::move(vb));
                }
            }
            step.epoch = epoch;
            step.columns = columns;
            step.last = last;
        }
        job.requestId = req->impl()->requestId = SnmpNextRequestId();
        return SNMP_OK;
    }

    // Applies the end rules to a get-next answer and moves the walk on.
    int finish(const Step& step, int status, std::unique_ptr<CSnmp>& response)
    {
        if (status != SNMP_OK || !step.walking || !response)
            return status;
        const CSnmp::Impl& r = *response->impl();
        // Any other error status is a failure, not the end of the table: a
        // walk cut short by it must not pass for a complete one. (Its
        // varbinds are the request's, so the rules below would call it an
        // end.)
        if (r.errStatus != 0 && r.errStatus != 2 /* noSuchName: v1's end of the MIB view */) {
            response.reset();
            return SNMP_ERROR_STATUS;
        }
        // An answer with another number of varbinds than columns cannot be
        // matched to them: a broken agent, taken as the end.
        bool end = r.errStatus == 2 || r.vbs.size() != step.columns.size();
        for (size_t i = 0; !end && i < step.columns.size(); ++i) {
            const SnmpVarBind& vb = r.vbs[i];
            if (vb.tag == SNMP_ASN_END_OF_MIB_VIEW || vb.tag == SNMP_ASN_NO_SUCH_OBJECT || vb.tag == SNMP_ASN_NO_SUCH_INSTANCE)
                end = true;
            else if (!isUnder(step.columns[i], vb.oid))
                end = true;
            // A broken agent that does not move forward must not loop us.
            else if (i < step.last.size() && !(step.last[i] < vb.oid))
                end = true;
        }
        if (end) {
            response.reset();
            if (step.epoch == epoch)
                restart();
            return SNMP_END_OF_WALK;
        }
        if (step.epoch == epoch) {
            last.clear();
            for (size_t i = 0; i < step.columns.size(); ++i)
                last.push_back(r.vbs[i].oid);
        }
        return SNMP_OK;
    }
};

CSnmpTable::CSnmpTable(CSnmp* request)
    : d(std::make_unique<Impl>())
{
    SnmpBindRequest(&d->ref, request);
}

CSnmpTable::~CSnmpTable()
{
    cancel();
    SnmpBindRequest(&d->ref, nullptr);
}

void CSnmpTable::setSnmp(CSnmp* request)
{
    SnmpBindRequest(&d->ref, request);
    d->restart();
}

CSnmp* CSnmpTable::getSnmp() const
{
    return SnmpBoundRequest(&d->ref);
}

int CSnmpTable::getNext(const char* address, CSnmp*& response, unsigned long timeout)
{
    response = nullptr;
    auto job = std::make_unique<SnmpJob>();
    Step step;
    int rc = d->prepare(address, timeout, *job, step);
    if (rc != SNMP_OK)
        return rc;
    CSnmp* raw = nullptr;
    int status = SnmpRunSync(std::move(job), raw);
    std::unique_ptr<CSnmp> answer(raw);
    status = d->finish(step, status, answer);
    response = status == SNMP_OK ? answer.release() : nullptr;
    return status;
}

int CSnmpTable::getNextAsync(const char* address, SNMPCALLBACK cb, void* user, unsigned long timeout)
{
    auto job = std::make_unique<SnmpJob>();
    auto step = std::make_shared<Step>();
    int rc = d->prepare(address, timeout, *job, *step);
    if (rc != SNMP_OK)
        return rc;
    std::shared_ptr<SnmpLiveness> live = d->live.current();
    Impl* walker = d.get();
    const int id = job->requestId;
    job->done = [live, walker, step, cb, user, id](int status, std::unique_ptr<CSnmp> response) {
        auto holder = std::make_shared<std::unique_ptr<CSnmp>>(std::move(response));
        SnmpPost([live, walker, step, cb, user, id, status, holder]() {
            std::lock_guard<std::recursive_mutex> lock(live->mutex);
            if (!live->alive)
                return; // cancelled or destroyed: the holder deletes the response
            int result = walker->finish(*step, status, *holder);
            CSnmp* answer = result == SNMP_OK ? holder->release() : nullptr;
            holder->reset();
            if (cb)
                cb(answer, id, user, result);
            else
                delete answer;
        });
    };
    CSnmpEngine::instance().submit(std::move(job));
    return SNMP_OK;
}

void CSnmpTable::cancel()
{
    d->live.renew();
}

int CSnmpTable::getIndex(int i, CSnmp* response, char** index)
{
    if (index)
        *index = nullptr;
    if (!response || i < 0 || i >= response->getVarBindCount())
        return -1;
    SnmpOid column;
    if (d->started && size_t(i) < d->columns.size()) {
        column = d->columns[i];
    } else {
        CSnmp* req = SnmpBoundRequest(&d->ref);
        if (!req || i >= req->getVarBindCount())
            return -1;
        column = req->impl()->vbs[i].oid;
    }
    SnmpVarBind& vb = response->impl()->vbs[i];
    if (!isUnder(column, vb.oid))
        return -1;
    vb.index.clear();
    for (size_t k = column.size(); k < vb.oid.size(); ++k) {
        vb.index += '.';
        vb.index += std::to_string(vb.oid[k]);
    }
    if (index)
        *index = vb.index.data();
    return 0;
}
