#include "CPrivateScalarForm.h"

#include "ControlId.h"
#include "SyslogTexts.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

CPrivateScalarForm::CPrivateScalarForm(const QString& strTitle, QList<Binding> bindings, QWidget* parent)
    : CDirectSnmpDialog(Form::DirectSettings, strTitle, parent)
    , m_bindings(std::move(bindings))
{
    auto* form = new QFormLayout;
    bool writes = false;
    for (const Binding& b : m_bindings) {
        QWidget* control = nullptr;
        if (b.kind == Edit) {
            auto* edit = new QLineEdit(this);
            edit->setMaxLength(b.nID == 1310 || b.nID == 1312 ? 32 : 60);
            edit->setReadOnly(!b.bEditable);
            edit->setEnabled(b.bEditable);
            form->addRow(QString::fromLatin1(b.strLabel), edit);
            control = edit;
        } else {
            auto* check = new QCheckBox(QString::fromLatin1(b.strLabel), this);
            check->setEnabled(b.bEditable);
            form->addRow(check);
            control = check;
        }
        SetControlId(control, b.nID);
        m_controls << control;
        writes = writes || b.nWriteType != 0;
    }
    ContentLayout()->addLayout(form);
    ContentLayout()->addStretch(1);
    QList<QPushButton*> extra;
    if (writes) {
        m_pApply = new QPushButton(QStringLiteral("&Apply"), this);
        SetControlId(m_pApply, 1145);
        m_pApply->setEnabled(false);
        connect(m_pApply, &QPushButton::clicked, this, &CPrivateScalarForm::OnOK);
        extra << m_pApply;
    }
    AddButtonRow(103, extra);
    SetControlId(CloseButton(), 1146);
    AddWalk(m_walk);
}

QLineEdit* CPrivateScalarForm::EditOf(int n) const
{
    return qobject_cast<QLineEdit*>(Control(n));
}

QCheckBox* CPrivateScalarForm::CheckOf(int n) const
{
    return qobject_cast<QCheckBox*>(Control(n));
}

void CPrivateScalarForm::OnRefresh()
{
    ReadScalars();
}

void CPrivateScalarForm::ReadScalars()
{
    if (m_walk.IsPending())
        return;
    if (m_pApply)
        m_pApply->setEnabled(false);
    QList<QByteArray> oids;
    for (const Binding& b : m_bindings)
        oids << SyslogTexts::Oid(b.strObject);
    StartRead(m_walk, oids, SNMP_PDU_GET, windowTitle(), [this](const CDirectWalk::Response& r) {
        if (m_walk.m_nErrorStatus == 0 && FillControls(r) && m_pApply)
            m_pApply->setEnabled(true);
        return true;
    });
}

bool CPrivateScalarForm::FillControls(const CDirectWalk::Response& r)
{
    if (r.size() < m_bindings.size())
        return false;
    for (int i = 0; i < m_bindings.size(); ++i) {
        const Binding& b = m_bindings[i];
        if (QCheckBox* check = CheckOf(i))
            check->setChecked(r[i].value == "1");
        else if (QLineEdit* edit = EditOf(i))
            edit->setText(b.text ? b.text(r[i].value) : QString::fromUtf8(r[i].value));
    }
    return true;
}

QList<DirectSetValue> CPrivateScalarForm::WrittenValues() const
{
    QList<DirectSetValue> values;
    for (int i = 0; i < m_bindings.size(); ++i) {
        const Binding& b = m_bindings[i];
        if (b.nWriteType == 0)
            continue;
        QByteArray value;
        if (QCheckBox* check = CheckOf(i))
            value = check->isChecked() ? "1" : "2";
        else if (QLineEdit* edit = EditOf(i))
            value = edit->text().toUtf8();
        values.append({SyslogTexts::Oid(b.strObject), b.nWriteType, value});
    }
    return values;
}

void CPrivateScalarForm::OnOK()
{
    if (!m_pApply || !m_pApply->isEnabled())
        return;
    WriteScalars(WrittenValues(), {});
}
