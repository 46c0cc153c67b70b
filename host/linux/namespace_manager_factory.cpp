#include "platform_seams.h"

#include "msxml_standin.h"

HRESULT CreateHostNamespaceManager(REFIID riid, void** manager) {
    return CreateNamespaceManager(riid, manager);
}
