// The command's input document: read once, parsed as it arrives, its text kept
// to explain a failed conversion; with --private-namespace, read as if it used
// the plug-in's private namespace.
#pragma once

#include "common/com_ptr.h"

#include "common/platform.h"

#include <string>

namespace ptbridge {

// Reads `file` ("-": standard input) once into *text and parses it. False with
// *error naming the problem: the file cannot be read, it is empty, or the
// parser's reason with line and column.
bool LoadInputFile(const std::string& file, const std::string& label, bool preserveWhiteSpace,
                   ComPtr<IXMLDOMDocument2>* document, std::string* text, std::string* error);

// With `theirs` not empty: makes *text declare `plugins` wherever it declares
// `theirs` and parses it again into *document, so that the plug-in reads
// another driver's private features as its own. True and nothing changed when
// `theirs` is empty.
bool DeclarePluginNamespace(const std::string& theirs, const std::string& plugins,
                            const std::string& label, bool preserveWhiteSpace,
                            ComPtr<IXMLDOMDocument2>* document, std::string* text,
                            std::string* error);

} // namespace ptbridge
