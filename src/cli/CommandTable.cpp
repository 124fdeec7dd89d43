#include "CommandTable.h"

#include "Commands.h"

const std::vector<OptionSpec> &passwordOptions()
{
    static const std::vector<OptionSpec> options{
        {"--password-stdin", nullptr, "read the password from one line of standard input"},
        {"--key-file", "PATH", "take the password from a key file"},
    };
    return options;
}

const std::vector<CommandSpec> &commandTable()
{
    static const std::vector<CommandSpec> table{
        {"ls", "", "one line per element in tree order: the names from the top level down, joined by \" > \"",
         {}, true, runList},
        {"export",
         "[--format json|html|txt] [--element PATH] [--single-files] [--folders] [--files-only] [--font NAME]",
         "the whole tree as JSON on standard output or in --out FILE (texts decoded from the code page, RTF as "
         "stored; passwords in clear: a shell redirect creates its file with the shell's permissions, --out "
         "makes it readable by its owner only); with OUT, HTML or text documents (the format follows OUT's "
         "extension unless --format says), attached files written beside them, every file and folder readable "
         "by its owner only",
         {{"--format", "FORMAT", "json (the default without OUT), html or txt"},
          {"--out", "FILE", "write the JSON to FILE (owner-only) instead of standard output"},
          {"--element", "PATH", "only this element (names joined by \" > \"), in one document"},
          {"--single-files", nullptr, "every element in a document of its own: OUT1.htm, OUT2.htm, ..."},
          {"--folders", nullptr, "single files in sub-folders named after the folders of the tree"},
          {"--files-only", nullptr, "no documents: only the attached files, in sub-folders"},
          {"--font", "NAME", "the font named in every HTML cell (default Arial)"}},
         true, runExport, {"FILE", "OUT"}, 1},
        {"import", "--from TREE.json [--text-form] [--force]",
         "write a new database from JSON made by export",
         {{"--from", "TREE.json", "the JSON to read"},
          {"--text-form", nullptr, "write the text table stream instead of the binary one"},
          {"--force", nullptr, "replace FILE when it exists"}},
         true, runImport},
        {"show", "[--field content|detail|comment] [--raw]",
         "the fields of the element at PATH (names joined by \" > \", as ls prints them); rich text as the "
         "editor shows it",
         {{"--field", "FIELD", "only this field's text: content, detail or comment"},
          {"--raw", nullptr, "rich text as stored (RTF)"}},
         true, runShow, {"FILE", "PATH"}, 2},
        {"generate", "[--length N] [--no-lower] [--no-upper] [--no-digits] [--no-other]",
         "one random password on standard output (8 characters by default, at most 999)",
         {{"--length", "N", "the number of characters"},
          {"--no-lower", nullptr, "no lowercase letters"},
          {"--no-upper", nullptr, "no uppercase letters"},
          {"--no-digits", nullptr, "no digits"},
          {"--no-other", nullptr, "no other characters (with no class left: digits only)"}},
         false, runGenerate, {}, 0},
        {"rate", "", "the risks of the password read from standard input, one per line", {}, false, runRate, {}, 0},
        {"checksum", "--algorithm NAME",
         "the checksum of FILE's bytes as stored, in lower-case hex",
         {{"--algorithm", "NAME",
           "md2, md4, md5, sha1, sha224, sha256, sha384, sha512, sha3-224, sha3-256, sha3-384 or sha3-512"}},
         false, runChecksum},
        {"info", "[--algorithm NAME]",
         "the properties of a database: file name, folder, size, date, elements by kind, password length and "
         "risks",
         {{"--algorithm", "NAME", "add the file's checksum (names as for checksum)"}},
         true, runInfo},
        {"attach", "--to CARRIER --out OUT [--force]",
         "OUT becomes CARRIER with the database of FILE attached; it opens like a database",
         {{"--to", "CARRIER", "the file to carry the database, copied unchanged"},
          {"--out", "OUT", "the file to write (owner-only)"},
          {"--force", nullptr, "replace OUT when it exists"}},
         true, runAttach},
        {"portable", "--out OUT [--program PATH] [--language FILE.lng] [--force]",
         "OUT becomes a copy of the desktop program carrying the database of FILE",
         {{"--out", "OUT", "the program copy to write (owner-only, executable)"},
          {"--program", "PATH", "the program to copy (default: vaultbase beside this tool)"},
          {"--language", "FILE.lng", "the language the copy shows (default: English)"},
          {"--force", nullptr, "replace OUT when it exists"}},
         true, runPortable},
        {"keyfile", "[--force]",
         "a new key file holding the password (from --password-stdin, or asked twice on the terminal)",
         {{"--force", nullptr, "replace KEYFILE when it exists"}},
         true, runKeyFile, {"KEYFILE"}, 1, "create"},
    };
    return table;
}

const CommandSpec *findCommand(QStringView name)
{
    for (const CommandSpec &command : commandTable()) {
        if (name == QLatin1StringView(command.name)) {
            return &command;
        }
    }
    return nullptr;
}

namespace {

QString optionLine(const OptionSpec &option)
{
    QString left = QLatin1StringView(option.name);
    if (option.valueName) {
        left += u' ' + QLatin1StringView(option.valueName);
    }
    return QStringLiteral("      %1  %2\n").arg(left, -18).arg(QLatin1StringView(option.help));
}

} // namespace

QString usageText()
{
    QString text = QStringLiteral("Usage: vaultbase-cli COMMAND [OPTIONS] ARGUMENTS\n"
                                  "Options come before the arguments; \"--\" ends them.\n\nCommands:\n");
    for (const CommandSpec &command : commandTable()) {
        QString call = QStringLiteral("  vaultbase-cli ") + QLatin1StringView(command.name);
        if (command.subcommand) {
            call += u' ' + QLatin1StringView(command.subcommand);
        }
        if (*command.synopsis) {
            call += u' ' + QLatin1StringView(command.synopsis);
        }
        if (command.takesPassword) {
            call += QStringLiteral(" [PASSWORD]");
        }
        for (size_t a = 0; a < command.arguments.size(); ++a) {
            const QLatin1StringView name(command.arguments[a]);
            call += int(a) < command.minArguments ? u' ' + name : QStringLiteral(" [%1]").arg(name);
        }
        text += call + QStringLiteral("\n      ") + QString::fromUtf8(command.summary) + u'\n';
        for (const OptionSpec &option : command.options) {
            text += optionLine(option);
        }
    }
    text += QStringLiteral("\nPASSWORD (without it the password is asked on the terminal, not echoed):\n");
    for (const OptionSpec &option : passwordOptions()) {
        text += optionLine(option);
    }
    text += QStringLiteral("\nA FILE that does not end in .kvdb may carry its database: a file with an attached"
                           " database or a portable copy opens like a database file.\n"
                           "\n  vaultbase-cli --help    this text\n"
                           "Exit codes: 0 success, 1 failure (wrong password, unreadable file, refused content),"
                           " 2 usage error.\n");
    return text;
}
