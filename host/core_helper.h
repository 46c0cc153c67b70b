// The host object handed to the plug-in through PublishDriverInterface. It is
// the core driver's helper (IPrintCoreHelper) and its driver-UI interface
// (IPrintOemDriverUI, which the plug-in only holds). GetOption answers from the
// option block of a DEVMODE the host made; CreateInstanceOfMSXMLObject makes
// namespace managers; every other helper operation is not offered here.
#pragma once

#include "common/oem_interfaces.h"

namespace ptbridge {

class HostCoreHelper final : public IPrintCoreHelper, public IPrintOemDriverUI {
  public:
    // A new object with one reference.
    static HostCoreHelper* Create();
    // Number of host objects alive in the process, to prove the plug-in gave
    // back every reference it took.
    static LONG LiveCount();

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP GetOption(const DEVMODEW* pDevmode, DWORD cbSize, PCSTR pszFeatureRequested,
                           PCSTR* ppszOption) override;
    STDMETHODIMP SetOptions(DEVMODEW* pDevmode, DWORD cbSize, BOOL bResolveConflicts,
                            const PRINT_FEATURE_OPTION* pFOPairs, DWORD cPairs,
                            DWORD* pcPairsWritten, DWORD* pdwResult) override;
    STDMETHODIMP EnumConstrainedOptions(const DEVMODEW* pDevmode, DWORD cbSize,
                                        PCSTR pszFeatureKeyword, PCSTR** pConstrainedOptionList,
                                        DWORD* pdwNumOptions) override;
    STDMETHODIMP WhyConstrained(const DEVMODEW* pDevmode, DWORD cbSize, PCSTR pszFeatureKeyword,
                                PCSTR pszOptionKeyword,
                                const PRINT_FEATURE_OPTION** ppFOConstraints,
                                DWORD* pdwNumOptions) override;
    STDMETHODIMP EnumFeatures(PCSTR** pFeatureList, DWORD* pdwNumFeatures) override;
    STDMETHODIMP EnumOptions(PCSTR pszFeatureKeyword, PCSTR** pOptionList,
                             DWORD* pdwNumOptions) override;
    STDMETHODIMP GetFontSubstitution(PCWSTR pszTrueTypeFontName, PCWSTR* ppszDevFontName) override;
    STDMETHODIMP SetFontSubstitution(PCWSTR pszTrueTypeFontName, PCWSTR pszDevFontName) override;
    STDMETHODIMP CreateInstanceOfMSXMLObject(REFCLSID rclsid, IUnknown* punkOuter,
                                             DWORD dwClsContext, REFIID riid, LPVOID* ppv) override;

  private:
    HostCoreHelper();
    ~HostCoreHelper();
    HostCoreHelper(const HostCoreHelper&) = delete;
    HostCoreHelper& operator=(const HostCoreHelper&) = delete;

    volatile LONG referenceCount_ = 1;
};

} // namespace ptbridge
