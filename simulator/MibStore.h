#pragma once

// The simulated switch's objects: one ordered map from OID to typed value,
// the RowStatus tables that may grow and shrink, and the SET rules of a real
// agent (validate every varbind, then commit all or nothing).

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

using Oid = std::vector<oid>;

std::optional<Oid> ParseOid(const std::string& text);   // "1.3.6" or ".1.3.6"
std::string OidText(const Oid& o);                       // "1.3.6", no leading dot
bool OidUnder(const Oid& o, const Oid& prefix);          // o equals prefix or lies below it

// Splits a line into tokens: blanks separate, and "quoted text" is one token
// (a backslash takes the next character as it is); with hashStartsComment a
// # outside quotes ends the line.
bool Tokenize(const std::string& line, std::vector<std::string>& tokens, bool hashStartsComment,
              std::string* error = nullptr);

struct Value
{
    u_char type = ASN_NULL;   // ASN_INTEGER, ASN_OCTET_STR, ASN_OBJECT_ID, ASN_IPADDRESS,
                              // ASN_COUNTER, ASN_GAUGE, ASN_TIMETICKS, ASN_COUNTER64
    long long number = 0;     // the integer types
    std::string bytes;        // OCTET STRING and IpAddress (4 bytes)
    Oid oidValue;             // OBJECT IDENTIFIER

    bool operator==(const Value&) const = default;
};

// Parses a value written as TYPE letter and text, as in the data files and
// the control channel: i u c C t a o s x (see README.md).
std::optional<Value> ParseValue(char typeLetter, const std::string& text, std::string* error);

// Reads a varbind's value; nullopt for types the simulator does not keep.
std::optional<Value> ValueFromVarbind(const netsnmp_variable_list* vb);

// Puts a value into a varbind (of the answer).
void ValueToVarbind(const Value& v, netsnmp_variable_list* vb);

// Range of an INTEGER value or size range of an OCTET STRING.
struct Limits
{
    long long low = 0;
    long long high = 0;
};

struct Object
{
    Value value;
    bool writable = false;
    std::optional<Limits> limits;
};

// A column of a table whose rows a manager creates and destroys through a
// RowStatus column. A column without a default must be set before the row
// may become active.
struct Column
{
    bool writable = true;
    u_char type = ASN_INTEGER;
    std::optional<Value> defaultValue;
    std::optional<Limits> limits;
};

// RMON's EntryStatus in place of RowStatus (entryStatus): 2 createRequest
// makes the row, which reads 3 underCreation until 1 valid (accepted only
// once every column without a default is set); 4 invalid removes it.
struct RowTable
{
    Oid entry;                  // OID of the table's entry
    oid rowStatusColumn = 0;
    bool entryStatus = false;
    std::optional<Limits> indexLimits;   // one-part index: its allowed range
    std::map<oid, Column> columns;
};

struct SetRequest
{
    Oid name;
    Value value;
};

struct SetOutcome
{
    int errorStatus = SNMP_ERR_NOERROR;
    int errorIndex = 0;   // 1-based index of the varbind at fault, 0 without error
};

class MibStore
{
public:
    // Reads a data file; false with a message (file:line: what) on error.
    bool load(const std::string& path, std::string* error);

    const Object* find(const Oid& name) const;
    // The first object after `name` (GET-NEXT order); null at the end.
    const std::pair<const Oid, Object>* next(const Oid& name) const;

    // Sets or creates an object directly (control channel and behaviour).
    void put(const Oid& name, const Value& value, bool writable);
    void erase(const Oid& name);

    // Checks and applies a whole SET. On a fault the store may be left half
    // changed: the agent applies a SET to a copy (the pending state) and
    // installs the copy only when the SET is committed.
    SetOutcome applySet(const std::vector<SetRequest>& requests);

    size_t size() const { return m_objects.size(); }

private:
    const RowTable* tableOf(const Oid& name, oid* column, Oid* index) const;
    SetOutcome applyTo(std::map<Oid, Object>& objects, const std::vector<SetRequest>& requests) const;

    std::map<Oid, Object> m_objects;
    std::vector<RowTable> m_tables;
};
