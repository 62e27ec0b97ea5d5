// xwth: command-line companion of the XWTH library.
#include <cstdio>
#include <cstring>

#include "date.h"
#include "demo.h"
#include "desc.h"
#include "fax_info.h"
#include "gdi_selftest.h"
#include "lock.h"
#include "mail.h"
#include "menu.h"
#include "strings.h"
#include "styles.h"

namespace {

void PrintUsage(FILE* out) {
    std::fputs(
        "usage: xwth <command> [options]\n"
        "\n"
        "commands:\n"
        "  demo    create a fax message in a temporary spool, give it a recipient and\n"
        "          two attachments, show its folder, props.ini, attachments and page\n"
        "          count, then destroy it and show that the spool is empty again;\n"
        "          then append two messages to a mailbox and show it\n"
        "  lock    run a command only while holding a program lock (xwth lock NAME\n"
        "          [--global] [--wait] -- COMMAND [ARGS...])\n"
        "  mail    write an e-mail message to a file or append it to a mailbox\n"
        "  fax-info FILE...\n"
        "          pages and resolution of fax image files\n"
        "  desc dump FILE | desc get FILE NAME [INDEX] | desc set FILE NAME VALUE [INDEX]\n"
        "          show or edit a fax description (TQFM) file\n"
        "  date    dates and times by the regional settings: show, format, parse, info\n"
        "  intl    intl init: write the regional settings into WIN.INI [intl] for editing\n"
        "  gdi-selftest --out DIR\n"
        "          draw the GDI test sheet (raster operations, edges, text, a halftone\n"
        "          fill, an image list, a disabled picture) into DIR/gdi-selftest.png\n"
        "  menu --out FILE.png [--ribbon TEXT|--ribbon-bitmap ID] [--select N] [--key LETTER]\n"
        "          track the sample owner-drawn menu headlessly, save the screen, print the command\n"
        "  strings MODULE.dll... ID... [--prefer N] [--subst FROM=TO] [--app-name NAME]\n"
        "          print strings from resource modules as the library loads them\n"
        "  styles MODULE.dll ID...\n"
        "          print style strings as colour, font (face, height, weight, italic) and flag\n"
        "\n"
        "options:\n"
        "  -h, --help    show this help (after a command: that command's help)\n",
        out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        PrintUsage(stderr);
        return 2;
    }
    const char* command = argv[1];
    if (std::strcmp(command, "-h") == 0 || std::strcmp(command, "--help") == 0) {
        PrintUsage(stdout);
        return 0;
    }
    if (std::strcmp(command, "demo") == 0) {
        return xwth_tool::RunDemo(argc - 2, argv + 2);
    }
    if (std::strcmp(command, "lock") == 0) {
        return xwth_tool::RunLock(argc - 2, argv + 2);
    }
    if (std::strcmp(command, "date") == 0) {
        return xwth_tool::RunDate(argc - 2, argv + 2);
    }
    if (std::strcmp(command, "intl") == 0) {
        return xwth_tool::RunIntl(argc - 2, argv + 2);
    }
    if (std::strcmp(command, "mail") == 0) {
        return xwth_tool::RunMail(argc - 2, argv + 2);
    }
    if (std::strcmp(command, "fax-info") == 0) {
        return xwth_tool::RunFaxInfo(argc - 2, argv + 2);
    }
    if (std::strcmp(command, "desc") == 0) {
        return xwth_tool::RunDesc(argc - 2, argv + 2);
    }
    if (std::strcmp(command, "gdi-selftest") == 0) {
        return xwth_tool::RunGdiSelftest(argc - 2, argv + 2);
    }
    if (std::strcmp(command, "menu") == 0) {
        return xwth_tool::RunMenu(argc - 2, argv + 2);
    }
    if (std::strcmp(command, "strings") == 0) {
        return xwth_tool::RunStrings(argc - 2, argv + 2);
    }
    if (std::strcmp(command, "styles") == 0) {
        return xwth_tool::RunStyles(argc - 2, argv + 2);
    }
    std::fprintf(stderr, "xwth: unknown command '%s'\n\n", command);
    PrintUsage(stderr);
    return 2;
}
