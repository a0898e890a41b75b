#include "CSnmpTable.h"
#include "CSnmpEngine.h"
#include "CSnmpImpl.h"

#include <algorithm>

namespace {

bool isUnder(const SnmpOid& column, const SnmpOid& oid)
{
    return oid.size() > column.size() && std::equal(column.begin(), column.end(), oid.begin());
}

bool isException(const SnmpVarBind& vb)
{
    return vb.tag == SNMP_ASN_END_OF_MIB_VIEW || vb.tag == SNMP_ASN_NO_SUCH_OBJECT || vb.tag == SNMP_ASN_NO_SUCH_INSTANCE;
}

// Octets one binding takes in a message (BER), near enough to size a
// get-bulk request.
size_t berSize(const SnmpVarBind& vb)
{
    size_t oid = 1;
    for (size_t i = 2; i < vb.oid.size(); ++i)
        for (uint32_t v = vb.oid[i]; ; v >>= 7) {
            ++oid;
            if (v < 0x80)
                break;
        }
    const size_t value = vb.hasText ? vb.text.size() : 0;
    return 2 + (2 + oid) + (2 + std::max<size_t>(value, 1)) + 2;
}

// A get-bulk answer is sized to fit one Ethernet datagram (1,472 octets of
// UDP payload), or the smaller message size the request offers, less what
// the message's header and security parameters take, by the largest row
// seen. It must fit with room to spare: net-snmp's agent answers genErr, or
// spins, where it has to cut a get-bulk answer down to the message size.
constexpr size_t kDatagram = 1472;
constexpr size_t kMessageOverhead = 240;
constexpr int kMaxRepetitionsCap = 64;
// Index and value octets assumed per cell before the first answer tells
// better.
constexpr size_t kTypicalIndex = 8;
constexpr size_t kTypicalValue = 8;

int repetitionsFor(size_t rowOctets, int maxSize)
{
    size_t limit = kDatagram;
    if (maxSize >= 484)
        limit = std::min(limit, size_t(maxSize));
    const size_t budget = limit > kMessageOverhead ? limit - kMessageOverhead : 1;
    const size_t rows = rowOctets ? budget / rowOctets : 1;
    return int(std::clamp<size_t>(rows, 1, kMaxRepetitionsCap));
}

// Where one step stood when it was sent: its answer is judged against it
// even if the walk has been restarted meanwhile.
struct Step {
    bool walking = false;
    unsigned epoch = 0;
    std::vector<SnmpOid> columns;
    std::vector<SnmpOid> last;
    // Column walks: the columns asked for (positions in the request) and
    // the repetitions of a get-bulk (0 = get-next).
    bool columnWalk = false;
    std::vector<int> active;
    int repetitions = 0;
    int maxSize = 0;
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

    // Column walk: each column moves on by itself.
    bool columnWalk = false;
    std::vector<bool> ended;
    int repetitions = 0;        // get-bulk: 0 until sized
    int ceiling = kMaxRepetitionsCap;   // below what an agent found too big
    size_t largestRow = 0;              // octets of the largest row answered
    int failedColumn = -1;

