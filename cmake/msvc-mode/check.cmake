# The MSVC-mode compile check: configures the Windows build (the DLL and
# ptbridge.exe, no tests) with clang-cl.cmake, then compiles every translation
# unit it lists in MSVC mode with /Zs (parse and check, no code), and reads the
# DLL's version resource with llvm-rc. Warnings are errors, as in the presets.
# Fails when any translation unit does not compile.
#   cmake -DSOURCE_DIR=<project> -DBINARY_DIR=<scratch build folder> -P check.cmake
foreach(variable SOURCE_DIR BINARY_DIR)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "check.cmake needs -D${variable}=...")
  endif()
endforeach()

execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${BINARY_DIR} -G Ninja
    --toolchain ${CMAKE_CURRENT_LIST_DIR}/clang-cl.cmake
    -DCMAKE_BUILD_TYPE=Release -DPTBRIDGE_WERROR=ON -DPTBRIDGE_TESTS=OFF -DPTBRIDGE_HOST=ON
  RESULT_VARIABLE configure_result
  OUTPUT_VARIABLE configure_output
  ERROR_VARIABLE configure_output)
if(NOT configure_result EQUAL 0)
  message(FATAL_ERROR "MSVC-mode configure failed:\n${configure_output}")
endif()

# Warnings clang-cl alone gives, over code that cl.exe compiles without a word:
set(clang_cl_only_warnings
  # An override declared with STDMETHODIMP (no nothrow declaration) of a
  # method declared with STDMETHOD (__declspec(nothrow)): the SDK's own way of
  # implementing COM interfaces, which cl.exe does not take for a looser
  # promise about exceptions.
  -Wno-microsoft-exception-spec
  # A private field that one platform's implementation uses and the other's
  # does not (host/plugin_module.h: the Linux loader calls DllMain itself, the
  # Windows loader leaves that to the system); cl.exe has no such warning.
  -Wno-unused-private-field)

file(READ ${BINARY_DIR}/compile_commands.json commands)
string(JSON count LENGTH "${commands}")
math(EXPR last "${count} - 1")
set(failed 0)
foreach(index RANGE ${last})
  string(JSON directory GET "${commands}" ${index} directory)
  string(JSON command GET "${commands}" ${index} command)
  string(JSON file GET "${commands}" ${index} file)
  if(file MATCHES "\\.rc$")
    # The version resource, read as the SDK's rc.exe reads it. "--" ends the
    # options: llvm-rc takes a path such as /check/... for its /c option.
    execute_process(COMMAND llvm-rc-14 -no-preprocess /fo ${BINARY_DIR}/version-check.res -- ${file}
      RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT result EQUAL 0)
      math(EXPR failed "${failed} + 1")
      message(STATUS "FAILS: ${file}\n${output}")
    endif()
    continue()
  endif()
  separate_arguments(arguments UNIX_COMMAND "${command}")
  # /Zs right after the compiler; the warning exceptions after the project's
  # /W4, just before the "-- <source>" that ends the command.
  list(INSERT arguments 1 /Zs)
  list(FIND arguments -- end_of_options)
  list(INSERT arguments ${end_of_options} ${clang_cl_only_warnings})
  execute_process(COMMAND ${arguments}
    WORKING_DIRECTORY ${directory}
    RESULT_VARIABLE result
    OUTPUT_VARIABLE output
    ERROR_VARIABLE output)
  file(RELATIVE_PATH name ${SOURCE_DIR} ${file})
  if(result EQUAL 0)
    message(STATUS "compiles: ${name}")
  else()
    math(EXPR failed "${failed} + 1")
    message(STATUS "FAILS: ${name}\n${output}")
  endif()
endforeach()

# The verdict, also kept beside the scratch build for CI to print.
if(failed GREATER 0)
  set(verdict "MSVC-mode compile: ${failed} of ${count} translation units fail")
else()
  set(verdict "MSVC-mode compile: all ${count} translation units compile (clang-cl, /W4 /WX)")
endif()
file(WRITE ${BINARY_DIR}/report.txt "${verdict}\n")
if(failed GREATER 0)
  message(FATAL_ERROR "${verdict}")
endif()
message(STATUS "${verdict}")
