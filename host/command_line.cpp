#include "command_line.h"

#include "check_command.h"
#include "cli_commands.h"
#include "near_match.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace ptbridge {

namespace {
const std::vector<std::string> CommandNames = {"ticket", "capabilities", "devmode",
                                               "info",   "check",        "help"};

void AddDeviceOption(CLI::App* command, CommandSettings& settings) {
    command
        ->add_option("--device", settings.deviceFile,
                     "read the device the host stands in for from this GPD file: its features, "
                     "options and defaults fill the DEVMODE (default: the built-in "
                     "packaging/windows/ptbridge.gpd)")
        ->type_name("GPD");
}

void AddPrivateNamespaceOption(CLI::App* command, CommandSettings& settings) {
    command
        ->add_option("--private-namespace", settings.privateNamespace,
                     "the document uses this driver's private namespace: read it as the "
                     "plug-in's (the URI is replaced in the namespace declarations before the "
                     "plug-in runs, and back in the output)")
        ->type_name("URI");
}

void AddWhiteSpaceOption(CLI::App* command, CommandSettings& settings) {
    command->add_flag("--preserve-whitespace", settings.preserveWhiteSpace,
                      "keep white space as written; by default, as MSXML 6 does, "
                      "white-space-only text is dropped and element text is trimmed at both ends");
}

void AddConversionOptions(CLI::App* command, Conversion conversion, CommandSettings& settings) {
    command
        ->add_option("FILE", settings.inputFile,
                     "Print Schema document to convert; - reads standard input (default: the "
                     "bundled sample " +
                         DefaultSampleDescription(conversion) + ")")
        ->type_name("");
    command
        ->add_option("-o,--output", settings.outputFile,
                     "write the converted document to OUT instead of standard output (- is "
                     "standard output); a regular file is replaced whole by a new file, keeping "
                     "its mode (its other hard links keep the old text), a file you may not "
                     "write is refused, a link is written through, a device or FIFO is written "
                     "in place")
        ->type_name("OUT");
    command->add_flag("--diff", settings.diff,
                      "show a unified diff of the document before and after the conversion, "
                      "also when the plug-in fails");
    command->add_flag("--keep-partial", settings.keepPartial,
                      "write the document even when the plug-in fails, with the edits it made "
                      "before failing (by default nothing is written then)");
    AddWhiteSpaceOption(command, settings);
    AddDeviceOption(command, settings);
    AddPrivateNamespaceOption(command, settings);
    command->add_flag("--time", settings.time,
                      "report on standard error how long loading, the conversion and saving took");
}

// The command word: the first argument that is neither an option nor the value
// of one of the options that take a separate value. Empty when there is none.
std::string CommandWord(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument == "--plugin" || argument == "--color" || argument == "--device" ||
            argument == "--private-namespace" || argument == "--format" || argument == "--for") {
            ++i;
            continue;
        }
        if (argument.empty() || argument[0] != '-')
            return argument;
    }
    return {};
}

// The option the user most likely meant by `word`, among the long and short
// names of the command's options and the program's: a single letter names the
// one long option that begins with it ("-v" for "--version"); anything else is
// matched as a mistyped name. Empty when there is no clear favourite.
std::string SuggestedOption(const std::string& word, const std::vector<const CLI::App*>& apps) {
    std::vector<std::string> names;
    for (const CLI::App* app : apps)
        for (const CLI::Option* option : app->get_options()) {
            for (const std::string& name : option->get_lnames())
                names.push_back("--" + name);
            for (const std::string& name : option->get_snames())
                names.push_back("-" + name);
        }
    if (word.size() == 2 && word[0] == '-' && word[1] != '-') {
        std::string found;
        for (const std::string& name : names)
            if (name.size() > 3 && name.compare(0, 3, "--" + word.substr(1)) == 0) {
                if (!found.empty())
                    return {};
                found = name;
            }
        return found;
    }
    return NearestMatch(word.substr(0, word.find('=')), names);
}

// Refuses the first argument that no option or positional argument took, as
// the user wrote it.
int UnexpectedArgument(const std::string& argument, const CLI::App& app, const CLI::App* command) {
    std::string help = command ? "ptbridge help " + command->get_name() : "ptbridge --help";
    std::string where = command ? " for " + command->get_name() : "";
    if (argument.size() < 2 || argument[0] != '-') {
        ReportError("unexpected argument '" + argument + "'" + where + "; see '" + help + "'");
        return ExitUsageOrInput;
    }
    std::vector<const CLI::App*> apps{&app};
    if (command)
        apps.insert(apps.begin(), command);
    std::string message = "unknown option '" + argument.substr(0, argument.find('=')) + "'" + where;
    std::string nearest = SuggestedOption(argument, apps);
    if (!nearest.empty())
        message += " (did you mean '" + nearest + "'?)";
    ReportError(message + "; see '" + help + "'");
    return ExitUsageOrInput;
}

