#include "MibStore.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <tuple>

std::optional<Oid> ParseOid(const std::string& text)
{
    Oid result;
    size_t pos = (!text.empty() && text[0] == '.') ? 1 : 0;
    if (pos >= text.size())
        return std::nullopt;
    while (pos <= text.size()) {
        size_t dot = text.find('.', pos);
        if (dot == std::string::npos)
            dot = text.size();
        std::string part = text.substr(pos, dot - pos);
        if (part.empty() || part.size() > 10 || part.find_first_not_of("0123456789") != std::string::npos)
            return std::nullopt;
        unsigned long long n = std::strtoull(part.c_str(), nullptr, 10);
        if (n > 4294967295ULL || result.size() >= MAX_OID_LEN)
            return std::nullopt;
        result.push_back(static_cast<oid>(n));
        pos = dot + 1;
    }
    return result;
}

std::string OidText(const Oid& o)
{
    std::string s;
    for (size_t i = 0; i < o.size(); ++i) {
        if (i)
            s += '.';
        s += std::to_string(o[i]);
    }
    return s;
}

bool OidUnder(const Oid& o, const Oid& prefix)
{
    return o.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), o.begin());
}

static std::optional<long long> ParseNumber(const std::string& text, long long low, long long high)
{
    if (text.empty())
        return std::nullopt;
    errno = 0;
    char* end = nullptr;
    long long n = std::strtoll(text.c_str(), &end, 10);
    if (errno || *end || n < low || n > high)
        return std::nullopt;
    return n;
}

std::optional<Value> ParseValue(char typeLetter, const std::string& text, std::string* error)
{
    Value v;
    auto fail = [&](const std::string& what) -> std::optional<Value> {
        if (error)
            *error = what;
        return std::nullopt;
    };
    switch (typeLetter) {
    case 'i': {
        auto n = ParseNumber(text, -2147483648LL, 2147483647LL);
        if (!n)
            return fail("bad INTEGER '" + text + "'");
        v.type = ASN_INTEGER;
        v.number = *n;
        return v;
    }
    case 'u':
    case 'c':
    case 't': {
        auto n = ParseNumber(text, 0, 4294967295LL);
        if (!n)
            return fail("bad unsigned value '" + text + "'");
        v.type = typeLetter == 'u' ? ASN_GAUGE : typeLetter == 'c' ? ASN_COUNTER : ASN_TIMETICKS;
        v.number = *n;
        return v;
    }
    case 'C': {
        if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
            return fail("bad Counter64 '" + text + "'");
        errno = 0;
        unsigned long long n = std::strtoull(text.c_str(), nullptr, 10);
        if (errno)
            return fail("bad Counter64 '" + text + "'");
        v.type = ASN_COUNTER64;
        v.number = static_cast<long long>(n);
        return v;
    }
    case 'a': {
        in_addr a{};
        if (inet_pton(AF_INET, text.c_str(), &a) != 1)
            return fail("bad IpAddress '" + text + "'");
        v.type = ASN_IPADDRESS;
        v.bytes.assign(reinterpret_cast<const char*>(&a), 4);
        return v;
    }
    case 'o': {
        auto o = ParseOid(text);
        if (!o)
            return fail("bad OID '" + text + "'");
        v.type = ASN_OBJECT_ID;
        v.oidValue = *o;
        return v;
    }
    case 's':
        v.type = ASN_OCTET_STR;
        v.bytes = text;
        return v;
    case 'x': {
        std::string digits;
        for (char c : text)
            if (c != ' ' && c != ':')
                digits += c;
        if (digits.size() % 2 || digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
            return fail("bad hex octets '" + text + "'");
        v.type = ASN_OCTET_STR;
        for (size_t i = 0; i < digits.size(); i += 2)
            v.bytes += static_cast<char>(std::strtoul(digits.substr(i, 2).c_str(), nullptr, 16));
        return v;
    }
    default:
        return fail(std::string("unknown type '") + typeLetter + "'");
    }
}

std::optional<Value> ValueFromVarbind(const netsnmp_variable_list* vb)
{
    Value v;
    v.type = vb->type;
    switch (vb->type) {
    case ASN_INTEGER:
        v.number = *vb->val.integer;
        return v;
    case ASN_COUNTER:
    case ASN_GAUGE:
    case ASN_TIMETICKS:
        v.number = static_cast<unsigned long>(*vb->val.integer) & 0xFFFFFFFFUL;
        return v;
    case ASN_COUNTER64:
        v.number = static_cast<long long>((static_cast<unsigned long long>(vb->val.counter64->high) << 32)
                                          | (vb->val.counter64->low & 0xFFFFFFFFUL));
        return v;
    case ASN_OCTET_STR:
    case ASN_IPADDRESS:
        v.bytes.assign(reinterpret_cast<const char*>(vb->val.string), vb->val_len);
        return v;
    case ASN_OBJECT_ID:
        v.oidValue.assign(vb->val.objid, vb->val.objid + vb->val_len / sizeof(oid));
        return v;
    default:
        return std::nullopt;
    }
}

void ValueToVarbind(const Value& v, netsnmp_variable_list* vb)
{
    switch (v.type) {
    case ASN_INTEGER: {
        long n = static_cast<long>(v.number);
        snmp_set_var_typed_value(vb, v.type, &n, sizeof(n));
        break;
    }
    case ASN_COUNTER:
    case ASN_GAUGE:
    case ASN_TIMETICKS: {
        u_long n = static_cast<u_long>(v.number);
        snmp_set_var_typed_value(vb, v.type, &n, sizeof(n));
        break;
    }
    case ASN_COUNTER64: {
        counter64 c;
        auto n = static_cast<unsigned long long>(v.number);
        c.high = static_cast<u_long>(n >> 32);
        c.low = static_cast<u_long>(n & 0xFFFFFFFFULL);
        snmp_set_var_typed_value(vb, v.type, &c, sizeof(c));
        break;
    }
    case ASN_OCTET_STR:
    case ASN_IPADDRESS:
        snmp_set_var_typed_value(vb, v.type, v.bytes.data(), v.bytes.size());
        break;
    case ASN_OBJECT_ID:
        snmp_set_var_typed_value(vb, v.type, v.oidValue.data(), v.oidValue.size() * sizeof(oid));
        break;
    default:
        snmp_set_var_typed_value(vb, ASN_NULL, nullptr, 0);
    }
}

bool Tokenize(const std::string& line, std::vector<std::string>& tokens, bool hashStartsComment, std::string* error)
{
    tokens.clear();
    size_t i = 0;
    while (i < line.size()) {
        if (isspace(static_cast<unsigned char>(line[i]))) {
            ++i;
            continue;
        }
        if (hashStartsComment && line[i] == '#')
            break;
        std::string token;
        if (line[i] == '"') {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char c = line[i++];
                if (c == '\\' && i < line.size()) {
                    token += line[i++];
                } else if (c == '"') {
                    closed = true;
                    break;
                } else {
                    token += c;
                }
            }
            if (!closed) {
                if (error)
                    *error = "unterminated quoted text";
                return false;
            }
        } else {
            while (i < line.size() && !isspace(static_cast<unsigned char>(line[i])))
                token += line[i++];
        }
        tokens.push_back(token);
    }
    return true;
}

