#include "CRmonControlDlg.h"

#include "CStatusLine.h"
#include "ControlId.h"
#include "TextLimit.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QByteArray kControl = "1.3.6.1.4.1.32473.10.94.89.89.49.";

struct Written
{
    const char* label;
    const char* oid;
    unsigned id;
    int limit;
};
const Written kWritten[4] = {
    {"RmonControlHistoryControlQuotaBucket:", "2.0", 1310, 32},
    {"ControlHistoryControlQuotaBucket:", "6.0", 1312, 32},
    {"ControlHistoryControlMaxGlobalBuckets:", "7.0", 1313, 60},
    {"ControlHistoryMaxEntries:", "8.0", 1314, 60},
};

} // namespace

CRmonControlDlg::CRmonControlDlg(QWidget* parent)
    : CDirectSnmpDialog(Form::DirectSettings, QStringLiteral("RMON Control"), parent)
{
    auto* form = new QFormLayout;
    m_pMibVersion = new QLabel(this);
    SetControlId(m_pMibVersion, 1304);
    m_pMaxBuckets = new QLabel(this);
    SetControlId(m_pMaxBuckets, 1303);
    for (int i = 0; i < 4; ++i) {
        m_pEdits[i] = new QLineEdit(this);
        SetTextLimit(m_pEdits[i], kWritten[i].limit);
        SetControlId(m_pEdits[i], kWritten[i].id);
    }
    form->addRow(QStringLiteral("RmonControlMibVersion:"), m_pMibVersion);
    form->addRow(QString::fromLatin1(kWritten[0].label), m_pEdits[0]);
    form->addRow(QStringLiteral("RmonControlHistoryControlMaxGlobalBuckets:"), m_pMaxBuckets);
    for (int i = 1; i < 4; ++i)
        form->addRow(QString::fromLatin1(kWritten[i].label), m_pEdits[i]);
    ContentLayout()->addLayout(form);
    ContentLayout()->addStretch(1);

    m_pApply = new QPushButton(QStringLiteral("&Apply"), this);
    SetControlId(m_pApply, 1145);
    connect(m_pApply, &QPushButton::clicked, this, &CRmonControlDlg::OnApply);
    AddButtonRow(103, {m_pApply});
    SetControlId(CloseButton(), 1146);
    AddWalk(m_cScalars);
}

void CRmonControlDlg::ReadScalars()
{
    StartRead(m_cScalars,
              {kControl + "1.0", kControl + "2.0", kControl + "3.0", kControl + "6.0", kControl + "7.0", kControl + "8.0"},
              SNMP_PDU_GET, windowTitle(), [this](const CDirectWalk::Response& r) {
                  // An answer short of any of the six changes nothing.
                  if (r.size() < 6)
                      return true;
                  m_pMibVersion->setText(QString::fromUtf8(r[0].value));
                  m_pEdits[0]->setText(QString::fromUtf8(r[1].value));
                  m_pMaxBuckets->setText(QString::fromUtf8(r[2].value));
                  for (int i = 1; i < 4; ++i)
                      m_pEdits[i]->setText(QString::fromUtf8(r[2 + i].value));
                  return true;
              });
}

void CRmonControlDlg::OnApply()
{
    WriteScalarValues();
}

void CRmonControlDlg::WriteScalarValues()
{
    for (int i = 0; i < 4; ++i)
        if (const QString why = TextLimitMessage(m_pEdits[i], QString::fromLatin1(kWritten[i].label).chopped(1));
            !why.isEmpty()) {
            StatusLine()->ShowText(QStringLiteral("Nothing written: ") + why);
            return;
        }
    // Only decimal values are sent (the template refuses the whole set
    // otherwise), so empty fields after a failed read write nothing. The
    // form is not read again after a write.
    QList<DirectSetValue> values;
    for (int i = 0; i < 4; ++i)
        values.append({kControl + kWritten[i].oid, SNMP_TYPE_INTEGER, m_pEdits[i]->text().toLatin1()});
    WriteScalars(values, {});
}
