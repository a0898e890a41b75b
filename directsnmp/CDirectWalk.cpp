#include "CDirectWalk.h"

#include "CSnmpTable4w.h"
#include "CSnmpV1.h"
#include "CSnmpV3.h"

CDirectWalk::CDirectWalk()
    : m_pWalker(std::make_unique<CSnmpTable4w>(nullptr))
{
}

CDirectWalk::~CDirectWalk()
{
    Cancel();
    m_pWalker->setSnmp(nullptr);
}

void CDirectWalk::SetHandlers(RowHandler onRow, EndHandler onEnd)
{
    m_onRow = std::move(onRow);
    m_onEnd = std::move(onEnd);
}

void CDirectWalk::Cancel()
{
    m_pWalker->cancel();
    m_nRequestId = 0;
}

int CDirectWalk::Start(const DirectSnmpSettings& s, const QList<QByteArray>& oids, int pduType, Form form)
{
    if (m_nRequestId != 0)
        return Busy;
    m_nErrorStatus = 0;
    m_nErrorIndex = 0;
    const bool v1 = form == DirectSettings ? s.m_strVersion == QLatin1String("1") : s.m_nVersion == 1;
    const bool v3 = form == SettingsCopy && s.m_nVersion == 3;
    if (!v1 && !v3)
        return VersionNotServed;

    std::unique_ptr<CSnmp> request;
    if (v1) {
        auto r = std::make_unique<CSnmpV1>(pduType);
        r->setCommunity(s.m_pszReadCommunity.constData());
        request = std::move(r);
    } else {
        auto r = std::make_unique<CSnmpV3>(pduType);
        ApplyV3Security(*r, s);
        request = std::move(r);
    }
    for (const QByteArray& oid : oids) {
        const int rc = request->addValue(oid.constData(), SNMP_TYPE_NULL, nullptr);
        if (rc != SNMP_OK)
            return rc;
    }
    // Nothing is pending: the walker lets go of the old request before it
    // goes.
    m_pWalker->setSnmp(request.get());
    m_pRequest = std::move(request);
    m_address = s.m_pszAgentAddress;
    m_timeout = form == SettingsCopy && v1 ? 0 : (unsigned long)qMax(0, s.m_nTimeout);
    m_nColumns = int(oids.size());
    m_pduType = pduType;
    m_form = form;
    const int rc = m_pWalker->getNextAsync(m_address.constData(), &CDirectWalk::OnTableRow, this, nullptr, m_timeout);
    if (rc != SNMP_OK)
        return rc;
    m_nRequestId = m_pRequest->getRequestId();
    return Started;
}

void CDirectWalk::End(int status)
{
    m_nRequestId = 0;
    if (m_onEnd)
        m_onEnd(status);
}

int CDirectWalk::OnTableRow(CSnmp* response, int requestId, void* user, int status)
{
    auto* self = static_cast<CDirectWalk*>(user);
    std::unique_ptr<CSnmp> answer(response);
    if (requestId != self->m_nRequestId)
        return 0;   // stale: a newer request is the one waited for
    if (status != SNMP_OK || !answer) {
        self->End(status != SNMP_OK ? status : SNMP_SEND_FAILED);
        return 0;
    }
    self->m_nRequestId = 0;
    answer->getErrorStatus(&self->m_nErrorStatus, &self->m_nErrorIndex);

    Response row;
    bool missing = false;
    const int count = answer->getVarBindCount();
    for (int i = 0; i < count; ++i) {
        char* oid = nullptr;
        char* text = nullptr;
        answer->getValueText(i, &oid, &text);
        Binding b;
        b.oid = QByteArray(oid ? oid : "");
        b.type = answer->getValueType(i);
        if (text) {
            unsigned char* data = nullptr;
            int length = 0;
            answer->getValueBytes(i, &oid, &data, &length);
            b.value = QByteArray(reinterpret_cast<const char*>(data), data ? length : 0);
            b.hasValue = true;
        } else {
            missing = true;
        }
        row << b;
    }
    answer.reset();

    if (self->m_pduType == SNMP_PDU_GET) {
        // Scalars are filled up to the first one without a value.
        int filled = 0;
        while (filled < row.size() && row[filled].hasValue)
            ++filled;
        row.resize(filled);
        if (self->m_onRow)
            self->m_onRow(row);
        self->End(SNMP_OK);
        return 0;
    }
    // A row with fewer bindings than columns, or one without a value,
    // lies beyond the table.
    if (missing || row.size() < self->m_nColumns) {
        self->End(SNMP_END_OF_WALK);
        return 0;
    }
    if (self->m_onRow && !self->m_onRow(row)) {
        self->End(SNMP_END_OF_WALK);
        return 0;
    }
    if (self->m_nRequestId != 0)
        return 0;   // the row handler started a read of its own
    const int rc = self->m_pWalker->getNextAsync(self->m_address.constData(), &CDirectWalk::OnTableRow, self,
                                                 nullptr, self->m_timeout);
    if (rc != SNMP_OK) {
        self->End(rc);
        return 0;
    }
    self->m_nRequestId = self->m_pRequest->getRequestId();
    return 0;
}
