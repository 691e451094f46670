#include "app/cli/CommandLine.h"

CommandLine ParseCommandLine(const std::vector<std::u16string>& arguments) {
    CommandLine command;
    bool optionsEnded = false;
    bool haveFolder = false;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::u16string& argument = arguments[index];
        if (!optionsEnded && IsPlatformHelpOption(argument)) {
            command.action = CommandLine::Action::Help;
            return command;
        }
        bool isOption = !optionsEnded && argument.size() > 1 && argument[0] == u'-';
        if (!isOption) {
            if (haveFolder) {
                command.action = CommandLine::Action::UsageError;
                command.problem = u"more than one folder given";
                return command;
            }
            command.folder = argument;
            haveFolder = true;
        } else if (argument == u"--") {
            optionsEnded = true;
        } else if (argument == u"-r" || argument == u"--recursive") {
            command.recursive = true;
        } else if (argument == u"-o" || argument == u"--output") {
            if (index + 1 >= arguments.size()) {
                command.action = CommandLine::Action::UsageError;
                command.problem = argument + u" needs a file";
                return command;
            }
            command.output = arguments[++index];
        } else if (argument.rfind(u"--output=", 0) == 0) {
            command.output = argument.substr(9);
        } else if (argument == u"-h" || argument == u"--help") {
            command.action = CommandLine::Action::Help;
            return command;
        } else if (argument == u"--version") {
            command.action = CommandLine::Action::Version;
            return command;
        } else {
            command.action = CommandLine::Action::UsageError;
            command.problem = u"unknown option " + argument;
            return command;
        }
    }
    if (!haveFolder) {
        command.action = CommandLine::Action::UsageError;
        command.problem = u"no folder given";
        return command;
    }
    command.action = CommandLine::Action::Export;
    return command;
}

std::u16string UsageLine() {
    return u"usage: morvane-export [-r|--recursive] [-o|--output FILE] FOLDER\n";
}

std::u16string UsageText() {
    return UsageLine() +
           u"\n"
           u"Lists the files of FOLDER (with -r, of every folder below it too) into FOLDER's\n"
           u"\"文件清单_.xlsx\" and prints the outcome as the program window would show it.\n"
           u"A relative FOLDER is taken against the current folder; the path cells hold full paths.\n"
           u"\n"
           u"  -r, --recursive    include the files of all sub-folders\n"
           u"  -o, --output FILE  write the workbook to FILE instead (any folder, any name); an\n"
           u"                     earlier FILE is replaced only by a complete new one\n"
           u"  -h, --help         show this text (on Windows also /?)\n"
           u"      --version      show the version of morvane-export and of libxlsxwriter\n"
           u"\n"
           u"Exit status: 0 written, 1 \"目录错误\" (not a folder), 2 \"目录没有文件\" (no files),\n"
           u"3 the folder could not be read, or the workbook not written or open in another program\n"
           u"(cause on standard error),\n"
           u"4 written, but sub-folders that could not be read were left out (each named with the\n"
           u"reason on standard error), 64 wrong arguments, 130 interrupted.\n";
}
