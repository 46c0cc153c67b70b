#include "ticket_builder.h"

#include "print_schema_root.h"

namespace {
std::string Feature(const std::string& name, const std::string& content,
                    const std::string& declaration = "") {
    return "<psf:Feature" + declaration + " name=\"" + name + "\">" + content + "</psf:Feature>";
}

std::string Option(const std::string& name, const std::string& content = "") {
    if (content.empty())
        return "<psf:Option name=\"" + name + "\"/>";
    return "<psf:Option name=\"" + name + "\">" + content + "</psf:Option>";
}

std::string ScoredProperty(const std::string& name, const std::string& type,
                           const std::string& value) {
    return "<psf:ScoredProperty name=\"" + name + "\"><psf:Value xsi:type=\"xsd:" + type + "\">" +
           value + "</psf:Value></psf:ScoredProperty>";
}

std::string PrivateDeclaration(const TicketShape& shape) {
    return Declaration(shape.privatePrefix, PrivateUri);
}

std::string Root(const TicketShape& shape, const std::string& features) {
    std::string declarations = PrintSchemaDeclarations(shape.keywordsPrefix) +
                               (shape.privateDeclaredAtRoot ? PrivateDeclaration(shape) : "") +
                               shape.extraDeclarations;
    return PrintSchemaRoot(declarations).Ticket(shape.extraFeatures + features);
}

struct Names {
    explicit Names(const TicketShape& shape)
        : p(shape.privatePrefix + ":"), k(shape.keywordsPrefix + ":") {}
    std::string p; // private
    std::string k; // keywords
};

std::string NUpOption(const Names& n) {
    return Option(n.k + "OnePageNUp");
}

std::string Direction(const TicketShape& shape, const std::string& name) {
    std::string declaration = shape.privateDeclaredAtRoot ? "" : PrivateDeclaration(shape);
    return Feature(name, Option(shape.privatePrefix + ":RightBottom"), declaration);
}

std::string Bin(const Names& n, const std::string& option, const std::string& binType) {
    return Option(n.p + option, ScoredProperty(n.k + "BinType", "QName", binType));
}

std::string HolePunch(const Names& n, std::optional<int> holes) {
    std::string count =
        holes ? ScoredProperty(n.k + "HoleCount", "integer", std::to_string(*holes)) : "";
    return Feature(n.k + "JobHolePunch", Option(n.k + "LeftEdge", count));
}
} // namespace

std::string DeviceTicket(const TicketShape& shape) {
    Names n(shape);
    return Root(shape, Feature(n.k + "JobNUpAllDocumentsContiguously", NUpOption(n)) +
                           Direction(shape, n.p + "JobPresentationDirection") +
                           Feature(n.k + "JobOutputBin",
                                   Option(n.p + "Center") + Option(n.p + "Finisher")) +
                           HolePunch(n, std::nullopt));
}

std::string PublishedTicket(const TicketShape& shape, std::optional<int> holes) {
    Names n(shape);
    return Root(shape, Feature(n.k + "JobNUpAllDocumentsContiguously",
                               NUpOption(n) + Direction(shape, n.k + "PresentationDirection")) +
                           Feature(n.k + "JobOutputBin", Bin(n, "Center", n.p + "Tray") +
                                                             Bin(n, "Finisher", n.k + "Stacker")) +
                           HolePunch(n, holes));
}

std::string RestoredTicket(const TicketShape& shape, bool binRestored) {
    Names n(shape);
    std::string center = binRestored ? Option(n.p + "Center") : Bin(n, "Center", n.p + "Tray");
    return Root(shape,
                Feature(n.k + "JobNUpAllDocumentsContiguously", NUpOption(n)) +
                    Feature(n.k + "JobOutputBin", center + Bin(n, "Finisher", n.k + "Stacker")) +
                    HolePunch(n, 3) + Direction(shape, n.p + "JobPresentationDirection"));
}
