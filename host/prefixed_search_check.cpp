#include "prefixed_search_check.h"

#include "common/com_ptr.h"
#include "platform_seams.h"
#include "print_schema_names.h"
#include "text_encoding.h"

namespace ptbridge {

bool DomFindsPrefixedTagNames() {
    ComPtr<IXMLDOMDocument2> probe;
    std::string error;
    if (!ParseDocument("<p:a xmlns:p=\"urn:ptbridge:probe\"><p:b/></p:a>", "", false, &probe,
                       &error))
        return true; // nothing known against it
    UniqueBstr name(SysAllocString(W("p:b")));
    ComPtr<IXMLDOMNodeList> found;
    LONG count = 0;
    return !name.Get() || probe->getElementsByTagName(name.Get(), found.Put()) != S_OK || !found ||
           found->get_length(&count) != S_OK || count == 1;
}

std::string PrefixedSearchLimitation(IXMLDOMDocument2* document) {
    ComPtr<IXMLDOMElement> root;
    ComPtr<IMXNamespaceManager> manager;
    int length = 0;
    if (document->get_documentElement(root.Put()) != S_OK || !root ||
        CreateHostNamespaceManager(IID_IMXNamespaceManager, manager.PutVoid()) != S_OK ||
        manager->pushNodeContext(root.Get(), VARIANT_TRUE) != S_OK ||
        manager->getPrefix(reinterpret_cast<const WCHAR*>(FrameworkNamespace.c_str()), 0, nullptr,
                           &length) != S_OK ||
        length <= 0)
        return {};
    return "this DOM cannot run the plug-in's prefixed searches: its getElementsByTagName finds "
           "no element by a prefixed name such as psf:Feature, so nothing the plug-in looks for "
           "is found, whatever the document holds; try the document with the framework "
           "namespace as the default namespace (xmlns=\"" +
           Utf8FromUtf16(FrameworkNamespace) + "\") and no prefix declared for it";
}

} // namespace ptbridge
