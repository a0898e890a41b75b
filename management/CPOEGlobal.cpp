#include "CPOEGlobal.h"

#include "CSetSequence.h"
#include "CSnmpScalarRead.h"
#include "ControlId.h"
#include "StrictNumber.h"
#include "TextLimit.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

const QString kPoe = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.42");
QString Scalar(int n) { return QStringLiteral("%1.%2.0").arg(kPoe).arg(n); }

// The read's objects, in the order of the values kept.
const int kObjects[] = {2, 3, 9, 4, 5, 6, 7};

const QString kWait = QStringLiteral("wait...");

// The PoE controller answers slowly.
constexpr int kReadTimeoutMs = 20000;
constexpr int kSetTimeoutMs = 5000;

} // namespace

CPOEGlobal::CPOEGlobal(QWidget* parent)
    : CConfigDialog(tr("PoE Global Settings"), nullptr, RefreshApplyClose, parent)
{
    auto* settings = new QGroupBox(tr("PoE Global Settings"), this);
    auto* form = new QFormLayout(settings);
    m_pThreshold = new QLineEdit(settings);
    SetControlId(m_pThreshold, IDC_THRESHOLD);
    SetTextLimit(m_pThreshold, 8);
    auto* threshold = new QHBoxLayout;
    threshold->addWidget(m_pThreshold);
    threshold->addWidget(new QLabel(tr("Watts "), settings));
    form->addRow(tr("PoE Power Threshold  (15.4-740)"), threshold);
    m_pSequence = new QComboBox(settings);
    SetControlId(m_pSequence, IDC_SEQUENCE);
    m_pSequence->addItems({QStringLiteral("DenyNextPort"), QStringLiteral("DenyLowPriorityPort")});
    form->addRow(tr("Power Shut Off Sequence "), m_pSequence);
    ContentLayout()->addWidget(settings);

    auto* status = new QGroupBox(tr("System Power Status"), this);
    auto* statusForm = new QFormLayout(status);
    const struct { int value; int id; const char* label; } fields[] = {
        {vRps, IDC_RPS, "RPS Status "},
        {vBudget, IDC_BUDGET, "Total PoE Power Budget       "},
        {vUsed, IDC_USED, "Power Used"},
        {vLeft, IDC_LEFT, "Power Left"},
        {vPercentage, IDC_PERCENTAGE, "The percentage of system power supplied "}};
    for (const auto& f : fields) {
        auto* edit = new QLineEdit(status);
        edit->setReadOnly(true);
        SetControlId(edit, f.id);
        m_pFields[size_t(f.value)] = edit;
        statusForm->addRow(tr(f.label), edit);
    }
    m_pFields[vThreshold] = m_pThreshold;
    ContentLayout()->addWidget(status);

    m_pRead = NewScalarRead(NewSession("m_cCommonSNMP"));
    m_pWrites = NewSequence(NewSession("m_cCommonSNMPSet"));
}

QLineEdit* CPOEGlobal::Field(int nId) const
{
    return qobject_cast<QLineEdit*>(GetDlgItem(this, nId));
}

QString CPOEGlobal::CheckThreshold(const QString& strText, bool bRpsOn, QString* pSend)
{
    const qint64 high = bRpsOn ? 740 : 370;
    if (ParseStrictDecimal(strText, 6, 15400000, high * 1000000, nullptr, pSend))
        return {};
    return QStringLiteral("invalid number,it should be from 15.4 to %1").arg(high);
}

void CPOEGlobal::OnRefresh()
{
    m_pThreshold->setEnabled(false);
    m_pSequence->setEnabled(false);
    for (QLineEdit* field : m_pFields)
        if (field)
            field->setText(kWait);
    QStringList oids;
    for (int n : kObjects)
        oids << Scalar(n);
    const int ticket = Gate().Expect(tr("PoE settings"));
    m_pRead->Start(oids, [this, ticket](const WalkOutcome& o) {
        if (o.Ok()) {
            for (int i = 0; i < kValues; ++i)
                m_strLast[size_t(i)] = m_pRead->Text(i);
            for (int i = 0; i < kValues; ++i)
                if (m_pFields[size_t(i)])
                    m_pFields[size_t(i)]->setText(m_strLast[size_t(i)]);
            m_pFields[vRps]->setText(m_strLast[vRps] == QLatin1String("0") ? QStringLiteral("off")
                                                                          : QStringLiteral("on"));
            m_pSequence->setCurrentIndex(m_strLast[vSequence] == QLatin1String("2") ? 1 : 0);
            m_pThreshold->setEnabled(true);
            m_pSequence->setEnabled(true);
        }
        // A failed read keeps "wait..." and Apply off: nothing is checked
        // against values the switch did not give.
        Gate().Settle(ticket, o);
    }, kReadTimeoutMs);
}

void CPOEGlobal::OnApply()
{
    QList<SnmpSetValue> values;
    const int sequence = m_pSequence->currentIndex() + 1;
    if (QString::number(sequence) != m_strLast[vSequence])
        values << SnmpSetValue::Integer(Scalar(3), sequence);
    if (m_pThreshold->text() != m_strLast[vThreshold]) {
        const bool rpsOn = m_strLast[vRps] != QLatin1String("0");
        QString send;
        const QString why = CheckThreshold(m_pThreshold->text(), rpsOn, &send);
        if (!why.isEmpty()) {
            // A refused threshold drops the whole Apply, a changed sequence too.
            Message(why);
            if (!rpsOn)
                m_pThreshold->setText(QStringLiteral("370"));
            return;
        }
        values << SnmpSetValue::Text(Scalar(2), send);
    }
    if (values.isEmpty())
        return;
    m_pWrites->Clear();
    m_pWrites->Add(tr("PoE global settings"), values, 0, kSetTimeoutMs);
    RunWrites(m_pWrites);
}

void CPOEGlobal::OnWritesDone()
{
    Message(QStringLiteral("set succeed"), MB_OK | MB_ICONINFORMATION);
    CConfigDialog::OnWritesDone();
}
