#include "host_devmode.h"

#include <cstring>
#include <utility>

namespace ptbridge {

namespace {
struct OptionBlockHeader {
    DWORD magic;
    DWORD blockSize;
    DWORD count;
};

constexpr DWORD MaxDriverExtra = 0xFFFF;

bool ValidKeyword(const std::string& keyword) {
    return !keyword.empty() && keyword.find('\0') == std::string::npos;
}

DWORD RoundUpToDword(size_t bytes) {
    return static_cast<DWORD>((bytes + sizeof(DWORD) - 1) / sizeof(DWORD) * sizeof(DWORD));
}

// Reads the zero-terminated keyword at `*cursor`, which must end before `end`.
const char* NextKeyword(const char** cursor, const char* end) {
    const char* keyword = *cursor;
    const void* terminator = std::memchr(keyword, '\0', static_cast<size_t>(end - keyword));
    if (!terminator)
        return nullptr;
    *cursor = static_cast<const char*>(terminator) + 1;
    return keyword;
}
} // namespace

HRESULT HostDevmode::Build(const std::vector<OptionSelection>& selections, DWORD pluginSectionSize,
                           HostDevmode* devmode) {
    std::vector<OptionSelection> unique;
    for (const OptionSelection& selection : selections) {
        if (!ValidKeyword(selection.feature) || !ValidKeyword(selection.option))
            return E_INVALIDARG;
        bool replaced = false;
        for (OptionSelection& kept : unique) {
            if (kept.feature == selection.feature) {
                kept.option = selection.option;
                replaced = true;
            }
        }
        if (!replaced)
            unique.push_back(selection);
    }

    size_t pairBytes = 0;
    for (const OptionSelection& selection : unique)
        pairBytes += selection.feature.size() + 1 + selection.option.size() + 1;
    if (pairBytes > MaxDriverExtra || pluginSectionSize > MaxDriverExtra)
        return E_INVALIDARG;
    DWORD blockSize = RoundUpToDword(sizeof(OptionBlockHeader) + pairBytes);
    if (blockSize + pluginSectionSize > MaxDriverExtra)
        return E_INVALIDARG;

    DWORD size = sizeof(DEVMODEW) + blockSize + pluginSectionSize;
    HostDevmode made;
    made.storage_.assign((size + sizeof(DWORD) - 1) / sizeof(DWORD), 0);
    made.size_ = size;
    made.pluginOffset_ = sizeof(DEVMODEW) + blockSize;

    DEVMODEW* publicPart = made.Devmode();
    const WCHAR deviceName[] = W("ptbridge");
    std::memcpy(publicPart->dmDeviceName, deviceName, sizeof deviceName);
    publicPart->dmSpecVersion = DM_SPECVERSION;
    publicPart->dmSize = sizeof(DEVMODEW);
    publicPart->dmDriverExtra = static_cast<WORD>(blockSize + pluginSectionSize);

    BYTE* block = reinterpret_cast<BYTE*>(publicPart) + sizeof(DEVMODEW);
    OptionBlockHeader header{HostOptionBlockMagic, blockSize, static_cast<DWORD>(unique.size())};
    std::memcpy(block, &header, sizeof header);
    char* text = reinterpret_cast<char*>(block + sizeof header);
    for (const OptionSelection& selection : unique) {
        std::memcpy(text, selection.feature.c_str(), selection.feature.size() + 1);
        text += selection.feature.size() + 1;
        std::memcpy(text, selection.option.c_str(), selection.option.size() + 1);
        text += selection.option.size() + 1;
    }
    *devmode = std::move(made);
    return S_OK;
}

HRESULT FindStoredOption(const DEVMODEW* devmode, DWORD size, PCSTR feature, PCSTR* option) {
    if (!option)
        return E_POINTER;
    *option = nullptr;
    if (!devmode || !feature)
        return E_POINTER;
    if (devmode->dmSize != sizeof(DEVMODEW) ||
        size != static_cast<DWORD>(devmode->dmSize) + devmode->dmDriverExtra ||
        devmode->dmDriverExtra < sizeof(OptionBlockHeader))
        return E_INVALIDARG;

    const BYTE* block = reinterpret_cast<const BYTE*>(devmode) + devmode->dmSize;
    OptionBlockHeader header;
    std::memcpy(&header, block, sizeof header);
    if (header.magic != HostOptionBlockMagic || header.blockSize < sizeof header ||
        header.blockSize > devmode->dmDriverExtra)
        return E_INVALIDARG;

    const char* cursor = reinterpret_cast<const char*>(block + sizeof header);
    const char* end = reinterpret_cast<const char*>(block + header.blockSize);
    for (DWORD i = 0; i < header.count; ++i) {
        const char* storedFeature = NextKeyword(&cursor, end);
        const char* storedOption = storedFeature ? NextKeyword(&cursor, end) : nullptr;
        if (!storedOption)
            return E_INVALIDARG;
        if (std::strcmp(storedFeature, feature) == 0) {
            *option = storedOption;
            return S_OK;
        }
    }
    return S_FALSE;
}

} // namespace ptbridge