// ---------------------------------------------------------------- data file

namespace {


std::optional<Limits> ParseLimits(const std::string& text)
{
    size_t dots = text.find("..");
    if (dots == std::string::npos)
        return std::nullopt;
    auto low = ParseNumber(text.substr(0, dots), -2147483648LL, 4294967295LL);
    auto high = ParseNumber(text.substr(dots + 2), -2147483648LL, 4294967295LL);
    if (!low || !high || *low > *high)
        return std::nullopt;
    return Limits{*low, *high};
}

// "ro", "rw" or "rw(LOW..HIGH)".
bool ParseAccess(const std::string& text, bool& writable, std::optional<Limits>& limits)
{
    std::string base = text.substr(0, text.find('('));
    if (base != "ro" && base != "rw")
        return false;
    writable = base == "rw";
    limits.reset();
    if (base.size() == text.size())
        return true;
    if (text.back() != ')')
        return false;
    limits = ParseLimits(text.substr(base.size() + 1, text.size() - base.size() - 2));
    return limits.has_value();
}

bool TypeLetterValid(const std::string& t)
{
    return t.size() == 1 && std::string("iucCtaosx").find(t[0]) != std::string::npos;
}

} // namespace

bool MibStore::load(const std::string& path, std::string* error)
{
    std::ifstream in(path);
    if (!in) {
        *error = path + ": cannot open";
        return false;
    }
    std::map<Oid, Object> objects;
    std::vector<RowTable> tables;
    std::string line;
    int lineNo = 0;
    auto fail = [&](const std::string& what) {
        *error = path + ":" + std::to_string(lineNo) + ": " + what;
        return false;
    };
    while (std::getline(in, line)) {
        ++lineNo;
        std::vector<std::string> t;
        std::string why;
        if (!Tokenize(line, t, true, &why))
            return fail(why);
        if (t.empty())
            continue;
        if (t[0] == "table") {
            // table ENTRY rowstatus|entrystatus COLUMN [index LOW..HIGH]
            RowTable table;
            auto entry = ParseOid(t.size() > 1 ? t[1] : "");
            if (!entry || t.size() < 4 || (t[2] != "rowstatus" && t[2] != "entrystatus"))
                return fail("expected: table ENTRY-OID rowstatus COLUMN [index LOW..HIGH]");
            table.entry = *entry;
            table.entryStatus = t[2] == "entrystatus";
            auto col = ParseNumber(t[3], 1, 4294967295LL);
            if (!col)
                return fail("bad row status column");
            table.rowStatusColumn = static_cast<oid>(*col);
            if (t.size() == 6 && t[4] == "index") {
                table.indexLimits = ParseLimits(t[5]);
                if (!table.indexLimits)
                    return fail("bad index range");
            } else if (t.size() != 4) {
                return fail("expected: table ENTRY-OID rowstatus COLUMN [index LOW..HIGH]");
            }
            table.columns[table.rowStatusColumn] = Column{true, ASN_INTEGER, std::nullopt, std::nullopt};
            tables.push_back(table);
            continue;
        }
        if (t[0] == "column") {
            // column NUMBER ACCESS TYPE [DEFAULT]
            if (tables.empty())
                return fail("column before any table");
            if (t.size() < 4 || t.size() > 5 || !TypeLetterValid(t[3]))
                return fail("expected: column NUMBER ACCESS TYPE [DEFAULT]");
            auto col = ParseNumber(t[1], 1, 4294967295LL);
            Column c;
            if (!col || !ParseAccess(t[2], c.writable, c.limits))
                return fail("bad column number or access");
            auto probe = ParseValue(t[3][0], t[3][0] == 'o' ? "0.0" : t[3][0] == 'a' ? "0.0.0.0" : t[3][0] == 's' || t[3][0] == 'x' ? "" : "0", &why);
            c.type = probe->type;
            if (t.size() == 5) {
                c.defaultValue = ParseValue(t[3][0], t[4], &why);
                if (!c.defaultValue)
                    return fail(why);
            }
            tables.back().columns[static_cast<oid>(*col)] = c;
            continue;
        }
        // OID ACCESS TYPE VALUE
        auto name = ParseOid(t[0]);
        if (!name)
            return fail("bad OID '" + t[0] + "'");
        if (t.size() != 4 || !TypeLetterValid(t[2]))
            return fail("expected: OID ACCESS TYPE VALUE");
        Object obj;
        if (!ParseAccess(t[1], obj.writable, obj.limits))
            return fail("bad access '" + t[1] + "'");
        auto value = ParseValue(t[2][0], t[3], &why);
        if (!value)
            return fail(why);
        obj.value = *value;
        objects[*name] = obj;
    }
    m_objects = std::move(objects);
    m_tables = std::move(tables);
    return true;
}

