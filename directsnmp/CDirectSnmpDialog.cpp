#include "CDirectSnmpDialog.h"

#include "CListCtrlEx.h"
#include "CSnmp4w.h"
#include "CSnmpV1.h"
#include "CSnmpV3.h"
#include "CStatusLine.h"
#include "ControlId.h"
#include "GlobalSettings.h"
#include "StatusText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// Why a read or write stopped, for the status line.
QString FailureText(int status)
{
    if (status == CDirectWalk::VersionNotServed)
        return QStringLiteral("Nothing read: this view does not serve SNMP version %1").arg(g_strSnmpVersion);
    if (status == SNMP_NO_ANSWER)
        return StatusText::NoAnswer();
    return QString::fromUtf8(SnmpResultText(status));
}

} // namespace

CDirectSnmpDialog::CDirectSnmpDialog(Form form, const QString& strCaption, QWidget* parent)
    : ClxDialog(parent)
    , m_form(form)
    , m_cSnmp4w(std::make_unique<CSnmp4w>(nullptr))
{
    setWindowTitle(strCaption);
    auto* outer = new QVBoxLayout(this);
    m_pContent = new QVBoxLayout;
    outer->addLayout(m_pContent, 1);
    m_pStatus = new CStatusLine(this);
}

CDirectSnmpDialog::~CDirectSnmpDialog()
{
    // The walks are members of the derived dialogs, gone by now: each
    // cancelled itself in its destructor.
    m_walks.clear();
    m_cSnmp4w->cancel();
    m_cSnmp4w->setSnmp(nullptr);
}

bool CDirectSnmpDialog::OnInitDialog()
{
    ClxDialog::OnInitDialog();
    if (m_form == Form::SettingsCopy)
        m_settings = DirectSnmpSettings::Current();
    if (m_pPollTimer)
        m_pPollTimer->start();
    return true;
}

void CDirectSnmpDialog::PollEvery(int ms)
{
    if (!m_pPollTimer) {
        m_pPollTimer = new QTimer(this);
        connect(m_pPollTimer, &QTimer::timeout, this, &CDirectSnmpDialog::OnPollTimer);
    }
    m_pPollTimer->setInterval(ms);
}

void CDirectSnmpDialog::SetPollPeriod(int ms)
{
    if (m_pPollTimer)
        m_pPollTimer->setInterval(ms);
}

void CDirectSnmpDialog::showEvent(QShowEvent* event)
{
    ClxDialog::showEvent(event);
    // The first read runs once the dialog is on the screen.
    if (!m_bRefreshPosted) {
        m_bRefreshPosted = true;
        QTimer::singleShot(0, this, [this] { OnRefresh(); });
    }
}

void CDirectSnmpDialog::done(int result)
{
    // Polling stops before the reads are cancelled: no tick starts another.
    if (m_pPollTimer)
        m_pPollTimer->stop();
    CancelAll();
    ClxDialog::done(result);
}

DirectSnmpSettings CDirectSnmpDialog::Settings() const
{
    return m_form == Form::SettingsCopy ? m_settings : DirectSnmpSettings::Current();
}

bool CDirectSnmpDialog::IsBusy() const
{
    if (m_nSetRequestId != 0)
        return true;
    for (const CDirectWalk* walk : m_walks)
        if (walk->IsPending())
            return true;
    return false;
}

void CDirectSnmpDialog::AddWalk(CDirectWalk& walk)
{
    if (!m_walks.contains(&walk))
        m_walks << &walk;
}

void CDirectSnmpDialog::CancelAll()
{
    for (CDirectWalk* walk : m_walks)
        walk->Cancel();
    m_cSnmp4w->cancel();
    m_nSetRequestId = 0;
}

CListCtrlEx* CDirectSnmpDialog::AddList(unsigned nId, const QStringList& headings, QBoxLayout* layout)
{
    auto* list = new CListCtrlEx(this);
    SetControlId(list, nId);
    list->SetExtendedStyle(CListCtrlEx::LVS_EX_FULLROWSELECT | CListCtrlEx::LVS_EX_GRIDLINES);
    int width = 0;
    for (int i = 0; i < headings.size(); ++i) {
        list->InsertColumn(i, headings[i], CListCtrlEx::LVCFMT_LEFT, list->GetStringWidth(headings[i]) + 15);
        width += list->GetColumnWidth(i);
    }
    list->setMinimumSize(qMin(qMax(width + 24, 360), 1100), 240);
    (layout ? layout : m_pContent)->addWidget(list, 1);
    return list;
}

