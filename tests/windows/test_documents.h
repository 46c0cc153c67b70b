// Test documents on the platform's DOM: the stand-in DOM natively, MSXML 6 in
// the Windows test program. Tests that run on both include this.
#pragma once

#include "common/com_ptr.h"

#include "common/platform.h"

#include <string>

// Parses `xml`; a test failure and an empty pointer when it does not parse.
ptbridge::ComPtr<IXMLDOMDocument2> ParseTestDocument(const std::string& xml);

// The first descendant of the root element whose local name is `name`, bare or
// with the prefix "r". Test documents give every element a local name of its own.
ptbridge::ComPtr<IXMLDOMNode> FindElement(IXMLDOMDocument2* document, const char16_t* name);

ptbridge::ComPtr<IXMLDOMNode> RootElement(IXMLDOMDocument2* document);
