// Owners for what platform calls hand over: one interface reference (ComPtr),
// one BSTR (UniqueBstr), the contents of one VARIANT (UniqueVariant). Each gives
// back what it holds when it goes out of scope; Detach() hands it on instead.
#pragma once

#include "common/platform.h"

#include <utility>

namespace ptbridge {

// Ends the enclosing function unless `expr` gives exactly S_OK: any other
// result, S_FALSE included, is returned unchanged.
#define RETURN_IF_NOT_OK(expr)                                                                     \
    do {                                                                                           \
        const HRESULT notOkResult = (expr);                                                        \
        if (notOkResult != S_OK)                                                                   \
            return notOkResult;                                                                    \
    } while (false)

// Owns one reference on a COM object. Moves carry the reference; there are no copies.
template <typename T> class ComPtr {
  public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(ComPtr&& other) noexcept : pointer_(other.Detach()) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other)
            Attach(other.Detach());
        return *this;
    }

    T* Get() const { return pointer_; }
    T* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }

    // Out-parameter for a call that hands over one reference. What was held is
    // released first.
    T** Put() {
        Reset();
        return &pointer_;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }

    // Takes over a reference the caller already owns, releasing what was held.
    void Attach(T* pointer) {
        Reset();
        pointer_ = pointer;
    }
    // Gives the reference to the caller, who then releases it.
    T* Detach() { return std::exchange(pointer_, nullptr); }
    void Reset() {
        if (pointer_)
            std::exchange(pointer_, nullptr)->Release();
    }

    // Asks the held object for the interface `iid`; `other` receives its own reference.
    template <typename U> HRESULT QueryTo(REFIID iid, U** other) const {
        return pointer_->QueryInterface(iid, reinterpret_cast<void**>(other));
    }

  private:
    T* pointer_ = nullptr;
};

// Owns one BSTR. Moves carry the BSTR; there are no copies.
class UniqueBstr {
  public:
    UniqueBstr() = default;
    // Takes over a BSTR the caller owns.
    explicit UniqueBstr(BSTR text) : text_(text) {}
    ~UniqueBstr() { Reset(); }
    UniqueBstr(UniqueBstr&& other) noexcept : text_(other.Detach()) {}
    UniqueBstr& operator=(UniqueBstr&& other) noexcept {
        if (this != &other) {
            Reset();
            text_ = other.Detach();
        }
        return *this;
    }

    BSTR Get() const { return text_; }
    // Out-parameter for a call that hands over a BSTR. What was held is freed first.
    BSTR* Put() {
        Reset();
        return &text_;
    }
    // Gives the BSTR to the caller, who then frees it.
    BSTR Detach() { return std::exchange(text_, nullptr); }
    void Reset() {
        if (text_)
            SysFreeString(std::exchange(text_, nullptr));
    }
    // The counted length in characters; 0 for none.
    UINT Length() const { return SysStringLen(text_); }

  private:
    BSTR text_ = nullptr;
};

// Owns the contents of one VARIANT: empty from the start, cleared at the end.
class UniqueVariant {
  public:
    UniqueVariant() { VariantInit(&value_); }
    ~UniqueVariant() { VariantClear(&value_); }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;

    VARIANT* Get() { return &value_; }
    const VARIANT* Get() const { return &value_; }
    // Out-parameter for a call that fills a VARIANT. What was held is cleared first.
    VARIANT* Put() {
        VariantClear(&value_);
        return &value_;
    }

  private:
    VARIANT value_;
};

} // namespace ptbridge
