#include "CDeviceCfgDlg.h"

#include "CListCtrlEx.h"
#include "CStatusLine.h"
#include "CSnmpV1.h"
#include "ControlId.h"
#include "GlobalSettings.h"
#include "MessageSink.h"
#include "StatusText.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The entry's NAME of a binding: its OID without the ".0" of a scalar.
QString EntryName(const QByteArray& oid)
{
    QString name = QString::fromLatin1(oid);
    if (name.endsWith(QLatin1String(".0")))
        name.chop(2);
    return name;
}

} // namespace

CDeviceCfgDlg::CDeviceCfgDlg(QWidget* parent, const QString& fileName)
    : CDirectSnmpDialog(Form::SettingsCopy, QStringLiteral("Device Configure"), parent)
    , m_strFileName(fileName)
{
    auto* cfgGroup = new QGroupBox(QStringLiteral("Configuration Options"), this);
    auto* cfgLayout = new QVBoxLayout(cfgGroup);
    m_pCfgList = AddList(1009, {}, cfgLayout);
    m_pCfgList->InsertColumn(0, QStringLiteral("  Config Name  "), CListCtrlEx::LVCFMT_LEFT, 200);
    m_pCfgList->InsertColumn(1, QStringLiteral("  Status     "), CListCtrlEx::LVCFMT_LEFT, 80);
    m_pCfgList->setMinimumSize(300, 140);
    auto* valueRow = new QHBoxLayout;
    m_pCombo = new QComboBox(cfgGroup);
    SetControlId(m_pCombo, 1007);
    m_pCombo->setMinimumWidth(160);
    m_pApply = new QPushButton(QStringLiteral("&Apply"), cfgGroup);
    SetControlId(m_pApply, 3);
    m_pApply->setAutoDefault(false);
    m_pApply->setEnabled(false);
    valueRow->addWidget(m_pCombo, 1);
    valueRow->addWidget(m_pApply);
    cfgLayout->addLayout(valueRow);
    ContentLayout()->addWidget(cfgGroup, 1);

    auto* infoGroup = new QGroupBox(QStringLiteral("Device Info"), this);
    auto* infoLayout = new QVBoxLayout(infoGroup);
    m_pInfoList = AddList(1088, {}, infoLayout);
    m_pInfoList->InsertColumn(0, QString(), CListCtrlEx::LVCFMT_LEFT, 160);
    m_pInfoList->InsertColumn(1, QString(), CListCtrlEx::LVCFMT_LEFT, 118);
    m_pInfoList->setMinimumSize(300, 160);
    ContentLayout()->addWidget(infoGroup, 1);

    AddButtonRow(4);
    SetControlId(CloseButton(), 1);
    RefreshButton()->setDefault(true);
    AddWalk(m_walkInfo);
    AddWalk(m_walkCfg);

    connect(m_pApply, &QPushButton::clicked, this, &CDeviceCfgDlg::OnApply);
    connect(m_pCfgList, &CListCtrlEx::rowClicked, this, [this](int) { OnListClick(); });
    connect(m_pCfgList, &QTableWidget::itemSelectionChanged, this, &CDeviceCfgDlg::OnListClick);

    m_settle.setSingleShot(true);
    m_settle.setInterval(2000);
    connect(&m_settle, &QTimer::timeout, this, &CDeviceCfgDlg::ReReadWhenDone);
}

CDeviceCfgDlg::~CDeviceCfgDlg() = default;

QString CDeviceCfgDlg::FindDescriptionFile()
{
    const QString name = QString::fromLatin1(kFileName);
    for (const QString& dir : {QDir::currentPath(), QCoreApplication::applicationDirPath()}) {
        const QFileInfo file(QDir(dir).filePath(name));
        if (file.isFile())
            return file.absoluteFilePath();
    }
    return QString();
}

QString CDeviceCfgDlg::TicksText(const QString& value)
{
    bool ok = false;
    const qulonglong t = value.toULongLong(&ok);
    if (!ok)
        return value;
    const qulonglong h = t / 360000;
    const qulonglong m = (t - h * 360000) / 6000;
    return QString::number(h) + QStringLiteral(" Hour ") + QString::number(m) + QStringLiteral(" Min");
}

bool CDeviceCfgDlg::OnInitDialog()
{
    CDirectSnmpDialog::OnInitDialog();
    // This form speaks version 1 whatever the program was started with.
    m_settings.m_strVersion = QStringLiteral("1");
    m_settings.m_nVersion = 1;
    m_bConnection = !g_strDeviceIP.isEmpty() && !m_settings.m_pszReadCommunity.isEmpty()
                    && !m_settings.m_pszWriteCommunity.isEmpty();
    if (!m_bConnection)
        return false;
    const QString file = m_strFileName.isEmpty() ? FindDescriptionFile() : m_strFileName;
    if (!m_xmlDevInfo.Load(file, QStringLiteral("DEVINFO")))
        AfxMessageBox(QStringLiteral("No PQS6048_CFG.XML !"), MB_OK | MB_ICONWARNING, this);
    m_xmlDevCfg.Load(file, QStringLiteral("DEVCFG"));
    m_pApply->setEnabled(false);
    return true;
}

DirectSnmpSettings CDeviceCfgDlg::WriteSettings() const
{
    return m_settings;
}

