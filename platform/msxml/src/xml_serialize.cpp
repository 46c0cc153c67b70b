#include "xml_serialize.h"

#include "node_names.h"

#include <cstring>
#include <new>

namespace ptbridge::standin {

namespace {
// Counts the bytes a serialisation takes, so that the text can be made in
// one allocation of the right size: a saved document is as large as the
// parsed one, and a doubling buffer would hold up to three times that.
struct Counter {
    size_t size = 0;
    void append(const char*, size_t length) { size += length; }
    void append(const char* text) { size += std::strlen(text); }
    void push_back(char) { ++size; }
};

// Appends to a string whose room was counted beforehand.
struct Writer {
    std::string& out;
    void append(const char* text, size_t length) { out.append(text, length); }
    void append(const char* text) { out.append(text); }
    void push_back(char c) { out.push_back(c); }
};

// The escaped form of a character in text content or in an attribute value;
// null when it stands as it is.
const char* TextEscape(char c) {
    switch (c) {
    case '&':
        return "&amp;";
    case '<':
        return "&lt;";
    case '>':
        return "&gt;";
    case '\r':
        return "&#13;";
    default:
        return nullptr;
    }
}

const char* ValueEscape(char c) {
    switch (c) {
    case '"':
        return "&quot;";
    case '\n':
        return "&#10;";
    case '\t':
        return "&#9;";
    default:
        return TextEscape(c);
    }
}

template <class Out> void WriteEscaped(Out& out, const char* text, bool value) {
    const char* run = text;
    for (const char* at = text; *at; ++at) {
        const char* escape = value ? ValueEscape(*at) : TextEscape(*at);
        if (!escape)
            continue;
        out.append(run, static_cast<size_t>(at - run));
        out.append(escape);
        run = at + 1;
    }
    out.append(run);
}

template <class Out> void WriteName(Out& out, const Node* node) {
    if (const char* prefix = PrefixOf(node)) {
        out.append(prefix);
        out.push_back(':');
    }
    out.append(LocalNameOf(node));
}

template <class Out> void WriteAttribute(Out& out, const Attribute* attribute) {
    WriteName(out, attribute);
    out.append("=\"", 2);
    WriteEscaped(out, attribute->value, true);
    out.push_back('"');
}

template <class Out> void WriteStartTag(Out& out, const Element* element) {
    out.push_back('<');
    WriteName(out, element);
    for (const Namespace* ns = element->declarations; ns; ns = ns->next) {
        out.append(" xmlns", 6);
        if (ns->prefix) {
            out.push_back(':');
            out.append(ns->prefix);
        }
        out.append("=\"", 2);
        WriteEscaped(out, ns->uri, true);
        out.push_back('"');
    }
    for (const Node* attribute = element->attributes; attribute; attribute = attribute->next) {
        out.push_back(' ');
        WriteAttribute(out, static_cast<const Attribute*>(attribute));
    }
    out.append(element->children ? ">" : "/>");
}

template <class Out> void WriteCData(Out& out, const char* content) {
    // "]]>" cannot stand inside a section: the section is split between its
    // "]]" and its ">".
    const char* start = content;
    while (const char* end = std::strstr(start, "]]>")) {
        out.append("<![CDATA[", 9);
        out.append(start, static_cast<size_t>(end + 2 - start));
        out.append("]]>", 3);
        start = end + 2;
    }
    if (*start || start == content) {
        out.append("<![CDATA[", 9);
        out.append(start);
        out.append("]]>", 3);
    }
}

// Every node but elements and the document.
template <class Out> void WriteLeaf(Out& out, const Node* node) {
    switch (node->type) {
    case NODE_TEXT:
        WriteEscaped(out, static_cast<const TextNode*>(node)->content, false);
        break;
    case NODE_CDATA_SECTION:
        WriteCData(out, static_cast<const TextNode*>(node)->content);
        break;
    case NODE_COMMENT:
        out.append("<!--", 4);
        out.append(static_cast<const TextNode*>(node)->content);
        out.append("-->", 3);
        break;
    case NODE_PROCESSING_INSTRUCTION: {
        auto instruction = static_cast<const ProcessingInstruction*>(node);
        out.append("<?", 2);
        out.append(instruction->target);
        if (*instruction->content) {
            out.push_back(' ');
            out.append(instruction->content);
        }
        out.append("?>", 2);
        break;
    }
    case NODE_ATTRIBUTE:
        WriteAttribute(out, static_cast<const Attribute*>(node));
        break;
    default:
        break;
    }
}

// A subtree, walked without recursion so that deep trees cannot exhaust the
// stack.
template <class Out> void WriteSubtree(Out& out, const Node* top) {
    const Node* node = top;
    while (true) {
        if (node->type != NODE_ELEMENT) {
            WriteLeaf(out, node);
        } else {
            auto element = static_cast<const Element*>(node);
            WriteStartTag(out, element);
            if (element->children) {
                node = element->children;
                continue;
            }
        }
        // Close every element whose last child this was.
        while (node != top && !node->next) {
            node = node->parent;
            out.append("</", 2);
            WriteName(out, node);
            out.push_back('>');
        }
        if (node == top)
            return;
        node = node->next;
    }
}

template <class Out> void WriteDocument(Out& out, const DocumentNode* doc, bool declareEncoding) {
    out.append("<?xml version=\"", 15);
    out.append(declareEncoding ? doc->version : "1.0");
    out.push_back('"');
    if (declareEncoding) {
        out.append(" encoding=\"UTF-8\"");
        if (doc->standalone >= 0)
            out.append(doc->standalone ? " standalone=\"yes\"" : " standalone=\"no\"");
    }
    out.append("?>\n", 3);
    for (const Node* child = doc->children; child; child = child->next) {
        WriteSubtree(out, child);
        out.push_back('\n');
    }
}

template <class Write> HRESULT Serialize(std::string* xml, Write write) {
    Counter counter;
    write(counter);
    try {
        std::string text;
        text.reserve(counter.size);
        Writer writer{text};
        write(writer);
        xml->swap(text);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}
} // namespace

HRESULT SerializeDocument(DocumentNode* doc, std::string* xml) {
    return Serialize(xml, [doc](auto& out) { WriteDocument(out, doc, true); });
}

HRESULT SerializeNode(Node* node, std::string* xml) {
    if (node->type == NODE_DOCUMENT)
        return Serialize(xml, [node](auto& out) {
            WriteDocument(out, static_cast<const DocumentNode*>(node), false);
        });
    return Serialize(xml, [node](auto& out) { WriteSubtree(out, node); });
}

} // namespace ptbridge::standin
