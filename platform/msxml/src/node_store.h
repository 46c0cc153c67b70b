// Memory for one document's nodes and texts.
//
// Nodes are carved from large blocks, without the per-allocation header and
// rounding of the general allocator, and a freed node's slot is reused by the
// next node of its size. Texts read by the parser are copied into the same
// blocks; names, namespace URIs and whitespace-only texts are shared through a
// dictionary. A text set by an edit is allocated on its own and freed when it
// is replaced or its node is freed. Everything goes when the store goes.
//
// Sanitizer builds, and any build running under valgrind, allocate every node
// on its own so that a use after free is still caught.
#pragma once

#include "dom_node.h"

// dict.h uses xmlChar without declaring it.
#include <libxml/xmlstring.h>

#include <libxml/dict.h>

#include <cstddef>
#include <new>
#include <string>
#include <unordered_set>
#include <vector>

namespace ptbridge::standin {

class NodeStore {
  public:
    // Shares `dict` (taking a reference) when given; makes its own otherwise.
    explicit NodeStore(xmlDictPtr dict = nullptr);
    ~NodeStore();
    NodeStore(const NodeStore&) = delete;
    NodeStore& operator=(const NodeStore&) = delete;

    // False when the dictionary could not be made.
    bool Usable() const { return dict_ != nullptr; }
    xmlDictPtr Dict() const { return dict_; }

    // A new node of type T, or null when out of memory.
    template <class T, class... Arguments> T* New(Arguments&&... arguments) {
        void* memory = Allocate(sizeof(T));
        return memory ? new (memory) T(std::forward<Arguments>(arguments)...) : nullptr;
    }
    Namespace* NewNamespace(const char* prefix, const char* uri);

    // Frees one node (not its children or attributes) and its own content.
    void FreeNode(Node* node);
    void FreeNamespace(Namespace* ns);

    // The dictionary's copy of a name or URI; null when out of memory.
    const char* Intern(const char* text, size_t length);
    const char* Intern(const std::string& text) { return Intern(text.data(), text.size()); }
    // A parsed text held by the store for the store's life; null when out of
    // memory.
    const char* Keep(const char* text, size_t length);

    // Gives the node a content set by an edit, freeing the one it replaces;
    // false when out of memory. `field` is the node's content or value.
    bool SetOwnedText(Node* node, const char** field, const std::string& text);

  private:
    void* Allocate(size_t size);
    bool NewBlock();
    void Release(void* block, size_t size);
    void ReleaseContent(Node* node);
    static size_t SizeOf(const Node* node);

    xmlDictPtr dict_;
    std::vector<void*> blocks_;
    char* free_ = nullptr;
    size_t left_ = 0;
    // Freed slots by size in machine words.
    std::vector<void*> slots_;
    // Nodes allocated one by one (checked builds); freed with the store.
    std::unordered_set<void*> single_;
    // Texts set by edits, freed with the store when their node outlives it.
    std::unordered_set<char*> owned_;
    bool plain_;
};

} // namespace ptbridge::standin
