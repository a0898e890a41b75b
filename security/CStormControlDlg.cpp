#include "CStormControlDlg.h"

#include "CSetSequence.h"
#include "ControlId.h"
#include "StrictNumber.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace {

constexpr int kMaxN = 16000;

} // namespace

CStormControlDlg::CStormControlDlg(QWidget* parent)
    : CConfigDialog(QStringLiteral("Storm Control"), std::make_unique<CStormControlLogic>(), RefreshApplyClose, parent)
{
    // The one traffic dialog that stays an ordinary window, not on top.
    setWindowFlag(Qt::WindowStaysOnTopHint, false);

    auto* box = new QGroupBox(this);
    auto* form = new QFormLayout(box);
    m_pEnable = new QCheckBox(QStringLiteral("Enable Storm Control "), box);
    SetControlId(m_pEnable, IDC_ENABLE);
    form->addRow(m_pEnable);

    m_pType = new QComboBox(box);
    SetControlId(m_pType, IDC_TYPE);
    m_pType->addItems({QStringLiteral("Broadcast Only"), QStringLiteral("Multicast & Broadcast"),
                       QStringLiteral("Multicast & Broadcast & Unknown Unicast")});
    form->addRow(QStringLiteral("Storm Control Type"), m_pType);

    auto* unit = new QLineEdit(QStringLiteral("64Kbps  "), box);
    unit->setReadOnly(true);
    SetControlId(unit, IDC_UNIT);
    m_pN = new QLineEdit(box);
    SetControlId(m_pN, IDC_N);
    m_pN->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_pN));
    m_pThreshold = new QLineEdit(box);
    m_pThreshold->setReadOnly(true);
    SetControlId(m_pThreshold, IDC_THRESHOLD);
    const int width = m_pN->fontMetrics().horizontalAdvance(QStringLiteral("88888888")) + 12;
    for (QLineEdit* edit : {unit, m_pN, m_pThreshold})
        edit->setFixedWidth(width);
    auto* threshold = new QHBoxLayout;
    threshold->addWidget(unit);
    threshold->addWidget(new QLabel(QStringLiteral("*"), box));
    threshold->addWidget(m_pN);
    threshold->addWidget(new QLabel(QStringLiteral("="), box));
    threshold->addWidget(m_pThreshold);
    threshold->addWidget(new QLabel(QStringLiteral("Kbps"), box));
    threshold->addStretch();
    form->addRow(QStringLiteral("Threshold(64Kbps * N)"), threshold);
    form->addRow(QString(), new QLabel(QStringLiteral(" N = ( 1 ~ 16000 ) "), box));
    ContentLayout()->addWidget(box);
    ContentLayout()->addStretch();

    SetControlId(ApplyButton(), IDC_APPLY);
    SetControlId(RefreshButton(), IDC_REFRESH);

    CStormControlLogic* logic = StormLogic();
    AddSession(logic->m_cSnmpStorm, "m_cSnmpStorm");
    AddSession(logic->m_cSnmpStormSet, "m_cSnmpStormSet");
    m_pRead = NewScalarRead(logic->m_cSnmpStorm);
    m_pWrite = NewSequence(logic->m_cSnmpStormSet);

    connect(m_pN, &QLineEdit::textChanged, this, &CStormControlDlg::OnChangeN);
    connect(m_pEnable, &QCheckBox::clicked, this, &CStormControlDlg::OnEnableStormControl);
    OnEnableStormControl();
}

void CStormControlDlg::OnRefresh()
{
    StormLogic()->GetGlobal(*m_pRead, Gate());
}

void CStormControlDlg::OnModuleNotify(unsigned nMessage, int nCode, const void* pData)
{
    if (nMessage != WM_MODULE_NOTIFY || nCode != MN_ROW || !pData)
        return;
    m_last = *static_cast<const CStormControlInfo*>(pData);
    m_pEnable->setChecked(m_last.strState == QLatin1String("1"));
    const int type = m_last.strType.toInt() - 1;
    if (type >= 0 && type < m_pType->count())
        m_pType->setCurrentIndex(type);
    m_pThreshold->setText(m_last.strThreshold);
    // A threshold that is not a multiple of 64 shows the N below it; the
    // change of N then shows N x 64.
    const qint64 threshold = m_last.strThreshold.toLongLong();
    m_pN->setText(QString::number(threshold > 0 ? threshold / 64 : 0));
    OnEnableStormControl();
}

void CStormControlDlg::OnChangeN()
{
    const QString text = m_pN->text();
    m_pThreshold->setText(text.isEmpty() ? QString() : QString::number(text.toLongLong() * 64));
}

void CStormControlDlg::OnEnableStormControl()
{
    const bool on = m_pEnable->isChecked();
    m_pN->setEnabled(on);
    m_pType->setEnabled(on);
}

void CStormControlDlg::OnApply()
{
    // N is checked whether storm control is switched on or off.
    qint64 n = 0;
    if (!ParseStrictInt(m_pN->text(), 1, kMaxN, &n)) {
        Message(QStringLiteral("Invalid input of N ( input range must between 1~16000)"));
        return;
    }
    CStormControlInfo now;
    now.strState = m_pEnable->isChecked() ? QStringLiteral("1") : QStringLiteral("2");
    now.strType = QString::number(m_pType->currentIndex() + 1);
    now.strThreshold = QString::number(n * 64);
    m_pWrite->Clear();
    if (StormLogic()->SetGlobal(*m_pWrite, m_last, now)) {
        RunWrites(m_pWrite);
        return;
    }
    // Nothing differs: with storm control on, show what the switch holds.
    if (now.strState == QLatin1String("1"))
        Refresh();
}
