// Whether the platform's DOM can run the plug-in's searches at all. The
// plug-in finds Print Schema elements with getElementsByTagName and a name
// made with the prefix the document declares ("psf:Feature"); MSXML matches
// the whole name, but a DOM that compares local names only (Wine's MSXML)
// finds nothing by a prefixed name, so every such search fails there however
// complete the document is.
#pragma once

#include "common/platform.h"

#include <string>

namespace ptbridge {

// True when getElementsByTagName finds an element by its prefixed name, asked
// on a small document of its own.
bool DomFindsPrefixedTagNames();

// Why a conversion failed on a DOM that does not, when `document` declares a
// prefix for the Print Schema framework namespace on its root, as one line;
// empty when it declares none (the plug-in's searches then use bare names).
std::string PrefixedSearchLimitation(IXMLDOMDocument2* document);

} // namespace ptbridge
