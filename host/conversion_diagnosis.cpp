#include "conversion_diagnosis.h"

#include "print_schema_names.h"
#include "text_encoding.h"

#include <string>
#include <utility>

namespace ptbridge {

namespace {
// The restore rule reads a bin type into a buffer of this many characters,
// its terminator included.
constexpr size_t BinTypeBuffer = 256;

std::string Utf8(const std::u16string& text) {
    return Utf8FromUtf16(text);
}

// The rules' checks, each adding the requirements of one rule.
class RuleChecks {
  public:
    RuleChecks(SchemaReader& reader, const std::u16string& privateNamespace)
        : reader_(reader), private_(privateNamespace), rootLine_(reader.LineOf(reader.Root())) {}

    RuleReading PublishPresentationDirection() {
        RuleReading rule{"PublishPresentationDirection",
                         "the presentation direction",
                         Shown(private_, u"JobPresentationDirection") + " moved into " +
                             Shown(KeywordsNamespace, u"JobNUpAllDocumentsContiguously") + " as " +
                             Shown(KeywordsNamespace, u"PresentationDirection"),
                         {}};
        ComPtr<IXMLDOMNode> feature;
        rule.requirements.push_back(FindFeature(private_, u"JobPresentationDirection", &feature));
        std::u16string publicName;
        std::string why;
        const bool renamed =
            reader_.MakeQName(KeywordsNamespace, u"PresentationDirection", &publicName, &why);
        rule.requirements.push_back(
            Prefix(KeywordsNamespace, "to rename it PresentationDirection", renamed,
                   Shown(private_, u"JobPresentationDirection") +
                       " cannot be renamed PresentationDirection in namespace " +
                       Utf8(KeywordsNamespace) + ": " + why));
        ComPtr<IXMLDOMNode> parent;
        Requirement found =
            FindFeature(KeywordsNamespace, u"JobNUpAllDocumentsContiguously", &parent);
        const std::string leftInPlace = " (it was left in place, renamed " + Utf8(publicName) + ")";
        if (feature && renamed)
            found.missing +=
                " to move " + Shown(private_, u"JobPresentationDirection") + " into" + leftInPlace;
        rule.requirements.push_back(found);
        if (feature && parent) {
            Requirement outside{Shown(KeywordsNamespace, u"JobNUpAllDocumentsContiguously") +
                                    " outside " + Shown(private_, u"JobPresentationDirection"),
                                !SchemaReader::Contains(feature.Get(), parent.Get()), true,
                                reader_.LineOf(parent.Get()), ""};
            if (!outside.met)
                outside.missing = Shown(KeywordsNamespace, u"JobNUpAllDocumentsContiguously") +
                                  " lies inside " + Shown(private_, u"JobPresentationDirection") +
                                  ", which cannot be moved into it" + (renamed ? leftInPlace : "");
            rule.requirements.push_back(outside);
        }
        return rule;
    }

    RuleReading PublishOutputBinTypes() {
        RuleReading rule{"PublishOutputBinTypes",
                         "the output bins",
                         Shown(private_, u"Center") + " given the bin type " +
                             Shown(private_, u"Tray") + " and " + Shown(private_, u"Finisher") +
                             " the bin type " + Shown(KeywordsNamespace, u"Stacker"),
                         {}};
        ComPtr<IXMLDOMNode> feature;
        rule.requirements.push_back(FindFeature(KeywordsNamespace, u"JobOutputBin", &feature));
        if (!feature)
            return rule;
        const std::pair<const char16_t*, std::string> bins[] = {
            {u"Center", Shown(private_, u"Tray")},
            {u"Finisher", Shown(KeywordsNamespace, u"Stacker")}};
        for (const auto& [option, binType] : bins)
            rule.requirements.push_back(
                FindOption(feature.Get(), option, "it gets no bin type " + binType));
        for (const std::u16string& uri : {XsiNamespace, XsdNamespace})
            rule.requirements.push_back(ValuePrefix(uri, "the bin types", false));
        return rule;
    }

