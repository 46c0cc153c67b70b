// Reading the command's input document and writing its result: every failure
// comes back as a message that names the file and the problem.
#pragma once

#include "com_ptr.h"

#include "plugin/platform.h"

#include <string>

// Reads a whole file.
bool ReadTextFile(const std::string& path, std::string* text, std::string* error);

// Parses XML text into a new stand-in DOM document. `label` names the source
// in the message, which gives the line and column of malformed XML.
bool ParseDocument(const std::string& text, const std::string& label,
                   ComPtr<IXMLDOMDocument2>* document, std::string* error);

// Serialises a document as UTF-8 XML, ending with a newline.
bool SerializeDocument(IXMLDOMDocument2* document, std::string* text, std::string* error);

// Writes `text` to `path` through a temporary file in the same folder that
// replaces `path` only once it is complete, so a failure never leaves a
// half-written file behind.
bool WriteFileAtomically(const std::string& path, const std::string& text, std::string* error);
