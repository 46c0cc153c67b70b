#include "namespace_manager_factory.h"

#include "msxml_standin.h"

HRESULT CreateHostNamespaceManager(REFIID riid, void** manager) {
    return CreateNamespaceManager(riid, manager);
}
