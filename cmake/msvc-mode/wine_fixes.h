// Forced into every translation unit of the MSVC-mode compile check: the two
// places where Wine's Windows headers cannot be read as C++ by clang-cl.

// winnt.h defines an inline InterlockedCompareExchange128 under the name of
// clang's builtin _InterlockedCompareExchange128, which clang refuses; the
// project never calls it, so Wine's definition goes by another name.
#define _InterlockedCompareExchange128 WineInlineInterlockedCompareExchange128

// msxml6.h declares ISAXXMLFilter before its base ISAXXMLReader is complete;
// the project uses neither, so the filter's declaration is skipped.
#define __ISAXXMLFilter_INTERFACE_DEFINED__

// Marks what Microsoft's C runtime deprecates (warning C4996, an error under
// /WX) and Wine's C runtime headers do not; the shims in include/ apply it.
#define PTBRIDGE_CRT_DEPRECATED                                                                    \
    __declspec(deprecated("deprecated by Microsoft's C runtime (C4996): use a safe replacement"))
