// Why a conversion failed, in Print Schema terms. The plug-in reports only
// E_FAIL, so the host checks an unconverted copy of the document for what each
// of the plug-in's rules looks for, in the order the conversion runs them, and
// names the first thing missing. The checks read the document the way the
// rules do: names are QNames made with the prefixes the root element declares;
// features are found among the Feature elements at any depth through
// getElementsByTagName, by their "name" attribute (elements without one are
// passed over); an option is the first Option element below, at any depth.
#pragma once

#include "conversion.h"

#include "common/platform.h"

#include <string>

namespace ptbridge {

// The first part of `document` that the conversion's rules need and do not
// find, as a phrase such as "no feature psk:JobOutputBin in namespace ... at
// any depth"; empty when the document holds everything the rules look for.
// `privateNamespace` is the plug-in's namespace, as BindPrinter reported it.
std::string FindMissingPart(Conversion conversion, IXMLDOMDocument2* document,
                            const std::u16string& privateNamespace);

} // namespace ptbridge