QLabel* CDirectSnmpDialog::AddCountLine(unsigned nId)
{
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Entries:"), this));
    auto* count = new QLabel(QStringLiteral("0"), this);
    SetControlId(count, nId);
    row->addWidget(count);
    row->addStretch(1);
    m_pContent->addLayout(row);
    return count;
}

void CDirectSnmpDialog::AddButtonRow(unsigned nRefreshId, const QList<QPushButton*>& extra)
{
    auto* row = new QHBoxLayout;
    row->addWidget(m_pStatus, 1);
    QList<QPushButton*> buttons;
    if (nRefreshId) {
        m_pRefresh = new QPushButton(QStringLiteral("&Refresh"), this);
        SetControlId(m_pRefresh, nRefreshId);
        connect(m_pRefresh, &QPushButton::clicked, this, [this] {
            m_strWriteOutcome.clear();
            OnRefresh();
        });
        buttons << m_pRefresh;
    }
    buttons << extra;
    m_pClose = new QPushButton(QStringLiteral("&Close"), this);
    SetControlId(m_pClose, 2);
    connect(m_pClose, &QPushButton::clicked, this, &QDialog::reject);
    buttons << m_pClose;
    int width = 0;
    for (QPushButton* b : buttons)
        width = qMax(width, b->sizeHint().width());
    for (QPushButton* b : buttons) {
        b->setMinimumWidth(width);
        b->setAutoDefault(false);
        row->addWidget(b);
    }
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
    m_pButtonRow = row;
}

void CDirectSnmpDialog::InsertButton(QPushButton* button)
{
    button->setAutoDefault(false);
    button->setMinimumWidth(m_pClose->minimumWidth());
    m_pButtonRow->insertWidget(m_pButtonRow->indexOf(m_pClose), button);
}

int CDirectSnmpDialog::StartRead(CDirectWalk& walk, const QList<QByteArray>& oids, int pduType, const QString& strWhat,
                                 CDirectWalk::RowHandler onRow, CDirectWalk::EndHandler onEnd)
{
    AddWalk(walk);
    if (walk.IsPending())
        return CDirectWalk::Busy;
    if (m_bVersion1Only && Settings().m_nVersion != 1) {
        ShowEnd(CDirectWalk::VersionNotServed, strWhat);
        return CDirectWalk::VersionNotServed;
    }
    if (!IsBusy())
        m_strFailure.clear();   // a new round of reads
    walk.SetHandlers(std::move(onRow), [this, strWhat, onEnd, pWalk = &walk](int status) {
        if (status == SNMP_OK && pWalk->m_nErrorStatus != 0)
            ShowEnd(SNMP_ERROR_STATUS, strWhat, pWalk->m_nErrorStatus, pWalk->m_nErrorIndex);
        else
            ShowEnd(status, strWhat);
        if (onEnd)
            onEnd(status);
    });
    const int rc = walk.Start(Settings(), oids, pduType, m_form);
    if (rc == CDirectWalk::Started)
        m_pStatus->ShowText(m_strWriteOutcome.isEmpty() ? StatusText::Reading()
                                                        : StatusText::Then(m_strWriteOutcome, StatusText::Reading()));
    else if (rc != CDirectWalk::Busy)
        ShowEnd(rc, strWhat);
    return rc;
}

void CDirectSnmpDialog::ShowEnd(int status, const QString& strWhat, int errorStatus, int errorIndex)
{
    if (status == SNMP_OK || status == SNMP_END_OF_WALK) {
        if (!IsBusy()) {
            // The round's first failure, else what the last write did.
            const QString& text = m_strFailure.isEmpty() ? m_strWriteOutcome : m_strFailure;
            if (text.isEmpty())
                m_pStatus->Clear();
            else
                m_pStatus->ShowText(text);
        }
        return;
    }
    const QString why = status == SNMP_ERROR_STATUS && errorStatus != 0
                            ? StatusText::Refused(QStringLiteral("error status %1 at binding %2").arg(errorStatus).arg(errorIndex))
                            : FailureText(status);
    QString text = StatusText::ReadFailed(strWhat.isEmpty() ? why : strWhat + QStringLiteral(": ") + why);
    if (!m_strWriteOutcome.isEmpty())
        text = StatusText::Then(m_strWriteOutcome, text);
    if (m_strFailure.isEmpty())
        m_strFailure = text;
    m_pStatus->ShowText(text);
}

