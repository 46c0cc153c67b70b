// The cases of the DOM behaviour suite that are known to fail on the MSXML 6
// under test, each with its reason: where Wine's MSXML differs from MSXML's
// documentation (these apply only under Wine), and where a case still expects
// a stand-in behaviour that differs from it (these apply on any MSXML).
#pragma once

#include <string>
#include <vector>

struct KnownDifference {
    enum Kind {
        // Wine's MSXML differs from MSXML's documented behaviour.
        WineDiffers,
        // The case expects the stand-in's behaviour where it knowingly
        // differs from MSXML's documentation (msxml_standin.h).
        StandInDiffers,
    };
    const char* test; // "Suite.Case"
    Kind kind;
    const char* reason;
};

// Every known difference, whether or not it applies here.
const std::vector<KnownDifference>& KnownDifferences();

// The known difference of the case named "Suite.Case" on the platform the
// program runs on; null when there is none.
const KnownDifference* FindKnownDifference(const std::string& test);

// "Wine differs from MSXML: reason" or "stand-in differs from MSXML: reason".
std::string DescribeKnownDifference(const KnownDifference& difference);

// Whether the program runs under Wine.
bool RunningUnderWine();
