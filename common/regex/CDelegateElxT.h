#pragma once

#include "ElxInterface.h"

#include <string>

// A call of a group's node, or of the whole pattern (group 0). A call that
// re-enters a group already running from the same position fails (it could
// only repeat that call's ways, endlessly), and calls nest at most
// kMaxCallDepth deep, so a pattern that calls itself fails instead of
// exhausting the stack or trying ways without end. Unresolved calls match
// the empty string.
class CDelegateElxT : public ElxInterface
{
public:
    explicit CDelegateElxT(int nNumber, std::string name = {});

    int Match(CMatchContext* pContext) const override;
    int Retry(CMatchContext* pContext) const override;

    static constexpr int kMaxCallDepth = 200;

private:
    // Runs step (the called node's Match, bFirst, or Retry) as a call
    // entered at pos; on success pushes pos for the next Retry.
    template <class Step>
    int Enter(CMatchContext* pContext, int pos, bool bFirst, Step step) const;

public:

    ElxInterface* m_pelx = nullptr;  // not owned; set when the tree is complete
    int m_nnumber;
    std::string m_szName;
};
