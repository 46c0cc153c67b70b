// Namespace URIs of the Print Schema documents and of the plug-in's own names.
#pragma once

#include "common/platform.h"

namespace ptbridge {

extern const WCHAR* const KeywordsNamespaceUri;
extern const WCHAR* const FrameworkNamespaceUri;
extern const WCHAR* const XsdNamespaceUri;
extern const WCHAR* const XsiNamespaceUri;
extern const WCHAR* const PrivateNamespaceUri;

} // namespace ptbridge
