#pragma once

// What a behaviour sees of the simulated switch: its objects, its model and
// the agent's few services (timers, a silent period). The agent implements it.

#include "MibStore.h"

#include <functional>
#include <string>

class Switch
{
public:
    virtual ~Switch() = default;

    // The objects as answered, and what a reboot comes back with.
    virtual MibStore& running() = 0;
    virtual MibStore& saved() = 0;
    virtual const MibStore& running() const = 0;

    // The model name (`--model`, e.g. "PQS-4400-52").
    virtual const std::string& model() const = 0;

    // Neither answer nor process any request for `ms` (a reboot).
    virtual void silence(int ms) = 0;

    // Runs `f` once, `ms` from now, or every `ms` until the switch stops.
    virtual void after(int ms, std::function<void()> f) = 0;
    virtual void every(int ms, std::function<void()> f) = 0;

    // Runs `f` once the request being handled has been answered (at once
    // outside a request): what would stop the answer from leaving waits here.
    virtual void afterRequest(std::function<void()> f) = 0;
};
