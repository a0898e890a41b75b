#pragma once

// "Firmware and Configuration Upgrade/Backup": the TFTP server, file name,
// operation and file type; Apply hands them to the switch and follows the
// transfer with a progress bar until it ends with a message. The transfer
// itself (writes, status polls, time-outs) is CFirmTransferLogic's; this
// dialog checks the input first, shows what the transfer reports and gives
// the inputs back when it ends. The window never waits on the switch, and
// closing it stops the transfer's timers and sessions first (the switch
// goes on with a transfer it has started).

#include "CFirmTransferLogic.h"
#include "ClxDialog.h"

#include <QTimer>

class CEditEXIPV6;
class CGradientProgressCtrl;
class CStatusLine;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class CFirmDownLoad : public ClxDialog
{
    Q_OBJECT
public:
    enum : int {
        IDD = 470,
        IDC_SERVER_IP = 203,
        IDC_FILE_NAME = 206,
        IDC_FILE_TYPE = 207,
        IDC_OPERATION = 212,
        IDC_APPLY = 242,
        IDC_CLOSE = 2,
        IDC_PROGRESS = 1035,
        IDC_PROGRESS_LABEL = 1036,
    };
    // The lists' items by index.
    enum : int { OPERATION_UPGRADE = 0, OPERATION_BACKUP = 1 };
    enum : int { FILE_TYPE_CONFIGURATION = 0, FILE_TYPE_FIRMWARE = 1 };

    explicit CFirmDownLoad(QWidget* parent = nullptr,
                           const CFirmTransferLogic::Timings& timings = CFirmTransferLogic::Timings());
    ~CFirmDownLoad() override;

    CFirmTransferLogic& Transfer() { return m_transfer; }
    CEditEXIPV6* ServerEdit() const { return m_pServer; }
    QLineEdit* FileNameEdit() const { return m_pFileName; }
    QComboBox* OperationList() const { return m_pOperation; }
    QComboBox* FileTypeList() const { return m_pFileType; }
    CGradientProgressCtrl* ProgressBar() const { return m_pProgress; }
    QLabel* ProgressLabel() const { return m_pProgressLabel; }
    QPushButton* ApplyButton() const { return m_pApply; }
    QPushButton* CloseButton() const { return m_pClose; }
    CStatusLine* StatusLine() const { return m_pStatus; }

    // "&Apply": checks every input, asks before an upgrade, starts the
    // transfer. False when nothing was started.
    bool StartTransfer();

public slots:
    void done(int result) override;

protected:
    bool OnInitDialog() override;

private:
    void OnChangeFileName(const QString& strText);
    void OnTransferEnded(int nResult, const QString& strMessage);
    void OnFinish();
    void EnableInputs(bool bEnable);

    CFirmTransferLogic m_transfer;
    CEditEXIPV6* m_pServer = nullptr;
    QLineEdit* m_pFileName = nullptr;
    QComboBox* m_pOperation = nullptr;
    QComboBox* m_pFileType = nullptr;
    QLabel* m_pProgressLabel = nullptr;
    CGradientProgressCtrl* m_pProgress = nullptr;
    CStatusLine* m_pStatus = nullptr;
    QPushButton* m_pApply = nullptr;
    QPushButton* m_pClose = nullptr;
    QTimer m_finishTimer;          // gives the inputs back once the end was shown
    bool m_bChangingFileName = false;
};
