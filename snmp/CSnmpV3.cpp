#include "CSnmpV3.h"
#include "CSnmpImpl.h"

CSnmpV3::CSnmpV3(int pduType)
    : CSnmp(3, pduType)
{
}

CSnmpV3::~CSnmpV3() = default;

void CSnmpV3::setMsgMaxSize(int size)
{
    impl()->sec.maxSize = size;
}

void CSnmpV3::setMsgSecurityModel(int)
{
    // USM is the only security model served.
}

// The derived keys are kept until the user, a password or a protocol
// really changes: setting the same values again on every request costs
// nothing, a new value takes effect on the next send.
void CSnmpV3::setUserName(const char* user)
{
    std::string value = user ? user : "";
    if (value != impl()->sec.user) {
        impl()->sec.user = value;
        impl()->securityChanged();
    }
}

void CSnmpV3::setMsgFlags(char flags)
{
    impl()->sec.flags = flags;
}

void CSnmpV3::setAuthArith(int arith)
{
    if (arith != impl()->sec.authArith) {
        impl()->sec.authArith = arith;
        impl()->securityChanged();
    }
}

void CSnmpV3::setAuthPwd(const unsigned char* pwd, int length)
{
    std::string value = (pwd && length > 0) ? std::string(reinterpret_cast<const char*>(pwd), size_t(length)) : std::string();
    if (value != impl()->sec.authPwd) {
        impl()->sec.authPwd = value;
        impl()->securityChanged();
    }
}

void CSnmpV3::setPriArith(int arith)
{
    if (arith != impl()->sec.privArith) {
        impl()->sec.privArith = arith;
        impl()->securityChanged();
    }
}

void CSnmpV3::setPriPwd(const unsigned char* pwd, int length)
{
    std::string value = (pwd && length > 0) ? std::string(reinterpret_cast<const char*>(pwd), size_t(length)) : std::string();
    if (value != impl()->sec.privPwd) {
        impl()->sec.privPwd = value;
        impl()->securityChanged();
    }
}
