#include "CSnmp.h"

const char* SnmpResultText(int result)
{
    switch (result) {
    case SNMP_OK: return "No error";
    case SNMP_NO_ANSWER: return "No answer from the agent";
    case SNMP_END_OF_WALK: return "End of the table";
    case SNMP_AUTH_FAILURE: return "Authentication failure (wrong password or protocol)";
    case SNMP_UNKNOWN_USER: return "The agent does not know this SNMPv3 user";
    case SNMP_BAD_PASSPHRASE: return "SNMPv3 passwords must have at least 8 characters";
    case SNMP_BAD_REQUEST: return "Malformed request";
    case SNMP_BAD_ADDRESS: return "Invalid agent address";
    case SNMP_SEND_FAILED: return "The request could not be sent";
    case SNMP_ERROR_STATUS: return "The agent answered with an error";
    case SNMP_BAD_ANSWER: return "The agent's answers went out of order";
    default: return "Unknown SNMP failure";
    }
}
