// The owners: every reference and allocation they take is given back exactly
// once, and what they hand on is no longer theirs.
#include "common/com_ptr.h"

#include "platform_testing.h"

#include <gtest/gtest.h>

#include <utility>

using namespace ptbridge;

namespace {

// A COM object that only counts its references and answers for IUnknown.
class CountedObject final : public IUnknown {
  public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!IsEqualGUID(riid, IID_IUnknown)) {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        *ppv = static_cast<IUnknown*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references; }
    STDMETHODIMP_(ULONG) Release() override { return --references; }

    ULONG references = 0;
};

// What a call that hands over a reference does with its out-parameter.
template <typename T> void HandOver(T* object, T** out) {
    object->AddRef();
    *out = object;
}

TEST(ComPtrTest, PutReleasesWhatWasHeldAndTheOwnerReleasesTheRest) {
    CountedObject first, second;
    {
        ComPtr<IUnknown> held;
        HandOver<IUnknown>(&first, held.Put());
        EXPECT_EQ(1u, first.references);
        HandOver<IUnknown>(&second, held.Put());
        EXPECT_EQ(0u, first.references);
        EXPECT_EQ(&second, held.Get());
    }
    EXPECT_EQ(0u, second.references);
}

TEST(ComPtrTest, DetachHandsOnTheReferenceAndAttachTakesOneOver) {
    CountedObject object;
    ComPtr<IUnknown> held;
    HandOver<IUnknown>(&object, held.Put());
    IUnknown* detached = held.Detach();
    EXPECT_EQ(nullptr, held.Get());
    EXPECT_EQ(1u, object.references);
    held.Attach(detached);
    EXPECT_EQ(1u, object.references);
    held.Reset();
    EXPECT_EQ(0u, object.references);
    EXPECT_FALSE(held);
}

TEST(ComPtrTest, MovesCarryTheOneReference) {
    CountedObject first, second;
    ComPtr<IUnknown> a, b;
    HandOver<IUnknown>(&first, a.Put());
    HandOver<IUnknown>(&second, b.Put());
    b = std::move(a);
    EXPECT_EQ(0u, second.references);
    EXPECT_EQ(1u, first.references);
    ComPtr<IUnknown> c(std::move(b));
    EXPECT_EQ(1u, first.references);
    EXPECT_FALSE(a);
    EXPECT_FALSE(b);
    c.Reset();
    EXPECT_EQ(0u, first.references);
}

TEST(ComPtrTest, QueryToGivesTheOtherOwnerItsOwnReference) {
    CountedObject object;
    ComPtr<IUnknown> held;
    HandOver<IUnknown>(&object, held.Put());
    ComPtr<IUnknown> other;
    EXPECT_EQ(S_OK, held.QueryTo(IID_IUnknown, other.Put()));
    EXPECT_EQ(2u, object.references);
    ComPtr<IClassFactory> refused;
    EXPECT_EQ(E_NOINTERFACE, held.QueryTo(IID_IClassFactory, refused.Put()));
    EXPECT_FALSE(refused);
    other.Reset();
    held.Reset();
    EXPECT_EQ(0u, object.references);
}

TEST(UniqueBstrTest, FreesWhatItHoldsAndNothingItHandedOn) {
    const LONG before = PlatformLiveBstrCount();
    {
        UniqueBstr text(SysAllocString(W("abc")));
        EXPECT_EQ(3u, text.Length());
        *text.Put() = SysAllocString(W("de"));
        EXPECT_EQ(before + 1, PlatformLiveBstrCount());
        UniqueBstr moved(std::move(text));
        EXPECT_EQ(nullptr, text.Get());
        EXPECT_EQ(0u, text.Length());
        BSTR detached = moved.Detach();
        EXPECT_EQ(before + 1, PlatformLiveBstrCount());
        moved = UniqueBstr(detached);
        EXPECT_EQ(2u, moved.Length());
    }
    EXPECT_EQ(before, PlatformLiveBstrCount());
}

TEST(UniqueVariantTest, StartsEmptyAndClearsWhatItHolds) {
    const LONG before = PlatformLiveBstrCount();
    CountedObject object;
    {
        UniqueVariant value;
        EXPECT_EQ(VT_EMPTY, V_VT(value.Get()));
        V_VT(value.Get()) = VT_BSTR;
        V_BSTR(value.Get()) = SysAllocString(W("abc"));
        VARIANT* out = value.Put();
        EXPECT_EQ(VT_EMPTY, V_VT(out));
        EXPECT_EQ(before, PlatformLiveBstrCount());
        V_VT(out) = VT_UNKNOWN;
        HandOver<IUnknown>(&object, &V_UNKNOWN(out));
    }
    EXPECT_EQ(0u, object.references);
}

TEST(ReturnIfNotOkTest, OnlyExactlySOkGoesOn) {
    for (HRESULT result : {S_OK, S_FALSE, E_FAIL, HRESULT(2)}) {
        SCOPED_TRACE(result);
        bool wentOn = false;
        auto step = [&]() -> HRESULT {
            RETURN_IF_NOT_OK(result);
            wentOn = true;
            return S_OK;
        };
        EXPECT_EQ(result, step());
        EXPECT_EQ(result == S_OK, wentOn);
    }
}

} // namespace
