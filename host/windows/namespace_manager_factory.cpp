#include "platform_seams.h"

#include "common/com_ptr.h"
#include "windows/dom_namespace_manager.h"
#include "windows/msxml_document_class.h"

namespace ptbridge {

namespace {
// Whether the platform's manager can read a node's declarations: some MSXML
// implementations (Wine's) answer pushNodeContext with E_NOTIMPL. Asked once,
// on a throwaway document.
HRESULT PlatformManagerReadsNodes(IMXNamespaceManager* manager, bool* readsNodes) {
    ComPtr<IXMLDOMDocument2> document;
    HRESULT hr = CoCreateInstance(CLSID_DOMDocument60, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IXMLDOMDocument2, document.PutVoid());
    VARIANT_BOOL loaded = VARIANT_FALSE;
    UniqueBstr probe(SysAllocString(W("<probe xmlns:p=\"urn:probe\"/>")));
    if (hr == S_OK)
        hr = probe.Get() ? document->loadXML(probe.Get(), &loaded) : E_OUTOFMEMORY;
    ComPtr<IXMLDOMElement> root;
    if (hr == S_OK)
        hr = loaded ? document->get_documentElement(root.Put()) : E_FAIL;
    if (hr != S_OK)
        return FAILED(hr) ? hr : E_FAIL;
    HRESULT pushed = manager->pushNodeContext(root.Get(), VARIANT_TRUE);
    if (pushed == E_NOTIMPL) {
        *readsNodes = false;
        return S_OK;
    }
    if (FAILED(pushed))
        return pushed;
    *readsNodes = true;
    return manager->popContext();
}

enum class ManagerKind { Unknown, Platform, Dom };
ManagerKind chosenKind = ManagerKind::Unknown;

HRESULT CreatePlatformManager(REFIID riid, void** manager) {
    return CoCreateInstance(CLSID_MXNamespaceManager60, nullptr, CLSCTX_INPROC_SERVER, riid,
                            manager);
}
} // namespace

HRESULT CreateHostNamespaceManager(REFIID riid, void** manager) {
    *manager = nullptr;
    if (chosenKind == ManagerKind::Dom)
        return DomNamespaceManager::Create(riid, manager);
    ComPtr<IMXNamespaceManager> platform;
    HRESULT hr = CreatePlatformManager(IID_IMXNamespaceManager, platform.PutVoid());
    if (hr == REGDB_E_CLASSNOTREG || hr == CLASS_E_CLASSNOTAVAILABLE) {
        chosenKind = ManagerKind::Dom;
        return DomNamespaceManager::Create(riid, manager);
    }
    if (hr != S_OK)
        return hr;
    if (chosenKind == ManagerKind::Unknown) {
        bool readsNodes = false;
        hr = PlatformManagerReadsNodes(platform.Get(), &readsNodes);
        if (hr != S_OK)
            return hr;
        chosenKind = readsNodes ? ManagerKind::Platform : ManagerKind::Dom;
        if (!readsNodes)
            return DomNamespaceManager::Create(riid, manager);
    }
    return platform->QueryInterface(riid, manager);
}

} // namespace ptbridge
