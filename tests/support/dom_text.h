// Reading names, text and attributes through any MSXML-compatible DOM, and
// the conversions between ASCII, char16_t text and the platform's WCHAR that
// tests need for it. Builds on every platform: the stand-in DOM natively,
// MSXML 6 in the Windows test programs.
#pragma once

#include "common/com_ptr.h"

#include <gtest/gtest.h>

#include <string>

// ASCII wide text as narrow text; a null pointer is the empty text.
std::string Utf8(const WCHAR* text);
std::u16string Wide(const std::string& ascii);
// The platform's WCHAR text as char16_t text (the same type except on Windows,
// where WCHAR is a wchar_t of the same width); a null pointer is the empty text.
std::u16string Utf16(const WCHAR* text);
// char16_t text where the platform takes WCHAR text.
inline const WCHAR* AsWchar(const char16_t* text) {
    return reinterpret_cast<const WCHAR*>(text);
}
// A BSTR holding `text`, null characters included.
ptbridge::UniqueBstr MakeBstr(const std::u16string& text);

std::string NodeName(IXMLDOMNode* node);
std::string NodeText(IXMLDOMNode* node);
inline const std::string AbsentAttribute = "<absent>";
// The text of the element's attribute written `name`, or AbsentAttribute.
std::string AttributeText(IXMLDOMNode* element, const std::string& name);
