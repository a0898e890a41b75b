#pragma once

// One walker/request pair of a stand-alone dialog: a get-next walk of some
// columns (each answer one row, binding i for column i) or one get of some
// scalars, over SNMPv1 or SNMPv3, always asynchronous so the window never
// freezes. m_nRequestId is the one request it waits for (0 = idle); while
// it is not 0 no second read starts.
//
// No callback outlives the pair: Cancel() and the destructor drop the
// pending step, and a new request object is bound only while nothing is
// pending, so a walk never uses a request that was replaced under it.
//
//     m_walk.SetHandlers([this](const CDirectWalk::Response& r) { ...; return true; },
//                        [this](int status) { ... });
//     m_walk.Start(settings, {oid1, oid2}, SNMP_PDU_GETNEXT, CDirectWalk::SettingsCopy);

#include "CSnmp.h"
#include "DirectSnmpSettings.h"

#include <QByteArray>
#include <QList>

#include <functional>
#include <memory>

class CSnmpTable4w;

class CDirectWalk
{
public:
    // One binding of an answer, copied out of the library's response.
    struct Binding
    {
        QByteArray oid;      // dotted, no leading dot
        QByteArray value;    // value text; octet strings as their raw octets
        bool hasValue = false;
        int type = 0;        // CSnmp::getValueType
    };
    using Response = QList<Binding>;

    // Which settings form the dialog follows. The direct-settings form
    // serves version "1" only and ends a walk on an answer with fewer
    // bindings than columns.
    enum Form { SettingsCopy, DirectSettings };

    // Results of Start besides the SNMP layer's codes.
    enum { Started = 0, Busy = 1, VersionNotServed = -100 };

    // A row: false ends the walk there (the end handler gets
    // SNMP_END_OF_WALK). The end handler runs once per started read unless
    // it was cancelled: SNMP_END_OF_WALK for a walk that left its columns,
    // SNMP_OK for a get that was answered, else the failure.
    using RowHandler = std::function<bool(const Response&)>;
    using EndHandler = std::function<void(int status)>;

    CDirectWalk();
    ~CDirectWalk();
    CDirectWalk(const CDirectWalk&) = delete;
    CDirectWalk& operator=(const CDirectWalk&) = delete;

    void SetHandlers(RowHandler onRow, EndHandler onEnd);

    // Starts a walk (SNMP_PDU_GETNEXT) or a get (SNMP_PDU_GET) of `oids`.
    // Started, Busy (a read is pending: nothing sent), VersionNotServed,
    // or the SNMP layer's refusal (nothing sent, no end handler call).
    int Start(const DirectSnmpSettings& settings, const QList<QByteArray>& oids, int pduType, Form form);
    bool IsPending() const { return m_nRequestId != 0; }
    void Cancel();

    int m_nRequestId = 0;
    // Error status and index of the last answer: a v1 get refused as a whole
    // (noSuchName) comes back without values.
    int m_nErrorStatus = 0;
    int m_nErrorIndex = 0;

private:
    static int OnTableRow(CSnmp* response, int requestId, void* user, int status);
    void End(int status);

    std::unique_ptr<CSnmp> m_pRequest;
    std::unique_ptr<CSnmpTable4w> m_pWalker;
    RowHandler m_onRow;
    EndHandler m_onEnd;
    QByteArray m_address;
    unsigned long m_timeout = 0;
    int m_nColumns = 0;
    int m_pduType = SNMP_PDU_GETNEXT;
    Form m_form = SettingsCopy;
};