    RuleReading PublishHoleCount() {
        RuleReading rule{"PublishHoleCount",
                         "the hole count",
                         "the device's hole count written into the first option of " +
                             Shown(KeywordsNamespace, u"JobHolePunch") + " as " +
                             Shown(KeywordsNamespace, u"HoleCount"),
                         {}};
        ComPtr<IXMLDOMNode> feature;
        rule.requirements.push_back(FindFeature(KeywordsNamespace, u"JobHolePunch", &feature));
        if (feature) {
            ComPtr<IXMLDOMNode> option;
            std::u16string optionElement;
            bool found = reader_.MakeQName(FrameworkNamespace, u"Option", &optionElement) &&
                         reader_.FirstBelow(feature.Get(), optionElement, &option);
            rule.requirements.push_back(
                {"an option in " + Shown(KeywordsNamespace, u"JobHolePunch"), found, true,
                 reader_.LineOf(found ? option.Get() : feature.Get()),
                 found ? "" : Shown(KeywordsNamespace, u"JobHolePunch") + " has no option"});
        }
        for (const std::u16string& uri : {XsiNamespace, XsdNamespace})
            rule.requirements.push_back(ValuePrefix(uri, "the hole count", true));
        return rule;
    }

    RuleReading RestorePresentationDirection() {
        RuleReading rule{"RestorePresentationDirection",
                         "the presentation direction",
                         Shown(KeywordsNamespace, u"PresentationDirection") +
                             " moved back to the top level as " +
                             Shown(private_, u"JobPresentationDirection"),
                         {}};
        ComPtr<IXMLDOMNode> parent;
        rule.requirements.push_back(
            FindFeature(KeywordsNamespace, u"JobNUpAllDocumentsContiguously", &parent));
        if (parent) {
            ComPtr<IXMLDOMNode> feature;
            Requirement inside =
                FindFeature(KeywordsNamespace, u"PresentationDirection", &feature, parent.Get());
            inside.subject +=
                " inside " + Shown(KeywordsNamespace, u"JobNUpAllDocumentsContiguously");
            if (!inside.met)
                inside.missing += " inside " +
                                  Shown(KeywordsNamespace, u"JobNUpAllDocumentsContiguously") +
                                  " (one elsewhere is not restored)";
            rule.requirements.push_back(inside);
        }
        std::u16string privateName;
        std::string why;
        bool named = reader_.MakeQName(private_, u"JobPresentationDirection", &privateName, &why);
        rule.requirements.push_back(
            Prefix(private_, "to rename it JobPresentationDirection", named,
                   Shown(KeywordsNamespace, u"PresentationDirection") +
                       " cannot be renamed JobPresentationDirection in namespace " +
                       Utf8(private_) + ": " + why));
        return rule;
    }

