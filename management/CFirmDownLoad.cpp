#include "CFirmDownLoad.h"

#include "CEditEXIPV6.h"
#include "CGradientProgressCtrl.h"
#include "CStatusLine.h"
#include "ControlId.h"
#include "GlobalSettings.h"
#include "MessageSink.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kUpgradeWarning = QStringLiteral(
    "The connection will be disconnected.\nPlease do not apply other changes when uploading.\n"
    "Reconnect to the device later when uploading completes.");

} // namespace

CFirmDownLoad::CFirmDownLoad(QWidget* parent, const CFirmTransferLogic::Timings& timings)
    : ClxDialog(parent)
    , m_transfer(timings)
{
    setWindowTitle(QStringLiteral("Firmware and Configuration Upgrade/Backup"));
    SetControlId(this, IDD);

    auto* outer = new QVBoxLayout(this);
    auto* group = new QGroupBox(QStringLiteral("Configuration"), this);
    auto* form = new QFormLayout(group);
    m_pServer = new CEditEXIPV6(group);
    m_pServer->setPlaceholderText(QStringLiteral("192.168.1.10 or 2001:db8::10"));
    m_pFileName = new QLineEdit(group);
    m_pOperation = new QComboBox(group);
    m_pFileType = new QComboBox(group);
    m_pFileType->addItems({QStringLiteral("Configuration"), QStringLiteral("Firmware")});
    form->addRow(QStringLiteral("TFTP Server IP"), m_pServer);
    form->addRow(QStringLiteral("File Name"), m_pFileName);
    form->addRow(QStringLiteral("Operation Type:"), m_pOperation);
    form->addRow(QStringLiteral("FileType"), m_pFileType);
    outer->addWidget(group);

    auto* progressRow = new QHBoxLayout;
    m_pProgressLabel = new QLabel(QStringLiteral("Upgrade/BackUp:"), this);
    m_pProgress = new CGradientProgressCtrl(this);
    progressRow->addWidget(m_pProgressLabel);
    progressRow->addWidget(m_pProgress, 1);
    outer->addLayout(progressRow);
    outer->addStretch(1);

    auto* buttons = new QHBoxLayout;
    m_pStatus = new CStatusLine(this);
    m_pApply = new QPushButton(QStringLiteral("&Apply"), this);
    m_pClose = new QPushButton(QStringLiteral("&Close"), this);
    buttons->addWidget(m_pStatus, 1);
    for (QPushButton* button : {m_pApply, m_pClose}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    m_pApply->setDefault(true);
    outer->addLayout(buttons);

    SetControlId(m_pServer, IDC_SERVER_IP);
    SetControlId(m_pFileName, IDC_FILE_NAME);
    SetControlId(m_pFileType, IDC_FILE_TYPE);
    SetControlId(m_pOperation, IDC_OPERATION);
    SetControlId(m_pApply, IDC_APPLY);
    SetControlId(m_pClose, IDC_CLOSE);
    SetControlId(m_pProgress, IDC_PROGRESS);
    SetControlId(m_pProgressLabel, IDC_PROGRESS_LABEL);

    m_finishTimer.setSingleShot(true);
    connect(&m_finishTimer, &QTimer::timeout, this, &CFirmDownLoad::OnFinish);
    connect(m_pApply, &QPushButton::clicked, this, &CFirmDownLoad::StartTransfer);
    connect(m_pClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_pFileName, &QLineEdit::textChanged, this, &CFirmDownLoad::OnChangeFileName);
    connect(&m_transfer, &CFirmTransferLogic::progressChanged, m_pProgress, &CGradientProgressCtrl::SetPos);
    connect(&m_transfer, &CFirmTransferLogic::stageChanged, m_pStatus, &CStatusLine::ShowText);
    connect(&m_transfer, &CFirmTransferLogic::ended, this, &CFirmDownLoad::OnTransferEnded);

    // What the dialog shows as it opens.
    m_pOperation->addItems({QStringLiteral("Upgrade"), QStringLiteral("Backup")});
    m_pOperation->setCurrentIndex(OPERATION_UPGRADE);
    m_pFileType->setCurrentIndex(FILE_TYPE_CONFIGURATION);
    m_pProgress->SetStartColor(QColor(60, 60, 200));
    m_pProgress->SetEndColor(QColor(60, 60, 255));
    m_pProgress->SetRange(0, 100);
    m_pProgressLabel->hide();
    m_pProgress->hide();
    // Room for a full IPv6 address with an interface name.
    m_pServer->setMinimumWidth(
        m_pServer->fontMetrics().horizontalAdvance(QStringLiteral("ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff%vlan4094"))
        + 16);
}

CFirmDownLoad::~CFirmDownLoad()
{
    m_finishTimer.stop();
    m_transfer.Stop();
}

bool CFirmDownLoad::OnInitDialog()
{
    ClxDialog::OnInitDialog();
    const int width = qMax(m_pApply->sizeHint().width(), m_pClose->sizeHint().width());
    m_pApply->setMinimumWidth(width);
    m_pClose->setMinimumWidth(width);
    m_pApply->setEnabled(g_bWritePermission);
    return true;
}

void CFirmDownLoad::OnChangeFileName(const QString& strText)
{
    if (m_bChangingFileName || strText.size() <= CFirmTransferLogic::kMaxFileNameLength)
        return;
    const int caret = m_pFileName->cursorPosition();
    m_bChangingFileName = true;
    m_pFileName->setText(strText.left(CFirmTransferLogic::kMaxFileNameLength));
    m_bChangingFileName = false;
    Message(QStringLiteral("The maximum length of file name is 64!"), MB_OK);
    m_pFileName->setCursorPosition(qMin(caret, CFirmTransferLogic::kMaxFileNameLength));
}

bool CFirmDownLoad::StartTransfer()
{
    // A station allowed to read only starts nothing, as every writing dialog.
    if (m_transfer.IsRunning() || !g_bWritePermission)
        return false;
    m_finishTimer.stop();
    // Every input is checked before anything is written.
    if (m_pServer->OnKillFocus() != CEditEXIPV6::StatusValid) {
        Message(QStringLiteral("Invalid TFTP server IP."), MB_OK | MB_ICONWARNING);
        return false;
    }
    const QString fileName = m_pFileName->text();
    if (fileName.isEmpty()) {
        Message(QStringLiteral("Invalid file."), MB_OK | MB_ICONWARNING);
        return false;
    }
    if (fileName.toUtf8().size() > CFirmTransferLogic::kMaxFileNameLength) {
        Message(QStringLiteral("The maximum length of file name is 64!"), MB_OK | MB_ICONWARNING);
        return false;
    }
    const bool upgrade = m_pOperation->currentIndex() == OPERATION_UPGRADE;
    if (upgrade && Message(kUpgradeWarning, MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2) != IDOK)
        return false;

    m_pProgress->SetPos(0);
    m_pProgressLabel->show();
    m_pProgress->show();
    EnableInputs(false);
    const auto mode = m_pFileType->currentIndex() == FILE_TYPE_FIRMWARE ? CFirmTransferLogic::ModeFirmware
                                                                        : CFirmTransferLogic::ModeConfig;
    const auto operation = upgrade ? CFirmTransferLogic::OperationUpgrade : CFirmTransferLogic::OperationBackup;
    if (!m_transfer.Start(mode, operation, m_pServer->GetAddressType(), m_pServer->GetAddressOctets(), fileName)) {
        EnableInputs(true);
        return false;
    }
    return true;
}

void CFirmDownLoad::OnTransferEnded(int nResult, const QString& strMessage)
{
    m_pStatus->ShowText(nResult == CFirmTransferLogic::Succeeded ? tr("Transfer finished.") : strMessage);
    Message(strMessage, nResult == CFirmTransferLogic::Succeeded ? MB_OK | MB_ICONINFORMATION : MB_OK | MB_ICONERROR);
    m_finishTimer.start(5);
}

void CFirmDownLoad::OnFinish()
{
    if (m_transfer.IsRunning())
        return;
    EnableInputs(true);
    m_pProgress->SetPos(0);
}

void CFirmDownLoad::EnableInputs(bool bEnable)
{
    for (QWidget* w : std::initializer_list<QWidget*>{m_pServer, m_pFileName, m_pOperation, m_pFileType, m_pApply,
                                                      m_pClose})
        w->setEnabled(bEnable);
    m_pApply->setEnabled(bEnable && g_bWritePermission);
}

void CFirmDownLoad::done(int result)
{
    // The close box and Escape end the dialog even while a transfer runs:
    // timers and sessions stop before the window goes.
    m_finishTimer.stop();
    m_transfer.Stop();
    ClxDialog::done(result);
}
