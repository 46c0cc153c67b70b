#include "private_namespace.h"

#include "xml_start_tags.h"

namespace ptbridge {

bool UsePluginNamespace(const std::string& theirs, const std::string& plugins,
                        const std::string& label, std::string* text, std::string* error) {
    if (theirs == plugins)
        return true;
    size_t replaced = 0;
    ReplaceDeclaredNamespace(*text, plugins, plugins, &replaced);
    if (replaced > 0) {
        *error = "--private-namespace " + theirs + ": " + label +
                 " declares the plug-in's namespace " + plugins +
                 " too, and the two could not be told apart in the output";
        return false;
    }
    *text = ReplaceDeclaredNamespace(*text, theirs, plugins, &replaced);
    return true;
}

std::string RestoreTheirNamespace(const std::string& text, const std::string& theirs,
                                  const std::string& plugins) {
    size_t replaced = 0;
    return theirs == plugins ? text : ReplaceDeclaredNamespace(text, plugins, theirs, &replaced);
}

} // namespace ptbridge
