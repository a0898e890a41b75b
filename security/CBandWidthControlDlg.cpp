#include "CBandWidthControlDlg.h"

#include "CListCtrlEx.h"
#include "CSetSequence.h"
#include "ControlId.h"
#include "GlobalSettings.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QString RateText(const QString& rate)
{
    return rate == QLatin1String("0") ? QStringLiteral("No Limit") : rate;
}

} // namespace

CBandWidthControlDlg::CBandWidthControlDlg(QWidget* parent)
    : CConfigDialog(QStringLiteral("BandWidth Control"), std::make_unique<CBandWidthControlFunLogic>(),
                    RefreshApplyClose, parent)
{
    const int ports = qMax(0, g_nDevicePortNum);
    auto* grid = new QGridLayout;
    m_pFrom = new QComboBox(this);
    m_pTo = new QComboBox(this);
    for (int p = 1; p <= ports; ++p) {
        m_pFrom->addItem(QString::number(p));
        m_pTo->addItem(QString::number(p));
    }
    SetControlId(m_pFrom, IDC_FROM_PORT);
    SetControlId(m_pTo, IDC_TO_PORT);
    m_pType = new QComboBox(this);
    m_pType->addItems({QStringLiteral("Rx"), QStringLiteral("Tx"), QStringLiteral("Both")});
    SetControlId(m_pType, IDC_TYPE);
    m_pNoLimit = new QComboBox(this);
    m_pNoLimit->addItems({QStringLiteral("Enabled"), QStringLiteral("Disabled")});
    SetControlId(m_pNoLimit, IDC_NO_LIMIT);
    m_pRate = new QLineEdit(this);
    SetControlId(m_pRate, IDC_RATE);
    m_pRate->setMinimumWidth(m_pRate->fontMetrics().horizontalAdvance(QStringLiteral("88888888")) + 12);
    auto* rate = new QHBoxLayout;
    rate->addWidget(m_pRate);
    rate->addWidget(new QLabel(QStringLiteral("Kbits/sec "), this));
    grid->addWidget(new QLabel(QStringLiteral("FromPort"), this), 0, 0);
    grid->addWidget(m_pFrom, 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("ToPort"), this), 0, 1);
    grid->addWidget(m_pTo, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Type"), this), 0, 2);
    grid->addWidget(m_pType, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("No Limit"), this), 0, 3);
    grid->addWidget(m_pNoLimit, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Rate(64-1024000)"), this), 0, 4);
    grid->addLayout(rate, 1, 4);
    SetControlId(ApplyButton(), IDC_APPLY);
    grid->addWidget(ApplyButton(), 1, 5);
    grid->setColumnStretch(6, 1);
    ContentLayout()->addLayout(grid);
    ContentLayout()->addWidget(new QLabel(QStringLiteral("On Gigabit port, the Tx rate is set as multiples of 1850Kbits/sec "), this));

    m_pList = new CListCtrlEx(this);
    SetControlId(m_pList, IDC_LIST);
    m_pList->SetExtendedStyle(CListCtrlEx::LVS_EX_FULLROWSELECT | CListCtrlEx::LVS_EX_GRIDLINES);
    m_pList->AppendColumns({{"Port", 150}, {"Tx Rate (Kbits/sec)", 150}, {"Rx Rate (Kbits/sec)", 150}},
                           true);
    ContentLayout()->addWidget(m_pList, 1);
    SetControlId(RefreshButton(), IDC_REFRESH);

    CBandWidthControlFunLogic* logic = BandwidthLogic();
    AddSession(logic->m_cSnmpBandwidth, "m_cSnmpBandwidth");
    AddSession(logic->m_cSnmpBandwidthSet, "m_cSnmpBandwidthSet");
    m_pWalk = NewWalk(logic->m_cSnmpBandwidth);
    m_pWrites = NewSequence(logic->m_cSnmpBandwidthSet);

    LinkPortRange(m_pFrom, m_pTo, QStringLiteral(" \"To port\"cannot be smaller than \"From Port\" "));
    connect(m_pNoLimit, &QComboBox::currentIndexChanged, this, &CBandWidthControlDlg::OnSelchangeNoLimit);
    // Refresh comes back once the rates and the links have both been read.
    connect(&Gate(), &CReadGate::settled, this, [this] { RefreshButton()->setEnabled(!IsWriting()); });
    ResetInput();
    resize(600, 560);
}

void CBandWidthControlDlg::ResetInput()
{
    m_pFrom->setCurrentIndex(0);
    m_pTo->setCurrentIndex(m_pTo->count() - 1);
    m_pRate->clear();
    m_pNoLimit->setCurrentIndex(1);
    m_pType->setCurrentIndex(0);
    OnSelchangeNoLimit();
}

void CBandWidthControlDlg::OnSelchangeNoLimit()
{
    m_pRate->setEnabled(m_pNoLimit->currentIndex() == 1);
}

void CBandWidthControlDlg::OnRefresh()
{
    RefreshButton()->setEnabled(false);
    m_pList->DeleteAllItems();
    // The links are read at every refresh, so a link made meanwhile is seen.
    ReadTrunkMap();
    BandwidthLogic()->GetBandwidthTable(*m_pWalk, Gate());
}

void CBandWidthControlDlg::OnModuleNotify(unsigned nMessage, int nCode, const void* pData)
{
    if (nMessage != WM_MODULE_NOTIFY || nCode != MN_ROW || !pData)
        return;
    const auto* row = static_cast<const BANDWIDTH_ROW*>(pData);
    m_pList->AppendRow({row->strPort, RateText(row->strTxRate), RateText(row->strRxRate)});
}

void CBandWidthControlDlg::OnApply()
{
    const int from = m_pFrom->currentText().toInt();
    const int to = m_pTo->currentText().toInt();
    if (from < 1 || to < from)
        return;
    const int type = m_pType->currentIndex();
    QString rate = QStringLiteral("0");
    if (m_pNoLimit->currentIndex() != 0 && !CBandWidthControlFunLogic::CheckRate(m_pRate->text(), &rate)) {
        Message(QStringLiteral("Invalid Rate."));
        return;
    }
    QString ports;
    if (!BandwidthLogic()->BuildPortList(from, to, ports)) {
        Message(QStringLiteral("You can't set the rate of Ports:") + ports
                + QStringLiteral(".because they are in aggregated link."));
        return;
    }
    m_pWrites->Clear();
    BandwidthLogic()->SetBandwidth(*m_pWrites, from, to, rate, type);
    RunWrites(m_pWrites);
}

void CBandWidthControlDlg::OnWritesDone()
{
    // A refused write keeps the input for another try; a taken one clears it.
    ResetInput();
    CConfigDialog::OnWritesDone();
}
