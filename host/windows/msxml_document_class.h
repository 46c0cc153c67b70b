// The MSXML 6 document class the Windows host creates its documents from.
#pragma once

#include "common/platform.h"

#if !__has_include(<msxml6.h>)
// This toolchain's msxml2.h names no version-6 document class, and its import
// libraries define neither that class nor the IXMLDOMDocument2 identifier.
EXTERN_C const CLSID CLSID_DOMDocument60;
#endif
