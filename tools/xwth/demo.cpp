// The "demo" command. The spool lives in a temporary folder; so does the
// WIN.INI that names it, unless $XWTH_WININI names one already, in which case
// that file's spool directory is used and the file is left as it is.
#include "demo.h"
#include "mail.h"

#include <xwth/xwth.h>

#include <TQLog.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace xwth_tool {
namespace {

const char kSpoolSection[] = "Zelvo Fax Setup,FAX";
const char kSpoolKey[] = "Spool Directory";

void PrintDemoUsage(FILE* out) {
    std::fputs(
        "usage: xwth demo\n"
        "\n"
        "Runs one fax message through a spool: creates the message (it claims the\n"
        "lowest free FM folder), sets the recipient, adds two attachments, prints\n"
        "the folder, its props.ini, the attachment list and the total page count,\n"
        "destroys the message and shows that the spool is empty again. Every log\n"
        "line of the message store is shown as it is written. Then two messages\n"
        "are appended to a mailbox in the temporary folder, which is printed.\n"
        "\n"
        "The spool and a WIN.INI naming it are made in a temporary folder and\n"
        "removed afterwards. When XWTH_WININI names a WIN.INI already, its\n"
        "\"Spool Directory\" in [Zelvo Fax Setup,FAX] is used instead.\n",
        out);
}

void SetEnv(const char* name, const std::string& value) {
#if defined(_WIN32)
    _putenv_s(name, value.c_str());
#else
    setenv(name, value.c_str(), 1);
#endif
}

// The library names its files with backslashes, as Windows does; winport
// reads both separators, the standard library of a POSIX system only '/'.
fs::path NativePath(const char* path) {
    std::string text(path);
#if !defined(_WIN32)
    for (char& c : text) {
        if (c == '\\') {
            c = '/';
        }
    }
#endif
    return fs::path(text);
}

void PrintLogLine(void* /*context*/, const char* category, const char* text) {
    std::printf("  log %s: %s\n", category, text);
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string out;
    for (char c : text) {
        if (c != '\r') {
            out += c;
        }
    }
    return out;
}

int CountEntries(const fs::path& folder) {
    std::error_code ec;
    int n = 0;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        ++n;
    }
    return n;
}

void WriteSample(const fs::path& path, const char* text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

// Owns the temporary folder of one demo run.
class DemoFolder {
public:
    DemoFolder() {
        std::error_code ec;
        const fs::path base = fs::temp_directory_path(ec);
        std::random_device random;
        for (int i = 0; i < 1000 && m_path.empty(); ++i) {
            fs::path candidate = base / ("xwth-demo-" + std::to_string(random()));
            if (fs::create_directory(candidate, ec)) {
                m_path = candidate;
            }
        }
    }
    ~DemoFolder() {
        std::error_code ec;
        if (!m_path.empty()) {
            fs::remove_all(m_path, ec);
        }
    }
    DemoFolder(const DemoFolder&) = delete;
    DemoFolder& operator=(const DemoFolder&) = delete;
    [[nodiscard]] const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

void ShowMessage(CFaxMessage& message, const fs::path& folder) {
    std::printf("\nfolder: %s\n", folder.string().c_str());
    std::printf("\nprops.ini:\n%s", ReadText(folder / "props.ini").c_str());
    std::printf("\nattachments (%d):\n", message.GetAttachmentsCount());
    for (int i = 0; i < message.GetAttachmentsCount(); ++i) {
        const CString name = message.GetAttachmentFileName(i);
        std::printf("  %d  %-40s  %-12s  %u page(s)  %s\n", i,
                    name.IsEmpty() ? "(cover page slot)" : NativePath(name).filename().string().c_str(),
                    (LPCSTR)message.GetAttachmentTitle(i), message.GetAttachmentPages(i),
                    message.GetAttachmentHiRes(i) ? "high resolution" : "low resolution");
    }
    std::printf("\ntotal pages, cover page included: %u\n", message.CountTotalPages());
}

}  // namespace

int RunDemo(int argc, char** argv) {
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "-h") == 0 || std::strcmp(argv[i], "--help") == 0) {
            PrintDemoUsage(stdout);
            return 0;
        }
        std::fprintf(stderr, "xwth demo: unknown option '%s'\n\n", argv[i]);
        PrintDemoUsage(stderr);
        return 2;
    }

    DemoFolder temp;
    if (temp.path().empty()) {
        std::fprintf(stderr, "xwth demo: cannot create a temporary folder\n");
        return 1;
    }

    fs::path spool;
    const char* winIni = std::getenv("XWTH_WININI");
    if (winIni != NULL && winIni[0] != '\0') {
        char buf[MAX_PATH] = {0};
        GetProfileStringA(kSpoolSection, kSpoolKey, "", buf, MAX_PATH);
        if (buf[0] == '\0') {
            std::fprintf(stderr, "xwth demo: %s names no \"%s\" in [%s]\n", winIni, kSpoolKey, kSpoolSection);
            return 1;
        }
        spool = buf;
        std::printf("WIN.INI: %s (from XWTH_WININI)\n", winIni);
    } else {
        spool = temp.path() / "spool";
        std::error_code ec;
        fs::create_directory(spool, ec);
        const fs::path ini = temp.path() / "win.ini";
        SetEnv("XWTH_WININI", ini.string());
        if (!WriteProfileStringA(kSpoolSection, kSpoolKey, spool.string().c_str())) {
            std::fprintf(stderr, "xwth demo: cannot write %s (error %lu)\n", ini.string().c_str(),
                         (unsigned long)GetLastError());
            return 1;
        }
        std::printf("WIN.INI: %s (temporary)\n", ini.string().c_str());
    }
    std::printf("spool:   %s (%d entries)\n\n", spool.string().c_str(), CountEntries(spool));

    const fs::path letter = temp.path() / "letter.txt";
    const fs::path prices = temp.path() / "price-list.txt";
    WriteSample(letter, "Dear customer,\nplease find our offer attached.\n");
    WriteSample(prices, "item;price\npaper;4.20\ntoner;39.00\n");

    TQLogSetSink(PrintLogLine, NULL);
    int status = 0;
    {
        CFaxMessage message;
        CString value("+1 555 0100");
        message.SetToFax(value);
        value = "Robin";
        message.SetToFirstName(value);
        value = "Example";
        message.SetToLastName(value);
        message.AddFaxAttachment(letter.string().c_str(), 2, 1, 0, "Letter");
        message.AddFaxAttachment(prices.string().c_str(), 3, 1, 1, "Price list");

        // The message keeps its folder to itself; its attachments' paths show it.
        const fs::path messageFolder = NativePath(message.GetAttachmentFileName(1)).parent_path();
        if (messageFolder.empty() || !fs::is_directory(messageFolder)) {
            std::fprintf(stderr, "xwth demo: the message could not claim a folder in %s\n",
                         spool.string().c_str());
            status = 1;
        } else {
            ShowMessage(message, messageFolder);
        }
        std::printf("\ndestroying the message\n");
    }
    TQLogSetSink(NULL, NULL);

    std::printf("\nspool:   %s (%d entries)\n", spool.string().c_str(), CountEntries(spool));
    if (DemoMailbox(temp.path().string()) != 0) status = 1;
    return status;
}

}  // namespace xwth_tool
