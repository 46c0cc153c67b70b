// The namespace managers the host object hands the plug-in from
// IPrintCoreHelper::CreateInstanceOfMSXMLObject(CLSID_MXNamespaceManager60).
#pragma once

#include "common/platform.h"

// A fresh namespace manager asked for `riid` (IID_IMXNamespaceManager or IID_IUnknown).
HRESULT CreateHostNamespaceManager(REFIID riid, void** manager);
