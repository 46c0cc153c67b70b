// ptbridge.exe: runs the plug-in's Print Schema conversions through the host
// on Windows, with documents of the system's MSXML 6. The command line arrives
// as UTF-16 and is handed on as UTF-8; COM is initialised around the run.
#include "cli_commands.h"
#include "command_line.h"
#include "hresult_names.h"
#include "platform_seams.h"
#include "text_encoding.h"

#include "common/platform.h"

#include <cstdio>
#include <string>
#include <vector>

int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i)
        arguments.push_back(ptbridge::Utf8FromUtf16(reinterpret_cast<const char16_t*>(argv[i])));
    std::vector<const char*> pointers;
    for (const std::string& argument : arguments)
        pointers.push_back(argument.c_str());

    HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(hr)) {
        std::fprintf(stderr, "ptbridge: cannot initialise COM: %s\n",
                     ptbridge::DescribeHResult(hr).c_str());
        return ptbridge::ExitModuleUnavailable;
    }
    int status = ptbridge::FinishStandardOutput(ptbridge::RunCommandLine(argc, pointers.data()));
    CoUninitialize();
    return status;
}