const Object* MibStore::find(const Oid& name) const
{
    auto it = m_objects.find(name);
    return it == m_objects.end() ? nullptr : &it->second;
}

const std::pair<const Oid, Object>* MibStore::next(const Oid& name) const
{
    auto it = m_objects.upper_bound(name);
    return it == m_objects.end() ? nullptr : &*it;
}

void MibStore::put(const Oid& name, const Value& value, bool writable)
{
    auto it = m_objects.find(name);
    if (it != m_objects.end()) {
        it->second.value = value;
        return;
    }
    oid column = 0;
    Oid index;
    Object obj{value, writable, std::nullopt};
    if (const RowTable* table = tableOf(name, &column, &index)) {
        auto c = table->columns.find(column);
        if (c != table->columns.end()) {
            obj.writable = c->second.writable;
            obj.limits = c->second.limits;
        }
    }
    m_objects[name] = obj;
}

void MibStore::erase(const Oid& name)
{
    m_objects.erase(name);
}

const RowTable* MibStore::tableOf(const Oid& name, oid* column, Oid* index) const
{
    for (const RowTable& table : m_tables) {
        if (name.size() > table.entry.size() + 1 && OidUnder(name, table.entry)) {
            *column = name[table.entry.size()];
            index->assign(name.begin() + table.entry.size() + 1, name.end());
            return &table;
        }
    }
    return nullptr;
}