void CDeviceCfgDlg::done(int result)
{
    // No re-read after an Apply once the dialog has closed.
    m_settle.stop();
    m_bApplying = false;
    CDirectSnmpDialog::done(result);
}

void CDeviceCfgDlg::OnRefresh()
{
    ReadDevInfo();
    ReadDevCfg();
}

void CDeviceCfgDlg::ReadDevInfo()
{
    ReadSection(m_walkInfo, m_xmlDevInfo, m_pInfoList, true, QStringLiteral("Device Info"));
}

void CDeviceCfgDlg::ReadDevCfg()
{
    ReadSection(m_walkCfg, m_xmlDevCfg, m_pCfgList, false, QStringLiteral("Configuration Options"));
}

void CDeviceCfgDlg::ReadSection(CDirectWalk& walk, CMibXMLParse& xml, CListCtrlEx* list, bool info, const QString& what)
{
    if (!m_bConnection || walk.IsPending())
        return;   // the pending read fills the list
    list->DeleteAllItems();
    if (!info) {
        m_cfgRowNames.clear();
        OnListClick();
    }
    CSnmpV1 scratch(SNMP_PDU_GET);
    xml.AddOidsToPdu(scratch, QStringLiteral("0"));
    QList<QByteArray> oids;
    for (int i = 0; i < scratch.getVarBindCount(); ++i) {
        char* oid = nullptr;
        scratch.getOid(i, &oid);
        oids << QByteArray(oid);
    }
    if (oids.isEmpty())
        return;   // nothing described: nothing to ask
    StartRead(walk, oids, SNMP_PDU_GET, what,
        [this, &walk, &xml, list, info](const CDirectWalk::Response& r) {
            if (walk.m_nErrorStatus != 0)
                return true;   // refused: the list stays empty
            for (int i = 0; i < r.size(); ++i) {
                const QString name = EntryName(r[i].oid);
                const QString received = QString::fromUtf8(r[i].value);
                QString label;
                xml.GetDescByName(name, label);
                QString shown = received;
                MibValueList values;
                if (xml.GetValuesByName(name, values)) {
                    shown.clear();
                    for (const _value& v : values)
                        if (v.value == received)
                            shown = v.name;
                }
                if (info && label.contains(QLatin1String("Time")))
                    shown = TicksText(received);
                list->AppendRow({label, shown});
                if (!info)
                    m_cfgRowNames << name;
            }
            return true;
        },
        [this, info](int) {
            // A refused Apply stays in view after the re-read that follows it.
            if (!info && !m_strWriteOutcome.isEmpty())
                StatusLine()->ShowText(m_strWriteOutcome);
            if (!info)
                m_strWriteOutcome.clear();
        });
}

void CDeviceCfgDlg::OnListClick()
{
    const QList<int> selected = m_pCfgList->GetSelectedItems();
    m_pCombo->clear();
    m_arrValues.clear();
    m_pApply->setEnabled(false);
    if (selected.isEmpty())
        return;
    const int n = selected.first();
    // The entry by its position in the section, as the list was filled in
    // section order; it must be the object that row shows, or Apply would
    // write another one.
    QString name;
    bool found = m_xmlDevCfg.GetFirstName(name);
    for (int i = 0; found && i < n; ++i)
        found = m_xmlDevCfg.GetNextName(name);
    if (!found || n >= m_cfgRowNames.size() || m_cfgRowNames[n] != name)
        return;
    m_strSelectedName = name;
    m_xmlDevCfg.GetValuesByName(name, m_arrValues);
    const QString current = m_pCfgList->GetItemText(n, 1);
    QStringList names;
    for (const _value& v : m_arrValues)
        if (v.name != current)
            names << v.name;
    std::sort(names.begin(), names.end());
    m_pCombo->addItems(names);
    m_pCombo->setCurrentIndex(names.isEmpty() ? -1 : 0);
    m_pApply->setEnabled(!m_bApplying);
}

void CDeviceCfgDlg::OnApply()
{
    if (!m_pApply->isEnabled() || m_strSelectedName.isEmpty())
        return;
    m_pApply->setEnabled(false);
    const QByteArray oid = (m_strSelectedName + QStringLiteral(".0")).toLatin1();
    QByteArray value;
    const QString chosen = m_pCombo->currentIndex() >= 0 ? m_pCombo->currentText() : QString();
    for (const _value& v : m_arrValues) {
        if (v.name == chosen) {
            value = v.value.toUtf8();
            break;
        }
    }
    m_bApplying = true;
    m_bSetAnswered = false;
    m_strWriteOutcome.clear();
    const int rc = WriteScalars({{oid, SNMP_TYPE_INTEGER, value}}, [this](int result, int, int) {
        if (result != SNMP_OK)
            m_strWriteOutcome = StatusLine()->text();
        m_bSetAnswered = true;
        ReReadWhenDone();
    });
    if (rc != 0) {
        // Nothing was sent (an empty value is no number): only the wait remains.
        m_strWriteOutcome = StatusLine()->text();
        m_bSetAnswered = true;
    }
    m_settle.start();
}

void CDeviceCfgDlg::ReReadWhenDone()
{
    if (!m_bApplying || m_settle.isActive() || !m_bSetAnswered)
        return;
    m_bApplying = false;
    m_pCombo->clear();
    ReadDevCfg();
}