int UnknownCommand(const std::string& word) {
    std::string message = "unknown command '" + word + "'";
    std::string nearest = NearestMatch(word, CommandNames);
    if (!nearest.empty())
        message += " (did you mean '" + nearest + "'?)";
    ReportError(message + "; the commands are ticket, capabilities, devmode, info, check and help");
    return ExitUsageOrInput;
}
} // namespace

int RunCommandLine(int argc, const char* const* argv) {
    CommandSettings settings;
    CLI::App app{"Runs the ptbridge printer-driver plug-in's Print Schema conversions through a "
                 "stand-in for the core printer driver, so that what the plug-in does to a "
                 "PrintTicket or PrintCapabilities document can be seen and checked.",
                 "ptbridge"};
    app.require_subcommand(0, 1);
    // Arguments no option takes are refused below, on one line with a
    // suggestion; a FILE that begins with "/" is a file on every platform.
    // The commands inherit both settings.
    app.allow_extras();
    app.allow_windows_style_options(false);
    // Wide enough that the longest option, "--option FEATURE=OPTION ...", keeps
    // its description in the second column.
    app.get_formatter()->column_width(34);
    app.fallthrough();
    app.add_option("--plugin", settings.pluginPath,
                   "plug-in module to load (default: the " PTBRIDGE_MODULE_FILE_NAME
                   " beside this program or in its ../lib/ptbridge, else the one it was built "
                   "with)")
        ->type_name("PATH");
    std::string colour = "auto";
    app.add_option("--color", colour,
                   "colour the diff: auto (when standard output is a terminal, NO_COLOR is unset "
                   "or empty and TERM is not dumb), always or never")
        ->type_name("WHEN");
    // --version ends the parse before a command is looked for; it comes after
    // --plugin, which CLI11 then has already read. RunVersion, not CLI11,
    // prints the versions: the module's is known once it is opened.
    app.set_version_flag("--version", "",
                         "show the version of ptbridge and the plug-in module's signature and "
                         "version, then exit");

    std::map<CLI::App*, Conversion> conversions;
    CLI::App* ticket = app.add_subcommand(
        "ticket", "DEVMODE to PrintTicket: runs ConvertDevModeToPrintTicket on FILE with a "
                  "DEVMODE holding the --option selections");
    AddConversionOptions(ticket, Conversion::DevModeToPrintTicket, settings);
    ticket
        ->add_option("--option", settings.options,
                     "device option stored in the DEVMODE, which the plug-in reads back through "
                     "IPrintCoreHelper::GetOption (repeatable, once per feature; 'ptbridge info' "
                     "lists the device's features and options)")
        ->type_name("FEATURE=OPTION")
        ->allow_extra_args(false);
    conversions[ticket] = Conversion::DevModeToPrintTicket;
    CLI::App* capabilities = app.add_subcommand(
        "capabilities", "completes a PrintCapabilities document: runs CompletePrintCapabilities "
                        "on FILE");
    AddConversionOptions(capabilities, Conversion::CompleteCapabilities, settings);
    conversions[capabilities] = Conversion::CompleteCapabilities;
    CLI::App* devmode = app.add_subcommand(
        "devmode", "PrintTicket to DEVMODE: runs ConvertPrintTicketToDevMode on FILE");
    AddConversionOptions(devmode, Conversion::PrintTicketToDevMode, settings);
    conversions[devmode] = Conversion::PrintTicketToDevMode;
    // Only ticket builds its DEVMODE from device options; the others say so
    // rather than reject --option as an unknown argument.
    std::vector<std::string> misplacedOptions;
    for (CLI::App* command : {capabilities, devmode})
        command->add_option("--option", misplacedOptions)->group("")->allow_extra_args(false);
    CLI::App* info = app.add_subcommand(
        "info", "shows the plug-in's signature, versions, namespace and DEVMODE section, and "
                "the device: where it was read from, its private namespace, its features and "
                "options, the defaults the DEVMODE holds");
    AddDeviceOption(info, settings);
    CheckSettings check;
    std::string format = "text";
    CLI::App* checkCommand = app.add_subcommand(
        "check", "lists every requirement of each document and of the device, each met or "
                 "not, with the line it concerns, and warns where the plug-in's matching by "
                 "text would act on something the author did not mean");
    checkCommand
        ->add_option("FILE", check.files,
                     "PrintTicket or PrintCapabilities to check, known by its root element; - "
                     "reads standard input (none: the device alone)")
        ->type_name("");
    AddDeviceOption(checkCommand, settings);
    checkCommand
        ->add_option("--for", check.command,
                     "check a PrintTicket for this conversion only, ticket or devmode (by "
                     "default a PrintTicket is checked for both, and is ready when it is ready "
                     "for one)")
        ->type_name("COMMAND");
    checkCommand
        ->add_option("--format", format,
                     "text, or json: one JSON object a line for each document, with the device")
        ->type_name("FORMAT");
    AddWhiteSpaceOption(checkCommand, settings);
    AddPrivateNamespaceOption(checkCommand, settings);
    CLI::App* help = app.add_subcommand("help", "shows this help, or a command's");
    std::string helpTopic;
    help->add_option("COMMAND", helpTopic, "the command to explain")->type_name("");

    // Set after the commands are added, which would otherwise repeat it.
    app.footer("Run 'ptbridge help COMMAND' for a command's options.\n\n"
               "Exit status: 0 when the plug-in returned S_OK; 1 when it returned anything "
               "else (the message names what the plug-in needed and did not find), or when "
               "check finds a requirement not met; 2 for bad "
               "arguments, unreadable, empty or malformed input, a document of the wrong kind, "
               "or output that cannot be written; 3 when the plug-in module cannot be loaded.\n");

    std::string word = CommandWord(argc, argv);
    if (!word.empty() &&
        std::find(CommandNames.begin(), CommandNames.end(), word) == CommandNames.end())
        return UnknownCommand(word);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForVersion&) {
        return RunVersion(settings);
    } catch (const CLI::ParseError& error) {
        // Help, or a mistake CLI11 describes (a missing value): one line.
        if (error.get_exit_code() == 0)
            return app.exit(error);
        std::vector<CLI::App*> commands = app.get_subcommands();
        ReportError(error.what() + std::string("; see 'ptbridge ") +
                    (commands.empty() ? "--help" : "help " + commands.back()->get_name()) + "'");
        return ExitUsageOrInput;
    }
    const CLI::App* selected = nullptr;
    for (const CLI::App* subcommand : app.get_subcommands())
        selected = subcommand;
    std::vector<std::string> unexpected = app.remaining(true);
    if (!unexpected.empty())
        return UnexpectedArgument(unexpected.front(), app, selected);
    if (colour == "always")
        settings.colour = ColourChoice::Always;
    else if (colour == "never")
        settings.colour = ColourChoice::Never;
    else if (colour != "auto") {
        ReportError("--color '" + colour + "': expected auto, always or never");
        return ExitUsageOrInput;
    }

    if (help->parsed()) {
        if (helpTopic.empty()) {
            // app.help() would show the selected command's help: this one's.
            std::string text =
                app.get_formatter()->make_help(&app, "ptbridge", CLI::AppFormatMode::Normal);
            std::fputs(text.c_str(), stdout);
            return ExitSuccess;
        }
        if (std::find(CommandNames.begin(), CommandNames.end(), helpTopic) == CommandNames.end())
            return UnknownCommand(helpTopic);
        std::fputs(app.get_subcommand(helpTopic)->help("ptbridge").c_str(), stdout);
        return ExitSuccess;
    }
    if (info->parsed())
        return RunInfo(settings);
    if (checkCommand->parsed()) {
        if (format != "text" && format != "json") {
            ReportError("--format '" + format + "': expected text or json");
            return ExitUsageOrInput;
        }
        if (!check.command.empty() && check.command != "ticket" && check.command != "devmode" &&
            check.command != "capabilities") {
            ReportError("--for '" + check.command + "': expected ticket, capabilities or devmode");
            return ExitUsageOrInput;
        }
        check.json = format == "json";
        return RunCheck(check, settings);
    }
    for (const auto& [command, conversion] : conversions) {
        if (!command->parsed())
            continue;
        // An unset variable ("$FILE") must not pick the bundled sample, nor
        // an empty -o standard output.
        if (command->get_option("FILE")->count() > 0 && settings.inputFile.empty()) {
            ReportError("FILE is empty: name a document, - for standard input, or give no FILE "
                        "for the bundled sample");
            return ExitUsageOrInput;
        }
        if (command->get_option("-o")->count() > 0 && settings.outputFile.empty()) {
            ReportError("-o is given an empty name: name a file, or - for standard output");
            return ExitUsageOrInput;
        }
        if (!misplacedOptions.empty()) {
            ReportError("--option: the " + command->get_name() +
                        " command takes no device options; only ticket builds a DEVMODE from "
                        "them");
            return ExitUsageOrInput;
        }
        return RunConversion(conversion, settings);
    }
    ReportError("a command is required: ticket, capabilities, devmode, info, check or help (see "
                "'ptbridge --help')");
    return ExitUsageOrInput;
}

} // namespace ptbridge
