#include "common/namespaces.h"

namespace ptbridge {

const WCHAR* const KeywordsNamespaceUri =
    W("http://schemas.microsoft.com/windows/2003/08/printing/printschemakeywords");
const WCHAR* const FrameworkNamespaceUri =
    W("http://schemas.microsoft.com/windows/2003/08/printing/printschemaframework");
const WCHAR* const XsdNamespaceUri = W("http://www.w3.org/2001/XMLSchema");
const WCHAR* const XsiNamespaceUri = W("http://www.w3.org/2001/XMLSchema-instance");
const WCHAR* const PrivateNamespaceUri = W("http://ptbridge.example/printing/2005/08/printticket");

} // namespace ptbridge
