// IMXNamespaceManager over the stand-in DOM (namespace_manager_core.h holds
// the contexts and lookups). pushNodeContext and getURI with a context node
// read the declarations libxml2 keeps on the node (an element; for another
// node, the element it belongs to) and, when deep, on its ancestors, the
// nearer declaration winning; every method passes the fault gate first.
#pragma once

#include "live_objects.h"
#include "namespace_manager_core.h"

namespace ptbridge::standin {

class NamespaceManager final : public NamespaceManagerCore, public LiveObject {
  public:
    NamespaceManager() = default;

  private:
    ~NamespaceManager() override = default;

    HRESULT ReadNodeContext(IXMLDOMNode* node, bool deep, Context* context) override;
    bool IsPrefixName(const std::u16string& prefix) const override;
    bool CallFails(HRESULT* failure) override;
};

} // namespace ptbridge::standin
