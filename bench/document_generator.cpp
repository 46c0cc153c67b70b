#include "document_generator.h"

#include <cstdio>

namespace ptbridge {

namespace {
const char* const Namespaces =
    " xmlns:psf=\"http://schemas.microsoft.com/windows/2003/08/printing/printschemaframework\""
    " xmlns:psk=\"http://schemas.microsoft.com/windows/2003/08/printing/printschemakeywords\""
    " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
    " xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\""
    " xmlns:pv=\"http://ptbridge.example/printing/2005/08/printticket\""
    " version=\"1\">\n";

// Numbers have a fixed width so that every ordinary feature has the same size
// and the document grows exactly linearly with the feature count.
std::string Number(size_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "%07zu", value);
    return text;
}

std::string Value(const char* indent, const char* type, const std::string& text) {
    return std::string(indent) + "<psf:Value xsi:type=\"xsd:" + type + "\">" + text +
           "</psf:Value>\n";
}

std::string Property(const char* indent, const char* element, const std::string& name,
                     const char* type, const std::string& text) {
    std::string inner = std::string(indent) + "  ";
    return std::string(indent) + "<psf:" + element + " name=\"" + name + "\">\n" +
           Value(inner.c_str(), type, text) + indent + "</psf:" + element + ">\n";
}

// A capabilities feature offers every option with its display name and
// constraint; a ticket's feature holds the one option chosen.
void AppendOrdinaryFeature(std::string& out, bool capabilities, size_t feature, size_t options) {
    std::string id = Number(feature);
    out += "  <psf:Feature name=\"pv:DeviceFeature" + id + "\">\n";
    if (capabilities) {
        out += Property("    ", "Property", "psf:SelectionType", "QName", "psk:PickOne");
        out += Property("    ", "Property", "psk:DisplayName", "string", "Device feature " + id);
    }
    for (size_t option = 0; option < options; ++option) {
        std::string choice = Number(option);
        out += "    <psf:Option name=\"pv:Choice" + choice + "\"" +
               (capabilities ? " constrained=\"psk:None\"" : "") + ">\n";
        if (capabilities)
            out += Property("      ", "Property", "psk:DisplayName", "string",
                            "Choice " + choice + " of feature " + id);
        out += Property("      ", "ScoredProperty", "pv:Level", "integer", choice);
        out += "    </psf:Option>\n";
    }
    out += "  </psf:Feature>\n";
}

const char* const CapabilitiesTail = R"(  <psf:Feature name="pv:JobPresentationDirection">
    <psf:Property name="psf:SelectionType">
      <psf:Value xsi:type="xsd:QName">psk:PickOne</psf:Value>
    </psf:Property>
    <psf:Option name="psk:RightBottom" constrained="psk:None"/>
    <psf:Option name="psk:BottomRight" constrained="psk:None"/>
  </psf:Feature>
  <psf:Feature name="psk:JobNUpAllDocumentsContiguously">
    <psf:Property name="psf:SelectionType">
      <psf:Value xsi:type="xsd:QName">psk:PickOne</psf:Value>
    </psf:Property>
    <psf:Option constrained="psk:None">
      <psf:ScoredProperty name="psk:PagesPerSheet">
        <psf:Value xsi:type="xsd:integer">1</psf:Value>
      </psf:ScoredProperty>
    </psf:Option>
    <psf:Option constrained="psk:None">
      <psf:ScoredProperty name="psk:PagesPerSheet">
        <psf:Value xsi:type="xsd:integer">2</psf:Value>
      </psf:ScoredProperty>
    </psf:Option>
  </psf:Feature>
  <psf:Feature name="psk:JobOutputBin">
    <psf:Property name="psf:SelectionType">
      <psf:Value xsi:type="xsd:QName">psk:PickOne</psf:Value>
    </psf:Property>
    <psf:Option name="pv:Top" constrained="psk:None"/>
    <psf:Option name="pv:Center" constrained="psk:None"/>
    <psf:Option name="pv:Finisher" constrained="psk:None"/>
  </psf:Feature>
  <psf:Feature name="psk:JobHolePunch">
    <psf:Option name="psk:None" constrained="psk:None"/>
    <psf:Option name="psk:LeftEdge" constrained="psk:None"/>
  </psf:Feature>
</psf:PrintCapabilities>
)";

