// The closing steps shared by the wrappers' lookups, creations and removals,
// once the helper has handed back an element with one reference.
#pragma once

#include "common/com_ptr.h"
#include "xml/print_schema_dom_helper.h"

#include <new>
#include <utility>

namespace ptbridge {

// Wraps `element` in a new Wrapper (which takes its own reference); the
// reference the helper handed back goes with `element`. Null when the wrapper
// cannot be allocated; a created element then stays in the document.
template <class Wrapper>
Wrapper* WrapFoundElement(PrintSchemaDomHelper* helper, ComPtr<IXMLDOMElement> element) {
    return new (std::nothrow) Wrapper(helper, element.Get());
}

// Detaches `found` from `parent`; the reference the helper handed back goes
// with `found`. Only a direct child of `parent` is detached.
inline bool DetachFoundElement(PrintSchemaDomHelper* helper, IXMLDOMElement* parent,
                               ComPtr<IXMLDOMElement> found) {
    return helper->RemoveChild(parent, found.Get()) == S_OK;
}

} // namespace ptbridge
