#include "CResetDevice.h"

#include "CSnmp.h"
#include "MessageSink.h"

#include <cstring>

namespace {

const char* const kSaveConfigObject = "1.3.6.1.4.1.32473.10.126.4.1.1.11.0";
const char* const kFirmwareStatusObject = "1.3.6.1.4.1.32473.10.126.4.1.3.9.6.0";
const char* const kConfigStatusObject = "1.3.6.1.4.1.32473.10.126.4.1.3.10.6.0";
const char* const kRebootObject = "1.3.6.1.4.1.32473.10.126.4.1.1.10.0";

// Value i of the answer as text; null for an exception value (an object the
// switch does not have) or a varbind the answer lacks.
const char* ValueAt(CSnmp* pResponse, int i)
{
    if (i >= pResponse->getVarBindCount())
        return nullptr;
    char* pszOid = nullptr;
    char* pszValue = nullptr;
    if (pResponse->getValueText(i, &pszOid, &pszValue) != 0)
        return nullptr;
    return pszValue;
}

bool Is(const char* pszValue, const char* pszExpected)
{
    return pszValue && std::strcmp(pszValue, pszExpected) == 0;
}

} // namespace

CResetDevice::CResetDevice() = default;

CResetDevice::~CResetDevice() = default;

int CResetDevice::CanReboot()
{
    if (!m_cCommonSNMP.Prepare(SNMP_PDU_GET))
        return 1;
    m_cCommonSNMP.AddValue(QString::fromLatin1(kSaveConfigObject), SNMP_TYPE_NULL, nullptr);
    m_cCommonSNMP.AddValue(QString::fromLatin1(kFirmwareStatusObject), SNMP_TYPE_NULL, nullptr);
    m_cCommonSNMP.AddValue(QString::fromLatin1(kConfigStatusObject), SNMP_TYPE_NULL, nullptr);
    CSnmp* pResponse = nullptr;
    if (m_cCommonSNMP.SendSync(pResponse, 0) != 0 || !pResponse) {
        delete pResponse;
        return 1;
    }
    // A save running, a firmware transfer running (3) or being written (4),
    // a configuration being restored (4; its 3 is harmless) block the reboot.
    const bool busy = Is(ValueAt(pResponse, 0), "1")
        || Is(ValueAt(pResponse, 1), "3") || Is(ValueAt(pResponse, 1), "4")
        || Is(ValueAt(pResponse, 2), "4");
    delete pResponse;
    return busy ? 0 : 1;
}

void CResetDevice::Reboot()
{
    if (!m_cCommonSNMP.Prepare(SNMP_PDU_SET))
        return;
    m_cCommonSNMP.AddValue(QString::fromLatin1(kRebootObject), SNMP_TYPE_INTEGER, "1");
    CSnmp* pResponse = nullptr;
    m_cCommonSNMP.SendSync(pResponse, 0);
    delete pResponse;
}

RebootOutcome ConfirmAndRebootDevice(QWidget* parent)
{
    if (AfxMessageBox(QStringLiteral("Do you want to reboot the device?"),
                      MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2, parent)
        != IDOK)
        return REBOOT_CANCELLED;
    CResetDevice device;
    if (!device.CanReboot()) {
        AfxMessageBox(
            QStringLiteral("FW upgrade/backup or config backup/restore is already progressing. "),
            MB_OK, parent);
        return REBOOT_REFUSED;
    }
    device.Reboot();
    return REBOOT_SENT;
}
