#include "command_line.h"

#include "cli_commands.h"

#include <CLI/CLI.hpp>

namespace {
void AddConversionOptions(CLI::App* command, CommandSettings& settings) {
    command->add_option("FILE", settings.inputFile,
                        "Print Schema document to convert (default: the bundled sample)");
    command
        ->add_option("-o,--output", settings.outputFile,
                     "write the converted document to FILE (only when the plug-in succeeds)")
        ->type_name("FILE");
    command->add_flag("--diff", settings.diff,
                      "show a unified diff of the document before and after the conversion");
}
} // namespace

int RunCommandLine(int argc, const char* const* argv) {
    CommandSettings settings;
    CLI::App app{"Runs the ptbridge plug-in's Print Schema conversions through a stand-in for the "
                 "core printer driver.",
                 "ptbridge"};
    app.require_subcommand(1);
    app.fallthrough();
    app.add_option("--plugin", settings.pluginPath,
                   "plug-in module to load (default: the " PTBRIDGE_MODULE_FILE_NAME
                   " beside this program, else the one it was built with)")
        ->type_name("PATH");
    // --version ends the parse before a subcommand is required. RunVersion, not
    // CLI11, prints the versions: the module's is known once it is opened.
    app.set_version_flag("--version", "",
                         "show the version of ptbridge and the plug-in module's signature and "
                         "version, then exit");
    app.footer("Exit status: 0 when the plug-in returned S_OK; 1 when it returned anything "
               "else; 2 for bad arguments, unreadable or malformed input, or an unwritable "
               "output file; 3 when the plug-in module cannot be loaded.\n");

    CLI::App* ticket =
        app.add_subcommand("ticket", "DEVMODE to PrintTicket: ConvertDevModeToPrintTicket on FILE");
    AddConversionOptions(ticket, settings);
    ticket
        ->add_option("--option", settings.options,
                     "device option selected in the DEVMODE (repeatable); the plug-in reads it "
                     "back through IPrintCoreHelper::GetOption")
        ->type_name("Feature=Option")
        ->allow_extra_args(false);
    CLI::App* capabilities = app.add_subcommand(
        "capabilities", "complete a PrintCapabilities document: CompletePrintCapabilities on FILE");
    AddConversionOptions(capabilities, settings);
    CLI::App* devmode = app.add_subcommand(
        "devmode", "PrintTicket to DEVMODE: ConvertPrintTicketToDevMode on FILE");
    AddConversionOptions(devmode, settings);
    CLI::App* info = app.add_subcommand(
        "info", "show the plug-in's signature, versions, namespace and DEVMODE section");

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForVersion&) {
        return RunVersion(settings);
    } catch (const CLI::ParseError& error) {
        return app.exit(error) == 0 ? ExitSuccess : ExitUsageOrInput;
    }

    if (info->parsed())
        return RunInfo(settings);
    if (capabilities->parsed())
        return RunConversion(Conversion::CompleteCapabilities, settings);
    if (devmode->parsed())
        return RunConversion(Conversion::PrintTicketToDevMode, settings);
    return RunConversion(Conversion::DevModeToPrintTicket, settings);
}