static bool TypesMatch(u_char expected, u_char given)
{
    return expected == given;
}

static int CheckLimits(const std::optional<Limits>& limits, const Value& v)
{
    if (!limits)
        return SNMP_ERR_NOERROR;
    if (v.type == ASN_OCTET_STR) {
        auto n = static_cast<long long>(v.bytes.size());
        return n < limits->low || n > limits->high ? SNMP_ERR_WRONGLENGTH : SNMP_ERR_NOERROR;
    }
    return v.number < limits->low || v.number > limits->high ? SNMP_ERR_WRONGVALUE : SNMP_ERR_NOERROR;
}

namespace {
// RMON EntryStatus values, and the operation "stay under creation".
constexpr long kValid = 1;
constexpr long kCreateRequest = 2;
constexpr long kUnderCreation = 3;
constexpr long kInvalid = 4;
constexpr long kKeepUnderCreation = -3;
} // namespace

SetOutcome MibStore::applyTo(std::map<Oid, Object>& objects, const std::vector<SetRequest>& requests) const
{
    struct RowKey
    {
        const RowTable* table;
        Oid index;
        bool operator<(const RowKey& o) const { return std::tie(table, index) < std::tie(o.table, o.index); }
    };
    struct StatusOp
    {
        RowKey row;
        long status;
        int index;   // 1-based varbind index
    };
    std::vector<StatusOp> statusOps;
    std::vector<size_t> valueSets;
    std::set<RowKey> created;
    std::set<RowKey> touched;

    auto cell = [](const RowKey& row, oid column) {
        Oid o = row.table->entry;
        o.push_back(column);
        o.insert(o.end(), row.index.begin(), row.index.end());
        return o;
    };
    auto rowExists = [&](const RowKey& row) { return objects.count(cell(row, row.table->rowStatusColumn)) > 0; };
    auto fail = [](int status, size_t i) { return SetOutcome{status, static_cast<int>(i + 1)}; };

    // Which rows this request creates: other columns of such rows may be set
    // in the same request.
    for (const SetRequest& r : requests) {
        oid column = 0;
        Oid index;
        const RowTable* table = tableOf(r.name, &column, &index);
        if (table && column == table->rowStatusColumn && r.value.type == ASN_INTEGER
            && (table->entryStatus ? r.value.number == kCreateRequest
                                   : r.value.number == RS_CREATEANDGO || r.value.number == RS_CREATEANDWAIT))
            created.insert({table, index});
    }

    // Validation, in varbind order: the first fault is the one answered.
    for (size_t i = 0; i < requests.size(); ++i) {
        const SetRequest& r = requests[i];
        oid column = 0;
        Oid index;
        const RowTable* table = tableOf(r.name, &column, &index);
        auto it = objects.find(r.name);

        if (table && column == table->rowStatusColumn) {
            if (r.value.type != ASN_INTEGER)
                return fail(SNMP_ERR_WRONGTYPE, i);
            RowKey row{table, index};
            bool exists = it != objects.end();
            long op = static_cast<long>(r.value.number);
            if (table->entryStatus)
                op = op == kValid ? RS_ACTIVE : op == kCreateRequest ? RS_CREATEANDWAIT
                   : op == kUnderCreation ? kKeepUnderCreation : op == kInvalid ? RS_DESTROY : -1;
            else if (op == kKeepUnderCreation)
                op = -1;
            switch (op) {
            case RS_CREATEANDGO:
            case RS_CREATEANDWAIT:
                if (exists)
                    return fail(SNMP_ERR_INCONSISTENTVALUE, i);
                if (index.empty()
                    || (table->indexLimits
                        && (index.size() != 1 || static_cast<long long>(index[0]) < table->indexLimits->low
                            || static_cast<long long>(index[0]) > table->indexLimits->high)))
                    return fail(SNMP_ERR_NOCREATION, i);
                break;
            case RS_ACTIVE:
            case RS_NOTINSERVICE:
            case kKeepUnderCreation:
                if (!exists)
                    return fail(SNMP_ERR_INCONSISTENTVALUE, i);
                break;
            case RS_DESTROY:
                break;
            default:
                return fail(SNMP_ERR_WRONGVALUE, i);
            }
            statusOps.push_back({row, op, static_cast<int>(i + 1)});
            continue;
        }

        if (it != objects.end()) {
            const Object& obj = it->second;
            if (!obj.writable)
                return fail(SNMP_ERR_NOTWRITABLE, i);
            if (!TypesMatch(obj.value.type, r.value.type))
                return fail(SNMP_ERR_WRONGTYPE, i);
            if (int e = CheckLimits(obj.limits, r.value))
                return fail(e, i);
            valueSets.push_back(i);
            if (table)
                touched.insert({table, index});
            continue;
        }

        if (table) {
            auto c = table->columns.find(column);
            RowKey row{table, index};
            if (c == table->columns.end() || (!rowExists(row) && !created.count(row)))
                return fail(SNMP_ERR_NOCREATION, i);
            if (!c->second.writable)
                return fail(SNMP_ERR_NOTWRITABLE, i);
            if (!TypesMatch(c->second.type, r.value.type))
                return fail(SNMP_ERR_WRONGTYPE, i);
            if (int e = CheckLimits(c->second.limits, r.value))
                return fail(e, i);
            valueSets.push_back(i);
            touched.insert(row);
            continue;
        }
        return fail(SNMP_ERR_NOCREATION, i);
    }

    // Commit to the copy: destroy, create, values, then the rows' states.
    auto eraseRow = [&](const RowKey& row) {
        for (const auto& [column, def] : row.table->columns)
            objects.erase(cell(row, column));
    };
    for (const StatusOp& op : statusOps)
        if (op.status == RS_DESTROY)
            eraseRow(op.row);
    for (const StatusOp& op : statusOps) {
        if (op.status != RS_CREATEANDGO && op.status != RS_CREATEANDWAIT)
            continue;
        for (const auto& [column, def] : op.row.table->columns)
            if (def.defaultValue && column != op.row.table->rowStatusColumn)
                objects[cell(op.row, column)] = Object{*def.defaultValue, def.writable, def.limits};
        Value status;
        status.type = ASN_INTEGER;
        status.number = RS_NOTREADY;
        objects[cell(op.row, op.row.table->rowStatusColumn)] = Object{status, true, std::nullopt};
    }
    for (size_t i : valueSets) {
        const SetRequest& r = requests[i];
        auto it = objects.find(r.name);
        if (it != objects.end()) {
            it->second.value = r.value;
            continue;
        }
        oid column = 0;
        Oid index;
        const RowTable* table = tableOf(r.name, &column, &index);
        RowKey row{table, index};
        if (!rowExists(row))   // destroyed again in this very request
            return fail(SNMP_ERR_INCONSISTENTVALUE, i);
        const Column& def = table->columns.at(column);
        objects[r.name] = Object{r.value, def.writable, def.limits};
    }

    auto complete = [&](const RowKey& row) {
        for (const auto& [column, def] : row.table->columns)
            if (column != row.table->rowStatusColumn && !def.defaultValue && !objects.count(cell(row, column)))
                return false;
        return true;
    };
    auto setStatus = [&](const RowKey& row, long status) {
        objects[cell(row, row.table->rowStatusColumn)].value.number = status;
    };
    for (const RowKey& row : touched) {
        if (row.table->entryStatus)
            continue;   // underCreation until valid is set
        auto it = objects.find(cell(row, row.table->rowStatusColumn));
        if (it != objects.end() && it->second.value.number == RS_NOTREADY && complete(row))
            setStatus(row, RS_NOTINSERVICE);
    }
    for (const StatusOp& op : statusOps) {
        if (op.status == RS_DESTROY)
            continue;
        if (!rowExists(op.row))
            return SetOutcome{SNMP_ERR_INCONSISTENTVALUE, op.index};
        bool full = complete(op.row);
        switch (op.status) {
        case RS_CREATEANDWAIT:
            setStatus(op.row, op.row.table->entryStatus ? kUnderCreation : full ? RS_NOTINSERVICE : RS_NOTREADY);
            break;
        case kKeepUnderCreation:
            setStatus(op.row, kUnderCreation);
            break;
        case RS_CREATEANDGO:
        case RS_ACTIVE:
            if (!full)
                return SetOutcome{SNMP_ERR_INCONSISTENTVALUE, op.index};
            setStatus(op.row, RS_ACTIVE);
            break;
        case RS_NOTINSERVICE:
            if (!full)
                return SetOutcome{SNMP_ERR_INCONSISTENTVALUE, op.index};
            setStatus(op.row, RS_NOTINSERVICE);
            break;
        }
    }
    return {};
}

SetOutcome MibStore::applySet(const std::vector<SetRequest>& requests)
{
    return applyTo(m_objects, requests);
}
