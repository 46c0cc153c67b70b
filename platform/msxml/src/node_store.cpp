#include "node_store.h"

#include "object_memory.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace ptbridge::standin {

namespace {
constexpr size_t BlockSize = 256 * 1024;
constexpr size_t Word = sizeof(void*);

size_t RoundUp(size_t size) {
    return (size + Word - 1) / Word * Word;
}

// A freed slot keeps the next free slot of its size in its first word.
struct FreeSlot {
    FreeSlot* next;
};
} // namespace

NodeStore::NodeStore(xmlDictPtr dict) : dict_(dict), plain_(CheckedAllocation()) {
    if (dict_)
        xmlDictReference(dict_);
    else
        dict_ = xmlDictCreate();
}

NodeStore::~NodeStore() {
    for (void* block : blocks_)
        std::free(block);
    for (void* single : single_)
        std::free(single);
    for (char* text : owned_)
        std::free(text);
    if (dict_)
        xmlDictFree(dict_);
}

void* NodeStore::Allocate(size_t size) {
    size = RoundUp(size);
    if (plain_) {
        void* single = std::malloc(size);
        if (single && !single_.insert(single).second) {
            std::free(single);
            return nullptr;
        }
        return single;
    }
    size_t index = size / Word;
    if (index < slots_.size() && slots_[index]) {
        auto slot = static_cast<FreeSlot*>(slots_[index]);
        slots_[index] = slot->next;
        return slot;
    }
    if (size > left_ && !NewBlock())
        return nullptr;
    void* memory = free_;
    free_ += size;
    left_ -= size;
    return memory;
}

bool NodeStore::NewBlock() {
    void* block = std::malloc(BlockSize);
    if (!block)
        return false;
    blocks_.push_back(block);
    free_ = static_cast<char*>(block);
    left_ = BlockSize;
    return true;
}

void NodeStore::Release(void* block, size_t size) {
    size = RoundUp(size);
    if (plain_) {
        single_.erase(block);
        std::free(block);
        return;
    }
    size_t index = size / Word;
    if (index >= slots_.size())
        slots_.resize(index + 1, nullptr);
    auto slot = static_cast<FreeSlot*>(block);
    slot->next = static_cast<FreeSlot*>(slots_[index]);
    slots_[index] = slot;
}

Namespace* NodeStore::NewNamespace(const char* prefix, const char* uri) {
    void* memory = Allocate(sizeof(Namespace));
    if (!memory)
        return nullptr;
    auto ns = new (memory) Namespace();
    ns->prefix = prefix;
    ns->uri = uri;
    return ns;
}

size_t NodeStore::SizeOf(const Node* node) {
    switch (node->type) {
    case NODE_ELEMENT:
        return sizeof(Element);
    case NODE_ATTRIBUTE:
        return sizeof(Attribute);
    case NODE_PROCESSING_INSTRUCTION:
        return sizeof(ProcessingInstruction);
    case NODE_DOCUMENT:
        return sizeof(DocumentNode);
    default:
        return sizeof(TextNode);
    }
}

void NodeStore::ReleaseContent(Node* node) {
    if (!node->ownsContent)
        return;
    const char* content = nullptr;
    if (IsTextLike(node))
        content = static_cast<TextNode*>(node)->content;
    else if (node->type == NODE_ATTRIBUTE)
        content = static_cast<Attribute*>(node)->value;
    else if (node->type == NODE_PROCESSING_INSTRUCTION)
        content = static_cast<ProcessingInstruction*>(node)->content;
    auto text = const_cast<char*>(content);
    owned_.erase(text);
    std::free(text);
    node->ownsContent = false;
}

void NodeStore::FreeNode(Node* node) {
    ReleaseContent(node);
    Release(node, SizeOf(node));
}

void NodeStore::FreeNamespace(Namespace* ns) {
    Release(ns, sizeof(Namespace));
}

const char* NodeStore::Intern(const char* text, size_t length) {
    if (length > static_cast<size_t>(INT32_MAX))
        return nullptr;
    return reinterpret_cast<const char*>(
        xmlDictLookup(dict_, reinterpret_cast<const xmlChar*>(text), static_cast<int>(length)));
}

const char* NodeStore::Keep(const char* text, size_t length) {
    char* copy;
    if (plain_ || length + 1 > BlockSize / 4) {
        copy = static_cast<char*>(std::malloc(length + 1));
        if (!copy || !owned_.insert(copy).second) {
            std::free(copy);
            return nullptr;
        }
    } else {
        // In the nodes' blocks, right after the node being read: an element,
        // its attributes and their values lie together in memory, as a search
        // reads them. Rounded up so that nodes stay aligned.
        size_t size = RoundUp(length + 1);
        if (size > left_ && !NewBlock())
            return nullptr;
        copy = free_;
        free_ += size;
        left_ -= size;
    }
    std::memcpy(copy, text, length);
    copy[length] = 0;
    return copy;
}

bool NodeStore::SetOwnedText(Node* node, const char** field, const std::string& text) {
    auto copy = static_cast<char*>(std::malloc(text.size() + 1));
    if (!copy)
        return false;
    if (!owned_.insert(copy).second) {
        std::free(copy);
        return false;
    }
    std::memcpy(copy, text.c_str(), text.size() + 1);
    ReleaseContent(node);
    *field = copy;
    node->ownsContent = true;
    return true;
}

} // namespace ptbridge::standin