    RuleReading RestoreOutputBinOptions() {
        RuleReading rule{"RestoreOutputBinOptions",
                         "the output bin",
                         "the chosen output bin named from its bin type (" +
                             Shown(private_, u"Tray") + " gives " + Shown(private_, u"Center") +
                             ", " + Shown(KeywordsNamespace, u"Stacker") + " gives " +
                             Shown(private_, u"Finisher") + ")",
                         {}};
        ComPtr<IXMLDOMNode> feature;
        rule.requirements.push_back(FindFeature(KeywordsNamespace, u"JobOutputBin", &feature));
        if (!feature)
            return rule;
        const std::string bin = Shown(KeywordsNamespace, u"JobOutputBin");
        ComPtr<IXMLDOMNode> option;
        std::u16string optionElement;
        bool found = reader_.MakeQName(FrameworkNamespace, u"Option", &optionElement) &&
                     reader_.FirstBelow(feature.Get(), optionElement, &option);
        rule.requirements.push_back({"an option in " + bin, found, true,
                                     reader_.LineOf(found ? option.Get() : feature.Get()),
                                     found ? "" : bin + " has no option"});
        if (!found)
            return rule;
        const std::string binType = Shown(KeywordsNamespace, u"BinType");
        ComPtr<IXMLDOMNode> property;
        std::u16string propertyElement;
        std::u16string propertyName;
        found = reader_.MakeQName(FrameworkNamespace, u"ScoredProperty", &propertyElement) &&
                reader_.MakeQName(KeywordsNamespace, u"BinType", &propertyName) &&
                reader_.FindNamed(option.Get(), propertyElement, propertyName, &property) ==
                    Search::Found;
        rule.requirements.push_back(
            {"scored property " + binType + " in the first option of " + bin, found, true,
             reader_.LineOf(found ? property.Get() : option.Get()),
             found ? ""
                   : "the first option of " + bin + " has no " + binType +
                         " (only the first is read)"});
        if (!found)
            return rule;
        ComPtr<IXMLDOMNode> value;
        std::u16string valueElement;
        std::u16string text;
        found = reader_.MakeQName(FrameworkNamespace, u"Value", &valueElement) &&
                reader_.FirstBelow(property.Get(), valueElement, &value) &&
                SchemaReader::Text(value.Get(), &text);
        rule.requirements.push_back({"a value in " + binType, found, true,
                                     reader_.LineOf(found ? value.Get() : property.Get()),
                                     found ? "" : binType + " has no value"});
        if (!found)
            return rule;
        const int line = reader_.LineOf(value.Get());
        const bool fits = text.size() < BinTypeBuffer;
        rule.requirements.push_back(
            {"a bin type shorter than " + std::to_string(BinTypeBuffer) + " characters", fits, true,
             line,
             fits ? ""
                  : "the bin type has " + std::to_string(text.size()) +
                        " characters; the plug-in reads at most " +
                        std::to_string(BinTypeBuffer - 1)});
        std::u16string tray;
        std::u16string stacker;
        std::string why;
        const bool comparable = reader_.MakeQName(private_, u"Tray", &tray, &why);
        rule.requirements.push_back(
            Prefix(private_, "to compare the bin type with Tray", comparable,
                   "the bin type cannot be compared with Tray in "
                   "namespace " +
                       Utf8(private_) + ": " + why + " (so not even " +
                       Shown(KeywordsNamespace, u"Stacker") + " is named back)"));
        if (!fits || !comparable)
            return rule;
        reader_.MakeQName(KeywordsNamespace, u"Stacker", &stacker);
        const bool known = text == tray || text == stacker;
        rule.requirements.push_back(
            {"a bin type of the table, " + Utf8(tray) + " or " + Utf8(stacker), known, true, line,
             known ? ""
                   : "the bin type '" + Utf8(text) + "' is neither " + Utf8(tray) + " nor " +
                         Utf8(stacker) + " (compared as text, case included)"});
        if (known)
            rule.task = "the chosen output bin named " +
                        Shown(private_, text == tray ? u"Center" : u"Finisher") +
                        " from its bin type " + Utf8(text);
        return rule;
    }

  private:
    // Finds a feature as the rules do, below `parent` or in the whole document.
    Requirement FindFeature(const std::u16string& uri, const std::u16string& local,
                            ComPtr<IXMLDOMNode>* found, IXMLDOMNode* parent = nullptr) {
        Requirement requirement{"feature " + Shown(uri, local), false, true,
                                parent ? reader_.LineOf(parent) : rootLine_, ""};
        std::u16string wanted;
        std::string why;
        if (!reader_.MakeQName(uri, local, &wanted, &why)) {
            requirement.missing =
                "no feature " + Utf8(local) + " in namespace " + Utf8(uri) + ": " + why;
            return requirement;
        }
        std::u16string featureElement;
        if (!reader_.MakeQName(FrameworkNamespace, u"Feature", &featureElement, &why)) {
            requirement.missing = "no Feature element in namespace " + Utf8(FrameworkNamespace) +
                                  " can be found: " + why;
            return requirement;
        }
        switch (reader_.FindNamed(parent, featureElement, wanted, found)) {
        case Search::Found:
            requirement.met = true;
            requirement.line = reader_.LineOf(found->Get());
            break;
        case Search::NotFound:
            requirement.missing = "no feature " + Utf8(wanted) + " in namespace " + Utf8(uri) +
                                  (parent ? "" : " at any depth");
            break;
        case Search::Failed:
            requirement.missing = "the document could not be searched for feature " + Utf8(wanted);
            break;
        }
        return requirement;
    }

