#include "platform_seams.h"

#include "hresult_names.h"
#include "text_encoding.h"
#include "windows/file_handle.h"
#include "windows/msxml_document_class.h"
#include "windows/serialized_text.h"
#include "windows/windows_error.h"

#include <cstring>
#include <new>
#include <utility>

namespace ptbridge {

namespace {
// A fresh MSXML 6 document that loads synchronously, keeping white space as
// written or, by MSXML's default, dropping what it deems extraneous.
HRESULT CreateDocument(bool preserveWhiteSpace, ComPtr<IXMLDOMDocument2>* document) {
    RETURN_IF_NOT_OK(CoCreateInstance(CLSID_DOMDocument60, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IXMLDOMDocument2, document->PutVoid()));
    RETURN_IF_NOT_OK((*document)->put_async(VARIANT_FALSE));
    return (*document)->put_preserveWhiteSpace(preserveWhiteSpace ? VARIANT_TRUE : VARIANT_FALSE);
}

// Loads the bytes as a file's content, so that the parser reads the encoding
// from the byte order mark or the declaration as it does for a file.
HRESULT LoadBytes(IXMLDOMDocument2* document, const std::string& bytes, VARIANT_BOOL* loaded) {
    if (bytes.size() > 0x7FFFFFFF)
        return E_OUTOFMEMORY;
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
    if (!array)
        return E_OUTOFMEMORY;
    UniqueVariant source;
    V_VT(source.Get()) = VT_ARRAY | VT_UI1;
    V_ARRAY(source.Get()) = array;
    void* data = nullptr;
    RETURN_IF_NOT_OK(SafeArrayAccessData(array, &data));
    std::memcpy(data, bytes.data(), bytes.size());
    SafeArrayUnaccessData(array);
    return document->load(*source.Get(), loaded);
}

std::string ReadError(const std::string& path, DWORD code) {
    return "cannot read " + (path == "-" ? std::string("standard input") : "'" + path + "'") +
           ": " + DescribeWindowsError(code);
}

} // namespace

bool ReadTextFile(const std::string& path, std::string* text, std::string* error) {
    text->clear();
    std::u16string widePath;
    if (path != "-" && !Utf16FromUtf8(path, &widePath)) {
        *error = "cannot read '" + path + "': the path is not UTF-8";
        return false;
    }
    FileHandle opened(path == "-" ? INVALID_HANDLE_VALUE
                                  : CreateFileW(reinterpret_cast<LPCWSTR>(widePath.c_str()),
                                                GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    HANDLE file = path == "-" ? GetStdHandle(STD_INPUT_HANDLE) : opened.Get();
    if (file == INVALID_HANDLE_VALUE || file == nullptr) {
        *error = ReadError(path, GetLastError());
        return false;
    }
    char buffer[65536];
    try {
        // Sized from the file when it tells its size, so that a large document
        // is held once rather than in a buffer grown by doubling.
        LARGE_INTEGER size;
        if (GetFileType(file) == FILE_TYPE_DISK && GetFileSizeEx(file, &size))
            text->reserve(static_cast<size_t>(size.QuadPart));
        for (;;) {
            DWORD count = 0;
            if (!ReadFile(file, buffer, sizeof buffer, &count, nullptr)) {
                // A pipe whose writer is done ends this way.
                if (GetLastError() == ERROR_BROKEN_PIPE)
                    return true;
                *error = ReadError(path, GetLastError());
                return false;
            }
            if (count == 0)
                return true;
            text->append(buffer, count);
        }
    } catch (const std::bad_alloc&) {
        // A file larger than the memory left is refused like any unreadable one.
        *error = ReadError(path, ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
}

namespace {
// "LINE:COLUMN: reason" from the document's parse error, as much as it tells.
std::string DescribeParseError(IXMLDOMDocument2* document, HRESULT hr, const std::string& label) {
    ComPtr<IXMLDOMParseError> parseError;
    long line = 0, column = 0;
    UniqueBstr reason;
    if (document->get_parseError(parseError.Put()) == S_OK && parseError) {
        parseError->get_line(&line);
        parseError->get_linepos(&column);
        parseError->get_reason(reason.Put());
    }
    std::string where = label;
    if (line > 0) {
        where += ":" + std::to_string(line);
        if (column > 0)
            where += ":" + std::to_string(column);
    }
    std::string text =
        reason.Get() ? Utf8FromUtf16(std::u16string(reinterpret_cast<const char16_t*>(reason.Get()),
                                                    reason.Length()))
                     : std::string();
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return where + ": XML error: " + (text.empty() ? DescribeHResult(hr) : text);
}
} // namespace

bool ParseDocument(const std::string& text, const std::string& label, bool preserveWhiteSpace,
                   ComPtr<IXMLDOMDocument2>* document, std::string* error) {
    ComPtr<IXMLDOMDocument2> made;
    HRESULT hr = CreateDocument(preserveWhiteSpace, &made);
    if (hr != S_OK) {
        *error = "cannot create an MSXML 6 document: " + DescribeHResult(hr);
        return false;
    }
    VARIANT_BOOL loaded = VARIANT_FALSE;
    hr = LoadBytes(made.Get(), text, &loaded);
    if (hr != S_OK || loaded != VARIANT_TRUE) {
        *error = DescribeParseError(made.Get(), hr == S_OK ? E_FAIL : hr, label);
        return false;
    }
    *document = std::move(made);
    return true;
}

// MSXML parses the bytes once they are all read: the input is read whole,
// into *text, and then parsed.
InputLoad LoadInputDocument(const std::string& path, const std::string& label,
                            bool preserveWhiteSpace, ComPtr<IXMLDOMDocument2>* document,
                            std::string* text, std::string* error) {
    if (!ReadTextFile(path, text, error))
        return InputLoad::Unreadable;
    return ParseDocument(*text, label, preserveWhiteSpace, document, error)
               ? InputLoad::Loaded
               : InputLoad::NotADocument;
}

bool SerializeDocument(IXMLDOMDocument2* document, std::string* text, std::string* error) {
    UniqueBstr xml;
    HRESULT hr = document->get_xml(xml.Put());
    if (hr != S_OK) {
        *error = "cannot serialise the document: " + DescribeHResult(hr);
        return false;
    }
    std::u16string wide(reinterpret_cast<const char16_t*>(xml.Get()), xml.Length());
    *text = AsCommandOutput(Utf8FromUtf16(wide));
    return true;
}

} // namespace ptbridge
