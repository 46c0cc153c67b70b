// The sample documents of examples/, compiled into the executable so that the
// commands work without a FILE from any working directory.
#pragma once

#include <string>

namespace ptbridge {

struct SampleDocument {
    const char* name; // file name under examples/
    std::string text;
};

// A PrintTicket as the core driver writes it from a DEVMODE (ticket command).
const SampleDocument& SampleTicket();
// The device's PrintCapabilities (capabilities command).
const SampleDocument& SampleCapabilities();
// A PrintTicket as an application hands it back for printing (devmode command).
const SampleDocument& SampleClientTicket();

} // namespace ptbridge
