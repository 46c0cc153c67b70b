// The DEVMODE the host makes for a job. Its driver-private area (dmDriverExtra
// bytes after the public fields) holds, in order:
//
//   the host's option block   the device option selected for each feature
//   the plug-in's section     as many bytes as the plug-in asked for
//
// The option block is what lets the host recognise its own DEVMODEs and answer
// IPrintCoreHelper::GetOption from them:
//
//   DWORD magic       HostOptionBlockMagic ("PTBH" in memory order)
//   DWORD blockSize   bytes of the block, header and padding included
//   DWORD count       number of selections
//   count times "Feature\0Option\0" (8-bit keywords), zero-padded to 4 bytes
#pragma once

#include "common/platform.h"

#include <string>
#include <vector>

namespace ptbridge {

constexpr DWORD HostOptionBlockMagic = 0x48425450;

// One device option selection: the option keyword chosen for a feature keyword.
struct OptionSelection {
    std::string feature;
    std::string option;
};

class HostDevmode {
  public:
    HostDevmode() = default;

    // Builds a DEVMODE carrying `selections` and a zeroed plug-in section of
    // `pluginSectionSize` bytes. When a feature is selected more than once the
    // last selection counts. Fails with E_INVALIDARG when a keyword is empty or
    // holds a zero byte, or when the private area would exceed the 65535 bytes
    // that dmDriverExtra can describe.
    static HRESULT Build(const std::vector<OptionSelection>& selections, DWORD pluginSectionSize,
                         HostDevmode* devmode);

    DEVMODEW* Devmode() { return reinterpret_cast<DEVMODEW*>(storage_.data()); }
    // Whole size: dmSize + dmDriverExtra.
    DWORD Size() const { return size_; }
    BYTE* PluginSection() { return reinterpret_cast<BYTE*>(storage_.data()) + pluginOffset_; }
    DWORD PluginSectionSize() const { return size_ - pluginOffset_; }

  private:
    std::vector<DWORD> storage_; // DWORD elements keep the DEVMODEW aligned
    DWORD size_ = 0;
    DWORD pluginOffset_ = 0;
};

// Looks up the option stored for `feature` in a DEVMODE the host made:
// S_OK and *option pointing into the DEVMODE (valid as long as it is);
// S_FALSE and *option null when the feature has no selection;
// E_POINTER for a null argument; E_INVALIDARG when `size` is not
// dmSize + dmDriverExtra or the DEVMODE carries no intact option block.
HRESULT FindStoredOption(const DEVMODEW* devmode, DWORD size, PCSTR feature, PCSTR* option);

} // namespace ptbridge
