// Rewrites a Print Schema document so that its framework namespace is the
// default namespace: <psf:Feature name="psf:X"> becomes <Feature name="X">.
// The plug-in then asks the DOM for bare names (Feature, Option, ...), which
// Wine's MSXML finds: its getElementsByTagName compares local names only, so
// prefixed names find nothing there.
//
// A document is rewritten only where the result means what the original
// means and Wine's DOM serves it as MSXML would; otherwise the reason says why
// it cannot run under Wine.
#pragma once

#include <string>

struct FrameworkVariant {
    bool servable = false;
    std::string reason; // why not, when not servable
    std::string text;   // the rewritten document, when servable
};

FrameworkVariant MakeDefaultFrameworkVariant(const std::string& xml);