const char* const TicketTail = R"(  <psf:Feature name="pv:JobPresentationDirection">
    <psf:Option name="psk:RightBottom"/>
  </psf:Feature>
  <psf:Feature name="psk:JobNUpAllDocumentsContiguously">
    <psf:Option>
      <psf:ScoredProperty name="psk:PagesPerSheet">
        <psf:Value xsi:type="xsd:integer">2</psf:Value>
      </psf:ScoredProperty>
    </psf:Option>
  </psf:Feature>
  <psf:Feature name="psk:JobOutputBin">
    <psf:Option name="pv:Center"/>
    <psf:Option name="pv:Finisher"/>
  </psf:Feature>
  <psf:Feature name="psk:JobHolePunch">
    <psf:Option name="psk:LeftEdge"/>
  </psf:Feature>
</psf:PrintTicket>
)";

const char* const PublishedTicketTail = R"(  <psf:Feature name="psk:JobNUpAllDocumentsContiguously">
    <psf:Option>
      <psf:ScoredProperty name="psk:PagesPerSheet">
        <psf:Value xsi:type="xsd:integer">2</psf:Value>
      </psf:ScoredProperty>
    </psf:Option>
    <psf:Feature name="psk:PresentationDirection">
      <psf:Option name="psk:RightBottom"/>
    </psf:Feature>
  </psf:Feature>
  <psf:Feature name="psk:JobOutputBin">
    <psf:Option>
      <psf:ScoredProperty name="psk:BinType">
        <psf:Value xsi:type="xsd:QName">psk:Stacker</psf:Value>
      </psf:ScoredProperty>
    </psf:Option>
  </psf:Feature>
  <psf:Feature name="psk:JobHolePunch">
    <psf:Option name="psk:LeftEdge">
      <psf:ScoredProperty name="psk:HoleCount">
        <psf:Value xsi:type="xsd:integer">2</psf:Value>
      </psf:ScoredProperty>
    </psf:Option>
  </psf:Feature>
</psf:PrintTicket>
)";
} // namespace

std::string GenerateDocument(DocumentKind kind, size_t features, size_t options) {
    bool capabilities = kind == DocumentKind::Capabilities;
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += capabilities ? "<psf:PrintCapabilities" : "<psf:PrintTicket";
    out += Namespaces;
    for (size_t feature = 0; feature < features; ++feature)
        AppendOrdinaryFeature(out, capabilities, feature, options);
    switch (kind) {
    case DocumentKind::Capabilities:
        return out + CapabilitiesTail;
    case DocumentKind::Ticket:
        return out + TicketTail;
    case DocumentKind::PublishedTicket:
        break;
    }
    return out + PublishedTicketTail;
}

size_t FeaturesForSize(DocumentKind kind, size_t bytes, size_t options) {
    size_t fixed = GenerateDocument(kind, 0, options).size();
    size_t perFeature = GenerateDocument(kind, 1, options).size() - fixed;
    if (bytes <= fixed + perFeature)
        return 1;
    return (bytes - fixed + perFeature / 2) / perFeature;
}

size_t OptionsPerFeature(DocumentKind kind) {
    return kind == DocumentKind::Capabilities ? 8 : 1;
}

std::string GenerateDocumentOfSize(DocumentKind kind, size_t bytes) {
    size_t options = OptionsPerFeature(kind);
    return GenerateDocument(kind, FeaturesForSize(kind, bytes, options), options);
}

} // namespace ptbridge
