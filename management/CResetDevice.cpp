#include "CResetDevice.h"

#include "MessageSink.h"
#include "MessageBoxSink.h"
#include "SnmpRequests.h"

namespace {

const QString kSaveConfigObject = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.1.11.0");
const QString kFirmwareStatusObject = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.3.9.6.0");
const QString kConfigStatusObject = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.3.10.6.0");
const QString kRebootObject = QStringLiteral("1.3.6.1.4.1.32473.10.126.4.1.1.10.0");

} // namespace

CResetDevice::CResetDevice() = default;

CResetDevice::~CResetDevice() = default;

int CResetDevice::CanReboot()
{
    QList<std::optional<QByteArray>> values;
    if (SnmpGetValues(m_cCommonSNMP, {kSaveConfigObject, kFirmwareStatusObject, kConfigStatusObject}, values) != 0)
        return 1;
    // A save running, a firmware transfer running (3) or being written (4),
    // a configuration being restored (4; its 3 is harmless) block the reboot.
    const bool busy = values[0] == "1" || values[1] == "3" || values[1] == "4" || values[2] == "4";
    return busy ? 0 : 1;
}

void CResetDevice::Reboot()
{
    SnmpSetValues(m_cCommonSNMP, {SnmpSetValue::Integer(kRebootObject, 1)});
}

RebootOutcome ConfirmAndRebootDevice(QWidget* parent)
{
    if (WindowMessage(parent, QStringLiteral("Do you want to reboot the device?"),
                      MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2)
        != IDOK)
        return REBOOT_CANCELLED;
    CResetDevice device;
    if (!device.CanReboot()) {
        WindowMessage(parent, QStringLiteral("FW upgrade/backup or config backup/restore is already progressing. "));
        return REBOOT_REFUSED;
    }
    device.Reboot();
    return REBOOT_SENT;
}
