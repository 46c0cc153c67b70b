// What each of the plug-in's rules looks for in a document, read the way the
// rules read it (schema_reader.h), rule by rule in the order the conversion
// runs them. The one reading serves `ptbridge check`, which lists every
// requirement; the explanation of a failed conversion, which names the first
// one missing; and the report of `devmode`, which says what was restored.
#pragma once

#include "conversion.h"
#include "schema_reader.h"

#include "common/platform.h"

#include <string>
#include <utility>
#include <vector>

namespace ptbridge {

struct Requirement {
    Requirement() = default;
    Requirement(std::string subject, bool met, bool needed, int line, std::string missing)
        : subject(std::move(subject)), met(met), needed(needed), line(line),
          missing(std::move(missing)) {}

    std::string subject; // what is looked for, e.g. "feature pv:JobPresentationDirection"
    bool met = false;
    // Needed: unmet, the rule returns false. Otherwise the rule only leaves
    // out the edit it concerns (an output bin the device may not have).
    bool needed = true;
    int line = 0;        // of the element it concerns or is missing from; 0 when unknown
    std::string missing; // unmet: what is missing, as a phrase
    std::string place;   // for the device: "FILE:LINE" of the GPD entry it concerns
};

struct RuleReading {
    std::string rule;    // the plug-in's rule, e.g. "PublishPresentationDirection"
    std::string subject; // what it maps, e.g. "the presentation direction"
    std::string task;    // what it does to the document when it succeeds
    std::vector<Requirement> requirements;

    // Whether the rule returns true: every needed requirement is met.
    bool Succeeds() const;
    const Requirement* FirstMissing() const;
};

struct ConversionReading {
    Conversion conversion = Conversion::DevModeToPrintTicket;
    std::vector<RuleReading> rules;

    // The result the conversion returns: S_OK, or E_FAIL from the first rule
    // that fails (only the publishing conversions report a failure).
    HRESULT Result() const;
    // Whether every needed requirement of every rule is met.
    bool AllMet() const;
    // What the conversion stops at, as a phrase; empty when it succeeds.
    std::string FirstMissing() const;
};

// Reads what `conversion` looks for in the document open in `reader`.
// `privateNamespace` is the plug-in's namespace, as BindPrinter reported it.
ConversionReading ReadConversion(Conversion conversion, SchemaReader& reader,
                                 const std::u16string& privateNamespace);

// The first part of `document` that the conversion's rules need and do not
// find, as a phrase such as "no feature psk:JobOutputBin in namespace ... at
// any depth"; empty when the document holds everything the rules look for.
std::string FindMissingPart(Conversion conversion, IXMLDOMDocument2* document,
                            const std::u16string& privateNamespace);

} // namespace ptbridge
