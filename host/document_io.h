// The command's documents: parsed from text into the platform's DOM (the
// stand-in DOM, or MSXML 6 on Windows) and serialised back to text.
#pragma once

#include "common/com_ptr.h"

#include "common/platform.h"

#include <string>

// Parses XML text into a new DOM document. `label` names the source in the
// message, which gives the line and column of malformed XML where the DOM
// reports them.
bool ParseDocument(const std::string& text, const std::string& label,
                   ComPtr<IXMLDOMDocument2>* document, std::string* error);

// Serialises a document as UTF-8 XML with "\n" line ends, ending with a newline.
bool SerializeDocument(IXMLDOMDocument2* document, std::string* text, std::string* error);
