# Configures the Windows build as Microsoft's compiler would see it, for the
# MSVC-mode compile check (check.cmake): clang-cl in MSVC mode over Wine's
# Windows and C runtime headers and LLVM libc++'s headers. Nothing is linked:
# the check only configures and then compiles each translation unit with /Zs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(CMAKE_CXX_COMPILER clang-cl-14)
set(CMAKE_CXX_COMPILER_TARGET x86_64-pc-windows-msvc)
set(CMAKE_AR llvm-lib-14)
set(CMAKE_LINKER lld-link-14)
set(CMAKE_RC_COMPILER llvm-rc-14)
set(CMAKE_MT llvm-mt-14)
# No Windows import libraries here: the compiler checks stop at static libraries.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

set(wine_include /usr/include/wine/wine)
set(msvc_mode_dir ${CMAKE_CURRENT_LIST_DIR})
string(JOIN " " CMAKE_CXX_FLAGS_INIT
  # The compiler version the Visual Studio 2022 toolset reports.
  -fms-compatibility-version=19.30
  # WCHAR is wchar_t, as in the SDK; libc++ without Microsoft's vcruntime headers.
  -DWINE_UNICODE_NATIVE -D_LIBCPP_NO_VCRUNTIME
  /FI${msvc_mode_dir}/wine_fixes.h
  # libc++ first, then the C runtime shims (include), then Wine's C runtime and Windows headers.
  -imsvc /usr/lib/llvm-14/include/c++/v1
  -imsvc ${msvc_mode_dir}/include
  -imsvc ${wine_include}/msvcrt
  -imsvc ${wine_include}/windows
  )
