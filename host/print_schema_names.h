// The public Print Schema namespaces, as the host knows them. The plug-in's own
// namespace is not here: the host learns it from the plug-in (BindPrinter).
#pragma once

#include <string>

namespace ptbridge {

const std::u16string FrameworkNamespace =
    u"http://schemas.microsoft.com/windows/2003/08/printing/printschemaframework";
const std::u16string KeywordsNamespace =
    u"http://schemas.microsoft.com/windows/2003/08/printing/printschemakeywords";
const std::u16string XsiNamespace = u"http://www.w3.org/2001/XMLSchema-instance";
const std::u16string XsdNamespace = u"http://www.w3.org/2001/XMLSchema";

} // namespace ptbridge
