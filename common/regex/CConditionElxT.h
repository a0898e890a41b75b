#pragma once

#include "ElxInterface.h"

#include <string>

// (?(cond)yes|no): the yes branch when a group has a capture or an
// assertion holds, else the no branch; a missing branch matches empty.
class CConditionElxT : public ElxInterface
{
public:
    CConditionElxT() = default;

    int Match(CMatchContext* pContext) const override;
    int Retry(CMatchContext* pContext) const override;

    ElxInterface* m_pelxask = nullptr;  // assertion condition, or null
    int m_nnumber = -1;                 // group condition
    std::string m_szName;               // named group condition, resolved late
    ElxInterface* m_pelxyes = nullptr;
    ElxInterface* m_pelxno = nullptr;
};
