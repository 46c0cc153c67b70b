// Shared pieces of the stand-in DOM tests: sample Print Schema documents, a
// fixture that proves every test released all it took, and small owners for
// COM references and BSTRs.
#pragma once

#include "msxml_standin.h"
#include "platform_testing.h"

#include <gtest/gtest.h>

#include <string>

extern const char* const FrameworkUri;
extern const char* const KeywordsUri;
extern const char* const XsiUri;
extern const char* const XsdUri;

// A PrintTicket binding psf, psk, xsi and xsd on its root, with a feature
// psk:JobOutputBin holding two options, a nested psf:Feature and a private
// prefix declared only below the root.
extern const char* const TicketXml;
// The same shape with the framework namespace as the default namespace.
extern const char* const DefaultNamespaceTicketXml;

// Owns one COM reference.
template <class T> class Ref {
  public:
    Ref() = default;
    explicit Ref(T* held) : held_(held) {}
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    Ref(Ref&& other) noexcept : held_(other.held_) { other.held_ = nullptr; }
    Ref& operator=(Ref&& other) noexcept {
        if (this != &other) {
            Reset();
            held_ = other.held_;
            other.held_ = nullptr;
        }
        return *this;
    }
    ~Ref() { Reset(); }

    T* operator->() const { return held_; }
    T* get() const { return held_; }
    explicit operator bool() const { return held_ != nullptr; }
    T** out() {
        Reset();
        return &held_;
    }
    void Reset() {
        if (held_)
            held_->Release();
        held_ = nullptr;
    }

  private:
    T* held_ = nullptr;
};

// The object seen through another interface; null when it refuses.
template <class U> Ref<U> Query(IUnknown* object, REFIID iid) {
    Ref<U> other;
    if (object)
        object->QueryInterface(iid, reinterpret_cast<void**>(other.out()));
    return other;
}

// Owns one BSTR.
class Bstr {
  public:
    Bstr() = default;
    explicit Bstr(const std::u16string& text);
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { SysFreeString(text_); }

    BSTR get() const { return text_; }
    BSTR* out() {
        SysFreeString(text_);
        text_ = nullptr;
        return &text_;
    }
    std::u16string Wide() const { return text_ ? std::u16string(text_) : std::u16string(); }
    std::string Utf8() const;

  private:
    BSTR text_ = nullptr;
};

std::u16string Wide(const std::string& ascii);

// Every test starts and ends with the same number of live DOM objects and
// BSTRs, and with fault injection disarmed.
class DomTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    Ref<IXMLDOMDocument2> Load(const std::string& xml);
    Ref<IXMLDOMElement> Root(IXMLDOMDocument2* document);
    // The index-th element below `under` with this tag name.
    Ref<IXMLDOMElement> Find(IXMLDOMNode* under, const std::string& tagName, LONG index = 0);
    Ref<IXMLDOMNode> Create(IXMLDOMDocument2* document, LONG kind, const std::string& name,
                            const char* uri);
    Ref<IXMLDOMAttribute> CreateAttribute(IXMLDOMDocument2* document, const std::string& name,
                                          const char* uri, const std::string& value);
    std::string Save(IXMLDOMDocument2* document);
    std::string Xml(IXMLDOMNode* node);
    std::string Name(IXMLDOMNode* node);
    std::string TextOf(IXMLDOMNode* node);
    LONG Length(IXMLDOMNodeList* list);
    std::string Attribute(IXMLDOMNode* element, const std::string& name);

  private:
    LONG objectsAtStart_ = 0;
    LONG bstrsAtStart_ = 0;
};