    void restart()
    {
        started = false;
        ++epoch;
        columns.clear();
        last.clear();
        ended.clear();
        repetitions = 0;
        ceiling = kMaxRepetitionsCap;
        largestRow = 0;
        failedColumn = -1;
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
                if (columnWalk) {
                    last = columns;
                    ended.assign(columns.size(), false);
                }
            }
            if (columnWalk) {
                step.columnWalk = true;
                job.vbs.clear();
                size_t rowOctets = 0;
                for (size_t c = 0; c < columns.size(); ++c) {
                    if (ended[c])
                        continue;
                    step.active.push_back(int(c));
                    SnmpVarBind vb;
                    vb.oid = last[c];
                    rowOctets += berSize(vb) + kTypicalIndex + kTypicalValue;
                    job.vbs.push_back(std::move(vb));
                }
                if (step.active.empty()) {
                    job.requestId = req->impl()->requestId = SnmpNextRequestId();
                    return SNMP_END_OF_WALK;
                }
                // Over v3 one get-bulk carries many rows; v1 has none.
                if (r.version == 3) {
                    if (repetitions <= 0)
                        repetitions = repetitionsFor(rowOctets, r.sec.maxSize);
                    job.pduType = SNMP_PDU_GETBULK;
                    job.maxRepetitions = repetitions;
                    step.repetitions = repetitions;
                    step.maxSize = r.sec.maxSize;
                }
            } else if (!last.empty()) {
                job.vbs.clear();
                for (const SnmpOid& oid : last) {
                    SnmpVarBind vb;
                    vb.oid = oid;
                    job.vbs.push_back(std::move(vb));
                }
            }
            step.epoch = epoch;
            step.columns = columns;
            if (step.columnWalk) {
                for (int c : step.active)
                    step.last.push_back(last[c]);
            } else {
                step.last = last;
            }
        }
        job.requestId = req->impl()->requestId = SnmpNextRequestId();
        return SNMP_OK;
    }

    // Applies the end rules to a get-next answer and moves the walk on.
    int finish(const Step& step, int status, std::unique_ptr<CSnmp>& response)
    {
        if (status != SNMP_OK || !step.walking || !response)
            return status;
        if (step.columnWalk)
            return finishColumns(step, response);
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
            if (isException(vb))
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

    // A column walk's answer: binding k of each row belongs to the k-th
    // column asked for (one row for get-next, up to the repetitions for
    // get-bulk). A column's bindings count until one leaves the column or
    // is an exception; after that its bindings in the answer are other
    // columns' (or nothing) and are dropped. What stays is handed on,
    // each binding tagged with its column.
    int finishColumns(const Step& step, std::unique_ptr<CSnmp>& response)
    {
        CSnmp::Impl& r = *response->impl();
        const bool current = step.epoch == epoch;
        const size_t n = step.active.size();
        const bool bulk = step.repetitions > 0;
        auto fail = [&](int column, int result) {
            if (current)
                failedColumn = column;
            response.reset();
            return result;
        };
        // net-snmp's agent answers genErr without an index where a
        // get-bulk answer does not fit the message size offered; others
        // answer tooBig.
        const bool tooBig = r.errStatus == 1 || (r.errStatus == 5 && r.errIndex == 0);
        if (tooBig && bulk && step.repetitions > 1) {
            // Fewer rows per request; the same step goes again.
            if (current) {
                ceiling = std::min(ceiling, step.repetitions - 1);
                repetitions = std::max(1, std::min(repetitions, step.repetitions / 2));
            }
            r.errStatus = 0;
            r.vbs.clear();
            return SNMP_OK;
        }
        if (r.errStatus == 2 /* noSuchName */ && !bulk) {
            // v1: that column has reached the end of the MIB view; the
            // others go on without it.
            const int k = r.errIndex - 1;
            if (k < 0 || size_t(k) >= n)
                return fail(step.active.front(), SNMP_BAD_ANSWER);
            if (current)
                ended[step.active[k]] = true;
            r.errStatus = 0;
            r.vbs.clear();
            return SNMP_OK;
        }
        if (r.errStatus != 0) {
            const int k = r.errIndex - 1;
            return fail(k >= 0 && n ? step.active[size_t(k) % n] : step.active.front(), SNMP_ERROR_STATUS);
        }
        if (bulk ? r.vbs.empty() || r.vbs.size() > n * size_t(step.repetitions) : r.vbs.size() != n)
            return fail(step.active.front(), SNMP_BAD_ANSWER);

        std::vector<SnmpOid> position = step.last;
        std::vector<bool> done(n, false);
        std::vector<SnmpVarBind> kept;
        std::vector<size_t> rowOctets;   // per repetition
        for (size_t j = 0; j < r.vbs.size(); ++j) {
            const size_t k = j % n;
            if (done[k])
                continue;
            SnmpVarBind& vb = r.vbs[j];
            const int column = step.active[k];
            if (isException(vb) || !isUnder(step.columns[column], vb.oid)) {
                done[k] = true;
                continue;
            }
            // A column whose OIDs do not increase would loop us: the walk
            // fails rather than pass for a complete table.
            if (!(position[k] < vb.oid))
                return fail(column, SNMP_BAD_ANSWER);
            position[k] = vb.oid;
            vb.column = column;
            const size_t row = j / n;
            if (rowOctets.size() <= row)
                rowOctets.resize(row + 1, 0);
            rowOctets[row] += berSize(vb);
            kept.push_back(std::move(vb));
        }
        // Columns that did not end in this answer go on from where it
        // left them; a get-next answer always leaves each either way.
        if (current) {
            for (size_t k = 0; k < n; ++k) {
                const int column = step.active[k];
                last[column] = position[k];
                if (done[k])
                    ended[column] = true;
            }
            // Keep the next answers within the datagram, measured by the
            // largest row this one carried (with every column's cell).
            if (bulk && !rowOctets.empty()) {
                const size_t largest = *std::max_element(rowOctets.begin(), rowOctets.end());
                largestRow = std::max(largestRow, largest);
                repetitions = std::min({std::max(repetitions, 1) * 2, ceiling, repetitionsFor(largestRow, step.maxSize)});
            }
        }
        r.vbs = std::move(kept);
        if (r.vbs.empty() && current && std::all_of(ended.begin(), ended.end(), [](bool e) { return e; })) {
            response.reset();
            return SNMP_END_OF_WALK;
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

void CSnmpTable::setColumnWalk(bool on)
{
    d->columnWalk = on;
    d->restart();
}

bool CSnmpTable::isColumnWalk() const
{
    return d->columnWalk;
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
    std::shared_ptr<SnmpLiveness> live = d->live.current();
    const int id = job->requestId;
    if (rc == SNMP_END_OF_WALK && step->columnWalk) {
        // Every column has ended: the end is told like any answer.
        SnmpPost([live, cb, user, id]() {
            std::lock_guard<std::recursive_mutex> lock(live->mutex);
            if (live->alive && cb)
                cb(nullptr, id, user, SNMP_END_OF_WALK);
        });
        return SNMP_OK;
    }
    if (rc != SNMP_OK)
        return rc;
    Impl* walker = d.get();
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
    SnmpVarBind& vb = response->impl()->vbs[i];
    SnmpOid column;
    if (vb.column >= 0 && size_t(vb.column) < d->columns.size()) {
        column = d->columns[vb.column];
    } else if (d->started && size_t(i) < d->columns.size()) {
        column = d->columns[i];
    } else {
        CSnmp* req = SnmpBoundRequest(&d->ref);
        if (!req || i >= req->getVarBindCount())
            return -1;
        column = req->impl()->vbs[i].oid;
    }
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

int CSnmpTable::getColumn(int i, CSnmp* response) const
{
    if (!response || i < 0 || i >= response->getVarBindCount())
        return -1;
    return response->impl()->vbs[i].column;
}

int CSnmpTable::walkColumn() const
{
    if (d->failedColumn >= 0)
        return d->failedColumn;
    for (size_t c = 0; c < d->ended.size(); ++c)
        if (!d->ended[c])
            return int(c);
    return -1;
}
