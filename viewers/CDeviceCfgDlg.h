#pragma once

// "Device Configure": two lists of scalars that the MIB description file
// names. "Device Info" (section DEVINFO) is read only; in "Configuration
// Options" (section DEVCFG) one object at a time is set to another of its
// allowed values, then the list is read again. Always SNMPv1 with the
// communities, whatever version the program was started with.

#include "CDirectSnmpDialog.h"
#include "CMibXMLParse.h"

#include <QTimer>

class QComboBox;
class QPushButton;

class CDeviceCfgDlg : public CDirectSnmpDialog
{
    Q_OBJECT
public:
    static constexpr const char* kFileName = "PQS6048_CFG.XML";

    // `fileName` empty: the description file is looked for in the current
    // directory, then beside the program.
    explicit CDeviceCfgDlg(QWidget* parent = nullptr, const QString& fileName = QString());
    ~CDeviceCfgDlg() override;

    // Where the description file is found, or empty.
    static QString FindDescriptionFile();
    // A time in hundredths of a second as "H Hour M Min"; other text as it is.
    static QString TicksText(const QString& value);

    CListCtrlEx* InfoList() const { return m_pInfoList; }
    CListCtrlEx* CfgList() const { return m_pCfgList; }
    QComboBox* ValueCombo() const { return m_pCombo; }
    QPushButton* ApplyButton() const { return m_pApply; }
    CDirectWalk& InfoWalk() { return m_walkInfo; }
    CDirectWalk& CfgWalk() { return m_walkCfg; }
    bool IsReReadDue() const { return m_bApplying; }

    QString m_strSelectedName;
    MibValueList m_arrValues;
    CMibXMLParse m_xmlDevCfg;
    CMibXMLParse m_xmlDevInfo;

public slots:
    void OnRefresh() override;
    void OnApply();
    void OnListClick();

protected:
    bool OnInitDialog() override;
    DirectSnmpSettings WriteSettings() const override;
    void done(int result) override;

private:
    void ReadDevInfo();
    void ReadDevCfg();
    void ReadSection(CDirectWalk& walk, CMibXMLParse& xml, CListCtrlEx* list, bool info, const QString& what);
    void ReReadWhenDone();

    QString m_strFileName;
    bool m_bConnection = false;
    CListCtrlEx* m_pInfoList = nullptr;
    CListCtrlEx* m_pCfgList = nullptr;
    QComboBox* m_pCombo = nullptr;
    QPushButton* m_pApply = nullptr;
    CDirectWalk m_walkInfo;
    CDirectWalk m_walkCfg;
    QStringList m_cfgRowNames;    // the NAME each DEVCFG row shows
    // After Apply the list is read again once the set has been answered and
    // the switch has had its time to take the value.
    QTimer m_settle;
    bool m_bApplying = false;
    bool m_bSetAnswered = false;
    QString m_strWriteOutcome;   // why the last Apply failed, or empty
};
