#include "hresult_names.h"

#include "common/format_string.h"
#include "common/oem_interfaces.h"

#include <cstdint>
#include <cstdio>

namespace ptbridge {

namespace {
struct NamedResult {
    HRESULT value;
    const char* name;
};

const NamedResult KnownResults[] = {
    {S_OK, "S_OK"},
    {S_FALSE, "S_FALSE"},
    {S_NO_CONFLICT, "S_NO_CONFLICT"},
    {E_NOTIMPL, "E_NOTIMPL"},
    {E_NOINTERFACE, "E_NOINTERFACE"},
    {E_POINTER, "E_POINTER"},
    {E_ABORT, "E_ABORT"},
    {E_FAIL, "E_FAIL"},
    {E_UNEXPECTED, "E_UNEXPECTED"},
    {E_ACCESSDENIED, "E_ACCESSDENIED"},
    {E_HANDLE, "E_HANDLE"},
    {E_OUTOFMEMORY, "E_OUTOFMEMORY"},
    {E_INVALIDARG, "E_INVALIDARG"},
    {TextTruncatedResult, "STRSAFE_E_INSUFFICIENT_BUFFER"},
    {E_VERSION_NOT_SUPPORTED, "E_VERSION_NOT_SUPPORTED"},
    {CLASS_E_NOAGGREGATION, "CLASS_E_NOAGGREGATION"},
    {CLASS_E_CLASSNOTAVAILABLE, "CLASS_E_CLASSNOTAVAILABLE"},
    {REGDB_E_CLASSNOTREG, "REGDB_E_CLASSNOTREG"},
    {DISP_E_TYPEMISMATCH, "DISP_E_TYPEMISMATCH"},
    {DISP_E_BADVARTYPE, "DISP_E_BADVARTYPE"},
};

constexpr uint32_t Win32Facility = 7;

std::string Hex(HRESULT hr) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<uint32_t>(hr));
    return text;
}
} // namespace

const char* HResultName(HRESULT hr) {
    for (const NamedResult& known : KnownResults) {
        if (known.value == hr)
            return known.name;
    }
    return nullptr;
}

std::string DescribeHResult(HRESULT hr) {
    if (const char* name = HResultName(hr))
        return std::string(name) + " (" + Hex(hr) + ")";
    uint32_t bits = static_cast<uint32_t>(hr);
    if (FAILED(hr) && ((bits >> 16) & 0x1FFF) == Win32Facility)
        return "HRESULT_FROM_WIN32(" + std::to_string(HRESULT_CODE(hr)) + ") (" + Hex(hr) + ")";
    return Hex(hr);
}

} // namespace ptbridge
