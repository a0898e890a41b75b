#pragma once

// A node of a compiled pattern. Match tries the first way to match at the
// context's current position, moves the position past what it consumed and
// returns non-zero on success. Retry undoes the node's last success and tries
// its next way; a node with no further way restores the position (and every
// stack entry it made) and returns 0. A node that fails Match leaves nothing
// behind either, which is what lets a parent retry its earlier children.

class CMatchContext;

class ElxInterface
{
public:
    virtual int Match(CMatchContext* pContext) const = 0;
    virtual int Retry(CMatchContext* pContext) const = 0;
    virtual ~ElxInterface() = default;
};
