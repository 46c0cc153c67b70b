// The ptbridge commands: each runs one host session against the plug-in module
// and reports on stdout (results) and stderr (problems).
#pragma once

#include "conversion.h"

#include <string>
#include <vector>

namespace ptbridge {

// Exit status of the ptbridge command.
enum ExitCode {
    ExitSuccess = 0,
    ExitPluginFailed = 1,     // the plug-in answered something other than S_OK
    ExitUsageOrInput = 2,     // bad arguments, unreadable or malformed input, unwritable output
    ExitModuleUnavailable = 3 // the plug-in module could not be loaded
};

enum class ColourChoice { Auto, Always, Never };

struct CommandSettings {
    std::string pluginPath;   // empty: the default module
    std::string inputFile;    // empty: the bundled sample; "-": standard input
    std::string outputFile;   // empty or "-": stdout
    bool diff = false;        // show a diff instead of the document on stdout
    bool keepPartial = false; // write the document also when the plug-in fails
    bool time = false;        // report load, conversion and save times on stderr
    // Load the document with its white space as written; by default it is
    // loaded as MSXML 6 loads it, and the result is written re-indented.
    bool preserveWhiteSpace = false;
    ColourChoice colour = ColourChoice::Auto;
    std::vector<std::string> options; // "Feature=Option" for the DEVMODE
    std::string deviceFile;           // empty: the built-in device
    // A driver's private namespace the document uses, read as the plug-in's.
    std::string privateNamespace;
};

class HostSession;
struct Device;

// Opens a session with the chosen module; on failure reports it and gives the
// exit code.
int OpenSession(const CommandSettings& settings, HostSession* session);
// Reads the device (--device, else the built-in one), then opens a session as
// OpenSession does; on failure reports it and gives the exit code.
int OpenDeviceAndSession(const CommandSettings& settings, Device* device, HostSession* session);
// The plug-in's private namespace, as BindPrinter reported it in the session.
std::string PluginNamespace(const HostSession& session);

int RunInfo(const CommandSettings& settings);
// Prints ptbridge's version, then opens the module to print its signature and version.
int RunVersion(const CommandSettings& settings);
int RunConversion(Conversion conversion, const CommandSettings& settings);

// Writes one error line, "ptbridge: " and the message, on stderr.
void ReportError(const std::string& message);

// The bundled sample a conversion uses when no FILE is given: its file name
// under examples/ and what it is.
std::string DefaultSampleDescription(Conversion conversion);

} // namespace ptbridge
