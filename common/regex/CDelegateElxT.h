#pragma once

#include "ElxInterface.h"

#include <string>

// A call of a group's node, or of the whole pattern (group 0). Calls nest at
// most kMaxCallDepth deep, so a pattern that calls itself without consuming
// fails instead of exhausting the stack. Unresolved calls match the empty
// string.
class CDelegateElxT : public ElxInterface
{
public:
    explicit CDelegateElxT(int nNumber, std::string name = {});

    int Match(CMatchContext* pContext) const override;
    int Retry(CMatchContext* pContext) const override;

    static constexpr int kMaxCallDepth = 200;

    ElxInterface* m_pelx = nullptr;  // not owned; set when the tree is complete
    int m_nnumber;
    std::string m_szName;
};
