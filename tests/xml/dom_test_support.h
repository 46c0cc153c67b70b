// Fixture for the DOM helper tests: documents parsed by the stand-in DOM, a
// helper built over them, and checks that every DOM object, BSTR and namespace
// context taken during a test is given back.
#pragma once

#include "dom_reading.h"
#include "fake_core_helper.h"
#include "print_schema_root.h"

#include "xml/print_schema_dom_helper.h"

#include <gtest/gtest.h>

#include <string>

std::string NamespaceOf(IXMLDOMNode* node);

// Roots declaring the framework, keywords, XML Schema and schema-instance namespaces.
inline const PrintSchemaRoot Documents{PrintSchemaDeclarations()};

// Counts namespace contexts pushed and popped through a stand-in namespace manager.
struct ContextCounts {
    int pushed = 0;
    int popped = 0;
};

// A core helper whose namespace managers report their pushes and pops.
class ContextCountingCoreHelper final : public FakeCoreHelper {
  public:
    explicit ContextCountingCoreHelper(ContextCounts* counts) : counts_(counts) {}

    STDMETHODIMP CreateInstanceOfMSXMLObject(REFCLSID rclsid, IUnknown* punkOuter,
                                             DWORD dwClsContext, REFIID riid, LPVOID* ppv) override;

  private:
    ContextCounts* counts_;
};

class DomHelperTest : public ::testing::Test {
  protected:
    void SetUp() override;
    // Deletes the helper and the document, then checks that nothing is left.
    void TearDown() override;

    // Parses `xml` and builds a helper over it.
    void Load(const std::string& xml);
    // Deletes the helper, releases the document and checks that every DOM
    // object, BSTR and pushed namespace context was given back.
    void Unload();

    // The document saved as XML, without the declaration and line breaks.
    std::string Saved() const;
    // The index-th element of the document with this tag name, prefix included.
    void ElementByTag(const std::string& tagName, LONG index, IXMLDOMElement** element) const;
    LONG CountByTag(const std::string& tagName) const;

    // Arms fault injection: the nth call (from 1) of the given kinds fails.
    static void Arm(LONG nth, unsigned kinds, HRESULT failure = InjectedFailure);
    // Disarms it; true when the armed call was reached.
    static bool Disarm(LONG nth);

    // Loads `xml` and runs `attempt(nth)` for nth = 1, 2, ... until a run no
    // longer reaches its armed fault; every run ends with Unload's checks.
    template <typename Attempt> void ForEachInjectedFault(const std::string& xml, Attempt attempt) {
        for (LONG nth = 1; nth < 1000 && !HasFailure(); ++nth) {
            Load(xml);
            bool injected = attempt(nth);
            Unload();
            if (!injected)
                return;
        }
    }

    static constexpr HRESULT InjectedFailure = HRESULT(0x80041234);

    ptbridge::ComPtr<IXMLDOMDocument2> document_;
    ptbridge::PrintSchemaDomHelper* helper_ = nullptr;
    ContextCounts contexts_;
    ContextCountingCoreHelper core_{&contexts_};

  private:
    LiveObjectCounts atStart_;
};
