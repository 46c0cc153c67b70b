#include "platform_seams.h"

#include "msxml_standin.h"

namespace ptbridge {

HRESULT CreateHostNamespaceManager(REFIID riid, void** manager) {
    return CreateNamespaceManager(riid, manager);
}

} // namespace ptbridge
