#include "namespace_binding.h"

#include "subtree_walk.h"

#include <cstring>
#include <string>
#include <unordered_set>

namespace ptbridge::standin {

namespace {
// Prefixes and URIs are shared through the store's dictionary, but names
// given by callers are compared by content all the same.
bool SameText(const char* a, const char* b) {
    if (a == b)
        return true;
    return a && b && std::strcmp(a, b) == 0;
}

bool InList(Namespace* list, Namespace* ns) {
    for (; list; list = list->next)
        if (list == ns)
            return true;
    return false;
}

bool IsParked(DocumentNode* doc, Namespace* ns) {
    return ns && ns != doc->parked && InList(doc->parked, ns);
}

bool IsNamed(Node* node) {
    return node->type == NODE_ELEMENT || node->type == NODE_ATTRIBUTE;
}

// Adds a declaration to the element; null when out of memory.
Namespace* Declare(NodeStore& store, Element* element, const char* prefix, const char* uri) {
    Namespace* ns = store.NewNamespace(prefix, uri);
    if (!ns)
        return nullptr;
    Namespace** end = &element->declarations;
    while (*end)
        end = &(*end)->next;
    *end = ns;
    return ns;
}

// Declares the URI on the element under a prefix that nothing in scope uses.
Namespace* DeclareFreshPrefix(NodeStore& store, Element* element, const char* uri) {
    for (unsigned i = 0;; ++i) {
        std::string prefix = "ns" + std::to_string(i);
        if (!FindDeclaration(element, prefix.c_str())) {
            const char* shared = store.Intern(prefix);
            return shared ? Declare(store, element, shared, uri) : nullptr;
        }
    }
}

// The declaration that an element, or one of its attributes, should use for a
// parked (prefix, uri): the one in scope when it binds the prefix to the same
// URI. Otherwise an element redeclares the prefix on itself, which shadows the
// outer binding for itself only. An attribute may do so only when nothing in
// scope uses the prefix: the element's own name could rely on the outer
// binding, so a clashing attribute gets a fresh prefix instead. Keeps the
// parked declaration when out of memory.
Namespace* Bind(NodeStore& store, Element* element, Namespace* parked, bool forAttribute) {
    Namespace* inScope = FindDeclaration(element, parked->prefix);
    if (inScope && SameText(inScope->uri, parked->uri))
        return inScope;
    bool mayRedeclare = !forAttribute || !inScope;
    Namespace* declared = mayRedeclare ? Declare(store, element, parked->prefix, parked->uri)
                                       : DeclareFreshPrefix(store, element, parked->uri);
    return declared ? declared : parked;
}

void BindElement(NodeStore& store, DocumentNode* doc, Element* element) {
    if (IsParked(doc, element->ns)) {
        element->ns = Bind(store, element, element->ns, false);
    } else if (!element->ns) {
        // Out of memory the element is left without the undeclaration rather
        // than with a declaration that has no URI to write.
        Namespace* inherited = FindDeclaration(element, nullptr);
        const char* none =
            inherited && inherited->uri && inherited->uri[0] ? store.Intern("", 0) : nullptr;
        if (none)
            Declare(store, element, nullptr, none);
    }
}
} // namespace

Namespace* ParkedNamespace(NodeStore& store, DocumentNode* doc, const char* prefix,
                           const char* uri) {
    Namespace* last = doc->parked;
    if (SameText(prefix, "xml"))
        return last;
    for (Namespace* ns = last->next; ns; ns = ns->next) {
        if (SameText(ns->prefix, prefix) && SameText(ns->uri, uri))
            return ns;
        last = ns;
    }
    const char* sharedPrefix = prefix ? store.Intern(prefix, std::strlen(prefix)) : nullptr;
    const char* sharedUri = store.Intern(uri, std::strlen(uri));
    if ((prefix && !sharedPrefix) || !sharedUri)
        return nullptr;
    last->next = store.NewNamespace(sharedPrefix, sharedUri);
    return last->next;
}

Namespace* FindDeclaration(Node* element, const char* prefix) {
    for (Node* node = element; node && IsElement(node); node = node->parent)
        for (Namespace* ns = static_cast<Element*>(node)->declarations; ns; ns = ns->next)
            if (SameText(ns->prefix, prefix))
                return ns;
    return nullptr;
}

void ParkOutsideReferences(NodeStore& store, DocumentNode* doc, Node* top) {
    std::unordered_set<Namespace*> inside;
    VisitSubtree(top, [&inside](Node* node) {
        if (Element* element = AsElement(node))
            for (Namespace* ns = element->declarations; ns; ns = ns->next)
                inside.insert(ns);
    });
    VisitSubtree(top, [&inside, &store, doc](Node* node) {
        Namespace* ns = NamespaceOf(node);
        if (IsNamed(node) && ns && !inside.count(ns) && !InList(doc->parked, ns)) {
            // Out of memory the reference stays: the node keeps its name.
            if (Namespace* parked = ParkedNamespace(store, doc, ns->prefix, ns->uri))
                SetNamespace(node, parked);
        }
    });
}

void ParkForeignReferences(DocumentNode* doc, DocumentNode* from, Node* top) {
    VisitSubtree(top, [doc, from](Node* node) {
        if (IsNamed(node) && NamespaceOf(node) == from->parked)
            SetNamespace(node, doc->parked);
    });
}

void BindParkedReferences(NodeStore& store, DocumentNode* doc, Node* top) {
    VisitSubtree(top, [&store, doc](Node* node) {
        if (Element* element = AsElement(node)) {
            BindElement(store, doc, element);
        } else if (Attribute* attribute = AsAttribute(node)) {
            if (IsParked(doc, attribute->ns))
                attribute->ns =
                    Bind(store, static_cast<Element*>(attribute->parent), attribute->ns, true);
        }
    });
}

} // namespace ptbridge::standin
