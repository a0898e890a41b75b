#pragma once

#include "ElxInterface.h"

// The text a group captured last (an open group: from its start to the
// current position). Fails when the group has no capture.
class CBackrefElxT : public ElxInterface
{
public:
    CBackrefElxT(int nNumber, int bRightLeft, int bIgnoreCase);

    int Match(CMatchContext* pContext) const override;
    int Retry(CMatchContext* pContext) const override;

    int m_nnumber;  // set late for named references; -1 unresolved

private:
    int m_brightleft;
    int m_bignorecase;
};
