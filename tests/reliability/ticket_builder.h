// PrintTickets built around the features the plug-in maps, in the three states
// a round trip passes through, with the parts that hostile documents vary.
// The text has no whitespace between elements.
#pragma once

#include <optional>
#include <string>

struct TicketShape {
    std::string privatePrefix = "pv";   // for the plug-in's private namespace
    std::string keywordsPrefix = "psk"; // for the Print Schema keywords
    bool privateDeclaredAtRoot = true;  // else only the private feature declares it
    std::string extraFeatures;          // placed before the mapped features
    std::string extraDeclarations;      // namespace declarations added to the root
};

// As the device writes it: the private presentation direction at the top
// level, the output bins Center and Finisher, and a hole-punch option.
std::string DeviceTicket(const TicketShape& shape = {});

// After ConvertDevModeToPrintTicket: the direction under the n-up feature, both
// bins with their bin type, and `holes` in the first hole-punch option (none
// when no value: what CompletePrintCapabilities leaves).
std::string PublishedTicket(const TicketShape& shape = {}, std::optional<int> holes = 3);

// The published ticket after ConvertPrintTicketToDevMode: the direction private
// again as the last feature; when `binRestored`, the first bin has lost its bin
// type (its name is the same), else both bins keep theirs.
std::string RestoredTicket(const TicketShape& shape = {}, bool binRestored = true);
