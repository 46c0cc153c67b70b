// --private-namespace: a document captured from another driver names its
// private features in that driver's namespace. The host reads it as if it used
// the plug-in's: the URI is replaced in the document's namespace declarations
// before the plug-in sees it, and put back in what is written out.
#pragma once

#include <string>

namespace ptbridge {

// Makes *text declare `plugins` wherever it declares `theirs`. False, with a
// message naming `label`, when it also declares `plugins` already: the two
// could not be told apart in the output.
bool UsePluginNamespace(const std::string& theirs, const std::string& plugins,
                        const std::string& label, std::string* text, std::string* error);

// The converted text, declaring `theirs` again where it declares `plugins`.
std::string RestoreTheirNamespace(const std::string& text, const std::string& theirs,
                                  const std::string& plugins);

} // namespace ptbridge
