// Documents nested deeper than any loader accepts, built through the DOM as a
// host could build them.
#pragma once

#include "common/com_ptr.h"

#include "common/platform.h"

#include <string>

// Loads `xml` and turns its first feature named "psk:Level" into a chain of
// `depth` such features, each the only child of the one before. When
// `sunkFeature` names another feature (as its "name" attribute reads), that
// feature is moved to the bottom of the chain. Null (and a test failure) when
// any step fails.
ptbridge::ComPtr<IXMLDOMDocument2> LoadWithDeepChain(const std::string& xml, int depth,
                                                     const std::u16string& sunkFeature = u"");
