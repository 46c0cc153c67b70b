// Print Schema documents as text: a psf:PrintTicket or psf:PrintCapabilities
// root around a body, declaring the namespaces each test area chooses, so
// that areas differ only in the prefixes they declare.
#pragma once

#include <string>
#include <utility>

inline const std::string FrameworkUri =
    "http://schemas.microsoft.com/windows/2003/08/printing/printschemaframework";
inline const std::string KeywordsUri =
    "http://schemas.microsoft.com/windows/2003/08/printing/printschemakeywords";
inline const std::string XsiUri = "http://www.w3.org/2001/XMLSchema-instance";
inline const std::string XsdUri = "http://www.w3.org/2001/XMLSchema";
inline const std::string PrivateUri = "http://ptbridge.example/printing/2005/08/printticket";

// ` xmlns:prefix="uri"`, as it stands on a root element.
std::string Declaration(const std::string& prefix, const std::string& uri);

// psf (framework), the keywords under `keywordsPrefix`, xsi and xsd.
std::string PrintSchemaDeclarations(const std::string& keywordsPrefix = "psk");

class PrintSchemaRoot {
  public:
    explicit PrintSchemaRoot(std::string declarations) : declarations_(std::move(declarations)) {}

    std::string Ticket(const std::string& body) const { return Document("PrintTicket", body); }
    std::string Capabilities(const std::string& body) const {
        return Document("PrintCapabilities", body);
    }

  private:
    std::string Document(const std::string& rootName, const std::string& body) const;

    std::string declarations_;
};
