#include "dom_test_support.h"

#include "msxml_standin.h"
#include "platform_testing.h"

using namespace ptbridge;

namespace {

// Passes every call on to a stand-in namespace manager, counting the
// contexts pushed and popped.
class ContextCountingManager final : public IMXNamespaceManager {
  public:
    ContextCountingManager(IMXNamespaceManager* inner, ContextCounts* counts)
        : inner_(inner), counts_(counts) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        *ppv = nullptr;
        if (!IsEqualGUID(riid, IID_IUnknown) && !IsEqualGUID(riid, IID_IMXNamespaceManager))
            return E_NOINTERFACE;
        AddRef();
        *ppv = this;
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override {
        ULONG count = --references_;
        if (count == 0) {
            inner_->Release();
            delete this;
        }
        return count;
    }
    STDMETHODIMP putAllowOverride(VARIANT_BOOL allow) override {
        return inner_->putAllowOverride(allow);
    }
    STDMETHODIMP getAllowOverride(VARIANT_BOOL* allow) override {
        return inner_->getAllowOverride(allow);
    }
    STDMETHODIMP reset() override { return inner_->reset(); }
    STDMETHODIMP pushContext() override { return Pushed(inner_->pushContext()); }
    STDMETHODIMP pushNodeContext(IXMLDOMNode* node, VARIANT_BOOL deep) override {
        return Pushed(inner_->pushNodeContext(node, deep));
    }
    STDMETHODIMP popContext() override {
        ++counts_->popped;
        return inner_->popContext();
    }
    STDMETHODIMP declarePrefix(const WCHAR* prefix, const WCHAR* uri) override {
        return inner_->declarePrefix(prefix, uri);
    }
    STDMETHODIMP getDeclaredPrefix(LONG index, WCHAR* prefix, int* count) override {
        return inner_->getDeclaredPrefix(index, prefix, count);
    }
    STDMETHODIMP getPrefix(const WCHAR* uri, LONG index, WCHAR* prefix, int* count) override {
        return inner_->getPrefix(uri, index, prefix, count);
    }
    STDMETHODIMP getURI(const WCHAR* prefix, IXMLDOMNode* context, WCHAR* uri,
                        int* count) override {
        return inner_->getURI(prefix, context, uri, count);
    }

  private:
    HRESULT Pushed(HRESULT hr) {
        if (SUCCEEDED(hr))
            ++counts_->pushed;
        return hr;
    }

    IMXNamespaceManager* inner_;
    ContextCounts* counts_;
    ULONG references_ = 1;
};

} // namespace

STDMETHODIMP ContextCountingCoreHelper::CreateInstanceOfMSXMLObject(REFCLSID rclsid,
                                                                    IUnknown* punkOuter,
                                                                    DWORD dwClsContext, REFIID riid,
                                                                    LPVOID* ppv) {
    if (!IsEqualGUID(rclsid, CLSID_MXNamespaceManager60) || punkOuter || dwClsContext != 0 ||
        !IsEqualGUID(riid, IID_IMXNamespaceManager))
        return E_INVALIDARG;
    IMXNamespaceManager* inner = nullptr;
    HRESULT hr = CreateNamespaceManager(IID_IMXNamespaceManager, reinterpret_cast<void**>(&inner));
    if (hr != S_OK)
        return hr;
    *ppv = static_cast<IMXNamespaceManager*>(new ContextCountingManager(inner, counts_));
    return S_OK;
}

void DomHelperTest::SetUp() {
    atStart_ = LiveObjectCounts();
}

void DomHelperTest::TearDown() {
    PlatformInjectFault(0, PlatformFaultAll, S_OK);
    Unload();
}

void DomHelperTest::Load(const std::string& xml) {
    ASSERT_TRUE(ParseDocument(xml, document_.Put()));
    helper_ = new PrintSchemaDomHelper(document_.Get(), &core_);
}

void DomHelperTest::Unload() {
    delete helper_;
    helper_ = nullptr;
    document_.Reset();
    atStart_.ExpectUnchanged("after unloading");
    EXPECT_EQ(contexts_.pushed, contexts_.popped);
    EXPECT_EQ(core_.References(), 1);
    contexts_ = ContextCounts();
}

void DomHelperTest::Arm(LONG nth, unsigned kinds, HRESULT failure) {
    PlatformInjectFault(nth, kinds, failure);
}

bool DomHelperTest::Disarm(LONG nth) {
    bool reached = PlatformFaultCallCount() >= nth;
    PlatformInjectFault(0, PlatformFaultAll, S_OK);
    return reached;
}

std::string DomHelperTest::Saved() const {
    std::string xml;
    EXPECT_EQ(SaveDocumentToString(document_.Get(), &xml), S_OK);
    if (xml.compare(0, 5, "<?xml") == 0)
        xml.erase(0, xml.find("?>") + 2);
    std::string flat;
    for (char c : xml) {
        if (c != '\n' && c != '\r')
            flat += c;
    }
    return flat;
}

void DomHelperTest::ElementByTag(const std::string& tagName, LONG index,
                                 IXMLDOMElement** element) const {
    *element = nullptr;
    UniqueBstr name(SysAllocString(Wide(tagName).c_str()));
    ComPtr<IXMLDOMNodeList> list;
    ComPtr<IXMLDOMNode> node;
    if (document_->getElementsByTagName(name.Get(), list.Put()) == S_OK &&
        list->get_item(index, node.Put()) == S_OK)
        node.QueryTo(IID_IXMLDOMElement, element);
    ASSERT_NE(*element, nullptr) << tagName << " #" << index;
}

LONG DomHelperTest::CountByTag(const std::string& tagName) const {
    UniqueBstr name(SysAllocString(Wide(tagName).c_str()));
    ComPtr<IXMLDOMNodeList> list;
    LONG length = -1;
    if (document_->getElementsByTagName(name.Get(), list.Put()) == S_OK)
        list->get_length(&length);
    return length;
}

std::string NamespaceOf(IXMLDOMNode* node) {
    UniqueBstr uri;
    EXPECT_EQ(node->get_namespaceURI(uri.Put()), S_OK);
    return Utf8(uri.Get());
}
