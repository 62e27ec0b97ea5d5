// The "demo" command. The spool lives in a temporary folder; so does the
// WIN.INI that names it, unless $XWTH_WININI names one already, in which case
// that file's spool directory is used and the file is left as it is.
#include "demo.h"
#include "mail.h"
#include "faxtiff.h"

#include "date.h"
#include "lock.h"
#include "menu.h"
#include "sample.h"

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
#include <utility>

namespace fs = std::filesystem;

namespace xwth_tool {
namespace {

const char kSpoolSection[] = "Zelvo Fax Setup,FAX";
const char kSpoolKey[] = "Spool Directory";

void PrintDemoUsage(FILE* out) {
    std::fputs(
        "usage: xwth demo\n"
        "\n"
        "Runs one fax message through a spool: makes two fax images (TIFF) and\n"
        "reads their page counts and resolutions back, creates the message (it\n"
        "claims the lowest free FM folder), sets the recipient, attaches the two\n"
        "images, prints the folder, its props.ini, the attachment list and the\n"
        "total page count, destroys the message and shows that the spool is empty\n"
        "again. Every log line of the message store is shown as it is written.\n"
        "Then two messages are appended to a mailbox in the temporary folder,\n"
        "which is printed.\n"
        "Then it prints the date and time texts of this moment by the regional\n"
        "settings (see xwth date --help) and reads them back, and loads texts and\n"
        "style values from sample.dll beside the program through the resource\n"
        "manager: the maker's name read as the product's, a message box (printed)\n"
        "and a colour, a font and a flag.\n"
        "Then it takes a program lock and runs a second instance (xwth lock, see\n"
        "xwth lock --help) in a child process: refused while the lock is held,\n"
        "run once it is released.\n"
        "Last (Linux build), it types the letter x into the sample owner-drawn menu\n"
        "(see xwth menu --help) and saves the screen as xwth-demo-menu.png in the\n"
        "system's temporary folder, which is kept.\n"
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

    // Two fax images: a letter in fine resolution and a price list in normal.
    const fs::path letter = temp.path() / "letter.tif";
    const fs::path prices = temp.path() / "price-list.tif";
    if (!WriteFaxTiff(letter.string(), 2, 2200, 196) || !WriteFaxTiff(prices.string(), 3, 1100, 98)) {
        std::fprintf(stderr, "xwth demo: cannot write the fax images in %s\n", temp.path().string().c_str());
        return 1;
    }
    for (const fs::path& image : {letter, prices}) {
        std::printf("fax image %s: %d page(s), %s resolution\n", image.filename().string().c_str(),
                    GetFaxFileNumOfPages(image.string().c_str()),
                    IsFaxFileResolutionHi(image.string().c_str()) ? "fine" : "normal");
    }
    std::printf("\n");

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
        // Page counts and resolutions come from the files themselves.
        for (const auto& [image, title] : {std::pair{letter, "Letter"}, std::pair{prices, "Price list"}}) {
            const std::string path = image.string();
            message.AddFaxAttachment(path.c_str(), GetFaxFileNumOfPages(path.c_str()), 1,
                                     IsFaxFileResolutionHi(path.c_str()) ? 1 : 0, title);
        }

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

    std::printf("\n");
    PrintDateTexts(stdout);
    std::printf("\n");
    if (DemoResources() != 0) status = 1;
    std::printf("\n");
    if (DemoProgramLock() != 0) status = 1;
#if !defined(_WIN32)
    std::error_code tempError;
    const fs::path picture = fs::temp_directory_path(tempError) / "xwth-demo-menu.png";
    std::printf("\nsample menu, key x:\n");
    if (ShowSampleMenu("XWTH Fax", 0, "key:x", picture.string()) == 0) {
        std::printf("picture: %s\n", picture.string().c_str());
    } else {
        status = 1;
    }
#endif
    return status;
}

}  // namespace xwth_tool
