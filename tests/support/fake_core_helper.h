// A counting IPrintCoreHelper for tests: answers GetOption from a table the test
// fills, creates namespace managers through the stand-in DOM, and can be told
// to refuse either.
#pragma once

#include "common/oem_interfaces.h"

#include <map>
#include <string>

class FakeCoreHelper : public IPrintCoreHelper {
  public:
    FakeCoreHelper() = default;

    // Option keyword answered for a feature; features not in the table answer S_FALSE.
    std::map<std::string, std::string> options;
    // Result GetOption gives for a feature instead of answering (when set);
    // S_OK answers with no keyword (a null option).
    std::map<std::string, HRESULT> optionFailures;
    // Result of CreateInstanceOfMSXMLObject when it must fail; S_OK to succeed.
    HRESULT namespaceManagerFailure = S_OK;
    // Whether QueryInterface answers IID_IPrintCoreHelper / IID_IPrintOemDriverUI.
    bool offersCoreHelper = true;
    bool offersDriverUI = false;
    // Result of an answered query for IID_IPrintCoreHelper; another success
    // code hands over a reference all the same.
    HRESULT coreHelperQueryResult = S_OK;

    LONG References() const { return references_; }
    int getOptionCalls = 0;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&references_); }
    STDMETHODIMP_(ULONG) Release() override { return InterlockedDecrement(&references_); }

    STDMETHODIMP GetOption(const DEVMODEW* pDevmode, DWORD cbSize, PCSTR pszFeatureRequested,
                           PCSTR* ppszOption) override;
    STDMETHODIMP SetOptions(DEVMODEW*, DWORD, BOOL, const PRINT_FEATURE_OPTION*, DWORD, DWORD*,
                            DWORD*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP EnumConstrainedOptions(const DEVMODEW*, DWORD, PCSTR, PCSTR**, DWORD*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP WhyConstrained(const DEVMODEW*, DWORD, PCSTR, PCSTR, const PRINT_FEATURE_OPTION**,
                                DWORD*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP EnumFeatures(PCSTR**, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP EnumOptions(PCSTR, PCSTR**, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP GetFontSubstitution(PCWSTR, PCWSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP SetFontSubstitution(PCWSTR, PCWSTR) override { return E_NOTIMPL; }
    STDMETHODIMP CreateInstanceOfMSXMLObject(REFCLSID rclsid, IUnknown* punkOuter,
                                             DWORD dwClsContext, REFIID riid, LPVOID* ppv) override;

  private:
    // Lives on the test's stack: the count only proves balance, it never deletes.
    volatile LONG references_ = 1;
};