bool CDirectSnmpDialog::IsIndex(const QString& text, bool bMultiPart)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (!bMultiPart && parts.size() != 1)
        return false;
    static const QRegularExpression kDigits(QStringLiteral("^[0-9]{1,10}$"));
    for (const QString& part : parts)
        if (!kDigits.match(part).hasMatch() || part.toULongLong() > 4294967295ULL)
            return false;
    return true;
}

int CDirectSnmpDialog::WriteScalars(const QList<DirectSetValue>& values, WriteDone done, WriteOver over)
{
    const bool v3 = over == WriteOver::V1AndV3 && m_form == Form::SettingsCopy && m_settings.m_nVersion == 3;
    const DirectSnmpSettings s = v3 ? m_settings : WriteSettings();
    if (!v3 && s.m_strVersion != QLatin1String("1")) {
        m_strWriteOutcome.clear();
        m_pStatus->ShowText(QStringLiteral("Nothing written: the settings are written over SNMPv1 only"));
        return CDirectWalk::VersionNotServed;
    }
    if (m_nSetRequestId != 0)
        return CDirectWalk::Busy;
    m_strWriteOutcome.clear();
    static const QRegularExpression kDecimal(QStringLiteral("^-?[0-9]+$"));
    static const QRegularExpression kUnsigned(QStringLiteral("^[0-9]+$"));
    std::unique_ptr<CSnmp> request;
    if (v3) {
        auto r = std::make_unique<CSnmpV3>(SNMP_PDU_SET);
        ApplyV3Security(*r, s);
        request = std::move(r);
    } else {
        auto r = std::make_unique<CSnmpV1>(SNMP_PDU_SET);
        r->setCommunity(s.m_pszWriteCommunity.constData());
        request = std::move(r);
    }
    for (const DirectSetValue& v : values) {
        const bool number = v.nType == SNMP_TYPE_INTEGER || v.nType == SNMP_TYPE_UNSIGNED;
        int rc = SNMP_BAD_REQUEST;
        if (!number || QString::fromLatin1(v.value).contains(v.nType == SNMP_TYPE_INTEGER ? kDecimal : kUnsigned))
            rc = v.nType == SNMP_TYPE_OCTETS ? request->addValue(v.strOID.constData(), v.nType, v.value.constData(), int(v.value.size()))
                                             : request->addValue(v.strOID.constData(), v.nType, v.value.constData());
        if (rc != SNMP_OK) {
            m_pStatus->ShowText(QStringLiteral("Nothing written: %1 is not a valid value for %2")
                                    .arg(QString::fromUtf8(v.value), QString::fromLatin1(v.strOID)));
            return SNMP_BAD_REQUEST;
        }
    }
    m_cSnmp4w->setSnmp(request.get());
    m_pSetRequest = std::move(request);
    m_writeDone = std::move(done);
    const int nValues = int(values.size());
    m_nSetValues = nValues;
    const int rc = m_cSnmp4w->sendAsync(s.m_pszAgentAddress.constData(), [](CSnmp* response, int id, void* user, int status) {
        auto* self = static_cast<CDirectSnmpDialog*>(user);
        std::unique_ptr<CSnmp> answer(response);
        if (id != self->m_nSetRequestId)
            return 0;
        self->m_nSetRequestId = 0;
        int errorStatus = 0;
        int errorIndex = 0;
        if (status == SNMP_OK && answer) {
            answer->getErrorStatus(&errorStatus, &errorIndex);
            if (errorStatus != 0)
                status = SNMP_ERROR_STATUS;
        }
        answer.reset();
        if (status == SNMP_OK)
            self->m_strWriteOutcome = StatusText::Written(self->m_nSetValues);
        else if (status == SNMP_ERROR_STATUS)
            self->m_strWriteOutcome = StatusText::Refused(QStringLiteral("error status %1 at binding %2").arg(errorStatus).arg(errorIndex));
        else
            self->m_strWriteOutcome = FailureText(status);
        self->m_pStatus->ShowText(self->m_strWriteOutcome);
        WriteDone done = self->m_writeDone;
        if (done)
            done(status, errorStatus, errorIndex);
        return 0;
    }, this, nullptr, (unsigned long)s.m_nTimeout);
    if (rc != SNMP_OK) {
        m_pStatus->ShowText(FailureText(rc));
        return rc;
    }
    m_nSetRequestId = m_pSetRequest->getRequestId();
    m_pStatus->ShowText(StatusText::Writing(1, 1));
    return 0;
}
