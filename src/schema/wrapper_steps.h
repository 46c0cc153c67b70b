// The closing steps shared by the wrappers' lookups, creations and removals,
// once the helper has handed back an element with one reference.
#pragma once

#include "xml/print_schema_dom_helper.h"

#include <new>

// Wraps `element` in a new Wrapper (which takes its own reference) and
// releases the reference the helper handed back. Null when the wrapper cannot
// be allocated; a created element then stays in the document.
template <class Wrapper>
Wrapper* WrapFoundElement(PrintSchemaDomHelper* helper, IXMLDOMElement* element) {
    Wrapper* wrapper = new (std::nothrow) Wrapper(helper, element);
    element->Release();
    return wrapper;
}

// Detaches `found` from `parent` and releases the reference the helper handed
// back. Only a direct child of `parent` is detached.
inline bool DetachFoundElement(PrintSchemaDomHelper* helper, IXMLDOMElement* parent,
                               IXMLDOMElement* found) {
    const HRESULT removed = helper->RemoveChild(parent, found);
    found->Release();
    return removed == S_OK;
}
