// What the host needs from the platform under it. Every function here has one
// implementation per platform, in the file its section names: linux/ (Linux
// system calls and the stand-in platform) or windows/ (Win32, ole32 and
// MSXML 6). Each folder also holds the command's entry point, main.cpp, and the
// plug-in module's loader (plugin_module.h).
#pragma once

#include "common/com_ptr.h"

#include "common/platform.h"

#include <string>

namespace ptbridge {

// The host object (host_core) -------------------------------------------------

// host_faults.cpp: true, and *failure set, when the host object's current
// operation must fail with *failure. Only the stand-in platform, whose tests
// inject faults, ever says so.
bool HostCallFails(HRESULT* failure);

// namespace_manager_factory.cpp: a fresh namespace manager asked for `riid`
// (IID_IMXNamespaceManager or IID_IUnknown), which the host object hands the
// plug-in from IPrintCoreHelper::CreateInstanceOfMSXMLObject(CLSID_MXNamespaceManager60).
HRESULT CreateHostNamespaceManager(REFIID riid, void** manager);

// The ptbridge command ----------------------------------------------------------

// document_io.cpp: the command's documents, in the platform's DOM (the stand-in
// DOM, or MSXML 6 on Windows).

// Parses XML text into a new document, with the DOM's preserveWhiteSpace
// property set to `preserveWhiteSpace` while it loads. `label` names the
// source in the message, which gives the line and column of malformed XML
// where the DOM reports them.
bool ParseDocument(const std::string& text, const std::string& label, bool preserveWhiteSpace,
                   ComPtr<IXMLDOMDocument2>* document, std::string* error);

enum class InputLoad {
    Loaded,
    Unreadable,   // *error names the file and why it cannot be read
    NotADocument, // *error is the parser's, as ParseDocument gives it
};
// Reads the command's input once, from its start, and parses it: "-" is
// standard input; a path (UTF-8) is opened and read the same way whatever it
// is (a regular file, a FIFO, a device, /dev/fd/N), never opened twice.
// *text receives every byte read, for the explanation of a failed
// conversion. Where the DOM parses as it reads (the stand-in), reading stops
// at the piece in which the parser met its first error, so an endless input
// ends there.
InputLoad LoadInputDocument(const std::string& path, const std::string& label,
                            bool preserveWhiteSpace, ComPtr<IXMLDOMDocument2>* document,
                            std::string* text, std::string* error);
// Reads a whole file (a device description, or on a DOM that does not parse as
// it reads, the command's input) once: "-" is standard input, which stays open.
bool ReadTextFile(const std::string& path, std::string* text, std::string* error);
// Serialises a document as UTF-8 XML with "\n" line ends, ending with a newline.
bool SerializeDocument(IXMLDOMDocument2* document, std::string* text, std::string* error);

// text_files.cpp: the command's output file. Paths are UTF-8; every failure
// comes back as a message that names the file and the problem.

// Writes the command's output document to `path` without harming what is
// there: "-" is standard output (WriteStandardOutput); a regular file, or a name that does not
// exist yet, is replaced through a temporary file in its folder only once the text is complete,
// keeping the old file's mode (and, where allowed, owner and group); a symbolic link is written
// through to the file it names; anything else (device, FIFO, console) is opened and written in
// place, never replaced or created. An existing file the user may not write is refused, as the
// shell's ">" refuses it. On failure, or when the process is ended by SIGINT, SIGTERM or SIGHUP
// during the write, the temporary file is removed and the old target is left as it was.
bool WriteOutputFile(const std::string& path, const std::string& text, std::string* error);

// standard_output.cpp: everything the command prints on standard output goes
// through WriteStandardOutput, byte for byte, and FinishStandardOutput checks
// before the process exits that all of it arrived.

// Writes `text` to standard output. A failure is kept for FinishStandardOutput;
// nothing more is written after one.
void WriteStandardOutput(const std::string& text);
// Flushes standard output, including what the C and C++ libraries hold, and
// gives the process's exit status: `status` when everything was written or the
// reader went away (a broken pipe ends quietly), otherwise ExitUsageOrInput
// after one line on stderr that names the reason.
int FinishStandardOutput(int status);

// terminal.cpp: true when standard output is a terminal able to show ANSI colours.
bool StdoutShowsColours();

// environment.cpp: the value of the environment variable `name`, empty when it
// is not set.
std::string EnvironmentVariable(const char* name);

// module_path.cpp: where the command finds the plug-in module when --plugin is
// not given: the module beside the running executable when there is one (a copy
// of the command), else the one in the installed tree's private folder relative
// to the executable, otherwise the module built with this executable.
std::string DefaultModulePath();

} // namespace ptbridge
