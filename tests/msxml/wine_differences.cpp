#include "wine_differences.h"

#include "common/platform.h"

const std::vector<KnownDifference>& KnownDifferences() {
    static const std::vector<KnownDifference> differences = {
        {"DocumentedBehaviourTest.NamespaceDeclarationsAreListedAsAttributes",
         KnownDifference::WineDiffers,
         "getNamedItem does not find a namespace declaration by its name (xmlns:p), though the "
         "attribute map lists it"},
        {"DocumentedBehaviourTest.EveryAttributeIndexHoldsOneItemAndDeclarationsStayTheSameObject",
         KnownDifference::WineDiffers,
         "node identity is not stable: reaching the same node twice can give two objects"},
        {"LoadSaveTest.NamespaceUrisWithMarkupCharactersSaveWellFormed",
         KnownDifference::WineDiffers,
         "save writes '&' in a namespace URI unescaped (xmlns:p=\"urn:a?b=1&c=2\"), which does not "
         "parse again"},
        {"LoadSaveTest.LoadXmlReplacesTheContent", KnownDifference::WineDiffers,
         "after loadXML the former root element still has a parent (get_parentNode S_OK); the "
         "stand-in detaches it (MSXML's documentation is silent)"},
        {"NamespaceManagerTest.DeepContextOfTheRootBindsItsPrefixes", KnownDifference::WineDiffers,
         "MXNamespaceManager60::pushNodeContext returns E_NOTIMPL"},
        {"NamespaceManagerTest.DeclarationBelowTheRootIsNotVisibleFromTheRoot",
         KnownDifference::WineDiffers, "MXNamespaceManager60::pushNodeContext returns E_NOTIMPL"},
        {"NamespaceManagerTest.ShallowContextHoldsOnlyTheNodesOwnDeclarations",
         KnownDifference::WineDiffers, "MXNamespaceManager60::pushNodeContext returns E_NOTIMPL"},
        {"NamespaceManagerTest.DefaultNamespaceHasTheEmptyPrefix", KnownDifference::WineDiffers,
         "MXNamespaceManager60::pushNodeContext returns E_NOTIMPL"},
        {"NamespaceManagerTest.TooSmallBufferGetsNothing", KnownDifference::WineDiffers,
         "MXNamespaceManager60::pushNodeContext returns E_NOTIMPL"},
        {"NamespaceManagerTest.RefusesForeignAndMissingNodes", KnownDifference::WineDiffers,
         "MXNamespaceManager60::pushNodeContext returns E_NOTIMPL"},
        {"NamespaceManagerTest.PrefixesComeNearestFirstThenEFail", KnownDifference::WineDiffers,
         "MXNamespaceManager60::pushNodeContext returns E_NOTIMPL"},
        {"NamespaceManagerTest.DeclaredPrefixesOverridesAndReset", KnownDifference::WineDiffers,
         "getURI does not see a prefix declared in an outer context once another is pushed, and "
         "getDeclaredPrefix(0) names \"xml\" rather than the current context's own prefix"},
        {"NamespaceManagerTest.DefaultNamespaceCanBeUndeclared", KnownDifference::WineDiffers,
         "declarePrefix of the default namespace to \"\" does not undeclare it: getURI(\"\") and "
         "getPrefix still answer"},
        {"NamespaceManagerTest.ContextNodeAnswersWithoutAnyPush", KnownDifference::WineDiffers,
         "getURI ignores its context node"},
        {"NodeTest.SameNodeIsTheSameObjectWhicheverWayItIsReached", KnownDifference::WineDiffers,
         "node identity is not stable: reaching the same node twice can give two objects"},
        {"NodeTest.EachKindAnswersOnlyItsOwnInterfaces", KnownDifference::WineDiffers,
         "QueryInterface with a null out-pointer writes through it (the program crashes) instead "
         "of answering E_POINTER"},
        {"NodeTest.ParentsOfElementsAttributesAndTheDocument", KnownDifference::WineDiffers,
         "node identity is not stable: reaching the same node twice can give two objects; the "
         "document's get_ownerDocument answers S_OK"},
        {"NodeTest.AttributeValuesAsTextAndVariants", KnownDifference::WineDiffers,
         "put_value takes a VT_BOOL and writes \"-1\"; the stand-in refuses it (MSXML's "
         "documentation is silent)"},
        {"NodeTest.XmlOfElementsTextAndTheDocument", KnownDifference::WineDiffers,
         "the xml property re-indents elements that hold no text with tabs, ends lines with "
         "\"\\r\\n\" and keeps the declaration's encoding"},
        {"NodeTest.NullOutPointersOfTypeAttributesAndWhiteSpaceAreRefused",
         KnownDifference::WineDiffers,
         "get_nodeType, get_attributes, get_preserveWhiteSpace and the attribute map's get_item "
         "write through a null out-pointer (the program crashes) instead of answering "
         "E_INVALIDARG"},
        {"SearchTest.FindsPrefixedTagsAtAnyDepthInDocumentOrder", KnownDifference::WineDiffers,
         "getElementsByTagName compares local names only: a prefixed name (psf:Feature) finds "
         "nothing and a bare one finds every prefix"},
        {"SearchTest.SearchesOnlyBelowTheElement", KnownDifference::WineDiffers,
         "getElementsByTagName compares local names only: a prefixed name (psf:Feature) finds "
         "nothing and a bare one finds every prefix"},
        {"SearchTest.MatchesTheNameAsWrittenPrefixIncluded", KnownDifference::WineDiffers,
         "getElementsByTagName compares local names only: a prefixed name (psf:Feature) finds "
         "nothing and a bare one finds every prefix"},
        {"SearchTest.MatchesTagNamesBeyondAscii", KnownDifference::WineDiffers,
         "getElementsByTagName compares local names only: a prefixed name (psf:Feature) finds "
         "nothing and a bare one finds every prefix"},
        {"SearchTest.RepeatedSearchSeesEveryEditOfTheElements", KnownDifference::WineDiffers,
         "getElementsByTagName compares local names only: a prefixed name (psf:Feature) finds "
         "nothing and a bare one finds every prefix"},
        {"SearchTest.InterleavedSearchesEachSeeTheEditsThatConcernThem",
         KnownDifference::WineDiffers,
         "getElementsByTagName compares local names only: a prefixed name (psf:Feature) finds "
         "nothing and a bare one finds every prefix"},
        {"SearchTest.ItemsByIndexAndTheEnds", KnownDifference::WineDiffers,
         "getElementsByTagName compares local names only: a prefixed name (psf:Feature) finds "
         "nothing and a bare one finds every prefix"},
        {"SearchTest.NextNodeWalksOnceAndResetRewinds", KnownDifference::WineDiffers,
         "getElementsByTagName compares local names only: a prefixed name (psf:Feature) finds "
         "nothing and a bare one finds every prefix"},
        {"SearchTest.ListKeepsItsNodesUsableAfterTheyLeaveTheDocument",
         KnownDifference::WineDiffers,
         "getElementsByTagName compares local names only: a prefixed name (psf:Feature) finds "
         "nothing and a bare one finds every prefix"},
        {"SearchTest.ListKeepsNodesThatLeftTheDocumentWithoutAnyObject",
         KnownDifference::WineDiffers,
         "getElementsByTagName compares local names only: a prefixed name (psf:Feature) finds "
         "nothing and a bare one finds every prefix"},
        {"SearchTest.NamedItemComparesNamesBeyondAsciiExactly", KnownDifference::WineDiffers,
         "loadXML refuses an attribute name with a character outside the Basic Multilingual Plane"},
        {"TreeEditTest.CreatedElementUsesThePrefixBoundInScopeWithoutRedeclaringIt",
         KnownDifference::WineDiffers,
         "a created element repeats its prefix's xmlns declaration on save although an ancestor "
         "declares it"},
        {"TreeEditTest.PrefixDeclaredBelowTheRootIsReusedWhereItIsInScope",
         KnownDifference::WineDiffers,
         "a created element repeats its prefix's xmlns declaration on save although an ancestor "
         "declares it"},
        {"TreeEditTest.PrefixBoundToAnotherNamespaceIsRedeclaredLocally",
         KnownDifference::WineDiffers,
         "getElementsByTagName compares local names only: a prefixed name (psf:Feature) finds "
         "nothing and a bare one finds every prefix"},
        {"TreeEditTest.UnprefixedElementsFollowTheDefaultNamespaceRules",
         KnownDifference::WineDiffers,
         "a created element repeats its prefix's xmlns declaration on save although an ancestor "
         "declares it"},
        {"TreeEditTest.CreatedAttributesKeepOnlyTheirWrittenPrefix", KnownDifference::WineDiffers,
         "an unprefixed attribute created with a namespace URI keeps it, and save writes it "
         "without any declaration, which does not parse again"},
        {"TreeEditTest.AttributeWhosePrefixIsTakenGetsAFreshOne", KnownDifference::WineDiffers,
         "an attribute whose prefix the element binds to another namespace keeps that prefix, so "
         "save writes a document with the wrong namespace"},
        {"TreeEditTest.CreateNodeRefusesUnsoundNamesAndKinds", KnownDifference::WineDiffers,
         "createNode accepts names and kinds MSXML refuses"},
        {"TreeEditTest.CreatedTextNodesCanBeFilledAndAppended", KnownDifference::WineDiffers,
         "put_text on a created text node escapes the text twice (\"1 &amp;lt; 2\")"},
        {"TreeEditTest.AppendMovesTheNodeWithItsSubtree", KnownDifference::WineDiffers,
         "getElementsByTagName compares local names only: a prefixed name (psf:Feature) finds "
         "nothing and a bare one finds every prefix; node identity is not stable: reaching the "
         "same node twice can give two objects"},
        {"TreeEditTest.MovedSubtreeTakesAlongDeclarationsItNeeds", KnownDifference::WineDiffers,
         "a subtree moved out of the element that declared its prefix loses that declaration on "
         "save, which does not parse again"},
        {"TreeEditTest.AppendRefusesCyclesAttributesStrangersAndASecondRoot",
         KnownDifference::WineDiffers,
         "appendChild of a node's own ancestor returns S_OK and makes a cycle (the next walk of "
         "the tree overflows the stack); MSXML refuses it"},
        {"TreeEditTest.RemoveDetachesOnlyDirectChildren", KnownDifference::WineDiffers,
         "getElementsByTagName compares local names only: a prefixed name (psf:Feature) finds "
         "nothing and a bare one finds every prefix; node identity is not stable: reaching the "
         "same node twice can give two objects"},
        {"TreeEditTest.RemovedNodeCanBeAttachedAgainElsewhere", KnownDifference::StandInDiffers,
         "MSXML documents that it remembers where it dropped white space at load and saves a line "
         "break there, so the saved text this case looks for, written without line breaks, would "
         "hold some; the stand-in drops such white space for good (so does Wine's MSXML, on which "
         "the case passes)"},
        {"TreeEditTest.NodesBuiltWhileDetachedAreBoundWhenAttached", KnownDifference::WineDiffers,
         "a created element repeats its prefix's xmlns declaration on save although an ancestor "
         "declares it"},
        {"TreeEditTest.SetAttributeNodeReplacesTheSameNameAndHandsTheOldOneBack",
         KnownDifference::WineDiffers,
         "setAttributeNode does not hand back the attribute it replaced"},
        {"TreeEditTest.PutTextKeepsReplacedChildrenAliveForTheirHolders",
         KnownDifference::WineDiffers,
         "put_text frees the children it replaces while they are still referenced (their "
         "attributes are gone; the program may crash)"},
    };
    return differences;
}

bool RunningUnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

const KnownDifference* FindKnownDifference(const std::string& test) {
    for (const KnownDifference& difference : KnownDifferences())
        if (test == difference.test &&
            (difference.kind != KnownDifference::WineDiffers || RunningUnderWine()))
            return &difference;
    return nullptr;
}

std::string DescribeKnownDifference(const KnownDifference& difference) {
    const char* who = difference.kind == KnownDifference::WineDiffers
                          ? "Wine differs from MSXML: "
                          : "stand-in differs from MSXML: ";
    return who + std::string(difference.reason);
}
