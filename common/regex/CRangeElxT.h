#pragma once

#include "CCharSetElxT.h"

#include <vector>

// One character: inside one of the ranges, equal to one of the single
// characters, or accepted by an embedded class node; negated nodes take
// every other character. Codes are compared as signed 8-bit values.
class CRangeElxT : public CCharSetElxT
{
public:
    CRangeElxT(int bRightLeft, int bInvert);

    bool IsContainChar(int ch) const override;

    void AddRange(int from, int to) { m_ranges.push_back(from); m_ranges.push_back(to); }
    void AddChar(int ch) { m_chars.push_back(ch); }
    void AddEmbedded(const ElxInterface* pElx) { m_embedded.push_back(pElx); }
    // Adds the other case of every letter range and single letter.
    void AddOtherCase();

private:
    std::vector<int> m_ranges;  // from, to pairs
    std::vector<int> m_chars;
    std::vector<const ElxInterface*> m_embedded;  // CRangeElxT or CPosixElxT, not owned
    int m_binvert;
};
