// A namespace manager written over the DOM interfaces alone, for platforms
// whose own manager cannot read a node's declarations (Wine's MSXML answers
// pushNodeContext with E_NOTIMPL).
//
// The contexts, lookups and the two-call copy-out are the shared core's
// (namespace_manager_core.h); this manager reads a node's declarations.
// pushNodeContext and getURI with a context node read, on the node and (deep) its ancestors, the
// xmlns and xmlns:p attributes the DOM lists and the binding each element's own
// name shows (its prefix and namespace URI): the name covers the declarations a
// DOM does not hand out as attribute nodes, such as Wine's default-namespace
// declarations. A declaration that neither shows is not seen: with Wine's
// MSXML, a default namespace declared on a prefixed element.
//
// Reading a node asks the DOM once per attribute and element in scope. Wine's
// MSXML takes time in proportion to the index to hand out an attribute by
// index, so there reading a root with tens of thousands of declarations is
// quadratic (50,000: minutes per conversion).
#pragma once

#include "common/platform.h"
#include "namespace_manager_core.h"

#include <string>

namespace ptbridge {

class DomNamespaceManager final : public NamespaceManagerCore {
  public:
    // A new manager asked for `riid` (IID_IMXNamespaceManager or IID_IUnknown).
    static HRESULT Create(REFIID riid, void** manager);

  private:
    DomNamespaceManager() = default;
    ~DomNamespaceManager() override = default;

    // A DOM call that fails ends the reading with that failure.
    HRESULT ReadNodeContext(IXMLDOMNode* node, bool deep, Context* context) override;
    bool IsPrefixName(const std::u16string& prefix) const override;
};

} // namespace ptbridge