    // An option the output-bin rule gives a bin type; without it the rule
    // leaves out that edit, `effect`.
    Requirement FindOption(IXMLDOMNode* feature, const std::u16string& local,
                           const std::string& effect) {
        Requirement requirement{"option " + Shown(private_, local) + " in " +
                                    Shown(KeywordsNamespace, u"JobOutputBin"),
                                false, false, reader_.LineOf(feature), ""};
        std::u16string wanted;
        std::string why;
        if (!reader_.MakeQName(private_, local, &wanted, &why)) {
            requirement.missing = "no option " + Utf8(local) + " in namespace " + Utf8(private_) +
                                  ": " + why + "; " + effect;
            return requirement;
        }
        ComPtr<IXMLDOMNode> option;
        requirement.met = reader_.FindOption(feature, wanted, &option) == Search::Found;
        if (requirement.met)
            requirement.line = reader_.LineOf(option.Get());
        else
            requirement.missing = "no option " + Utf8(wanted) +
                                  " (by its name or its OptionName) in " +
                                  Shown(KeywordsNamespace, u"JobOutputBin") + ": " + effect;
        return requirement;
    }

    Requirement Prefix(const std::u16string& uri, const std::string& purpose, bool met,
                       const std::string& missing) {
        return {"a root prefix for namespace " + Utf8(uri) + " (" + purpose + ")", met, true,
                rootLine_, met ? "" : missing};
    }

    // A prefix the value of a new scored property is written with: xsi for
    // its xsi:type attribute, xsd for the type's name.
    Requirement ValuePrefix(const std::u16string& uri, const std::string& values, bool needed) {
        std::u16string qName;
        std::string why;
        bool met = reader_.MakeQName(uri, u"type", &qName, &why);
        Requirement requirement = Prefix(
            uri, "to write the type of " + values, met,
            "the value of " + values + " cannot be written with namespace " + Utf8(uri) + ": " +
                why + (needed ? "" : " (the scored property is added without a value)"));
        requirement.needed = needed;
        return requirement;
    }

    // A name as the rules write it, or as {namespace}local when they cannot.
    std::string Shown(const std::u16string& uri, const std::u16string& local) {
        std::u16string qName;
        if (reader_.MakeQName(uri, local, &qName))
            return Utf8(qName);
        return "{" + Utf8(uri) + "}" + Utf8(local);
    }

    SchemaReader& reader_;
    const std::u16string& private_;
    const int rootLine_;
};
} // namespace

bool RuleReading::Succeeds() const {
    return FirstMissing() == nullptr;
}

const Requirement* RuleReading::FirstMissing() const {
    for (const Requirement& requirement : requirements) {
        if (requirement.needed && !requirement.met)
            return &requirement;
    }
    return nullptr;
}

HRESULT ConversionReading::Result() const {
    return FirstMissing().empty() ? S_OK : E_FAIL;
}

bool ConversionReading::AllMet() const {
    for (const RuleReading& rule : rules) {
        if (!rule.Succeeds())
            return false;
    }
    return true;
}

std::string ConversionReading::FirstMissing() const {
    // Restoring ignores what its rules return.
    if (conversion == Conversion::PrintTicketToDevMode)
        return {};
    for (const RuleReading& rule : rules) {
        if (const Requirement* missing = rule.FirstMissing())
            return missing->missing;
    }
    return {};
}

ConversionReading ReadConversion(Conversion conversion, SchemaReader& reader,
                                 const std::u16string& privateNamespace) {
    RuleChecks checks(reader, privateNamespace);
    ConversionReading reading;
    reading.conversion = conversion;
    switch (conversion) {
    case Conversion::DevModeToPrintTicket:
        reading.rules = {checks.PublishPresentationDirection(), checks.PublishOutputBinTypes(),
                         checks.PublishHoleCount()};
        break;
    case Conversion::CompleteCapabilities:
        reading.rules = {checks.PublishPresentationDirection(), checks.PublishOutputBinTypes()};
        break;
    case Conversion::PrintTicketToDevMode:
        reading.rules = {checks.RestorePresentationDirection(), checks.RestoreOutputBinOptions()};
        break;
    }
    return reading;
}

std::string FindMissingPart(Conversion conversion, IXMLDOMDocument2* document,
                            const std::u16string& privateNamespace) {
    SchemaReader reader(document, nullptr);
    if (!reader.Open())
        return "the document's root element and namespaces could not be read";
    return ReadConversion(conversion, reader, privateNamespace).FirstMissing();
}

} // namespace ptbridge
