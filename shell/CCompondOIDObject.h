#pragma once

// The compound OID set of one PORT element: several OIDs read in one
// request whose values together decide the port's picture (its link, its
// PoE state, its active medium). The kind of the first entry selects the
// rule that turns the values into one.

#include <QString>
#include <vector>

struct CCompondOIDEntry
{
    int kind = 1;
    QString OID;
    QString value;
};

class CCompondOIDObject
{
public:
    enum Kind { KIND_OTHER = 0, KIND_LINK = 1, KIND_POE = 2, KIND_POEMODE = 3, KIND_PORTTYPE = 4 };
    // Entries beyond this many in one element are ignored.
    static constexpr int kMaxEntries = 10;

    // Kind of an entry by its element name ("POEMODEOID", "PORTTYPE",
    // "POEOID", "LINKOID"; any other name 0).
    static int KindOf(const QString& elementName);

    // False (nothing added) once the set is full.
    bool Add(const QString& elementName, const QString& oid);

    int GetCount() const { return int(m_arrEntries.size()); }
    int FirstKind() const { return m_arrEntries.empty() ? -1 : m_arrEntries.front().kind; }

    // Three entries, the first a PoE mode: the link value when the mode
    // reads "LINKOID", else the PoE value. Otherwise empty.
    QString GetPoeModeValue() const;
    // Two entries, the first a port type: entry 1's value when the medium
    // matches the element's type (CABLEOID for CABLE, FIBEROID for FIBER),
    // else "1". Otherwise empty.
    QString GetMediumValue(const QString& type) const;
    // Two entries: the first that is not "1", else "1". A single entry
    // shows its own value. Otherwise empty.
    QString GetValue() const;

    std::vector<CCompondOIDEntry> m_arrEntries;
};
