// An optional limit on the size of a SET, as a switch with a small message
// buffer has: with `--max-pdu OCTETS` (or the control command `max-pdu
// OCTETS`), a SET whose variable bindings take more than OCTETS octets,
// BER-encoded, is answered tooBig and changes nothing. `max-pdu off` ends
// the limit; `reset` puts back the command line's.

#include "Behaviour.h"

#include <cstdlib>

namespace {

// Octets of a BER length field for a content of n octets.
size_t LengthOctets(size_t n)
{
    size_t octets = 1;
    if (n >= 128)
        for (; n; n >>= 8)
            ++octets;
    return octets;
}

size_t Tlv(size_t content)
{
    return 1 + LengthOctets(content) + content;
}

size_t SubIdOctets(unsigned long long v)
{
    size_t octets = 1;
    while (v >= 128) {
        v >>= 7;
        ++octets;
    }
    return octets;
}

size_t OidContent(const Oid& o)
{
    if (o.size() < 2)
        return 1;
    size_t n = SubIdOctets(o[0] * 40 + o[1]);
    for (size_t i = 2; i < o.size(); ++i)
        n += SubIdOctets(o[i]);
    return n;
}

size_t IntegerContent(long long v, bool isUnsigned)
{
    size_t n = 1;
    if (isUnsigned) {
        unsigned long long u = static_cast<unsigned long long>(v);
        while (u >= 0x80) {   // the top bit of the first octet must stay 0
            u >>= 8;
            ++n;
        }
        return n;
    }
    while (v > 127 || v < -128) {
        v >>= 8;
        ++n;
    }
    return n;
}

size_t ValueContent(const Value& v)
{
    switch (v.type) {
    case ASN_INTEGER:
        return IntegerContent(v.number, false);
    case ASN_COUNTER:
    case ASN_GAUGE:
    case ASN_TIMETICKS:
    case ASN_COUNTER64:
        return IntegerContent(v.number, true);
    case ASN_OBJECT_ID:
        return OidContent(v.oidValue);
    case ASN_OCTET_STR:
    case ASN_IPADDRESS:
        return v.bytes.size();
    default:
        return 0;
    }
}

// The variable-binding list of a SET as BER encodes it.
size_t EncodedSize(const std::vector<SetRequest>& set)
{
    size_t list = 0;
    for (const SetRequest& s : set)
        list += Tlv(Tlv(OidContent(s.name)) + Tlv(ValueContent(s.value)));
    return Tlv(list);
}

bool ParseOctets(const char* text, long& out)
{
    if (!text || !*text)
        return false;
    char* end = nullptr;
    const long n = std::strtol(text, &end, 10);
    if (*end || n < 1 || n > 65535)
        return false;
    out = n;
    return true;
}

class PduSizeBehaviour : public Behaviour
{
public:
    const char* name() const override { return "pdu-size"; }

    bool claimOption(const std::string& option, const std::function<const char*()>& value,
                     std::string& why) override
    {
        if (option != "--max-pdu")
            return false;
        if (!ParseOctets(value(), m_optionLimit))
            why = option + " needs octets (1-65535)";
        m_limit = m_optionLimit;
        return true;
    }
    std::string usage() const override { return "[--max-pdu OCTETS]"; }

    void checkSet(const Switch&, const MibStore&, const std::vector<SetRequest>& set, SetOutcome& outcome) override
    {
        if (m_limit > 0 && EncodedSize(set) > static_cast<size_t>(m_limit))
            outcome = {SNMP_ERR_TOOBIG, 0};
    }

    std::optional<std::string> command(Switch&, const std::vector<std::string>& t) override
    {
        if (t.empty() || t[0] != "max-pdu")
            return std::nullopt;
        if (t.size() == 2 && t[1] == "off") {
            m_limit = 0;
            return "ok";
        }
        long n = 0;
        if (t.size() == 2 && ParseOctets(t[1].c_str(), n)) {
            m_limit = n;
            return "ok";
        }
        return "error: max-pdu OCTETS (1-65535) | max-pdu off";
    }

    void onReset(Switch&) override { m_limit = m_optionLimit; }

private:
    long m_optionLimit = 0;   // from the command line; 0 = no limit
    long m_limit = 0;
};

BehaviourRegistrar<PduSizeBehaviour> registrar;

} // namespace
