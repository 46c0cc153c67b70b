// The class factory served for both class identifiers. It makes the
// user-interface plug-in or the PrintTicket provider: the requested interface
// chooses, except IID_IUnknown, which names no plug-in role and gets the object
// of the class the factory was obtained for.
#pragma once

#include "common/platform.h"

namespace ptbridge {

class ClassFactory final : public IClassFactory {
  public:
    explicit ClassFactory(REFCLSID classId) : classId_(classId) {}
    ClassFactory(const ClassFactory&) = delete;
    ClassFactory& operator=(const ClassFactory&) = delete;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) override;
    STDMETHODIMP LockServer(BOOL fLock) override;

  private:
    ~ClassFactory() = default;

    volatile LONG referenceCount_ = 1;
    const CLSID classId_;
};

} // namespace ptbridge
